#include "ui/bp_reading_dialog.h"

#include "ui/form1.h"
#include "ui/key_filter.h"

#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace velmora {

namespace {

const QDateTime Earliest(QDate(1900, 1, 1), QTime(0, 0));

QDateTime toTheMinute(const QDateTime &when)
{
    return QDateTime(when.date(), QTime(when.time().hour(), when.time().minute()));
}

class Form : public QDialog
{
public:
    explicit Form(QWidget *parent) : QDialog(parent)
    {
        setObjectName(QStringLiteral("BpReadingDialog"));
        setWindowTitle(QStringLiteral("记录血压"));
        auto *layout = new QFormLayout(this);
        m_when = new QDateTimeEdit(this);
        m_when->setObjectName(QStringLiteral("BpTime"));
        m_when->setLocale(QLocale(QLocale::Chinese, QLocale::China));
        m_when->setDisplayFormat(QStringLiteral("yyyy年MM月dd日 HH:mm"));
        m_when->setCalendarPopup(true);
        addRow(layout, QStringLiteral("测量时间"), m_when);
        m_systolic = addRow(layout, QStringLiteral("收缩压（mmHg）"), numberBox(QStringLiteral("BpSystolic")));
        m_diastolic = addRow(layout, QStringLiteral("舒张压（mmHg）"), numberBox(QStringLiteral("BpDiastolic")));
        m_pulse = addRow(layout, QStringLiteral("脉搏（次/分，可不填）"), numberBox(QStringLiteral("BpPulse")));
        m_note = new QLineEdit(this);
        m_note->setObjectName(QStringLiteral("BpNote"));
        m_note->setMaxLength(100);
        addRow(layout, QStringLiteral("备注（可不填）"), m_note);
        m_stored = new QLabel(this);
        m_stored->setObjectName(QStringLiteral("BpStored"));
        layout->addRow(m_stored);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Close, this);
        layout->addRow(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] { m_offer(); });
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }

    void setOffer(std::function<void()> offer) { m_offer = std::move(offer); }

    Diary::TypedReading typed() const
    {
        return {m_when->dateTime(), m_systolic->text(), m_diastolic->text(), m_pulse->text(), m_note->text()};
    }

    // Ready for the next reading: empty boxes, the time now, and what was stored last.
    void startAgain(const QDateTime &now, const QString &stored)
    {
        const QDateTime minute = toTheMinute(now);
        m_when->setDateTimeRange(Earliest, minute);
        m_when->setDateTime(minute);
        for (QLineEdit *box : {m_systolic, m_diastolic, m_pulse, m_note})
            box->clear();
        m_stored->setText(stored);
        m_stored->setVisible(!stored.isEmpty());
        m_systolic->setFocus();
    }

private:
    FilteredLineEdit *numberBox(const QString &name)
    {
        auto *box = new FilteredLineEdit(KeyFilter::Integer, this);
        box->setObjectName(name);
        box->setMaxLength(3);
        return box;
    }
    template <typename T>
    T *addRow(QFormLayout *layout, const QString &caption, T *control)
    {
        control->setAccessibleName(caption);
        layout->addRow(caption, control);
        return control;
    }

    QDateTimeEdit *m_when = nullptr;
    QLineEdit *m_systolic = nullptr;
    QLineEdit *m_diastolic = nullptr;
    QLineEdit *m_pulse = nullptr;
    QLineEdit *m_note = nullptr;
    QLabel *m_stored = nullptr;
    std::function<void()> m_offer;
};

} // namespace

QString storedReadingText(const Diary::TypedReading &typed, const QDate &today)
{
    const QString format = typed.when.date() == today ? QStringLiteral("HH:mm") : QStringLiteral("MM月dd日 HH:mm");
    QString text = QStringLiteral("已存储 %1 %2 mmHg")
                       .arg(typed.when.toString(format),
                            bpText(typed.systolic.trimmed().toInt(), typed.diastolic.trimmed().toInt()));
    if (!typed.pulse.trimmed().isEmpty())
        text += QStringLiteral("，脉搏 %1").arg(typed.pulse.trimmed().toInt());
    return text;
}

void QtBpReadingDialog::ask(const Clock &clock, const Store &store)
{
    Form form(m_parent);
    form.startAgain(clock(), QString());
    form.setOffer([&] {
        const Diary::TypedReading typed = form.typed();
        if (store(typed)) {
            const QDateTime now = clock();
            form.startAgain(now, storedReadingText(typed, now.date()));
        }
    });
    form.exec();
}

void recordBloodPressure(Form1 &window, BpReadingDialog &dialog)
{
    if (window.diary().refuseWithoutUser())
        return;
    dialog.ask([&window] { return window.diary().now(); }, [&window](const Diary::TypedReading &typed) {
        return window.changeDiary([&](Diary &diary, ChartStyle) { return diary.recordBloodPressure(typed); }).saved();
    });
}

} // namespace velmora
