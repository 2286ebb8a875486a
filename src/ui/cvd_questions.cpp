#include "ui/cvd_questions.h"

#include "diary/diary.h"
#include "diary/messages.h"
#include "model/cvd_estimate.h"
#include "ui/form1.h"
#include "widgets/context_menu.h"

#include <QAction>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr int Yes = 1, No = 0;

const char *const QuestionNames[] = {"CvdSmokes", "CvdDiabetes", "CvdHadEvent"};

// Each answer, filled in from the other where it is missing.
CvdAnswers merged(const CvdAnswers &given, const CvdAnswers &hints)
{
    return {given.smokes ? given.smokes : hints.smokes, given.diabetes ? given.diabetes : hints.diabetes,
            given.hadHeartAttackOrStroke ? given.hadHeartAttackOrStroke : hints.hadHeartAttackOrStroke};
}

} // namespace

CvdQuestionBox::CvdQuestionBox(const QString &user, const CvdAnswers &shown, bool fromHints, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CvdQuestionDialog"));
    setWindowTitle(QStringLiteral("十年心血管病风险"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("为估计“%1”的十年心血管病风险，请回答以下三个问题。\n"
                                            "记录中没有这些信息；回答只需一次，保存在该用户的文件中，"
                                            "以后可从右键菜单修改。")
                                 .arg(user));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    addQuestion(*grid, 0, QStringLiteral("现在吸烟吗？（已戒烟请选“否”）"), shown.smokes);
    addQuestion(*grid, 1, QStringLiteral("患有糖尿病吗？（已确诊或正在治疗，或空腹血糖 ≥ 7.0 mmol/L）"), shown.diabetes);
    addQuestion(*grid, 2, QStringLiteral("曾经发生过心肌梗死（心梗）或脑卒中（中风）吗？"), shown.hadHeartAttackOrStroke);
    if (fromHints) {
        auto *hint = new QLabel(QStringLiteral("已按记录预先选好（吸烟年数大于 0、血糖 ≥ 7.0 或胆固醇一栏写有“糖尿病”），请核对。"));
        hint->setObjectName(QStringLiteral("CvdHint"));
        hint->setWordWrap(true);
        layout->addWidget(hint);
    }
    auto *about = new QLabel(cvdAboutText());
    about->setWordWrap(true);
    about->setStyleSheet(QStringLiteral("color: #555555;"));
    layout->addWidget(about);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    const auto enableOk = [this] { m_ok->setEnabled(answers().isComplete()); };
    for (QButtonGroup *group : m_groups)
        connect(group, &QButtonGroup::idClicked, this, enableOk);
    enableOk();
    setFixedWidth(460);
}

// The question's number and text on one line, its two answers below.
void CvdQuestionBox::addQuestion(QGridLayout &grid, int question, const QString &text, std::optional<bool> shown)
{
    auto *label = new QLabel(QStringLiteral("%1. %2").arg(question + 1).arg(text));
    label->setWordWrap(true);
    grid.addWidget(label, 2 * question, 0, 1, 3);
    auto *group = new QButtonGroup(this);
    group->setObjectName(QString::fromLatin1(QuestionNames[question]));
    for (int answer : {Yes, No}) {
        auto *button = new QRadioButton(answer == Yes ? QStringLiteral("是") : QStringLiteral("否"));
        button->setObjectName(QString::fromLatin1(QuestionNames[question]) + QLatin1String(answer == Yes ? "Yes" : "No"));
        group->addButton(button, answer);
        grid.addWidget(button, 2 * question + 1, answer == Yes ? 0 : 1);
        button->setChecked(shown && *shown == (answer == Yes));
    }
    grid.setColumnStretch(2, 1);
    m_groups[question] = group;
}

CvdAnswers CvdQuestionBox::answers() const
{
    const auto answerOf = [](const QButtonGroup *group) -> std::optional<bool> {
        if (group->checkedId() < 0)
            return std::nullopt;
        return group->checkedId() == Yes;
    };
    return {answerOf(m_groups[0]), answerOf(m_groups[1]), answerOf(m_groups[2])};
}

std::optional<CvdAnswers> QtCvdQuestionDialog::ask(const QString &user, const CvdAnswers &shown, bool fromHints)
{
    CvdQuestionBox box(user, shown, fromHints, m_parent);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.answers();
}

CvdQuestions::CvdQuestions(Form1 &window, CvdQuestionDialog &dialog, MessageBoxes &messages)
    : QObject(&window.contextMenu()), m_window(window), m_dialog(dialog), m_messages(messages)
{
    setObjectName(QStringLiteral("CvdQuestions"));
    m_action = window.contextMenu().addAction(QStringLiteral("心血管病风险问题…"), {}, [this] { ask(); });
    m_action->setObjectName(QStringLiteral("CvdQuestionsAction"));
    m_action->setToolTip(QStringLiteral("回答吸烟、糖尿病与心梗或卒中史，以估计十年心血管病风险"));
}

void CvdQuestions::ask()
{
    const Diary &diary = m_window.diary();
    if (diary.tableUser().isEmpty()) {
        m_messages.inform(messages::NothingToAnalyse);
        return;
    }
    const QString user = diary.tableUser();
    m_asked.insert(user);
    const CvdAnswers given = diary.cvdAnswers();
    const std::optional<CvdAnswers> answers =
        m_dialog.ask(user, merged(given, diary.cvdHints()), !given.isComplete() && diary.recordCount() > 0);
    if (!answers)
        return;
    m_window.changeDiary([&](Diary &changed, ChartStyle) { return changed.saveCvdAnswers(*answers); });
}

void CvdQuestions::askIfUnanswered()
{
    const Diary &diary = m_window.diary();
    if (diary.tableUser().isEmpty() || diary.cvdAnswers().isComplete() || m_asked.contains(diary.tableUser()))
        return;
    ask();
}

} // namespace velmora
