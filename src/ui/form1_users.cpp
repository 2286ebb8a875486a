// Choosing, adding and deleting users.

#include "form1.h"

#include "controls.h"
#include "messages.h"
#include "records/gbk.h"
#include "records/user_name.h"
#include "trend_chart_view.h"

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

void Form1::setCurrentUser(const QString &name)
{
    // A selection made in another user's records must never be written into this user's file.
    if (name != m_state.CurrentUser)
        m_selectedRecord = -1;
    m_state.CurrentUser = name;
}

bool Form1::refuseUnsafeName(const QString &name)
{
    if (isSafeUserName(name))
        return false;
    m_messages.inform(messages::UnsafeUserName);
    return true;
}

bool Form1::reloadUserCombo()
{
    QString error;
    const auto names = m_folder.loadUserNames(&error);
    if (!names) {
        m_messages.inform(messages::readFailed(error));
        return false;
    }
    const QString text = m_combo2->currentText();
    m_combo2->clear();
    for (const QByteArray &name : *names)
        m_combo2->addItem(decodeGbk(name));
    m_combo2->setCurrentIndex(-1); // nothing picked yet
    m_combo2->setEditText(text);
    return true;
}

void Form1::showUserPanel()
{
    m_frame1->show();
    m_frame1->raise();
    m_combo2->setFocus();
}

void Form1::pickUser(int index)
{
    const QString name = m_combo2->itemText(index);
    setCurrentUser(name.trimmed());
    m_label5->setText(name);
}

void Form1::confirmUser()
{
    const QString name = m_combo2->currentText();
    if (name.isEmpty()) {
        m_messages.inform(messages::NoUserChosen);
        m_frame1->hide();
        return;
    }
    // Nothing is written, and no user is confirmed, under a name that cannot name a file.
    if (refuseUnsafeName(name))
        return;
    // The user changes only once every file step has worked: a failure
    // leaves the previous user current.
    QString error;
    const auto names = m_folder.loadUserNames(&error);
    if (!names) {
        m_frame1->hide();
        m_messages.inform(messages::readFailed(error));
        return;
    }
    const bool listed = std::find(names->begin(), names->end(), gbk(name)) != names->end();
    if (!listed) {
        if (const FileResult added = m_folder.addUser(name); !added) {
            m_frame1->hide();
            m_messages.inform(messages::saveFailed(added.error));
            return;
        }
        m_combo2->setEditText(QString());
        reloadUserCombo();
        m_combo2->setEditText(name);
    }
    m_label5->setText(name);
    m_frame1->hide();
    setEntryControlsEnabled(true);
    setCurrentUser(name); // the user shown is the user whose file is used
    if (!listed)
        m_messages.inform(messages::UserCreated);
}

void Form1::deleteUser()
{
    const QString name = m_combo2->currentText();
    if (name.isEmpty()) {
        m_messages.inform(messages::ChooseUser);
        return;
    }
    // A name that is not safe as a file name never reaches the file system.
    if (refuseUnsafeName(name))
        return;
    if (!m_messages.ask(messages::ConfirmDelete))
        return;
    // Either the user and the records go together, or nothing changes.
    if (const FileResult deleted = m_folder.deleteUser(name); !deleted) {
        m_messages.inform(messages::deleteFailed(deleted.error));
        return;
    }
    m_picture1->clearMarks();
    reloadUserCombo();
    emptyEntryFields();
    m_combo2->setEditText(QString());
    clearRecordMenu();
    m_label5->clear();
    // The deleted records must not come back through the table or a later modify.
    dropTable();
    moveMarkerHome();
    m_messages.inform(messages::UserDeleted);
    setEntryControlsEnabled(false);
}

} // namespace velmora
