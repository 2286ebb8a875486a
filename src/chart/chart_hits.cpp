#include "chart/chart_hits.h"

#include "model/risk_model.h"
#include "records/record_id.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

bool isEntryMark(const ChartMark &mark)
{
    return mark.kind == ChartMark::Kind::Rectangle || mark.kind == ChartMark::Kind::Circle;
}

} // namespace

std::optional<int> entryAtChartPoint(const std::vector<ChartMark> &marks, QPointF twips, double tolerance)
{
    std::optional<int> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    double bestOffset = std::numeric_limits<double>::infinity(); // sideways from the mark's middle, for ties
    int entry = -1;
    for (const ChartMark &mark : marks) {
        if (!isEntryMark(mark))
            continue;
        ++entry;
        double distance = 0;
        double middle = 0;
        if (mark.kind == ChartMark::Kind::Rectangle) {
            const QRectF bar = QRectF(QPointF(mark.x1, mark.y1), QPointF(mark.x2, mark.y2)).normalized();
            const double dx = std::max({bar.left() - twips.x(), 0.0, twips.x() - bar.right()});
            const double dy = std::max({bar.top() - twips.y(), 0.0, twips.y() - bar.bottom()});
            distance = std::hypot(dx, dy);
            middle = bar.center().x();
        } else {
            distance = std::max(0.0, std::hypot(twips.x() - mark.x1, twips.y() - mark.y1) - mark.radius);
            middle = mark.x1;
        }
        const double offset = std::abs(twips.x() - middle);
        if (distance > tolerance)
            continue;
        if (distance < bestDistance || (distance == bestDistance && offset < bestOffset)) {
            best = entry;
            bestDistance = distance;
            bestOffset = offset;
        }
    }
    return best;
}

int chartEntryCount(const std::vector<ChartMark> &marks)
{
    return int(std::count_if(marks.begin(), marks.end(), isEntryMark));
}

QString recordToolTip(const QString &recordId, const QStringList &explanation)
{
    const QString when = isRecordIdText(recordId) ? recordDateCaption(recordId) : recordId;
    return (QStringList{when} + explanation).join(u'\n');
}

} // namespace velmora
