// The user list file and the names that may become users.

#include "records/data_folder.h"
#include "records/user_list.h"
#include "records/user_name.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

class UserListTest : public QObject
{
    Q_OBJECT

private slots:
    void readsFieldsByTheListRules()
    {
        QCOMPARE(readUserNames(""), UserNames{});
        QCOMPARE(readUserNames("A\r\nB"), (UserNames{"A", "B"}));
        QCOMPARE(readUserNames("A,B\r\n  C  \r\n"), (UserNames{"A", "B", "C"}));
        QCOMPARE(readUserNames("\"x, y\"\r\n\r\n  \"z\"  ,w\n"), (UserNames{"x, y", "", "z", "w"}));
    }

    void anExistingListIsKeptEvenReadOnly()
    {
        QTemporaryDir dir;
        DataFolder folder(dir.path());
        QVERIFY(test::writeBytes(folder.userListPath(), "A\r\n"));
        QFile::setPermissions(folder.userListPath(), QFile::ReadOwner);
        QVERIFY(folder.ensureUserList());
        QCOMPARE(test::readBytes(folder.userListPath()), QByteArray("A\r\n"));
    }

    void removeDropsEveryCopyAndKeepsOtherBytes()
    {
        QTemporaryDir dir;
        DataFolder folder(dir.path());
        QVERIFY(test::writeBytes(folder.userListPath(), "A\r\n\xFF\xFE\r\nA\r\nB"));
        QVERIFY(folder.removeUserName("A"));
        QCOMPARE(test::readBytes(folder.userListPath()), QByteArray("\xFF\xFE\r\nB\r\n"));
        QVERIFY(folder.removeUserName("nobody"));
        QCOMPARE(test::readBytes(folder.userListPath()), QByteArray("\xFF\xFE\r\nB\r\n"));
    }

    void listsBeyond1001NamesAreKeptWhole()
    {
        QTemporaryDir dir;
        DataFolder folder(dir.path());
        QByteArray content;
        for (int i = 0; i < 1500; ++i)
            content += "u" + QByteArray::number(i) + "\r\n";
        QVERIFY(test::writeBytes(folder.userListPath(), content));
        QVERIFY(folder.appendUserName("last"));
        QString error;
        const auto names = folder.loadUserNames(&error);
        QVERIFY(names);
        QCOMPARE(names->size(), size_t(1501));
        QCOMPARE(names->back(), QByteArray("last"));
    }

    // A user goes with the records, or nothing changes.
    void deleteUserIsAllOrNothing_data()
    {
        QTest::addColumn<bool>("recordsStuck");
        QTest::addColumn<bool>("listStuck");
        QTest::newRow("both go") << false << false;
        QTest::newRow("records cannot be removed") << true << false;
        QTest::newRow("list cannot be rewritten") << false << true;
    }

    void deleteUserIsAllOrNothing()
    {
        QFETCH(bool, recordsStuck);
        QFETCH(bool, listStuck);
        struct StuckFolder : DataFolder
        {
            using DataFolder::DataFolder;
            bool recordsStuck = false;
            bool listStuck = false;
            bool moveFile(const QString &from, const QString &to) const override
            {
                return !recordsStuck && DataFolder::moveFile(from, to);
            }
            FileResult save(const QString &path, const ContentWriter &write) const override
            {
                return saveFile(path, write, SaveFaults{listStuck ? 0 : -1, false, {}});
            }
        };
        QTemporaryDir dir;
        StuckFolder folder(dir.path());
        folder.recordsStuck = recordsStuck;
        folder.listStuck = listStuck;
        QVERIFY(test::writeBytes(folder.userListPath(), "Alice\r\nBob\r\n"));
        QVERIFY(test::writeBytes(folder.RecordFilePath(QStringLiteral("Bob")), "records"));
        const FileResult deleted = folder.deleteUser(QStringLiteral("Bob"));
        const bool failed = recordsStuck || listStuck;
        QCOMPARE(deleted.ok, !failed);
        QCOMPARE(test::readBytes(folder.userListPath()), QByteArray(failed ? "Alice\r\nBob\r\n" : "Alice\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 failed ? QStringList({"Bob.dat", "yonghu.dat"}) : QStringList({"yonghu.dat"}));
        if (failed)
            QCOMPARE(test::readBytes(folder.RecordFilePath(QStringLiteral("Bob"))), QByteArray("records"));
    }

    // The user list is never taken for a record file, whatever the case of the name.
    void userListIsNoRecordFile()
    {
        QTemporaryDir dir;
        DataFolder folder(dir.path());
        QVERIFY(test::writeBytes(folder.userListPath(), "Alice\r\n"));
        RecordTable table;
        for (const QString &name : {QStringLiteral("yonghu"), QStringLiteral("YONGHU")}) {
            QVERIFY(!folder.RecordFileExists(name));
            QVERIFY(!folder.readRecordFile(name, table).ok);
            QVERIFY(!folder.createRecordFileIfMissing(name).ok);
            QVERIFY(!folder.deleteUser(name).ok);
            QVERIFY(!folder.RewriteRecordFile(name, {}, table, 0, RewriteMode::Modify).ok);
        }
        QCOMPARE(test::readBytes(folder.userListPath()), QByteArray("Alice\r\n"));
    }

    void userNameCheck_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("problem");
        const auto row = [](const char *tag, const QString &name, UserNameProblem problem) {
            QTest::newRow(tag) << name << int(problem);
        };
        row("chinese", QStringLiteral("张三"), UserNameProblem::None);
        row("empty", QString(), UserNameProblem::Empty);
        row("blanks", QStringLiteral("   "), UserNameProblem::Empty);
        row("outer blank", QStringLiteral(" Tom"), UserNameProblem::OuterBlanks);
        row("slash", QStringLiteral("a/b"), UserNameProblem::PathCharacter);
        row("backslash", QStringLiteral("..\\x"), UserNameProblem::PathCharacter);
        row("colon", QStringLiteral("C:x"), UserNameProblem::PathCharacter);
        row("comma", QStringLiteral("a,b"), UserNameProblem::PathCharacter);
        row("dot", QStringLiteral("."), UserNameProblem::DotName);
        row("dotdot", QStringLiteral(".."), UserNameProblem::DotName);
        row("control", QStringLiteral("a\tb"), UserNameProblem::ControlCharacter);
        row("device", QStringLiteral("con"), UserNameProblem::ReservedName);
        row("not gbk", QStringLiteral("😀"), UserNameProblem::NotGbk);
        row("kana", QStringLiteral("さくら"), UserNameProblem::None); // GBK holds kana
        row("100 bytes", QString(50, QChar(u'张')), UserNameProblem::None);
        row("102 bytes", QString(51, QChar(u'张')), UserNameProblem::TooLong);
        row("the user list", QStringLiteral("yonghu"), UserNameProblem::UserListName);
        row("the user list in capitals", QStringLiteral("YongHu"), UserNameProblem::UserListName);
        row("beside the user list", QStringLiteral("yonghu2"), UserNameProblem::None);
    }

    void userNameCheck()
    {
        QFETCH(QString, name);
        QFETCH(int, problem);
        QCOMPARE(int(checkUserName(name)), problem);
    }
};

QTEST_GUILESS_MAIN(UserListTest)
#include "tst_user_list.moc"
