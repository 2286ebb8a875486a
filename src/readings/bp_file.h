#pragma once

// The home blood pressure readings of a user, "<name>.bp" beside the record
// file (see records/line_file.h): a header line, then one reading a line,
// oldest first, its fields separated by tabs:
//
//   20241121073000<TAB>138<TAB>88<TAB>72<TAB>手动<TAB>起床后
//
// the time as fourteen digits, systolic, diastolic, pulse (empty when not
// measured), where it came from, a note (may be empty). Numbers are written
// without leading zeros. A line that is not exactly that (another number of
// fields, a value no person has, a character GBK lacks) is kept as it stands.

#include "readings/bp_reading.h"
#include "records/line_file.h"

#include <QIODevice>

namespace velmora {

using BpFile = LineFile<BpReading>;

// The first line of every .bp file, in GBK: "时间	收缩压	舒张压	脉搏	来源	备注".
QByteArray bpFileHeader();

BpFile readBpFile(QByteArrayView content);
// The file's bytes; nothing when a reading holds a text the file cannot keep.
std::optional<QByteArray> bpFileContent(const BpFile &file);
bool writeBpFile(QIODevice &device, const BpFile &file);

} // namespace velmora
