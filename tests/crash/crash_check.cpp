// Prepares and checks the folder that crash_writer saves to.
//
//   crash_check init <folder>
//       Creates the folder with the base user list and a record file of
//       InitialEntries entries; prints "entries <count>".
//   crash_check verify <folder> <confirmed>
//       Checks the folder after crash_writer was killed, where <confirmed> is
//       the entry count of the last save the writer reported (or the count
//       found before it started). Prints "entries <count>" and one line
//       "leftover <name> <bytes> complete|partial|empty" per temporary file of a
//       save left behind.
//       Exit status 1 and a "FAIL: ..." line when a check fails.
//   crash_check smoke <crash_writer> [rounds]
//       Runs the writer for a few rounds to completion in a temporary folder
//       and checks the exact result (a quick test that needs no killing).
//
// The checks after a kill: the record file is whole entries only (fourteen
// CR LF terminated lines each, ending with CR LF) and is byte for byte the old
// complete content (<confirmed> entries) or the new one (<confirmed> + 1); the
// user list is byte for byte one of its two contents; nothing else is in the
// folder except temporary files of an interrupted save. Those are named
// "<file>.velmora-tmp-XXXXXX" and are accepted only because no reader ever
// opens them (the program reads yonghu.dat and "<user>.dat" for the users in
// the list, and such a name never ends in ".dat") and the next start removes
// them.

#include "../test_support.h"
#include "crash_common.h"
#include "records/data_folder.h"
#include "records/text_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

using namespace velmora;
using namespace velmora::crash;

namespace {

void out(const QString &line)
{
    std::fprintf(stdout, "%s\n", qPrintable(line));
}

int fail(const QString &reason)
{
    std::fprintf(stdout, "FAIL: %s\n", qPrintable(reason));
    std::fflush(stdout);
    return 1;
}

int init(const QString &path)
{
    if (!QDir().mkpath(path))
        return fail(QStringLiteral("cannot create %1").arg(path));
    const DataFolder folder(path);
    if (!test::writeBytes(folder.userListPath(), userListBytes(baseUserNames()))
        || !test::writeBytes(folder.RecordFilePath(recordUser()), recordFileBytes(InitialEntries)))
        return fail(QStringLiteral("cannot write the files of %1").arg(path));
    out(QStringLiteral("entries %1").arg(InitialEntries));
    return 0;
}

// The record file's entry count, or a failure message: it must be byte for
// byte the content of the last confirmed save or of the one after it.
std::optional<int> checkRecordFile(const DataFolder &folder, int confirmed, QString *problem)
{
    QString error;
    const auto content = readWholeFile(folder.RecordFilePath(recordUser()), &error);
    if (!content) {
        *problem = QStringLiteral("the record file cannot be read: %1").arg(error);
        return std::nullopt;
    }
    for (int count : {confirmed, confirmed + 1})
        if (*content == recordFileBytes(count))
            return count;
    RecordTable table;
    *problem = QStringLiteral("the record file (%1 bytes, %2 entries read) is neither the content of %3 entries nor of %4")
                   .arg(content->size())
                   .arg(readRecords(*content, table))
                   .arg(confirmed)
                   .arg(confirmed + 1);
    return std::nullopt;
}

bool checkUserList(const DataFolder &folder, QString *problem)
{
    QString error;
    const auto content = readWholeFile(folder.userListPath(), &error);
    if (!content || (*content != userListBytes(baseUserNames()) && *content != userListBytes(extendedUserNames()))) {
        *problem = QStringLiteral("the user list is neither of its two contents: \"%1\" %2")
                       .arg(QString::fromLatin1(content.value_or(QByteArray()).toPercentEncoding()), error);
        return false;
    }
    return true;
}

// Whether a temporary file holds a complete content (a save interrupted
// after writing, between naming the file and renaming it) or a partial one.
QString leftoverState(const QFileInfo &entry)
{
    QString error;
    const auto content = readWholeFile(entry.filePath(), &error);
    if (!content)
        return QStringLiteral("unreadable");
    if (content->isEmpty())
        return QStringLiteral("empty");
    if (entry.fileName().startsWith(QStringLiteral("yonghu.dat")))
        return *content == userListBytes(baseUserNames()) || *content == userListBytes(extendedUserNames())
                   ? QStringLiteral("complete")
                   : QStringLiteral("partial");
    RecordTable table;
    return *content == recordFileBytes(readRecords(*content, table)) ? QStringLiteral("complete")
                                                                      : QStringLiteral("partial");
}

// Files other than the two the program reads: temporary files of an
// interrupted save are listed (they are harmless, see above); anything else
// is a failure.
bool checkOtherFiles(const DataFolder &folder, QStringList *leftovers, QString *problem)
{
    const QString userList = QFileInfo(folder.userListPath()).fileName();
    const QString recordFile = QFileInfo(folder.RecordFilePath(recordUser())).fileName();
    const QFileInfoList entries =
        QDir(folder.folder()).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (name == userList || name == recordFile)
            continue;
        const bool ours =
            name.startsWith(userList + TemporarySaveMarker) || name.startsWith(recordFile + TemporarySaveMarker);
        if (!ours || !isTemporarySaveName(name)) {
            *problem = QStringLiteral("unexpected file in the folder: %1").arg(name);
            return false;
        }
        // What the program reads: the user list and "<user>.dat" of a listed user.
        if (name == userList || name.endsWith(QStringLiteral(".dat"))) {
            *problem = QStringLiteral("a temporary file a reader would open: %1").arg(name);
            return false;
        }
        leftovers->append(QStringLiteral("%1 %2 %3").arg(name).arg(entry.size()).arg(leftoverState(entry)));
    }
    return true;
}

int verify(const QString &path, int confirmed)
{
    const DataFolder folder(path);
    QString problem;
    const auto count = checkRecordFile(folder, confirmed, &problem);
    if (!count)
        return fail(problem);
    if (!checkUserList(folder, &problem))
        return fail(problem);
    QStringList leftovers;
    if (!checkOtherFiles(folder, &leftovers, &problem))
        return fail(problem);
    out(QStringLiteral("entries %1").arg(*count));
    for (const QString &leftover : leftovers)
        out(QStringLiteral("leftover %1").arg(leftover));
    return 0;
}

int smoke(const QString &writer, int rounds)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return fail(QStringLiteral("no temporary folder"));
    const QString path = dir.filePath(QStringLiteral("program"));
    if (init(path) != 0)
        return 1;
    QProcess process;
    process.start(writer, {path, QString::number(rounds)});
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return fail(QStringLiteral("crash_writer failed: %1").arg(QString::fromLocal8Bit(process.readAllStandardError())));
    QList<QByteArray> lines = process.readAllStandardOutput().trimmed().split('\n');
    if (lines.isEmpty() || lines.takeFirst() != "ready")
        return fail(QStringLiteral("crash_writer did not report that it is ready"));
    if (lines.size() != 3 * rounds || lines.last() != "users removed"
        || lines[lines.size() - 3] != "records " + QByteArray::number(InitialEntries + rounds))
        return fail(QStringLiteral("crash_writer reported %1 lines").arg(lines.size()));
    const DataFolder folder(path);
    QString problem;
    const auto count = checkRecordFile(folder, InitialEntries + rounds, &problem);
    if (!count)
        return fail(problem);
    if (*count != InitialEntries + rounds)
        return fail(QStringLiteral("%1 entries after %2 rounds").arg(*count).arg(rounds));
    QString error;
    if (readWholeFile(folder.userListPath(), &error) != userListBytes(baseUserNames()))
        return fail(QStringLiteral("the user list is not back to its base content"));
    QStringList leftovers;
    if (!checkOtherFiles(folder, &leftovers, &problem))
        return fail(problem);
    if (!leftovers.isEmpty())
        return fail(QStringLiteral("completed saves left temporary files: %1").arg(leftovers.join(u", ")));
    out(QStringLiteral("smoke: %1 rounds, %2 entries").arg(rounds).arg(*count));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == u"init")
        return init(args[2]);
    if (args.size() >= 4 && args[1] == u"verify")
        return verify(args[2], args[3].toInt());
    if (args.size() >= 3 && args[1] == u"smoke")
        return smoke(args[2], args.size() >= 4 ? args[3].toInt() : 10);
    std::fprintf(stderr, "usage: crash_check init <folder> | verify <folder> <confirmed> | smoke <crash_writer> [rounds]\n");
    return 2;
}
