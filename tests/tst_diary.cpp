// The diary's workflows without any window: users, storing, loading,
// modifying, clearing, the chart, the column and the marker, checked against
// the bytes of the files and the texts of the messages.

#include "diary/diary.h"
#include "diary/messages.h"
#include "diary_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace velmora::test;
using Fields = Outcome::Fields;

namespace {

struct Fixture : Surroundings
{
    Diary diary{folder, messages, [this] { return now; }};
};

// A loaded diary whose user list holds `users`.
std::unique_ptr<Fixture> started(const QByteArray &users = QByteArray())
{
    auto f = std::make_unique<Fixture>();
    writeBytes(f->folder.userListPath(), users);
    f->diary.load();
    return f;
}

// A loaded diary with the confirmed user "Ann" and her record file.
std::unique_ptr<Fixture> withAnn(const QByteArray &records)
{
    auto f = started("Ann\r\nBob\r\n");
    f->writeRecords(records);
    f->diary.confirmUser(QStringLiteral("Ann"));
    f->messages.shown.clear();
    return f;
}

std::unique_ptr<Fixture> showingAnn(const QByteArray &records)
{
    auto f = withAnn(records);
    f->diary.display(QStringLiteral("Ann"), ChartStyle::Bars);
    return f;
}

QStringList columnOf(const Diary &diary)
{
    return QStringList(diary.recordColumn().begin(), diary.recordColumn().end());
}

QStringList idsFrom(qint64 first, int count, int total = 20)
{
    QStringList ids;
    for (int i = 0; i < total; ++i)
        ids << (i < count ? QString::number(first + i) : QString());
    return ids;
}

} // namespace

class DiaryTest : public QObject
{
    Q_OBJECT

private slots:
    // ---- Start-up and users ------------------------------------------------

    void startUp()
    {
        auto three = started(crlfLines({g(u"张三"), "Bob", g(u"李四")}));
        QCOMPARE(three->diary.userNames(), (QStringList{"张三", "Bob", "李四"}));

        Fixture unusable;
        QVERIFY(QDir(unusable.dir.path()).mkdir(QStringLiteral("yonghu.dat"))); // a folder where the list belongs
        QVERIFY(!unusable.diary.load());
        QCOMPARE(unusable.messages.shown.size(), 1);
    }

    void confirmingANewName()
    {
        auto f = started("Bob\r\n");
        f->diary.confirmUser(QStringLiteral("张三"));
        QCOMPARE(f->list(), crlfLines({"Bob", g(u"张三")}));
        QCOMPARE(f->records(QStringLiteral("张三")), QByteArray());
        QCOMPARE(f->diary.currentUser(), QStringLiteral("张三"));
        QCOMPARE(f->messages.shown, QStringList{QStringLiteral("新用户创建成功！")});

        // Confirming it again finds it: nothing is written, nothing is said.
        QVERIFY(!f->diary.confirmUser(QStringLiteral("张三")).userListChanged);
        QCOMPARE(f->list(), crlfLines({"Bob", g(u"张三")}));
        QCOMPARE(f->messages.shown.size(), 1);

        // A new name keeps a record file that is already there.
        f->writeRecords(womanEntries(2), QStringLiteral("王五"));
        f->diary.confirmUser(QStringLiteral("王五"));
        QCOMPARE(f->records(QStringLiteral("王五")), womanEntries(2));
    }

    // An empty text confirms nobody; a listed name, typed, becomes current without any write.
    void confirmingEmptyTextOrAListedName()
    {
        auto f = started(crlfLines({"Alice", "Bob"}));
        QVERIFY(f->diary.confirmUser(QString()).hideUserPanel);
        QCOMPARE(f->messages.shown, QStringList{QStringLiteral("您没有选择或添加任何用户！")});
        QVERIFY(!f->diary.entryControlsEnabled());
        f->diary.confirmUser(QStringLiteral("Bob"));
        QCOMPARE(f->diary.currentUser(), QStringLiteral("Bob"));
        QCOMPARE(f->list(), crlfLines({"Alice", "Bob"}));
        QVERIFY(!f->folder.RecordFileExists(QStringLiteral("Bob")));
        QCOMPARE(f->messages.shown.size(), 1);
    }

    void unsafeNamesAreRefusedBeforeAnythingIsWritten_data()
    {
        QTest::addColumn<QString>("name");
        for (const char16_t *name : {u"..", u"a/b", u"..\\evil", u"x:y", u"a?", u"😀", u"yonghu", u"YongHu"})
            QTest::newRow(QString::fromUtf16(name).toUtf8().constData()) << QString::fromUtf16(name);
    }

    void unsafeNamesAreRefusedBeforeAnythingIsWritten()
    {
        QFETCH(QString, name);
        auto f = started("Bob\r\n");
        f->diary.confirmUser(name);
        f->messages.answers = {true};
        f->diary.deleteUser(name);
        QCOMPARE(f->messages.shown, QStringList(2, messages::UnsafeUserName));
        QCOMPARE(f->list(), QByteArray("Bob\r\n"));
        QCOMPARE(QDir(f->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("yonghu.dat")});
        QCOMPARE(f->diary.shownUser(), QString());
    }

    // On Windows both names would be one record file.
    void aNameDifferingOnlyInCaseIsRefused()
    {
        auto f = started("Ann\r\n");
        f->diary.confirmUser(QStringLiteral("ANN"));
        QCOMPARE(f->messages.shown, QStringList{QStringLiteral(
            "该用户名与已有的用户“Ann”只有字母大小写不同，在 Windows 上两人会共用同一个数据文件，请换一个名字！")});
        QCOMPARE(f->list(), QByteArray("Ann\r\n"));
        QCOMPARE(f->diary.shownUser(), QString());
    }

    // Names written into the list by hand are listed, but never reach a file.
    void unsafeNamesFromAHandEditedListTouchNoFile()
    {
        QTemporaryDir outside;
        const QString victim = QDir(outside.path()).filePath(QStringLiteral("victim.dat"));
        QVERIFY(writeBytes(victim, "keep"));
        auto f = started();
        const QString absolute = QDir(outside.path()).filePath(QStringLiteral("victim"));
        const QString relative = QDir(f->dir.path()).relativeFilePath(absolute);
        QVERIFY(writeBytes(f->folder.userListPath(), crlfLines({absolute.toUtf8(), relative.toUtf8()})));
        QVERIFY(f->diary.load());
        QCOMPARE(f->diary.userNames().size(), 2);
        for (const QString &name : {absolute, relative}) {
            f->messages.shown.clear();
            f->diary.pickUser(name);
            f->diary.deleteUser(name);
            f->diary.doubleClickRecord(0, name, ChartStyle::Bars);
            QCOMPARE(f->messages.shown, QStringList(3, messages::UnsafeUserName));
            QCOMPARE(f->diary.currentUser(), QString());
            QCOMPARE(readBytes(victim), QByteArray("keep"));
        }
    }

    // A confirm that cannot write the list leaves the previous user current.
    void failedConfirmKeepsThePreviousUser()
    {
        auto f = withAnn(QByteArray());
        f->folder.failAfterBytes = 0;
        const Outcome outcome = f->diary.confirmUser(QStringLiteral("Bob2"));
        QVERIFY(f->messages.last().startsWith(QStringLiteral("数据保存失败，原有数据没有改动！")));
        QVERIFY(outcome.hideUserPanel && !outcome.userListChanged && !outcome.saved());
        QCOMPARE(f->diary.shownUser(), QStringLiteral("Ann"));
        QCOMPARE(f->diary.currentUser(), QStringLiteral("Ann"));
        QCOMPARE(f->list(), crlfLines({"Ann", "Bob"}));
        QVERIFY(!f->folder.RecordFileExists(QStringLiteral("Bob2")));
    }

    void deleteAnsweredNoThenYes()
    {
        auto f = showingAnn(womanEntries(3));
        f->diary.LoadRecord(1);
        f->messages.answers = {false};
        f->diary.deleteUser(QStringLiteral("Ann"));
        QCOMPARE(f->messages.shown, QStringList{QStringLiteral("您真的要删除该用户吗？")});
        QCOMPARE(f->list(), crlfLines({"Ann", "Bob"}));

        f->messages.shown.clear();
        f->diary.deleteUser(QStringLiteral("Ann"));
        QCOMPARE(f->messages.shown, (QStringList{QStringLiteral("您真的要删除该用户吗？"), QStringLiteral("该用户已经成功删除！")}));
        QCOMPARE(f->list(), QByteArray("Bob\r\n"));
        QVERIFY(!f->folder.RecordFileExists(QStringLiteral("Ann")));
        QVERIFY(f->diary.chartMarks().empty());
        QCOMPARE(columnOf(f->diary), QStringList(20, QString()));
        QCOMPARE(f->diary.markerTop(), 360.0);
        QCOMPARE(f->diary.currentUser(), QStringLiteral("Ann")); // a deletion does not change it
        QCOMPARE(f->diary.selectedRecord(), -1);
        QCOMPARE(f->diary.recordCount(), 0);
    }

    void deleteWithEmptyTextOrOfAnotherUser()
    {
        auto f = withAnn(womanEntries(2));
        f->diary.deleteUser(QString());
        QCOMPARE(f->messages.shown, QStringList{QStringLiteral("清选择用户!")});
        f->writeRecords(womanEntries(1), QStringLiteral("Bob"));
        f->diary.deleteUser(QStringLiteral("Bob"));
        QCOMPARE(f->messages.last(), QStringLiteral("该用户已经成功删除！"));
        QCOMPARE(f->records(), womanEntries(2));
        QVERIFY(!f->folder.RecordFileExists(QStringLiteral("Bob")));
    }

    void failedDeleteChangesNothing()
    {
        auto f = showingAnn(womanEntries(1));
        QVERIFY(f->diary.saveCvdAnswers({true, false, false}).saved());
        const QByteArray answers = readBytes(f->folder.cvdAnswersPath(QStringLiteral("Ann")));
        f->folder.failAfterBytes = 2;
        f->diary.deleteUser(QStringLiteral("Ann"));
        QVERIFY(f->messages.last().startsWith(QStringLiteral("用户删除失败，数据没有改动！")));
        QCOMPARE(f->list(), crlfLines({"Ann", "Bob"}));
        QCOMPARE(f->records(), womanEntries(1));
        QCOMPARE(readBytes(f->folder.cvdAnswersPath(QStringLiteral("Ann"))), answers);
        QCOMPARE(f->diary.shownUser(), QStringLiteral("Ann"));
        QCOMPARE(f->diary.chartMarks().size(), size_t(1));
        QCOMPARE(QDir(f->dir.path()).entryList(QDir::Files).size(), 3); // nothing left aside
    }

    // ---- The answers for the ten-year risk ------------------------------------

    // Kept in "<name>.cvd" beside the records, read with them, kept by the
    // start-up clean-up, unchanged by a full disk, removed with the user.
    void answersFileFollowsItsUser()
    {
        auto f = showingAnn(womanEntries(2));
        QCOMPARE(f->diary.cvdAnswers(), CvdAnswers{});
        QVERIFY(f->diary.saveCvdAnswers({false, true, false}).saved());
        const QString path = f->folder.cvdAnswersPath(QStringLiteral("Ann"));
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Ann.cvd"));
        const QByteArray saved = g(u"吸烟=否\r\n糖尿病=是\r\n心梗或卒中=否\r\n");
        QCOMPARE(readBytes(path), saved);
        QCOMPARE(f->records(), womanEntries(2));

        // A name whose answers file could pass for a temporary save: it never does.
        const QString odd = QStringLiteral("x.velmora-tmp-ab");
        QVERIFY(f->folder.saveCvdAnswers(odd, {true, true, true}));
        QVERIFY(f->diary.load());
        QVERIFY(fileExists(f->folder.cvdAnswersPath(odd)));
        f->diary.ClearEntry();
        QCOMPARE(f->diary.cvdAnswers(), CvdAnswers{});
        f->diary.display(QStringLiteral("Ann"), ChartStyle::Bars);
        QCOMPARE(f->diary.cvdAnswers(), (CvdAnswers{false, true, false}));

        f->folder.failAfterBytes = 3;
        QVERIFY(!f->diary.saveCvdAnswers({true, true, true}).saved());
        QVERIFY(f->messages.last().startsWith(QStringLiteral("数据保存失败，原有数据没有改动！")));
        QCOMPARE(readBytes(path), saved);
        QCOMPARE(f->diary.cvdAnswers(), (CvdAnswers{false, true, false}));
        f->folder.failAfterBytes = -1;

        f->diary.deleteUser(QStringLiteral("Ann"));
        QVERIFY(!fileExists(path));
        QVERIFY(!f->folder.RecordFileExists(QStringLiteral("Ann")));
        QCOMPARE(f->diary.cvdAnswers(), CvdAnswers{});
        QVERIFY(!f->diary.saveCvdAnswers({true, true, true}).saved()); // no table: no user to keep them for
        QCOMPARE(f->messages.last(), QStringLiteral("清选择或添加用户!"));
    }

    // ---- Storing, loading, modifying ---------------------------------------------

    void storeChecks_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("heredity");
        QTest::addColumn<bool>("accepted");
        const QString female = QStringLiteral("女");
        const QString none = QStringLiteral("无");
        QTest::newRow("age 0") << 2 << "0" << female << none << false;
        QTest::newRow("age 1") << 2 << "1" << female << none << true;
        QTest::newRow("age 130") << 2 << "130" << female << none << true;
        QTest::newRow("age 131") << 2 << "131" << female << none << false;
        QTest::newRow("height 230") << 3 << "230" << female << none << true;
        QTest::newRow("height 230.5") << 3 << "230.5" << female << none << false;
        QTest::newRow("weight 201") << 4 << "201" << female << none << false;
        QTest::newRow("triglycerides 20.1") << 5 << "20.1" << female << none << false;
        QTest::newRow("systolic 301") << 6 << "301" << female << none << false;
        QTest::newRow("diastolic 301") << 7 << "301" << female << none << false;
        QTest::newRow("sugar 40.5") << 8 << "40.5" << female << none << false;
        QTest::newRow("smoking 101") << 9 << "101" << female << none << false;
        QTest::newRow("drinking 101") << 10 << "101" << female << none << false;
        QTest::newRow("cholesterol 20.1") << 11 << "20.1" << female << none << false;
        QTest::newRow("waist 999") << 12 << "999" << female << none << true;
        QTest::newRow("no sex") << 2 << "30" << QString() << none << false;
        QTest::newRow("heredity empty") << 2 << "30" << female << QString() << true;
        QTest::newRow("heredity other") << 2 << "30" << female << QStringLiteral("也许") << false;
    }

    void storeChecks()
    {
        QFETCH(int, box);
        QFETCH(QString, value);
        QFETCH(QString, sex);
        QFETCH(QString, heredity);
        QFETCH(bool, accepted);
        auto f = withAnn(QByteArray());
        QList<QString> numbers = womansNumbers();
        numbers[box - 2] = value;
        const Outcome outcome = f->diary.StoreRecord(woman(numbers, sex, heredity), ChartStyle::Bars);
        QCOMPARE(f->records().isEmpty(), !accepted);
        QCOMPARE(f->messages.last() == QStringLiteral("数据输入有误,或存在不合理数据，注意年龄和性别不能为空，请核对！"), !accepted);
        QCOMPARE(outcome.fields, Fields::Empty); // emptied either way
        QCOMPARE(outcome.saved(), accepted);
    }

    void storeAnsweredNoOrWithoutUserOrFile()
    {
        auto f = started();
        f->diary.StoreRecord(woman(), ChartStyle::Bars);
        QCOMPARE(f->messages.shown, QStringList{QStringLiteral("清选择或添加用户!")});

        auto u = showingAnn(womanEntries(2));
        u->messages.answers = {false};
        QCOMPARE(u->diary.StoreRecord(woman(), ChartStyle::Bars).fields, Fields::Keep);
        QCOMPARE(u->records(), womanEntries(2));

        QFile::remove(u->folder.RecordFilePath(QStringLiteral("Ann")));
        u->messages.shown.clear();
        QCOMPARE(u->diary.StoreRecord(woman(), ChartStyle::Bars).fields, Fields::Keep);
        QCOMPARE(u->messages.shown, QStringList{QStringLiteral("您真的要保存该项数据吗？")});
        QVERIFY(!u->folder.RecordFileExists(QStringLiteral("Ann")));
    }

    // More entries than the table's 1001.
    void storeAppendsAfterEveryEntry()
    {
        const int entries = 1200;
        auto f = withAnn(womanEntries(entries));
        f->diary.StoreRecord(woman(womansNumbers(), QStringLiteral("男"), QStringLiteral("有")), ChartStyle::Bars);
        std::vector<HealthRecord> stored = entriesOf(f->records());
        QCOMPARE(stored.size(), size_t(entries + 1));
        QCOMPARE(stored.back()[RecordIdField].displayText(), QStringLiteral("20100301090503"));
        stored.pop_back();
        QCOMPARE(stored, entriesOf(womanEntries(entries)));
        QCOMPARE(f->diary.chartMarks().size(), size_t(entries + 1));
        QCOMPARE(columnOf(f->diary), idsFrom(20100101000000, 20)); // the oldest twenty
    }

    void diagnosisIsDrawnAt5100AfterAStoreOnly()
    {
        QByteArray entry = womansRecordLines("20090620210129");
        entry.replace(" 4.5 ", g(u"糖尿病"));
        auto f = withAnn(entry);
        f->diary.StoreRecord(woman(), ChartStyle::Bars);
        QCOMPARE(f->diary.chartMarks()[0].y2, float(6000 - 5100));
        f->diary.display(QStringLiteral("Ann"), ChartStyle::Bars);
        QCOMPARE(f->diary.chartMarks()[0].y2, float(6000 - 1));
    }

    void failedSavesKeepTheFileAndSaySo()
    {
        auto f = showingAnn(womanEntries(3));
        f->folder.failAfterBytes = 100;
        QCOMPARE(f->diary.StoreRecord(woman(), ChartStyle::Bars).fields, Fields::Keep); // the typing is not lost
        QVERIFY(f->messages.last().startsWith(QStringLiteral("数据保存失败，原有数据没有改动！")));
        QCOMPARE(f->records(), womanEntries(3));

        EntryTexts edited = f->diary.LoadRecord(1).texts;
        edited.box(4) = QStringLiteral("99");
        QCOMPARE(f->diary.ModifyRecord(QStringLiteral("Ann"), edited, ChartStyle::Bars).fields, Fields::Keep);
        QVERIFY(f->messages.last().startsWith(QStringLiteral("数据保存失败，原有数据没有改动！")));
        QVERIFY(!f->messages.shown.contains(QStringLiteral("修改完毕!")));
        QCOMPARE(f->records(), womanEntries(3));
        QCOMPARE(f->diary.recordTable()[1][WeightField].number(), 50.0); // the table still mirrors the file

        // An unreadable file stops the store before anything is written.
        f->folder.failAfterBytes = -1;
        f->folder.failRecordReads = true;
        QCOMPARE(f->diary.StoreRecord(woman(), ChartStyle::Bars).fields, Fields::Keep);
        QVERIFY(f->messages.last().startsWith(QStringLiteral("数据文件读取失败，没有做任何修改！")));
        QCOMPARE(f->records(), womanEntries(3));
    }

    // Records another program wrote after the display are not overwritten by a modify.
    void modifyOfAFileChangedOutsideWritesNothing()
    {
        auto f = showingAnn(womanEntries(5));
        EntryTexts edited = f->diary.LoadRecord(1).texts;
        f->writeRecords(womanEntries(7));
        edited.box(4) = QStringLiteral("99");
        QCOMPARE(f->diary.ModifyRecord(QStringLiteral("Ann"), edited, ChartStyle::Bars).fields, Fields::Keep);
        QCOMPARE(f->messages.shown, QStringList{messages::ChangedOutside});
        QCOMPARE(f->records(), womanEntries(7));
        QCOMPARE(f->diary.recordCount(), 7);
        QCOMPARE(f->diary.selectedRecord(), -1);
    }

    void loadSelectsTheLabelsPosition()
    {
        const QByteArray entry = womansRecordLines("20090620210129").replace(g(u"无") + "\r\n", "\r\n");
        auto f = showingAnn(entry + womanEntries(9));
        QCOMPARE(f->diary.LoadRecord(0).texts.heredity, QString());
        f->diary.LoadRecord(3);
        QCOMPARE(f->diary.selectedRecord(), 3);
        QCOMPARE(f->diary.selectedId(), QStringLiteral("20100101000002"));

        // A redraw empties the boxes and keeps the selection (and its date, below).
        QCOMPARE(f->diary.display(QStringLiteral("Ann"), ChartStyle::Bars).fields, Fields::Empty);
        QCOMPARE(f->diary.selectedRecord(), 3);

        // An empty label after a record was shown: empty boxes, the old date stays.
        QCOMPARE(f->diary.LoadRecord(15).texts, EntryTexts{});
        QCOMPARE(f->diary.selectedRecord(), 15);
        QCOMPARE(f->diary.selectedDate(), QStringLiteral("2010年01月01日00时00分02秒"));
        QCOMPARE(f->diary.selectedId(), QString());

        // Before any record was shown an empty label selects nothing.
        auto fresh = showingAnn(womanEntries(1));
        fresh->diary.LoadRecord(5);
        QCOMPARE(fresh->diary.selectedRecord(), -1);
    }

    void modifyCases()
    {
        auto f = showingAnn(womanEntries(3));
        const auto modify = [&](const EntryTexts &texts) {
            f->messages.shown.clear();
            return f->diary.ModifyRecord(QStringLiteral("Ann"), texts, ChartStyle::Bars);
        };
        // Nothing selected since start-up: nothing happens even with full boxes.
        QCOMPARE(modify(woman()).fields, Fields::Keep);
        QVERIFY(f->messages.shown.isEmpty());

        // Empty boxes and a text of two points are written as they stand.
        EntryTexts edited = f->diary.LoadRecord(1).texts;
        edited.box(2).clear();
        edited.box(8) = QStringLiteral("5..1");
        modify(edited);
        RecordTable table;
        QCOMPARE(readRecords(f->records(), table), 3);
        QVERIFY(table[1][AgeField].isEmpty());
        QCOMPARE(table[1][BloodSugarField].displayText(), QStringLiteral("5..1"));
        QCOMPARE(table[0][AgeField].number(), 20.0);
        QCOMPARE(f->diary.chartMarks()[1].y2, float(6000 - 1)); // a text scores 0
        const QByteArray afterModify = f->records();

        // With the sex box emptied the button does nothing.
        EntryTexts noSex = f->diary.LoadRecord(0).texts;
        noSex.sex.clear();
        modify(noSex);
        QVERIFY(f->messages.shown.isEmpty());
        QCOMPARE(f->records(), afterModify);

        // An empty label past the count: the file is rewritten with its old content.
        f->diary.display(QStringLiteral("Ann"), ChartStyle::Bars);
        f->diary.LoadRecord(0);
        f->diary.LoadRecord(10);
        modify(woman());
        QCOMPARE(f->messages.shown, QStringList{QStringLiteral("修改完毕!")});
        QCOMPARE(entriesOf(f->records()), entriesOf(afterModify));
    }

    void modifyAfterSwitchingUsersDoesNothing()
    {
        auto f = showingAnn(womanEntries(3));
        f->writeRecords(womanEntries(1), QStringLiteral("Bob"));
        const EntryTexts anns = f->diary.LoadRecord(2).texts;
        f->diary.pickUser(QStringLiteral("Bob"));
        f->diary.confirmUser(QStringLiteral("Bob"));
        f->diary.LoadRecord(2); // Ann's table is still shown
        f->diary.ModifyRecord(QStringLiteral("Bob"), anns, ChartStyle::Bars);
        QVERIFY(f->messages.shown.isEmpty());
        QCOMPARE(f->records(QStringLiteral("Bob")), womanEntries(1));
        QCOMPARE(f->records(), womanEntries(3));
    }

    void modifyWithoutUserOrFile()
    {
        auto f = started();
        f->diary.ModifyRecord(QString(), woman(), ChartStyle::Bars);
        QCOMPARE(f->messages.shown, QStringList{QStringLiteral("清选择或添加用户!")});
        auto u = withAnn(womanEntries(1));
        QFile::remove(u->folder.RecordFilePath(QStringLiteral("Ann")));
        u->diary.ModifyRecord(QStringLiteral("Ann"), woman(), ChartStyle::Bars);
        QCOMPARE(u->messages.shown, QStringList{QStringLiteral(" 未指定修改项，或无数据！ ")});
        QVERIFY(!u->folder.RecordFileExists(QStringLiteral("Ann")));
    }

    void clearEmptiesEverythingButTheFile()
    {
        auto f = showingAnn(womanEntries(30));
        f->diary.LoadRecord(4);
        f->diary.dragMarkerTo(1000);
        QCOMPARE(f->diary.ClearEntry().fields, Fields::Empty);
        QVERIFY(f->diary.chartMarks().empty());
        QCOMPARE(columnOf(f->diary), QStringList(20, QString()));
        QCOMPARE(f->diary.recordCount(), 0);
        QCOMPARE(f->diary.selectedRecord(), -1);
        QCOMPARE(f->diary.menuOffset(), 0);
        QCOMPARE(f->diary.markerTop(), 360.0);
        QCOMPARE(f->diary.shownUser(), QStringLiteral("Ann"));
        QCOMPARE(f->records(), womanEntries(30));
    }

    // ---- The chart, the column and the marker -----------------------------------

    void displayOfAnEmptyMissingOrShorterFile()
    {
        auto f = showingAnn(QByteArray());
        QVERIFY(f->diary.chartMarks().empty());
        QCOMPARE(columnOf(f->diary), QStringList(20, QString()));

        f->writeRecords(womanEntries(30));
        f->diary.display(QStringLiteral("Ann"), ChartStyle::Bars);
        QCOMPARE(columnOf(f->diary), idsFrom(20100101000000, 20));
        f->writeRecords(womanEntries(5));
        f->diary.display(QStringLiteral("Ann"), ChartStyle::Bars);
        QCOMPARE(f->diary.chartMarks().size(), size_t(5));
        QCOMPARE(columnOf(f->diary), idsFrom(20100101000000, 5));

        QFile::remove(f->folder.RecordFilePath(QStringLiteral("Ann")));
        QCOMPARE(f->diary.display(QStringLiteral("Ann"), ChartStyle::Bars).fields, Fields::Keep);
        QCOMPARE(f->diary.chartMarks().size(), size_t(5));
        QCOMPARE(f->diary.display(QString(), ChartStyle::Bars).fields, Fields::Keep);
        QVERIFY(f->messages.shown.isEmpty());
    }

    // The double click selects the position at the offset, then the redraw lists from 0 again.
    void doubleClickSelectsTheEntryAtTheOffset()
    {
        auto f = showingAnn(womanEntries(40));
        f->diary.dragMarkerTo(885);
        f->diary.LoadRecord(3); // the click comes first, at the offset too
        QCOMPARE(f->diary.selectedId(), QStringLiteral("20100101000010"));
        f->diary.doubleClickRecord(3, QStringLiteral("Ann"), ChartStyle::Bars);
        QCOMPARE(f->diary.selectedRecord(), 10);
        QCOMPARE(f->diary.selectedId(), QStringLiteral("20100101000010"));
        QCOMPARE(f->diary.menuOffset(), 0);
    }

    void doubleClickEdgeCases()
    {
        auto f = showingAnn(womanEntries(3));
        f->diary.doubleClickRecord(0, QString(), ChartStyle::Bars);
        QCOMPARE(f->messages.last(), QStringLiteral("姓名不能为空！"));

        // An empty position after a record was shown: nothing enlarged, empty boxes.
        f->diary.doubleClickRecord(1, QStringLiteral("Ann"), ChartStyle::Bars);
        const QString date = f->diary.selectedDate();
        QCOMPARE(f->diary.doubleClickRecord(10, QStringLiteral("Ann"), ChartStyle::Bars).texts, EntryTexts{});
        QCOMPARE(f->diary.selectedRecord(), 10);
        QCOMPARE(f->diary.selectedDate(), date);
        QCOMPARE(f->diary.selectedId(), QString());
        for (const ChartMark &mark : f->diary.chartMarks())
            QCOMPARE(mark.x2 - mark.x1, 2.f);

        // The double click takes the panel's name as the current user.
        f->writeRecords(womanEntries(2), QStringLiteral("Bob"));
        f->diary.doubleClickRecord(0, QStringLiteral(" Bob "), ChartStyle::Bars);
        QCOMPARE(f->diary.currentUser(), QStringLiteral("Bob"));
        QCOMPARE(f->diary.recordCount(), 2);

        // A missing file stops the double click without a message.
        QFile::remove(f->folder.RecordFilePath(QStringLiteral("Bob")));
        f->messages.shown.clear();
        QCOMPARE(f->diary.doubleClickRecord(0, QStringLiteral("Bob"), ChartStyle::Bars).fields, Fields::Keep);
        QVERIFY(f->messages.shown.isEmpty());
    }

    void markerTrack_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("stopsAt");
        QTest::addColumn<int>("offset");
        QTest::newRow("above the track") << 10 << -500.0 << 240.0 << 0;
        QTest::newRow("no entries") << 0 << 1000.0 << 1000.0 << 0;
        QTest::newRow("below the track, past the last entry") << 10 << 9000.0 << 6040.0 << 16;
        QTest::newRow("1500 entries: every one reachable") << 1500 << 3825.0 << 3825.0 << 1493;
    }

    void markerTrack()
    {
        QFETCH(int, entries);
        QFETCH(double, top);
        QFETCH(double, stopsAt);
        QFETCH(int, offset);
        auto f = showingAnn(womanEntries(entries));
        f->diary.dragMarkerTo(top);
        QCOMPARE(f->diary.markerTop(), stopsAt);
        QCOMPARE(f->diary.menuOffset(), offset);
        QCOMPARE(columnOf(f->diary), idsFrom(20100101000000 + offset, std::clamp(entries - offset, 0, 20)));
    }
};

QTEST_GUILESS_MAIN(DiaryTest)
#include "tst_diary.moc"
