#include "reports/home_bp_window.h"

#include "reports/report_colours.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QAbstractItemView>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace velmora {

namespace {

QLabel *newText(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton *newButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

HomeBpWindow::HomeBpWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HomeBpWindow"));
    setWindowTitle(QStringLiteral("家庭血压报告"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QLocale chinese(QLocale::Chinese, QLocale::China);

    m_firstDay = new QDateEdit(this);
    m_firstDay->setObjectName(QStringLiteral("HomeBpFirstDay"));
    m_firstDay->setLocale(chinese);
    m_firstDay->setDisplayFormat(QStringLiteral("yyyy年MM月dd日"));
    m_firstDay->setCalendarPopup(true);
    m_firstDay->setAccessibleName(QStringLiteral("监测周的第一天"));
    m_leftOut = new QComboBox(this);
    m_leftOut->setObjectName(QStringLiteral("HomeBpDaysLeftOut"));
    m_leftOut->addItems({QStringLiteral("0 天"), QStringLiteral("1 天"), QStringLiteral("2 天")});
    m_leftOut->setAccessibleName(QStringLiteral("开头不计入平均的天数"));
    m_leftOut->view()->setAccessibleName(m_leftOut->accessibleName()); // its list, for screen readers
    m_morningFrom = timeEdit(QStringLiteral("HomeBpMorningFrom"), QStringLiteral("早晨时段开始"));
    m_morningTo = timeEdit(QStringLiteral("HomeBpMorningTo"), QStringLiteral("早晨时段结束"));
    m_eveningFrom = timeEdit(QStringLiteral("HomeBpEveningFrom"), QStringLiteral("晚间时段开始"));
    m_eveningTo = timeEdit(QStringLiteral("HomeBpEveningTo"), QStringLiteral("晚间时段结束"));

    auto *choices = new QGridLayout;
    const auto caption = [this](const QString &text) { return new QLabel(text, this); };
    const auto span = [&](QTimeEdit *from, QTimeEdit *to) {
        auto *row = new QHBoxLayout;
        row->addWidget(from);
        row->addWidget(caption(QStringLiteral("至")));
        row->addWidget(to);
        return row;
    };
    choices->addWidget(caption(QStringLiteral("第一天")), 0, 0);
    choices->addWidget(m_firstDay, 0, 1);
    choices->addWidget(caption(QStringLiteral("开头不计入平均")), 0, 2);
    choices->addWidget(m_leftOut, 0, 3);
    choices->addWidget(caption(QStringLiteral("早晨")), 1, 0);
    choices->addLayout(span(m_morningFrom, m_morningTo), 1, 1);
    choices->addWidget(caption(QStringLiteral("晚间")), 1, 2);
    choices->addLayout(span(m_eveningFrom, m_eveningTo), 1, 3);
    choices->setColumnStretch(4, 1);

    m_refusal = newText(QStringLiteral("HomeBpRefusal"), this);
    m_refusal->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(colours::MarkedInk.name()));
    m_refusal->hide();
    m_week = newText(QStringLiteral("HomeBpWeek"), this);
    m_days = new QTableWidget(7, 1 + SessionCount, this);
    m_days->setObjectName(QStringLiteral("HomeBpDays"));
    m_days->setAccessibleName(QStringLiteral("每日读数"));
    m_days->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_days->verticalHeader()->hide();
    m_days->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_days->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_days->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_means = newText(QStringLiteral("HomeBpMeans"), this);
    m_verdict = newText(QStringLiteral("HomeBpVerdict"), this);
    m_shortfall = newText(QStringLiteral("HomeBpShortfall"), this);
    m_medicines = newText(QStringLiteral("HomeBpMedicines"), this);
    m_about = newText(QStringLiteral("HomeBpAbout"), this);
    m_about->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(colours::Muted.name()));

    auto *print = newButton(QStringLiteral("打印…"), QStringLiteral("HomeBpPrint"), this);
    auto *pdf = newButton(QStringLiteral("导出 PDF…"), QStringLiteral("HomeBpPdf"), this);
    // The shortcuts of the main report's entries.
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    pdf->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    print->setToolTip(QStringLiteral("把这一周排成一页 A4，在打印机上打印出来（Ctrl+P）"));
    pdf->setToolTip(QStringLiteral("把同一页存为 PDF 文件（Ctrl+Shift+P）"));
    auto *close = newButton(QStringLiteral("关闭"), QStringLiteral("HomeBpClose"), this);
    connect(print, &QPushButton::clicked, this, &HomeBpWindow::printRequested);
    connect(pdf, &QPushButton::clicked, this, &HomeBpWindow::pdfRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {print, pdf, close})
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(m_refusal);
    layout->addWidget(m_week);
    layout->addWidget(m_days, 1);
    for (QLabel *label : {m_means, m_verdict, m_shortfall, m_medicines, m_about})
        layout->addWidget(label);
    layout->addLayout(buttons);
    resize(820, 600);

    connect(m_firstDay, &QDateEdit::dateChanged, this, &HomeBpWindow::controlChanged);
    connect(m_leftOut, &QComboBox::currentIndexChanged, this, &HomeBpWindow::controlChanged);
    for (QTimeEdit *edit : {m_morningFrom, m_morningTo, m_eveningFrom, m_eveningTo})
        connect(edit, &QTimeEdit::timeChanged, this, &HomeBpWindow::controlChanged);
}

QTimeEdit *HomeBpWindow::timeEdit(const QString &name, const QString &accessibleName)
{
    auto *edit = new QTimeEdit(this);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("HH:mm"));
    edit->setAccessibleName(accessibleName);
    edit->setWrapping(true);
    return edit;
}

WeekChoice HomeBpWindow::choice() const
{
    WeekChoice choice;
    choice.first = m_firstDay->date();
    choice.daysLeftOut = m_leftOut->currentIndex();
    choice.windows = {{m_morningFrom->time(), m_morningTo->time()}, {m_eveningFrom->time(), m_eveningTo->time()}};
    return choice;
}

void HomeBpWindow::controlChanged()
{
    const std::optional<QString> refused = windowsRefusal(choice().windows);
    m_refusal->setText(refused.value_or(QString()));
    m_refusal->setVisible(refused.has_value());
    if (!refused)
        emit choiceChanged();
}

void HomeBpWindow::showWeek(const QString &userName, const HomeWeekSheet &sheet, const WeekChoice &choice)
{
    m_sheet = sheet;
    setWindowTitle(QStringLiteral("家庭血压报告 - %1").arg(userName));
    {
        const QSignalBlocker blockers[] = {QSignalBlocker(m_firstDay),    QSignalBlocker(m_leftOut),
                                           QSignalBlocker(m_morningFrom), QSignalBlocker(m_morningTo),
                                           QSignalBlocker(m_eveningFrom), QSignalBlocker(m_eveningTo)};
        m_firstDay->setDate(choice.first);
        m_leftOut->setCurrentIndex(choice.daysLeftOut);
        m_morningFrom->setTime(choice.windows.morning.from);
        m_morningTo->setTime(choice.windows.morning.to);
        m_eveningFrom->setTime(choice.windows.evening.from);
        m_eveningTo->setTime(choice.windows.evening.to);
    }
    m_week->setText(QStringLiteral("%1　监测周：%2").arg(userName, sheet.week));
    m_days->setHorizontalHeaderLabels(QStringList(sheet.titles.begin(), sheet.titles.end()));
    for (int d = 0; d < int(sheet.days.size()); ++d) {
        const HomeDayRow &day = sheet.days[size_t(d)];
        const QString date = day.counted ? day.date : day.date + QStringLiteral("\n不计入平均");
        m_days->setItem(d, 0, new QTableWidgetItem(date));
        for (int c = 0; c < SessionCount; ++c)
            m_days->setItem(d, c + 1, new QTableWidgetItem(day.readings[size_t(c)].join(u'\n')));
        for (int c = 0; c <= SessionCount; ++c)
            if (!day.counted)
                m_days->item(d, c)->setForeground(colours::Muted);
    }
    m_means->setText(sheet.means.join(u'\n'));
    m_verdict->setText(sheet.verdict);
    m_verdict->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; color: %1; }")
                                 .arg((sheet.above ? colours::MarkedInk : colours::Brand).name()));
    m_shortfall->setText(sheet.shortfall);
    m_shortfall->setVisible(!sheet.shortfall.isEmpty());
    m_medicines->setText(sheet.medicines);
    m_medicines->setVisible(!sheet.medicines.isEmpty());
    m_about->setText(sheet.about);
}

QString HomeBpWindow::medicinesText() const
{
    return m_medicines->text();
}

QString HomeBpWindow::meansText() const
{
    return m_means->text();
}

QString HomeBpWindow::verdictText() const
{
    return m_verdict->text();
}

QString HomeBpWindow::refusalText() const
{
    return m_refusal->isVisibleTo(this) ? m_refusal->text() : QString();
}

} // namespace velmora
