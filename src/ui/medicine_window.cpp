#include "ui/medicine_window.h"

#include "diary/diary.h"
#include "diary/messages.h"
#include "medicines/common_names.h"
#include "medicines/medicine_csv.h"
#include "medicines/medicine_effect.h"
#include "medicines/medicine_plan.h"
#include "medicines/medicine_report.h"
#include "ui/form1.h"
#include "ui/medicine_dialog.h"
#include "widgets/export_file.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace velmora {

namespace {

const QString MinuteFormat = QStringLiteral("yyyy-MM-dd HH:mm");
constexpr int EventIndexRole = Qt::UserRole;

QTableWidget *newTable(const QString &name, const QString &accessibleName, const QStringList &titles)
{
    auto *table = new QTableWidget(0, int(titles.size()));
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->setHorizontalHeaderLabels(titles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void setRow(QTableWidget &table, int row, const QStringList &cells)
{
    for (int c = 0; c < cells.size(); ++c)
        table.setItem(row, c, new QTableWidgetItem(cells[c]));
}

QString minuteText(ClockStamp stamp)
{
    return stampDateTime(stamp).toString(MinuteFormat);
}

// The person's own names, latest first, then the common ones not among them.
QStringList namesToOffer(const MedicineFile &file)
{
    QStringList names;
    for (auto e = file.entries.rbegin(); e != file.entries.rend(); ++e)
        if (std::none_of(names.begin(), names.end(), [&](const QString &n) { return sameMedicine(n, e->name); }))
            names << e->name;
    for (const QString &common : commonMedicineNames())
        if (std::none_of(names.begin(), names.end(), [&](const QString &n) { return sameMedicine(n, common); }))
            names << common;
    return names;
}

QPushButton *newButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

MedicineWindow::MedicineWindow(Form1 &window, MedicineDialog &dialog, FileDialogs &files, MessageBoxes &messages)
    : QDialog(&window), m_window(window), m_dialog(dialog), m_files(files), m_messages(messages)
{
    setObjectName(QStringLiteral("MedicineWindow"));
    m_planCaption = new QLabel;
    m_planCaption->setObjectName(QStringLiteral("MedicinePlanCaption"));
    m_plan = newTable(QStringLiteral("MedicinePlan"), QStringLiteral("正在服用"),
                      {QStringLiteral("药名"), QStringLiteral("剂量"), QStringLiteral("用法"),
                       QStringLiteral("开始服用"), QStringLiteral("本剂量自")});
    m_history = newTable(QStringLiteral("MedicineHistory"), QStringLiteral("全部记录"),
                         {QStringLiteral("时间"), QStringLiteral("事件"), QStringLiteral("药名"), QStringLiteral("剂量"),
                          QStringLiteral("用法"), QStringLiteral("备注"), QStringLiteral("前后血压")});
    auto *about = new QLabel(medicineEffectAbout());
    about->setObjectName(QStringLiteral("MedicineEffectAbout"));
    about->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    const std::initializer_list<std::tuple<QString, QString, void (MedicineWindow::*)()>> actions = {
        {QStringLiteral("开始服用(&S)…"), QStringLiteral("StartMedicine"), &MedicineWindow::startMedicine},
        {QStringLiteral("调整(&A)…"), QStringLiteral("AdjustMedicine"), &MedicineWindow::adjustMedicine},
        {QStringLiteral("停用(&T)…"), QStringLiteral("StopMedicine"), &MedicineWindow::stopMedicine},
        {QStringLiteral("单次服用(&O)…"), QStringLiteral("SingleMedicine"), &MedicineWindow::takeSingle},
        {QStringLiteral("删除此条(&D)…"), QStringLiteral("DeleteMedicineEvent"), &MedicineWindow::deleteSelected},
        {QStringLiteral("导出用药记录(&E)…"), QStringLiteral("ExportMedicines"), &MedicineWindow::exportHistory},
    };
    for (const auto &[text, name, slot] : actions) {
        QPushButton *button = newButton(text, name, this);
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    QPushButton *close = newButton(QStringLiteral("关闭(&C)"), QStringLiteral("CloseMedicines"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(close);
    auto *undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
    connect(undo, &QShortcut::activated, this, &MedicineWindow::undoLastChange);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_planCaption);
    layout->addWidget(m_plan, 2);
    layout->addWidget(new QLabel(QStringLiteral("全部记录（最新的在前）")));
    layout->addWidget(m_history, 4);
    layout->addWidget(about);
    layout->addLayout(buttons);
    resize(900, 600);
    refresh();
}

void MedicineWindow::refresh()
{
    const Diary &diary = m_window.diary();
    const QString user = diary.currentUser();
    setWindowTitle(QStringLiteral("用药记录 - %1").arg(user));
    const MedicineFile *file = diary.medicines(user);
    m_shown = file ? *file : MedicineFile{};
    const std::vector<PlanEntry> plan = planAt(m_shown.entries);
    m_planCaption->setText(plan.empty() ? QStringLiteral("正在服用：无") : QStringLiteral("正在服用："));
    m_plan->setRowCount(int(plan.size()));
    for (int r = 0; r < int(plan.size()); ++r) {
        const PlanEntry &p = plan[size_t(r)];
        setRow(*m_plan, r, {p.last.name, p.last.dose, p.last.frequency, minuteText(p.started), minuteText(p.last.stamp)});
    }
    const std::vector<BpReading> readings = diary.bloodPressureReadings(user);
    // Newest first; of equal times the later in the file first.
    std::vector<size_t> order(m_shown.entries.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return m_shown.entries[a].stamp > m_shown.entries[b].stamp || (m_shown.entries[a].stamp == m_shown.entries[b].stamp && a > b);
    });
    m_history->setRowCount(int(order.size()));
    for (int r = 0; r < int(order.size()); ++r) {
        const MedicineEvent &e = m_shown.entries[order[size_t(r)]];
        const QString effect = changesPlan(e.action) ? effectText(changeEffect(readings, stampDate(e.stamp))) : QString();
        setRow(*m_history, r, {minuteText(e.stamp), actionWord(e.action), e.name, e.dose, e.frequency, e.note, effect});
        m_history->item(r, 0)->setData(EventIndexRole, qulonglong(order[size_t(r)]));
    }
    for (QTableWidget *table : {m_plan, m_history})
        table->resizeColumnsToContents();
}

void MedicineWindow::ask(MedicineAction action)
{
    Diary::TypedMedicine initial;
    initial.when = m_window.diary().now();
    initial.action = action;
    QStringList names;
    if (changesPlan(action) && action != MedicineAction::Start) {
        const std::vector<PlanEntry> plan = planAt(m_shown.entries);
        if (plan.empty()) {
            m_messages.inform(messages::NothingTaken);
            return;
        }
        for (const PlanEntry &p : plan)
            names << p.last.name;
        const QString picked = pickedName();
        const auto chosen = std::find_if(plan.begin(), plan.end(), [&](const PlanEntry &p) { return sameMedicine(p.last.name, picked); });
        const PlanEntry &entry = chosen == plan.end() ? plan.front() : *chosen;
        initial.name = entry.last.name;
        if (action == MedicineAction::Adjust)
            initial.frequency = entry.last.frequency;
    } else {
        names = namesToOffer(m_shown);
    }
    m_dialog.ask({initial, names}, [this](const Diary::TypedMedicine &typed) {
        return m_window.changeDiary([&](Diary &diary, ChartStyle) { return diary.recordMedicine(typed); }).saved();
    });
    refresh();
}

void MedicineWindow::startMedicine()
{
    ask(MedicineAction::Start);
}

void MedicineWindow::adjustMedicine()
{
    ask(MedicineAction::Adjust);
}

void MedicineWindow::stopMedicine()
{
    ask(MedicineAction::Stop);
}

void MedicineWindow::takeSingle()
{
    ask(MedicineAction::Single);
}

void MedicineWindow::deleteSelected()
{
    const int row = m_history->currentRow();
    if (row < 0 || !m_history->item(row, 0)) {
        m_messages.inform(messages::ChooseMedicineEvent);
        return;
    }
    const size_t index = m_history->item(row, 0)->data(EventIndexRole).toULongLong();
    const MedicineEvent shown = m_shown.entries[index];
    m_window.changeDiary([&](Diary &diary, ChartStyle) { return diary.deleteMedicineEvent(index, shown); });
    refresh();
}

void MedicineWindow::exportHistory()
{
    exportMedicineHistory(m_window.diary(), m_files, m_messages);
}

void MedicineWindow::undoLastChange()
{
    m_window.changeDiary([](Diary &diary, ChartStyle style) { return diary.undoLastChange(style); });
    refresh();
}

QString MedicineWindow::pickedName() const
{
    if (m_plan->currentRow() >= 0 && m_plan->item(m_plan->currentRow(), 0))
        return m_plan->item(m_plan->currentRow(), 0)->text();
    if (m_history->currentRow() >= 0 && m_history->item(m_history->currentRow(), 2))
        return m_history->item(m_history->currentRow(), 2)->text();
    return QString();
}

void exportMedicineHistory(const Diary &diary, FileDialogs &files, MessageBoxes &messages)
{
    if (diary.refuseWithoutUser())
        return;
    const QString user = diary.currentUser();
    const MedicineFile *file = diary.medicines(user);
    if (!file)
        return;
    if (file->entries.empty()) {
        messages.inform(messages::NoMedicinesToExport);
        return;
    }
    const QString suggested =
        QStringLiteral("%1-用药记录-%2.csv").arg(user, diary.now().toString(QStringLiteral("yyyyMMdd")));
    exportFile(files, messages,
               {QStringLiteral("导出用药记录"), suggested, QStringLiteral("CSV 表格 (*.csv)"), diary.folder().folder()},
               medicinesCsv(file->entries));
}

} // namespace velmora
