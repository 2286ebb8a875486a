#include "reports/export_files.h"

#include "diary/seams.h"
#include "records/data_folder.h"
#include "reports/print_dialog.h"
#include "widgets/export_file.h"
#include "widgets/file_dialogs.h"

#include <QApplication>
#include <QDate>
#include <QPrinter>
#include <QTemporaryDir>

namespace velmora {

FileResult writePdfFile(const QString &path, QPrinter &printer, const PagePrinter &print)
{
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return FileResult::failure(scratch.errorString());
    const QString printed = scratch.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed);
    const bool done = print(printer);
    printer.setOutputFileName(path); // as the caller chose it
    if (!done)
        return FileResult::failure(QStringLiteral("the PDF could not be written"));
    QString error;
    const std::optional<QByteArray> bytes = readWholeFile(printed, &error);
    if (!bytes)
        return FileResult::failure(error);
    return saveFile(path, [&](QIODevice &device) { return writeAll(device, *bytes); }, {},
                    NewFileAccess::AsAnyNewFile); // made to be handed on
}

QString exportFileName(const QString &user, const QString &what, const QDate &day, const QString &suffix)
{
    return QStringLiteral("%1-%2-%3.%4").arg(user, what, day.toString(QStringLiteral("yyyyMMdd")), suffix);
}

Exports::Exports(const DataFolder &folder, FileDialogs &dialogs, PrintDialog &printing, MessageBoxes &messages)
    : m_folder(folder), m_dialogs(dialogs), m_printing(printing), m_messages(messages)
{
}

bool Exports::refuseDataFile(const QString &path)
{
    if (!isProgramDataFile(path, m_folder.folder()))
        return false;
    m_messages.inform(messages::NotOverDataFile);
    return true;
}

QString Exports::chooseTarget(const QString &caption, const QString &suggestedName, const QString &filter)
{
    const QString path = m_dialogs.saveFileName(caption, suggestedName, filter);
    if (path.isEmpty() || refuseDataFile(path))
        return QString();
    return path;
}

void Exports::save(const QString &path, const QByteArray &bytes)
{
    FileResult saved;
    {
        BusyCursor busy;
        // An export is made to be handed on: a new file gets the permissions any new file gets.
        saved = saveFile(path, [&](QIODevice &device) { return writeAll(device, bytes); }, {},
                         NewFileAccess::AsAnyNewFile);
    }
    tellIfFailed(saved);
}

void Exports::tellIfFailed(const FileResult &saved)
{
    if (!saved)
        m_messages.inform(messages::exportFailed(saved.error));
}

void Exports::print(QPrinter &printer, int pageCount, const PagePrinter &paint)
{
    if (!m_printing.choosePrinter(printer, pageCount))
        return;
    // Printing into a file is an export like the others: through the one save routine.
    const bool intoFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    if (intoFile && refuseDataFile(printer.outputFileName()))
        return;
    bool printed = true;
    FileResult saved;
    {
        BusyCursor busy;
        if (intoFile)
            saved = writePdfFile(printer.outputFileName(), printer, paint);
        else
            printed = paint(printer);
    }
    tellIfFailed(saved);
    if (!printed)
        m_messages.inform(messages::PrintFailed);
}

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace velmora
