// Reads any bytes as a table of readings from elsewhere, as 导入血压读数…
// does: recognised by its headings, or read with the first four columns as
// chosen ones when they are not known. Nothing crashes; a table refused says
// why; every reading it gives is one the .bp file can keep; every refused
// row says why and is a row of the table; and no row gives more than one
// reading or refusal.

#include "fuzz_support.h"
#include "imports/table_readings.h"

using namespace velmora;
using namespace velmora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const TableFile table = tableFileOf(bytesOf(data, size));
    TableLayout layout = recogniseTable(table);
    FUZZ_CHECK(table.error.isEmpty() || layout.error == table.error, "a table's error lost");
    if (!layout.error.isEmpty())
        return 0;
    if (!layout.question.isEmpty())
        layout.columns = {0, -1, 1, 2, 3, DateOrder(size % 3)};
    const ImportedReadings read = tableReadings(table, layout);
    FUZZ_CHECK(read.error.isEmpty(), "a table read with an error");
    const int lastRow = table.table.rows.empty() ? 0 : table.table.rows.back().number;
    for (const ImportedReading &r : read.readings) {
        FUZZ_CHECK(!bpReadingRefusal(r.reading), "a reading the .bp file cannot keep");
        FUZZ_CHECK(r.row > 1 && r.row <= lastRow, "a reading from no row of the table");
    }
    for (const RefusedRow &row : read.refused) {
        FUZZ_CHECK(!row.reason.isEmpty(), "a row refused without a reason");
        FUZZ_CHECK(row.row > 1 && row.row <= lastRow, "a refusal of no row of the table");
    }
    FUZZ_CHECK(read.readings.size() + read.refused.size() <= table.dataRows().size(), "a row read twice");
    return 0;
}
