#include "analysis/statistics_sheet.h"

#include "model/risk_model.h"

namespace velmora {

namespace {

const QString NoFigure = QStringLiteral("—");

QString changeText(double change)
{
    const QString shown = scoreText(change);
    return change > 0 && shown != u"0" ? u'+' + shown : shown;
}

QStringList figuresRow(const QString &title, const QString &unit, const Figures &f, const QString &above)
{
    if (!f.hasValues())
        return {title, unit, QStringLiteral("0"), NoFigure, NoFigure, NoFigure, NoFigure, NoFigure, NoFigure, above};
    return {title,
            unit,
            QString::number(f.count),
            scoreText(f.first),
            scoreText(f.latest),
            scoreText(f.mean),
            scoreText(f.minimum),
            scoreText(f.maximum),
            changeText(f.change()),
            above};
}

QString dayText(const QDateTime &when)
{
    return when.date().toString(QStringLiteral("yyyy年MM月dd日"));
}

} // namespace

StatisticsSheet statisticsSheet(const PeriodStatistics &statistics)
{
    StatisticsSheet sheet;
    sheet.titles = {QStringLiteral("项目"), QStringLiteral("单位"), QStringLiteral("数值个数"), QStringLiteral("首次"),
                    QStringLiteral("最近"), QStringLiteral("平均"), QStringLiteral("最低"), QStringLiteral("最高"),
                    QStringLiteral("变化"), QStringLiteral("高于阈值")};
    for (Factor factor : ChartedFactors) {
        const RecordColumn &column = factorColumn(factor);
        const Figures &f = statistics[factor];
        const QString above = factor == Factor::Bmi ? NoFigure : QStringLiteral("%1 次").arg(f.aboveThreshold);
        sheet.rows.push_back(figuresRow(column.titleText(), column.unitText(), f, above));
    }
    sheet.rows.push_back(figuresRow(QStringLiteral("风险评分"), QString(), statistics.score, NoFigure));
    return sheet;
}

QString recordCountText(const PeriodStatistics &statistics)
{
    if (statistics.recordCount == 0)
        return QStringLiteral("没有记录");
    const QString first = dayText(statistics.first), latest = dayText(statistics.latest);
    const QString span = first == latest ? first : QStringLiteral("%1 至 %2").arg(first, latest);
    return QStringLiteral("%1 条记录，%2").arg(statistics.recordCount).arg(span);
}

} // namespace velmora
