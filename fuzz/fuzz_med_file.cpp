// Reads any bytes as a user's medicine diary (.med), writes them
// back as a save does and reads them again: the same events and kept lines
// come back, every line ends with CR LF, and every line of the input but a
// leading header and the empty lines is in the output byte for byte, in its
// order: a rewrite never loses or changes what a person wrote.

#include "fuzz_support.h"
#include "medicines/medicine_file.h"

using namespace velmora;
using namespace velmora::fuzz;

namespace {

// The lines of a content without their ends; empty ones and a leading header dropped.
QList<QByteArray> contentLines(QByteArrayView content)
{
    QList<QByteArray> lines;
    forEachLine(content, medicineFileHeader(), [&](QByteArrayView line) { lines << line.toByteArray(); });
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input = bytesOf(data, size);
    const MedicineFile file = readMedicineFile(input);
    const std::optional<QByteArray> saved = medicineFileContent(file);
    FUZZ_CHECK(saved.has_value(), "events as read cannot be written");
    FUZZ_CHECK(saved->startsWith(medicineFileHeader() + "\r\n"), "no header");
    FUZZ_CHECK(saved->count('\n') == saved->count("\r\n"), "a line that does not end with CR LF");
    FUZZ_CHECK(contentLines(*saved) == contentLines(input), "a line changed through a save: " + saved->toPercentEncoding());
    const MedicineFile back = readMedicineFile(*saved);
    FUZZ_CHECK(back.entries == file.entries && back.kept == file.kept, "the events changed through a save");
    FUZZ_CHECK(medicineFileContent(back) == saved, "a second save differs from the first");
    return 0;
}
