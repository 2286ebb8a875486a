// Readings from elsewhere: each layout of the hand-made files in
// data/readings_import (see PROVENANCE.md) read as the clock showed it where
// it was taken; the import through the diary with its summary, one save and
// undo; the columns chosen for an unknown table remembered; hostile and
// broken files refused in bounded time with nothing written.

#include "archive/zip_archive.h"
#include "diary/diary.h"
#include "diary/messages.h"
#include "diary_support.h"
#include "imports/column_memory.h"
#include "imports/health_export.h"
#include "imports/readings_file.h"
#include "readings/bp_csv.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

using Answer = ReadingsImportDialogs::Answer;

QByteArray data(const QString &name)
{
    return readBytes(u":/readings_import/"_qs + name);
}

QByteArray exportZip(const QByteArray &xml)
{
    return *zipArchive({{u"apple_health_export/export.xml"_qs, xml, QDateTime(QDate(2025, 1, 5), QTime(10, 0))}},
                       nullptr);
}

// A reading as one line: "20241121114000 128/82 71 BPM-A20 | note".
QString described(const BpReading &r)
{
    QString line = QStringLiteral("%1 %2 %3 %4").arg(r.stamp).arg(bpText(r.systolic, r.diastolic)).arg(r.pulse).arg(r.source);
    return r.note.isEmpty() ? line : line + u" | "_qs + r.note;
}

QStringList described(const ImportedReadings &imported)
{
    QStringList lines;
    for (const ImportedReading &r : imported.readings)
        lines << described(r.reading);
    for (const RefusedRow &row : imported.refused)
        lines << QStringLiteral("%1: %2").arg(row.row).arg(row.reason);
    return lines;
}

// The file read as the import reads it; a table with unknown columns with `choice`.
ImportedReadings imported(const QByteArray &bytes, std::optional<ColumnChoice> choice = std::nullopt)
{
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    switch (readingsFileKind(device)) {
    case ReadingsFileKind::PhoneZip:
        return readHealthExportZip(device, {});
    case ReadingsFileKind::PhoneXml:
        return readHealthExportXml(device, {});
    case ReadingsFileKind::Table:
        break;
    }
    const TableFile table = readTableFile(device);
    TableLayout layout = recogniseTable(table);
    if (!layout.error.isEmpty())
        return ImportedReadings::failed(layout.error);
    if (choice) {
        layout.columns = *choice;
        layout.kind = TableLayout::Kind::Chosen;
    }
    return tableReadings(table, layout);
}

class ScriptedImportDialogs : public ReadingsImportDialogs
{
public:
    std::deque<std::optional<ColumnChoice>> choices; // none left: cancelled
    std::vector<ColumnQuestion> questions;
    std::deque<Answer> answers; // none left: 导入
    QStringList summaries;
    qint64 cancelAt = -1; // the progress cancels once this many bytes are read
    qint64 progressed = 0;
    int ended = 0;

    std::optional<ColumnChoice> chooseColumns(const ColumnQuestion &question) override
    {
        questions.push_back(question);
        if (choices.empty())
            return std::nullopt;
        const std::optional<ColumnChoice> choice = choices.front();
        choices.pop_front();
        return choice;
    }
    bool progress(qint64 done, qint64 total) override
    {
        if (done > total || done < progressed)
            qFatal("progress went back or beyond its total");
        progressed = done;
        return cancelAt < 0 || done < cancelAt;
    }
    void endProgress() override { ++ended; }
    Answer confirm(const QString &summary, bool canImport, bool) override
    {
        summaries << summary;
        if (answers.empty())
            return canImport ? Answer::Import : Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

const QByteArray Header = g(u"时间\t收缩压\t舒张压\t脉搏\t来源\t备注") + "\r\n";

QByteArray bpLine(const char *stamp, const char *values, const char16_t *source, const char16_t *note = u"")
{
    return QByteArray(stamp) + '\t' + values + '\t' + g(source) + '\t' + g(note) + "\r\n";
}

// Ann with one reading typed in, on 1 February 2025.
struct Importing : Surroundings
{
    Diary diary{folder, messages, [this] { return now; }};
    ScriptedImportDialogs dialogs;
    const QByteArray typed = Header + bpLine("20241120073000", "138\t88\t", u"手动");

    Importing()
    {
        now = QDateTime(QDate(2025, 2, 1), QTime(9, 0));
        QVERIFY(writeBytes(folder.userListPath(), "Ann\r\n"));
        writeRecords(womanEntries(1));
        writeUserFile(UserFile::BloodPressure, typed);
        QVERIFY(diary.load());
        diary.confirmUser(u"Ann"_qs);
        messages.shown.clear();
    }
    Outcome import(const QByteArray &bytes)
    {
        QBuffer device;
        device.setData(bytes);
        device.open(QIODevice::ReadOnly);
        return diary.importReadings(device, dialogs);
    }
    QByteArray bp() const { return userFile(UserFile::BloodPressure); }
    QString memoryPath() const { return dir.filePath(ColumnMemoryFileName); }
};

const ColumnChoice OtherTableColumns{0, -1, 1, 2, 3, DateOrder::DayMonthYear};

} // namespace

class ReadingsImportTest : public QObject
{
    Q_OBJECT

private slots:
    void eachLayoutGivesItsReadings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("zones");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("monitor app, zones") << data(u"monitor_zones.csv"_qs) << u"血压计App导出的表格"_qs
            << QStringList{u"Asia/Shanghai"_qs, u"Europe/Berlin"_qs, u"America/New_York"_qs}
            << QStringList{u"20241121114000 128/82 71 BPM-A20"_qs, u"20241121070500 136/88 68 BPM-A20"_qs,
                           u"20240331015000 131/84 70 BPM-A20"_qs, u"20240331031000 129/83 69 BPM-A20"_qs,
                           u"20241231235800 140/90 75 BPM-A20"_qs, u"20250101000300 138/89 74 BPM-A20"_qs,
                           u"20241121070500 136/88 68 BPM-A20"_qs, u"20241122213000 126/80 0 血压计App"_qs,
                           u"9: 收缩压应在 60 到 300 之间"_qs, u"10: 缺少舒张压"_qs,
                           u"11: 日期或时间无法识别：“2024/13/22 07:20”"_qs};
        QTest::newRow("monitor app, month names") << data(u"monitor_dates.csv"_qs) << u"血压计App导出的表格"_qs << QStringList{}
            << QStringList{u"20250112074100 132/84 66 血压计App | after walk"_qs, u"20250112210500 128/80 0 血压计App"_qs,
                           u"20250113001000 125/79 64 血压计App"_qs, u"20241231235900 130/85 70 血压计App | late, tired"_qs,
                           u"6: 日期或时间无法识别：“Feb 29 2025 7:00 AM”"_qs, u"7: 缺少收缩压和舒张压"_qs};
        QTest::newRow("GBK, semicolons") << data(u"chinese_gbk.csv"_qs) << u"血压读数表格"_qs << QStringList{}
            << QStringList{u"20241120065800 135/86 72 表格导入 | 起床后"_qs, u"20241120211500 128/80 0 表格导入 | 睡前"_qs,
                           u"20241121070200 133/85 70 表格导入"_qs};
        // A spreadsheet's "Unicode text": UTF-16 (little-endian) with its mark, tabs.
        const QString unicode = u"\uFEFF测量日期\t测量时间\t高压(mmHg)\t低压(mmHg)\t心率(次/分)\t备注\r\n"
                                "2024-11-20\t06:58\t135\t86\t72\t起床后\r\n"_qs;
        const QByteArray unicodeText(reinterpret_cast<const char *>(unicode.utf16()), unicode.size() * 2);
        QTest::newRow("UTF-16, tabs") << unicodeText << u"血压读数表格"_qs << QStringList{}
                                      << QStringList{u"20241120065800 135/86 72 表格导入 | 起床后"_qs};
        QTest::newRow("own export") << data(u"own_export.csv"_qs) << u"本程序导出的血压读数表格"_qs << QStringList{}
            << QStringList{u"20241121073000 138/88 72 手动 | 起床后"_qs, u"20241121210509 132/84 0 =HEM 血压计 | -左臂"_qs,
                           u"20241122073100 135/86 70 BPM-A20 | 早饭前, 左臂"_qs};
        const QStringList phone{u"20211211180447 128/82 76 BP5"_qs, u"20240310013000 135/85 70 李华的 iPhone"_qs,
                                u"20240310033000 133/84 71 李华的 iPhone"_qs, u"20250101013000 142/91 0 李华的 iPhone"_qs,
                                u"20240331033000 128/79 66 李华的 iPhone"_qs, u"20240603073000 129/83 0 李华的 iPhone"_qs,
                                u"80: 缺少舒张压"_qs, u"83: 收缩压应在 60 到 300 之间"_qs};
        const QStringList phoneZones{u"UTC-07:00"_qs, u"UTC-08:00"_qs, u"Asia/Shanghai"_qs, u"Europe/Berlin"_qs};
        QTest::newRow("export.xml") << data(u"export.xml"_qs) << u"手机健康导出"_qs << phoneZones << phone;
        QTest::newRow("export.zip") << exportZip(data(u"export.xml"_qs)) << u"手机健康导出"_qs << phoneZones << phone;
    }

    void eachLayoutGivesItsReadings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, kind);
        QFETCH(QStringList, zones);
        QFETCH(QStringList, lines);
        const ImportedReadings result = imported(bytes);
        QCOMPARE(result.error, QString());
        QCOMPARE(result.kind, kind);
        QCOMPARE(described(result), lines);
        QCOMPARE(result.zones, zones);
    }

    void theOwnExportComesBackItemForItem()
    {
        std::vector<BpReading> readings;
        for (const ImportedReading &r : imported(data(u"own_export.csv"_qs)).readings)
            readings.push_back(r.reading);
        QCOMPARE(bpReadingsCsv(readings), data(u"own_export.csv"_qs));
    }

    void datesAsWritten_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("expected"); // yyyyMMddhhmmss and the offset; empty: not read
        const int ymd = int(DateOrder::YearMonthDay), dmy = int(DateOrder::DayMonthYear), mdy = int(DateOrder::MonthDayYear);
        QTest::newRow("slashes") << "2024/11/21 11:40" << ymd << "20241121114000";
        QTest::newRow("Chinese") << "2024年11月21日 下午3:05" << ymd << "20241121150500";
        QTest::newRow("noon") << "2024-11-21 中午12:30" << ymd << "20241121123000";
        QTest::newRow("month name") << "12 January 2025, 19:05:09" << ymd << "20250112190509";
        QTest::newRow("weekday") << "Sun, Jan 12 2025 12:10 AM" << ymd << "20250112001000";
        QTest::newRow("day first") << "21.11.2024 07:30" << dmy << "20241121073000";
        QTest::newRow("month first") << "11/21/2024 7:30 PM" << mdy << "20241121193000";
        QTest::newRow("year last, order unknown") << "11/21/2024 7:30" << ymd << "";
        QTest::newRow("ISO with offset") << "2021-12-11T18:04:47.250-07:00" << ymd << "20211211180447 -420";
        QTest::newRow("UTC") << "2024-11-21 07:30:00Z" << ymd << "20241121073000 0";
        QTest::newRow("stamp digits") << "20241121073000" << ymd << "20241121073000";
        QTest::newRow("30 February") << "2024-02-30 07:00" << ymd << "";
        QTest::newRow("13 PM") << "2024-02-03 13:00 PM" << ymd << "";
        QTest::newRow("before 1900") << "1899-12-30 07:30" << ymd << "";
        QTest::newRow("no time") << "2024-11-21" << ymd << "";
        QTest::newRow("trailing words") << "2024-11-21 07:30 morning" << ymd << "";
    }

    void datesAsWritten()
    {
        QFETCH(QString, text);
        QFETCH(int, order);
        QFETCH(QString, expected);
        const std::optional<WrittenTime> written = writtenDateTime(text, DateOrder(order));
        QString got;
        if (written) {
            got = QString::number(clockStampOf(written->date, written->time));
            if (written->offsetMinutes)
                got += u' ' + QString::number(*written->offsetMinutes);
        }
        QCOMPARE(got, expected);
    }

    void dayAndMonthAreToldApartByTheDates_data()
    {
        QTest::addColumn<QByteArray>("cells");
        QTest::addColumn<int>("order"); // -1: cannot be told
        QTest::newRow("a day above 12 first") << QByteArray("03.04.2024 07:00\n21.11.2024 07:30") << int(DateOrder::DayMonthYear);
        QTest::newRow("a day above 12 second") << QByteArray("03/04/2024 07:00\n11/21/2024 07:30") << int(DateOrder::MonthDayYear);
        QTest::newRow("never above 12") << QByteArray("03/04/2024 07:00\n04/03/2024 07:30") << -1;
        QTest::newRow("both ways") << QByteArray("13/04/2024 07:00\n04/13/2024 07:30") << -1;
        QTest::newRow("year first") << QByteArray("2024/03/04 07:00") << int(DateOrder::YearMonthDay);
    }

    void dayAndMonthAreToldApartByTheDates()
    {
        QFETCH(QByteArray, cells);
        QFETCH(int, order);
        const TableFile table = tableFileOf("Zeit,Oben,Unten\n" + cells.replace("\n", ",130,80\n") + ",130,80\n");
        const std::optional<DateOrder> found = dateOrderOf(table, 0);
        QCOMPARE(found ? int(*found) : -1, order);
    }

    void aNewImportGoesInOnceInOneSaveAndUndoTakesItBack()
    {
        Importing r;
        QCOMPARE(r.import(data(u"monitor_zones.csv"_qs)).changed, Outcome::Change::Readings);
        QCOMPARE(r.dialogs.summaries,
                 QStringList{u"血压计App导出的表格中有 8 条血压读数，时间从 2024年03月31日 01:50 到 2025年01月01日 00:03。\n"
                             "文件中的时区：Asia/Shanghai、Europe/Berlin、America/New_York；每条读数按测量地当时的钟点记入。\n"
                             "1 条已在日记中或在文件中重复（同一分钟、同样数值），将跳过。\n"
                             "3 行不能导入：\n"
                             "    第 9 行：收缩压应在 60 到 300 之间\n"
                             "    第 10 行：缺少舒张压\n"
                             "    第 11 行：日期或时间无法识别：“2024/13/22 07:20”\n"
                             "将导入 7 条新读数。"_qs});
        QCOMPARE(r.messages.shown, QStringList{messages::readingsImported(7)});
        const QByteArray imported = Header + bpLine("20240331015000", "131\t84\t70", u"BPM-A20")
                                    + bpLine("20240331031000", "129\t83\t69", u"BPM-A20")
                                    + bpLine("20241120073000", "138\t88\t", u"手动")
                                    + bpLine("20241121070500", "136\t88\t68", u"BPM-A20")
                                    + bpLine("20241121114000", "128\t82\t71", u"BPM-A20")
                                    + bpLine("20241122213000", "126\t80\t", u"血压计App")
                                    + bpLine("20241231235800", "140\t90\t75", u"BPM-A20")
                                    + bpLine("20250101000300", "138\t89\t74", u"BPM-A20");
        QCOMPARE(r.bp(), imported);
        QCOMPARE(r.records(), womanEntries(1));
        // The same file again brings nothing new and asks nothing.
        r.messages.shown.clear();
        QVERIFY(!r.import(data(u"monitor_zones.csv"_qs)).saved());
        QVERIFY(r.dialogs.summaries.last().contains(u"8 条已在日记中或在文件中重复"_qs));
        QVERIFY(r.dialogs.summaries.last().endsWith(u"没有可以导入的新读数，日记没有改动。"_qs));
        QCOMPARE(r.bp(), imported);
        r.diary.undoLastChange(ChartStyle::Bars);
        QCOMPARE(r.messages.last(), messages::confirmUndo(u"Ann"_qs, u"导入血压读数"_qs));
        QCOMPARE(r.bp(), r.typed);
    }

    void thePhoneExportThroughTheDiary()
    {
        Importing r;
        QVERIFY(r.import(exportZip(data(u"export.xml"_qs))).saved());
        QVERIFY(r.dialogs.progressed > 0);
        QCOMPARE(r.dialogs.ended, 1);
        QVERIFY(r.dialogs.summaries.value(0).startsWith(
            u"手机健康导出中有 6 条血压读数，时间从 2021年12月11日 18:04 到 2025年01月01日 01:30。\n"
            "文件中的时区：UTC-07:00、UTC-08:00、Asia/Shanghai、Europe/Berlin；"_qs));
        QCOMPARE(r.bp(), Header + bpLine("20211211180447", "128\t82\t76", u"BP5")
                             + bpLine("20240310013000", "135\t85\t70", u"李华的 iPhone")
                             + bpLine("20240310033000", "133\t84\t71", u"李华的 iPhone")
                             + bpLine("20240331033000", "128\t79\t66", u"李华的 iPhone")
                             + bpLine("20240603073000", "129\t83\t", u"李华的 iPhone")
                             + bpLine("20241120073000", "138\t88\t", u"手动")
                             + bpLine("20250101013000", "142\t91\t", u"李华的 iPhone"));
    }

    void cancellingWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("cancelAt");
        QTest::addColumn<int>("summaries");
        QTest::newRow("取消 on the summary") << data(u"chinese_gbk.csv"_qs) << qint64(-1) << 1;
        QTest::newRow("取消 while the export is read") << exportZip(data(u"export.xml"_qs)) << qint64(1) << 0;
        QTest::newRow("取消 on the columns") << data(u"other_table.csv"_qs) << qint64(-1) << 0;
    }

    void cancellingWritesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, cancelAt);
        QFETCH(int, summaries);
        Importing r;
        r.dialogs.answers = {Answer::Cancel};
        r.dialogs.cancelAt = cancelAt;
        QVERIFY(!r.import(bytes).saved());
        QCOMPARE(r.dialogs.summaries.size(), summaries);
        QCOMPARE(r.messages.shown, QStringList());
        QCOMPARE(r.bp(), r.typed);
        QVERIFY(!r.diary.canUndo());
        QVERIFY(!fileExists(r.memoryPath()));
    }

    void theChosenColumnsAreRememberedForTheSameHeadings()
    {
        Importing r;
        r.dialogs.choices = {OtherTableColumns};
        QVERIFY(r.import(data(u"other_table.csv"_qs)).saved());
        QCOMPARE(r.dialogs.questions.size(), size_t(1));
        const ColumnQuestion &asked = r.dialogs.questions[0];
        QCOMPARE(asked.headings, (QStringList{u"Messzeit"_qs, u"Oben"_qs, u"Unten"_qs, u"Puls"_qs, u"Kommentar"_qs}));
        QCOMPARE(asked.rows.size(), size_t(3));
        QCOMPARE(asked.rows[1], (QStringList{u"03.04.2024 08:00"_qs, u"130"_qs, u"82"_qs, u"68"_qs, u"Arzt"_qs}));
        QCOMPARE(asked.suggested, (ColumnChoice{0, -1, -1, -1, -1, DateOrder::DayMonthYear}));
        QCOMPARE(r.bp(), Header + bpLine("20240403080000", "130\t82\t68", u"表格导入")
                             + bpLine("20240403201500", "128\t80\t", u"表格导入") + bpLine("20241120073000", "138\t88\t", u"手动")
                             + bpLine("20241121073000", "135\t85\t70", u"表格导入"));
        const QByteArray memory = g(u"表头摘要\t日期列\t时间列\t收缩压列\t舒张压列\t脉搏列\t日期顺序\t列标题") + "\r\n"
                                  + "07081ef7bbcb2479ceae2deeba03703a1c8e5b07\t1\t0\t2\t3\t4\t" + g(u"日月年")
                                  + "\tMesszeit,Oben,Unten,Puls,Kommentar\r\n";
        QCOMPARE(readBytes(r.memoryPath()), memory);
        // The next table with these headings is read with the same columns, unasked.
        r.diary.undoLastChange(ChartStyle::Bars);
        QVERIFY(r.import(data(u"other_table.csv"_qs)).saved());
        QCOMPARE(r.dialogs.questions.size(), size_t(1));
        QVERIFY(r.dialogs.summaries.last().startsWith(u"表格（按所选的列读取）中有 3 条血压读数"_qs));
        QCOMPARE(readBytes(r.memoryPath()), memory);
        // A person who chooses again from the summary is asked, and the new choice remembered.
        r.diary.undoLastChange(ChartStyle::Bars);
        r.dialogs.answers = {Answer::ChooseColumns};
        r.dialogs.choices = {ColumnChoice{0, -1, 1, 2, -1, DateOrder::DayMonthYear}};
        QVERIFY(r.import(data(u"other_table.csv"_qs)).saved());
        QCOMPARE(r.dialogs.questions.back().why, messages::ChooseColumnsAgain);
        QCOMPARE(r.dialogs.questions.back().suggested, OtherTableColumns);
        QVERIFY(r.bp().contains("20241121073000\t135\t85\t\t"));
        QVERIFY(readBytes(r.memoryPath()).contains("\t1\t0\t2\t3\t0\t"));
        // A line of the file the program cannot read stays where it was.
        const QByteArray odd = "a line written by hand\r\n";
        QVERIFY(writeBytes(r.memoryPath(), readBytes(r.memoryPath()) + odd));
        r.diary.undoLastChange(ChartStyle::Bars);
        r.dialogs.answers = {Answer::ChooseColumns};
        r.dialogs.choices = {OtherTableColumns};
        QVERIFY(r.import(data(u"other_table.csv"_qs)).saved());
        QCOMPARE(readBytes(r.memoryPath()), memory + odd);
    }

    // What a file cannot be read as: a message saying why and that nothing
    // came in, quickly, and nothing written.
    void brokenAndHostileFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray xml = data(u"export.xml"_qs);
        const QByteArray zip = exportZip(xml);
        QTest::newRow("a cut-off zip") << zip.left(zip.size() / 2) << u"ZIP 文件不完整，可能没有下载或复制完"_qs;
        // 60 MB of blanks packed to a few hundred KB: stopped at 100 times that.
        QByteArray bomb = exportZip("<HealthData>" + QByteArray(60 << 20, ' ') + "</HealthData>");
        QBuffer packed(&bomb);
        QVERIFY(packed.open(QIODevice::ReadOnly));
        const qint64 limitMb = (ZipReader(packed).entries().at(0).compressedSize * 100 + (1 << 19)) >> 20;
        QVERIFY(limitMb > 1 && limitMb < 60);
        QTest::newRow("a zip bomb") << bomb
                                    << u"ZIP 文件中的一项解压后超过 %1 MB，可能是恶意构造的文件"_qs.arg(limitMb);
        QTest::newRow("a zip without the export") << *zipArchive({{u"a.txt"_qs, "x", {}}}, nullptr)
                                                  << u"ZIP 文件中没有手机健康导出（export.xml）"_qs;
        QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE HealthData [<!ENTITY a \"aaaaaaaaaa\">";
        for (char c = 'b'; c <= 'j'; ++c)
            laughs += QByteArray("<!ENTITY ") + c + " \"" + QByteArray(10, '&').replace("&", QByteArray("&") + char(c - 1) + ";") + "\">";
        laughs += "]><HealthData>&j;</HealthData>";
        QTest::newRow("entities that expand") << laughs
                                              << u"文件中声明了实体（ENTITY），手机导出的文件没有这些，可能是恶意构造的文件"_qs;
        QTest::newRow("a parameter entity") << QByteArray("<!DOCTYPE HealthData [<!ENTITY % p \"<!ELEMENT x ANY>\"> %p;]><HealthData/>")
                                            << u"文件中声明了实体（ENTITY），手机导出的文件没有这些，可能是恶意构造的文件"_qs;
        QTest::newRow("an entity declared outside") << QByteArray("<!DOCTYPE HealthData SYSTEM \"http://example.com/x.dtd\"><HealthData>&x;</HealthData>")
                                                    << u"文件引用了未声明的实体“x”"_qs;
        QTest::newRow("nested too deep") << "<HealthData>" + QByteArray("<a>").repeated(40) << u"文件的元素嵌套超过 32 层，不像手机健康导出"_qs;
        QTest::newRow("one huge attribute") << "<HealthData><Record type=\"" + QByteArray(6 << 20, 'x') + "\"/></HealthData>"
                                            << u"文件中有一项内容超过 4 MB（一个元素或文档类型声明），不像手机健康导出"_qs;
        QTest::newRow("other XML") << QByteArray("<html><body/></html>") << u"文件不是手机健康导出（没有 HealthData）"_qs;
        QTest::newRow("a cut-off export") << xml.left(xml.indexOf("<Correlation") + 40) << u"文件在第 58 行中断，不完整，可能没有导出或复制完"_qs;
        QTest::newRow("broken XML") << QByteArray("<HealthData>\n<Record a=1/></HealthData>") << u"文件第 2 行的 XML 格式有误，不是完整的手机健康导出"_qs;
        QTest::newRow("a binary file") << QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0", 10) + QByteArray(1000, '\x90')
                                       << u"文件含有不是文字的内容，既不是表格，也不是手机健康导出"_qs;
        QTest::newRow("a row of 10 MB") << "Date,Time,SYS,DIA\n" + QByteArray(10 << 20, '1') + "\n"
                                        << u"文件第 2 行超过 64 KB，不像血压读数表格"_qs;
        QTest::newRow("neither UTF-8 nor GBK") << QByteArray("Date,SYS,DIA\n2024-11-21 07:30,\xFF\xFE,80\n")
                                               << u"文件的文字编码无法识别（既不是UTF-8，也不是GBK）"_qs;
        QTest::newRow("an open quote") << QByteArray("Date,SYS,DIA\n\"2024-11-21 07:30,130,80\n")
                                       << u"表格第 2 行的引号没有结束"_qs;
        QTest::newRow("only headings") << QByteArray("Date,SYS,DIA\r\n") << u"表格中只有列标题，没有读数"_qs;
        QTest::newRow("the record table") << ThreeRecordsCsv << u"这是记录表格，不是血压读数；请用“导入记录表格…”导入"_qs;
        QTest::newRow("nothing") << QByteArray(" \r\n") << u"文件是空的"_qs;
        QTest::newRow("empty cells only") << QByteArray(",\r\n,,\r\n") << u"文件是空的"_qs;
    }

    void brokenAndHostileFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        Importing r;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!r.import(bytes).saved());
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(r.messages.shown, QStringList{messages::readingsRefused(reason)});
        QVERIFY(r.dialogs.summaries.isEmpty());
        QCOMPARE(r.bp(), r.typed);
    }

    // A file of 2 GB is refused by its size before a byte of it is read.
    void aFileOfTwoGigabytes_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a table") << QByteArray("Date,SYS,DIA\n") << u"文件有 2048 MB，超过了血压读数表格能读取的 32 MB"_qs;
        QTest::newRow("XML") << QByteArray("<?xml version=\"1.0\"?>\n<HealthData>")
                             << u"文件有 2048 MB，超过了手机健康导出能读取的 1024 MB"_qs;
    }

    void aFileOfTwoGigabytes()
    {
        QFETCH(QByteArray, start);
        QFETCH(QString, reason);
        Importing r;
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write(start);
        QVERIFY(file.resize(qint64(2048) << 20)); // sparse: no disk is filled
        file.seek(0);
        QVERIFY(!r.diary.importReadings(file, r.dialogs).saved());
        QCOMPARE(r.messages.shown, QStringList{messages::readingsRefused(reason)});
    }

    void aChangeOfTheFileMeanwhileIsNeverOverwritten()
    {
        Importing r;
        const QByteArray changed = r.typed + bpLine("20241121080000", "120\t80\t", u"手动");
        struct Meddling : ScriptedImportDialogs
        {
            std::function<void()> meddle;
            Answer confirm(const QString &summary, bool canImport, bool canChoose) override
            {
                meddle();
                return ScriptedImportDialogs::confirm(summary, canImport, canChoose);
            }
        } dialogs;
        dialogs.meddle = [&] { r.writeUserFile(UserFile::BloodPressure, changed); };
        QBuffer device;
        device.setData(data(u"chinese_gbk.csv"_qs));
        device.open(QIODevice::ReadOnly);
        QVERIFY(!r.diary.importReadings(device, dialogs).saved());
        QCOMPARE(r.messages.shown, QStringList{messages::ChangedOutside});
        QCOMPARE(r.bp(), changed);
    }
};

QTEST_GUILESS_MAIN(ReadingsImportTest)
#include "tst_readings_import.moc"
