#include "reports/print_dialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace velmora {

bool QtPrintDialog::choosePrinter(QPrinter &printer, int pageCount)
{
    QPrintDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(QStringLiteral("打印健康记录报告"));
    dialog.setMinMax(1, pageCount);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace velmora
