#include "gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace velmora {

QString decodeGbk(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

std::optional<QByteArray> encodeGbk(const QString &text)
{
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || !encoder.isValid())
        return std::nullopt;
    // ICU substitutes unmappable characters silently; a round trip tells.
    if (decodeGbk(bytes) != text)
        return std::nullopt;
    return bytes;
}

QByteArray gbk(const QString &text)
{
    return encodeGbk(text).value_or(QByteArray());
}

} // namespace velmora
