#include "readings/bp_csv.h"

#include "records/csv_table.h"
#include "records/record_columns.h"

namespace velmora {

QStringList bpCsvTitles()
{
    return {QStringLiteral("时间"),       QStringLiteral("收缩压(mmHg)"), QStringLiteral("舒张压(mmHg)"),
            QStringLiteral("脉搏(次/分)"), QStringLiteral("来源"),         QStringLiteral("备注")};
}

QByteArray bpReadingsCsv(std::span<const BpReading> readings)
{
    return csvTable(bpCsvTitles(), readings, [](const BpReading &r) -> QStringList {
        return {stampDateTime(r.stamp).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), QString::number(r.systolic),
                QString::number(r.diastolic), r.pulse ? QString::number(r.pulse) : QString(),
                formulaGuarded(r.source), formulaGuarded(r.note)};
    });
}

} // namespace velmora
