#include "ui/medicine_dialog.h"

#include "ui/controls.h"

#include <QComboBox>
#include <QCompleter>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmora {

namespace {

const QString MinuteFormat = QStringLiteral("yyyy年MM月dd日 HH:mm");

QLineEdit *textBox(QWidget *parent, const QString &name, const QString &text, const QString &example)
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setPlaceholderText(example);
    return box;
}

class Form : public QDialog
{
public:
    Form(QWidget *parent, const MedicineDialog::Offer &offer) : QDialog(parent), m_offer(offer)
    {
        const MedicineAction action = offer.initial.action;
        setObjectName(QStringLiteral("MedicineDialog"));
        setWindowTitle(medicineDialogTitle(action));
        auto *layout = new QFormLayout(this);
        m_when = new QDateTimeEdit(offer.initial.when, this);
        m_when->setObjectName(QStringLiteral("MedicineTime"));
        m_when->setLocale(QLocale(QLocale::Chinese, QLocale::China));
        m_when->setDisplayFormat(MinuteFormat);
        m_when->setDateTimeRange(QDateTime(QDate(1900, 1, 1), QTime(0, 0)), offer.initial.when);
        m_when->setCalendarPopup(true);
        layout->addRow(QStringLiteral("时间"), m_when);
        m_name = new DialogCombo(this);
        m_name->setObjectName(QStringLiteral("MedicineName"));
        m_name->setEditable(true);
        m_name->setInsertPolicy(QComboBox::NoInsert);
        m_name->addItems(offer.names);
        // The index follows the text: Enter would otherwise put the current item's text back.
        m_name->setCurrentIndex(m_name->findText(offer.initial.name));
        m_name->setEditText(offer.initial.name);
        m_name->completer()->setCaseSensitivity(Qt::CaseInsensitive);
        m_name->lineEdit()->setPlaceholderText(QStringLiteral("从列表中选择或直接输入通用名"));
        layout->addRow(QStringLiteral("药名"), m_name);
        if (action != MedicineAction::Stop) {
            m_dose = textBox(this, QStringLiteral("MedicineDose"), offer.initial.dose, QStringLiteral("如：5 mg、半片"));
            layout->addRow(action == MedicineAction::Adjust ? QStringLiteral("新剂量") : QStringLiteral("剂量"), m_dose);
        }
        if (action == MedicineAction::Start || action == MedicineAction::Adjust) {
            m_frequency = textBox(this, QStringLiteral("MedicineFrequency"), offer.initial.frequency,
                                  QStringLiteral("如：每日1次"));
            layout->addRow(QStringLiteral("用法"), m_frequency);
        }
        m_note = textBox(this, QStringLiteral("MedicineNote"), offer.initial.note, QString());
        layout->addRow(QStringLiteral("备注"), m_note);
        for (int row = 0; row < layout->rowCount(); ++row)
            if (QLayoutItem *field = layout->itemAt(row, QFormLayout::FieldRole); field && field->widget())
                if (auto *label = qobject_cast<QLabel *>(layout->labelForField(field->widget())))
                    field->widget()->setAccessibleName(label->text());
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
        buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
        layout->addRow(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] { m_store(typed()); });
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        m_name->setFocus();
        setMinimumWidth(360);
    }

    void setStore(std::function<void(const Diary::TypedMedicine &)> store) { m_store = std::move(store); }

private:
    Diary::TypedMedicine typed() const
    {
        Diary::TypedMedicine typed = m_offer.initial;
        QDateTime when = m_when->dateTime();
        // Changed by the person: from the start of the minute chosen.
        if (when.toString(MinuteFormat) != m_offer.initial.when.toString(MinuteFormat))
            when.setTime(QTime(when.time().hour(), when.time().minute()));
        typed.when = when;
        typed.name = m_name->currentText();
        typed.dose = m_dose ? m_dose->text() : QString();
        typed.frequency = m_frequency ? m_frequency->text() : QString();
        typed.note = m_note->text();
        return typed;
    }

    MedicineDialog::Offer m_offer;
    QDateTimeEdit *m_when = nullptr;
    QComboBox *m_name = nullptr;
    QLineEdit *m_dose = nullptr;
    QLineEdit *m_frequency = nullptr;
    QLineEdit *m_note = nullptr;
    std::function<void(const Diary::TypedMedicine &)> m_store;
};

} // namespace

QString medicineDialogTitle(MedicineAction action)
{
    switch (action) {
    case MedicineAction::Start:
        return QStringLiteral("开始服用");
    case MedicineAction::Adjust:
        return QStringLiteral("调整用药");
    case MedicineAction::Stop:
        return QStringLiteral("停用");
    case MedicineAction::Single:
        break;
    }
    return QStringLiteral("单次服用");
}

void QtMedicineDialog::ask(const Offer &offer, const Store &store)
{
    Form form(m_parent, offer);
    form.setStore([&](const Diary::TypedMedicine &typed) {
        if (store(typed))
            form.accept();
    });
    form.exec();
}

} // namespace velmora
