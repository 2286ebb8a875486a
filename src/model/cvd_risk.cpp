#include "model/cvd_risk.h"

#include <cmath>

namespace velmora::cvd {

namespace {

// One outcome's model for one sex: the log hazard ratios of the centred
// inputs (age - 60, systolic - 120, cholesterol - 6 or BMI - 25), the
// ten-year baseline survival and the East Asia 2017 recalibration.
// `third` is the cholesterol term in the laboratory model, BMI otherwise;
// the diabetes terms are 0 in the non-laboratory model.
struct Outcome
{
    double age, systolic, smoking, diabetes, third;
    double ageSystolic, ageSmoking, ageDiabetes, ageThird;
    double baselineSurvival;
    double intercept, slope;
};

struct SexModels
{
    Outcome coronary, stroke;
};

// Coefficients and baseline survivals: the authors' Stata program
// whocvdrisk_erfc_score_v03.ado (repository skkceu/stata, commit abd8702).
// Recalibration: whocvdrisk_t10_calparms_gbd_sens0.dta of the same repository
// (commit d4372b6), region row A05GBDR_012_EAS, year 2017, as stored (float32,
// shortest decimal form).
constexpr SexModels Laboratory[2] = {
    // men
    {{0.0719227, 0.0132183, 0.5638109, 0.6410114, 0.2284944, -0.0001576, -0.0182545, -0.0124966, -0.0045806,
      0.9540108, -0.3625042, 1.0812404},
     {0.0986578, 0.0222629, 0.4981217, 0.6268712, 0.029526, -0.0004147, -0.0150561, -0.026302, 0.00142, 0.9849257,
      0.13889866, 0.71261615}},
    // women
    {{0.1020713, 0.015823, 1.053223, 1.070358, 0.2050377, -0.0001378, -0.0332666, -0.0234174, -0.0051932,
      0.9894159, -0.4210043, 0.77363765},
     {0.1056632, 0.0206278, 0.7443627, 0.8581998, 0.0257782, -0.0004897, -0.0200822, -0.0209826, -0.0021387,
      0.9890569, -0.25976664, 0.5967656}},
};

constexpr SexModels NonLaboratory[2] = {
    // men
    {{0.073593, 0.0133937, 0.5954767, 0, 0.0337219, -0.0001837, -0.0200831, 0, -0.0010432, 0.9544258, -0.35924736,
      1.1810824},
     {0.097674, 0.0227294, 0.4999862, 0, 0.0159518, -0.0004374, -0.0153895, 0, -0.0003516, 0.9848260, 0.08922047,
      0.6950518}},
    // women
    {{0.1049418, 0.016726, 1.093132, 0, 0.0257616, -0.0001966, -0.0343739, 0, -0.0006537, 0.9887124, -0.3934376,
      0.8069099},
     {0.1046105, 0.0216741, 0.7399405, 0, 0.0036406, -0.0005311, -0.0203997, 0, -0.0000129, 0.9885706, -0.1744002,
      0.6109179}},
};

double outcomeRisk(const Outcome &o, Model model, const Inputs &in)
{
    const double a = in.age - 60;
    const double s = in.systolic - 120;
    const double smk = in.smoker ? 1 : 0;
    const bool lab = model == Model::Laboratory;
    const double dm = lab && in.diabetes ? 1 : 0;
    const double third = lab ? in.cholesterol - 6 : in.bmi - 25;
    // The terms are added in one fixed order, in double precision: seven
    // chart cells lie within 0.001 points of a rounding edge.
    double lp = o.age * a + o.systolic * s + o.smoking * smk + o.ageSystolic * a * s + o.ageSmoking * a * smk;
    if (lab)
        lp += o.third * third + o.diabetes * dm + o.ageThird * a * third + o.ageDiabetes * a * dm;
    else
        lp += o.third * third + o.ageThird * a * third;
    const double uncalibrated = 1.0 - std::pow(o.baselineSurvival, std::exp(lp));
    return 1.0 - std::exp(-std::exp(o.intercept + o.slope * std::log(-std::log(1.0 - uncalibrated))));
}

} // namespace

Risk tenYearRisk(Model model, const Inputs &inputs)
{
    const SexModels &models = (model == Model::Laboratory ? Laboratory : NonLaboratory)[inputs.sex == Sex::Male ? 0 : 1];
    Risk risk;
    risk.coronary = outcomeRisk(models.coronary, model, inputs);
    risk.stroke = outcomeRisk(models.stroke, model, inputs);
    risk.total = 1.0 - (1.0 - risk.coronary) * (1.0 - risk.stroke);
    return risk;
}

int wholePercent(double total)
{
    return int(std::floor(100.0 * total + 0.5));
}

Band bandOf(int percent)
{
    if (percent < 5)
        return Band::Below5;
    if (percent < 10)
        return Band::From5;
    if (percent < 20)
        return Band::From10;
    if (percent < 30)
        return Band::From20;
    return Band::From30;
}

QString bandText(Band band)
{
    switch (band) {
    case Band::Below5:
        return QStringLiteral("<5%");
    case Band::From5:
        return QStringLiteral("5%–<10%");
    case Band::From10:
        return QStringLiteral("10%–<20%");
    case Band::From20:
        return QStringLiteral("20%–<30%");
    case Band::From30:
        break;
    }
    return QStringLiteral("≥30%");
}

QString bandColour(Band band)
{
    switch (band) {
    case Band::Below5:
        return QStringLiteral("#2E9D3A");
    case Band::From5:
        return QStringLiteral("#E2B100");
    case Band::From10:
        return QStringLiteral("#E8730C");
    case Band::From20:
        return QStringLiteral("#D32F2F");
    case Band::From30:
        break;
    }
    return QStringLiteral("#7B1416");
}

} // namespace velmora::cvd
