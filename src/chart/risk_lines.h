#pragma once

#include "chart/trend_chart.h"

#include <QString>

#include <array>

namespace velmora {

// One of the four risk lines painted in the chart template, and the score the
// chart draws at its height: the chart maps a score s to y = 6000 - s twips
// and the template's pixels are 15 twips, so a line at y px stands at 6000 - 15 y.
struct RiskLine
{
    const char16_t *name;
    int templateY; // px from the template's top
    double score;

    QString nameText() const { return QString::fromUtf16(name); }
    // The score as texts name it, rounded to hundreds: "约2100".
    QString approximateText() const;
    // "警戒线（约2100）"
    QString captionText() const;
};

inline constexpr double TemplateTwipsPerPixel = 15;

constexpr double scoreAtTemplateY(int y)
{
    return chart::Baseline - TemplateTwipsPerPixel * y;
}

// Bottom to top: warning, low, medium and high risk.
inline constexpr std::array<RiskLine, 4> RiskLines = {{
    {u"警戒线", 260, scoreAtTemplateY(260)},
    {u"低危线", 200, scoreAtTemplateY(200)},
    {u"中危线", 139, scoreAtTemplateY(139)},
    {u"高危线", 107, scoreAtTemplateY(107)},
}};

// Where a score stands among the lines. A score exactly at a line has reached it.
enum class RiskBand { BelowWarning, WarningToLow, LowToMedium, MediumToHigh, AboveHigh };
inline constexpr int RiskBandCount = 5;

RiskBand riskBandOf(double score);
// "低于警戒线", "警戒线至低危线", "低危线至中危线", "中危线至高危线", "高危线以上".
QString riskBandName(RiskBand band);

struct RiskPlace
{
    RiskBand band;
    const RiskLine *reached; // the highest line the score is at or over; none below the warning line
    const RiskLine *next;    // the lowest line above the score; none at or over the high-risk line
};

RiskPlace riskPlaceOf(double score);

// The place in words, with the lines' scores: "低于警戒线（约2100）",
// "在低危线（约3000）与中危线（约3900）之间", "在高危线（约4400）以上".
QString riskPlaceText(double score);

} // namespace velmora
