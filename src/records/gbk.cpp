#include "records/gbk.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <QStringDecoder>
#include <QStringEncoder>
#endif

#include <algorithm>
#include <climits>

namespace velmora {

namespace {

// Byte sequences GBK does not define come out as private-use characters (ICU
// takes bytes such as 0xFF there, code page 936 its user-defined areas): no
// text of the program holds one.
std::optional<QString> withoutPrivateUse(std::optional<QString> text)
{
    if (text && std::any_of(text->begin(), text->end(), [](QChar c) { return c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF; }))
        return std::nullopt;
    return text;
}

} // namespace

#ifdef Q_OS_WIN

namespace {

constexpr UINT CodePage936 = 936;

// MultiByteToWideChar into a QString; nothing when strict and a sequence is
// not in the code page.
std::optional<QString> toUtf16(QByteArrayView bytes, bool strict)
{
    if (bytes.isEmpty())
        return QString();
    if (bytes.size() > INT_MAX)
        return std::nullopt;
    const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int size = int(bytes.size());
    const int length = MultiByteToWideChar(CodePage936, flags, bytes.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(CodePage936, flags, bytes.data(), size, reinterpret_cast<wchar_t *>(text.data()), length);
    return text;
}

// WideCharToMultiByte, which reports through usedDefault whether a character
// had to be replaced.
QByteArray toCodePage(const QString &text, bool *usedDefault)
{
    *usedDefault = false;
    if (text.isEmpty())
        return QByteArray();
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int size = int(text.size());
    BOOL replaced = FALSE;
    const int length = WideCharToMultiByte(CodePage936, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0, nullptr, &replaced);
    QByteArray bytes(qMax(length, 0), Qt::Uninitialized);
    if (length > 0)
        WideCharToMultiByte(CodePage936, WC_NO_BEST_FIT_CHARS, wide, size, bytes.data(), length, nullptr, &replaced);
    *usedDefault = replaced || length <= 0;
    return bytes;
}

} // namespace

QString decodeGbk(QByteArrayView bytes)
{
    return toUtf16(bytes, false).value_or(QString());
}

std::optional<QString> decodeGbkStrictly(QByteArrayView bytes)
{
    return withoutPrivateUse(toUtf16(bytes, true));
}

std::optional<QByteArray> encodeGbk(const QString &text)
{
    bool usedDefault = false;
    QByteArray bytes = toCodePage(text, &usedDefault);
    if (usedDefault || decodeGbk(bytes) != text)
        return std::nullopt;
    return bytes;
}

QByteArray encodeGbkLossy(const QString &text)
{
    bool usedDefault = false;
    return toCodePage(text, &usedDefault);
}

#else

QString decodeGbk(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

std::optional<QString> decodeGbkStrictly(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    return withoutPrivateUse(std::move(text));
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

QByteArray encodeGbkLossy(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

#endif

QByteArray gbk(const QString &text)
{
    return encodeGbk(text).value_or(QByteArray());
}

} // namespace velmora
