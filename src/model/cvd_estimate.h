#pragma once

#include "model/cvd_risk.h"
#include "records/cvd_answers.h"
#include "records/health_record.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace velmora {

// Why a record has no ten-year risk: the model covers people aged 40 to 80
// without known cardiovascular disease, and takes no guessed input.
enum class NoEstimate {
    None,          // there is an estimate
    NotAnswered,   // smoking now, or a heart attack or stroke, not answered
    HadEvent,      // a heart attack or stroke: the model is not for them
    StrokeText,    // the cholesterol item says "脑血栓"
    Sex,           // neither "男" nor "女"
    Age,           // missing, or not a number
    AgeOutside,    // below 40 or above 80
    Systolic,      // missing, not a number, or not between 60 and 300 mmHg
    Measures,      // neither a usable cholesterol with diabetes answered, nor height and weight
};

struct CvdEstimate
{
    NoEstimate reason = NoEstimate::NotAnswered;
    cvd::Model model = cvd::Model::NonLaboratory;
    cvd::Inputs inputs;
    cvd::Risk risk;
    int percent = 0; // the total in whole percent
    cvd::Band band = cvd::Band::Below5;

    bool isEstimate() const { return reason == NoEstimate::None; }
};

// The ten-year risk of one record with the person's answers. The laboratory
// model when the cholesterol is a number and diabetes is answered, the
// non-laboratory model (BMI from height in cm and weight in kg) otherwise.
// Values beyond the charts' open bands are taken as they are; values no
// person has (a cholesterol outside 1-20 mmol/L, a BMI outside 10-80) count
// as not given.
CvdEstimate estimateCvdRisk(const HealthRecord &record, const CvdAnswers &answers);

// What the records suggest for the questions: smoking years above 0 in the
// latest record; a blood sugar of 7.0 or more, or the cholesterol text
// "糖尿病", in any record; "脑血栓" in any record for a stroke.
CvdAnswers cvdHints(const std::vector<HealthRecord> &records);

// "十年心血管病风险：14%（10%–<20%）", or the reason there is none.
QString cvdRiskLine(const CvdEstimate &estimate);
// The model and the inputs it took: "WHO 2019 实验室模型（东亚校准），男 55 岁，…".
QString cvdInputsLine(const CvdEstimate &estimate);
// The estimate's lines for the score explanation: the risk, then (with an estimate) the model line.
QStringList cvdExplanation(const CvdEstimate &estimate);
// One sentence on what the estimate is and is not.
QString cvdAboutText();

} // namespace velmora
