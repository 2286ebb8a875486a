#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QtGlobal>

#include <optional>

namespace velmora {

// A clock time as the diary's dated entries keep it: the fourteen digits of a
// RecordId, YYYYMMDDhhmmss, as one number, so that a larger number is a later
// time. It is the time the clock showed where the entry was made, with no
// time zone: a reading taken at 07:30 on a journey stays a morning reading.
using ClockStamp = qint64;

// The stamp of fourteen ASCII digits of a real date and time; nothing otherwise.
std::optional<ClockStamp> clockStampOf(QByteArrayView digits);
ClockStamp clockStampOf(const QDate &date, const QTime &time);
// The stamp of a date and time as its clock shows it (the seconds kept, milliseconds dropped).
ClockStamp clockStampOf(const QDateTime &when);

QDate stampDate(ClockStamp stamp);
QTime stampTime(ClockStamp stamp);
// The date and time the stamp names as the clock showed it, for showing and
// counting days and minutes (marked UTC, so that no time zone moves it).
QDateTime stampDateTime(ClockStamp stamp);
// Appends the fourteen digits.
void appendStampDigits(QByteArray &out, ClockStamp stamp);

} // namespace velmora
