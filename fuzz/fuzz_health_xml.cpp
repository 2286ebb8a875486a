// Reads any bytes as the phone's health export (export.xml), handed to the
// reader in two pieces split where the first byte says, as the zip's pieces
// come. Nothing crashes or runs away (the reader's limits hold); a file
// refused says why and gives nothing else; every reading it gives is one the
// .bp file can keep, with a pulse of a person or none.

#include "fuzz_support.h"
#include "imports/health_export.h"

using namespace velmora;
using namespace velmora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input = bytesOf(data, size);
    const qsizetype split = size ? qsizetype(data[0]) % (input.size() + 1) : 0;
    HealthExportReader reader;
    if (reader.add(input.first(split)))
        reader.add(input.sliced(split));
    const ImportedReadings read = reader.finish();
    if (!read.error.isEmpty()) {
        FUZZ_CHECK(read.readings.empty() && read.refused.empty(), "a refused file gave readings");
        return 0;
    }
    FUZZ_CHECK(read.kind == QStringLiteral("手机健康导出"), "an export read as something else");
    for (const ImportedReading &r : read.readings) {
        FUZZ_CHECK(!bpReadingRefusal(r.reading), "a reading the .bp file cannot keep");
        FUZZ_CHECK(r.reading.pulse == 0 || (r.reading.pulse >= bp::PulseMin && r.reading.pulse <= bp::PulseMax),
                   "a pulse no person has");
        FUZZ_CHECK(!r.reading.source.isEmpty(), "a reading without its source");
    }
    for (const RefusedRow &row : read.refused)
        FUZZ_CHECK(!row.reason.isEmpty() && row.row > 0, "a refusal without its reason or line");
    return 0;
}
