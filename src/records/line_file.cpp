#include "records/line_file.h"

#include "records/gbk.h"

namespace velmora {

LineFields tabFields(QByteArrayView line)
{
    LineFields fields;
    qsizetype start = 0;
    for (;;) {
        const qsizetype tab = line.indexOf('\t', start);
        if (tab < 0) {
            fields.append(line.sliced(start));
            return fields;
        }
        fields.append(line.sliced(start, tab - start));
        start = tab + 1;
    }
}

std::optional<QString> fieldText(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    std::optional<QString> text = decodeGbkStrictly(bytes);
    if (!text || encodeGbk(*text) != bytes.toByteArray())
        return std::nullopt;
    return text;
}

std::optional<QString> fieldRefusal(const QString &box, const QString &text)
{
    if (text.contains(u'\t') || text.contains(u'\r') || text.contains(u'\n'))
        return QStringLiteral("%1不能含有制表符或换行，请修改！").arg(box);
    if (!encodeGbk(text))
        return QStringLiteral("%1含有不能保存的字符，请修改！").arg(box);
    return std::nullopt;
}

bool appendField(QByteArray &out, const QString &text)
{
    if (text.contains(u'\t') || text.contains(u'\r') || text.contains(u'\n'))
        return false;
    if (text.isEmpty())
        return true;
    const std::optional<QByteArray> bytes = encodeGbk(text);
    if (!bytes)
        return false;
    out.append(*bytes);
    return true;
}

} // namespace velmora
