#include "ui/readings_import_dialogs.h"

#include "imports/column_memory.h"
#include "ui/screen_reader.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora {

namespace {

const QString Title = QStringLiteral("导入血压读数");
constexpr int ProgressSteps = 1000;

QString columnName(const QStringList &headings, int column)
{
    const QString heading = headings.value(column).trimmed();
    return heading.isEmpty() ? QStringLiteral("第 %1 列").arg(column + 1)
                             : QStringLiteral("第 %1 列：%2").arg(column + 1).arg(heading);
}

// The table's first rows, read only, under its headings.
QTableWidget *previewTable(const ColumnQuestion &question, QWidget *parent)
{
    qsizetype width = question.headings.size();
    for (const QStringList &row : question.rows)
        width = std::max(width, row.size());
    auto *table = new QTableWidget(int(question.rows.size()), int(width), parent);
    table->setObjectName(QStringLiteral("ColumnPreview"));
    table->setAccessibleName(QStringLiteral("表格的前几行"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    for (int c = 0; c < width; ++c)
        table->setHorizontalHeaderItem(c, new QTableWidgetItem(columnName(question.headings, c)));
    for (size_t r = 0; r < question.rows.size(); ++r)
        for (int c = 0; c < question.rows[r].size(); ++c)
            table->setItem(int(r), c, new QTableWidgetItem(question.rows[r][c]));
    table->resizeColumnsToContents();
    table->setMinimumHeight(table->horizontalHeader()->height() + 5 * table->verticalHeader()->defaultSectionSize());
    return table;
}

class ColumnForm : public QDialog
{
public:
    ColumnForm(QWidget *parent, const ColumnQuestion &question) : QDialog(parent), m_headings(question.headings)
    {
        setObjectName(QStringLiteral("ColumnDialog"));
        setWindowTitle(QStringLiteral("选择血压读数的列"));
        auto *layout = new QVBoxLayout(this);
        auto *why = new QLabel(question.why + QStringLiteral("\n下次导入列标题相同的表格时，会沿用这次的选择。"), this);
        why->setWordWrap(true);
        layout->addWidget(why);
        layout->addWidget(previewTable(question, this));
        auto *form = new QFormLayout;
        const ColumnChoice &s = question.suggested;
        m_date = columnBox(form, QStringLiteral("日期（或日期和时间）"), 'D', QStringLiteral("（请选择）"), s.date, "ColumnDate");
        m_time = columnBox(form, QStringLiteral("时间"), 'T', QStringLiteral("（日期列中已含时间）"), s.time, "ColumnTime");
        m_systolic = columnBox(form, QStringLiteral("收缩压"), 'S', QStringLiteral("（请选择）"), s.systolic, "ColumnSystolic");
        m_diastolic = columnBox(form, QStringLiteral("舒张压"), 'I', QStringLiteral("（请选择）"), s.diastolic, "ColumnDiastolic");
        m_pulse = columnBox(form, QStringLiteral("脉搏"), 'P', QStringLiteral("（无）"), s.pulse, "ColumnPulse");
        m_order = new QComboBox(this);
        m_order->setObjectName(QStringLiteral("ColumnDateOrder"));
        for (DateOrder order : {DateOrder::YearMonthDay, DateOrder::DayMonthYear, DateOrder::MonthDayYear})
            m_order->addItem(dateOrderText(order), int(order));
        m_order->setCurrentIndex(int(s.order));
        addRow(form, QStringLiteral("日期顺序"), 'O', m_order);
        layout->addLayout(form);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        m_ok = buttons->button(QDialogButtonBox::Ok);
        m_ok->setText(QStringLiteral("确定"));
        buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        for (QComboBox *box : {m_date, m_systolic, m_diastolic})
            connect(box, &QComboBox::currentIndexChanged, this, [this] { m_ok->setEnabled(choice().isComplete()); });
        m_ok->setEnabled(choice().isComplete());
        m_date->setFocus();
        resize(std::max(width(), 640), height());
    }

    ColumnChoice choice() const
    {
        // The first item of each list stands for no column.
        return {m_date->currentIndex() - 1, m_time->currentIndex() - 1,  m_systolic->currentIndex() - 1,
                m_diastolic->currentIndex() - 1, m_pulse->currentIndex() - 1, DateOrder(m_order->currentData().toInt())};
    }

private:
    // A row "日期顺序(O)": Alt+O goes to its list, which a screen reader names "日期顺序".
    void addRow(QFormLayout *form, const QString &caption, char key, QComboBox *box)
    {
        auto *label = new QLabel(QStringLiteral("%1(&%2)").arg(caption).arg(QChar::fromLatin1(key)), this);
        label->setBuddy(box);
        box->setAccessibleName(caption);
        nameDropDownParts(*box);
        form->addRow(label, box);
    }

    QComboBox *columnBox(QFormLayout *form, const QString &caption, char key, const QString &none, int chosen,
                         const char *name)
    {
        auto *box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->addItem(none);
        for (qsizetype c = 0; c < m_headings.size(); ++c)
            box->addItem(columnName(m_headings, int(c)));
        box->setCurrentIndex(chosen + 1);
        addRow(form, caption, key, box);
        return box;
    }

    QStringList m_headings;
    QComboBox *m_date, *m_time, *m_systolic, *m_diastolic, *m_pulse, *m_order;
    QPushButton *m_ok;
};

} // namespace

QtReadingsImportDialogs::QtReadingsImportDialogs(QWidget *parent)
    : m_parent(parent)
{
}

QtReadingsImportDialogs::~QtReadingsImportDialogs() = default;

std::optional<ColumnChoice> QtReadingsImportDialogs::chooseColumns(const ColumnQuestion &question)
{
    ColumnForm form(m_parent, question);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.choice();
}

bool QtReadingsImportDialogs::progress(qint64 done, qint64 total)
{
    if (!m_progress) {
        m_progress = std::make_unique<QProgressDialog>(QStringLiteral("正在读取手机健康导出…"), QStringLiteral("取消"), 0,
                                                       ProgressSteps, m_parent);
        m_progress->setObjectName(QStringLiteral("ImportProgress"));
        m_progress->setWindowTitle(Title);
        m_progress->setAccessibleName(QStringLiteral("正在读取手机健康导出"));
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        m_progress->setMinimumDuration(300);
    }
    m_progress->setValue(int(total > 0 ? done * ProgressSteps / total : 0));
    return !m_progress->wasCanceled();
}

void QtReadingsImportDialogs::endProgress()
{
    m_progress.reset();
}

ReadingsImportDialogs::Answer QtReadingsImportDialogs::confirm(const QString &summary, bool canImport,
                                                               bool canChooseColumns)
{
    QDialog form(m_parent);
    form.setObjectName(QStringLiteral("ImportSummaryDialog"));
    form.setWindowTitle(Title);
    auto *layout = new QVBoxLayout(&form);
    auto *text = new QPlainTextEdit(summary, &form);
    text->setObjectName(QStringLiteral("ImportSummary"));
    text->setAccessibleName(QStringLiteral("导入摘要"));
    text->setReadOnly(true);
    text->setTabChangesFocus(true);
    text->setMinimumSize(520, 220);
    layout->addWidget(text);
    auto *buttons = new QDialogButtonBox(&form);
    Answer answer = Answer::Cancel;
    const auto add = [&](const QString &caption, const char *name, Answer given, QDialogButtonBox::ButtonRole role) {
        QPushButton *button = buttons->addButton(caption, role);
        button->setObjectName(QString::fromLatin1(name));
        QObject::connect(button, &QPushButton::clicked, &form, [&form, &answer, given] {
            answer = given;
            form.done(given == Answer::Cancel ? QDialog::Rejected : QDialog::Accepted);
        });
        return button;
    };
    QPushButton *import = canImport ? add(QStringLiteral("导入(&I)"), "ImportButton", Answer::Import,
                                          QDialogButtonBox::AcceptRole)
                                    : nullptr;
    if (canChooseColumns)
        add(QStringLiteral("重新选择列(&C)…"), "ChooseColumnsButton", Answer::ChooseColumns, QDialogButtonBox::ActionRole);
    QPushButton *cancel = add(QStringLiteral("取消"), "CancelButton", Answer::Cancel, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    QPushButton *first = import ? import : cancel;
    first->setDefault(true);
    first->setFocus();
    form.exec();
    return answer;
}

} // namespace velmora
