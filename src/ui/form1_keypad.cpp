// The statement panel and the on-screen keypad.

#include "ui/form1.h"

#include "diary/messages.h"
#include "ui/controls.h"
#include "ui/form2.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QLineEdit>

namespace velmora {

namespace {
// Text box fed by the title strip Label2(i), or -1 for the two lists.
int boxForTitle(int titleIndex)
{
    if (titleIndex >= 1 && titleIndex <= 10)
        return titleIndex + 1; // Text2 .. Text11
    if (titleIndex == 12)
        return 12;
    return -1;
}
} // namespace

Form2 *Form1::keypad() const
{
    return m_form2.data();
}

void Form1::toggleStatement()
{
    if (m_image1->isVisible()) {
        m_image1->hide();
        return;
    }
    if (m_image1->pixmap().isNull())
        m_image1->setPixmap(QPixmap::fromImage(loadPicture(QStringLiteral("statement"), devicePixelRatioF())));
    m_image1->show();
}

void Form1::hideStatement()
{
    m_image1->hide();
}

void Form1::clickUserCaption()
{
    m_diary.remindToChooseUser();
    hideStatement();
}

void Form1::openKeypad(int titleIndex)
{
    if (m_diary.remindToChooseUser())
        return;
    // A click made while the keypad was the active window first hands its text to the old box.
    if (m_keypadWasActive)
        handBackKeypad();
    if (m_form2) {
        m_form2->blockSignals(true); // closing it here hands nothing back
        m_form2->close();
        m_form2 = nullptr;
    }
    m_state.KeypadTop = 5640;
    m_state.KeypadLeft = m_label2[size_t(titleIndex)]->x() * 15.0 + 500;
    const int box = boxForTitle(titleIndex);
    if (box < 0)
        return;
    m_state.KeypadRequest[size_t(box - 2)] = 1;
    m_form2 = new Form2(m_state);
    connect(m_form2, &Form2::activated, this, &Form1::keypadActivated);
    connect(m_form2, &Form2::closingByUser, this, &Form1::keypadClosing);
    connect(m_form2, &Form2::cancelled, this, &Form1::dropKeypadRequests);
    m_form2->show();
    // A newly shown keypad is the active window whatever the window manager's
    // policy, so that a click back on this window hands its text back.
    m_form2->activateWindow();
    m_state.KeypadBuffer.clear();
}

void Form1::keypadActivated()
{
    m_keypadWasActive = true;
}

void Form1::keypadClosing()
{
    // Closing the keypad returns to the main window: that activation hands back.
    m_keypadClosed = true;
    if (QApplication::activeWindow() == this)
        handBackKeypad();
    else
        activateWindow();
}

void Form1::dropKeypadRequests()
{
    // Every box still asking would receive this keypad's text: none does now.
    m_state.KeypadRequest.fill(0);
}

void Form1::handBackKeypad()
{
    m_keypadWasActive = false;
    m_keypadClosed = false;
    for (int i = 0; i < ProgramState::KeypadBoxCount; ++i) {
        if (m_state.KeypadRequest[size_t(i)] == 1) {
            text(i + 2)->setText(m_state.KeypadBuffer); // the keypad's text is not filtered
            m_state.KeypadRequest[size_t(i)] = 0;
        }
    }
}

bool Form1::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        // Only a return from the keypad hands back, not a return from another program.
        if (m_keypadWasActive || m_keypadClosed)
            handBackKeypad();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

} // namespace velmora
