// The diary's home blood pressure readings: stored through the diary, kept in
// "<name>.bp" beside the records, guarded and undone as the records are, and
// following their user.

#include "diary/diary.h"
#include "diary/messages.h"
#include "diary_support.h"

#include <QDir>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

struct Readings : AnnAndBob
{
    Readings() : AnnAndBob(QDateTime(QDate(2024, 11, 21), QTime(7, 35, 20))) {}
    Outcome record(const QString &systolic, const QString &diastolic, const QString &pulse = QString(),
                   const QString &note = QString(), QTime time = QTime(7, 30))
    {
        return diary.recordBloodPressure({QDateTime(now.date(), time), systolic, diastolic, pulse, note});
    }
    QByteArray bp(const QString &user = QStringLiteral("Ann")) const { return userFile(UserFile::BloodPressure, user); }
};

const QByteArray Header = g(u"时间\t收缩压\t舒张压\t脉搏\t来源\t备注") + "\r\n";

QByteArray line(const QByteArray &stamp, const QByteArray &values, const QByteArray &note = {})
{
    return stamp + "\t" + values + "\t" + g(u"手动") + "\t" + note + "\r\n";
}

} // namespace

class HomeReadingsTest : public QObject
{
    Q_OBJECT

private slots:
    void aReadingIsStoredInItsOwnFileInTimeOrder()
    {
        Readings r;
        QCOMPARE(r.record(u"138"_qs, u"88"_qs, u"72"_qs, u" 左臂 "_qs).changed, Outcome::Change::Readings);
        QVERIFY(r.record(u"136"_qs, u"86"_qs, {}, {}, QTime(6, 58)).saved());
        QVERIFY(r.messages.shown.isEmpty());
        QCOMPARE(r.bp(), Header + line("20241121065800", "136\t86\t") + line("20241121073000", "138\t88\t72", g(u"左臂")));
        QCOMPARE(QFileInfo(r.folder.userFilePath(u"Ann"_qs, UserFile::BloodPressure)).fileName(), u"Ann.bp"_qs);
        // The records and the other user are untouched.
        QCOMPARE(r.records(), womanEntries(2));
        QVERIFY(!fileExists(r.folder.userFilePath(u"Bob"_qs, UserFile::BloodPressure)));
        QCOMPARE(r.diary.homeReadings(u"Ann"_qs)->entries.size(), size_t(2));
    }

    void badValuesAreRefusedAndNothingWritten_data()
    {
        QTest::addColumn<QString>("systolic");
        QTest::addColumn<QString>("diastolic");
        QTest::addColumn<QString>("pulse");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("message");
        const QTime t(7, 30);
        QTest::newRow("no systolic") << "" << "80" << "" << "" << t << "请输入收缩压！";
        QTest::newRow("no diastolic") << "120" << " " << "" << "" << t << "请输入舒张压！";
        QTest::newRow("a decimal") << "120.5" << "80" << "" << "" << t << "收缩压应为整数，请核对！";
        QTest::newRow("pulse not a number") << "120" << "80" << "7x" << "" << t << "脉搏应为整数，请核对！";
        QTest::newRow("systolic 301") << "301" << "80" << "" << "" << t << "收缩压应在 60 到 300 之间，请核对！";
        QTest::newRow("diastolic above") << "120" << "125" << "" << "" << t << "舒张压应低于收缩压，请核对！";
        QTest::newRow("pulse 19") << "120" << "80" << "19" << "" << t << "脉搏应在 20 到 250 之间，请核对！";
        QTest::newRow("a tab in the note") << "120" << "80" << "" << "a\tb" << t << "备注不能含有制表符或换行，请修改！";
        QTest::newRow("a line break") << "120" << "80" << "" << "a\nb" << t << "备注不能含有制表符或换行，请修改！";
        QTest::newRow("not GBK") << "120" << "80" << "" << "😀" << t << "备注含有不能保存的字符，请修改！";
        QTest::newRow("later than now") << "120" << "80" << "" << "" << QTime(7, 36) << "测量时间不能晚于现在，请核对！";
    }

    void badValuesAreRefusedAndNothingWritten()
    {
        QFETCH(QString, systolic);
        QFETCH(QString, diastolic);
        QFETCH(QString, pulse);
        QFETCH(QString, note);
        QFETCH(QTime, time);
        QFETCH(QString, message);
        Readings r;
        QVERIFY(!r.record(systolic, diastolic, pulse, note, time).saved());
        QCOMPARE(r.messages.shown, QStringList{message});
        QVERIFY(!fileExists(r.folder.userFilePath(u"Ann"_qs, UserFile::BloodPressure)));
        QVERIFY(!r.diary.canUndo());
    }

    void withoutAUserNothingIsStored()
    {
        Readings r;
        Diary fresh(r.folder, r.messages, [&] { return r.now; });
        QVERIFY(fresh.load());
        QVERIFY(!fresh.recordBloodPressure({r.now, u"120"_qs, u"80"_qs, {}, {}}).saved());
        QCOMPARE(r.messages.shown, QStringList{u"清选择或添加用户!"_qs});
    }

    void theSameReadingTwiceIsStoredOnlyWhenAsked()
    {
        Readings r;
        QVERIFY(r.record(u"138"_qs, u"88"_qs).saved());
        r.messages.answers = {false};
        QVERIFY(!r.record(u"138"_qs, u"88"_qs).saved());
        QCOMPARE(r.messages.last(), u"2024年11月21日 07:30 已有一条相同的读数（138/88），还要再存一条吗？"_qs);
        QCOMPARE(r.bp(), Header + line("20241121073000", "138\t88\t"));
        QVERIFY(r.record(u"138"_qs, u"88"_qs).saved());
        QCOMPARE(r.bp().count('\n'), 3);
    }

    void undoTakesReadingsBack()
    {
        Readings r;
        QVERIFY(r.record(u"138"_qs, u"88"_qs).saved());
        const QByteArray one = r.bp();
        QVERIFY(r.record(u"130"_qs, u"80"_qs, {}, {}, QTime(7, 32)).saved());
        r.diary.undoLastChange(ChartStyle::Bars);
        QCOMPARE(r.messages.last(), messages::confirmUndo(u"Ann"_qs, u"记录血压"_qs));
        QCOMPARE(r.bp(), one);
        QCOMPARE(r.diary.homeReadings(u"Ann"_qs)->entries.size(), size_t(1));
        // The first reading made the file: its undo removes it again.
        QCOMPARE(r.diary.undoLastChange(ChartStyle::Bars).changed, Outcome::Change::Readings);
        QVERIFY(!fileExists(r.folder.userFilePath(u"Ann"_qs, UserFile::BloodPressure)));
        QCOMPARE(r.records(), womanEntries(2));
    }

    void anOutsideChangeIsNeverOverwritten()
    {
        Readings r;
        QVERIFY(r.record(u"138"_qs, u"88"_qs).saved());
        const QByteArray changed = r.bp() + "20241121080000\t120\t80\t\tx\t\r\n";
        r.writeUserFile(UserFile::BloodPressure, changed);
        r.diary.undoLastChange(ChartStyle::Bars);
        QCOMPARE(r.messages.last(), messages::undoRefused(u"Ann"_qs));
        QCOMPARE(r.bp(), changed);
        QVERIFY(!r.diary.canUndo());
        // The readings as the file holds them now.
        QCOMPARE(r.diary.homeReadings(u"Ann"_qs)->entries.size(), size_t(2));
    }

    void aFullDiskLeavesTheFileAsItWas()
    {
        Readings r;
        QVERIFY(r.record(u"138"_qs, u"88"_qs).saved());
        const QByteArray one = r.bp();
        r.folder.failAfterBytes = 20;
        QVERIFY(!r.record(u"130"_qs, u"80"_qs).saved());
        QVERIFY(r.messages.last().startsWith(u"数据保存失败，原有数据没有改动！"_qs));
        QCOMPARE(r.bp(), one);
        QCOMPARE(QDir(r.dir.path()).entryList(QDir::Files).size(), 4); // the list, two record files, Ann.bp
        r.folder.failAfterBytes = -1;
        r.diary.undoLastChange(ChartStyle::Bars); // the failed store left no step
        QVERIFY(!fileExists(r.folder.userFilePath(u"Ann"_qs, UserFile::BloodPressure)));
    }

    void linesItCannotReadAreCountedOnceAndKept()
    {
        Readings r;
        const QByteArray odd = "20241120 07:30\t140\t90\r\n";
        r.writeUserFile(UserFile::BloodPressure, Header + odd + line("20241120210000", "130\t80\t"));
        QVERIFY(r.record(u"138"_qs, u"88"_qs).saved());
        QCOMPARE(r.messages.shown, QStringList{messages::unreadableLines(u"Ann.bp"_qs, 1)});
        QCOMPARE(r.bp(), Header + odd + line("20241120210000", "130\t80\t") + line("20241121073000", "138\t88\t"));
        QVERIFY(r.record(u"136"_qs, u"86"_qs, {}, {}, QTime(7, 33)).saved());
        QCOMPARE(r.messages.shown.size(), 1); // said once
        QVERIFY(r.bp().startsWith(Header + odd));
    }

    void theReadingsGoWithTheirUserOrNotAtAll()
    {
        Readings r;
        QVERIFY(r.record(u"138"_qs, u"88"_qs).saved());
        r.diary.display(u"Ann"_qs, ChartStyle::Bars);
        QVERIFY(r.diary.saveCvdAnswers({true, false, false}).saved());
        const QByteArray bp = r.bp(), cvd = r.userFile(UserFile::CvdAnswers);
        // Another program holds Ann.bp: nothing goes, the list keeps her.
        r.folder.failMoveOf = u".bp"_qs;
        r.diary.deleteUser(u"Ann"_qs);
        QVERIFY(r.messages.last().startsWith(u"用户删除失败，数据没有改动！"_qs));
        QCOMPARE(r.bp(), bp);
        QCOMPARE(r.userFile(UserFile::CvdAnswers), cvd);
        QCOMPARE(r.records(), womanEntries(2));
        QCOMPARE(r.list(), crlfLines({"Ann", "Bob"}));
        QCOMPARE(QDir(r.dir.path()).entryList(QDir::Files).size(), 5); // nothing left aside
        r.folder.failMoveOf.clear();
        r.diary.deleteUser(u"Ann"_qs);
        QCOMPARE(r.messages.last(), u"该用户已经成功删除！"_qs);
        QCOMPARE(QDir(r.dir.path()).entryList(QDir::Files), (QStringList{u"Bob.dat"_qs, u"yonghu.dat"_qs}));
        // Undo does not bring a deleted user's readings back.
        r.diary.undoLastChange(ChartStyle::Bars);
        QCOMPARE(r.messages.last(), messages::undoRefused(u"Ann"_qs));
        QVERIFY(!fileExists(r.folder.userFilePath(u"Ann"_qs, UserFile::BloodPressure)));
    }

    void theStartUpCleanUpKeepsReadingsOfAnyName()
    {
        Readings r;
        const QString odd = u"x.velmora-tmp-ab"_qs;
        r.writeUserFile(UserFile::BloodPressure, Header, odd);
        QVERIFY(r.diary.load());
        QCOMPARE(r.userFile(UserFile::BloodPressure, odd), Header);
    }
};

QTEST_GUILESS_MAIN(HomeReadingsTest)
#include "tst_home_readings.moc"
