#include "chart/risk_lines.h"

#include <cmath>

namespace velmora {

QString RiskLine::approximateText() const
{
    return QStringLiteral("约%1").arg(std::lround(score / 100) * 100);
}

QString RiskLine::captionText() const
{
    return QStringLiteral("%1（%2）").arg(nameText(), approximateText());
}

RiskBand riskBandOf(double score)
{
    int reached = 0;
    while (reached < int(RiskLines.size()) && score >= RiskLines[size_t(reached)].score)
        ++reached;
    return RiskBand(reached);
}

QString riskBandName(RiskBand band)
{
    switch (band) {
    case RiskBand::BelowWarning:
        return QStringLiteral("低于警戒线");
    case RiskBand::WarningToLow:
        return QStringLiteral("警戒线至低危线");
    case RiskBand::LowToMedium:
        return QStringLiteral("低危线至中危线");
    case RiskBand::MediumToHigh:
        return QStringLiteral("中危线至高危线");
    case RiskBand::AboveHigh:
        break;
    }
    return QStringLiteral("高危线以上");
}

RiskPlace riskPlaceOf(double score)
{
    const RiskBand band = riskBandOf(score);
    const int reached = int(band); // lines at or under the score
    return {band, reached > 0 ? &RiskLines[size_t(reached - 1)] : nullptr,
            reached < int(RiskLines.size()) ? &RiskLines[size_t(reached)] : nullptr};
}

QString riskPlaceText(double score)
{
    const RiskPlace place = riskPlaceOf(score);
    if (!place.reached)
        return QStringLiteral("低于%1").arg(place.next->captionText());
    if (!place.next)
        return QStringLiteral("在%1以上").arg(place.reached->captionText());
    return QStringLiteral("在%1与%2之间").arg(place.reached->captionText(), place.next->captionText());
}

} // namespace velmora
