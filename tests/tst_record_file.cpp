// Record files: the exact bytes written, the read pass, the table, and saves
// that fail without touching the old file.

#include "diary_support.h"
#include "records/data_folder.h"
#include "records/file_errors.h"
#include "records/record_file.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace velmora;
using velmora::test::crlfLines;
using velmora::test::g;
using velmora::test::womanEntries;

namespace {

// A device whose every read fails.
class UnreadableDevice : public QIODevice
{
public:
    UnreadableDevice() { open(QIODevice::ReadOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};

// The woman of the examples under a RecordId given as text.
HealthRecord womansRecord(double recordId)
{
    HealthRecord r = test::entriesOf(test::womansRecordLines("0")).front();
    r[RecordIdField] = Item::fromText(QString::number(qint64(recordId)));
    return r;
}

const QByteArray WomansLines = test::womansRecordLines("20090620210129");

// The bytes a save writes.
QByteArray written(const RecordTable &table, int count, RewriteMode mode, const HealthRecord *appended = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return writeRecords(buffer, table, count, mode, appended) ? buffer.data() : QByteArray("<failed>");
}

} // namespace

class RecordFileTest : public QObject
{
    Q_OBJECT

private slots:
    void storedRecordIsFourteenExactLines()
    {
        RecordTable table;
        const HealthRecord record = womansRecord(20090620210129.0);
        QCOMPARE(written(table, 0, RewriteMode::Append, &record), WomansLines);
    }

    void rewrittenRecordIdReadsBackAsTheSameDigits()
    {
        RecordTable table;
        QCOMPARE(readRecords(WomansLines, table), 1);
        QVERIFY(table[0][RecordIdField].isNumber());
        const QByteArray saved = written(table, 1, RewriteMode::Append);
        QVERIFY(saved.startsWith(" 20090620210129 \r\n"));
        RecordTable again;
        QCOMPARE(readRecords(saved, again), 1);
        QCOMPARE(again[0][RecordIdField].displayText(), QStringLiteral("20090620210129"));
        QCOMPARE(again[0], table[0]);
    }

    void emptyHeredityIsAnEmptyLine()
    {
        HealthRecord record = womansRecord(20090620210129.0);
        record[HeredityField] = Item::fromText(QString());
        QByteArray out;
        appendRecordLines(out, record);
        QVERIFY(out.endsWith(" 70 \r\n\r\n"));
        RecordTable table;
        QCOMPARE(readRecords(out, table), 1);
        QVERIFY(table[0][HeredityField].isEmpty());
    }

    void appendKeepsOldEntriesSkipsEmptyIdsAndAddsLast()
    {
        RecordTable table;
        const QByteArray old = womanEntries(3);
        QCOMPARE(readRecords(old, table), 3);
        table[1][RecordIdField] = Item();
        const HealthRecord fresh = womansRecord(20200101000000.0);
        const QByteArray saved = written(table, 3, RewriteMode::Append, &fresh);
        RecordTable back;
        QCOMPARE(readRecords(saved, back), 3);
        QCOMPARE(back[0][AgeField].number(), 20.0);
        QCOMPARE(back[1][AgeField].number(), 22.0);
        QCOMPARE(back[2][RecordIdField].displayText(), QStringLiteral("20200101000000"));
        for (int f = SexField; f < FieldCount; ++f)
            QCOMPARE(back[2][Field(f)], fresh[Field(f)]);
    }

    void modifyWritesEveryEntryWhateverItsId()
    {
        RecordTable table;
        QCOMPARE(readRecords(womanEntries(2), table), 2);
        table[0][RecordIdField] = Item();
        table[1][AgeField] = Item::fromText(QStringLiteral("45"));
        const QList<QByteArray> lines = written(table, 2, RewriteMode::Modify).split('\n');
        QCOMPARE(lines.size(), 29);
        QCOMPARE(lines[0], QByteArray("\r"));
        QCOMPARE(lines[16], QByteArray("45\r"));
    }

    void readKeepsOlderValuesPastTheCount()
    {
        RecordTable table;
        QCOMPARE(readRecords(womanEntries(30), table), 30);
        table.clearRecordIds();
        QCOMPARE(readRecords(womanEntries(5), table), 5);
        QVERIFY(table[5][RecordIdField].isEmpty());
        QCOMPARE(table[5][AgeField].number(), 25.0);
    }

    void cutOffLastEntryIsCountedWithEmptyItems()
    {
        RecordTable table;
        QByteArray content = womanEntries(2);
        content.chop(20);
        QCOMPARE(readRecords(content, table), 2);
        QCOMPARE(countRecords(content), 2);
        QVERIFY(table[1][HeredityField].isEmpty());
    }

    void filesBeyond1001EntriesAreReadWhole()
    {
        RecordTable table;
        const QByteArray content = womanEntries(1500);
        int hooked = 0;
        QCOMPARE(readRecords(content, table, [&](int, const HealthRecord &) { ++hooked; }), 1500);
        QCOMPARE(countRecords(content), 1500);
        QCOMPARE(hooked, 1500);
        QVERIFY(table.size() >= 1500);
        QCOMPARE(table[1499][AgeField].number(), 119.0);
        const QByteArray saved = written(table, 1500, RewriteMode::Append);
        RecordTable back;
        QCOMPARE(readRecords(saved, back), 1500);
        for (int i = 0; i < 1500; ++i)
            QCOMPARE(back[i], table[i]);
    }

    void lfOnlyFileReadsLikeCrLf()
    {
        const std::vector<HealthRecord> crlf = test::entriesOf(WomansLines);
        QCOMPARE(test::entriesOf(QByteArray(WomansLines).replace("\r\n", "\n")), crlf);
        QCOMPARE(crlf.size(), size_t(1));
    }

    void readFailureIsNotAShortFile()
    {
        UnreadableDevice device;
        RecordTable table;
        const ReadResult result = readRecordDevice(device, table);
        QVERIFY(!result.ok);
        QTemporaryDir dir;
        DataFolder folder(dir.path());
        QVERIFY(!folder.readRecordFile(QStringLiteral("nobody"), table).ok);
    }

    void failedSaveLeavesTheOldFileByteIdentical()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("a.dat"));
        const QByteArray old = womanEntries(50);
        QVERIFY(test::writeBytes(path, old));
        RecordTable table;
        QCOMPARE(readRecords(old, table), 50);
        const HealthRecord fresh = womansRecord(20200101000000.0);
        // A disk full at the start, after a byte, part way, at the old size; a
        // replace that fails once everything is written.
        const std::vector<SaveFaults> faults = {{0, false, {}},          {1, false, {}}, {4000, false, {}},
                                                {old.size(), false, {}}, {-1, true, {}}};
        for (const SaveFaults &fault : faults) {
            const FileResult result = saveFile(
                path, [&](QIODevice &d) { return writeRecords(d, table, 50, RewriteMode::Append, &fresh); }, fault);
            QVERIFY(!result.ok);
            QCOMPARE(result.error, fault.failReplace ? writeFailureReason(QFileDevice::RenameError, path)
                                                     : reasons::diskFull());
            QCOMPARE(test::readBytes(path), old);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.dat")});
        QVERIFY(saveFile(path, [&](QIODevice &d) { return writeRecords(d, table, 50, RewriteMode::Append, &fresh); }));
        RecordTable back;
        QCOMPARE(readRecords(test::readBytes(path), back), 51);
    }

    // A check reads the written file back before it may replace the old one.
    void aCheckOfTheWrittenFileDecidesWhetherItReplaces()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("张三.zip"));
        QVERIFY(test::writeBytes(path, "old"));
        QByteArray readBack;
        const auto write = [](const QByteArray &content) {
            return [content](QIODevice &device) { return writeAll(device, content); };
        };
        const auto look = [&](const QString &verdict) {
            return [&readBack, verdict](QIODevice &written) {
                readBack = written.readAll();
                return verdict;
            };
        };
        QVERIFY(saveFile(path, write("new"), {}, NewFileAccess::OwnerOnly, look(QString())));
        QCOMPARE(readBack, QByteArray("new"));
        QCOMPARE(test::readBytes(path), QByteArray("new"));
        const FileResult refused = saveFile(path, write("newer"), {}, NewFileAccess::OwnerOnly, look(QStringLiteral("读回不符")));
        QCOMPARE(refused.error, QStringLiteral("读回不符"));
        QCOMPARE(readBack, QByteArray("newer"));
        QCOMPARE(test::readBytes(path), QByteArray("new"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("张三.zip")});
    }

    void leftoversOfInterruptedSavesAreRemovedAndNothingElse()
    {
        QTemporaryDir dir;
        DataFolder folder(dir.path());
        const QDir d(dir.path());
        const QStringList own = {QStringLiteral("yonghu.dat.velmora-tmp-AbC123"),
                                 QStringLiteral("张三.dat.velmora-tmp-x9Y8z7")};
        const QStringList persons = {QStringLiteral("张三.dat"), QStringLiteral("张三.dat.backup"),
                                     QStringLiteral("notes.dat.abc123"), QStringLiteral("yonghu.dat.bak001"),
                                     QStringLiteral("a.dat.velmora-tmp-toolong")};
        for (const QString &name : own + persons)
            QVERIFY(test::writeBytes(d.filePath(name), "x"));
        QCOMPARE(folder.removeLeftoverSaves(), 2);
        QStringList left = d.entryList(QDir::Files);
        QStringList expected = persons;
        left.sort();
        expected.sort();
        QCOMPARE(left, expected);
    }

    // Not replaced behind the back of whoever made it read-only.
    void aReadOnlyFileIsRefused()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("Ann.dat"));
        QVERIFY(test::writeBytes(path, "old"));
        QFile::setPermissions(path, QFile::ReadOwner);
        if (QFileInfo(path).isWritable())
            QSKIP("this user may write any file (root)");
        const FileResult saved = saveFile(path, [](QIODevice &device) { return writeAll(device, "new"); });
        QCOMPARE(saved.error, reasons::readOnlyFile(path));
        QCOMPARE(test::readBytes(path), QByteArray("old"));
    }

#ifdef Q_OS_WIN
    // A spreadsheet showing a record file holds it open without sharing it; a
    // virus scanner only for a moment.
    void aFileHeldOpenIsReportedAndKeptUntilItIsLetGo()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("张三.dat"));
        QVERIFY(test::writeBytes(path, "old"));
        const auto holdOpen = [&] {
            return CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()), GENERIC_READ,
                               FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        };
        const auto writeNew = [](QIODevice &device) { return writeAll(device, "new"); };
        HANDLE held = holdOpen();
        QVERIFY(held != INVALID_HANDLE_VALUE);
        int retries = 0;
        const FileResult refused = saveFile(path, writeNew, {-1, false, [&](int) { ++retries; }});
        QCOMPARE(refused.error, writeFailureReason(QFileDevice::RenameError, path));
        QCOMPARE(retries, 10);
        CloseHandle(held);
        QCOMPARE(test::readBytes(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("张三.dat")});

        held = holdOpen();
        QVERIFY(held != INVALID_HANDLE_VALUE);
        QVERIFY(saveFile(path, writeNew, {-1, false, [&](int attempt) {
                                              if (attempt == 2)
                                                  CloseHandle(held);
                                          }}));
        QCOMPARE(test::readBytes(path), QByteArray("new"));
    }

    // Hidden and system files count as present and stay so; folders do not count.
    void hiddenAndSystemFilesArePresentAndStaySo()
    {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("yonghu.dat"));
        const auto native = [](const QString &p) { return QDir::toNativeSeparators(p).toStdWString(); };
        QVERIFY(test::writeBytes(path, "old"));
        const DWORD marks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        QVERIFY(SetFileAttributesW(native(path).c_str(), marks));
        QVERIFY(fileExists(path));
        QVERIFY(saveFile(path, [](QIODevice &device) { return writeAll(device, "new"); }));
        QCOMPARE(test::readBytes(path), QByteArray("new"));
        QCOMPARE(GetFileAttributesW(native(path).c_str()) & marks, marks);
        QVERIFY(SetFileAttributesW(native(path).c_str(), FILE_ATTRIBUTE_READONLY));
        QVERIFY(fileExists(path));
        QCOMPARE(saveFile(path, [](QIODevice &device) { return writeAll(device, "x"); }).error, reasons::readOnlyFile(path));
        SetFileAttributesW(native(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("a.dat")));
        QVERIFY(!fileExists(QDir(dir.path()).filePath(QStringLiteral("a.dat"))));
    }
#endif

#ifdef Q_OS_UNIX
    // The diary's own files hold a person's health: new ones stay the owner's.
    // Files made to be handed on get what any new file gets; a file that
    // exists keeps its permissions either way.
    void permissionsOfSavedFiles_data()
    {
        QTest::addColumn<bool>("handedOn");
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("existing"); // 0: a new file
        QTest::addColumn<int>("mode");
        QTest::newRow("the diary's new file") << false << 022 << 0 << 0600;
        QTest::newRow("an export, umask 027") << true << 027 << 0 << 0640;
        QTest::newRow("an export over a file of 0600") << true << 022 << 0600 << 0600;
    }

    void permissionsOfSavedFiles()
    {
        QFETCH(bool, handedOn);
        QFETCH(int, umask);
        QFETCH(int, existing);
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("out.csv"));
        if (existing) {
            QVERIFY(test::writeBytes(path, "old"));
            QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(existing)) == 0);
        }
        const mode_t before = ::umask(mode_t(umask));
        const FileResult saved = saveFile(
            path, [](QIODevice &device) { return writeAll(device, "new"); }, {},
            handedOn ? NewFileAccess::AsAnyNewFile : NewFileAccess::OwnerOnly);
        ::umask(before);
        QVERIFY(saved);
        struct stat status{};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &status) == 0);
        QCOMPARE(int(status.st_mode & 0777), mode);
    }
#endif

    void saveThroughALinkReplacesTheFileItNames()
    {
#ifdef Q_OS_WIN
        QSKIP("QFile::link makes a shortcut on Windows, which no file operation follows");
#endif
        QTemporaryDir dir;
        const QDir d(dir.path());
        QVERIFY(test::writeBytes(d.filePath(QStringLiteral("real.dat")), "old"));
        QVERIFY(QFile::link(d.filePath(QStringLiteral("real.dat")), d.filePath(QStringLiteral("Ann.dat"))));
        QVERIFY(saveFile(d.filePath(QStringLiteral("Ann.dat")), [](QIODevice &device) { return writeAll(device, "new"); }));
        QVERIFY(QFileInfo(d.filePath(QStringLiteral("Ann.dat"))).isSymLink());
        QCOMPARE(test::readBytes(d.filePath(QStringLiteral("real.dat"))), QByteArray("new"));
    }

    // The record file is only ever rewritten over the bytes it was read from.
    void rewriteRefusesAFileChangedSinceItWasRead()
    {
        QTemporaryDir dir;
        DataFolder folder(dir.path());
        const QString path = folder.RecordFilePath(QStringLiteral("Ann"));
        QVERIFY(test::writeBytes(path, womanEntries(5)));
        RecordTable table;
        const ReadResult read = folder.readRecordFile(QStringLiteral("Ann"), table);
        QVERIFY(test::writeBytes(path, womanEntries(7)));
        const FileResult stale =
            folder.RewriteRecordFile(QStringLiteral("Ann"), read.fingerprint, table, read.count, RewriteMode::Modify);
        QVERIFY(!stale.ok);
        QVERIFY(stale.changedOutside);
        QCOMPARE(test::readBytes(path), womanEntries(7));
        QVERIFY(test::writeBytes(path, womanEntries(5)));
        QVERIFY(folder.RewriteRecordFile(QStringLiteral("Ann"), read.fingerprint, table, read.count, RewriteMode::Modify));
    }

    void existenceCountsFilesNotFolders()
    {
        QTemporaryDir dir;
        DataFolder folder(dir.path());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dir.dat")));
        QVERIFY(!folder.RecordFileExists(QStringLiteral("dir")));
        QVERIFY(test::writeBytes(folder.RecordFilePath(QStringLiteral(".hidden")), ""));
        QVERIFY(folder.RecordFileExists(QStringLiteral(".hidden")));
        QFile::setPermissions(folder.RecordFilePath(QStringLiteral(".hidden")), QFile::ReadOwner);
        QVERIFY(folder.RecordFileExists(QStringLiteral(".hidden")));
    }
};

QTEST_APPLESS_MAIN(RecordFileTest)
#include "tst_record_file.moc"
