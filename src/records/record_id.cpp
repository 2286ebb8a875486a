#include "record_id.h"

#include <algorithm>

namespace velmora {

bool isRecordIdText(const QString &text)
{
    return text.size() == 14 && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString recordDateCaption(const QString &recordId)
{
    return QStringLiteral("%1年%2月%3日%4时%5分%6秒")
        .arg(recordId.mid(0, 4), recordId.mid(4, 2), recordId.mid(6, 2), recordId.mid(8, 2), recordId.mid(10, 2),
             recordId.mid(12, 2));
}

} // namespace velmora
