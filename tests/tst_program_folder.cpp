// Where the program keeps its files.

#include "program_folder.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

class ProgramFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void ownFolderWhenWritable()
    {
        QTemporaryDir exe, user;
        QCOMPARE(chooseProgramFolder(exe.path(), user.path(), nullptr), std::optional<QString>(exe.path()));
    }

    void installedCopyKeepsDataPerUser()
    {
        QTemporaryDir prefix, user;
        QDir root(prefix.path());
        QVERIFY(root.mkpath(QStringLiteral("bin")) && root.mkpath(QStringLiteral("share/applications")));
        QVERIFY(test::writeBytes(root.filePath(QStringLiteral("share/applications/velmora.desktop")), "[Desktop Entry]\n"));
        const QString bin = root.filePath(QStringLiteral("bin"));
        QVERIFY(isInstalledCopy(bin));
        const QString data = QDir(user.path()).filePath(QStringLiteral("Velmora"));
        QCOMPARE(chooseProgramFolder(bin, data, nullptr), std::optional<QString>(data));
        QVERIFY(QDir(data).exists());
    }

    void neitherFolderWritable()
    {
        QTemporaryDir dir;
        // Paths below a file can never be created or written.
        const QString file = QDir(dir.path()).filePath(QStringLiteral("plain"));
        QVERIFY(test::writeBytes(file, "x"));
        QString error;
        QCOMPARE(chooseProgramFolder(file + QStringLiteral("/exe"), file + QStringLiteral("/data"), &error),
                 std::nullopt);
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ProgramFolderTest)
#include "tst_program_folder.moc"
