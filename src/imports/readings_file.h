#pragma once

// What kind of file of readings a person chose, told by its first bytes and
// never by its name: a zip (the phone's export.zip), XML (its export.xml) or
// anything else, which is read as a table.

#include <QIODevice>

namespace velmora {

enum class ReadingsFileKind { Table, PhoneZip, PhoneXml };

// Reads nothing from the device (its first bytes are peeked at).
ReadingsFileKind readingsFileKind(QIODevice &device);

} // namespace velmora
