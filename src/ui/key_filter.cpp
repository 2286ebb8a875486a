#include "key_filter.h"

#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include <algorithm>

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

} // namespace

FilteredLineEdit::FilteredLineEdit(KeyFilter filter, QWidget *parent)
    : QLineEdit(parent), m_filter(filter)
{
}

void FilteredLineEdit::pasteFiltered()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!isReadOnly() && !text.isEmpty() && filterAccepts(m_filter, text))
        insert(text);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteFiltered();
        event->accept();
        return;
    }
    const QString text = event->text();
    const bool producesCharacters = !text.isEmpty() && text != QStringLiteral("\b")
                                    && !event->matches(QKeySequence::Copy) && !event->matches(QKeySequence::Cut)
                                    && !event->matches(QKeySequence::SelectAll)
                                    && !event->matches(QKeySequence::Undo) && !event->matches(QKeySequence::Redo);
    if (producesCharacters && !filterAccepts(m_filter, text)) {
        event->accept(); // swallowed
        return;
    }
    QLineEdit::keyPressEvent(event);
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
    if (QAction *paste = findPasteAction(menu)) {
        paste->disconnect();
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
