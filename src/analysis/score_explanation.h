#pragma once

#include "model/score_breakdown.h"

#include <QString>
#include <QStringList>

namespace velmora {

// A record's score explained in lines a person reads: first the score and its
// place among the risk lines, then what replaced or blocked the sum (if
// anything), then the twelve terms, largest first, each with the value that
// produced it, the threshold it is compared with and its points.
QStringList scoreExplanation(const HealthRecord &record, const ScoreBreakdown &breakdown);

// One term: "腰围 90 cm，高于 85 cm：450 分".
QString termLine(const HealthRecord &record, const TermPoints &term);

} // namespace velmora
