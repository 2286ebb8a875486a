#include "ui/restore_dialogs.h"

#include "widgets/file_dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr int DialogWidth = 560;

QLabel *wrappedLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QTreeWidget *backupList(const std::vector<BackupListing> &automatic, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("AutomaticBackups"));
    list->setAccessibleName(QStringLiteral("自动备份"));
    list->setHeaderLabels({QStringLiteral("备份时间"), QStringLiteral("用户与记录")});
    list->setRootIsDecorated(false);
    list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    for (const BackupListing &backup : automatic) {
        QString made = backup.made.isValid() ? backup.made.toString(QStringLiteral("yyyy年MM月dd日 HH:mm"))
                                             : QStringLiteral("无法读取");
        if (QFileInfo(backup.path).completeBaseName().contains(QStringLiteral("-恢复前")))
            made += QStringLiteral("（恢复前）");
        auto *item = new QTreeWidgetItem(list, {made, backup.contents});
        item->setData(0, Qt::UserRole, backup.path);
        item->setToolTip(1, backup.contents);
        if (!backup.made.isValid())
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
    if (automatic.empty())
        new QTreeWidgetItem(list, {QStringLiteral("还没有自动备份"), QString()});
    list->setCurrentItem(list->topLevelItem(0));
    list->setMinimumHeight(160);
    return list;
}

} // namespace

QString QtBackupChooser::choose(const std::vector<BackupListing> &automatic)
{
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("BackupChooser"));
    dialog.setWindowTitle(QStringLiteral("恢复备份"));
    dialog.setMinimumWidth(DialogWidth);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(wrappedLabel(QStringLiteral("程序每天自动备份日记，保存在程序文件夹的“备份”中。选择要恢复的备份："), &dialog));
    QTreeWidget *list = backupList(automatic, &dialog);
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *restore = buttons->addButton(QStringLiteral("恢复所选备份…"), QDialogButtonBox::AcceptRole);
    QPushButton *other = buttons->addButton(QStringLiteral("选择其他备份文件…"), QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    restore->setDefault(!automatic.empty());
    restore->setEnabled(!automatic.empty());
    other->setDefault(automatic.empty());
    layout->addWidget(buttons);
    QString chosen;
    const auto takeSelected = [&] {
        if (const QTreeWidgetItem *item = list->currentItem(); item && !item->data(0, Qt::UserRole).isNull()) {
            chosen = item->data(0, Qt::UserRole).toString();
            dialog.accept();
        }
    };
    QObject::connect(restore, &QPushButton::clicked, &dialog, takeSelected);
    QObject::connect(list, &QTreeWidget::itemActivated, &dialog, takeSelected);
    other->setToolTip(QStringLiteral("任何文件夹中的备份 ZIP 文件（Ctrl+O）"));
    QObject::connect(new QShortcut(QKeySequence::Open, &dialog), &QShortcut::activated, other, &QPushButton::click);
    QObject::connect(other, &QPushButton::clicked, &dialog, [&] {
        chosen = m_files.openFileName(QStringLiteral("选择备份文件"), QStringLiteral("ZIP 压缩文件 (*.zip)"));
        if (!chosen.isEmpty())
            dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return dialog.exec() == QDialog::Accepted ? chosen : QString();
}

std::optional<RestoreRequest> QtRestoreChoice::choose(const QString &summary, const QStringList &users,
                                                      bool wholeDiaryOffered)
{
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("RestoreChoice"));
    dialog.setWindowTitle(QStringLiteral("恢复备份"));
    dialog.setMinimumWidth(DialogWidth);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(wrappedLabel(summary, &dialog));
    auto *whole = new QRadioButton(QStringLiteral("用备份替换整个日记（当前日记中备份没有的用户和记录将被移除）"), &dialog);
    auto *chosen = new QRadioButton(QStringLiteral("只恢复选中的用户（已有的记录保留，补上缺少的）"), &dialog);
    whole->setObjectName(QStringLiteral("RestoreWholeDiary"));
    chosen->setObjectName(QStringLiteral("RestoreChosenUsers"));
    whole->setEnabled(wholeDiaryOffered);
    (wholeDiaryOffered ? whole : chosen)->setChecked(true);
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("RestoreUsers"));
    list->setAccessibleName(QStringLiteral("要恢复的用户"));
    for (const QString &user : users) {
        auto *item = new QListWidgetItem(user, list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    list->setCurrentRow(0);
    list->setEnabled(chosen->isChecked());
    list->setMaximumHeight(list->sizeHintForRow(0) * int(std::min<qsizetype>(users.size() + 1, 8)) + 2 * list->frameWidth());
    QObject::connect(chosen, &QRadioButton::toggled, list, &QWidget::setEnabled);
    for (QWidget *widget : std::initializer_list<QWidget *>{whole, chosen, list})
        layout->addWidget(widget);
    auto *buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("恢复"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    (wholeDiaryOffered ? static_cast<QWidget *>(whole) : list)->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    RestoreRequest request{whole->isChecked(), {}};
    for (int i = 0; i < list->count(); ++i)
        if (!request.wholeDiary && list->item(i)->checkState() == Qt::Checked)
            request.users << list->item(i)->text();
    return request;
}

} // namespace velmora
