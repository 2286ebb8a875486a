#include "ui/message_boxes.h"

#include <QMessageBox>

namespace velmora {

namespace {

QMessageBox::StandardButton showBox(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Velmora"), text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

void QtMessageBoxes::inform(const QString &text)
{
    showBox(m_parent, text, QMessageBox::Ok);
}

bool QtMessageBoxes::ask(const QString &question)
{
    return showBox(m_parent, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace velmora
