#include "key_filter.h"

#include <QComboBox>
#include <QLineEdit>

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

KeyFilterValidator::KeyFilterValidator(KeyFilter filter, QLineEdit *edit)
    : QValidator(edit), m_filter(filter), m_committed(edit->text())
{
    connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_committed = text; });
}

QValidator::State KeyFilterValidator::validate(QString &input, int &) const
{
    // What the edit adds lies between the text's unchanged head and tail.
    const QString &before = m_committed;
    qsizetype head = 0;
    while (head < before.size() && head < input.size() && before[head] == input[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < input.size() - head
           && before[before.size() - 1 - tail] == input[input.size() - 1 - tail])
        ++tail;
    for (qsizetype i = head; i < input.size() - tail; ++i)
        if (!filterAccepts(m_filter, input[i]))
            return Invalid;
    return Acceptable;
}

void installKeyFilter(QLineEdit *edit, KeyFilter filter)
{
    edit->setValidator(new KeyFilterValidator(filter, edit));
}

void installKeyFilter(QComboBox *combo, KeyFilter filter)
{
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    installKeyFilter(combo->lineEdit(), filter);
}

} // namespace velmora
