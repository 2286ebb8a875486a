#pragma once

// Tables of readings from elsewhere: what the monitor's phone app exports
// ("Measurement Date","Timezone","SYS(mmHg)","DIA(mmHg)","Pulse(bpm)",...,
// "Device"; or Date,Time,Systolic (mmHg),Diastolic (mmHg),Pulse (bpm),...,
// Notes), what other apps and spreadsheets write, and this program's own
// 导出血压读数… table, which comes back item for item.
//
// The columns are found by their headings, in English or Chinese (日期,
// 测量时间, 收缩压, 高压, 舒张压, 低压, 脉搏, 心率, ...); whether a date
// column also holds the time, and the order of day and month in dates such
// as 03/04/2024, are read from its cells. A table whose headings do not say
// it all is read with columns a person chose.

#include "imports/imported_readings.h"
#include "imports/written_time.h"
#include "records/csv_table.h"

#include <QByteArrayView>
#include <QIODevice>

#include <span>

namespace velmora {

// A table file as read: its rows, the first row that is not blank being the headings.
struct TableFile
{
    QString error; // the file is no table that can be read: why, for a person
    CsvTable table;
    qsizetype heading = -1; // the index of the headings' row

    QStringList headings() const;
    // The rows after the headings (blank ones too).
    std::span<const CsvRow> dataRows() const;
};

// The file's bytes as a table: UTF-8 with or without a byte-order mark, GBK,
// or UTF-16 with its mark (a spreadsheet's "Unicode text"); fields separated
// by commas, semicolons or tabs (whichever makes more
// of the headings known, else more columns). Refused: more than TableBytes,
// a line of more than LineBytes, bytes no text holds.
TableFile readTableFile(QIODevice &device);
TableFile tableFileOf(QByteArrayView bytes);

// Where the values of a reading stand in the rows (column indexes; -1 for none).
struct ColumnChoice
{
    int date = -1; // the date, or the date and time together
    int time = -1; // the time of the day, when the date column does not hold it
    int systolic = -1;
    int diastolic = -1;
    int pulse = -1; // may be left out
    DateOrder order = DateOrder::YearMonthDay;

    bool isComplete() const { return date >= 0 && systolic >= 0 && diastolic >= 0; }
    bool operator==(const ColumnChoice &) const = default;
};

struct TableLayout
{
    enum class Kind { OwnExport, MonitorApp, Headings, Chosen };

    QString error; // a table that is not one of readings (the record table): why
    Kind kind = Kind::Headings;
    ColumnChoice columns;
    int source = -1, note = -1, zone = -1; // found by their headings only
    // The headings do not say it all, or the dates do not tell day from month:
    // the columns are to be chosen. Why, for the person choosing.
    QString question;
};

// What the headings and the cells say of the table's columns (the file's
// error, when it could not be read as a table).
TableLayout recogniseTable(const TableFile &file);
// The order of day and month that every year-last date of the column allows;
// nothing when none or both do. YearMonthDay when no date has its year last.
std::optional<DateOrder> dateOrderOf(const TableFile &file, int column);

// The table's readings, with the columns of the layout.
ImportedReadings tableReadings(const TableFile &file, const TableLayout &layout);

// The source of readings from a table that names none.
inline const QString MonitorAppSource = QStringLiteral("血压计App");
inline const QString TableSource = QStringLiteral("表格导入");

} // namespace velmora
