#pragma once

// What every export shares: the target chosen in the save dialog under a
// suggested name, never one of the program's own data files; the file
// written through the one save routine with the permissions of any new file;
// printing through the print dialog, onto paper or into a PDF file; a
// message when anything fails.

#include "diary/messages.h"
#include "records/text_file.h"

#include <QString>

#include <functional>

class QDate;
class QPrinter;

namespace velmora {

class DataFolder;
class FileDialogs;
class MessageBoxes;
class PrintDialog;

namespace messages {
inline const QString PrintFailed = QStringLiteral("打印没有完成，请检查打印机后再试！");
} // namespace messages

// Paints every page of a document on a printer made ready for it; false when
// the printer could not be started or finished.
using PagePrinter = std::function<bool(QPrinter &printer)>;

// Prints the pages into a PDF file through a temporary file, which is then
// saved in place through the one save routine: a failure leaves no file at
// path. The printer gives the layout and the page range.
FileResult writePdfFile(const QString &path, QPrinter &printer, const PagePrinter &print);

// "Ann-记录-20100301.csv".
QString exportFileName(const QString &user, const QString &what, const QDate &day, const QString &suffix);

class Exports
{
public:
    Exports(const DataFolder &folder, FileDialogs &dialogs, PrintDialog &printing, MessageBoxes &messages);

    // The path chosen in the save dialog, offered the suggested name; empty
    // when the dialog is cancelled or the path names a data file (a message
    // has said so).
    QString chooseTarget(const QString &caption, const QString &suggestedName, const QString &filter);
    // True, after a message, when the path is a .dat file of the data folder.
    bool refuseDataFile(const QString &path);
    // Writes the bytes to the path, which gets the permissions of any new file.
    void save(const QString &path, const QByteArray &bytes);
    // Says why a save failed; nothing for a good one.
    void tellIfFailed(const FileResult &saved);
    // Lets the person choose a printer for a document of pageCount pages and
    // prints it there, or into the PDF file the print dialog names.
    void print(QPrinter &printer, int pageCount, const PagePrinter &paint);

private:
    const DataFolder &m_folder;
    FileDialogs &m_dialogs;
    PrintDialog &m_printing;
    MessageBoxes &m_messages;
};

// Shows the wait cursor while an export is being made.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace velmora
