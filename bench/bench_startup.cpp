// Start-up: from starting the process to the main window painted, and the
// peak memory, for the program and for a bare Qt window built in the same tree,
// measured in one run. Each iteration starts a fresh process.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>

namespace {

QString probePath(const char *name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name));
}

// Starts the program once an iteration; `between`, untimed, before each start.
void runProbe(benchmark::State &state, const QString &program, const QStringList &arguments,
              const std::function<void()> &between = {})
{
    double peakKiB = 0;
    for (auto _ : state) {
        if (between) {
            state.PauseTiming();
            between();
            state.ResumeTiming();
        }
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            state.SkipWithError("the probe did not start and end cleanly");
            return;
        }
        const QByteArray out = process.readAllStandardOutput();
        const qsizetype at = out.indexOf("peak_kib ");
        if (at >= 0)
            peakKiB = std::max(peakKiB, out.mid(at + 9).trimmed().split('\n').first().toDouble());
    }
    state.counters["peak_MiB"] = peakKiB / 1024.0;
}

void BM_StartBareWindow(benchmark::State &state)
{
    runProbe(state, probePath("bare_window"), {});
}

void BM_StartVelmora(benchmark::State &state)
{
    QTemporaryDir folder; // a first start: the user list is created
    runProbe(state, probePath("velmora_probe"), {folder.path()});
}

// A diary of two users with 1,001 records each, whose day's backup is due at
// every start (the backups each start makes go again before the next).
struct DiaryFolder
{
    QTemporaryDir dir;
    DiaryFolder()
    {
        QByteArray records;
        for (int i = 0; i < 1001; ++i)
            records += QByteArray::number(20100101000000LL + i)
                       + "\r\n\xC5\xAE\r\n 45 \r\n 160 \r\n 50 \r\n 1.2 \r\n 120 \r\n 80 \r\n 5.1 \r\n 0 \r\n 0 \r\n 4.5 \r\n 70 \r\n\xCE\xDE\r\n";
        write(QStringLiteral("yonghu.dat"), "Ann\r\nBob\r\n");
        write(QStringLiteral("Ann.dat"), records);
        write(QStringLiteral("Bob.dat"), records);
    }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(QDir(dir.path()).filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    void forgetBackups() const
    {
        QDir(QDir(dir.path()).filePath(QStringLiteral("备份"))).removeRecursively();
        QFile::remove(QDir(dir.path()).filePath(QStringLiteral("备份设置.txt")));
    }
};

void runWithDiary(benchmark::State &state, const QStringList &extra)
{
    const DiaryFolder diary;
    QStringList arguments{diary.dir.path()};
    arguments << extra;
    runProbe(state, probePath("velmora_probe"), arguments, [&] { diary.forgetBackups(); });
}

// Start to painted with a day's backup due (it follows the first paint).
void BM_StartVelmoraWithDiary(benchmark::State &state)
{
    runWithDiary(state, {});
}

// Start to the end of that backup, which begins half a second after the
// first paint: what it adds once the window shows.
void BM_StartVelmoraUntilBackup(benchmark::State &state)
{
    runWithDiary(state, {QStringLiteral("--until-backup")});
}

BENCHMARK(BM_StartBareWindow)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartVelmora)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartVelmoraWithDiary)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartVelmoraUntilBackup)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
