#pragma once

// A Form1 in a temporary program folder, with scripted message boxes, a fixed
// clock and a folder whose saves can be made to fail.

#include "diary_support.h"
#include "ui/form1.h"
#include "ui/trend_chart_view.h"
#include "widgets/file_dialogs.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

namespace velmora::test {

// How long a window or menu may take to show, close or become active. Under
// Wine on a busy machine this takes more than QTest's default of 5 s.
inline constexpr int WindowWait = 20000;

// Answers the save and open dialogs with the given paths in order; an empty
// one, or none left, cancels.
class ScriptedFileDialogs : public FileDialogs
{
public:
    std::deque<QString> paths;
    QStringList captions, suggestions, filters; // what each dialog was asked with
    QStringList offeredFolders;                  // what the last folder dialog offered first

    QString saveFileName(const QString &caption, const QString &suggestedName, const QString &filter) override
    {
        suggestions << suggestedName;
        return openFileName(caption, filter);
    }
    QString folderName(const QString &caption, const QStringList &offered) override
    {
        offeredFolders = offered;
        return openFileName(caption, QString());
    }
    QString openFileName(const QString &caption, const QString &filter) override
    {
        captions << caption;
        filters << filter;
        if (paths.empty())
            return QString();
        const QString path = paths.front();
        paths.pop_front();
        return path;
    }
};

// Runs `act` on the modal dialog of type T that opens next, once it shows, and
// closes the dialog afterwards if `act` left it open (a check failed).
template <typename T>
void onNextModal(std::function<void(T *)> act)
{
    QTimer::singleShot(0, [act] {
        QPointer<T> dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        act(dialog);
        if (dialog && dialog->isVisible())
            dialog->reject();
    });
}

// The class names of the controls in `window` that take the focus but have
// no name for a screen reader (the text boxes inside drop-downs too).
inline QStringList namelessControls(QWidget *window)
{
    QStringList nameless;
    std::function<void(QAccessibleInterface *)> visit = [&](QAccessibleInterface *node) {
        // Controls, not the cells of a table (which have no object of their own).
        if (node->object() && node->state().focusable && node->text(QAccessible::Name).isEmpty())
            nameless << node->object()->metaObject()->className();
        for (int i = 0; i < node->childCount(); ++i)
            visit(node->child(i));
    };
    visit(QAccessible::queryAccessibleInterface(window));
    return nameless;
}

struct Window : Surroundings
{
    std::unique_ptr<Form1> form;

    explicit Window(const QByteArray &userList = QByteArray(), bool withList = true)
    {
        if (withList)
            writeBytes(folder.userListPath(), userList);
        form = std::make_unique<Form1>(folder, messages, [this] { return now; });
    }

    bool start()
    {
        const bool loaded = form->load();
        form->show();
        return loaded;
    }
    // Starts with Ann's records: Ann confirmed, her records displayed when asked, nothing said yet.
    void startWithAnn(const QByteArray &records, bool display = true)
    {
        writeRecords(records);
        start();
        confirmUser(QStringLiteral("Ann"));
        if (display)
            click("Command1");
        messages.shown.clear();
    }

    template <typename T = QWidget>
    T *child(const QString &name) const
    {
        T *widget = form->findChild<T *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QLineEdit *text(int n) const { return child<QLineEdit>(QStringLiteral("Text%1").arg(n)); }
    QComboBox *combo(const char *name) const { return child<QComboBox>(QString::fromLatin1(name)); }
    QLabel *label(const QString &name) const { return child<QLabel>(name); }
    QLabel *menuLabel(int j) const { return label(QStringLiteral("Label4(%1)").arg(j)); }
    QString caption(const char *name) const { return label(QString::fromLatin1(name))->text(); }

    void click(const char *name) const
    {
        QWidget *widget = child(QString::fromLatin1(name));
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }
    void clickMenuLabel(int j) const { QTest::mouseClick(menuLabel(j), Qt::LeftButton, {}, QPoint(5, 5)); }
    void doubleClickMenuLabel(int j) const
    {
        // A person's double click: a click, then the second press.
        QLabel *l = menuLabel(j);
        QTest::mouseClick(l, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseDClick(l, Qt::LeftButton, {}, QPoint(5, 5));
    }

    // Types text key by key; characters beyond ASCII arrive as an input method would send them.
    static void type(QWidget *widget, const QString &text)
    {
        for (QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(widget, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // Types a name into the user panel's combo and confirms it.
    void confirmUser(const QString &name)
    {
        click("Command6");
        QComboBox *users = combo("Combo2");
        users->lineEdit()->clear();
        type(users->lineEdit(), name);
        users->setEditText(name); // what the filter would not let a person type, for the refusal tests
        click("Command11");
    }
};

} // namespace velmora::test
