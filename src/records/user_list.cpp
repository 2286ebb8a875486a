#include "records/user_list.h"

#include "records/item_reader.h"
#include "records/record_file.h"
#include "records/text_file.h"

namespace velmora {

UserNames readUserNames(QByteArrayView content)
{
    UserNames names;
    ItemReader reader(content);
    while (!reader.atEnd())
        names.push_back(reader.nextField().toByteArray());
    return names;
}

bool writeUserNames(QIODevice &device, const UserNames &names)
{
    QByteArray content;
    for (const QByteArray &name : names) {
        appendStorableText(content, name);
        content.append("\r\n", 2);
    }
    return writeAll(device, content);
}

} // namespace velmora
