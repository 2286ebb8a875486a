#pragma once

#include <QByteArrayView>
#include <QIODevice>

#include <optional>

namespace velmora {

// What a person said about themselves for the ten-year cardiovascular risk,
// which the records cannot tell: whether they smoke now (years of smoking do
// not tell a smoker from someone who stopped), whether they have diabetes
// (diagnosed or treated, or a fasting blood sugar of 7.0 mmol/L or more), and
// whether they already had a heart attack or a stroke. Nothing: not answered.
struct CvdAnswers
{
    std::optional<bool> smokes;
    std::optional<bool> diabetes;
    std::optional<bool> hadHeartAttackOrStroke;

    bool isComplete() const { return smokes && diabetes && hadHeartAttackOrStroke; }
    bool operator==(const CvdAnswers &) const = default;
};

// The answers in their own small file beside the record file, GBK with CR LF,
// one answer a line, for example "吸烟=是". Questions not answered have no
// line. A file a person edits by hand is read as far as it makes sense: a line
// without a known question, or with a value other than "是" or "否", is
// skipped; of two lines for one question the last counts.
CvdAnswers readCvdAnswers(QByteArrayView content);
bool writeCvdAnswers(QIODevice &device, const CvdAnswers &answers);

} // namespace velmora
