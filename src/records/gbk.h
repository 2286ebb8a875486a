#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace velmora {

// Every text file of the program is in GBK (code page 936).
QString decodeGbk(QByteArrayView bytes);

// The GBK bytes of a text, or nothing when the text holds a character that
// GBK cannot represent.
std::optional<QByteArray> encodeGbk(const QString &text);

// The GBK bytes of a text that is known to be representable (program constants).
QByteArray gbk(const QString &text);

} // namespace velmora
