#include "ui/key_filter.h"

#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace velmora {

bool filterAccepts(KeyFilter filter, QChar c)
{
    const bool digit = c >= u'0' && c <= u'9';
    switch (filter) {
    case KeyFilter::Integer:
        return digit;
    case KeyFilter::Decimal:
        return digit || c == u'.';
    case KeyFilter::ListOnly:
        return false;
    case KeyFilter::UserName:
        return c.unicode() >= u'9';
    }
    return false;
}

bool filterAccepts(KeyFilter filter, const QString &text)
{
    return std::all_of(text.begin(), text.end(), [filter](QChar c) { return filterAccepts(filter, c); });
}

namespace {

// The standard menu's paste action: named in newer Qt versions, otherwise
// known by its shortcut text.
QAction *findPasteAction(QMenu *menu)
{
    const QString shortcut = QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QStringLiteral("edit-paste") || action->text().endsWith(shortcut)) {
            action->setObjectName(QStringLiteral("edit-paste"));
            return action;
        }
    }
    return nullptr;
}

// Keys that edit or select rather than type. X11 and Wayland give Delete the
// text U+007F, Backspace has "\b": both keep their editing effect.
bool isEditingKey(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    const QString text = event->text();
    if (text == QStringLiteral("\b") || text == QStringLiteral("\x7f"))
        return true;
    for (QKeySequence::StandardKey key :
         {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::SelectAll, QKeySequence::Undo, QKeySequence::Redo}) {
        if (event->matches(key))
            return true;
    }
    return false;
}

SelectionSource &selectionSource()
{
    static SelectionSource source;
    return source;
}

std::optional<QString> primarySelection()
{
    if (selectionSource())
        return selectionSource()();
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        return std::nullopt;
    return clipboard->text(QClipboard::Selection);
}

} // namespace

void setSelectionSource(SelectionSource source)
{
    selectionSource() = std::move(source);
}

FilteredLineEdit::FilteredLineEdit(KeyFilter filter, QWidget *parent)
    : QLineEdit(parent), m_filter(filter)
{
}

bool FilteredLineEdit::accepts(const QString &text) const
{
    return !isReadOnly() && !text.isEmpty() && filterAccepts(m_filter, text);
}

void FilteredLineEdit::pasteFiltered()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (accepts(text))
        insert(text);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteFiltered();
        event->accept();
        return;
    }
    // Enter and Esc insert nothing in any box; they go on to its dialog
    // (Enter presses the default button, Esc cancels).
    const bool dialogKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
                           || event->key() == Qt::Key_Escape;
    const QString text = event->text();
    if (!text.isEmpty() && !dialogKey && !isEditingKey(event) && !filterAccepts(m_filter, text)) {
        event->accept(); // swallowed
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::MiddleButton) {
        QLineEdit::mouseReleaseEvent(event);
        return;
    }
    // QLineEdit would paste the primary selection unfiltered. The press has
    // put the cursor where the text goes.
    if (const std::optional<QString> selection = primarySelection(); selection && accepts(*selection)) {
        deselect();
        insert(*selection);
    }
    event->accept();
}

void FilteredLineEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty() && !filterAccepts(m_filter, event->commitString())) {
        QInputMethodEvent filtered(event->preeditString(), event->attributes());
        QLineEdit::inputMethodEvent(&filtered);
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

bool FilteredLineEdit::refusesDrop(const QDropEvent *event) const
{
    return event->mimeData()->hasText() && !filterAccepts(m_filter, event->mimeData()->text());
}

void FilteredLineEdit::dragEnterEvent(QDragEnterEvent *event)
{
    if (refusesDrop(event))
        event->ignore();
    else
        QLineEdit::dragEnterEvent(event);
}

void FilteredLineEdit::dragMoveEvent(QDragMoveEvent *event)
{
    if (refusesDrop(event))
        event->ignore();
    else
        QLineEdit::dragMoveEvent(event);
}

void FilteredLineEdit::dropEvent(QDropEvent *event)
{
    if (refusesDrop(event))
        event->ignore();
    else
        QLineEdit::dropEvent(event);
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction *action : menu->actions()) {
        if (action->menu()) // the Unicode control characters would go in unfiltered
            menu->removeAction(action);
    }
    if (QAction *paste = findPasteAction(menu)) {
        paste->disconnect();
        paste->setEnabled(accepts(QGuiApplication::clipboard()->text()));
        connect(paste, &QAction::triggered, this, &FilteredLineEdit::pasteFiltered);
    }
    menu->popup(event->globalPos());
}

void installKeyFilter(QComboBox *combo, KeyFilter filter)
{
    combo->setLineEdit(new FilteredLineEdit(filter, combo));
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
}

} // namespace velmora
