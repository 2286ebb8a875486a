#pragma once

// The week of home blood pressure monitoring that the hypertension guidelines
// describe (the Chinese guideline's 2018 revision, the European ESH and the
// Canadian guidelines): readings in the morning and in the evening, two each
// time, for seven days; the first day left out and every other reading
// averaged; a mean of 135/85 mmHg or more is above the home reference value.
// What is computed here is that averaging and nothing more: no diagnosis.

#include "readings/bp_reading.h"

#include <QDate>
#include <QTime>

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace velmora {

// A span of clock times to the minute, both ends included; one whose end lies
// before its start runs across midnight.
struct TimeWindow
{
    QTime from;
    QTime to;

    bool contains(const QTime &time) const;
    bool crossesMidnight() const { return minutes(to) < minutes(from); }
    static int minutes(const QTime &time) { return time.hour() * 60 + time.minute(); }
    bool operator==(const TimeWindow &) const = default;
};

// Morning: within an hour of getting up, before breakfast and the tablets;
// evening: before going to bed. A reading after midnight in the evening
// window counts for the evening before.
struct MonitoringWindows
{
    TimeWindow morning{QTime(4, 0), QTime(11, 59)};
    TimeWindow evening{QTime(18, 0), QTime(1, 59)};

    bool operator==(const MonitoringWindows &) const = default;
};

// Why the two windows cannot be used: they share a minute. Nothing when they
// are apart.
std::optional<QString> windowsRefusal(const MonitoringWindows &windows);

enum class Session { Morning, Evening, Other };

Session sessionOf(const QTime &time, const MonitoringWindows &windows);
Session sessionOf(ClockStamp stamp, const MonitoringWindows &windows);
// The day a reading counts for: its date, or the day before when it lies in
// the after-midnight part of a window.
QDate monitoringDay(ClockStamp stamp, const MonitoringWindows &windows);

struct PlacedReading
{
    const BpReading *reading = nullptr;
    Session session = Session::Other;
};

struct MonitoringDay
{
    QDate date;
    bool counted = false;                 // its morning and evening readings are averaged
    std::vector<PlacedReading> readings;  // in time order; Other ones are listed only
};

// A mean of readings in whole mmHg, rounded half up.
struct BpAverage
{
    int count = 0;
    int systolic = 0;
    int diastolic = 0;
    int pulseCount = 0; // readings with a pulse
    int pulse = 0;      // their mean, when pulseCount > 0

    bool isEmpty() const { return count == 0; }
};

struct WeekChoice
{
    QDate first;         // day 1
    int daysLeftOut = 1; // 0, 1 or 2 of the first days are not averaged
    MonitoringWindows windows;
};

// The mean of the readings, whatever their times.
BpAverage averageOf(std::span<const BpReading> readings);

inline constexpr int HomeReferenceSystolic = 135;
inline constexpr int HomeReferenceDiastolic = 85;
inline constexpr int EnoughReadings = 12;

struct HomeWeek
{
    WeekChoice choice;
    std::array<MonitoringDay, 7> days;
    BpAverage morning, evening, overall;

    // The overall mean at or above 135 systolic or 85 diastolic.
    bool isAbove() const;
    bool hasTooFew() const { return overall.count < EnoughReadings; }
};

// Six days before the latest day that has a reading: the week that ends with
// it. A null date without readings.
QDate defaultFirstDay(std::span<const BpReading> readings, const MonitoringWindows &windows = {});

// The week beginning on choice.first. The readings may be in any order.
HomeWeek homeWeek(std::span<const BpReading> readings, const WeekChoice &choice);

// "2024年11月15日至2024年11月21日".
QString weekText(const WeekChoice &choice);
// "高于家庭血压参考值 135/85 mmHg" or "低于家庭血压参考值 135/85 mmHg"; empty without counted readings.
QString homeWeekVerdict(const HomeWeek &week);
// "读数不足 12 次，平均值仅供参考" for fewer than 12 counted readings; empty otherwise.
QString homeWeekShortfall(const HomeWeek &week);
// What the averages are, said the same way wherever they are shown.
QString homeWeekAbout(const WeekChoice &choice);
// "138/86 mmHg（12 次）", "脉搏 72 次/分（10 次）"; "—" without readings.
QString averageText(const BpAverage &average);
QString pulseAverageText(const BpAverage &average);

} // namespace velmora
