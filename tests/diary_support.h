#pragma once

// Scripted message boxes, a fixed clock and a program folder whose saves and
// reads can be made to fail: what the diary's and the window's tests share.

#include "diary/diary.h"
#include "diary/entry.h"
#include "diary/seams.h"
#include "records/data_folder.h"
#include "records/record_file.h"
#include "test_support.h"

#include <QDateTime>
#include <QDir>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <deque>

namespace velmora::test {

class ScriptedMessages : public MessageBoxes
{
public:
    QStringList shown;        // every text shown, in order
    std::deque<bool> answers; // Yes/No answers to give, in order; Yes when none is left

    void inform(const QString &text) override { shown << text; }
    bool ask(const QString &question) override
    {
        shown << question;
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString last() const { return shown.isEmpty() ? QString() : shown.last(); }
};

// A program folder whose saves fail after a number of bytes, and whose reads
// of record files fail, when asked to.
class FaultyFolder : public DataFolder
{
public:
    using DataFolder::DataFolder;
    qint64 failAfterBytes = -1;
    bool failRecordReads = false;
    QString failMoveOf; // a file name ending: such files cannot be moved (another program holds them)
    FileResult save(const QString &path, const ContentWriter &write) const override
    {
        return saveFile(path, write, SaveFaults{failAfterBytes, false, {}});
    }
    std::optional<QByteArray> read(const QString &path, QString *error) const override
    {
        if (failRecordReads && path != userListPath()) {
            *error = QStringLiteral("读取文件时出错");
            return std::nullopt;
        }
        return DataFolder::read(path, error);
    }
    bool moveFile(const QString &from, const QString &to) const override
    {
        if (!failMoveOf.isEmpty() && from.endsWith(failMoveOf))
            return false;
        return DataFolder::moveFile(from, to);
    }
};

// A temporary program folder whose saves can fail, scripted message boxes and
// the clock's time, for a diary or a window made over them.
struct Surroundings
{
    QTemporaryDir dir;
    FaultyFolder folder{dir.path()};
    ScriptedMessages messages;
    QDateTime now{QDate(2010, 3, 1), QTime(9, 5, 3)};

    QByteArray list() const { return readBytes(folder.userListPath()); }
    QByteArray records(const QString &user = QStringLiteral("Ann")) const
    {
        return readBytes(folder.RecordFilePath(user));
    }
    void writeRecords(const QByteArray &bytes, const QString &user = QStringLiteral("Ann")) const
    {
        QVERIFY(writeBytes(folder.RecordFilePath(user), bytes));
    }
    QByteArray userFile(UserFile file, const QString &user = QStringLiteral("Ann")) const
    {
        return readBytes(folder.userFilePath(user, file));
    }
    void writeUserFile(UserFile file, const QByteArray &bytes, const QString &user = QStringLiteral("Ann")) const
    {
        QVERIFY(writeBytes(folder.userFilePath(user, file), bytes));
    }
};

// Numbers in box order Text2 .. Text12 for the woman of the examples:
// age 30, height 160, weight 50, triglycerides 1.2, 120/80, sugar 5.1,
// no smoking or drinking, cholesterol 4.5, waist 70.
inline QList<QString> womansNumbers()
{
    return {"30", "160", "50", "1.2", "120", "80", "5.1", "0", "0", "4.5", "70"};
}

// The woman's entry texts, with other numbers, sex or heredity where given.
inline EntryTexts woman(QList<QString> numbers = womansNumbers(), QString sex = QStringLiteral("女"),
                        QString heredity = QStringLiteral("无"))
{
    EntryTexts texts{std::move(sex), {}, std::move(heredity)};
    for (int n = 2; n <= 12; ++n)
        texts.box(n) = numbers.value(n - 2);
    return texts;
}

// The entries of a record file's content, by value.
inline std::vector<HealthRecord> entriesOf(const QByteArray &content)
{
    RecordTable table;
    const int count = readRecords(content, table);
    std::vector<HealthRecord> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(table[i]);
    return entries;
}

inline QByteArray womansRecordLines(const QByteArray &recordId)
{
    return crlfLines({recordId, g(u"女"), " 30 ", " 160 ", " 50 ", " 1.2 ", " 120 ", " 80 ", " 5.1 ", " 0 ", " 0 ",
                      " 4.5 ", " 70 ", g(u"无")});
}

// Entries of the woman under these id lines, aged 20 + i to tell them apart.
inline QByteArray entriesAt(const QStringList &ids)
{
    QByteArray out;
    for (int i = 0; i < ids.size(); ++i)
        out += womansRecordLines(ids[i].toLatin1()).replace(" 30 ", " " + QByteArray::number(20 + (i % 100)) + " ");
    return out;
}

// n entries of the woman, ids 20100101000000 + i, ages 20 + i.
inline QByteArray womanEntries(int n)
{
    QStringList ids;
    for (int i = 0; i < n; ++i)
        ids << QString::number(20100101000000LL + i);
    return entriesAt(ids);
}

// A diary of Ann (two records) and Bob (one), Ann confirmed, at the time
// given, nothing said yet: the home readings' and the medicines' tests.
struct AnnAndBob : Surroundings
{
    Diary diary{folder, messages, [this] { return now; }};

    explicit AnnAndBob(const QDateTime &at)
    {
        now = at;
        QVERIFY(writeBytes(folder.userListPath(), "Ann\r\nBob\r\n"));
        writeRecords(womanEntries(2));
        writeRecords(womanEntries(1), QStringLiteral("Bob"));
        QVERIFY(diary.load());
        diary.confirmUser(QStringLiteral("Ann"));
        messages.shown.clear();
    }
};

// Three records in file order: a man with every factor, a woman without an
// answer for heredity, and a man with a diagnosis where cholesterol belongs.
inline QByteArray threeRecords()
{
    return crlfLines({"20090620210129", g(u"男"), " 56 ", " 172 ", " 80 ", " 2.1 ", " 150 ", " 95 ", " 6.5 ", " 10 ",
                      " 5 ", " 6.2 ", " 92 ", g(u"有")})
           + crlfLines({"20091105083000", g(u"女"), " 30 ", " 160 ", " 50 ", " 1.2 ", " 120 ", " 80 ", " 5.1 ", " 0 ",
                        " 0 ", " 4.5 ", " 70 ", ""})
           + crlfLines({"20100301090503", g(u"男"), " 60 ", " 170 ", " 75 ", " 1.8 ", " 140 ", " 85 ", " 7.2 ", " 0 ",
                        " 0 ", g(u"糖尿病"), " 88 ", g(u"无")});
}

inline const QByteArray RecordTableHeading =
    "日期时间,性别,年龄(岁),身高(cm),体重(kg),腰围(cm),胆固醇(mmol/L),甘油三脂(mmol/L),"
    "血压/高(mmHg),血压/低(mmHg),血糖(mmol/L),吸烟(年),饮酒(年),遗传,风险评分\r\n";

// The record table the export makes of them. Scores of the display pass:
// 8 + 45 x 56 + 4.5 x 13 + 5 x 0.4 + 16 x 5 + 16 x 5 + 10 x 0.39 + 8 x 10 + 8 x 5
// + 4.5 x 0.48 + 5 x 92 + 12; 4 + 45 x 30 + 70; a text as cholesterol scores 0
// (the diagnosis counts only when storing).
inline const QByteArray ThreeRecordsCsv = "\xEF\xBB\xBF" + RecordTableHeading
                                          + "2009-06-20 21:01:29,男,56,172,80,92,6.2,2.1,150,95,6.5,10,5,有,3346.56\r\n"
                                            "2009-11-05 08:30:00,女,30,160,50,70,4.5,1.2,120,80,5.1,0,0,,1424\r\n"
                                            "2010-03-01 09:05:03,男,60,170,75,88,糖尿病,1.8,140,85,7.2,0,0,无,0\r\n";

// A diary of two people with Chinese names and every kind of file, by file
// name: 张三 with three records, two answers, two readings and two lines of
// medicines; 李四 with one record.
inline QMap<QString, QByteArray> chineseDiary()
{
    const QByteArray manual = "\t" + g(u"手动") + "\t\r\n";
    return {
        {QStringLiteral("yonghu.dat"), g(u"张三\r\n李四\r\n")},
        {QStringLiteral("张三.dat"), womanEntries(3)},
        {QStringLiteral("张三.cvd"), g(u"吸烟=是\r\n糖尿病=否\r\n")},
        {QStringLiteral("张三.bp"), g(u"时间\t收缩压\t舒张压\t脉搏\t来源\t备注\r\n") + "20241121073000\t138\t88\t72" + manual
                                     + "20241122073000\t132\t84\t" + manual},
        {QStringLiteral("张三.med"), g(u"时间\t事件\t药名\t剂量\t用法\t备注\r\n20241121080000\t开始\t氨氯地平\t5 mg\t每日1次\t\r\n"
                                      u"20241122080000\t单次\t阿司匹林\t\t\t\r\n")},
        {QStringLiteral("李四.dat"), womanEntries(1)},
    };
}

// Every file directly in a folder, by name (hidden ones too).
inline QMap<QString, QByteArray> filesIn(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        files[name] = readBytes(QDir(folder).filePath(name));
    return files;
}

inline void writeFiles(const QString &folder, const QMap<QString, QByteArray> &files)
{
    for (auto file = files.begin(); file != files.end(); ++file)
        QVERIFY(writeBytes(QDir(folder).filePath(file.key()), file.value()));
}

} // namespace velmora::test
