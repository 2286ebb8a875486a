#pragma once

// What a file of readings from elsewhere holds, as read before anything is
// compared with the diary: the readings it gives, the rows it gives none for
// and why, and the limits every reading of such a file keeps to.

#include "readings/bp_reading.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace velmora {

// Limits on files from elsewhere: what a file beyond them holds is not read
// at all, so that a broken or hostile file costs a bounded time and memory.
namespace importlimits {
inline constexpr qint64 MiB = 1024 * 1024;
// A table of readings (a reading takes some 50 bytes: a million of them).
inline constexpr qint64 TableBytes = 32 * MiB;
// One line of a table.
inline constexpr qsizetype LineBytes = 64 * 1024;
// The phone's export.xml, as a file or inflated from its zip: a day of
// heart rates every few minutes over ten years stays well below this.
inline constexpr qint64 XmlBytes = 1024 * MiB;
// How much an entry of a zip may inflate: text compresses some 10 to 30
// times; a zip bomb thousands of times.
inline constexpr qint64 InflationRatio = 100;
inline constexpr qint64 SmallestInflationLimit = 1 * MiB;
// One piece of XML (an element with its attributes, the document type, a
// text): the longest of a real export is some hundreds of bytes.
inline constexpr qint64 XmlPieceBytes = 4 * MiB;
// Elements within elements: a real export nests five deep.
inline constexpr int XmlDepth = 32;
} // namespace importlimits

// A row (a table's row as a spreadsheet counts them, a line of the XML)
// that gives no reading.
struct RefusedRow
{
    int row = 0;
    QString reason; // "缺少舒张压", "收缩压应在 60 到 300 之间", "日期无法识别：“2024/13/22 07:20”"

    bool operator==(const RefusedRow &) const = default;
};

struct ImportedReading
{
    BpReading reading;
    int row = 0;
};

struct ImportedReadings
{
    QString error;     // the file cannot be used at all: why, for a person; nothing else counts then
    bool cancelled = false;
    QString kind;      // what the file was read as: "手机健康导出", "血压计App导出的表格", ...
    std::vector<ImportedReading> readings; // in file order
    std::vector<RefusedRow> refused;       // in file order
    QStringList zones; // the time zones and offsets of its readings, in order of first appearance

    static ImportedReadings failed(QString why)
    {
        ImportedReadings result;
        result.error = std::move(why);
        return result;
    }
    // Keeps the reading, or refuses its row with bpReadingRefusal's reason.
    void add(const BpReading &reading, int row);
    void refuse(int row, QString reason) { refused.push_back({row, std::move(reason)}); }
    void noteZone(const QString &zone);
};

// A refusal for a box made into one for a row of a file: "收缩压应在 60 到
// 300 之间，请核对！" without what it asks of the person.
QString rowReason(QString refusal);

} // namespace velmora
