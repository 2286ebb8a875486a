#include "reports/analysis_menu.h"

#include "diary/diary.h"
#include "diary/messages.h"
#include "diary/seams.h"
#include "reports/factor_window.h"
#include "reports/period_dialog.h"
#include "widgets/chart_tooltips.h"
#include "widgets/context_menu.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

// The ten-year risk on its band's colour, above the explanation; none without an estimate.
QLabel *newRiskBand(const CvdEstimate &estimate)
{
    auto *band = new QLabel(cvdRiskLine(estimate));
    band->setObjectName(QStringLiteral("CvdRiskBand"));
    band->setStyleSheet(QStringLiteral("QLabel { background: %1; color: white; font-weight: bold; padding: 4px 8px;"
                                       " border-radius: 3px; }")
                            .arg(cvd::bandColour(estimate.band)));
    return band;
}

QDialog *newBreakdownDialog(QWidget &parent, const QString &text, const CvdEstimate &estimate)
{
    auto *dialog = new QDialog(&parent);
    dialog->setObjectName(QStringLiteral("ScoreBreakdownDialog"));
    dialog->setWindowTitle(QStringLiteral("评分构成"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(dialog);
    if (estimate.isEstimate())
        layout->addWidget(newRiskBand(estimate));
    auto *label = new QLabel(text);
    label->setObjectName(QStringLiteral("ScoreBreakdownText"));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard); // Ctrl+A, Ctrl+C
    layout->addWidget(label);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    layout->addWidget(buttons);
    return dialog;
}

} // namespace

AnalysisMenu::AnalysisMenu(ContextMenu &menu, const Diary &diary, PeriodDialog &periods, MessageBoxes &messages,
                           QWidget &window)
    : QObject(&menu), m_diary(diary), m_periods(periods), m_messages(messages), m_window(window)
{
    setObjectName(QStringLiteral("AnalysisMenu"));
    menu.addSeparator();
    m_breakdown = menu.addRecordAction(QStringLiteral("评分构成…"), [this](int label) { showScoreBreakdown(label); });
    m_factorTrends = menu.addAction(QStringLiteral("因素趋势…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
                                    [this] { showFactorTrends(); });
    m_breakdown->setObjectName(QStringLiteral("ScoreBreakdown"));
    m_factorTrends->setObjectName(QStringLiteral("FactorTrends"));
    m_breakdown->setToolTip(QStringLiteral("这条记录的风险评分由哪些项目构成，各得多少分"));
    m_factorTrends->setToolTip(QStringLiteral("血压、体重、腰围和化验值随时间的变化，以及所选时段的统计"));
}

void AnalysisMenu::showScoreBreakdown(int label)
{
    const int position = m_diary.menuOffset() + label;
    if (position < 0 || position >= std::min<int>(m_diary.recordCount(), int(m_diary.scoreColumn().size())))
        return;
    if (m_beforeEstimate)
        m_beforeEstimate();
    if (m_breakdownDialog)
        m_breakdownDialog->close();
    m_breakdownDialog = newBreakdownDialog(m_window, recordExplanation(m_diary, position), m_diary.estimateRecord(position));
    m_breakdownDialog->show();
}

void AnalysisMenu::showFactorTrends()
{
    if (m_diary.recordCount() <= 0 || m_diary.tableUser().isEmpty()) {
        m_messages.inform(messages::NothingToAnalyse);
        return;
    }
    if (m_beforeEstimate)
        m_beforeEstimate();
    const bool opened = m_factorWindow;
    if (!opened) {
        m_factorWindow = new FactorWindow(&m_window);
        connect(m_factorWindow, &FactorWindow::periodChangeRequested, this,
                [this] { choosePeriodFor(*m_factorWindow); });
    }
    choosePeriodFor(*m_factorWindow);
    if (!opened && !m_factorWindow->isVisible())
        m_factorWindow->close(); // cancelled before it was shown
}

void AnalysisMenu::choosePeriodFor(FactorWindow &window)
{
    const RecordHistory history = diaryHistory(m_diary);
    const std::optional<Period> period = askPeriod(m_periods, QStringLiteral("因素趋势：选择时段"), m_diary, history);
    if (!period)
        return;
    const QString user = m_diary.tableUser();
    const MedicineFile *medicines = m_diary.medicines(user);
    const BpFile *readings = m_diary.homeReadings(user);
    window.showPeriod(user, history, *period, m_diary.cvdAnswers(), medicines ? medicines->entries : std::vector<MedicineEvent>(),
                      readings ? readings->entries : std::vector<BpReading>());
    window.show();
    window.raise();
}

} // namespace velmora
