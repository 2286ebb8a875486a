// Items of the text files: how they are read, written and shown.

#include "records/item.h"
#include "records/item_reader.h"
#include "records/record_file.h"
#include "test_support.h"

#include <QTest>

using namespace velmora;
using velmora::test::g;

class ItemsTest : public QObject
{
    Q_OBJECT

    static QList<Item> readAll(const QByteArray &content)
    {
        QList<Item> items;
        ItemReader reader(content);
        while (!reader.atEnd())
            items.append(reader.next());
        return items;
    }

    static QByteArray line(const Item &item)
    {
        QByteArray out;
        appendItemLine(out, item);
        return out;
    }

private slots:
    void readsKindsAndBlanks()
    {
        QStringList kinds; // a number as its value, a text in quotes, an empty item as nothing
        for (const Item &item : readAll(" 45 \r\n" + g(u"男") + "\r\n\r\n20090620210129\r\n  172.5  \r\n-3\r\n1.2.3\r\n"))
            kinds << (item.isNumber() ? QString::number(item.number(), 'g', 15)
                                      : item.isText() ? u'"' + item.displayText() + u'"' : QString());
        QCOMPARE(kinds, (QStringList{"45", "\"男\"", "", "20090620210129", "172.5", "-3", "\"1.2.3\""}));
        QCOMPARE(readAll("1\n2\r3").size(), 3); // every kind of line end
    }

    void numbersNeedTheWholeItem()
    {
        double value = 0;
        QVERIFY(parseNumber("1e5", &value) && value == 1e5);
        QVERIFY(parseNumber(".5", &value) && value == 0.5);
        QVERIFY(parseNumber("+7", &value) && value == 7);
        for (const char *text : {"inf", "nan", "-", ".", "1e", "12kg", "0x10", "1e999"})
            QVERIFY2(!parseNumber(text, &value), text);
    }

    void writesNumbersBlankPaddedAndTextsUnchanged()
    {
        QCOMPARE(line(Item::fromNumber(172.5)), QByteArray(" 172.5 \r\n"));
        QCOMPARE(line(Item::fromNumber(-2.5)), QByteArray("-2.5 \r\n"));
        QCOMPARE(line(Item::fromNumber(0.1 + 0.2)), QByteArray(" 0.3 \r\n"));
        QCOMPARE(line(Item::fromNumber(-0.0)), QByteArray(" 0 \r\n"));
        // Fifteen digits of the largest double would round past it and read back as a text.
        const auto largest = readAll(line(Item::fromNumber(-1.7976931348623157e308)));
        QVERIFY(largest.size() == 1 && largest[0].isNumber());
    }

    // Whatever a text holds, it is written as one line that reads back as one item.
    void textsAreWrittenAsOneLineThatReadsBackAsOneItem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("comma") << "a,b" << QByteArray("\"a,b\"\r\n") << "a,b";
        QTest::newRow("leading blank") << " lead" << QByteArray("\" lead\"\r\n") << " lead";
        QTest::newRow("quote inside") << "a\"b" << QByteArray("a\"b\r\n") << "a\"b";
        QTest::newRow("comma and quote") << "a,\"b" << QByteArray("\"a,") + g(u"＂") + "b\"\r\n"
                                         << QStringLiteral("a,＂b");
        QTest::newRow("leading quote") << "\"b" << QByteArray("\"") + g(u"＂") + "b\"\r\n" << QStringLiteral("＂b");
        QTest::newRow("line breaks") << "x\r\ny\nz" << QByteArray("x y z\r\n") << "x y z";
        QTest::newRow("line break and comma") << "1\n,2" << QByteArray("\"1 ,2\"\r\n") << "1 ,2";
    }

    void textsAreWrittenAsOneLineThatReadsBackAsOneItem()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        QFETCH(QString, readBack);
        QCOMPARE(line(Item::fromText(text)), written);
        const auto back = readAll(written);
        QCOMPARE(back.size(), 1);
        QCOMPARE(back[0].displayText(), readBack);
    }

    void invalidGbkBytesSurviveUnchanged()
    {
        const QByteArray broken("\xFF\x80\xC4");
        const auto items = readAll(broken + "\r\n");
        QCOMPARE(items.size(), 1);
        QCOMPARE(items[0].textBytes(), broken);
        QCOMPARE(line(items[0]), broken + "\r\n");
    }

    // The bytes of code page 936 itself, the same on every platform; "?" is a
    // character like any other, and what GBK cannot hold is refused.
    void gbkBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes"); // empty: GBK cannot hold the text
        QTest::newRow("sexes") << QStringLiteral("男女") << QByteArray("\xC4\xD0\xC5\xAE");
        QTest::newRow("heredity") << QStringLiteral("有无") << QByteArray("\xD3\xD0\xCE\xDE");
        QTest::newRow("a name") << QStringLiteral("张三") << QByteArray("\xD5\xC5\xC8\xFD");
        QTest::newRow("diagnoses") << QStringLiteral("脑血栓糖尿病")
                                   << QByteArray("\xC4\xD4\xD1\xAA\xCB\xA8\xCC\xC7\xC4\xF2\xB2\xA1");
        QTest::newRow("full-width quote, middle dot") << QStringLiteral("＂·") << QByteArray("\xA3\xA2\xA1\xA4");
        QTest::newRow("kana") << QStringLiteral("さくら") << QByteArray("\xA4\xB5\xA4\xAF\xA4\xE9");
        QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\x80");
        QTest::newRow("ascii and question mark") << QStringLiteral("a?1 ") << QByteArray("a?1 ");
        QTest::newRow("emoji") << QStringLiteral("😀") << QByteArray();
        QTest::newRow("korean") << QStringLiteral("한") << QByteArray();
        QTest::newRow("one character of many") << QStringLiteral("张😀三") << QByteArray();
    }
    void gbkBytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const auto encoded = encodeGbk(text);
        QCOMPARE(encoded.has_value(), !bytes.isEmpty());
        if (!encoded)
            return;
        QCOMPARE(*encoded, bytes);
        QCOMPARE(decodeGbk(bytes), text);
        QCOMPARE(decodeGbkStrictly(bytes), std::optional<QString>(text));
    }

    void bytesOutsideGbkAreRefusedByTheStrictDecoder_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("0xFF") << QByteArray("a\xFF");
        QTest::newRow("lead byte at the end") << QByteArray("a\x81");
        QTest::newRow("lead byte before a line end") << QByteArray("\xC4\r\n");
        QTest::newRow("user-defined area") << QByteArray("\xAA\xA1");
    }
    void bytesOutsideGbkAreRefusedByTheStrictDecoder()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(decodeGbkStrictly(bytes), std::nullopt);
        QVERIFY(!decodeGbk(bytes).isEmpty()); // shown all the same
    }

    void leadingNumberValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("decimal") << "1.5" << 1.5;
        QTest::newRow("letters after") << "12abc" << 12.0;
        QTest::newRow("blanks inside") << " 1 2" << 12.0;
        QTest::newRow("two points") << "1.2.3" << 1.2;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("exponent") << "2e2" << 200.0;
        QTest::newRow("huge stays finite") << QString(400, u'9') << 1e300;
    }

    void leadingNumberValue()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(velmora::leadingNumberValue(text), value);
    }
};

QTEST_APPLESS_MAIN(ItemsTest)
#include "tst_items.moc"
