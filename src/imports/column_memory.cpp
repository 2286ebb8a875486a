#include "imports/column_memory.h"

#include "records/gbk.h"

#include <QCryptographicHash>

#include <algorithm>

namespace velmora {

namespace {

constexpr int FieldCount = 8;
constexpr int MaxColumn = 9999;
constexpr qsizetype HeadingsLength = 200;

QByteArray header()
{
    return gbk(QStringLiteral("表头摘要\t日期列\t时间列\t收缩压列\t舒张压列\t脉搏列\t日期顺序\t列标题"));
}

QByteArray digestOf(const QStringList &headings)
{
    QStringList trimmed;
    for (const QString &heading : headings)
        trimmed << QString(heading).remove(QChar(0xFEFF)).trimmed();
    return QCryptographicHash::hash(trimmed.join(QChar(0x1F)).toUtf8(), QCryptographicHash::Sha1).toHex();
}

// The headings on one line in characters GBK has.
QString headingsLine(const QStringList &headings)
{
    QString line = headings.join(u',').left(HeadingsLength);
    for (QChar &c : line)
        if (c == u'\t' || c == u'\r' || c == u'\n' || !encodeGbk(QString(c)))
            c = u'?';
    return line;
}

std::optional<int> columnField(QByteArrayView field)
{
    bool ok = false;
    const int value = field.toByteArray().toInt(&ok);
    if (!ok || value < 0 || value > MaxColumn || QByteArray::number(value) != field)
        return std::nullopt;
    return value - 1;
}

constexpr DateOrder Orders[] = {DateOrder::YearMonthDay, DateOrder::DayMonthYear, DateOrder::MonthDayYear};

std::optional<RememberedColumns> parseLine(QByteArrayView line)
{
    const LineFields fields = tabFields(line);
    if (fields.size() != FieldCount || fields[0].size() != 40
        || !std::all_of(fields[0].begin(), fields[0].end(), [](char c) { return std::isxdigit(uchar(c)) && !std::isupper(uchar(c)); }))
        return std::nullopt;
    std::optional<int> numbers[5];
    for (int i = 0; i < 5; ++i)
        if (!(numbers[i] = columnField(fields[i + 1])))
            return std::nullopt;
    const std::optional<QString> order = decodeGbkStrictly(fields[6]);
    const std::optional<QString> headings = decodeGbkStrictly(fields[7]);
    const auto known = std::find_if(std::begin(Orders), std::end(Orders), [&](DateOrder o) { return order == dateOrderText(o); });
    if (!headings || known == std::end(Orders))
        return std::nullopt;
    return RememberedColumns{fields[0].toByteArray(),
                             {*numbers[0], *numbers[1], *numbers[2], *numbers[3], *numbers[4], *known},
                             *headings};
}

bool appendLine(QByteArray &out, const RememberedColumns &entry)
{
    const std::optional<QByteArray> headings = encodeGbk(entry.headings);
    if (!headings || entry.headings.contains(u'\t') || entry.headings.contains(u'\r') || entry.headings.contains(u'\n'))
        return false;
    const ColumnChoice &c = entry.columns;
    out.append(entry.digest);
    for (int column : {c.date, c.time, c.systolic, c.diastolic, c.pulse})
        out.append('\t').append(QByteArray::number(std::clamp(column, -1, MaxColumn - 1) + 1));
    out.append('\t').append(gbk(dateOrderText(c.order))).append('\t').append(*headings);
    return true;
}

} // namespace

QString dateOrderText(DateOrder order)
{
    switch (order) {
    case DateOrder::YearMonthDay:
        return QStringLiteral("年月日");
    case DateOrder::DayMonthYear:
        return QStringLiteral("日月年");
    case DateOrder::MonthDayYear:
        return QStringLiteral("月日年");
    }
    return QString();
}

ColumnMemory readColumnMemory(QByteArrayView content)
{
    return readLineFile<RememberedColumns>(content, header(), parseLine);
}

QByteArray columnMemoryContent(const ColumnMemory &memory)
{
    return lineFileContent(header(), memory, appendLine).value_or(QByteArray());
}

std::optional<ColumnChoice> rememberedColumns(const ColumnMemory &memory, const QStringList &headings)
{
    const QByteArray digest = digestOf(headings);
    const auto known = std::find_if(memory.entries.rbegin(), memory.entries.rend(),
                                    [&](const RememberedColumns &entry) { return entry.digest == digest; });
    if (known == memory.entries.rend())
        return std::nullopt;
    return known->columns;
}

void rememberColumns(ColumnMemory &memory, const QStringList &headings, const ColumnChoice &columns)
{
    RememberedColumns entry{digestOf(headings), columns, headingsLine(headings)};
    const auto known = std::find_if(memory.entries.begin(), memory.entries.end(),
                                    [&](const RememberedColumns &e) { return e.digest == entry.digest; });
    if (known != memory.entries.end())
        *known = std::move(entry);
    else
        memory.entries.push_back(std::move(entry));
}

} // namespace velmora
