#pragma once

// The three questions of the ten-year cardiovascular risk, asked once per
// person in a small dialog: from the context menu of the chart and the column
// of records, and when an estimate is first wanted for someone who has not
// answered them.

#include "records/cvd_answers.h"

#include <QDialog>
#include <QObject>
#include <QSet>
#include <QString>

#include <optional>

class QAction;
class QButtonGroup;
class QGridLayout;
class QPushButton;

namespace velmora {

class Form1;
class MessageBoxes;

// The questions as a dialog of their own: each answered 是 or 否, OK only
// once all three are answered.
class CvdQuestionBox : public QDialog
{
    Q_OBJECT
public:
    // `shown`: the answers to start from; `fromHints`: they come from the records, not from the person.
    CvdQuestionBox(const QString &user, const CvdAnswers &shown, bool fromHints, QWidget *parent = nullptr);
    CvdAnswers answers() const;
    QPushButton *okButton() const { return m_ok; }
    QButtonGroup *group(int question) const { return m_groups[question]; }

private:
    void addQuestion(QGridLayout &grid, int question, const QString &text, std::optional<bool> shown);

    QButtonGroup *m_groups[3] = {};
    QPushButton *m_ok = nullptr;
};

// Asks the questions; tests script the answers.
class CvdQuestionDialog
{
public:
    virtual ~CvdQuestionDialog() = default;
    // The answers given for `user`, or none when the dialog was cancelled.
    virtual std::optional<CvdAnswers> ask(const QString &user, const CvdAnswers &shown, bool fromHints) = 0;
};

class QtCvdQuestionDialog : public CvdQuestionDialog
{
public:
    explicit QtCvdQuestionDialog(QWidget *parent = nullptr) : m_parent(parent) {}
    std::optional<CvdAnswers> ask(const QString &user, const CvdAnswers &shown, bool fromHints) override;

private:
    QWidget *m_parent;
};

class CvdQuestions : public QObject
{
    Q_OBJECT
public:
    CvdQuestions(Form1 &window, CvdQuestionDialog &dialog, MessageBoxes &messages);

    QAction *action() const { return m_action; }

    // "心血管病风险问题…": the questions for the user whose records are shown,
    // starting from their answers, or from what the records suggest.
    void ask();
    // Before an estimate is shown: asks a user who has not answered, once in a run.
    void askIfUnanswered();

private:
    Form1 &m_window;
    CvdQuestionDialog &m_dialog;
    MessageBoxes &m_messages;
    QAction *m_action = nullptr;
    QSet<QString> m_asked; // users asked in this run
};

} // namespace velmora
