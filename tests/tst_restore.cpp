// Backups and restores through the diary: made by hand and each day, then
// brought back whole or user by user, byte for byte; refused when hostile or
// damaged with nothing written anywhere; all or nothing when a step fails.

#include "backup/backup_check.h"
#include "diary/diary.h"
#include "diary/messages.h"
#include "diary_support.h"
#include "records/file_errors.h"
#include "zip_support.h"

#include <QDirIterator>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

class ScriptedChoice : public RestoreChoice
{
public:
    std::optional<RestoreRequest> answer;
    QString summary;
    QStringList users;
    bool wholeOffered = false;
    int asked = 0;

    std::optional<RestoreRequest> choose(const QString &text, const QStringList &offered, bool whole) override
    {
        ++asked;
        summary = text;
        users = offered;
        wholeOffered = whole;
        return answer;
    }
};

QString madeFolder(const QTemporaryDir &root, const QString &name)
{
    QDir(root.path()).mkdir(name);
    return QDir(root.path()).filePath(name);
}

// A data folder "数据" inside a folder of its own, beside a stick "U盘".
struct Restoring
{
    QTemporaryDir root;
    QString data = madeFolder(root, u"数据"_qs);
    QString stick = madeFolder(root, u"U盘"_qs);
    FaultyFolder folder{data};
    ScriptedMessages messages;
    QDateTime now{QDate(2026, 12, 8), QTime(9, 30, 0)};
    std::unique_ptr<Diary> diary;
    ScriptedChoice choice;

    explicit Restoring(const QMap<QString, QByteArray> &files = chineseDiary())
    {
        writeFiles(data, files);
        start();
    }
    void start()
    {
        diary = std::make_unique<Diary>(folder, messages, [this] { return now; });
        QVERIFY(diary->load());
    }
    // A backup by hand onto the stick, its path.
    QString backUp()
    {
        messages.answers = {false}; // no copy of the daily ones to the stick
        diary->backUpTo(stick);
        messages.shown.clear();
        const QStringList zips = QDir(stick).entryList(QDir::Files, QDir::Time);
        return zips.isEmpty() ? QString() : QDir(stick).filePath(zips.first());
    }
    Outcome restore(const QString &path, std::optional<RestoreRequest> answer)
    {
        choice.answer = std::move(answer);
        return diary->restoreBackup(path, choice);
    }
    // The diary's own files, without the backups and their state.
    QMap<QString, QByteArray> diaryFiles() const
    {
        QMap<QString, QByteArray> files = filesIn(data);
        files.remove(u"备份设置.txt"_qs);
        return files;
    }
    QByteArray file(const QString &user, UserFile kind = UserFile::Records) const
    {
        return readBytes(folder.userFilePath(user, kind));
    }
    void write(const QString &user, UserFile kind, const QByteArray &bytes) const
    {
        QVERIFY(writeBytes(folder.userFilePath(user, kind), bytes));
    }
    QStringList backupsMade() const { return QDir(QDir(data).filePath(u"备份"_qs)).entryList(QDir::Files); }
    // Every file and folder under the root, with its content.
    QMap<QString, QByteArray> everything() const
    {
        QMap<QString, QByteArray> all;
        QDirIterator it(root.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            all[it.filePath()] = it.fileInfo().isDir() ? QByteArray("<folder>") : readBytes(it.filePath());
        }
        return all;
    }
};

RestoreRequest whole()
{
    return {true, {}};
}

RestoreRequest usersOnly(const QStringList &users)
{
    return {false, users};
}

const QString ZhangSan = QStringLiteral("张三");
const QString LiSi = QStringLiteral("李四");

} // namespace

class RestoreTest : public QObject
{
    Q_OBJECT

private slots:
    void aBackupByHandSaysWhereAndWhatAndOffersItsFolderForTheDailyOnes()
    {
        Restoring r;
        r.messages.answers = {true};
        QCOMPARE(r.diary->backUpTo(r.stick).saved(), false);
        const QString path = QDir(r.stick).filePath(u"Velmora备份-张三、李四-2026年12月08日.zip"_qs);
        QCOMPARE(r.messages.shown,
                 (QStringList{messages::backedUp(path, u"共 2 位用户：张三 3 条记录、2 项回答、2 次血压读数、2 条用药记录；"
                                                       "李四 1 条记录。"_qs),
                              messages::offerSecondFolder(r.stick)}));
        QCOMPARE(r.diary->automaticBackupFolder(), QDir(r.data).filePath(u"备份"_qs));
        QCOMPARE(readBytes(QDir(r.data).filePath(u"备份设置.txt"_qs)),
                 gbk(u"第二个备份文件夹=%1\r\n"_qs.arg(r.stick)));
        // Once it is the second folder, nothing is asked; the second backup of the day gets its own name.
        r.messages.shown.clear();
        r.diary->backUpTo(r.stick);
        QCOMPARE(r.messages.shown.size(), 1);
        QCOMPARE(QDir(r.stick).entryList(QDir::Files),
                 (QStringList{u"Velmora备份-张三、李四-2026年12月08日-2.zip"_qs, u"Velmora备份-张三、李四-2026年12月08日.zip"_qs}));
    }

    void aBackupThatCannotBeMadeSaysWhyAndLeavesNothing()
    {
        Restoring r;
        const QString gone = QDir(r.root.path()).filePath(u"拔掉的U盘"_qs);
        r.diary->backUpTo(gone);
        QCOMPARE(r.messages.last(), messages::backupFailed(u"文件夹不存在：%1"_qs.arg(QDir::toNativeSeparators(gone))));
        r.folder.failRecordReads = true;
        r.diary->backUpTo(r.stick);
        QCOMPARE(r.messages.last(), messages::backupFailed(u"读取文件时出错"_qs));
        QCOMPARE(QDir(r.stick).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // Both ways back: the whole diary replaced by its backup, and one deleted
    // user brought back alone; every file byte for byte.
    void theWholeDiaryComesBackByteForByte()
    {
        Restoring r;
        const QMap<QString, QByteArray> before = r.diaryFiles();
        const QString backup = r.backUp();
        r.messages.answers = {true};
        r.diary->deleteUser(ZhangSan);
        r.diary->confirmUser(u"王五"_qs);
        r.diary->StoreRecord(woman(), ChartStyle::Bars);
        QVERIFY(r.diary->canUndo());
        const QMap<QString, QByteArray> changed = r.diaryFiles();
        r.messages.shown.clear();
        QCOMPARE(r.restore(backup, whole()).userListChanged, true);
        QCOMPARE(r.choice.summary, u"备份时间：2026年12月08日 09:30:00\n将恢复 2 位用户：张三 3 条记录、2 项回答、2 次血压读数、"
                                   "2 条用药记录；李四 1 条记录；当前日记先备份。"_qs);
        QCOMPARE(r.choice.users, (QStringList{ZhangSan, LiSi}));
        QVERIFY(r.choice.wholeOffered);
        QCOMPARE(r.diaryFiles(), before);
        const QString safety = QDir(r.diary->automaticBackupFolder()).filePath(u"Velmora备份-李四、王五-2026年12月08日-恢复前.zip"_qs);
        QCOMPARE(r.messages.shown, QStringList{messages::restored(u"日记已换成 2026年12月08日 09:30:00 的备份（2 位用户）。"_qs, safety)});
        QVERIFY(!r.diary->canUndo());
        QCOMPARE(r.diary->userNames(), (QStringList{ZhangSan, LiSi}));
        QVERIFY(r.diary->currentUser().isEmpty());
        // The backup made before the restore takes it back.
        r.messages.shown.clear();
        r.restore(safety, whole());
        QCOMPARE(r.diaryFiles(), changed);
    }

    void aDeletedUserComesBackAlone()
    {
        Restoring r;
        const QMap<QString, QByteArray> before = r.diaryFiles();
        const QString backup = r.backUp();
        r.diary->deleteUser(ZhangSan);
        r.diary->confirmUser(LiSi);
        r.diary->StoreRecord(woman(), ChartStyle::Bars);
        const QByteArray liSi = r.diaryFiles()[u"李四.dat"_qs];
        r.messages.shown.clear();
        r.restore(backup, usersOnly({ZhangSan}));
        QMap<QString, QByteArray> expected = before;
        expected[u"yonghu.dat"_qs] = g(u"李四\r\n张三\r\n");
        expected[u"李四.dat"_qs] = liSi;
        QCOMPARE(r.diaryFiles(), expected);
        QVERIFY(r.messages.last().startsWith(u"恢复完成。张三：加回日记，3 条记录、2 次血压读数、2 项回答、2 条用药记录。"_qs));
        QVERIFY(r.messages.last().endsWith(u"本次运行中此前的修改已不能再撤销。"_qs));
    }

    // As an import: what the user has stays, what it lacks comes back.
    void aUserOnTheListGainsWhatItLacks()
    {
        Restoring r;
        const QString backup = r.backUp();
        QMap<QString, QByteArray> files = chineseDiary();
        const QByteArray later = entriesAt({u"20100101000001"_qs, u"20120101000000"_qs});
        r.write(ZhangSan, UserFile::Records, later);
        r.write(ZhangSan, UserFile::CvdAnswers, g(u"糖尿病=是\r\n"));
        const QByteArray bp = files[u"张三.bp"_qs];
        r.write(ZhangSan, UserFile::BloodPressure, bp.left(bp.lastIndexOf("20241122")));
        const QByteArray med = files[u"张三.med"_qs];
        const QByteArray ownEvent = "20241121090000\t" + g(u"单次\t阿司匹林\t\t\t") + "\r\n";
        r.write(ZhangSan, UserFile::Medicines, med.left(med.indexOf("\r\n") + 2) + ownEvent);
        r.restore(backup, usersOnly({ZhangSan}));
        // 20100101000001 is in both (the file's values stay); 20100101000000 and ...02 come back in time order.
        std::vector<HealthRecord> expected = entriesOf(womanEntries(3));
        expected[1] = entriesOf(later)[0];
        expected.push_back(entriesOf(later)[1]);
        QCOMPARE(entriesOf(r.file(ZhangSan)), expected);
        QCOMPARE(r.file(ZhangSan, UserFile::CvdAnswers), g(u"吸烟=是\r\n糖尿病=是\r\n"));
        QCOMPARE(r.file(ZhangSan, UserFile::BloodPressure), bp);
        const qsizetype second = med.indexOf("20241122");
        QCOMPARE(r.file(ZhangSan, UserFile::Medicines), med.left(second) + ownEvent + med.mid(second));
        QVERIFY(r.messages.last().startsWith(u"恢复完成。张三：新增 2 条记录、1 次血压读数、1 项回答、2 条用药记录。"_qs));
    }

    void aRestoreFailingHalfWayLeavesTheDiaryAsItWas_data()
    {
        QTest::addColumn<QString>("unmovable");
        QTest::addColumn<qint64>("failAfterBytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a file held open") << u"李四.dat"_qs << qint64(-1)
                                          << writeFailureReason(QFileDevice::RenameError, u"李四.dat"_qs);
        QTest::newRow("a full disk") << QString() << qint64(10) << reasons::diskFull();
    }

    void aRestoreFailingHalfWayLeavesTheDiaryAsItWas()
    {
        QFETCH(QString, unmovable);
        QFETCH(qint64, failAfterBytes);
        QFETCH(QString, reason);
        Restoring r;
        const QString backup = r.backUp();
        r.diary->deleteUser(ZhangSan);
        r.write(LiSi, UserFile::Records, womanEntries(2));
        const QMap<QString, QByteArray> before = r.diaryFiles();
        r.folder.failMoveOf = unmovable;
        r.folder.failAfterBytes = failAfterBytes;
        r.messages.shown.clear();
        QVERIFY(!r.restore(backup, whole()).saved());
        QCOMPARE(r.messages.shown.size(), 1);
        QVERIFY2(r.messages.last().startsWith(messages::restoreFailed(QString()).section(u'：', 0, 0)), qPrintable(r.messages.last()));
        QVERIFY2(r.messages.last().contains(reason.section(u'：', 0, 0)), qPrintable(r.messages.last()));
        QCOMPARE(r.diaryFiles(), before);
        QCOMPARE(r.backupsMade().size(), 1); // the one made before, which holds the diary as it is
    }

    void hostileBackupsAreRefusedWithNothingWritten_data()
    {
        QTest::addColumn<QByteArray>("zip");
        QTest::addColumn<QString>("reason");
        Restoring maker;
        const QByteArray good = readBytes(maker.backUp());
        const auto with = [&](RawEntry added) {
            std::vector<RawEntry> entries = rawEntries(good);
            entries.push_back(std::move(added));
            return rawZip(entries);
        };
        QTest::newRow("../") << with({"../evil.dat", "x"}) << u"“../evil.dat”指向程序文件夹之外"_qs;
        QTest::newRow("absolute") << with({"/tmp/velmora-evil.dat", "x"}) << u"“/tmp/velmora-evil.dat”是绝对路径，指向程序文件夹之外"_qs;
        QTest::newRow("drive letter") << with({"C:/evil.dat", "x"}) << u"“C:/evil.dat”带有驱动器号，指向程序文件夹之外"_qs;
        QTest::newRow("drive, no slash") << with({"C:evil.dat", "x"}) << u"“C:evil.dat”带有驱动器号，指向程序文件夹之外"_qs;
        QTest::newRow("backslashes") << with({"..\\evil.dat", "x"}) << u"“..\\evil.dat”的名字含有反斜杠，可能指向程序文件夹之外"_qs;
        QTest::newRow("subfolder") << with({"a/evil.dat", "x"}) << u"“a/evil.dat”位于子文件夹中，Velmora 的备份没有子文件夹"_qs;
        QTest::newRow("link") << with({"王五.dat", "/etc/passwd", 0120777}) << u"“王五.dat”是一个链接"_qs;
        QTest::newRow("device name") << with({"CON.dat", "x"}) << u"“CON.dat”不是任何用户可能有的文件名"_qs;
        QTest::newRow("comma") << with({"a,b.dat", "x"}) << u"“a,b.dat”不是任何用户可能有的文件名"_qs;
        QTest::newRow("another file") << with({"autorun.inf", "x"}) << u"“autorun.inf”不是任何用户可能有的文件名"_qs;
        QTest::newRow("same name twice") << with({u"张三.DAT"_qs.toUtf8(), "x"}) << u"“张三.DAT”不是任何用户可能有的文件名"_qs;
        QTest::newRow("not a zip") << QByteArray("PK but no zip") << u"不是 ZIP 压缩文件"_qs;
        QTest::newRow("no manifest") << rawZip({{"yonghu.dat", "A\r\n"}, {"A.dat", ""}})
                                     << u"备份中没有清单（清单.txt），不是 Velmora 制作的备份"_qs;
        QTest::newRow("a foreign manifest") << rawZip({{u"清单.txt"_qs.toUtf8(), "apples 3"}, {"yonghu.dat", ""}})
                                            << u"备份中的清单不是 Velmora 写的"_qs;
        std::vector<RawEntry> later = rawEntries(good);
        later[0].content.replace(u"格式：1"_qs.toUtf8(), u"格式：2"_qs.toUtf8());
        QTest::newRow("a later format") << rawZip(later) << u"这个备份由更新版本的 Velmora 制作，请先更新本程序"_qs;
        std::vector<RawEntry> bomb = rawEntries(good);
        for (RawEntry &entry : bomb)
            if (entry.name == u"李四.dat"_qs.toUtf8())
                entry.content = QByteArray(20 << 20, '\0');
        QTest::newRow("a zip bomb") << rawZip(bomb) << u"“李四.dat”解压后比清单所说的大，可能是恶意构造的文件"_qs;
        QByteArray locked = good;
        for (qsizetype at = locked.indexOf("PK\x03\x04"); at >= 0; at = locked.indexOf("PK\x03\x04", at + 4))
            locked[at + 6] = char(locked[at + 6] | 1);
        for (qsizetype at = locked.indexOf("PK\x01\x02"); at >= 0; at = locked.indexOf("PK\x01\x02", at + 4))
            locked[at + 8] = char(locked[at + 8] | 1);
        QTest::newRow("encrypted") << locked << u"“清单.txt”有密码保护"_qs;
    }

    void hostileBackupsAreRefusedWithNothingWritten()
    {
        QFETCH(QByteArray, zip);
        QFETCH(QString, reason);
        Restoring r;
        const QString path = QDir(r.root.path()).filePath(u"来历不明.zip"_qs);
        QVERIFY(writeBytes(path, zip));
        const QMap<QString, QByteArray> before = r.everything();
        r.messages.shown.clear();
        r.restore(path, whole());
        QCOMPARE(r.messages.shown, QStringList{messages::backupRefused(reason)});
        QCOMPARE(r.choice.asked, 0);
        QCOMPARE(r.everything(), before);
        QVERIFY(!QFileInfo::exists(u"/tmp/velmora-evil.dat"_qs));
    }

    void aDamagedBackupIsOfferedInPartWithTheDamageNamed()
    {
        Restoring r;
        const QMap<QString, QByteArray> before = r.diaryFiles();
        std::vector<RawEntry> entries = rawEntries(readBytes(r.backUp()));
        for (RawEntry &entry : entries)
            if (entry.name == u"张三.bp"_qs.toUtf8())
                entry.content[60] = '9';
        const QString damaged = QDir(r.root.path()).filePath(u"damaged.zip"_qs);
        QVERIFY(writeBytes(damaged, rawZip(entries)));
        r.diary->deleteUser(ZhangSan);
        r.restore(damaged, usersOnly({ZhangSan}));
        QVERIFY(!r.choice.wholeOffered);
        QVERIFY(r.choice.summary.contains(u"张三 3 条记录、2 项回答、2 条用药记录；李四 1 条记录；当前日记先备份。"_qs));
        QVERIFY(r.choice.summary.endsWith(u"备份中这些文件已损坏，不会恢复：张三.bp（内容与清单不符）"_qs));
        QMap<QString, QByteArray> expected = before;
        expected.remove(u"张三.bp"_qs);
        expected[u"yonghu.dat"_qs] = g(u"李四\r\n张三\r\n");
        QCOMPARE(r.diaryFiles(), expected);
    }

    void nothingIsWrittenWhenNothingIsMissingOrTheChoiceIsCancelled()
    {
        Restoring r;
        const QString backup = r.backUp();
        r.restore(backup, usersOnly({ZhangSan, LiSi}));
        QCOMPARE(r.messages.last(), messages::NothingToRestore);
        r.restore(backup, std::nullopt);
        r.restore(backup, usersOnly({}));
        QCOMPARE(r.messages.last(), messages::NoUsersChosen);
        QCOMPARE(r.backupsMade(), QStringList());
    }

    void withoutABackupOfTheDiaryAsItIsNothingIsRestored()
    {
        Restoring r;
        const QString backup = r.backUp();
        r.diary->deleteUser(ZhangSan);
        QVERIFY(writeBytes(QDir(r.data).filePath(u"备份"_qs), "a file where the folder belongs"));
        const QMap<QString, QByteArray> before = r.diaryFiles();
        r.messages.shown.clear();
        r.restore(backup, whole());
        QCOMPARE(r.messages.shown, QStringList{messages::restoreNotBackedUp(
                                      u"无法建立备份文件夹：%1"_qs.arg(QDir::toNativeSeparators(QDir(r.data).filePath(u"备份"_qs))))});
        QCOMPARE(r.diaryFiles(), before);
    }

    void filesBesideTheListAreReplacedOnlyWhenThePersonAgrees()
    {
        Restoring r;
        const QString backup = r.backUp();
        r.diary->deleteUser(ZhangSan);
        r.write(ZhangSan, UserFile::Records, "left by hand\r\n");
        r.messages.answers = {false};
        r.messages.shown.clear();
        r.restore(backup, usersOnly({ZhangSan}));
        QCOMPARE(r.messages.shown, QStringList{messages::replacesUnlisted({u"张三.dat"_qs})});
        QCOMPARE(r.file(ZhangSan), QByteArray("left by hand\r\n"));
    }

    // Once a day, at the first start (or change) of the day; a week of
    // failures is told once, with the reason.
    void theDailyBackupAndAWeekOfFailures()
    {
        Restoring r;
        QDir(r.data).mkdir(u"备份"_qs);
        QVERIFY(writeBytes(QDir(r.data).filePath(u"备份/Velmora备份-全部-2026年12月07日.zip.velmora-tmp-AbC123"_qs), "cut short"));
        r.diary->backUpDailyIfDue();
        r.diary->backUpDailyIfDue();
        QCOMPARE(r.backupsMade(), QStringList{u"Velmora备份-张三、李四-2026年12月08日.zip"_qs});
        r.start(); // the same day again
        r.diary->backUpDailyIfDue();
        QCOMPARE(r.backupsMade().size(), 1);
        const QString folder = QDir(r.data).filePath(u"备份"_qs);
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(writeBytes(folder, "a file where the folder belongs"));
        const QString reason = u"无法建立备份文件夹：%1"_qs.arg(QDir::toNativeSeparators(folder));
        for (int day = 1; day <= 8; ++day) {
            r.now = r.now.addDays(1);
            r.start();
            r.messages.shown.clear();
            r.diary->backUpDailyIfDue();
            QCOMPARE(r.messages.shown, day == 7 ? QStringList{messages::backupsFailing(u"2026年12月09日"_qs, reason)}
                                                : QStringList());
        }
        QVERIFY(QFile::remove(folder));
        r.now = r.now.addDays(1);
        r.start();
        r.diary->backUpDailyIfDue();
        QCOMPARE(r.backupsMade(), QStringList{u"Velmora备份-张三、李四-2026年12月17日.zip"_qs});
        QCOMPARE(readBytes(QDir(r.data).filePath(u"备份设置.txt"_qs)), g(u"最近一次自动备份=2026-12-17\r\n"));
    }

    void theDailyBackupAlsoGoesToTheSecondFolderWhenItIsThere()
    {
        Restoring r;
        QVERIFY(writeBytes(QDir(r.data).filePath(u"备份设置.txt"_qs), gbk(u"第二个备份文件夹=%1\r\n"_qs.arg(r.stick))));
        r.diary->backUpDailyIfDue();
        QCOMPARE(QDir(r.stick).entryList(QDir::Files), QStringList{u"Velmora备份-张三、李四-2026年12月08日.zip"_qs});
        QVERIFY(QDir(r.stick).removeRecursively());
        r.now = r.now.addDays(1);
        r.start();
        r.diary->backUpDailyIfDue();
        QCOMPARE(r.messages.shown, QStringList());
        QCOMPARE(r.backupsMade().size(), 2);
    }

    void aFailedDailyBackupLeavesNoFolderBehind()
    {
        Restoring r;
        r.folder.failRecordReads = true;
        r.diary->backUpDailyIfDue();
        QVERIFY(!QFileInfo::exists(r.diary->automaticBackupFolder()));
        QCOMPARE(readBytes(QDir(r.data).filePath(u"备份设置.txt"_qs)),
                 g(u"自动备份失败始于=2026-12-08\r\n失败原因=读取文件时出错\r\n已经提醒=否\r\n"));
    }

    void anEmptyDiaryIsNotBackedUpEachDay()
    {
        Restoring r({{u"yonghu.dat"_qs, QByteArray()}});
        r.diary->backUpDailyIfDue();
        QCOMPARE(r.backupsMade(), QStringList());
        // The first user of the day is its first change: the day's backup follows.
        r.diary->confirmUser(ZhangSan);
        r.diary->backUpDailyIfDue();
        QCOMPARE(r.backupsMade(), QStringList{u"Velmora备份-张三-2026年12月08日.zip"_qs});
    }
};

QTEST_GUILESS_MAIN(RestoreTest)
#include "tst_restore.moc"
