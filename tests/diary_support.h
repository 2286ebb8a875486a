#pragma once

// Scripted message boxes, a fixed clock and a program folder whose saves and
// reads can be made to fail: what the diary's and the window's tests share.

#include "diary/entry.h"
#include "diary/seams.h"
#include "records/record_file.h"
#include "records/data_folder.h"
#include "test_support.h"

#include <QStringList>

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
    FileResult save(const QString &path, const ContentWriter &write) const override
    {
        return saveFile(path, write, failAfterBytes);
    }
    std::optional<QByteArray> read(const QString &path, QString *error) const override
    {
        if (failRecordReads && path != userListPath()) {
            *error = QStringLiteral("读取文件时出错");
            return std::nullopt;
        }
        return DataFolder::read(path, error);
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

// n entries of the woman, ids 20100101000000 + i, ages 20 + i.
inline QByteArray womanEntries(int n)
{
    QByteArray out;
    for (int i = 0; i < n; ++i) {
        QByteArray entry = womansRecordLines(QByteArray::number(20100101000000LL + i));
        entry.replace(" 30 ", " " + QByteArray::number(20 + (i % 100)) + " ");
        out += entry;
    }
    return out;
}

// A record file whose entries score exactly the given values: a man with
// nothing but years of smoking scores 8 + 8 x years.
inline QByteArray entriesScoring(const QList<double> &scores)
{
    QByteArray out;
    for (int i = 0; i < scores.size(); ++i) {
        const QByteArray smoking = " " + QByteArray::number((scores[i] - 8) / 8) + " ";
        out += crlfLines({QByteArray::number(20100101000000LL + i), g(u"男"), "", "", "", "", "", "", "", smoking, "",
                          "", "", g(u"无")});
    }
    return out;
}

} // namespace velmora::test
