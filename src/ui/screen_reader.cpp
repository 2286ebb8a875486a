#include "ui/screen_reader.h"

#include "ui/controls.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>

namespace velmora {

namespace {

// A label as static text with its caption as the text; not selectable, no cursor.
class LabelText : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit LabelText(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && label()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(int startOffset, int endOffset) const override
    {
        return label()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(label()->text().size()); }
    QRect characterRect(int offset) const override
    {
        const QFontMetrics metrics(label()->font());
        const QString caption = label()->text();
        const QRect room = label()->contentsRect();
        const int left = room.left() + metrics.horizontalAdvance(caption.left(offset));
        const QRect local(left, room.top(), metrics.horizontalAdvance(caption.mid(offset, 1)), room.height());
        return QRect(label()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        for (int offset = 0; offset < characterCount(); ++offset)
            if (characterRect(offset).contains(point))
                return offset;
        return -1;
    }
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return QString();
    }
    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {}

private:
    QLabel *label() const { return static_cast<QLabel *>(widget()); }
};

QAccessibleInterface *labelText(const QString &className, QObject *object)
{
    if (className == QLatin1String("velmora::ClickableLabel"))
        return new LabelText(static_cast<QLabel *>(object));
    return nullptr;
}

class DropDownLists : public QObject, public QAccessible::ActivationObserver
{
public:
    explicit DropDownLists(QWidget &window) : QObject(&window), m_window(window)
    {
        if (QAccessible::isActive())
            nameLists();
        else
            QAccessible::installActivationObserver(this);
    }
    ~DropDownLists() override { QAccessible::removeActivationObserver(this); }

    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            nameLists();
    }

private:
    void nameLists()
    {
        for (QComboBox *combo : m_window.findChildren<QComboBox *>())
            nameDropDownParts(*combo);
    }

    QWidget &m_window;
};

} // namespace

void installLabelTexts()
{
    static const bool installed = [] {
        QAccessible::installFactory(labelText);
        return true;
    }();
    Q_UNUSED(installed);
}

void nameDropDownTextBox(QComboBox &dropDown)
{
    if (QLineEdit *box = dropDown.lineEdit()) {
        box->setAccessibleName(dropDown.accessibleName());
        box->setAccessibleDescription(dropDown.accessibleDescription());
    }
}

void nameDropDownParts(QComboBox &dropDown)
{
    nameDropDownTextBox(dropDown);
    dropDown.view()->setAccessibleName(dropDown.accessibleName() + QStringLiteral("列表"));
    dropDown.view()->setAccessibleDescription(QStringLiteral("可选的项"));
}

void nameDropDownListsForScreenReaders(QWidget &window)
{
    new DropDownLists(window);
}

} // namespace velmora
