// Backups as files: what the zip and its manifest hold, how a check tells a
// complete backup from a damaged one, which automatic backups are kept, and
// the small things around them (names, the state file, the drives offered).

#include "backup/auto_backup.h"
#include "backup/backup_archive.h"
#include "backup/backup_check.h"
#include "backup/removable_drives.h"
#include "backup/thinning.h"
#include "diary_support.h"
#include "zip_support.h"

#include <QBuffer>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

const QDateTime Now(QDate(2026, 12, 8), QTime(9, 30, 0));

struct Folder
{
    QTemporaryDir dir;
    DataFolder folder{dir.path()};
    explicit Folder(const QMap<QString, QByteArray> &files = chineseDiary()) { writeFiles(dir.path(), files); }
    Backup backup() const { return *makeBackup(folder, Now, nullptr); }
};

BackupCheck checked(const QByteArray &zip)
{
    QBuffer device;
    device.setData(zip);
    device.open(QIODevice::ReadOnly);
    return checkBackup(device);
}

QStringList names(const std::vector<RawEntry> &entries)
{
    QStringList names;
    for (const RawEntry &entry : entries)
        names << QString::fromUtf8(entry.name);
    return names;
}

RawEntry *entryNamed(std::vector<RawEntry> &entries, const char16_t *name)
{
    for (RawEntry &entry : entries)
        if (entry.name == QString::fromUtf16(name).toUtf8())
            return &entry;
    return nullptr;
}

} // namespace

class BackupTest : public QObject
{
    Q_OBJECT

private slots:
    void theManifestNamesEveryFileWithItsSizeDigestAndCount()
    {
        Folder diary({{u"yonghu.dat"_qs, g(u"张三\r\n")}, {u"张三.dat"_qs, QByteArray()}});
        const Backup backup = diary.backup();
        const QByteArray expected = "\xEF\xBB\xBF"
                                    + QStringLiteral("Velmora 日记备份清单\r\n格式：1\r\n程序版本：%1\r\n"
                                                     "备份时间：2026年12月08日 09:30:00\r\n用户（1 位）：张三\r\n\r\n"
                                                     "文件名\t字节数\tSHA-256\t内容\r\n"
                                                     "yonghu.dat\t6\t033aae8aac2a86e1ac650f6579133a151c1430821dccd82f78ca6cacba23746c\t1 位用户\r\n"
                                                     "张三.dat\t0\te3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855\t0 条记录\r\n\r\n")
                                          .arg(programVersion())
                                          .toUtf8();
        const QByteArray text = rawEntries(backup.zip).front().content;
        QCOMPARE(text.left(expected.size()), expected);
        QVERIFY(text.endsWith("不完整或被改动过的文件不会被恢复。\r\n"));
        QString why;
        QCOMPARE(readManifest(text, &why), backup.manifest);
        // A clock with milliseconds: the manifest has seconds, and the written backup reads back the same.
        const std::optional<Backup> later = makeBackup(diary.folder, Now.addMSecs(1234), nullptr);
        QCOMPARE(later->manifest.made, Now.addSecs(1));
        QVERIFY(writeBackup(QDir(diary.dir.path()).filePath(u"b.zip"_qs), *later));
    }

    void aNameWithPercentSignsStaysItself()
    {
        Folder diary({{u"yonghu.dat"_qs, g(u"百分%1%2\r\n")}, {u"百分%1%2.dat"_qs, womanEntries(1)}});
        const Backup backup = diary.backup();
        QCOMPARE(backup.manifest.users(), QStringList{u"百分%1%2"_qs});
        QString why;
        QCOMPARE(readManifest(rawEntries(backup.zip).front().content, &why), backup.manifest);
        QCOMPARE(listingOf(QDir(diary.dir.path()).filePath(u"none.zip"_qs)).contents, u"无法打开"_qs);
    }

    // Every file of every listed user, byte for byte under its name; a file
    // of a user who is not on the list is no part of the diary.
    void theZipHoldsEveryFileOfTheDiaryByteForByte()
    {
        QMap<QString, QByteArray> files = chineseDiary();
        Folder diary(files);
        QVERIFY(writeBytes(diary.folder.RecordFilePath(u"王五"_qs), womanEntries(2)));
        const Backup backup = diary.backup();
        const std::vector<RawEntry> entries = rawEntries(backup.zip);
        QCOMPARE(names(entries), (QStringList{u"清单.txt"_qs, u"yonghu.dat"_qs, u"张三.dat"_qs, u"张三.cvd"_qs,
                                              u"张三.bp"_qs, u"张三.med"_qs, u"李四.dat"_qs}));
        for (size_t i = 1; i < entries.size(); ++i)
            QCOMPARE(entries[i].content, files[QString::fromUtf8(entries[i].name)]);
        // The central directory marks every name beyond ASCII as UTF-8 (flag bit 11), for Windows' zip folders.
        int marked = 0;
        for (qsizetype at = backup.zip.indexOf("PK\x01\x02"); at >= 0; at = backup.zip.indexOf("PK\x01\x02", at + 4))
            marked += quint8(backup.zip[at + 9]) & 0x08 ? 1 : 0;
        QCOMPARE(marked, 6); // all but yonghu.dat
        const BackupCheck check = checked(backup.zip);
        QVERIFY(check.isComplete());
        QCOMPARE(check.users(), (QStringList{u"张三"_qs, u"李四"_qs}));
        QCOMPARE(check.find(u"张三.bp"_qs)->count, 2);
        QCOMPARE(check.find(u"张三.med"_qs)->count, 2);
        QCOMPARE(check.find(u"张三.cvd"_qs)->count, 2);
        QCOMPARE(check.find(u"张三.dat"_qs)->count, 3);
    }

    // A check names each damaged file and keeps the others.
    void theCheckFindsWhatIsDamaged_data()
    {
        QTest::addColumn<QByteArray>("zip");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("intact");
        const Backup backup = Folder().backup();
        std::vector<RawEntry> changed = rawEntries(backup.zip);
        entryNamed(changed, u"张三.bp")->content[60] = '9';
        QTest::newRow("a changed byte") << rawZip(changed) << u"张三.bp（内容与清单不符）"_qs << 5;
        std::vector<RawEntry> missing = rawEntries(backup.zip);
        std::erase_if(missing, [](const RawEntry &e) { return e.name == u"张三.bp"_qs.toUtf8(); });
        QTest::newRow("a missing file") << rawZip(missing) << u"张三.bp（备份中缺少这个文件）"_qs << 5;
        std::vector<RawEntry> extra = rawEntries(backup.zip);
        extra.push_back({u"王五.dat"_qs.toUtf8(), womanEntries(1)});
        QTest::newRow("an extra file") << rawZip(extra) << u"王五.dat（清单中没有这个文件）"_qs << 6;
        std::vector<RawEntry> shorter = rawEntries(backup.zip);
        entryNamed(shorter, u"李四.dat")->content.chop(2);
        QTest::newRow("a shorter file") << rawZip(shorter) << u"李四.dat（大小与清单不符）"_qs << 5;
        std::vector<RawEntry> recounted = rawEntries(backup.zip);
        QByteArray &manifest = entryNamed(recounted, u"清单.txt")->content;
        manifest.replace(u"\t3 条记录"_qs.toUtf8(), u"\t4 条记录"_qs.toUtf8());
        QTest::newRow("a count that differs") << rawZip(recounted) << u"张三.dat（读出 3 条记录，清单中是 4 条记录）"_qs << 5;
        QByteArray flipped = backup.zip;
        const qsizetype at = flipped.indexOf(u"李四.dat"_qs.toUtf8());
        flipped[at + 12] = char(flipped[at + 12] ^ 0x55); // inside its deflated data
        QTest::newRow("damaged data") << flipped << u"李四.dat（ZIP 文件已损坏）"_qs << 5;
        std::vector<RawEntry> unlisted = rawEntries(backup.zip);
        entryNamed(unlisted, u"yonghu.dat")->content = g(u"张三\r\n");
        QByteArray &list = entryNamed(unlisted, u"清单.txt")->content;
        const QByteArray oldLine = "yonghu.dat\t12\t" + sha256Hex(g(u"张三\r\n李四\r\n"));
        QVERIFY(list.contains(oldLine));
        list.replace(oldLine, "yonghu.dat\t6\t" + sha256Hex(g(u"张三\r\n")));
        list.replace(u"\t2 位用户"_qs.toUtf8(), u"\t1 位用户"_qs.toUtf8());
        QTest::newRow("a user not on the list") << rawZip(unlisted) << u"李四.dat（不在备份的用户列表中）"_qs << 5;
    }

    void theCheckFindsWhatIsDamaged()
    {
        QFETCH(QByteArray, zip);
        QFETCH(QString, damage);
        QFETCH(int, intact);
        const BackupCheck check = checked(zip);
        QCOMPARE(check.refusal, QString());
        QCOMPARE(check.damagedText(), damage);
        QCOMPARE(int(check.files.size()), intact);
        QVERIFY(!check.isComplete());
    }

    // Two years of daily starts (with ten weeks away in the summer), each
    // followed by thinning: the last 7 days, one a week for 8 weeks, one a
    // month for 12 months; with 3 MB backups, 50 MB at most.
    void thinningKeepsDaysWeeksAndMonths_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("kept");
        QTest::newRow("1 MB each") << qint64(1000000)
                                   << u"20261231 20261230 20261229 20261228 20261227 20261226 20261225 20261220 "
                                      "20261213 20261206 20261130 20261129 20261122 20261115 20261031 20260930 "
                                      "20260709 20260630 20260531 20260430 20260331 20260228 20260131 20251231"_qs;
        QTest::newRow("3 MB each") << qint64(3000000)
                                   << u"20261231 20261230 20261229 20261228 20261227 20261226 20261225 20261220 "
                                      "20261213 20261206 20261130 20261129 20261122 20261115 20261031"_qs;
    }

    void thinningKeepsDaysWeeksAndMonths()
    {
        QFETCH(qint64, size);
        QFETCH(QString, kept);
        std::vector<DatedBackup> backups; // newest first
        size_t most = 0;
        for (QDate day(2025, 1, 1); day <= QDate(2026, 12, 31); day = day.addDays(1)) {
            if (day >= QDate(2026, 7, 10) && day <= QDate(2026, 9, 20))
                continue;
            backups.insert(backups.begin(), {day, size});
            const std::vector<bool> keep = backupsToKeep(backups);
            for (size_t i = backups.size(); i-- > 0;)
                if (!keep[i])
                    backups.erase(backups.begin() + qsizetype(i));
            most = std::max(most, backups.size());
        }
        QStringList days;
        for (const DatedBackup &backup : backups)
            days << backup.day.toString(u"yyyyMMdd"_qs);
        QCOMPARE(days.join(u' '), kept);
        QVERIFY(most <= 7 + 8 + 12);
    }

    void oneBackupBeyondTheLimitStaysAlone()
    {
        const std::vector<bool> keep = backupsToKeep({{QDate(2026, 12, 8), 60000000}, {QDate(2026, 12, 7), 10}});
        QCOMPARE(keep, (std::vector<bool>{true, false}));
    }

    void backupNames_data()
    {
        QTest::addColumn<QStringList>("users");
        QTest::addColumn<QString>("name");
        QTest::newRow("one") << QStringList{u"张三"_qs} << u"Velmora备份-张三-2026年12月08日.zip"_qs;
        QTest::newRow("three") << QStringList{u"张三"_qs, u"李四"_qs, u"Ann"_qs}
                               << u"Velmora备份-张三、李四、Ann-2026年12月08日.zip"_qs;
        QTest::newRow("four") << QStringList{u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs} << u"Velmora备份-全部-2026年12月08日.zip"_qs;
        QTest::newRow("too long") << QStringList{QString(31, u'长')} << u"Velmora备份-全部-2026年12月08日.zip"_qs;
        QTest::newRow("none") << QStringList() << u"Velmora备份-无用户-2026年12月08日.zip"_qs;
    }

    void backupNames()
    {
        QFETCH(QStringList, users);
        QFETCH(QString, name);
        QCOMPARE(backupFileName(users, Now.date()), name);
        QCOMPARE(backupDay(name), Now.date());
    }

    void theDayIsReadOnlyFromTheProgramsOwnNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDate>("day");
        QTest::newRow("second of a day") << u"Velmora备份-全部-2026年12月08日-2.zip"_qs << QDate(2026, 12, 8);
        QTest::newRow("before a restore") << u"Velmora备份-张三-2026年12月08日-恢复前-12.zip"_qs << QDate(2026, 12, 8);
        QTest::newRow("a user named like a day") << u"Velmora备份-2025年01月01日-2026年12月08日.zip"_qs << QDate(2026, 12, 8);
        QTest::newRow("a person's file") << u"我的Velmora备份-全部-2026年12月08日.zip"_qs << QDate();
        QTest::newRow("no such day") << u"Velmora备份-全部-2026年02月30日.zip"_qs << QDate();
        QTest::newRow("not a zip") << u"Velmora备份-全部-2026年12月08日.zip.txt"_qs << QDate();
        QTest::newRow("no users") << u"Velmora备份-2026年12月08日.zip"_qs << QDate();
    }

    void theDayIsReadOnlyFromTheProgramsOwnNames()
    {
        QFETCH(QString, name);
        QFETCH(QDate, day);
        QCOMPARE(backupDay(name).value_or(QDate()), day);
    }

    void aSecondBackupOfADayGetsAFreeName()
    {
        QTemporaryDir dir;
        const QString name = backupFileName({u"张三"_qs}, Now.date());
        QCOMPARE(freeBackupPath(dir.path(), name), QDir(dir.path()).filePath(name));
        QVERIFY(writeBytes(QDir(dir.path()).filePath(name), "x"));
        QCOMPARE(freeBackupPath(dir.path(), name), QDir(dir.path()).filePath(u"Velmora备份-张三-2026年12月08日-2.zip"_qs));
    }

    void theStateFileIsGbkWithCrLf()
    {
        const BackupState state{u"E:/日记备份"_qs, QDate(2026, 12, 1), QDate(2026, 12, 2), u"磁盘空间不足"_qs, true};
        const QByteArray bytes = g(u"第二个备份文件夹=E:/日记备份\r\n最近一次自动备份=2026-12-01\r\n"
                                   u"自动备份失败始于=2026-12-02\r\n失败原因=磁盘空间不足\r\n已经提醒=是\r\n");
        QCOMPARE(backupStateContent(state), bytes);
        QCOMPARE(readBackupState(bytes), state);
        QCOMPARE(readBackupState(g(u"# 手写的行\r\n最近一次自动备份=2026-13-01\r\n")), BackupState{});
        BackupState emoji;
        emoji.secondFolder = u"E:/😀"_qs;
        QVERIFY(!backupStateContent(emoji));
    }

    void removableDrivesComeFirst()
    {
        std::vector<Drive> drives{{u"C:/"_qs, {}, false}, {u"E:/"_qs, u"U盘"_qs, true}, {u"D:/"_qs, {}, false},
                                  {u"F:/"_qs, {}, true}};
        putRemovableFirst(drives);
        QCOMPARE(drives, (std::vector<Drive>{{u"E:/"_qs, u"U盘"_qs, true}, {u"F:/"_qs, {}, true}, {u"C:/"_qs, {}, false},
                                             {u"D:/"_qs, {}, false}}));
    }

    void linuxTellsRemovableMounts_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<bool>("flag");
        QTest::addColumn<bool>("removable");
        QTest::newRow("a stick the desktop mounted") << u"/media/anna/STICK"_qs << false << true;
        QTest::newRow("one mounted by udisks") << u"/run/media/anna/CARD"_qs << false << true;
        QTest::newRow("a card mounted by hand") << u"/mnt/card"_qs << true << true;
        QTest::newRow("a disk") << u"/home"_qs << false << false;
        QTest::newRow("a system started from a stick") << u"/"_qs << true << false;
    }

    void linuxTellsRemovableMounts()
    {
        QFETCH(QString, root);
        QFETCH(bool, flag);
        QFETCH(bool, removable);
        QCOMPARE(isRemovableMount(root, flag), removable);
    }

    // What the system of this test run offers: ready folders, removable ones first.
    void theDrivesOfThisSystem()
    {
        const std::vector<Drive> drives = backupDrives();
        bool fixedSeen = false;
        for (const Drive &drive : drives) {
            QVERIFY2(QFileInfo(drive.root).isDir(), qPrintable(drive.root));
            QVERIFY(!(fixedSeen && drive.removable));
            fixedSeen = fixedSeen || !drive.removable;
        }
#ifdef Q_OS_WIN
        QVERIFY(std::any_of(drives.begin(), drives.end(), [](const Drive &d) { return d.root == u"C:/"_qs && !d.removable; }));
#else
        QVERIFY(std::none_of(drives.begin(), drives.end(), [](const Drive &d) { return d.root == u"/"_qs; }));
#endif
    }

    // The list of automatic backups shows each one's users and records from its manifest.
    void automaticBackupsAreListedFromTheirManifests()
    {
        Folder diary;
        AutoBackups backups(diary.folder);
        QVERIFY(backups.dailyIfDue(Now)->result);
        QVERIFY(writeBytes(QDir(backups.folderPath()).filePath(u"Velmora备份-全部-2026年12月01日.zip"_qs), "not a zip"));
        const std::vector<BackupListing> listed = backups.list();
        QCOMPARE(listed.size(), size_t(2));
        QCOMPARE(listed[0].made, Now);
        QCOMPARE(listed[0].contents, u"张三 3 条记录、李四 1 条记录"_qs);
        QVERIFY(!listed[1].made.isValid());
        QCOMPARE(listed[1].contents, u"不是 ZIP 压缩文件"_qs);
    }
};

QTEST_GUILESS_MAIN(BackupTest)
#include "tst_backup.moc"
