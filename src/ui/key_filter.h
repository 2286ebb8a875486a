#pragma once

#include <QChar>
#include <QLineEdit>

#include <functional>
#include <optional>

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

// The primary selection that a middle-button click pastes on X11; nullopt on a
// platform without one (Windows, macOS, the offscreen platform of tests).
using SelectionSource = std::function<std::optional<QString>()>;
// Puts another source in the platform's place (tests); an empty one restores it.
void setSelectionSource(SelectionSource source);

// A text box that holds its filter for every way text reaches it by keyboard
// or mouse: typed keys, pasting (shortcut, context menu or middle button),
// dropping and input methods. Text that holds a refused character is refused
// whole, so a pasted "1,2" leaves the box as it was; the context menu greys
// its paste entry then. Deleting always works, and text the program puts into
// the box (a loaded record, the keypad) is not filtered.
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
    void mouseReleaseEvent(QMouseEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool accepts(const QString &text) const;
    bool refusesDrop(const QDropEvent *event) const;

    KeyFilter m_filter;
};

// Gives an editable combo a filtered text box (and no auto-completion or
// insertion of typed names into its list).
void installKeyFilter(QComboBox *combo, KeyFilter filter);

} // namespace velmora
