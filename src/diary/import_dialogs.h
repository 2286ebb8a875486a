#pragma once

// What an import of readings asks of the person while it runs: the columns
// of a table the program does not know, patience while a long file is read,
// and the last word on what the summary says. The window answers with
// dialogs; tests with a script.

#include "imports/table_readings.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora {

// A table whose columns are to be chosen: why, its first rows, and what the
// program makes of them so far.
struct ColumnQuestion
{
    QString why;
    QStringList headings;
    std::vector<QStringList> rows;
    ColumnChoice suggested;
};

class ReadingsImportDialogs
{
public:
    enum class Answer { Import, ChooseColumns, Cancel };

    virtual ~ReadingsImportDialogs() = default;
    // The columns chosen, or nothing when the person cancelled.
    virtual std::optional<ColumnChoice> chooseColumns(const ColumnQuestion &question) = 0;
    // How far the reading of a long file has come; false when the person cancelled.
    virtual bool progress(qint64 done, qint64 total) = 0;
    // The reading has ended (read, refused or cancelled).
    virtual void endProgress() = 0;
    // The summary with 导入 (when there is something to import) and 取消,
    // and, for a table, a way back to its columns.
    virtual Answer confirm(const QString &summary, bool canImport, bool canChooseColumns) = 0;
};

} // namespace velmora
