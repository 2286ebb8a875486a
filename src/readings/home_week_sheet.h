#pragma once

// The monitoring week as texts, the same in the report window and on paper:
// one row a day with every reading listed, then the means and the sentences
// that say what they are.

#include "readings/home_week.h"

#include <QStringList>

#include <array>

namespace velmora {

// The columns of the day table: the day, then a column for each session.
inline constexpr int SessionCount = 3; // morning, evening, other
int sessionColumn(Session session);

struct HomeDayRow
{
    QString date;         // "11月15日 周五"
    bool counted = false; // false for a first day left out
    // "07:30 138/88" for each reading, in time order; a reading after
    // midnight that counts for the evening before: "次日 00:30 128/80".
    std::array<QStringList, SessionCount> readings;
};

struct HomeWeekSheet
{
    QString week;                          // weekText
    std::array<QString, 1 + SessionCount> titles; // "日期", "早晨 04:00–11:59", "晚间 18:00–01:59", "其他时间"
    std::array<HomeDayRow, 7> days;
    QStringList means; // "早晨平均 138/88 mmHg（6 次）", evening, overall, and the pulse where given
    QString verdict;   // homeWeekVerdict
    QString shortfall; // homeWeekShortfall
    QString about;     // homeWeekAbout
    // "监测周内用药：…", the medicines taken during the week; filled in by
    // whoever knows the person's medicines, empty otherwise.
    QString medicines;
    bool above = false;
};

HomeWeekSheet homeWeekSheet(const HomeWeek &week);

// "07:30 138/88".
QString readingText(const BpReading &reading);

} // namespace velmora
