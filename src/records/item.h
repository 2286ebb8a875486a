#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// One item of a record, in the file and in memory: empty, a number or a text.
// A text keeps the exact bytes it was read with, so an item that nobody edits
// is written back byte for byte, even when those bytes are not valid GBK.
class Item
{
public:
    enum class Kind : quint8 { Empty, Number, Text };

    Item() = default;
    static Item fromNumber(double value)
    {
        Item item;
        item.setNumber(value);
        return item;
    }
    // In-place forms for the read pass, which overwrites the table's items.
    void setNumber(double value)
    {
        m_kind = Kind::Number;
        m_number = value == 0.0 ? 0.0 : value; // no "-0" in files
        if (!m_text.isNull())
            m_text = QByteArray();
    }
    void setTextBytes(const QByteArray &gbkBytes)
    {
        m_kind = Kind::Text;
        m_number = 0.0;
        m_text = gbkBytes;
    }
    void setTextBytes(QByteArrayView gbkBytes)
    {
        m_kind = Kind::Text;
        m_number = 0.0;
        m_text = gbkBytes.toByteArray();
    }
    void clear()
    {
        m_kind = Kind::Empty;
        m_number = 0.0;
        if (!m_text.isNull())
            m_text = QByteArray();
    }
    static Item fromTextBytes(QByteArray gbkBytes);
    // A text typed by the user; characters GBK cannot hold are replaced by '?'.
    static Item fromText(const QString &text);

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Kind::Empty; }
    bool isNumber() const { return m_kind == Kind::Number; }
    bool isText() const { return m_kind == Kind::Text; }

    // The number; 0 for an empty item (and for a text, which callers test first).
    double number() const { return m_kind == Kind::Number ? m_number : 0.0; }
    const QByteArray &textBytes() const { return m_text; }

    // How the item is shown in a box: a number in its shortest form without
    // blanks, a text decoded from GBK, nothing for an empty item.
    QString displayText() const;

    bool operator==(const Item &other) const;

private:
    Kind m_kind = Kind::Empty;
    double m_number = 0.0;
    QByteArray m_text;
};

// Shortest decimal form with at most 15 significant digits, "." as the point.
QByteArray formatNumber(double value);

// The number a box text begins with: blanks, tabs and line feeds anywhere are
// ignored, reading stops at the first character that cannot continue the
// number, 0 when there is none ("12kg" gives 12, "1 2" gives 12, "" gives 0).
double leadingNumberValue(const QString &text);

} // namespace velmora
