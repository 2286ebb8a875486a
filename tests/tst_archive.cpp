// Zip archives: what is written comes back byte for byte under its Chinese
// name (marked UTF-8), and what is read is never trusted: cut-off, damaged,
// oversized and linked entries are told apart.

#include "archive/zip_archive.h"
#include "zip_support.h"

#include <QBuffer>
#include <QTest>

using namespace velmora;
using velmora::test::rawZip;

namespace {

const QDateTime When(QDate(2026, 12, 8), QTime(9, 30, 0));

struct Opened
{
    QBuffer device;
    std::unique_ptr<ZipReader> reader;
    explicit Opened(const QByteArray &bytes)
    {
        device.setData(bytes);
        device.open(QIODevice::ReadOnly);
        reader = std::make_unique<ZipReader>(device);
    }
};

QByteArray twoFiles()
{
    return *zipArchive({{QStringLiteral("张三.dat"), QByteArray("records\r\n"), When},
                        {QStringLiteral("清单.txt"), QByteArray(100000, 'x'), When}},
                       nullptr);
}

} // namespace

class ArchiveTest : public QObject
{
    Q_OBJECT

private slots:
    void filesComeBackByteForByteUnderTheirNames()
    {
        const QByteArray bytes = twoFiles();
        QVERIFY(bytes.startsWith("PK\x03\x04"));
        // General purpose flag bit 11: the names are UTF-8 (offset 6 of the local header).
        QVERIFY(quint8(bytes[7]) & 0x08);
        Opened zip(bytes);
        QVERIFY(zip.reader->isOpen());
        QCOMPARE(zip.reader->entries().size(), size_t(2));
        QCOMPARE(zip.reader->entries()[0].name, QStringLiteral("张三.dat"));
        QCOMPARE(zip.reader->entries()[1].size, 100000);
        QVERIFY(zip.reader->entries()[1].compressedSize < 1000);
        QString error;
        QCOMPARE(zip.reader->read(0, 100, &error), QByteArray("records\r\n"));
        QCOMPARE(zip.reader->read(1, 100000, &error), QByteArray(100000, 'x'));
        QCOMPARE(zip.reader->find([](const ZipEntryInfo &e) { return e.name.endsWith(u".txt"); }), 1);
    }

    void anEntryBeyondItsLimitIsRefused()
    {
        Opened zip(twoFiles());
        QString error;
        QVERIFY(!zip.reader->read(1, 99999, &error));
        QCOMPARE(error, QStringLiteral("ZIP 文件中的一项解压后超过 98 KB，可能是恶意构造的文件"));
        // A reader that stops is told so.
        int pieces = 0;
        QVERIFY(!zip.reader->stream(1, 1 << 20, [&](QByteArrayView) { return ++pieces < 1; }, &error));
        QCOMPARE(error, QStringLiteral("已取消"));
    }

    void aSizeTheHeaderUnderstatesIsCountedAsItComes()
    {
        // Declared sizes are lies in a zip bomb: the central directory here says 10 bytes for 100,000.
        QByteArray bytes = twoFiles();
        const qsizetype central = bytes.lastIndexOf("PK\x01\x02");
        QVERIFY(central > 0);
        bytes[central + 24] = 10;
        bytes[central + 25] = bytes[central + 26] = bytes[central + 27] = 0;
        const qsizetype local = bytes.indexOf("PK\x03\x04", 4);
        bytes[local + 22] = 10;
        bytes[local + 23] = bytes[local + 24] = bytes[local + 25] = 0;
        Opened zip(bytes);
        QString error;
        QVERIFY(!zip.reader->read(1, 1000, &error));
        QCOMPARE(error, QStringLiteral("ZIP 文件中的一项解压后超过 1 KB，可能是恶意构造的文件"));
    }

    void brokenArchivesSayWhatIsWrong_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray good = twoFiles();
        QTest::newRow("cut off") << good.left(good.size() / 2) << QStringLiteral("ZIP 文件不完整，可能没有下载或复制完");
        QTest::newRow("not a zip") << QByteArray("Date,Time,Systolic\r\n") << QStringLiteral("不是 ZIP 压缩文件");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("不是 ZIP 压缩文件");
    }

    void brokenArchivesSayWhatIsWrong()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        Opened zip(bytes);
        QVERIFY(!zip.reader->isOpen());
        QCOMPARE(zip.reader->error(), reason);
    }

    void aDamagedEntryIsNotTakenForData()
    {
        QByteArray bytes = twoFiles();
        const qsizetype second = bytes.indexOf("PK\x03\x04", 4);
        bytes[second + 30 + 8 + 5] = char(bytes[second + 30 + 8 + 5] ^ 0x55); // inside the deflated data
        Opened zip(bytes);
        QVERIFY(zip.reader->isOpen());
        QString error;
        QVERIFY(!zip.reader->read(1, 1 << 20, &error));
        QCOMPARE(error, QStringLiteral("ZIP 文件已损坏"));
    }

    void linksAreRecognised()
    {
        Opened link(rawZip({{"link", "/etc/passwd", 0120777}}));
        QVERIFY(link.reader->entries()[0].isLink);
        Opened plain(rawZip({{"file", "/etc/passwd", 0100644}}));
        QVERIFY(!plain.reader->entries()[0].isLink);
    }
};

QTEST_GUILESS_MAIN(ArchiveTest)
#include "tst_archive.moc"
