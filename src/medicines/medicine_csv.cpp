#include "medicines/medicine_csv.h"

#include "records/csv_table.h"
#include "records/record_columns.h"

namespace velmora {

QStringList medicineCsvTitles()
{
    return {QStringLiteral("时间"), QStringLiteral("事件"), QStringLiteral("药名"),
            QStringLiteral("剂量"), QStringLiteral("用法"), QStringLiteral("备注")};
}

QByteArray medicinesCsv(std::span<const MedicineEvent> events)
{
    return csvTable(medicineCsvTitles(), events, [](const MedicineEvent &e) -> QStringList {
        return {stampDateTime(e.stamp).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), actionWord(e.action),
                formulaGuarded(e.name), formulaGuarded(e.dose), formulaGuarded(e.frequency), formulaGuarded(e.note)};
    });
}

} // namespace velmora
