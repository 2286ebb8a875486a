#pragma once

#include <QString>

namespace velmora::cvd {

// The ten-year risk of a first heart attack or stroke after the WHO CVD Risk
// Chart Working Group's 2019 models (Lancet Glob Health 2019;7:e1332-45),
// recalibrated to the GBD region East Asia for 2017, the calibration of the
// published East Asia charts. Two Cox models per sex, one for coronary events
// and one for stroke, combined as 1 - (1 - coronary)(1 - stroke).

enum class Sex { Male, Female };

// Laboratory: total cholesterol and diabetes; non-laboratory: BMI in their place.
enum class Model { Laboratory, NonLaboratory };

struct Inputs
{
    Sex sex = Sex::Male;
    double age = 60;          // years
    bool smoker = false;      // smokes now; former smokers are not smokers
    double systolic = 120;    // mmHg
    bool diabetes = false;    // laboratory model
    double cholesterol = 6;   // total, mmol/L, laboratory model
    double bmi = 25;          // kg/m2, non-laboratory model
};

// Risks as fractions between 0 and 1.
struct Risk
{
    double coronary = 0;
    double stroke = 0;
    double total = 0;
};

// The model's formula as it stands, for any inputs: checking that a person is
// one the model covers is the caller's part (cvd_estimate.h).
Risk tenYearRisk(Model model, const Inputs &inputs);

// The total in whole percent as the charts print it: 100 x total rounded half up.
int wholePercent(double total);

// The charts' five bands.
enum class Band { Below5, From5, From10, From20, From30 };
// The band of a whole percent (the figure a person reads decides its band).
Band bandOf(int percent);
// "<5%", "5%–<10%", "10%–<20%", "20%–<30%", "≥30%".
QString bandText(Band band);
// The band's colour as "#RRGGBB": green, yellow, orange, red, dark red.
QString bandColour(Band band);

} // namespace velmora::cvd
