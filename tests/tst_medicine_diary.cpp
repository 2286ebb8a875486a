// The diary's medicines: started, adjusted, stopped and taken once through
// the diary, refused with a message when they do not fit, kept in
// "<name>.med" beside the records, undone like any change, and following
// their user through deletion, a full disk and a change from outside.

#include "diary/diary.h"
#include "diary/messages.h"
#include "diary_support.h"

#include <QDir>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

using Action = MedicineAction;

struct Medicines : AnnAndBob
{
    Medicines() : AnnAndBob(QDateTime(QDate(2024, 3, 20), QTime(20, 15, 30))) {}
    Outcome take(Action action, const QString &name, const QString &dose = QString(), QDate day = QDate(2024, 3, 1),
                 const QString &frequency = QString(), const QString &note = QString())
    {
        return diary.recordMedicine({QDateTime(day, QTime(8, 0)), action, name, dose, frequency, note});
    }
    QByteArray med(const QString &user = QStringLiteral("Ann")) const { return userFile(UserFile::Medicines, user); }
    bool hasMed() const { return fileExists(folder.userFilePath(u"Ann"_qs, UserFile::Medicines)); }
};

const QByteArray Header = g(u"时间\t事件\t药名\t剂量\t用法\t备注") + "\r\n";

} // namespace

class MedicineDiaryTest : public QObject
{
    Q_OBJECT

private slots:
    void eventsAreStoredInTheirOwnFileInTimeOrder()
    {
        Medicines m;
        m.diary.display(u"Ann"_qs, ChartStyle::Bars);
        QVERIFY(m.diary.saveCvdAnswers({true, false, false}).saved());
        const QByteArray cvd = m.userFile(UserFile::CvdAnswers);
        QCOMPARE(m.take(Action::Start, u" 氨氯地平 "_qs, u"5 mg"_qs, QDate(2024, 3, 1), u"每日1次"_qs, u" 早饭后"_qs).changed,
                 Outcome::Change::Medicines);
        QVERIFY(m.take(Action::Adjust, u"氨氯地平"_qs, u"10 mg"_qs, QDate(2024, 3, 15), u"每日1次"_qs).saved());
        QVERIFY(m.take(Action::Single, u"阿司匹林"_qs, u"半片"_qs, QDate(2024, 3, 10)).saved());
        QVERIFY(m.take(Action::Stop, u"氨氯地平"_qs, {}, QDate(2024, 3, 20)).saved());
        QVERIFY(m.messages.shown.isEmpty());
        QCOMPARE(m.med(), Header + g(u"20240301080000\t开始\t氨氯地平\t5 mg\t每日1次\t早饭后\r\n"
                                     u"20240310080000\t单次\t阿司匹林\t半片\t\t\r\n"
                                     u"20240315080000\t调整\t氨氯地平\t10 mg\t每日1次\t\r\n"
                                     u"20240320080000\t停用\t氨氯地平\t\t\t\r\n"));
        QCOMPARE(QFileInfo(m.folder.userFilePath(u"Ann"_qs, UserFile::Medicines)).fileName(), u"Ann.med"_qs);
        // The records, the answers, the readings and the other user are untouched.
        QCOMPARE(m.records(), womanEntries(2));
        QCOMPARE(m.userFile(UserFile::CvdAnswers), cvd);
        QVERIFY(!fileExists(m.folder.userFilePath(u"Ann"_qs, UserFile::BloodPressure)));
        QVERIFY(!fileExists(m.folder.userFilePath(u"Bob"_qs, UserFile::Medicines)));
        QCOMPARE(m.diary.medicines(u"Ann"_qs)->entries.size(), size_t(4));
    }

    void refusalsSayWhyAndWriteNothing_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("message");
        const int start = int(Action::Start), adjust = int(Action::Adjust), stop = int(Action::Stop);
        const QDate day(2024, 3, 5);
        QTest::newRow("no name") << start << " " << "" << day << "请输入药名！";
        QTest::newRow("a tab in the name") << start << "A\tB" << "" << day << "药名不能含有制表符或换行，请修改！";
        QTest::newRow("a line break in the note") << start << "A" << "a\nb" << day << "备注不能含有制表符或换行，请修改！";
        QTest::newRow("not GBK") << start << "A😀" << "" << day << "药名含有不能保存的字符，请修改！";
        QTest::newRow("later than now") << start << "A" << "" << QDate(2024, 3, 21) << "用药时间不能晚于现在，请核对！";
        QTest::newRow("a new dose of nothing taken")
            << adjust << "B" << "" << day << "2024年03月05日 08:00时没有在服用“B”，不能调整！开始服用请用“开始服用…”。";
        QTest::newRow("a stop of nothing taken")
            << stop << "B" << "" << day << "2024年03月05日 08:00时没有在服用“B”，不能停用！开始服用请用“开始服用…”。";
        QTest::newRow("a new dose before the start")
            << adjust << "A" << "" << QDate(2024, 2, 29) << "2024年02月29日 08:00时没有在服用“A”，不能调整！开始服用请用“开始服用…”。";
        QTest::newRow("a start of one taken") << start << "a " << "" << day
                                              << "2024年03月05日 08:00时已在服用“a”（A 5 mg），剂量或用法改变请用“调整…”！";
    }

    void refusalsSayWhyAndWriteNothing()
    {
        QFETCH(int, action);
        QFETCH(QString, name);
        QFETCH(QString, note);
        QFETCH(QDate, day);
        QFETCH(QString, message);
        Medicines m;
        QVERIFY(m.take(Action::Start, u"A"_qs, u"5 mg"_qs).saved());
        const QByteArray before = m.med();
        QVERIFY(!m.take(Action(action), name, {}, day, {}, note).saved());
        QCOMPARE(m.messages.shown, QStringList{message});
        QCOMPARE(m.med(), before);
        m.diary.undoLastChange(ChartStyle::Bars);
        QCOMPARE(m.messages.last(), messages::confirmUndo(u"Ann"_qs, u"开始服用"_qs)); // the start is the last step
    }

    void withoutAUserNothingIsStored()
    {
        Medicines m;
        Diary fresh(m.folder, m.messages, [&] { return m.now; });
        QVERIFY(fresh.load());
        QVERIFY(!fresh.recordMedicine({m.now, Action::Start, u"A"_qs, {}, {}, {}}).saved());
        QCOMPARE(m.messages.shown, QStringList{u"清选择或添加用户!"_qs});
    }

    void stoppedThenStartedAgainInAnotherSpelling()
    {
        Medicines m;
        QVERIFY(m.take(Action::Start, u"Aspirin"_qs, u"100 mg"_qs, QDate(2024, 3, 1)).saved());
        QVERIFY(m.take(Action::Stop, u"ASPIRIN"_qs, {}, QDate(2024, 3, 5)).saved());
        QVERIFY(m.take(Action::Start, u"aspirin"_qs, u"50 mg"_qs, QDate(2024, 3, 9)).saved());
        QVERIFY(m.take(Action::Adjust, u" Aspirin"_qs, u"75 mg"_qs, QDate(2024, 3, 12)).saved());
        QVERIFY(m.messages.shown.isEmpty());
        // A stop dated inside the first run fits; one before the first start does not.
        QVERIFY(m.take(Action::Stop, u"aspirin"_qs, {}, QDate(2024, 3, 3)).saved());
        QVERIFY(!m.take(Action::Stop, u"aspirin"_qs, {}, QDate(2024, 2, 3)).saved());
        QCOMPARE(m.med().count('\n'), 6);
    }

    void aDeletionAsksFirstAndKeepsUnreadableLines()
    {
        Medicines m;
        const QByteArray odd = "2024-03-02\tx\r\n";
        m.writeUserFile(UserFile::Medicines, Header + g(u"20240301080000\t开始\tA\t5 mg\t\t\r\n") + odd
                                                 + g(u"20240303080000\t单次\tB\t\t\t\r\n"));
        const MedicineFile shown = *m.diary.medicines(u"Ann"_qs);
        QCOMPARE(m.messages.shown, QStringList{messages::unreadableLines(u"Ann.med"_qs, 1)});
        m.messages.answers = {false};
        QVERIFY(!m.diary.deleteMedicineEvent(0, shown.entries[0]).saved());
        QCOMPARE(m.messages.last(), u"您真的要删除 2024年03月01日 08:00 的“开始 A 5 mg”这一条吗？"_qs);
        QVERIFY(m.diary.deleteMedicineEvent(0, shown.entries[0]).saved());
        QCOMPARE(m.med(), Header + odd + g(u"20240303080000\t单次\tB\t\t\t\r\n"));
        // The window's list is out of date: nothing is deleted, the window shows the file again.
        const Outcome stale = m.diary.deleteMedicineEvent(0, shown.entries[0]);
        QCOMPARE(stale.changed, Outcome::Change::None);
        QCOMPARE(m.messages.last(), messages::MedicinesChangedOutside);
        QCOMPARE(m.med(), Header + odd + g(u"20240303080000\t单次\tB\t\t\t\r\n"));
        m.diary.undoLastChange(ChartStyle::Bars);
        QCOMPARE(m.messages.last(), messages::confirmUndo(u"Ann"_qs, u"删除用药记录"_qs));
        QCOMPARE(m.med(), Header + g(u"20240301080000\t开始\tA\t5 mg\t\t\r\n") + odd
                              + g(u"20240303080000\t单次\tB\t\t\t\r\n"));
    }

    void undoTakesEachKindBack_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("kind");
        QTest::newRow("开始") << int(Action::Start) << "开始服用";
        QTest::newRow("调整") << int(Action::Adjust) << "调整用药";
        QTest::newRow("停用") << int(Action::Stop) << "停用";
        QTest::newRow("单次") << int(Action::Single) << "单次服用";
    }

    void undoTakesEachKindBack()
    {
        QFETCH(int, action);
        QFETCH(QString, kind);
        Medicines m;
        QVERIFY(m.take(Action::Start, u"A"_qs, u"5 mg"_qs, QDate(2024, 3, 1)).saved());
        const QByteArray one = m.med();
        const QString name = Action(action) == Action::Start ? u"B"_qs : u"A"_qs;
        QVERIFY(m.take(Action(action), name, u"10 mg"_qs, QDate(2024, 3, 2)).saved());
        QCOMPARE(m.diary.undoLastChange(ChartStyle::Bars).changed, Outcome::Change::Medicines);
        QCOMPARE(m.messages.last(), messages::confirmUndo(u"Ann"_qs, kind));
        QCOMPARE(m.med(), one);
        QCOMPARE(m.diary.medicines(u"Ann"_qs)->entries.size(), size_t(1));
        // The first event made the file: its undo removes it again.
        m.diary.undoLastChange(ChartStyle::Bars);
        QVERIFY(!m.hasMed());
        QCOMPARE(m.records(), womanEntries(2));
    }

    void anOutsideChangeIsKeptAndNeverOverwritten()
    {
        Medicines m;
        QVERIFY(m.take(Action::Start, u"A"_qs, u"5 mg"_qs).saved());
        const QByteArray changed = m.med() + g(u"20240302080000\t开始\tB\t\t\t\r\n");
        m.writeUserFile(UserFile::Medicines, changed);
        m.diary.undoLastChange(ChartStyle::Bars);
        QCOMPARE(m.messages.last(), messages::undoRefused(u"Ann"_qs));
        QCOMPARE(m.med(), changed);
        // The next change starts from the file as it is now.
        QVERIFY(m.take(Action::Stop, u"b"_qs, {}, QDate(2024, 3, 3)).saved());
        QCOMPARE(m.med(), changed + g(u"20240303080000\t停用\tb\t\t\t\r\n"));
    }

    void aFullDiskLeavesTheFileAsItWas()
    {
        Medicines m;
        QVERIFY(m.take(Action::Start, u"A"_qs, u"5 mg"_qs).saved());
        const QByteArray one = m.med();
        m.folder.failAfterBytes = 20;
        QVERIFY(!m.take(Action::Stop, u"A"_qs, {}, QDate(2024, 3, 2)).saved());
        QVERIFY(m.messages.last().startsWith(u"数据保存失败，原有数据没有改动！"_qs));
        QCOMPARE(m.med(), one);
        QCOMPARE(QDir(m.dir.path()).entryList(QDir::Files).size(), 4); // the list, two record files, Ann.med
        QVERIFY(!m.diary.deleteMedicineEvent(0, m.diary.medicines(u"Ann"_qs)->entries[0]).saved());
        QCOMPARE(m.med(), one);
    }

    void theMedicinesGoWithTheirUserOrNotAtAll()
    {
        Medicines m;
        QVERIFY(m.take(Action::Start, u"A"_qs, u"5 mg"_qs).saved());
        QVERIFY(m.diary.recordBloodPressure({QDateTime(QDate(2024, 3, 2), QTime(7, 0)), u"140"_qs, u"90"_qs, {}, {}}).saved());
        const QByteArray med = m.med(), bp = m.userFile(UserFile::BloodPressure);
        m.folder.failMoveOf = u".med"_qs; // another program holds it
        m.diary.deleteUser(u"Ann"_qs);
        QVERIFY(m.messages.last().startsWith(u"用户删除失败，数据没有改动！"_qs));
        QCOMPARE(m.med(), med);
        QCOMPARE(m.userFile(UserFile::BloodPressure), bp);
        QCOMPARE(m.records(), womanEntries(2));
        QCOMPARE(m.list(), crlfLines({"Ann", "Bob"}));
        m.folder.failMoveOf.clear();
        m.diary.deleteUser(u"Ann"_qs);
        QCOMPARE(QDir(m.dir.path()).entryList(QDir::Files), (QStringList{u"Bob.dat"_qs, u"yonghu.dat"_qs}));
        m.diary.undoLastChange(ChartStyle::Bars);
        QCOMPARE(m.messages.last(), messages::undoRefused(u"Ann"_qs));
        QVERIFY(!m.hasMed());
    }

    void theStartUpCleanUpKeepsMedicinesOfAnyName()
    {
        Medicines m;
        const QString odd = u"x.velmora-tmp-ab"_qs;
        m.writeUserFile(UserFile::Medicines, Header, odd);
        QVERIFY(m.diary.load());
        QCOMPARE(m.userFile(UserFile::Medicines, odd), Header);
    }

    void homeReadingsAndCheckUpsTogether()
    {
        Medicines m;
        QVERIFY(m.diary.recordBloodPressure({QDateTime(QDate(2009, 12, 31), QTime(7, 0)), u"140"_qs, u"90"_qs, {}, {}}).saved());
        // Ann's records are not shown: read from her file (120/80 on 2010-01-01 and a second later).
        std::vector<BpReading> all = m.diary.bloodPressureReadings(u"Ann"_qs);
        QCOMPARE(all.size(), size_t(3));
        QCOMPARE(all[0].systolic, 140);
        QCOMPARE(all[2].source, u"体检"_qs);
        m.diary.display(u"Ann"_qs, ChartStyle::Bars);
        QCOMPARE(m.diary.bloodPressureReadings(u"Ann"_qs).size(), size_t(3));
        QCOMPARE(m.diary.bloodPressureReadings(u"Bob"_qs).size(), size_t(1));
    }
};

QTEST_GUILESS_MAIN(MedicineDiaryTest)
#include "tst_medicine_diary.moc"
