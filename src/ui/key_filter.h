#pragma once

#include <QChar>
#include <QValidator>

class QLineEdit;
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

// Holds the filter for every way text reaches a box by keyboard or mouse:
// typing, pasting, dropping, an input method. It looks only at the characters
// an edit adds, so deleting always works and text the program put into the box
// (a loaded record, the keypad) does not block later typing. An edit that adds
// a refused character is refused whole: a pasted "1,2" leaves the box as it was.
// (While an edit is validated the box already holds the new text, so the
// validator keeps the last committed text itself.)
class KeyFilterValidator : public QValidator
{
public:
    KeyFilterValidator(KeyFilter filter, QLineEdit *edit);
    State validate(QString &input, int &pos) const override;

private:
    KeyFilter m_filter;
    QString m_committed; // the box's text before the edit being validated
};

void installKeyFilter(QLineEdit *edit, KeyFilter filter);
void installKeyFilter(QComboBox *combo, KeyFilter filter);

} // namespace velmora
