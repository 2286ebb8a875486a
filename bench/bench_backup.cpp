// Backups of a diary of 100,000 records (张三 60,000 and 李四 40,000, written
// by the program's own writer, with 2,000 home readings): the whole backup as
// 备份日记… makes it (every file read, the zip made in memory, written through
// the save routine, read back and checked against the manifest, then given
// its name); the parts of it; and a restore's check of the same zip, then the
// restore of one deleted user.

#include "bench_data.h"
#include "backup/backup_archive.h"
#include "backup/backup_check.h"
#include "backup/restore_plan.h"
#include "readings/bp_file.h"
#include "records/gbk.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace velmora;
using namespace velmora::bench;

namespace {

const QDateTime Now(QDate(2026, 12, 8), QTime(9, 30));

struct Diary
{
    QTemporaryDir dir;
    QTemporaryDir stick;
    DataFolder folder{dir.path()};
    QString zhang = QStringLiteral("张三");
    QString li = QStringLiteral("李四");
};

Diary *g_diary = nullptr;

bool makeDiary(Diary &diary)
{
    BpFile readings;
    for (int i = 0; i < 2000; ++i)
        readings.entries.push_back({clockStampOf(Now.addSecs(-3600LL * 11 * (2000 - i))), 120 + i % 30, 80 - i % 20, 70, ManualSource, {}});
    const QByteArray list = gbk(diary.zhang + QStringLiteral("\r\n") + diary.li + QStringLiteral("\r\n"));
    return makeRecordFile(diary.folder, diary.zhang, 60000) && makeRecordFile(diary.folder, diary.li, 40000)
           && saveFile(diary.folder.userListPath(), [&](QIODevice &d) { return writeAll(d, list); })
           && saveFile(diary.folder.userFilePath(diary.zhang, UserFile::BloodPressure),
                       [&](QIODevice &d) { return writeBpFile(d, readings); });
}

qint64 diaryBytes(const Diary &diary)
{
    qint64 bytes = 0;
    for (const QFileInfo &file : QDir(diary.dir.path()).entryInfoList(QDir::Files))
        bytes += file.size();
    return bytes;
}

// 备份日记… as a whole, into a folder of its own; the file goes again after each pass.
void BM_BackUp100000Records(benchmark::State &state)
{
    qint64 zipBytes = 0;
    for (auto _ : state) {
        QString path;
        if (!backUpInto(g_diary->folder, g_diary->stick.path(), Now, BackupOccasion::Plain, &path)) {
            state.SkipWithError("the backup was not made");
            return;
        }
        state.PauseTiming();
        zipBytes = QFileInfo(path).size();
        QFile::remove(path);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * diaryBytes(*g_diary));
    state.counters["zip_MB"] = double(zipBytes) / 1e6;
}

// Its parts: the files read and zipped in memory; the check of the zip.
void BM_MakeBackupInMemory(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(makeBackup(g_diary->folder, Now, nullptr));
}

void BM_CheckBackup(benchmark::State &state)
{
    const std::optional<Backup> backup = makeBackup(g_diary->folder, Now, nullptr);
    for (auto _ : state) {
        QBuffer device;
        device.setData(backup->zip);
        device.open(QIODevice::ReadOnly);
        const BackupCheck check = checkBackup(device);
        if (!check.isComplete()) {
            state.SkipWithError("the backup did not check complete");
            return;
        }
    }
}

// 张三 deleted, then brought back from the checked backup (his 60,000 records
// and 2,000 readings written and put in place); deleting him again is not timed.
void BM_RestoreOneUser(benchmark::State &state)
{
    const std::optional<Backup> backup = makeBackup(g_diary->folder, Now, nullptr);
    QBuffer device;
    device.setData(backup->zip);
    device.open(QIODevice::ReadOnly);
    const BackupCheck check = checkBackup(device);
    for (auto _ : state) {
        state.PauseTiming();
        g_diary->folder.deleteUser(g_diary->zhang);
        state.ResumeTiming();
        QString error;
        const std::optional<RestorePlan> plan = planChosenUsers(g_diary->folder, check, {g_diary->zhang}, &error);
        if (!plan || !applyRestore(g_diary->folder, plan->changes)) {
            state.SkipWithError("the restore failed");
            return;
        }
    }
}

BENCHMARK(BM_BackUp100000Records)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_MakeBackupInMemory)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_CheckBackup)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_RestoreOneUser)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

int main(int argc, char **argv)
{
    Diary diary;
    if (!makeDiary(diary))
        return 1;
    g_diary = &diary;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
