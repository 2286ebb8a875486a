#include "analysis/score_explanation.h"

#include "chart/risk_lines.h"
#include "records/record_columns.h"

namespace velmora {

namespace {

QString number(double value)
{
    return QString::fromLatin1(formatNumber(value));
}

// The item as the record holds it, with its unit: "90 cm", "男", "未填".
QString valueText(const HealthRecord &record, Field field)
{
    const Item &item = record[field];
    if (item.isEmpty())
        return QStringLiteral("未填");
    const bool textField = field == SexField || field == HeredityField;
    if (item.isText() && !textField)
        return QStringLiteral("“%1”").arg(item.displayText()); // a text where a number belongs
    const QString unit = columnOfField(field).unitText();
    return unit.isEmpty() ? item.displayText() : QStringLiteral("%1 %2").arg(item.displayText(), unit);
}

QString thresholdText(const TermPoints &term)
{
    const QString unit = columnOfField(term.field).unitText();
    const QString value = unit.isEmpty() ? number(*term.threshold) : QStringLiteral("%1 %2").arg(number(*term.threshold), unit);
    return (term.term == Term::Weight ? QStringLiteral("标准体重 ") : QStringLiteral(" ")) + value;
}

QString points(double value)
{
    return QStringLiteral("%1 分").arg(scoreText(value));
}

// Why the term gives what it gives, after its title and value.
QString reason(const HealthRecord &record, const TermPoints &term)
{
    switch (term.state) {
    case TermState::Counted:
        return term.threshold ? QStringLiteral("，高于%1").arg(thresholdText(term)) : QString();
    case TermState::NotAbove:
        return QStringLiteral("，未高于%1").arg(thresholdText(term));
    case TermState::RawValue:
        if (term.term == Term::Age)
            return QStringLiteral("，不大于 0，计年龄本身");
        return term.threshold ? QStringLiteral("，未高于%1，计腰围本身").arg(thresholdText(term))
                              : QStringLiteral("，没有性别，计腰围本身");
    case TermState::NotListed:
        if (term.term == Term::Sex)
            return QStringLiteral("，不是“男”或“女”");
        return record[HeredityField].isEmpty() || record[HeredityField].displayText() == u"无" ? QString()
                                                                                              : QStringLiteral("，不是“有”");
    case TermState::NoHeight:
        return QStringLiteral("，没有身高，无从比较标准体重");
    case TermState::Text:
        if (term.term == Term::Weight && record[HeightField].isText())
            return QStringLiteral("，身高%1是文字").arg(valueText(record, HeightField));
        return QStringLiteral("是文字");
    }
    return QString();
}

QString fieldTitles(const std::vector<Field> &fields)
{
    QStringList titles;
    for (Field field : fields)
        titles << columnOfField(field).titleText();
    return titles.join(u'、');
}

} // namespace

QString termLine(const HealthRecord &record, const TermPoints &term)
{
    const QString head = QStringLiteral("%1 %2").arg(columnOfField(term.field).titleText(), valueText(record, term.field));
    const QString why = reason(record, term);
    if (term.state == TermState::Text && term.term != Term::Weight)
        return head + why + QStringLiteral("，无法计分");
    if (term.state == TermState::Text)
        return head + why + QStringLiteral("，不计分");
    return QStringLiteral("%1%2：%3").arg(head, why, points(term.points));
}

QStringList scoreExplanation(const HealthRecord &record, const ScoreBreakdown &breakdown)
{
    QStringList lines;
    lines << QStringLiteral("风险评分：%1，%2").arg(scoreText(breakdown.score), riskPlaceText(breakdown.score));
    if (breakdown.outcome == ScoreOutcome::Impossible)
        lines << QStringLiteral("%1是文字，各项无法相加，评分为 0").arg(fieldTitles(breakdown.blockingTexts()));
    else if (breakdown.outcome == ScoreOutcome::Diagnosis)
        lines << QStringLiteral("胆固醇写有%1，存储时按诊断计为 %2")
                     .arg(valueText(record, CholesterolField), scoreText(breakdown.score));
    for (const TermPoints *term : breakdown.largestFirst())
        lines << termLine(record, *term);
    return lines;
}

} // namespace velmora
