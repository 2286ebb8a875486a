#include "model/cvd_estimate.h"

#include "model/risk_model.h"

namespace velmora {

namespace {

const QByteArray StrokeText("\xC4\xD4\xD1\xAA\xCB\xA8");   // 脑血栓
const QByteArray DiabetesText("\xCC\xC7\xC4\xF2\xB2\xA1"); // 糖尿病

constexpr double YoungestAge = 40, OldestAge = 80;
constexpr double LowestSystolic = 60, HighestSystolic = 300;
constexpr double LowestCholesterol = 1, HighestCholesterol = 20;
constexpr double LowestBmi = 10, HighestBmi = 80;

// A positive number, or nothing.
std::optional<double> positive(const Item &item)
{
    if (item.isNumber() && item.number() > 0)
        return item.number();
    return std::nullopt;
}

std::optional<double> within(std::optional<double> value, double low, double high)
{
    return value && *value >= low && *value <= high ? value : std::nullopt;
}

std::optional<double> bmiOf(const HealthRecord &record)
{
    const auto height = positive(record[HeightField]);
    const auto weight = positive(record[WeightField]);
    if (!height || !weight)
        return std::nullopt;
    const double metres = *height / 100;
    return within(*weight / (metres * metres), LowestBmi, HighestBmi);
}

// Which model the measures allow, with its third input; None when neither.
NoEstimate chooseModel(const HealthRecord &record, const CvdAnswers &answers, CvdEstimate &estimate)
{
    const auto cholesterol = within(positive(record[CholesterolField]), LowestCholesterol, HighestCholesterol);
    if (cholesterol && answers.diabetes) {
        estimate.model = cvd::Model::Laboratory;
        estimate.inputs.cholesterol = *cholesterol;
        estimate.inputs.diabetes = *answers.diabetes;
        return NoEstimate::None;
    }
    const auto bmi = bmiOf(record);
    if (!bmi)
        return NoEstimate::Measures;
    estimate.model = cvd::Model::NonLaboratory;
    estimate.inputs.bmi = *bmi;
    return NoEstimate::None;
}

NoEstimate fillInputs(const HealthRecord &record, const CvdAnswers &answers, CvdEstimate &estimate)
{
    if (!answers.smokes || !answers.hadHeartAttackOrStroke)
        return NoEstimate::NotAnswered;
    if (*answers.hadHeartAttackOrStroke)
        return NoEstimate::HadEvent;
    if (isGbkText(record[CholesterolField], StrokeText))
        return NoEstimate::StrokeText;
    const Sex sex = sexOf(record);
    if (sex == Sex::Unknown)
        return NoEstimate::Sex;
    const auto age = positive(record[AgeField]);
    if (!age)
        return NoEstimate::Age;
    if (*age < YoungestAge || *age > OldestAge)
        return NoEstimate::AgeOutside;
    const auto systolic = within(positive(record[SystolicField]), LowestSystolic, HighestSystolic);
    if (!systolic)
        return NoEstimate::Systolic;
    estimate.inputs.sex = sex == Sex::Male ? cvd::Sex::Male : cvd::Sex::Female;
    estimate.inputs.age = *age;
    estimate.inputs.systolic = *systolic;
    estimate.inputs.smoker = *answers.smokes;
    return chooseModel(record, answers, estimate);
}

QString reasonText(NoEstimate reason)
{
    switch (reason) {
    case NoEstimate::None:
        break;
    case NoEstimate::NotAnswered:
        return QStringLiteral("尚未回答吸烟、糖尿病与心梗或卒中史的问题");
    case NoEstimate::HadEvent:
        return QStringLiteral("已有心梗或卒中史，本模型不适用");
    case NoEstimate::StrokeText:
        return QStringLiteral("胆固醇写有“脑血栓”，本模型不适用");
    case NoEstimate::Sex:
        return QStringLiteral("性别不是“男”或“女”");
    case NoEstimate::Age:
        return QStringLiteral("没有年龄");
    case NoEstimate::AgeOutside:
        return QStringLiteral("年龄不在 40–80 岁之间，本模型不适用");
    case NoEstimate::Systolic:
        return QStringLiteral("没有 60–300 mmHg 之间的收缩压（血压/高）");
    case NoEstimate::Measures:
        return QStringLiteral("既没有胆固醇（及糖尿病的回答），也没有身高与体重");
    }
    return QString();
}

QString number(double value, int decimals)
{
    return QString::fromLatin1(formatNumber(QString::number(value, 'f', decimals).toDouble()));
}

} // namespace

CvdEstimate estimateCvdRisk(const HealthRecord &record, const CvdAnswers &answers)
{
    CvdEstimate estimate;
    estimate.reason = fillInputs(record, answers, estimate);
    if (!estimate.isEstimate())
        return estimate;
    estimate.risk = cvd::tenYearRisk(estimate.model, estimate.inputs);
    estimate.percent = cvd::wholePercent(estimate.risk.total);
    estimate.band = cvd::bandOf(estimate.percent);
    return estimate;
}

CvdAnswers cvdHints(const std::vector<HealthRecord> &records)
{
    CvdAnswers hints;
    if (records.empty())
        return hints;
    hints.smokes = records.back()[SmokingField].number() > 0;
    hints.diabetes = false;
    hints.hadHeartAttackOrStroke = false;
    for (const HealthRecord &record : records) {
        if (record[BloodSugarField].number() >= 7.0 || isGbkText(record[CholesterolField], DiabetesText))
            hints.diabetes = true;
        if (isGbkText(record[CholesterolField], StrokeText))
            hints.hadHeartAttackOrStroke = true;
    }
    return hints;
}

QString cvdRiskLine(const CvdEstimate &estimate)
{
    if (!estimate.isEstimate())
        return QStringLiteral("十年心血管病风险：无估计（%1）").arg(reasonText(estimate.reason));
    return QStringLiteral("十年心血管病风险：%1%（%2）").arg(estimate.percent).arg(cvd::bandText(estimate.band));
}

QString cvdInputsLine(const CvdEstimate &estimate)
{
    const cvd::Inputs &in = estimate.inputs;
    const bool lab = estimate.model == cvd::Model::Laboratory;
    QStringList parts;
    parts << (in.sex == cvd::Sex::Male ? QStringLiteral("男") : QStringLiteral("女"))
          << QStringLiteral("%1 岁").arg(number(in.age, 1))
          << (in.smoker ? QStringLiteral("吸烟") : QStringLiteral("不吸烟"))
          << QStringLiteral("收缩压 %1 mmHg").arg(number(in.systolic, 1));
    if (lab)
        parts << (in.diabetes ? QStringLiteral("有糖尿病") : QStringLiteral("无糖尿病"))
              << QStringLiteral("总胆固醇 %1 mmol/L").arg(number(in.cholesterol, 2));
    else
        parts << QStringLiteral("BMI %1 kg/m²").arg(number(in.bmi, 1));
    return QStringLiteral("WHO 2019 %1（东亚校准）：%2")
        .arg(lab ? QStringLiteral("实验室模型") : QStringLiteral("非实验室模型"), parts.join(u'，'));
}

QStringList cvdExplanation(const CvdEstimate &estimate)
{
    QStringList lines{cvdRiskLine(estimate)};
    if (estimate.isEstimate())
        lines << cvdInputsLine(estimate);
    return lines;
}

QString cvdAboutText()
{
    return QStringLiteral("十年心血管病风险是按已发表的 WHO 2019 心血管病风险模型（东亚校准）所作的估计，"
                          "只适用于 40–80 岁、没有已知心血管病的人；它不是诊断，也未经任何机构认可。");
}

} // namespace velmora
