#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace velmora {

// Every text file of the program is in GBK (code page 936). On Windows the
// system's own code page 936 converts, named explicitly (the system's ANSI code
// page is another one under a non-Chinese locale, and Qt for Windows usually has
// no GBK codec); elsewhere Qt's GBK codec.

// The text of GBK bytes; bytes outside GBK become characters of their own.
QString decodeGbk(QByteArrayView bytes);

// The text of GBK bytes, or nothing when a byte sequence is not GBK.
std::optional<QString> decodeGbkStrictly(QByteArrayView bytes);

// The GBK bytes of a text, or nothing when the text holds a character that
// GBK cannot represent.
std::optional<QByteArray> encodeGbk(const QString &text);

// The GBK bytes of a text, a character GBK cannot hold replaced by "?".
QByteArray encodeGbkLossy(const QString &text);

// The GBK bytes of a text that is known to be representable (program constants).
QByteArray gbk(const QString &text);

} // namespace velmora
