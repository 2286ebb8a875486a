#pragma once

// The columns a person chose for a table whose headings the program does not
// know, remembered for the next table with the same headings, in one small
// file of the data folder, "readings-columns.txt" (GBK, CR LF, a first line
// naming the fields, then one table a line, fields separated by tabs):
//
//   3f1c…(40 hex digits)<TAB>1<TAB>0<TAB>2<TAB>3<TAB>4<TAB>日月年<TAB>Messzeit,Oben,Unten,Puls
//
// a digest of the headings, the columns of the date (or date and time), the
// time, systolic, diastolic and pulse counted from 1 (0: none), the order of
// day and month, and the headings for a person reading the file. A line the
// program cannot read is kept as it stands.

#include "imports/table_readings.h"
#include "records/line_file.h"

namespace velmora {

inline const QString ColumnMemoryFileName = QStringLiteral("readings-columns.txt");

struct RememberedColumns
{
    QByteArray digest; // of the headings
    ColumnChoice columns;
    QString headings;  // for people: the headings as one line

    bool operator==(const RememberedColumns &) const = default;
};

using ColumnMemory = LineFile<RememberedColumns>;

ColumnMemory readColumnMemory(QByteArrayView content);
QByteArray columnMemoryContent(const ColumnMemory &memory);

// The columns chosen last for a table with these headings.
std::optional<ColumnChoice> rememberedColumns(const ColumnMemory &memory, const QStringList &headings);
// Remembers the columns for tables with these headings, in place of an earlier choice.
void rememberColumns(ColumnMemory &memory, const QStringList &headings, const ColumnChoice &columns);

// "年月日", "日月年", "月日年".
QString dateOrderText(DateOrder order);

} // namespace velmora
