// Home blood pressure files of 10,000, 100,000 and 1,000,000 readings (four a
// day, made with the program's own writer; a phone's import makes such files):
// - BM_StoreReading: 记录血压's 确定, from the typed boxes through the diary
//   to the file replaced by the atomic save;
// - BM_OpenReport: 家庭血压报告…, the latest week worked out and its window
//   made, with the readings as the diary holds them;
// - BM_OpenReportAfterChange: the same when the file changed since it was
//   last read (another program, the first opening after start-up), so it is
//   read and parsed whole again.
// Each reports the file's size and, for one such operation, how far the
// memory allocated rose above where it stood before (peak_MiB) and how much
// of it stayed allocated afterwards (held_MiB: the readings as the diary keeps
// them, the undo step), so that both can be set against the file's size.
// Every allocation of the program, Qt's included, is counted: this program
// puts its own malloc and free in front of the C library's (glibc).
// Runs offscreen, with the program folder in a temporary directory.

#include "bench_support.h"
#include "diary/diary.h"
#include "readings/bp_file.h"
#include "reports/home_bp_menu.h"
#include "reports/home_bp_window.h"
#include "reports/print_dialog.h"
#include "widgets/file_dialogs.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <functional>

// ---- The bytes allocated, now and at their peak ----------------------------
extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *memory, size_t size);
void *__libc_memalign(size_t alignment, size_t size);
void __libc_free(void *memory);
}

namespace {

std::atomic<long long> g_allocated{0};
std::atomic<long long> g_peak{0};

void *counted(void *memory)
{
    if (memory) {
        const long long now = g_allocated += (long long)malloc_usable_size(memory);
        long long peak = g_peak.load();
        while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
        }
    }
    return memory;
}

} // namespace

extern "C" {
void *malloc(size_t size)
{
    return counted(__libc_malloc(size));
}
void *calloc(size_t count, size_t size)
{
    return counted(__libc_calloc(count, size));
}
void *realloc(void *memory, size_t size)
{
    const long long before = memory ? (long long)malloc_usable_size(memory) : 0;
    void *moved = __libc_realloc(memory, size);
    if (moved || size == 0) {
        g_allocated -= before;
        counted(moved);
    }
    return moved;
}
void *memalign(size_t alignment, size_t size)
{
    return counted(__libc_memalign(alignment, size));
}
void *aligned_alloc(size_t alignment, size_t size)
{
    return counted(__libc_memalign(alignment, size));
}
int posix_memalign(void **result, size_t alignment, size_t size)
{
    void *memory = counted(__libc_memalign(alignment, size));
    if (!memory)
        return ENOMEM;
    *result = memory;
    return 0;
}
void free(void *memory)
{
    if (memory)
        g_allocated -= (long long)malloc_usable_size(memory);
    __libc_free(memory);
}
}

using namespace velmora;
using namespace velmora::bench;

namespace {

constexpr int Sizes[] = {10000, 100000, 1000000};

// Four readings a day (07:00, 07:02, 21:00, 21:02), ending on 2024-12-31.
QByteArray readingsFile(int count)
{
    BpFile file;
    file.entries.reserve(size_t(count));
    const QDate first = QDate(2024, 12, 31).addDays(-(count - 1) / 4);
    const QTime times[] = {QTime(7, 0), QTime(7, 2), QTime(21, 0), QTime(21, 2)};
    for (int i = 0; i < count; ++i)
        file.entries.push_back({clockStampOf(first.addDays(i / 4), times[i % 4]), 118 + i % 37, 72 + i % 19,
                                i % 3 ? 60 + i % 30 : 0, ManualSource, i % 50 ? QString() : QStringLiteral("左臂")});
    return *bpFileContent(file);
}

constexpr double MiB = 1024.0 * 1024.0;

// The memory an operation took: at its peak and what stayed, in MiB above where it stood before.
struct MemoryUse
{
    double peak = 0;
    double held = 0;
};

MemoryUse memoryOf(const std::function<void()> &operation)
{
    const long long before = g_allocated.load();
    g_peak = before;
    operation();
    return {double(g_peak.load() - before) / MiB, double(g_allocated.load() - before) / MiB};
}

void reportSizes(benchmark::State &state, const QByteArray &file, MemoryUse memory)
{
    state.counters["file_MiB"] = double(file.size()) / MiB;
    state.counters["peak_MiB"] = memory.peak;
    state.counters["held_MiB"] = memory.held;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A diary over a folder whose user Ann has the readings, read once.
struct BenchDiary
{
    QTemporaryDir dir;
    DataFolder folder{dir.path()};
    AlwaysYes messages;
    QByteArray readings;
    Diary diary{folder, messages, [] { return QDateTime(QDate(2026, 1, 1), QTime(8, 0)); }};

    explicit BenchDiary(int count) : readings(readingsFile(count))
    {
        QFile list(folder.userListPath());
        list.open(QIODevice::WriteOnly);
        list.write("Ann\r\n");
        list.close();
        QFile bp(folder.userFilePath(QStringLiteral("Ann"), UserFile::BloodPressure));
        bp.open(QIODevice::WriteOnly);
        bp.write(readings);
        bp.close();
        diary.load();
        diary.confirmUser(QStringLiteral("Ann"));
        diary.homeReadings(QStringLiteral("Ann"));
    }
};

void BM_StoreReading(benchmark::State &state)
{
    BenchDiary bench(int(state.range(0)));
    int minute = 0;
    const auto store = [&] {
        const QDateTime when = QDateTime(QDate(2025, 1, 1), QTime(7, 0)).addSecs(60 * minute++);
        const Outcome stored = bench.diary.recordBloodPressure({when, QStringLiteral("136"), QStringLiteral("86"),
                                                                QStringLiteral("72"), QString()});
        if (!stored.saved())
            state.SkipWithError("the reading was not stored");
    };
    const MemoryUse memory = memoryOf(store);
    for (auto _ : state)
        store();
    reportSizes(state, bench.readings, memory);
}

struct NoDialogs : FileDialogs, PrintDialog
{
    QString saveFileName(const QString &, const QString &, const QString &) override { return QString(); }
    bool choosePrinter(QPrinter &, int) override { return false; }
};

// 家庭血压报告… over a shown main window; the window of each opening closed before the next.
void openReport(benchmark::State &state, bool changedOutside)
{
    BenchWindow window(0);
    const QByteArray readings = readingsFile(int(state.range(0)));
    const QString path = window.folder.userFilePath(QStringLiteral("Ann"), UserFile::BloodPressure);
    const QByteArray changed = readings + "x\r\n"; // a line it cannot read, kept
    const auto write = [&](const QByteArray &bytes) {
        QFile bp(path);
        bp.open(QIODevice::WriteOnly);
        bp.write(bytes);
    };
    write(readings);
    NoDialogs dialogs;
    HomeBpMenu menu(window.form->contextMenu(), window.form->diary(), [] {}, dialogs, dialogs, window.messages,
                    *window.form);
    menu.showReport(); // the readings read once
    bool even = false;
    const auto open = [&] {
        menu.showReport();
        benchmark::DoNotOptimize(menu.reportWindow()->sheet().means.size());
    };
    const auto closeWindow = [&] {
        menu.reportWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (changedOutside)
            write((even = !even) ? changed : readings);
    };
    closeWindow();
    const MemoryUse memory = memoryOf(open);
    for (auto _ : state) {
        state.PauseTiming();
        closeWindow();
        state.ResumeTiming();
        open();
    }
    reportSizes(state, readings, memory);
}

void BM_OpenReport(benchmark::State &state) { openReport(state, false); }
void BM_OpenReportAfterChange(benchmark::State &state) { openReport(state, true); }

void sizes(benchmark::internal::Benchmark *benchmark)
{
    for (int size : Sizes)
        benchmark->Arg(size);
    benchmark->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_StoreReading)->Apply(sizes);
BENCHMARK(BM_OpenReport)->Apply(sizes);
BENCHMARK(BM_OpenReportAfterChange)->Apply(sizes);

} // namespace

int main(int argc, char **argv)
{
    return runOffscreen(argc, argv);
}
