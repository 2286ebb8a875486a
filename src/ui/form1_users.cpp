// Choosing, adding and deleting users.

#include "ui/form1.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>

namespace velmora {

void Form1::setEntryControlsEnabled(bool enabled)
{
    for (QLineEdit *edit : m_text)
        edit->setEnabled(enabled);
    m_combo12->setEnabled(enabled);
    m_combo1->setEnabled(enabled);
}

void Form1::showUserNames()
{
    const QString typed = m_combo2->currentText();
    m_combo2->clear();
    m_combo2->addItems(m_diary.userNames());
    m_combo2->setCurrentIndex(-1); // nothing picked yet
    m_combo2->setEditText(typed);
}

void Form1::showUserPanel()
{
    m_frame1->show();
    m_frame1->raise();
    m_combo2->setFocus();
}

void Form1::pickUser(int index)
{
    applyOutcome(m_diary.pickUser(m_combo2->itemText(index)));
}

void Form1::confirmUser()
{
    applyOutcome(m_diary.confirmUser(m_combo2->currentText()));
}

void Form1::deleteUser()
{
    applyOutcome(m_diary.deleteUser(m_combo2->currentText()));
}

} // namespace velmora
