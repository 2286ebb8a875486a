#pragma once

#include <QString>

namespace velmora {

// A RecordId as its text stands: fourteen digits YYYYMMDDhhmmss.
bool isRecordIdText(const QString &text);

// "2009年06月20日21时01分29秒" for the RecordId 20090620210129; the pieces are
// cut from the id's text as it stands.
QString recordDateCaption(const QString &recordId);

} // namespace velmora
