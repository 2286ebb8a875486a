// Past measurements, single deletions, undo and record tables brought in,
// at the diary's level: the bytes of the record files and the exact texts of
// the messages.

#include "analysis/record_sheet.h"
#include "diary/diary.h"
#include "diary/messages.h"
#include "diary_support.h"
#include "records/record_id.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;
using Fields = Outcome::Fields;

namespace {

constexpr ChartStyle Bars = ChartStyle::Bars;

// "Ann" and "Bob" listed; Ann confirmed, her records shown; Bob's file empty.
struct History : Surroundings
{
    Diary diary{folder, messages, [this] { return now; }};

    explicit History(const QByteArray &bytes)
    {
        now = QDateTime(QDate(2024, 5, 5), QTime(12, 0, 0));
        QVERIFY(writeBytes(folder.userListPath(), "Ann\r\nBob\r\n"));
        writeRecords(bytes);
        writeRecords({}, QStringLiteral("Bob"));
        QVERIFY(diary.load());
        show(QStringLiteral("Ann"));
    }
    void show(const QString &user)
    {
        diary.confirmUser(user);
        diary.display(user, Bars);
        messages.shown.clear();
    }
    bool import(const QByteArray &table) { return diary.importRecords(table, Bars).saved(); }
};

EntryTexts womansTexts(const QString &age = QStringLiteral("30"))
{
    QList<QString> numbers = womansNumbers();
    numbers[0] = age;
    return woman(numbers);
}

const QStringList ThreeYears{"20100101000000", "20110101000000", "20120101000000"};

// Records holding what a person may write where a number belongs: texts,
// texts a spreadsheet would take for formulas, a text with a comma (quoted in
// the file), empty items and a diagnosis.
QByteArray recordsWithTexts()
{
    return crlfLines({"20090620210129", g(u"男"), " 45 ", " 172.5 ", " 81 ", "", " 150 ", " 95 ", " 6.5 ", "", " 5 ",
                      g(u"脑血栓"), " 92 ", g(u"有")})
           + crlfLines({"20100301090503", g(u"女"), " 40 ", " 165 ", " 55 ", g(u"-偏低"), g(u"\"130,复测\""), " 70 ",
                        " 5 ", " 0 ", " 0 ", " 4 ", " 72 ", g(u"无")})
           + crlfLines({"20230105083000", g(u"女"), " 30 ", " 160 ", " 50 ", " 1.2 ", " 120 ", " 80 ", g(u"未测"),
                        " 0 ", " 0 ", "=1+2", g(u"@腰围未测"), ""});
}

// Those records as exported (export.csv) and as a spreadsheet saved that file
// again (see data/import/README.md).
QByteArray importData(const QString &name)
{
    return readBytes(QFINDTESTDATA(QStringLiteral("data/import/") + name));
}

const QByteArray GoodRow = "2011-06-01 00:00:00,女,30,160,50,70,4.5,1.2,120,80,5.1,0,0,无,1424\r\n";

} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT

private slots:
    // ---- Past measurements -------------------------------------------------

    void pastMeasurementGoesInTimeOrder_data()
    {
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<int>("position");
        QTest::newRow("before the first") << ThreeYears << QDateTime(QDate(2009, 6, 20), QTime(21, 1, 29)) << 0;
        QTest::newRow("between") << ThreeYears << QDateTime(QDate(2011, 6, 1), QTime(8, 0)) << 2;
        QTest::newRow("after the last") << ThreeYears << QDateTime(QDate(2013, 1, 1), QTime(0, 0)) << 3;
        QTest::newRow("equal id: after it") << ThreeYears << QDateTime(QDate(2011, 1, 1), QTime(0, 0)) << 2;
        QTest::newRow("out of order: before the first later one")
            << QStringList{"20120101000000", "20100101000000", "20110101000000"}
            << QDateTime(QDate(2011, 6, 1), QTime(8, 0)) << 0;
        QTest::newRow("empty file") << QStringList{} << QDateTime(QDate(2011, 6, 1), QTime(8, 0)) << 0;
    }

    void pastMeasurementGoesInTimeOrder()
    {
        QFETCH(QStringList, ids);
        QFETCH(QDateTime, when);
        QFETCH(int, position);
        History h(entriesAt(ids));
        h.diary.LoadRecord(1);
        QVERIFY(h.diary.addPastRecord(when, womansTexts(), Bars).saved());
        const QString id = recordIdOf(when);
        std::vector<HealthRecord> expected = entriesOf(entriesAt(ids));
        expected.insert(expected.begin() + position, entriesOf(womansRecordLines(id.toLatin1())).front());
        QCOMPARE(entriesOf(h.records()), expected);
        QVERIFY(h.messages.shown.isEmpty());
        QCOMPARE(h.diary.recordColumn()[size_t(position)], id);
        QCOMPARE(h.diary.selectedRecord(), -1); // the entries behind it moved
    }

    void pastMeasurementRefusals_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("age");
        QTest::addColumn<QString>("message"); // empty: stored
        const QDateTime now(QDate(2024, 5, 5), QTime(12, 0, 0));
        QTest::newRow("now") << now << "30" << "";
        QTest::newRow("1900-01-01 00:00:00") << QDateTime(QDate(1900, 1, 1), QTime(0, 0)) << "30" << "";
        QTest::newRow("1899-12-31 23:59:59") << QDateTime(QDate(1899, 12, 31), QTime(23, 59, 59)) << "30"
                                             << "记录时间不能早于1900年，请核对！";
        QTest::newRow("no time") << QDateTime() << "30" << "记录时间无效，请核对！";
        QTest::newRow("age 0") << now.addDays(-1) << "0" << messages::InvalidEntry;
    }

    void pastMeasurementRefusals()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, age);
        QFETCH(QString, message);
        History h(entriesAt(ThreeYears));
        QCOMPARE(h.diary.addPastRecord(when, womansTexts(age), Bars).saved(), message.isEmpty());
        QCOMPARE(h.messages.shown, message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(h.records(), entriesAt(ThreeYears));
    }

    void pastMeasurementIsDrawnAsAfterAStore()
    {
        History h(womansRecordLines("20100101000000").replace(" 4.5 ", g(u"糖尿病")));
        QVERIFY(h.diary.addPastRecord(QDateTime(QDate(2009, 1, 1), QTime(0, 0)), womansTexts(), Bars).saved());
        QCOMPARE(h.diary.chartMarks()[1].y2, float(6000 - 5100));

        const QByteArray before = h.records();
        h.folder.failRecordReads = true;
        QVERIFY(!h.diary.addPastRecord(QDateTime(QDate(2009, 2, 1), QTime(0, 0)), womansTexts(), Bars).saved());
        QVERIFY(h.messages.last().startsWith(QStringLiteral("数据文件读取失败，没有做任何修改！")));
        QCOMPARE(h.records(), before);
    }

    // ---- One record deleted ------------------------------------------------

    void deleteOneRecord_data()
    {
        QTest::addColumn<int>("label");
        QTest::addColumn<QString>("question");
        QTest::newRow("first") << 0 << "您真的要删除 2010年01月01日00时00分00秒 的记录吗？";
        QTest::newRow("middle") << 1 << "您真的要删除 2011年01月01日00时00分00秒 的记录吗？";
        QTest::newRow("last") << 2 << "您真的要删除 2012年01月01日00时00分00秒 的记录吗？";
    }

    void deleteOneRecord()
    {
        QFETCH(int, label);
        QFETCH(QString, question);
        // Ids in the form a rewrite gives them, so every other entry keeps its bytes.
        QByteArrayList entries;
        for (const QString &id : ThreeYears)
            entries << entriesAt({u' ' + id + u' '});
        History h(entries.join());
        h.diary.LoadRecord(label);
        QCOMPARE(h.diary.deleteRecord(label, Bars).fields, Fields::Empty);
        QCOMPARE(h.messages.shown, QStringList{question});
        entries.removeAt(label);
        QCOMPARE(h.records(), entries.join());
        QCOMPARE(h.diary.recordCount(), 2);
    }

    void deleteRefusals()
    {
        History h(entriesAt(ThreeYears));
        h.messages.answers = {false};
        QCOMPARE(h.diary.deleteRecord(0, Bars).fields, Fields::Keep);
        QCOMPARE(h.diary.deleteRecord(3, Bars).fields, Fields::Keep); // a label without an entry
        QCOMPARE(h.messages.shown.size(), 1);
        QCOMPARE(h.records(), entriesAt(ThreeYears));

        // The column still shows Ann's records, but Bob is the current user.
        h.diary.pickUser(QStringLiteral("Bob"));
        h.diary.deleteRecord(0, Bars);
        QCOMPARE(h.messages.last(), QStringLiteral("列表中显示的不是当前用户的记录，请先按“显示”，再删除记录！"));
        QCOMPARE(h.records(), entriesAt(ThreeYears));

        // Records another program wrote after the display are kept.
        h.show(QStringLiteral("Ann"));
        h.writeRecords(womanEntries(5));
        h.diary.deleteRecord(0, Bars);
        QCOMPARE(h.messages.last(), messages::ChangedOutside);
        QCOMPARE(h.records(), womanEntries(5));
        QCOMPARE(h.diary.recordCount(), 5);
    }

    // ---- Undo ----------------------------------------------------------------

    void undoTakesBackEachKindOfChange_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::newRow("store") << int(ChangeKind::Store) << "存储数据";
        QTest::newRow("modify") << int(ChangeKind::Modify) << "修改数据";
        QTest::newRow("past measurement") << int(ChangeKind::PastRecord) << "补录历史记录";
        QTest::newRow("single delete") << int(ChangeKind::DeleteRecord) << "删除记录";
        QTest::newRow("import") << int(ChangeKind::Import) << "导入记录";
    }

    void undoTakesBackEachKindOfChange()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        // Bytes that no rewrite writes (LF line ends, an unpadded id): they come back as they were.
        const QByteArray before = entriesAt({ThreeYears[0], ThreeYears[1]}).replace("\r\n", "\n");
        History h(before);
        // The person's answers for the ten-year risk stay out of every change and its undo.
        QVERIFY(h.diary.saveCvdAnswers({true, false, false}).saved());
        const QByteArray answers = readBytes(h.folder.cvdAnswersPath(QStringLiteral("Ann")));
        switch (ChangeKind(kind)) {
        case ChangeKind::Store:
            h.diary.StoreRecord(womansTexts(), Bars);
            break;
        case ChangeKind::Modify:
            h.diary.LoadRecord(0);
            h.diary.ModifyRecord(QStringLiteral("Ann"), womansTexts(QStringLiteral("66")), Bars);
            break;
        case ChangeKind::PastRecord:
            h.diary.addPastRecord(QDateTime(QDate(2009, 1, 1), QTime(0, 0)), womansTexts(), Bars);
            break;
        case ChangeKind::DeleteRecord:
            h.diary.deleteRecord(1, Bars);
            break;
        case ChangeKind::Import:
            h.import(RecordTableHeading + GoodRow);
            break;
        default:
            QFAIL("not a change of the record file");
        }
        h.messages.shown.clear();
        h.diary.undoLastChange(Bars);
        QCOMPARE(h.messages.shown, QStringList{messages::confirmUndo(QStringLiteral("Ann"), name)});
        QCOMPARE(h.records(), before);
        QCOMPARE(h.diary.recordCount(), 2);
        QCOMPARE(readBytes(h.folder.cvdAnswersPath(QStringLiteral("Ann"))), answers);
        QCOMPARE(h.diary.cvdAnswers(), (CvdAnswers{true, false, false}));
        h.diary.undoLastChange(Bars);
        QCOMPARE(h.messages.last(), QStringLiteral("没有可以撤销的修改！"));
    }

    void undoRefusedAfterAnOutsideChange()
    {
        History h(entriesAt(ThreeYears));
        h.diary.StoreRecord(womansTexts(), Bars);
        h.diary.StoreRecord(womansTexts(), Bars);
        h.messages.answers = {false};
        h.diary.undoLastChange(Bars); // answered No: the step stays
        QCOMPARE(h.messages.last(), QStringLiteral("您真的要撤销用户“Ann”的上一次修改（存储数据）吗？"));
        h.writeRecords(womanEntries(5));
        h.diary.undoLastChange(Bars);
        QCOMPARE(h.messages.last(), QStringLiteral("用户“Ann”的数据文件在这次修改之后又被改动过，不能撤销！"));
        QCOMPARE(h.records(), womanEntries(5));
        QVERIFY(!h.diary.canUndo()); // the older store cannot be undone either

        // A file that went with its user is not brought back.
        h.diary.StoreRecord(womansTexts(), Bars);
        h.diary.deleteUser(QStringLiteral("Ann"));
        h.diary.undoLastChange(Bars);
        QCOMPARE(h.messages.last(), messages::undoRefused(QStringLiteral("Ann")));
        QVERIFY(!h.folder.RecordFileExists(QStringLiteral("Ann")));
    }

    // Several levels, newest first, each for the user it was made for.
    void undoWalksBackAcrossUsers()
    {
        History h(entriesAt(ThreeYears));
        h.diary.StoreRecord(womansTexts(), Bars);
        const QByteArray annsAfterOne = h.records();
        h.now = h.now.addSecs(1);
        h.diary.StoreRecord(womansTexts(), Bars);
        h.show(QStringLiteral("Bob"));
        h.diary.StoreRecord(womansTexts(), Bars);

        h.diary.undoLastChange(Bars);
        QCOMPARE(h.records(QStringLiteral("Bob")), QByteArray());
        QCOMPARE(h.diary.recordCount(), 0); // Bob is current: his chart shows the file
        h.diary.undoLastChange(Bars);
        QCOMPARE(h.records(), annsAfterOne);
        QCOMPARE(h.diary.tableUser(), QStringLiteral("Bob")); // Ann's file changed, Bob's chart stays
        h.diary.undoLastChange(Bars);
        QCOMPARE(h.records(), entriesAt(ThreeYears));
        QVERIFY(!h.diary.canUndo());
    }

    void undoHistoryIsBounded()
    {
        UndoHistory history;
        for (int i = 0; i < 11; ++i)
            history.push({ChangeKind::Store, QString::number(i), {}, {}});
        QCOMPARE(history.size(), 10); // ten steps back
        QCOMPARE(history.last().user, QStringLiteral("10"));

        const QByteArray tenMiB(10 * 1024 * 1024, 'x');
        UndoHistory big;
        for (int i = 0; i < 3; ++i)
            big.push({ChangeKind::Import, QString::number(i), tenMiB, {}});
        QCOMPARE(big.size(), 2); // the newest and at most 16 MiB before it
    }

    // ---- Record tables brought in -------------------------------------------

    void importOfTheProgramsOwnExportIntoAnEmptyUser()
    {
        History h(threeRecords());
        h.show(QStringLiteral("Bob"));
        h.messages.answers = {false};
        QVERIFY(!h.import(ThreeRecordsCsv));
        QCOMPARE(h.records(QStringLiteral("Bob")), QByteArray());

        QVERIFY(h.import(ThreeRecordsCsv));
        const QString asked = "将导入 3 条新记录；\n0 条记录已经存在，将跳过；\n0 行不能导入。\n"
                              "要导入这 3 条新记录吗？";
        QCOMPARE(h.messages.shown, (QStringList{asked, asked, "已导入 3 条记录。"}));
        QCOMPARE(entriesOf(h.records(QStringLiteral("Bob"))), entriesOf(threeRecords()));
        QCOMPARE(h.diary.chartMarks()[2].y2, float(6000 - 5100)); // drawn as after a store

        // The same table again brings nothing.
        const QByteArray bobs = h.records(QStringLiteral("Bob"));
        h.messages.shown.clear();
        QVERIFY(!h.import(ThreeRecordsCsv));
        QCOMPARE(h.messages.shown, QStringList{"将导入 0 条新记录；\n3 条记录已经存在，将跳过；\n0 行不能导入。\n"
                                               "没有可以导入的新记录，数据没有改动。"});
        QCOMPARE(h.records(QStringLiteral("Bob")), bobs);
    }

    // The table saved again by a spreadsheet: GBK, semicolons, decimal commas,
    // headings without units in another order, a column of its own, no score.
    void importOfAReSavedGbkTable()
    {
        History h(threeRecords());
        const QByteArray table = g(u"性别;日期时间;年龄;身高;体重;腰围;胆固醇;甘油三脂;血压/高;血压/低;血糖;吸烟;饮酒;遗传;备注\r\n"
                                   u"女;2009-11-05 08:30:00;30;160;50;70;4,5;1,2;120;80;5,1;0;0;;\"da; \"\"gleich\"\"\"\r\n"
                                   u"男;20080101120000;50;170;70;80;5;1,5;130;85;5;0;'+3;无;neu\r\n"
                                   u"女;2011-01-01 00:00:00;0;160;50;70;4;1;120;80;5;0;0;无;\r\n"
                                   u"女;2030-01-01 00:00:00;30;160;50;70;4;1;120;80;5;0;0;无;\r\n"
                                   u"\r\n"
                                   u"男;2009-06-20 21:01:29;45;172,5;81;92;6,2;2,1;150;95;6,5;10;5;有;\r\n"
                                   u"女;2009-12-01 10:00:00;40;165;55;72;4;1;110;70;5;0;0;无;\r\n");
        QVERIFY(h.import(table));
        QCOMPARE(h.messages.shown.first(), QStringLiteral("将导入 2 条新记录；\n1 条记录已经存在，将跳过；\n3 行不能导入：\n"
                                                          "    第 4 行：年龄应在1到130之间\n"
                                                          "    第 5 行：记录时间不能晚于现在\n"
                                                          "    第 7 行：已有同一时间的记录，但数值不同\n"
                                                          "要导入这 2 条新记录吗？"));
        const QByteArray added = crlfLines({"20080101120000", g(u"男"), " 50 ", " 170 ", " 70 ", " 1.5 ", " 130 ", " 85 ",
                                            " 5 ", " 0 ", " 3 ", " 5 ", " 80 ", g(u"无")});
        QVERIFY(h.records().startsWith(added)); // the oldest, first, as a store writes it
        const QByteArray between = crlfLines({"20091201100000", g(u"女"), "40", "165", "55", "1", "110", "70", "5", "0",
                                              "0", "4", "72", g(u"无")});
        const qsizetype thirdOfAnn = threeRecords().indexOf("20100301090503");
        QCOMPARE(entriesOf(h.records()),
                 entriesOf(added + threeRecords().left(thirdOfAnn) + between + threeRecords().mid(thirdOfAnn)));
    }

    // Export and import are item for item the identity, also after a
    // spreadsheet saved the table again; the guard against formulas comes off.
    void importBringsBackEveryItemAsTheFileHeldIt_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("the program's own export") << "export.csv";
        QTest::newRow("saved again as GBK with commas") << "gbk-commas.csv";
        QTest::newRow("saved again as GBK with semicolons") << "gbk-semicolons.csv";
        QTest::newRow("GBK, semicolons and decimal commas") << "gbk-semicolons-decimal-commas.csv";
        QTest::newRow("through .xlsx back to UTF-8") << "xlsx-utf8.csv";
    }

    void importBringsBackEveryItemAsTheFileHeldIt()
    {
        QFETCH(QString, file);
        History h(recordsWithTexts());
        const Diary &d = h.diary;
        QCOMPARE(recordsCsv(recordSheet(d.recordTable(), d.recordCount(), d.scoreColumn())), importData("export.csv"));
        h.show(QStringLiteral("Bob"));
        QVERIFY(h.import(importData(file)));
        QCOMPARE(h.messages.shown.first(), "将导入 3 条新记录；\n0 条记录已经存在，将跳过；\n0 行不能导入。\n"
                                           "要导入这 3 条新记录吗？");
        QCOMPARE(entriesOf(h.records(QStringLiteral("Bob"))), entriesOf(recordsWithTexts()));
    }

    // A number with more digits than the file keeps is stored as the file
    // writes it, so the same table brought in again finds it there.
    void importOfMoreDigitsThanTheFileKeepsTwice()
    {
        History h{QByteArray()};
        const QByteArray table = RecordTableHeading
                                 + "2011-06-01 00:00:00,女,30,160,50,70,4.5,0.30000000000000004,120,80,5.1,0,0,无,\r\n";
        QVERIFY(h.import(table));
        QVERIFY(h.records().contains("\r\n 0.3 \r\n"));
        h.messages.shown.clear();
        QVERIFY(!h.import(table));
        QCOMPARE(h.messages.shown.first(), "将导入 0 条新记录；\n1 条记录已经存在，将跳过；\n0 行不能导入。\n"
                                           "没有可以导入的新记录，数据没有改动。");
    }

    // What the record file cannot hold as it stands is refused, never changed.
    void importRefusesTextsTheFileCannotHold()
    {
        History h(threeRecords());
        h.show(QStringLiteral("Bob"));
        const QByteArray table = RecordTableHeading
                                 + "2011-06-01 00:00:00,女,30,160,50,70,4.5,1.2,\"120\n复测\",80,5.1,0,0,无,\r\n"
                                   "2011-06-02 00:00:00,女,30,160,50,70,4.5,1.2,120,80,\xF0\x9F\x98\x80,0,0,无,\r\n"
                                 + GoodRow;
        QVERIFY(h.import(table));
        QCOMPARE(h.messages.shown.first(), "将导入 1 条新记录；\n0 条记录已经存在，将跳过；\n2 行不能导入：\n"
                                           "    第 2 行：血压/高“120 复测”含有换行，记录文件不能原样保存\n"
                                           "    第 3 行：血糖“😀”含有GBK不能表示的字符，记录文件不能原样保存\n"
                                           "要导入这 1 条新记录吗？");
    }

    void brokenTablesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("message");
        const QByteArray start = RecordTableHeading + GoodRow;
        QTest::newRow("not a record table") << QByteArray("name,value\r\nx,1\r\n") << messages::NotARecordTable;
        QTest::newRow("empty file") << QByteArray() << messages::NotARecordTable;
        QTest::newRow("neither UTF-8 nor GBK")
            << gbk(QString::fromUtf8(start)) + "2011-02-01 00:00:00,,30,160,50,70,4.5,1.2,120,80,5.1,0,0,\xFF\xFF,1\r\n"
            << "记录表格的文字编码无法识别（既不是UTF-8，也不是GBK），没有导入任何记录！";
        QTest::newRow("a column missing") << QByteArray(RecordTableHeading).replace(",遗传", "") << "记录表格缺少这些列：遗传，没有导入任何记录！";
        QTest::newRow("a row of the wrong width")
            << start + "2011-02-01 00:00:00,女,30,160,50,70,4.5,1.2,120,80,5.1,0,0,无\r\n"
            << "记录表格第 3 行有 14 列，表头却有 15 列，没有导入任何记录！";
        QTest::newRow("a date that is not a date")
            << start + "2009-02-30 10:00:00,女,30,160,50,70,4.5,1.2,120,80,5.1,0,0,无,1\r\n"
            << "记录表格第 3 行的日期时间“2009-02-30 10:00:00”不是有效的日期时间，没有导入任何记录！";
        QTest::newRow("a quote never closed") << start + "\"2011-02-01 00:00:00,女\r\n" << messages::unclosedQuote(3);
    }

    void brokenTablesChangeNothing()
    {
        QFETCH(QByteArray, table);
        QFETCH(QString, message);
        History h(threeRecords());
        QVERIFY(!h.import(table));
        QCOMPARE(h.messages.shown, QStringList{message});
        QCOMPARE(h.records(), threeRecords());
        QVERIFY(!h.diary.canUndo());
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "tst_history.moc"
