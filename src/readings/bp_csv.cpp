#include "readings/bp_csv.h"

#include "records/csv_table.h"
#include "records/record_columns.h"

#include <vector>

namespace velmora {

QStringList bpCsvTitles()
{
    return {QStringLiteral("时间"),       QStringLiteral("收缩压(mmHg)"), QStringLiteral("舒张压(mmHg)"),
            QStringLiteral("脉搏(次/分)"), QStringLiteral("来源"),         QStringLiteral("备注")};
}

QByteArray bpReadingsCsv(std::span<const BpReading> readings)
{
    std::vector<QStringList> rows;
    rows.reserve(readings.size() + 1);
    rows.push_back(bpCsvTitles());
    for (const BpReading &r : readings)
        rows.push_back({stampDateTime(r.stamp).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                        QString::number(r.systolic), QString::number(r.diastolic),
                        r.pulse ? QString::number(r.pulse) : QString(), formulaGuarded(r.source), formulaGuarded(r.note)});
    return csvBytes(rows);
}

} // namespace velmora
