#include "reports/print_dialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace velmora {

bool QtPrintDialog::choosePrinter(QPrinter &printer, int pageCount)
{
    QPrintDialog dialog(&printer, m_parent);
    // "打印健康记录报告": the document's name without the person and the date.
    dialog.setWindowTitle(QStringLiteral("打印") + printer.docName().section(u' ', 0, 0));
    dialog.setMinMax(1, pageCount);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace velmora
