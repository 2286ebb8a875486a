#pragma once

// The figures of a period as the report and the factor window show them.

#include "analysis/statistics.h"

#include <QStringList>

#include <array>
#include <vector>

namespace velmora {

// The factors drawn over time, in the order of their charts.
inline constexpr std::array<Factor, 8> ChartedFactors = {
    Factor::Systolic, Factor::Diastolic,     Factor::Weight,     Factor::Bmi,
    Factor::Waist,    Factor::Cholesterol,   Factor::Triglycerides, Factor::BloodSugar,
};

struct StatisticsSheet
{
    QStringList titles; // "项目", "单位", "数值个数", "首次", "最近", "平均", "最低", "最高", "变化", "高于阈值"
    std::vector<QStringList> rows; // the charted factors, then the score
};

StatisticsSheet statisticsSheet(const PeriodStatistics &statistics);

// "40 条记录，2023年01月05日 至 2025年12月20日"; "没有记录" for none.
QString recordCountText(const PeriodStatistics &statistics);

} // namespace velmora
