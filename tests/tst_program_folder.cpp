// Where the program keeps its files.

#include "records/program_folder.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {
enum class Copy { Portable, BuildTree, Installed, InstalledOnWindows, BesideABuild };
} // namespace

class ProgramFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void chooseFolder_data()
    {
        QTest::addColumn<Copy>("copy");
        QTest::addColumn<bool>("ownFolder"); // the data beside the program, else in the per-user folder
        QTest::newRow("a copy in a folder of its own") << Copy::Portable << true;
        QTest::newRow("the build tree's copy") << Copy::BuildTree << false;
        QTest::newRow("an installed copy") << Copy::Installed << false;
        QTest::newRow("a copy the Windows installer put there") << Copy::InstalledOnWindows << false;
        QTest::newRow("a copy in a folder beside a build tree") << Copy::BesideABuild << true;
    }
    void chooseFolder()
    {
        QFETCH(Copy, copy);
        QFETCH(bool, ownFolder);
        QTemporaryDir prefix, user;
        QDir root(prefix.path());
        // A folder with a Chinese name, as people name them.
        QVERIFY(root.mkpath(QStringLiteral("健康日记")) && root.mkpath(QStringLiteral("share/applications"))
                && root.mkpath(QStringLiteral("build/src")));
        const QString bin = root.filePath(QStringLiteral("健康日记"));
        const QString build = root.filePath(QStringLiteral("build/src"));
        switch (copy) {
        case Copy::Portable:
            break;
        case Copy::BuildTree:
        case Copy::BesideABuild:
            QVERIFY(test::writeBytes(QDir(build).filePath(QString::fromLatin1(BuildTreeMarker)), "a build\n"));
            break;
        case Copy::Installed:
            QVERIFY(test::writeBytes(root.filePath(QStringLiteral("share/applications/velmora.desktop")),
                                     "[Desktop Entry]\n"));
            break;
        case Copy::InstalledOnWindows:
            QVERIFY(test::writeBytes(QDir(bin).filePath(QString::fromLatin1(InstalledMarker)), ""));
            break;
        }
        const QString program = copy == Copy::BuildTree ? build : bin;
        const QString data = QDir(user.path()).filePath(QStringLiteral("Velmora"));
        QCOMPARE(chooseProgramFolder(program, data, nullptr), std::optional<QString>(ownFolder ? program : data));
        QCOMPARE(QDir(data).exists(), !ownFolder);
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

    // The build writes its marker beside the program it builds.
    void theBuildMarksItsOwnCopy()
    {
        QVERIFY(isBuildTreeCopy(QStringLiteral(VELMORA_PROGRAM_FOLDER)));
    }
};

QTEST_GUILESS_MAIN(ProgramFolderTest)
#include "tst_program_folder.moc"
