#include "imports/readings_file.h"

namespace velmora {

ReadingsFileKind readingsFileKind(QIODevice &device)
{
    const QByteArray head = device.peek(256);
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06"))
        return ReadingsFileKind::PhoneZip;
    QByteArrayView text(head);
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    return text.trimmed().startsWith('<') ? ReadingsFileKind::PhoneXml : ReadingsFileKind::Table;
}

} // namespace velmora
