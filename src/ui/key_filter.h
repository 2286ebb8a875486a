#pragma once

#include <QChar>
#include <QLineEdit>

class QComboBox;

namespace velmora {

enum class KeyFilter {
    Integer,  // digits only
    Decimal,  // digits and "."
    ListOnly, // nothing may be typed; values come from the list
    UserName, // "9" and every character above it
};

// Whether a typed character passes the filter (by character code).
bool filterAccepts(KeyFilter filter, QChar c);
bool filterAccepts(KeyFilter filter, const QString &text);

// A text box that holds its filter for every way text reaches it by keyboard
// or mouse: typed keys, pasting (shortcut or context menu), dropping and input
// methods. Text that holds a refused character is refused whole, so a pasted
// "1,2" leaves the box as it was. Deleting always works, and text the program
// puts into the box (a loaded record, the keypad) is not filtered.
class FilteredLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit FilteredLineEdit(KeyFilter filter, QWidget *parent = nullptr);

    KeyFilter filter() const { return m_filter; }
    // Pastes the clipboard's text when the filter lets all of it through.
    void pasteFiltered();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool refusesDrop(const QDropEvent *event) const;

    KeyFilter m_filter;
};

// Gives an editable combo a filtered text box (and no auto-completion or
// insertion of typed names into its list).
void installKeyFilter(QComboBox *combo, KeyFilter filter);

} // namespace velmora
