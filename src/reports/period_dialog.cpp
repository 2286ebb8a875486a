#include "reports/period_dialog.h"

#include "diary/diary.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace velmora {

namespace {

constexpr std::array<QuickPeriod, 4> QuickChoices = {QuickPeriod::All, QuickPeriod::Last30Days,
                                                     QuickPeriod::Last3Months, QuickPeriod::LastYear};
constexpr int SpanChoice = int(QuickChoices.size());

QDateEdit *dateEdit(QDate date, const char *name)
{
    auto *edit = new QDateEdit(date);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy年MM月dd日"));
    return edit;
}

} // namespace

std::optional<Period> QtPeriodDialog::choosePeriod(const QString &caption, QDate today, QDate first, QDate latest)
{
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("PeriodDialog"));
    dialog.setWindowTitle(caption);
    auto *layout = new QVBoxLayout(&dialog);
    QButtonGroup choices;
    for (int k = 0; k <= SpanChoice; ++k) {
        const QString text = k < SpanChoice ? quickPeriodName(QuickChoices[size_t(k)]) : QStringLiteral("指定日期：");
        auto *button = new QRadioButton(text);
        choices.addButton(button, k);
        layout->addWidget(button);
    }
    QDateEdit *from = dateEdit(first.isValid() ? first : today, "PeriodFrom");
    QDateEdit *to = dateEdit(latest.isValid() ? std::max(latest, today) : today, "PeriodTo");
    auto *span = new QFormLayout;
    span->addRow(QStringLiteral("从"), from);
    span->addRow(QStringLiteral("至"), to);
    layout->addLayout(span);
    const auto enableDates = [&] {
        from->setEnabled(choices.checkedId() == SpanChoice);
        to->setEnabled(choices.checkedId() == SpanChoice);
    };
    QObject::connect(&choices, &QButtonGroup::idToggled, &dialog, enableDates);
    choices.button(m_lastChoice)->setChecked(true);
    enableDates();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    m_lastChoice = choices.checkedId();
    if (m_lastChoice == SpanChoice)
        return Period{std::min(from->date(), to->date()), std::max(from->date(), to->date())};
    return Period::quick(QuickChoices[size_t(m_lastChoice)], today);
}


RecordHistory diaryHistory(const Diary &diary)
{
    return recordHistory(diary.recordTable(), diary.recordCount(), diary.scoreColumn());
}

std::optional<Period> askPeriod(PeriodDialog &dialog, const QString &caption, const Diary &diary,
                                const RecordHistory &history)
{
    const QDate first = history.records.empty() ? QDate() : history.records.front().when.date();
    const QDate latest = history.records.empty() ? QDate() : history.records.back().when.date();
    return dialog.choosePeriod(caption, diary.now().date(), first, latest);
}

} // namespace velmora
