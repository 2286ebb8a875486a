// Reads any bytes as a person's answers file, writes the answers back as a
// save does and reads them again: the same answers come back, every line ends
// with CR LF, and a second write gives the same bytes.

#include "fuzz_support.h"
#include "records/cvd_answers.h"

using namespace velmora;
using namespace velmora::fuzz;

namespace {

QByteArray written(const CvdAnswers &answers)
{
    return writtenBy([&](QIODevice &device) { return writeCvdAnswers(device, answers); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const CvdAnswers answers = readCvdAnswers(bytesOf(data, size));
    const QByteArray saved = written(answers);
    FUZZ_CHECK(saved.count('\n') == saved.count("\r\n") && saved.count('\r') == saved.count('\n'),
               "a line that does not end with CR LF");
    const CvdAnswers back = readCvdAnswers(saved);
    FUZZ_CHECK(back == answers, "the answers changed through a save: " + saved.toPercentEncoding());
    FUZZ_CHECK(written(back) == saved, "a second save differs from the first");
    return 0;
}
