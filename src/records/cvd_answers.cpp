#include "records/cvd_answers.h"

#include "records/gbk.h"
#include "records/text_file.h"

#include <QList>

namespace velmora {

namespace {

// The questions in the order the file holds them.
struct Question
{
    const char16_t *key;
    std::optional<bool> CvdAnswers::*answer;
};

constexpr Question Questions[] = {
    {u"吸烟", &CvdAnswers::smokes},
    {u"糖尿病", &CvdAnswers::diabetes},
    {u"心梗或卒中", &CvdAnswers::hadHeartAttackOrStroke},
};

constexpr char16_t Yes[] = u"是";
constexpr char16_t No[] = u"否";

} // namespace

CvdAnswers readCvdAnswers(QByteArrayView content)
{
    CvdAnswers answers;
    for (const QByteArray &line : content.toByteArray().split('\n')) {
        const QString text = decodeGbk(line).trimmed();
        const qsizetype equals = text.indexOf(u'=');
        if (equals < 0)
            continue;
        const QStringView key = QStringView(text).left(equals).trimmed();
        const QStringView value = QStringView(text).mid(equals + 1).trimmed();
        if (value != QStringView(Yes) && value != QStringView(No))
            continue;
        for (const Question &question : Questions)
            if (key == QStringView(question.key))
                answers.*question.answer = value == QStringView(Yes);
    }
    return answers;
}

bool writeCvdAnswers(QIODevice &device, const CvdAnswers &answers)
{
    QByteArray content;
    for (const Question &question : Questions)
        if (const std::optional<bool> &answer = answers.*question.answer)
            content += gbk(QString::fromUtf16(question.key) + u'=' + QString::fromUtf16(*answer ? Yes : No)) + "\r\n";
    return writeAll(device, content);
}

} // namespace velmora
