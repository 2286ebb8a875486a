#pragma once

#include "records/clock_time.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace velmora {

// One home blood pressure reading, as the monitor showed it.
struct BpReading
{
    ClockStamp stamp = 0; // when it was taken, as the clock showed it there
    int systolic = 0;     // mmHg
    int diastolic = 0;    // mmHg
    int pulse = 0;        // beats a minute; 0: not measured
    QString source;       // "手动" for a reading typed in, or where an import found it
    QString note;         // may be empty; never a tab or a line break

    bool operator==(const BpReading &) const = default;
};

// The source of a reading typed in the program.
inline const QString ManualSource = QStringLiteral("手动");

// The values a reading can have; beyond them no person's pressure or pulse lies.
namespace bp {
inline constexpr int SystolicMin = 60, SystolicMax = 300;
inline constexpr int DiastolicMin = 30, DiastolicMax = 200;
inline constexpr int PulseMin = 20, PulseMax = 250;
} // namespace bp

// Why a reading cannot be kept, naming the box: a value outside the limits
// above, a diastolic not below the systolic, a note or source with a tab, a
// line break or a character GBK cannot hold. Nothing for a good reading.
std::optional<QString> bpReadingRefusal(const BpReading &reading);
// The same for the three values alone.
std::optional<QString> bpValueRefusal(int systolic, int diastolic, int pulse);

// The readings taken on the days from `from` to `to`, both included (a null
// date leaves its side open), in their order.
std::vector<BpReading> readingsWithin(std::span<const BpReading> readings, const QDate &from, const QDate &to);

// The same reading twice: taken in the same minute, with the same values.
bool isSameReading(const BpReading &a, const BpReading &b);

// "135/85": a systolic and a diastolic value.
QString bpText(int systolic, int diastolic);

} // namespace velmora
