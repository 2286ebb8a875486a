#pragma once

#include "records/item.h"

#include <QByteArray>
#include <QByteArrayView>

namespace velmora {

// Reads a text file's content item by item. Blanks before an item are skipped;
// an item ends at an unquoted comma or at the line end (CR LF, LF or a lone CR);
// an item that starts with a double quote runs to the next double quote and is
// taken without the quotes; blanks at the end of an unquoted item are dropped.
// An empty line gives an empty item. Reading is by item, not by line: the line
// "1,2" gives two items.
class ItemReader
{
public:
    explicit ItemReader(QByteArrayView content);

    bool atEnd() const { return m_pos == m_end; }

    // The next item; a text that is a number (digits with an optional sign,
    // decimal point and exponent) becomes a number.
    Item next();
    // The same, written over an item in place (no temporary, no allocation for
    // numbers and the common texts).
    void readInto(Item &item);

    // The next field as raw bytes, without classification (user names).
    QByteArrayView nextField();

private:
    QByteArrayView nextRaw(bool *quoted);
    void skipDelimiter();

    const char *m_pos;
    const char *m_end;
};

// Whether the bytes form a number as written in the files, and its value.
bool parseNumber(QByteArrayView text, double *value);

} // namespace velmora
