#pragma once

#include "records/item.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <optional>

namespace velmora {

// A RecordId as its text stands: fourteen digits YYYYMMDDhhmmss.
bool isRecordIdText(const QString &text);

// "2009年06月20日21时01分29秒" for the RecordId 20090620210129; the pieces are
// cut from the id's text as it stands.
QString recordDateCaption(const QString &recordId);

// "2009-06-20 21:01:29" for the RecordId 20090620210129; an id that is not
// fourteen digits comes back as it stands.
QString readableRecordTime(const QString &recordId);

// The local date and time a RecordId names, from its fourteen digits, in the
// system's time zone; nothing for a text that is not fourteen digits of a real
// date and time. A time that a daylight-saving change skips keeps its digits
// (at the offset of the day before). Many ids are placed faster with the zone looked up once:
// datetimes of a time zone know their offset, while a local-time datetime
// asks the C library for it at every use.
std::optional<QDateTime> recordTime(const QString &recordId, const QTimeZone &zone);
inline std::optional<QDateTime> recordTime(const QString &recordId)
{
    return recordTime(recordId, QTimeZone::systemTimeZone());
}
// The same for a RecordId item as read: a text, or the number its digits read as.
std::optional<QDateTime> recordTime(const Item &recordId, const QTimeZone &zone);

// The RecordId of a local date and time: fourteen digits YYYYMMDDhhmmss.
QString recordIdOf(const QDateTime &when);

// The RecordId of a date and time as a record table shows it, "2009-06-20
// 21:01:29", or as the bare fourteen digits; nothing for a text that is not a
// real date and time.
std::optional<QString> recordIdOfSheetTime(const QString &text);

} // namespace velmora
