// Start-up: from starting the process to the main window painted, and the
// peak memory, for the program and for a bare Qt window built in the same tree,
// measured in one run. Each iteration starts a fresh process.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

namespace {

QString probePath(const char *name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name));
}

void runProbe(benchmark::State &state, const QString &program, const QStringList &arguments)
{
    double peakKiB = 0;
    for (auto _ : state) {
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

BENCHMARK(BM_StartBareWindow)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartVelmora)->Unit(benchmark::kMillisecond)->Iterations(20);

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
