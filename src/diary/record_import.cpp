#include "diary/record_import.h"

#include "diary/entry.h"
#include "diary/messages.h"
#include "records/csv_table.h"
#include "records/gbk.h"
#include "records/item_reader.h"
#include "records/record_columns.h"
#include "records/record_file.h"
#include "records/record_id.h"

#include <QMultiHash>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace velmora {

namespace {

constexpr int ListedRefusals = 10; // the summary names this many refused rows

// Where each field stands in the table's rows; -1 for a field without a column.
struct Layout
{
    std::array<int, FieldCount> columnOf;
    int width = 0;
    int recognised = 0;
    QStringList missing;
};

Layout layoutOf(const QStringList &headings)
{
    Layout layout;
    layout.columnOf.fill(-1);
    layout.width = int(headings.size());
    for (int i = 0; i < layout.width; ++i) {
        const RecordColumn *column = columnOfHeading(headings[i]);
        if (!column)
            continue;
        ++layout.recognised;
        if (column->field != FieldCount && layout.columnOf[size_t(column->field)] < 0)
            layout.columnOf[size_t(column->field)] = i;
    }
    for (const RecordColumn &column : RecordColumns)
        if (layout.columnOf[size_t(column.field)] < 0)
            layout.missing << column.titleText();
    return layout;
}

const CsvRow *firstFilledRow(const CsvTable &table)
{
    const auto row = std::find_if(table.rows.begin(), table.rows.end(), [](const CsvRow &r) { return !r.isBlank(); });
    return row == table.rows.end() ? nullptr : &*row;
}

// A cell as the row's texts: blanks around dropped, the export's formula guard taken off.
QString cellText(const CsvRow &row, int column)
{
    QString text = row.fields[column].trimmed();
    if (text.startsWith(u'\'') && startsLikeFormula(text.mid(1)))
        text.remove(0, 1);
    return text;
}

// A number a spreadsheet of a decimal-comma locale wrote: digits, one comma, digits.
bool hasDecimalComma(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+,[0-9]+$"));
    return number.match(text).hasMatch();
}

// An item written as a line of the record file and read back.
Item readBack(const Item &item)
{
    QByteArray line;
    appendItemLine(line, item);
    return ItemReader(line).next();
}

// The item a cell stands for, as the record file will hold it: the file's own
// reading decides whether the cell is a number, a text or empty, and a number
// keeps the digits the file writes (fifteen at most), so that the same table
// brought in again finds it already there.
Item fileItem(QString cell)
{
    if (hasDecimalComma(cell))
        cell.replace(u',', u'.');
    return readBack(readBack(Item::fromText(cell)));
}

// Why a cell's text would not read back from the record file as it is.
QString unkeptText(const RecordColumn &column, QString cell)
{
    const bool lineBreak = cell.contains(u'\r') || cell.contains(u'\n');
    const QString why = lineBreak            ? QStringLiteral("含有换行")
                        : !encodeGbk(cell)  ? QStringLiteral("含有GBK不能表示的字符")
                                            : QStringLiteral("含有引号");
    cell.replace(u'\r', u' ').replace(u'\n', u' ');
    return QStringLiteral("%1“%2”%3，记录文件不能原样保存").arg(column.titleText(), cell, why);
}

// The row as the record it stands for; `refusal` says why a cell cannot be
// kept as it is (a character GBK lacks, a line break), naming its column.
HealthRecord rowRecord(const CsvRow &row, const Layout &layout, const QString &recordId,
                       std::optional<QString> *refusal)
{
    HealthRecord record;
    record[RecordIdField] = Item::fromText(recordId);
    for (const RecordColumn &column : RecordColumns) {
        if (column.field == RecordIdField)
            continue;
        const QString cell = cellText(row, layout.columnOf[size_t(column.field)]);
        const Item item = fileItem(cell);
        if (item.isText() && item.displayText() != cell && !*refusal)
            *refusal = unkeptText(column, cell);
        record[column.field] = item;
    }
    return record;
}

bool sameValues(const HealthRecord &a, const HealthRecord &b)
{
    return std::equal(a.items.begin() + 1, a.items.end(), b.items.begin() + 1);
}

// The table split with whichever separator makes more of its headings known.
CsvTable splitTable(const QString &text)
{
    CsvTable best;
    int bestRecognised = -1;
    for (QChar separator : {u',', u';'}) {
        CsvTable table = parseCsv(text, separator);
        const CsvRow *heading = firstFilledRow(table);
        const int recognised = heading ? layoutOf(heading->fields).recognised : 0;
        if (recognised > bestRecognised) {
            bestRecognised = recognised;
            best = std::move(table);
        }
    }
    return best;
}

ImportPlan failed(QString error)
{
    ImportPlan plan;
    plan.error = std::move(error);
    return plan;
}

} // namespace

ImportPlan planImport(QByteArrayView bytes, const std::vector<HealthRecord> &entries, const QDateTime &now)
{
    const std::optional<QString> text = decodeTableText(bytes);
    if (!text)
        return failed(messages::UnknownTableEncoding);
    const CsvTable table = splitTable(*text);
    const CsvRow *heading = firstFilledRow(table);
    const Layout layout = heading ? layoutOf(heading->fields) : Layout{};
    if (layout.recognised == 0)
        return failed(messages::NotARecordTable);
    if (!layout.missing.isEmpty())
        return failed(messages::missingColumns(layout.missing));
    if (table.unclosedQuoteRow)
        return failed(messages::unclosedQuote(table.unclosedQuoteRow));

    QMultiHash<QString, HealthRecord> known; // by RecordId: the entries, then the rows taken
    for (const HealthRecord &entry : entries)
        known.insert(entry[RecordIdField].displayText(), entry);
    ImportPlan plan;
    for (auto row = table.rows.begin() + (heading - table.rows.data()) + 1; row != table.rows.end(); ++row) {
        if (row->isBlank())
            continue;
        if (row->fields.size() != layout.width)
            return failed(messages::wrongRowWidth(row->number, int(row->fields.size()), layout.width));
        const QString when = cellText(*row, layout.columnOf[RecordIdField]);
        const std::optional<QString> id = recordIdOfSheetTime(when);
        if (!id)
            return failed(messages::badRecordTime(row->number, when));
        std::optional<QString> refusal = recordTimeRefusal(*id, now);
        const HealthRecord record = rowRecord(*row, layout, *id, &refusal);
        if (!refusal)
            refusal = recordRefusal(record);
        const QList<HealthRecord> sameTime = known.values(*id);
        if (!refusal && !sameTime.isEmpty()) {
            const auto same = [&record](const HealthRecord &r) { return sameValues(r, record); };
            if (std::any_of(sameTime.begin(), sameTime.end(), same)) {
                ++plan.alreadyPresent;
                continue;
            }
            refusal = QStringLiteral("已有同一时间的记录，但数值不同");
        }
        if (refusal) {
            plan.refused.push_back({row->number, *refusal});
            continue;
        }
        known.insert(*id, record);
        plan.toAdd.push_back(record);
    }
    return plan;
}

QString importSummary(const ImportPlan &plan)
{
    const int adding = int(plan.toAdd.size());
    const int refused = int(plan.refused.size());
    QStringList lines;
    lines << QStringLiteral("将导入 %1 条新记录；").arg(adding);
    lines << QStringLiteral("%1 条记录已经存在，将跳过；").arg(plan.alreadyPresent);
    lines << QStringLiteral("%1 行不能导入%2").arg(refused).arg(refused ? QChar(u'：') : QChar(u'。'));
    for (int i = 0; i < std::min(refused, ListedRefusals); ++i) {
        const ImportPlan::Refused &row = plan.refused[size_t(i)];
        lines << QStringLiteral("    第 %1 行：%2").arg(row.row).arg(row.reason);
    }
    if (refused > ListedRefusals)
        lines << QStringLiteral("    ……另有 %1 行不能导入").arg(refused - ListedRefusals);
    lines << (adding ? QStringLiteral("要导入这 %1 条新记录吗？").arg(adding)
                     : QStringLiteral("没有可以导入的新记录，数据没有改动。"));
    return lines.join(u'\n');
}

} // namespace velmora
