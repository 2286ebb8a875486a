#include "model/risk_model.h"

#include <cmath>
#include <cstring>

namespace velmora {

namespace {

const QByteArray Male("\xC4\xD0");                     // 男
const QByteArray Female("\xC5\xAE");                   // 女
const QByteArray Stroke("\xC4\xD4\xD1\xAA\xCB\xA8");   // 脑血栓
const QByteArray Diabetes("\xCC\xC7\xC4\xF2\xB2\xA1"); // 糖尿病

} // namespace

bool isGbkText(const Item &item, const QByteArray &text)
{
    if (!item.isText())
        return false;
    const QByteArray &bytes = item.textBytes();
    return bytes.size() == text.size()
           && (bytes.constData() == text.constData()
               || std::memcmp(bytes.constData(), text.constData(), size_t(text.size())) == 0);
}

Sex sexOf(const HealthRecord &record)
{
    const Item &sex = record[SexField];
    return isGbkText(sex, Male) ? Sex::Male : (isGbkText(sex, Female) ? Sex::Female : Sex::Unknown);
}

std::optional<double> waistThreshold(Sex sex)
{
    switch (sex) {
    case Sex::Male:
        return threshold::MaleWaist;
    case Sex::Female:
        return threshold::FemaleWaist;
    case Sex::Unknown:
        break;
    }
    return std::nullopt;
}

std::optional<double> standardWeight(const HealthRecord &record)
{
    const Item &height = record[HeightField];
    if (!height.isNumber() || !(height.number() > 0))
        return std::nullopt;
    return height.number() - threshold::StandardWeightOffset;
}

bool RiskModel::namesDiagnosis(const HealthRecord &record)
{
    const Item &cholesterol = record[CholesterolField];
    return isGbkText(cholesterol, Stroke) || isGbkText(cholesterol, Diabetes);
}

QString scoreText(double score)
{
    double rounded = std::round(score * 100.0) / 100.0;
    if (rounded == 0.0)
        rounded = 0.0; // no "-0"
    return QString::fromLatin1(formatNumber(rounded));
}

} // namespace velmora
