#include "model/score_breakdown.h"

#include <algorithm>

namespace velmora {

namespace {

const QByteArray Present("\xD3\xD0"); // 有

TermPoints termOf(Term term, Field field, double coefficient)
{
    TermPoints t;
    t.term = term;
    t.field = field;
    t.coefficient = coefficient;
    return t;
}

// A term that counts only above its threshold, by the amount above it.
TermPoints aboveThreshold(Term term, Field field, const Item &item, double threshold, double coefficient)
{
    TermPoints t = termOf(term, field, coefficient);
    t.threshold = threshold;
    if (item.isText()) {
        t.state = TermState::Text;
        return t;
    }
    t.value = item.number();
    const bool counts = t.value > threshold;
    t.state = counts ? TermState::Counted : TermState::NotAbove;
    t.points = counts ? coefficient * (t.value - threshold) : 0.0;
    return t;
}

// Coefficient times the item: smoking and drinking years.
TermPoints perUnit(Term term, Field field, const Item &item, double coefficient)
{
    TermPoints t = termOf(term, field, coefficient);
    if (item.isText()) {
        t.state = TermState::Text;
        return t;
    }
    t.value = item.number();
    t.state = TermState::Counted;
    t.points = coefficient * t.value;
    return t;
}

// A text term: coefficient times its multiplier, 0 for a text the model does not list.
TermPoints listedText(Term term, Field field, double multiplier, double coefficient)
{
    TermPoints t = termOf(term, field, coefficient);
    t.value = multiplier;
    t.state = multiplier > 0 ? TermState::Counted : TermState::NotListed;
    t.points = coefficient * multiplier;
    return t;
}

// 45 x age when positive; otherwise the age itself.
TermPoints ageTerm(const Item &item, double coefficient)
{
    TermPoints t = perUnit(Term::Age, AgeField, item, coefficient);
    if (t.state == TermState::Counted && !(t.value > 0)) {
        t.state = TermState::RawValue;
        t.points = t.value;
    }
    return t;
}

// 4.5 x the weight above the standard weight; a text as height or weight drops the term.
TermPoints weightTerm(const HealthRecord &r, double coefficient)
{
    const std::optional<double> standard = standardWeight(r);
    if (standard)
        return aboveThreshold(Term::Weight, WeightField, r[WeightField], *standard, coefficient);
    TermPoints t = termOf(Term::Weight, WeightField, coefficient);
    t.value = r[WeightField].number();
    t.state = r[HeightField].isText() || r[WeightField].isText() ? TermState::Text : TermState::NoHeight;
    return t;
}

// 5 x waist above the threshold of the record's sex; otherwise the waist itself.
TermPoints waistTerm(const Item &item, Sex sex, double coefficient)
{
    const std::optional<double> threshold = waistThreshold(sex);
    TermPoints t = perUnit(Term::Waist, WaistField, item, coefficient);
    t.threshold = threshold;
    if (t.state == TermState::Counted && !(threshold && t.value > *threshold)) {
        t.state = TermState::RawValue;
        t.points = t.value;
    }
    return t;
}

FieldSet textItemsOf(const HealthRecord &r)
{
    FieldSet texts;
    for (int f = AgeField; f <= WaistField; ++f)
        if (r[Field(f)].isText())
            texts.insert(Field(f));
    return texts;
}

} // namespace

double sumOfTerms(const std::array<TermPoints, TermCount> &terms)
{
    double sum = terms[0].points;
    for (size_t i = 1; i < terms.size(); ++i)
        sum += terms[i].points;
    return sum;
}

namespace {

// Hands each term to `visit` in the order of addition. The one place the
// terms are computed: ScoreRecord sums them as they come, explainScore keeps them.
template <typename Visit>
void visitTerms(const HealthRecord &r, const RiskCoefficients &c, Visit &&visit)
{
    const Sex sex = sexOf(r);
    const double sexMultiplier = sex == Sex::Male ? 2 : (sex == Sex::Female ? 1 : 0);
    visit(listedText(Term::Sex, SexField, sexMultiplier, c.sex));
    visit(ageTerm(r[AgeField], c.age));
    visit(weightTerm(r, c.weight));
    visit(aboveThreshold(Term::Triglycerides, TriglyceridesField, r[TriglyceridesField], threshold::Triglycerides,
                         c.triglycerides));
    visit(aboveThreshold(Term::Systolic, SystolicField, r[SystolicField], threshold::Systolic, c.systolic));
    visit(aboveThreshold(Term::Diastolic, DiastolicField, r[DiastolicField], threshold::Diastolic, c.diastolic));
    visit(aboveThreshold(Term::BloodSugar, BloodSugarField, r[BloodSugarField], threshold::BloodSugar, c.bloodSugar));
    visit(perUnit(Term::Smoking, SmokingField, r[SmokingField], c.smoking));
    visit(perUnit(Term::Drinking, DrinkingField, r[DrinkingField], c.drinking));
    visit(aboveThreshold(Term::Cholesterol, CholesterolField, r[CholesterolField], threshold::Cholesterol,
                         c.cholesterol));
    visit(waistTerm(r[WaistField], sex, c.waist));
    visit(listedText(Term::Heredity, HeredityField, isGbkText(r[HeredityField], Present) ? 1 : 0, c.heredity));
}

bool sumBlockedBy(FieldSet texts)
{
    return std::any_of(std::begin(SumBlockingFields), std::end(SumBlockingFields),
                       [texts](Field f) { return texts.contains(f); });
}

} // namespace

double RiskModel::ScoreRecord(const HealthRecord &record) const
{
    if (sumBlockedBy(textItemsOf(record)))
        return 0.0;
    double sum = 0.0;
    bool first = true;
    visitTerms(record, m_coefficients, [&](const TermPoints &t) {
        sum = first ? t.points : sum + t.points;
        first = false;
    });
    return sum;
}

ScoreBreakdown explainScore(const HealthRecord &r, const RiskCoefficients &c, ScorePass pass)
{
    ScoreBreakdown b;
    size_t next = 0;
    visitTerms(r, c, [&](const TermPoints &t) { b.terms[next++] = t; });
    b.textItems = textItemsOf(r);
    if (pass == ScorePass::Store && RiskModel::namesDiagnosis(r)) {
        b.outcome = ScoreOutcome::Diagnosis;
        b.score = RiskModel::DiagnosisScore;
    } else if (b.sumBlocked()) {
        b.outcome = ScoreOutcome::Impossible;
        b.score = 0.0;
    } else {
        b.score = sumOfTerms(b.terms);
    }
    return b;
}

bool ScoreBreakdown::sumBlocked() const
{
    return sumBlockedBy(textItems);
}

std::vector<Field> ScoreBreakdown::blockingTexts() const
{
    std::vector<Field> fields;
    for (Field field : SumBlockingFields)
        if (textItems.contains(field))
            fields.push_back(field);
    return fields;
}

FieldSet ScoreBreakdown::aboveThreshold() const
{
    FieldSet above;
    for (const TermPoints &t : terms)
        if (t.threshold && t.state == TermState::Counted)
            above.insert(t.field);
    return above;
}

std::array<const TermPoints *, TermCount> ScoreBreakdown::largestFirst() const
{
    std::array<const TermPoints *, TermCount> order;
    for (size_t i = 0; i < terms.size(); ++i)
        order[i] = &terms[i];
    std::stable_sort(order.begin(), order.end(),
                     [](const TermPoints *a, const TermPoints *b) { return a->points > b->points; });
    return order;
}

} // namespace velmora
