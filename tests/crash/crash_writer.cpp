// Saves to a program folder over and over, so that a driver can kill it at
// any moment and check that every file is still either its old or its new
// complete content.
//
//   crash_writer <folder> [rounds]
//
// Each round reads the user list and the record file of user "crash", appends
// one entry through DataFolder::RewriteRecordFile(Append), then rewrites the
// user list twice (adding, then removing the name "scratch"). After each
// completed save one line goes to stdout, flushed at once:
//   ready              (once, before the first round)
//   records <entries now in the file>
//   users added
//   users removed
// A scratch name left in the list by an earlier kill is removed first
// ("users removed"). Without a round count it never stops. Exit status 2 means a read or save failed.

#include "crash_common.h"
#include "records/data_folder.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

using namespace velmora;
using namespace velmora::crash;

namespace {

[[noreturn]] void die(const char *what, const QString &error)
{
    std::fprintf(stderr, "crash_writer: %s: %s\n", what, qPrintable(error));
    std::exit(2);
}

void confirm(const char *line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: crash_writer <folder> [rounds]\n");
        return 1;
    }
    const DataFolder folder(QString::fromLocal8Bit(argv[1]));
    const long rounds = argc > 2 ? std::strtol(argv[2], nullptr, 10) : -1;

    // A kill between adding and removing the scratch name leaves it in the
    // list; take it out first, so the list is only ever one of two contents.
    QString error;
    const auto names = folder.loadUserNames(&error);
    if (!names)
        die("reading the user list", error);
    if (std::find(names->begin(), names->end(), scratchName()) != names->end()) {
        if (const FileResult saved = folder.removeUserName(scratchName()); !saved)
            die("removing from the user list", saved.error);
        confirm("users removed");
    }

    // Starting a process takes longer than most delays the driver waits; it
    // counts its delay from here.
    confirm("ready");

    RecordTable table;
    for (long round = 0; rounds < 0 || round < rounds; ++round) {
        QString error;
        if (!folder.loadUserNames(&error))
            die("reading the user list", error);

        // The file only grows, so the positions past the count are still empty.
        const ReadResult read = folder.readRecordFile(recordUser(), table);
        if (!read)
            die("reading the record file", read.error);
        const HealthRecord appended = crashRecord(read.count);
        if (const FileResult saved =
                folder.RewriteRecordFile(recordUser(), read.fingerprint, table, read.count, RewriteMode::Append,
                                         &appended);
            !saved)
            die("saving the record file", saved.error);
        confirm(QByteArray("records " + QByteArray::number(read.count + 1)).constData());

        if (const FileResult saved = folder.appendUserName(scratchName()); !saved)
            die("adding to the user list", saved.error);
        confirm("users added");
        if (const FileResult saved = folder.removeUserName(scratchName()); !saved)
            die("removing from the user list", saved.error);
        confirm("users removed");
    }
    return 0;
}
