#include "imports/table_readings.h"

#include "readings/bp_csv.h"
#include "records/record_columns.h"

#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr int SampledCells = 20;

enum class Role { Unknown, Date, Time, Systolic, Diastolic, Pulse, Source, Note, Zone };

// A heading without its unit, blanks and case: "Systolic (mmHg)" → "systolic", "脉搏(次/分)" → "脉搏".
QString plainHeading(QString heading)
{
    heading.remove(QChar(0xFEFF));
    heading = heading.trimmed().toLower();
    for (QChar bracket : {u'(', u'（', u'['}) {
        const qsizetype at = heading.indexOf(bracket);
        if (at > 0)
            heading.truncate(at);
    }
    for (const char16_t *unit : {u"mmhg", u"bpm", u"次/分"})
        heading.remove(QString::fromUtf16(unit));
    heading.removeIf([](QChar c) { return c.isSpace() || QStringView(u"_-.:：").contains(c); });
    while (heading.endsWith(u'/')) // "收缩压/mmHg"
        heading.chop(1);
    return heading;
}

Role roleOf(const QString &heading)
{
    static const QHash<QString, Role> roles = [] {
        QHash<QString, Role> all;
        const auto add = [&](Role role, std::initializer_list<const char16_t *> names) {
            for (const char16_t *name : names)
                all.insert(QString::fromUtf16(name), role);
        };
        add(Role::Date, {u"date", u"measurementdate", u"measuredate", u"datetime", u"date/time", u"date&time", u"day",
                         u"日期", u"测量日期", u"日期时间", u"测量日期时间", u"记录日期", u"时间日期"});
        add(Role::Time, {u"time", u"measurementtime", u"measuretime", u"timeofday", u"时间", u"测量时间", u"时刻",
                         u"记录时间"});
        add(Role::Systolic, {u"sys", u"systolic", u"systolicpressure", u"systolicbloodpressure", u"sbp", u"收缩压",
                             u"高压", u"上压", u"收缩压值", u"高压值", u"最高血压"});
        add(Role::Diastolic, {u"dia", u"diastolic", u"diastolicpressure", u"diastolicbloodpressure", u"dbp", u"舒张压",
                              u"低压", u"下压", u"舒张压值", u"低压值", u"最低血压"});
        add(Role::Pulse, {u"pulse", u"pulserate", u"heartrate", u"hr", u"脉搏", u"心率", u"脉率", u"心跳"});
        add(Role::Source, {u"device", u"source", u"model", u"来源", u"设备", u"设备型号", u"型号", u"仪器"});
        add(Role::Note, {u"note", u"notes", u"comment", u"comments", u"memo", u"备注", u"说明"});
        add(Role::Zone, {u"timezone", u"tz", u"zone", u"时区"});
        return all;
    }();
    return roles.value(plainHeading(heading), Role::Unknown);
}

int firstWithRole(const QStringList &headings, Role role)
{
    for (qsizetype i = 0; i < headings.size(); ++i)
        if (roleOf(headings[i]) == role)
            return int(i);
    return -1;
}

int recognisedCount(const QStringList &headings)
{
    return int(std::count_if(headings.begin(), headings.end(), [](const QString &h) { return roleOf(h) != Role::Unknown; }));
}

// A cell that says nothing: empty, or a dash as some apps write for it.
QString cellText(const CsvRow &row, int column)
{
    if (column < 0 || column >= row.fields.size())
        return QString();
    const QString text = row.fields[column].trimmed();
    return text == u"-" || text == u"--" || text == u"—" ? QString() : text;
}

// A text cell as it stands, the export's formula guard taken off.
QString unguarded(QString text)
{
    if (text.startsWith(u'\'') && startsLikeFormula(text.mid(1)))
        text.remove(0, 1);
    return text;
}

// A text another program wrote, on one line.
QString oneLine(QString text)
{
    return unguarded(text.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ').trimmed());
}

std::optional<WrittenTime> anyDateTime(QStringView text)
{
    for (DateOrder order : {DateOrder::DayMonthYear, DateOrder::MonthDayYear})
        if (auto written = writtenDateTime(text, order))
            return written;
    return std::nullopt;
}

// Whether most sampled cells of the column are read by `reads`.
template <typename Reads>
bool mostlyRead(const TableFile &file, int column, Reads reads)
{
    int seen = 0, read = 0;
    for (const CsvRow &row : file.dataRows()) {
        const QString cell = cellText(row, column);
        if (cell.isEmpty())
            continue;
        read += reads(cell) ? 1 : 0;
        if (++seen == SampledCells)
            break;
    }
    return seen > 0 && 2 * read > seen;
}

// The date and time columns: the first whose cells hold both, else a date
// column with a time column.
void placeTime(const TableFile &file, ColumnChoice &columns)
{
    const QStringList headings = file.headings();
    std::vector<int> dates, times;
    for (qsizetype i = 0; i < headings.size(); ++i) {
        const Role role = roleOf(headings[i]);
        if (role == Role::Date)
            dates.push_back(int(i));
        else if (role == Role::Time)
            times.push_back(int(i));
    }
    for (const std::vector<int> &candidates : {dates, times})
        for (int column : candidates)
            if (mostlyRead(file, column, [](const QString &cell) { return anyDateTime(cell).has_value(); })) {
                columns.date = column;
                return;
            }
    const auto isDate = [](const QString &cell) {
        return writtenDate(cell, DateOrder::DayMonthYear) || writtenDate(cell, DateOrder::MonthDayYear);
    };
    const auto isTime = [](const QString &cell) { return writtenTimeOfDay(cell).has_value(); };
    for (int column : dates)
        if (mostlyRead(file, column, isDate)) {
            columns.date = column;
            break;
        }
    for (int column : times)
        if (mostlyRead(file, column, isTime)) {
            columns.time = column;
            break;
        }
    if (columns.date < 0 || columns.time < 0)
        columns.date = columns.time = -1;
    // Headings in another language: a column whose cells hold date and time.
    for (int column = 0; columns.date < 0 && column < headings.size(); ++column)
        if (mostlyRead(file, column, [](const QString &cell) { return anyDateTime(cell).has_value(); }))
            columns.date = column;
}

bool isOwnExport(const QStringList &headings)
{
    QStringList plain;
    for (const QString &heading : headings)
        plain << QString(heading).remove(QChar(0xFEFF)).trimmed();
    return plain == bpCsvTitles();
}

// The record table of 导出记录表格…: its date and pressures are no home readings.
bool isRecordTable(const QStringList &headings)
{
    return std::count_if(headings.begin(), headings.end(), [](const QString &h) { return columnOfHeading(h); }) >= 4;
}

bool isMonitorApp(const QStringList &headings)
{
    QSet<QString> plain;
    for (const QString &heading : headings)
        plain.insert(plainHeading(heading));
    return (plain.contains(QStringLiteral("measurementdate")) && plain.contains(QStringLiteral("timezone")))
           || plain.contains(QStringLiteral("truread"));
}

// A whole number of mmHg or beats, rounded half up: "128", "128.0", "72,5", "128 mmHg".
std::optional<int> cellNumber(QString text)
{
    for (const char16_t *unit : {u"mmhg", u"bpm", u"次/分"})
        if (text.endsWith(QString::fromUtf16(unit), Qt::CaseInsensitive))
            text.chop(qsizetype(std::char_traits<char16_t>::length(unit)));
    text = text.trimmed().replace(u',', u'.');
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), [](QChar c) { return c == u'.' || (c >= u'0' && c <= u'9'); }))
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || value > 100000)
        return std::nullopt;
    return int(std::floor(value + 0.5));
}

std::optional<WrittenTime> rowTime(const CsvRow &row, const ColumnChoice &columns)
{
    const QString date = cellText(row, columns.date);
    if (columns.time < 0)
        return writtenDateTime(date, columns.order);
    std::optional<QDate> day = writtenDate(date, columns.order);
    if (!day)
        if (auto both = writtenDateTime(date, columns.order))
            day = both->date;
    const QString time = cellText(row, columns.time);
    std::optional<QTime> clock = writtenTimeOfDay(time);
    if (!clock) // a spreadsheet's time of day, "1899-12-30 07:30:00"
        clock = writtenTimeOfDay(QStringView(time).sliced(std::max<qsizetype>(time.indexOf(u' '), 0)));
    if (!day || !clock)
        return std::nullopt;
    return WrittenTime{*day, *clock, std::nullopt};
}

QString sourceFallback(TableLayout::Kind kind)
{
    switch (kind) {
    case TableLayout::Kind::OwnExport:
        return QString();
    case TableLayout::Kind::MonitorApp:
        return MonitorAppSource;
    default:
        return TableSource;
    }
}

QString kindText(TableLayout::Kind kind)
{
    switch (kind) {
    case TableLayout::Kind::OwnExport:
        return QStringLiteral("本程序导出的血压读数表格");
    case TableLayout::Kind::MonitorApp:
        return QStringLiteral("血压计App导出的表格");
    case TableLayout::Kind::Headings:
        return QStringLiteral("血压读数表格");
    case TableLayout::Kind::Chosen:
        return QStringLiteral("表格（按所选的列读取）");
    }
    return QString();
}

// One row as a reading, or why it gives none.
void readRow(const CsvRow &row, const TableLayout &layout, ImportedReadings &result)
{
    const ColumnChoice &c = layout.columns;
    const QString systolicText = cellText(row, c.systolic), diastolicText = cellText(row, c.diastolic);
    const QString dateText = (cellText(row, c.date) + u' ' + cellText(row, c.time)).trimmed();
    if (dateText.isEmpty())
        return result.refuse(row.number, QStringLiteral("缺少日期"));
    const std::optional<WrittenTime> when = rowTime(row, c);
    if (!when)
        return result.refuse(row.number, QStringLiteral("日期或时间无法识别：“%1”").arg(dateText));
    if (systolicText.isEmpty() || diastolicText.isEmpty())
        return result.refuse(row.number, systolicText.isEmpty() && diastolicText.isEmpty() ? QStringLiteral("缺少收缩压和舒张压")
                                         : systolicText.isEmpty()                          ? QStringLiteral("缺少收缩压")
                                                                                           : QStringLiteral("缺少舒张压"));
    const QString pulseText = cellText(row, c.pulse);
    const std::optional<int> systolic = cellNumber(systolicText), diastolic = cellNumber(diastolicText);
    const std::optional<int> pulse = pulseText.isEmpty() ? std::optional<int>(0) : cellNumber(pulseText);
    for (const auto &[value, box, text] : {std::tuple(systolic, u"收缩压", systolicText),
                                           std::tuple(diastolic, u"舒张压", diastolicText), std::tuple(pulse, u"脉搏", pulseText)})
        if (!value)
            return result.refuse(row.number, QStringLiteral("%1“%2”不是数字").arg(QString::fromUtf16(box), text));
    const bool own = layout.kind == TableLayout::Kind::OwnExport;
    const auto textAt = [&](int column) {
        const QString cell = column >= 0 && column < row.fields.size() ? row.fields[column] : QString();
        return own ? unguarded(cell) : oneLine(cell);
    };
    QString source = textAt(layout.source);
    if (source.isEmpty() || (!own && source == u"-"))
        source = sourceFallback(layout.kind);
    QString note = textAt(layout.note);
    if (!own && note == u"-")
        note.clear();
    if (when->offsetMinutes)
        result.noteZone(offsetText(*when->offsetMinutes));
    result.noteZone(cellText(row, layout.zone));
    result.add({clockStampOf(when->date, when->time), *systolic, *diastolic, *pulse, source, note}, row.number);
}

// The line number and length of the longest line, when it is longer than allowed.
std::optional<int> tooLongLine(QByteArrayView bytes)
{
    int line = 1;
    for (qsizetype start = 0; start < bytes.size(); ++line) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        if (end - start > importlimits::LineBytes)
            return line;
        start = end + 1;
    }
    return std::nullopt;
}

// A control character no table holds (a NUL, an escape, ...).
bool isForeignControl(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\r' && c != u'\n' && c != u'\f') || c == 0x7F;
}

bool looksBinary(QByteArrayView bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0 && isForeignControl(char16_t(c)); });
}

// The text of a table a spreadsheet saved as "Unicode text": UTF-16 behind its
// byte-order mark. Nothing for other bytes; an empty text for broken UTF-16.
std::optional<QString> utf16Text(QByteArrayView bytes)
{
    const bool little = bytes.startsWith("\xFF\xFE"), big = bytes.startsWith("\xFE\xFF");
    if (!little && !big)
        return std::nullopt;
    QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes.sliced(2));
    if (decoder.hasError() || std::any_of(text.begin(), text.end(), [](QChar c) { return isForeignControl(c.unicode()); }))
        return QString();
    return text;
}

// The separator that makes more of the first line's headings known, else more columns.
QChar separatorOf(QStringView text)
{
    const qsizetype end = text.indexOf(u'\n');
    const QStringView first = text.left(end < 0 ? text.size() : end);
    QChar best = u',';
    std::pair<int, qsizetype> bestScore{-1, 0};
    for (QChar separator : {u',', u';', u'\t'}) {
        const CsvTable line = parseCsv(first, separator);
        if (line.rows.empty())
            continue;
        const std::pair<int, qsizetype> score{recognisedCount(line.rows[0].fields), line.rows[0].fields.size()};
        if (score > bestScore) {
            bestScore = score;
            best = separator;
        }
    }
    return best;
}

TableFile failedTable(QString why)
{
    TableFile file;
    file.error = std::move(why);
    return file;
}

} // namespace

QStringList TableFile::headings() const
{
    return heading >= 0 ? table.rows[size_t(heading)].fields : QStringList();
}

std::span<const CsvRow> TableFile::dataRows() const
{
    if (heading < 0)
        return {};
    return std::span<const CsvRow>(table.rows).subspan(size_t(heading) + 1);
}

TableFile readTableFile(QIODevice &device)
{
    const qint64 size = device.size();
    if (size > importlimits::TableBytes)
        return failedTable(QStringLiteral("文件有 %1 MB，超过了血压读数表格能读取的 %2 MB")
                               .arg((size + importlimits::MiB - 1) / importlimits::MiB)
                               .arg(importlimits::TableBytes / importlimits::MiB));
    const QByteArray bytes = device.read(importlimits::TableBytes + 1);
    if (bytes.size() > importlimits::TableBytes)
        return failedTable(QStringLiteral("文件超过了血压读数表格能读取的 %1 MB").arg(importlimits::TableBytes / importlimits::MiB));
    if (!device.isSequential() && bytes.size() < size)
        return failedTable(QStringLiteral("文件读取失败：%1").arg(device.errorString()));
    return tableFileOf(bytes);
}

TableFile tableFileOf(QByteArrayView bytes)
{
    if (bytes.trimmed().isEmpty())
        return failedTable(QStringLiteral("文件是空的"));
    std::optional<QString> text = utf16Text(bytes);
    if ((text && text->isEmpty()) || (!text && looksBinary(bytes)))
        return failedTable(QStringLiteral("文件含有不是文字的内容，既不是表格，也不是手机健康导出"));
    if (const std::optional<int> line = tooLongLine(bytes))
        return failedTable(QStringLiteral("文件第 %1 行超过 %2 KB，不像血压读数表格").arg(*line).arg(importlimits::LineBytes / 1024));
    if (!text)
        text = decodeTableText(bytes);
    if (!text)
        return failedTable(QStringLiteral("文件的文字编码无法识别（既不是UTF-8，也不是GBK）"));
    TableFile file;
    file.table = parseCsv(*text, separatorOf(*text));
    if (file.table.unclosedQuoteRow)
        return failedTable(QStringLiteral("表格第 %1 行的引号没有结束").arg(file.table.unclosedQuoteRow));
    const auto heading = std::find_if(file.table.rows.begin(), file.table.rows.end(), [](const CsvRow &r) { return !r.isBlank(); });
    if (heading == file.table.rows.end())
        return failedTable(QStringLiteral("文件是空的"));
    file.heading = heading - file.table.rows.begin();
    if (file.dataRows().empty() || std::all_of(file.dataRows().begin(), file.dataRows().end(), [](const CsvRow &r) { return r.isBlank(); }))
        return failedTable(QStringLiteral("表格中只有列标题，没有读数"));
    return file;
}

std::optional<DateOrder> dateOrderOf(const TableFile &file, int column)
{
    bool dayFirst = false, monthFirst = false, yearLast = false;
    for (const CsvRow &row : file.dataRows()) {
        const YearLastNumbers numbers = yearLastNumbers(cellText(row, column));
        yearLast = yearLast || numbers.yearLast;
        dayFirst = dayFirst || numbers.first > 12;
        monthFirst = monthFirst || numbers.second > 12;
    }
    if (!yearLast)
        return DateOrder::YearMonthDay;
    if (dayFirst == monthFirst)
        return std::nullopt;
    return dayFirst ? DateOrder::DayMonthYear : DateOrder::MonthDayYear;
}

TableLayout recogniseTable(const TableFile &file)
{
    const QStringList headings = file.headings();
    TableLayout layout;
    if (!file.error.isEmpty()) {
        layout.error = file.error;
        return layout;
    }
    if (isOwnExport(headings)) {
        layout.kind = TableLayout::Kind::OwnExport;
        layout.columns = {0, -1, 1, 2, 3, DateOrder::YearMonthDay};
        layout.source = 4;
        layout.note = 5;
    } else if (isRecordTable(headings)) {
        layout.error = QStringLiteral("这是记录表格，不是血压读数；请用“导入记录表格…”导入");
        return layout;
    } else {
        layout.kind = isMonitorApp(headings) ? TableLayout::Kind::MonitorApp : TableLayout::Kind::Headings;
        placeTime(file, layout.columns);
        layout.columns.systolic = firstWithRole(headings, Role::Systolic);
        layout.columns.diastolic = firstWithRole(headings, Role::Diastolic);
        layout.columns.pulse = firstWithRole(headings, Role::Pulse);
        layout.source = firstWithRole(headings, Role::Source);
        layout.note = firstWithRole(headings, Role::Note);
        layout.zone = firstWithRole(headings, Role::Zone);
    }
    const std::optional<DateOrder> order = layout.columns.date >= 0 ? dateOrderOf(file, layout.columns.date) : std::nullopt;
    if (order)
        layout.columns.order = *order;
    if (!layout.columns.isComplete())
        layout.question = QStringLiteral("这个表格的列标题不能全部识别，请选择日期、时间和血压所在的列。");
    else if (!order)
        layout.question = QStringLiteral("从表格中的日期看不出哪个数是日、哪个数是月，请选择日期的顺序。");
    return layout;
}

ImportedReadings tableReadings(const TableFile &file, const TableLayout &layout)
{
    ImportedReadings result;
    result.kind = kindText(layout.kind);
    for (const CsvRow &row : file.dataRows())
        if (!row.isBlank())
            readRow(row, layout, result);
    return result;
}

} // namespace velmora
