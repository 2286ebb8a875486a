#pragma once

class QPrinter;
class QWidget;

namespace velmora {

// The print dialog of the report. Tests answer it with a printer of their own.
class PrintDialog
{
public:
    virtual ~PrintDialog() = default;
    // Lets the person choose the printer, the pages and the copies of a
    // report of pageCount pages; false when the dialog is cancelled.
    virtual bool choosePrinter(QPrinter &printer, int pageCount) = 0;
};

// Qt's modal print dialog, with every printer the system has and printing
// into a PDF file.
class QtPrintDialog : public PrintDialog
{
public:
    explicit QtPrintDialog(QWidget *parent = nullptr) : m_parent(parent) {}
    bool choosePrinter(QPrinter &printer, int pageCount) override;

private:
    QWidget *m_parent;
};

} // namespace velmora
