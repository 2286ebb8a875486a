#pragma once

// What the tests of the reports share: the print and period dialogs
// answered by script, and the pages and text of a PDF.

#include "reports/period_dialog.h"
#include "reports/print_dialog.h"

#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <optional>

namespace velmora::test {

// Answers the print dialog with a PDF file on the chosen paper and pages, or
// cancels when no file is set.
class ScriptedPrintDialog : public PrintDialog
{
public:
    QString outputFile;
    QPageSize paper{QPageSize::A4};
    int fromPage = 0;
    int toPage = 0;
    int copies = 1;
    bool collate = true;
    bool lastPageFirst = false;
    QList<int> pageCounts; // asked for, one per dialog

    bool choosePrinter(QPrinter &printer, int pageCount) override
    {
        pageCounts << pageCount;
        if (outputFile.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(outputFile);
        printer.setPageSize(paper);
        printer.setFromTo(fromPage, toPage);
        printer.setCopyCount(copies);
        printer.setCollateCopies(collate);
        printer.setPageOrder(lastPageFirst ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
        return true;
    }
};


// Answers the period dialog: all records unless told otherwise; none cancels.
class ScriptedPeriodDialog : public PeriodDialog
{
public:
    std::optional<Period> answer = Period{};
    QStringList captions;

    std::optional<Period> choosePeriod(const QString &caption, QDate, QDate, QDate) override
    {
        captions << caption;
        return answer;
    }
};

// "/Type /Page" objects, not "/Type /Pages".
inline int pdfPageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    return int(QString::fromLatin1(pdf).count(page));
}

// The text of a PDF as pdftotext reads it; null when pdftotext is missing.
inline QString pdfText(const QString &path)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        return QString();
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000))
        return QStringLiteral("pdftotext did not finish");
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace velmora::test
