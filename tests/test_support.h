#pragma once

// Helpers shared by the tests: GBK literals and small file utilities.

#include "records/gbk.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace velmora::test {

inline QByteArray g(const char16_t *text)
{
    return gbk(QString::fromUtf16(text));
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Joins lines with CR LF after each.
inline QByteArray crlfLines(std::initializer_list<QByteArray> lines)
{
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

} // namespace velmora::test
