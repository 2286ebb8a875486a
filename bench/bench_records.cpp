// Record files of 20, 1,001 and 100,000 entries: how long the program takes to
// read and score one (what happens on every display), to rewrite one with a new
// record through the atomic save, and the floor both are measured against:
// reading the same bytes into memory and counting their lines. Then, for
// 10,000 records in memory, the factor series and period statistics and the
// scores explained term by term.
//
// The files are made at start-up in a temporary folder, written by the
// program's own writer, so they hold exactly what the program would write.

#include "bench_data.h"
#include "analysis/statistics.h"
#include "model/risk_model.h"
#include "model/score_breakdown.h"
#include "records/data_folder.h"
#include "records/health_record.h"
#include "records/record_file.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <vector>

using namespace velmora;
using namespace velmora::bench;

namespace {

constexpr int Sizes[] = {20, 1001, 100000};

// The folder with one record file per size, alive for the whole run.
struct BenchFolder
{
    QTemporaryDir dir;
    std::unique_ptr<DataFolder> folder;
    std::map<int, QString> sourcePath; // size -> record file to read
};

BenchFolder *g_bench = nullptr;

QString sourceUser(int size) { return QStringLiteral("source%1").arg(size); }
QString targetUser(int size) { return QStringLiteral("rewrite%1").arg(size); }

// The record every rewrite appends.
HealthRecord newRecord()
{
    std::mt19937 rng(7);
    return makeRecord(rng, QDateTime(QDate(2031, 1, 1), QTime(8, 0)));
}

qint64 fileSize(const QString &path) { return QFileInfo(path).size(); }

// One display's read: the whole file through the read pass, each entry scored
// into the score column as it is read. False unless every entry came back.
bool readAndScore(const QString &path, int size, RecordTable &table, std::vector<double> &scores,
                  const EntryHook &hook)
{
    scores.clear();
    const ReadResult result = ReadRecordFile(path, table, hook);
    return result && result.count == size && int(scores.size()) == size;
}

// Read and score: the read pass with the hook the display uses, filling the score column.
void BM_ReadAndScore(benchmark::State &state)
{
    const int size = int(state.range(0));
    const QString path = g_bench->sourcePath.at(size);
    const RiskModel model;
    // The table and the score column live on between reads, as in the program.
    RecordTable table;
    std::vector<double> scores;
    const EntryHook hook = [&](int, const HealthRecord &record) { scores.push_back(model.ScoreRecord(record)); };

    // One read before timing: the table grows only on the first read of a long
    // file (BM_ReadAndScoreFreshTable measures that one), every later display
    // finds it grown.
    if (!readAndScore(path, size, table, scores, hook)) {
        state.SkipWithError("the record file did not read back whole");
        return;
    }
    for (auto _ : state) {
        if (!readAndScore(path, size, table, scores, hook)) {
            state.SkipWithError("the record file did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(scores.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * size);
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}

// The same read into a table that has never held the file: the first display of
// a user after start-up, when a file longer than 1,001 entries makes the table grow.
// Making and dropping the table is not timed.
void BM_ReadAndScoreFreshTable(benchmark::State &state)
{
    const int size = int(state.range(0));
    const QString path = g_bench->sourcePath.at(size);
    const RiskModel model;
    std::unique_ptr<RecordTable> table;
    std::vector<double> scores;
    const EntryHook hook = [&](int, const HealthRecord &record) { scores.push_back(model.ScoreRecord(record)); };

    for (auto _ : state) {
        state.PauseTiming();
        table.reset();
        table = std::make_unique<RecordTable>();
        scores = {};
        state.ResumeTiming();
        if (!readAndScore(path, size, *table, scores, hook)) {
            state.SkipWithError("the record file did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(scores.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * size);
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}

// Rewrite with one new record, through DataFolder: the check that the file is
// still as read, then the atomic save with its flush and sync. Each pass
// writes the same count + 1 entries from the same table over the same content.
void BM_RewriteWithAppend(benchmark::State &state)
{
    const int size = int(state.range(0));
    const DataFolder &folder = *g_bench->folder;
    const QString user = targetUser(size);
    RecordTable table;
    const ReadResult read = ReadRecordFile(g_bench->sourcePath.at(size), table);
    if (!read || read.count != size) {
        state.SkipWithError("the record file did not read back whole");
        return;
    }
    const HealthRecord appended = newRecord();
    QByteArray content;
    QBuffer buffer(&content);
    buffer.open(QIODevice::WriteOnly);
    writeRecords(buffer, table, read.count, RewriteMode::Append, &appended);
    const FileFingerprint asWritten = FileFingerprint::of(content);
    saveFile(folder.RecordFilePath(user), [&](QIODevice &device) { return writeAll(device, content); });

    for (auto _ : state) {
        const FileResult saved =
            folder.RewriteRecordFile(user, asWritten, table, read.count, RewriteMode::Append, &appended);
        if (!saved) {
            state.SkipWithError(qPrintable(saved.error));
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * (size + 1));
    state.SetBytesProcessed(state.iterations() * fileSize(folder.RecordFilePath(user)));
    QFile::remove(folder.RecordFilePath(user));
}

// The floor: open the same file, read all of it into memory, count its line feeds.
void BM_Floor(benchmark::State &state)
{
    const int size = int(state.range(0));
    const QString path = g_bench->sourcePath.at(size);
    const qsizetype expectedLines = qsizetype(size) * FieldCount;

    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError(qPrintable(file.errorString()));
            break;
        }
        const QByteArray content = file.readAll();
        const qsizetype lines = std::count(content.cbegin(), content.cend(), '\n');
        if (lines != expectedLines) {
            state.SkipWithError("unexpected number of lines");
            break;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations() * size);
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}

// A table of `size` records, one every 9 hours 17 minutes from 2009 on, and its scores.
struct ScoredTable
{
    RecordTable table;
    std::vector<double> scores;
};

ScoredTable scoredTable(int size)
{
    std::mt19937 rng(20090620u + unsigned(size));
    ScoredTable t;
    t.table.reserveEntries(size);
    QDateTime when(QDate(2009, 6, 20), QTime(21, 1, 29));
    const RiskModel model;
    for (int i = 0; i < size; ++i) {
        t.table[i] = makeRecord(rng, when);
        t.scores.push_back(model.ScoreRecord(t.table[i]));
        when = when.addSecs(9 * 3600 + 17 * 60);
    }
    return t;
}

// What a statistics window or report computes from the records as read: the
// records placed in time, one period of them, every factor's series, the
// scores' series and the period's figures.
void BM_SeriesAndStatistics(benchmark::State &state)
{
    const int size = int(state.range(0));
    const ScoredTable t = scoredTable(size);
    const Period period = state.range(1) ? Period::quick(QuickPeriod::LastYear, QDate(2019, 6, 20)) : Period{};
    for (auto _ : state) {
        const RecordHistory within = inPeriod(recordHistory(t.table, size, t.scores), period);
        const auto series = allFactorSeries(within);
        const auto scores = scoreSeries(within);
        const PeriodStatistics statistics = periodStatistics(within);
        benchmark::DoNotOptimize(series.data());
        benchmark::DoNotOptimize(scores.data());
        benchmark::DoNotOptimize(statistics.recordCount);
    }
    state.SetItemsProcessed(state.iterations() * size);
}

// Every record's score explained term by term, as a record table in a report shows them.
void BM_ExplainScores(benchmark::State &state)
{
    const int size = int(state.range(0));
    const ScoredTable t = scoredTable(size);
    for (auto _ : state) {
        for (int i = 0; i < size; ++i) {
            const ScoreBreakdown b = explainScore(t.table[i], {}, ScorePass::Store);
            benchmark::DoNotOptimize(b.largestFirst());
            benchmark::DoNotOptimize(b.aboveThreshold());
        }
    }
    state.SetItemsProcessed(state.iterations() * size);
}

void sizes(benchmark::internal::Benchmark *b)
{
    for (int size : Sizes)
        b->Arg(size);
    b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_ReadAndScore)->Apply(sizes);
BENCHMARK(BM_ReadAndScoreFreshTable)->Apply(sizes);
BENCHMARK(BM_RewriteWithAppend)->Apply(sizes);
BENCHMARK(BM_Floor)->Apply(sizes);
// All records, and the last year of the ten (about 940 records).
BENCHMARK(BM_SeriesAndStatistics)->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExplainScores)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    BenchFolder bench;
    if (!bench.dir.isValid()) {
        std::fprintf(stderr, "bench_records: no temporary folder: %s\n", qPrintable(bench.dir.errorString()));
        return 1;
    }
    bench.folder = std::make_unique<DataFolder>(bench.dir.path());
    for (int size : Sizes) {
        if (!makeRecordFile(*bench.folder, sourceUser(size), size))
            return 1;
        bench.sourcePath[size] = bench.folder->RecordFilePath(sourceUser(size));
        benchmark::AddCustomContext(QStringLiteral("file_bytes/%1").arg(size).toStdString(),
                                    std::to_string(fileSize(bench.sourcePath[size])));
    }
    g_bench = &bench;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_bench = nullptr;
    return 0;
}
