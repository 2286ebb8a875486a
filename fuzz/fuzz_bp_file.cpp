// Reads any bytes as a user's home blood pressure readings (.bp), writes them
// back as a save does and reads them again: the same readings and kept lines
// come back, every line ends with CR LF, and every line of the input but a
// leading header and the empty lines is in the output byte for byte, in its
// order: a rewrite never loses or changes what a person wrote.

#include "fuzz_support.h"
#include "readings/bp_file.h"

using namespace velmora;
using namespace velmora::fuzz;

namespace {

// The lines of a content without their ends; empty ones and a leading header dropped.
QList<QByteArray> contentLines(QByteArrayView content)
{
    QList<QByteArray> lines;
    forEachLine(content, bpFileHeader(), [&](QByteArrayView line) { lines << line.toByteArray(); });
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input = bytesOf(data, size);
    const BpFile file = readBpFile(input);
    const std::optional<QByteArray> saved = bpFileContent(file);
    FUZZ_CHECK(saved.has_value(), "readings as read cannot be written");
    FUZZ_CHECK(saved->startsWith(bpFileHeader() + "\r\n"), "no header");
    FUZZ_CHECK(saved->count('\n') == saved->count("\r\n"), "a line that does not end with CR LF");
    FUZZ_CHECK(contentLines(*saved) == contentLines(input), "a line changed through a save: " + saved->toPercentEncoding());
    const BpFile back = readBpFile(*saved);
    FUZZ_CHECK(back.entries == file.entries && back.kept == file.kept, "the readings changed through a save");
    FUZZ_CHECK(bpFileContent(back) == saved, "a second save differs from the first");
    return 0;
}
