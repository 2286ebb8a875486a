#pragma once

// The dialogs of 导入血压读数…: the columns of an unknown table (its first
// rows shown), the progress of reading the phone's export with 取消, and the
// summary with 导入 / 重新选择列… / 取消. Modal, Chinese, and usable from the
// keyboard (each choice has its Alt key; Enter takes the default button).

#include "diary/import_dialogs.h"

#include <memory>

class QProgressDialog;
class QWidget;

namespace velmora {

class QtReadingsImportDialogs : public ReadingsImportDialogs
{
public:
    explicit QtReadingsImportDialogs(QWidget *parent = nullptr);
    ~QtReadingsImportDialogs() override;

    std::optional<ColumnChoice> chooseColumns(const ColumnQuestion &question) override;
    bool progress(qint64 done, qint64 total) override;
    void endProgress() override;
    Answer confirm(const QString &summary, bool canImport, bool canChooseColumns) override;

private:
    QWidget *m_parent;
    std::unique_ptr<QProgressDialog> m_progress;
};

} // namespace velmora
