#pragma once

// A user's medicine diary, "<name>.med" beside the record file (see
// records/line_file.h): a header line, then one event a line, oldest first,
// its fields separated by tabs:
//
//   20240301080000<TAB>开始<TAB>氨氯地平<TAB>5 mg<TAB>每日1次<TAB>早饭后
//
// the time as fourteen digits, what happened (开始, 调整, 停用 or 单次), the
// medicine's name, the dose, how often, a note; the last three may be empty.
// A line that is not exactly that (another number of fields, another word,
// no name, a character GBK lacks) is kept as it stands.

#include "medicines/medicine_event.h"
#include "records/line_file.h"

namespace velmora {

using MedicineFile = LineFile<MedicineEvent>;

// The first line of every .med file, in GBK: "时间	事件	药名	剂量	用法	备注".
QByteArray medicineFileHeader();

MedicineFile readMedicineFile(QByteArrayView content);
// The file's bytes; nothing when an event holds a text the file cannot keep.
std::optional<QByteArray> medicineFileContent(const MedicineFile &file);

} // namespace velmora
