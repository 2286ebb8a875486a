#include "ui/past_record_dialog.h"

#include "records/record_columns.h"
#include "ui/controls.h"
#include "ui/key_filter.h"
#include "ui/screen_reader.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

#include <map>

namespace velmora {

namespace {

const QDateTime Earliest(QDate(1900, 1, 1), QTime(0, 0));

// A list-only combo as in the window's entry row.
QComboBox *listCombo(QWidget *parent, const QStringList &items, const QString &initial)
{
    auto *combo = new SongTiCombo(KeyFilter::ListOnly, parent);
    combo->addItems(items);
    combo->setEditText(initial);
    return combo;
}

QString rowCaption(const RecordColumn &column)
{
    return column.unitText().isEmpty() ? column.titleText()
                                       : QStringLiteral("%1（%2）").arg(column.titleText(), column.unitText());
}

class Form : public QDialog
{
public:
    Form(QWidget *parent, const QDateTime &now) : QDialog(parent)
    {
        setObjectName(QStringLiteral("PastRecordDialog"));
        setWindowTitle(QStringLiteral("补录历史记录"));
        auto *layout = new QFormLayout(this);
        m_when = new QDateTimeEdit(now, this);
        m_when->setObjectName(QStringLiteral("PastRecordTime"));
        m_when->setLocale(QLocale(QLocale::Chinese, QLocale::China));
        m_when->setDisplayFormat(QStringLiteral("yyyy年MM月dd日 HH:mm:ss"));
        m_when->setDateTimeRange(Earliest, now);
        m_when->setCalendarPopup(true);
        layout->addRow(QStringLiteral("测量时间"), m_when);
        // The values in the order of the window's entry row.
        for (size_t i = 1; i < RecordColumns.size(); ++i) {
            QWidget *control = field(RecordColumns[i].field);
            control->setAccessibleName(rowCaption(RecordColumns[i]));
            layout->addRow(control->accessibleName(), control);
        }
        for (QComboBox *combo : {m_sex, m_heredity})
            nameDropDownParts(*combo); // as their rows, for screen readers
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        layout->addRow(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] { m_offer(); });
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }

    void setOffer(std::function<void()> offer) { m_offer = std::move(offer); }
    QDateTime when() const { return m_when->dateTime(); }

    EntryTexts texts() const
    {
        EntryTexts texts;
        texts.sex = m_sex->currentText();
        for (const auto &[box, edit] : m_boxes)
            texts.box(box) = edit->text();
        texts.heredity = m_heredity->currentText();
        return texts;
    }

private:
    QWidget *field(Field field)
    {
        QWidget *control = nullptr;
        if (field == SexField) {
            control = m_sex = listCombo(this, {QStringLiteral("男"), QStringLiteral("女")}, QStringLiteral("男"));
        } else if (field == HeredityField) {
            control = m_heredity = listCombo(this, {QStringLiteral("有"), QStringLiteral("无")}, QStringLiteral("无"));
        } else {
            // Box n holds field n, as Text2 .. Text12 do.
            auto *edit = new FilteredLineEdit(field == AgeField ? KeyFilter::Integer : KeyFilter::Decimal, this);
            m_boxes[int(field)] = edit;
            control = edit;
        }
        control->setObjectName(QStringLiteral("PastRecordField%1").arg(int(field)));
        return control;
    }

    QDateTimeEdit *m_when = nullptr;
    QComboBox *m_sex = nullptr;
    QComboBox *m_heredity = nullptr;
    std::map<int, FilteredLineEdit *> m_boxes;
    std::function<void()> m_offer;
};

} // namespace

void QtPastRecordDialog::ask(const QDateTime &now, const Store &store)
{
    Form form(m_parent, now);
    form.setOffer([&] {
        if (store(form.when(), form.texts()))
            form.accept();
    });
    form.exec();
}

} // namespace velmora
