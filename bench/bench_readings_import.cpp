// The phone's health export at the size of a heavy user's: a made-up
// export.xml of about 250 MB with 1,000,000 records, 20,000 of them blood
// pressure readings (correlations with their two records), 500,000 heart
// rates (two in five with a metadata entry) and 480,000 step counts, and the same
// file in an export.zip as the phone writes it. Both are made at start-up in
// a temporary folder (nothing of that size is kept in the source tree).
//
// Measured on the same input in the same container: a bare QXmlStreamReader
// pass that only counts the elements, against the import's read (the
// readings, their zones, the heart rates for the pulses); and the peak memory
// of the diary's whole import (read, plan, one save of the .bp file) above
// what the process held before it, from the kernel's count (VmHWM after the
// peak is reset through /proc/self/clear_refs).

#include "diary/diary.h"
#include "archive/zip_archive.h"
#include "imports/health_export.h"
#include "records/data_folder.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <zip.h>

#include <cstdio>
#include <random>

using namespace velmora;

namespace {

constexpr int BloodPressureCount = 20000;
constexpr int HeartRateCount = 500000;
constexpr int StepCount = 480000;
constexpr qint64 Piece = 256 * 1024;

const char Prolog[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE HealthData [
<!ELEMENT HealthData (ExportDate,Me,(Record|Correlation|Workout|ActivitySummary)*)>
<!ATTLIST HealthData
  locale CDATA #REQUIRED
>
<!ELEMENT ExportDate EMPTY>
<!ATTLIST ExportDate
  value CDATA #REQUIRED
>
<!ELEMENT Me EMPTY>
<!ELEMENT Record ((MetadataEntry|HeartRateVariabilityMetadataList)*)>
<!ATTLIST Record
  type          CDATA #REQUIRED
  unit          CDATA #IMPLIED
  value         CDATA #IMPLIED
  sourceName    CDATA #REQUIRED
  sourceVersion CDATA #IMPLIED
  device        CDATA #IMPLIED
  creationDate  CDATA #IMPLIED
  startDate     CDATA #REQUIRED
  endDate       CDATA #REQUIRED
>
<!ELEMENT MetadataEntry EMPTY>
<!ATTLIST MetadataEntry
  key   CDATA #REQUIRED
  value CDATA #REQUIRED
>
<!ELEMENT Correlation ((MetadataEntry|Record)*)>
]>
<HealthData locale="zh_CN">
 <ExportDate value="2025-01-05 10:00:00 +0800"/>
 <Me/>
)";

const char Cuff[] = "&lt;&lt;HKDevice: 0x2811b2f80&gt;, name:BP5, manufacturer:Example Health, model:BP5, "
                    "hardware:1.0, software:2.1&gt;";

// "2023-05-04 07:30:05 +0800" for a second counted from 2020-01-01 00:00 local time.
QByteArray exportDate(qint64 second)
{
    const QDateTime when = QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC).addSecs(second);
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1() + " +0800";
}

// A record as the phone writes it; the device and the version only when given.
void writeRecord(QFile &out, const char *type, const char *unit, const char *source, const char *version,
                 qint64 second, int value, bool withMetadata)
{
    const QByteArray start = exportDate(second), created = exportDate(second + 67);
    QByteArray line = QByteArray(" <Record type=\"") + type + "\" sourceName=\"" + source + "\"";
    if (version)
        line += QByteArray(" sourceVersion=\"") + version + "\"";
    line += QByteArray(" unit=\"") + unit + "\" creationDate=\"" + created + "\" startDate=\"" + start + "\" endDate=\""
            + start + "\" value=\"" + QByteArray::number(value) + "\"";
    if (withMetadata)
        line += ">\n  <MetadataEntry key=\"HKMetadataKeyHeartRateMotionContext\" value=\"0\"/>\n </Record>\n";
    else
        line += "/>\n";
    out.write(line);
}

void writeCorrelation(QFile &out, qint64 second, int systolic, int diastolic)
{
    const QByteArray start = exportDate(second), created = exportDate(second + 30);
    const QByteArray dates = "creationDate=\"" + created + "\" startDate=\"" + start + "\" endDate=\"" + start + "\"";
    out.write(QByteArray(" <Correlation type=\"HKCorrelationTypeIdentifierBloodPressure\" sourceName=\"Cuff\" "
                         "sourceVersion=\"2.1\" device=\"") + Cuff + "\" " + dates + ">\n");
    for (const auto &[type, value] : {std::pair("Systolic", systolic), std::pair("Diastolic", diastolic)})
        out.write(QByteArray("  <Record type=\"HKQuantityTypeIdentifierBloodPressure") + type
                  + "\" sourceName=\"Cuff\" sourceVersion=\"2.1\" unit=\"mmHg\" " + dates + " value=\""
                  + QByteArray::number(value) + "\"/>\n");
    out.write(" </Correlation>\n");
}

// Records sorted by type, then the correlations, as the phone lists them;
// the heart rates every five minutes or so, a reading every two hours or so
// (all within the same 4.75 years from 2020).
void writeExport(const QString &path)
{
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    std::mt19937 rng(29);
    out.write(Prolog);
    for (int i = 0; i < HeartRateCount; ++i)
        writeRecord(out, "HKQuantityTypeIdentifierHeartRate", "count/min", "Watch", "10.1",
                    qint64(i) * 300 + rng() % 60, 55 + int(rng() % 50), i % 5 < 2);
    for (int i = 0; i < StepCount; ++i)
        writeRecord(out, "HKQuantityTypeIdentifierStepCount", "count", "iPhone", nullptr, qint64(i) * 311 + rng() % 60,
                    int(rng() % 3000), false);
    for (int i = 0; i < BloodPressureCount; ++i)
        writeCorrelation(out, qint64(i) * 7500 + rng() % 1800, 110 + int(rng() % 50), 70 + int(rng() % 30));
    out.write("</HealthData>\n");
}

// export.zip beside it: apple_health_export/export.xml, deflated, streamed from the file.
void writeZip(const QString &xml, const QString &zipPath)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    zip_source_t *source = zip_source_file(archive, QFile::encodeName(xml).constData(), 0, -1);
    const zip_int64_t index = zip_file_add(archive, "apple_health_export/export.xml", source, 0);
    zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 6);
    zip_close(archive);
}

struct Files
{
    QTemporaryDir dir;
    QString xml, zip;
};
Files *g_files = nullptr;

QString input(const benchmark::State &state)
{
    return state.range(0) ? g_files->zip : g_files->xml;
}

// The bare pass: the bytes through QXmlStreamReader, its elements counted.
qint64 countElements(const QString &path, bool zipped)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml;
    qint64 elements = 0;
    const auto take = [&](QByteArrayView piece) {
        xml.addData(piece.toByteArray());
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement)
                ++elements;
        return true;
    };
    if (zipped) {
        ZipReader zip(file);
        zip.stream(0, qint64(1) << 40, take, nullptr);
    } else {
        QByteArray buffer(Piece, Qt::Uninitialized);
        for (qint64 got; (got = file.read(buffer.data(), Piece)) > 0;)
            take(QByteArrayView(buffer.constData(), got));
    }
    return elements;
}

void BM_BareElementCount(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(countElements(input(state), state.range(0)));
    state.SetBytesProcessed(state.iterations() * QFileInfo(g_files->xml).size());
}

void BM_ImportRead(benchmark::State &state)
{
    for (auto _ : state) {
        QFile file(input(state));
        file.open(QIODevice::ReadOnly);
        const ImportedReadings read = state.range(0) ? readHealthExportZip(file, {}) : readHealthExportXml(file, {});
        if (read.readings.size() != size_t(BloodPressureCount))
            state.SkipWithError("the readings were not all read");
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(g_files->xml).size());
}

qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(strlen(field))).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

class Accepting : public ReadingsImportDialogs
{
public:
    std::optional<ColumnChoice> chooseColumns(const ColumnQuestion &) override { return std::nullopt; }
    bool progress(qint64, qint64) override { return true; }
    void endProgress() override {}
    Answer confirm(const QString &, bool canImport, bool) override { return canImport ? Answer::Import : Answer::Cancel; }
};

class Silent : public MessageBoxes
{
public:
    void inform(const QString &) override {}
    bool ask(const QString &) override { return true; }
};

// The whole import as the program runs it, into a fresh user; its peak memory above the start.
void BM_DiaryImportPeakMemory(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folderDir;
        DataFolder folder(folderDir.path());
        QFile(folder.userListPath()).open(QIODevice::WriteOnly);
        Silent messages;
        Diary diary(folder, messages, [] { return QDateTime(QDate(2030, 1, 1), QTime(0, 0)); });
        diary.load();
        diary.confirmUser(QStringLiteral("Lee"));
        Accepting dialogs;
        QFile file(input(state));
        file.open(QIODevice::ReadOnly);
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        const bool reset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
        clear.close();
        const qint64 before = statusKiB("VmRSS:");
        state.ResumeTiming();
        const Outcome outcome = diary.importReadings(file, dialogs);
        state.PauseTiming();
        const qint64 peak = statusKiB("VmHWM:");
        if (!reset || !outcome.saved() || diary.homeReadings(QStringLiteral("Lee"))->entries.size() != size_t(BloodPressureCount))
            state.SkipWithError(reset ? "nothing was imported" : "the peak cannot be reset here");
        state.counters["rss_before_MiB"] = double(before) / 1024;
        state.counters["peak_above_MiB"] = double(peak - before) / 1024;
        state.ResumeTiming();
    }
}

BENCHMARK(BM_BareElementCount)->ArgName("zip")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportRead)->ArgName("zip")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DiaryImportPeakMemory)->ArgName("zip")->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Files files;
    files.xml = files.dir.filePath(QStringLiteral("export.xml"));
    files.zip = files.dir.filePath(QStringLiteral("export.zip"));
    writeExport(files.xml);
    writeZip(files.xml, files.zip);
    std::fprintf(stderr, "export.xml %.1f MB, export.zip %.1f MB\n", QFileInfo(files.xml).size() / 1e6,
                 QFileInfo(files.zip).size() / 1e6);
    g_files = &files;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
