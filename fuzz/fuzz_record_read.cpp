// Reads any bytes as a record file, scores every entry as the chart does (with
// and without the diagnosis override), then rewrites the records as a save
// does and reads that again: the same number of entries must come back, and a
// second save of what came back must give the same bytes. Every entry also
// gets its ten-year cardiovascular risk, a whole percent from 0 to 100 or none.

#include "fuzz_support.h"
#include "model/cvd_estimate.h"
#include "model/risk_model.h"
#include "records/record_file.h"

using namespace velmora;
using namespace velmora::fuzz;

namespace {

volatile double sink;

QByteArray rewrite(const RecordTable &table, int count, RewriteMode mode, const HealthRecord *appended = nullptr)
{
    return writtenBy([&](QIODevice &device) { return writeRecords(device, table, count, mode, appended); });
}

QByteArray number(qsizetype value)
{
    return QByteArray::number(qlonglong(value));
}

// A table that starts every input empty. Building the 1001 positions anew for
// each input would cost far more than the reading itself, so the tables live
// on and are emptied again at the end of each input (positions 0 to the count,
// the one position past the count included, since an appending save reads it).
class ScratchTable
{
public:
    explicit ScratchTable(RecordTable &table) : m_table(table) {}
    ~ScratchTable()
    {
        if (m_table.size() > RecordTable::MinimumSize) {
            m_table.clear();
            return;
        }
        for (int i = 0; i <= m_used && i < m_table.size(); ++i)
            m_table[i] = HealthRecord();
    }
    RecordTable &operator*() { return m_table; }
    int use(int count) { return m_used = count; }

private:
    RecordTable &m_table;
    int m_used = 0;
};

RecordTable &sharedTable(int slot)
{
    static RecordTable tables[3];
    return tables[slot];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView content = bytesOf(data, size);
    const RiskModel model;

    ScratchTable scratch(sharedTable(0));
    RecordTable &table = *scratch;
    int hooked = 0;
    const int count = readRecords(content, table, [&](int index, const HealthRecord &record) {
        FUZZ_CHECK(index == hooked, "entry hook out of order");
        ++hooked;
        sink = model.ScoreRecord(record);
        sink = model.scoreWithDiagnosis(record);
        for (const Item &item : record.items)
            sink = leadingNumberValue(item.displayText());
        for (const CvdAnswers &answers : {CvdAnswers{true, true, false}, CvdAnswers{false, std::nullopt, false}}) {
            const CvdEstimate estimate = estimateCvdRisk(record, answers);
            FUZZ_CHECK(!estimate.isEstimate() || (estimate.percent >= 0 && estimate.percent <= 100),
                       "a ten-year risk of " + number(estimate.percent) + "%");
        }
    });
    scratch.use(count);
    FUZZ_CHECK(count == hooked, "count " + number(count) + ", hook calls " + number(hooked));
    FUZZ_CHECK(count <= table.size(), "count beyond the table");
    // A cut-off last entry counts: ceil(items / 14) entries.
    FUZZ_CHECK(content.isEmpty() == (count == 0), "count " + number(count) + " for " + number(content.size())
                                                      + " bytes");

    // A modifying save writes every entry; reading it gives them all back.
    const QByteArray saved = rewrite(table, count, RewriteMode::Modify);
    FUZZ_CHECK(saved.size() == 0 || saved.endsWith("\r\n"), "a save that does not end with CR LF");
    FUZZ_CHECK(saved.count('\n') == qsizetype(count) * FieldCount && saved.count('\r') == qsizetype(count) * FieldCount,
               "an entry that is not fourteen lines");
    ScratchTable rereadScratch(sharedTable(1));
    RecordTable &reread = *rereadScratch;
    const int recount = rereadScratch.use(readRecords(saved, reread));
    FUZZ_CHECK(recount == count, "read " + number(count) + " entries, rewrote and read back " + number(recount));
    // A save keeps every item's kind: a number stays a number, a text a text.
    for (int i = 0; i < count; ++i)
        for (int f = 0; f < FieldCount; ++f) {
            const Item &before = table[i][Field(f)];
            const Item &after = reread[i][Field(f)];
            FUZZ_CHECK(before.kind() == after.kind(), "entry " + number(i) + ", item " + number(f) + ": "
                                                          + describe(before) + "\nsaved and read back: "
                                                          + describe(after));
        }
    // (The second save is assembled line by line: each save reserves a large
    // buffer, which costs more under the sanitizers than the rest of an input.)
    QByteArray savedAgain;
    for (int i = 0; i < recount; ++i)
        appendRecordLines(savedAgain, reread[i]);
    FUZZ_CHECK(savedAgain == saved, "a second save differs from the first");

    // An appending save keeps the entries that have a RecordId and adds one.
    int withId = 0;
    for (int i = 0; i <= count && i < table.size(); ++i)
        withId += table[i][RecordIdField].isEmpty() ? 0 : 1;
    HealthRecord appended = count > 0 ? table[count - 1] : HealthRecord();
    appended[RecordIdField] = Item::fromNumber(20240101120000.0);
    const QByteArray grown = rewrite(table, count, RewriteMode::Append, &appended);
    ScratchTable regrownScratch(sharedTable(2));
    const int grownCount = regrownScratch.use(readRecords(grown, *regrownScratch));
    FUZZ_CHECK(grownCount == withId + 1, "append save: " + number(withId) + " entries with a RecordId, read back "
                                             + number(grownCount));
    return 0;
}
