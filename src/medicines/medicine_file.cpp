#include "medicines/medicine_file.h"

#include "records/gbk.h"

namespace velmora {

namespace {

constexpr int FieldCount = 6;

std::optional<MedicineEvent> parseLine(QByteArrayView line)
{
    const LineFields fields = tabFields(line);
    if (fields.size() != FieldCount || line.contains('\r'))
        return std::nullopt;
    const auto stamp = clockStampOf(fields[0]);
    const auto word = fieldText(fields[1]);
    const auto action = word ? actionOfWord(*word) : std::nullopt;
    const auto name = fieldText(fields[2]);
    const auto dose = fieldText(fields[3]);
    const auto frequency = fieldText(fields[4]);
    const auto note = fieldText(fields[5]);
    if (!stamp || !action || !name || !dose || !frequency || !note)
        return std::nullopt;
    MedicineEvent event{*stamp, *action, *name, *dose, *frequency, *note};
    if (medicineEventRefusal(event))
        return std::nullopt;
    return event;
}

bool appendEvent(QByteArray &out, const MedicineEvent &event)
{
    if (medicineKey(event.name).isEmpty())
        return false;
    const QString word = actionWord(event.action);
    appendStampDigits(out, event.stamp);
    out.append('\t');
    for (const QString *field : {&word, &event.name, &event.dose, &event.frequency}) {
        if (!appendField(out, *field))
            return false;
        out.append('\t');
    }
    return appendField(out, event.note);
}

} // namespace

QByteArray medicineFileHeader()
{
    return gbk(QStringLiteral("时间\t事件\t药名\t剂量\t用法\t备注"));
}

MedicineFile readMedicineFile(QByteArrayView content)
{
    return readLineFile<MedicineEvent>(content, medicineFileHeader(), parseLine);
}

std::optional<QByteArray> medicineFileContent(const MedicineFile &file)
{
    return lineFileContent(medicineFileHeader(), file, appendEvent);
}

} // namespace velmora
