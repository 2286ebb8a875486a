#pragma once

// The records the benchmarks use: plausible adults in clinical ranges, drawn
// from a fixed seed, written by the program's own writer.

#include "records/data_folder.h"
#include "records/health_record.h"
#include "records/record_file.h"

#include <QDateTime>

#include <cmath>
#include <cstdio>
#include <random>

namespace velmora::bench {

inline const QByteArray Male("\xC4\xD0");    // 男
inline const QByteArray Female("\xC5\xAE");  // 女
inline const QByteArray Present("\xD3\xD0"); // 有
inline const QByteArray Absent("\xCE\xDE");  // 无

// A value drawn uniformly from [low, high], rounded to `step` (0.5, 0.1, 0.01, 1).
inline double draw(std::mt19937 &rng, double low, double high, double step)
{
    std::uniform_real_distribution<double> dist(low, high);
    const double value = std::round(dist(rng) / step) * step;
    // Keep two-decimal values clean, so they are written as "1.23", not "1.2300000000000002".
    return std::round(value * 100.0) / 100.0;
}

// One dated record of a plausible adult: a 14-digit RecordId (yyyyMMddhhmmss),
// sex and heredity as GBK texts, eleven numbers in clinical ranges.
inline HealthRecord makeRecord(std::mt19937 &rng, const QDateTime &when)
{
    HealthRecord r;
    r[RecordIdField] = Item::fromTextBytes(when.toString(QStringLiteral("yyyyMMddhhmmss")).toLatin1());
    r[SexField] = Item::fromTextBytes(rng() % 2 ? Male : Female);
    r[AgeField] = Item::fromNumber(draw(rng, 35, 80, 1));
    r[HeightField] = Item::fromNumber(draw(rng, 150, 185, 0.5));
    r[WeightField] = Item::fromNumber(draw(rng, 45, 95, 0.5));
    r[TriglyceridesField] = Item::fromNumber(draw(rng, 0.6, 3.5, 0.01));
    r[SystolicField] = Item::fromNumber(draw(rng, 100, 180, 1));
    r[DiastolicField] = Item::fromNumber(draw(rng, 60, 110, 1));
    r[BloodSugarField] = Item::fromNumber(draw(rng, 4.0, 9.0, 0.1));
    r[SmokingField] = Item::fromNumber(draw(rng, 0, 30, 1));
    r[DrinkingField] = Item::fromNumber(draw(rng, 0, 20, 1));
    r[CholesterolField] = Item::fromNumber(draw(rng, 3.5, 7.5, 0.01));
    r[WaistField] = Item::fromNumber(draw(rng, 65, 105, 1));
    r[HeredityField] = Item::fromTextBytes(rng() % 3 ? Absent : Present);
    return r;
}

// Writes a record file of `size` entries, one every 9 hours 17 minutes from 2009 on.
inline bool makeRecordFile(const DataFolder &folder, const QString &user, int size)
{
    std::mt19937 rng(20090620u + unsigned(size));
    RecordTable table;
    table.reserveEntries(size);
    QDateTime when(QDate(2009, 6, 20), QTime(21, 1, 29));
    for (int i = 0; i < size; ++i) {
        table[i] = makeRecord(rng, when);
        when = when.addSecs(9 * 3600 + 17 * 60);
    }
    const FileResult saved = saveFile(folder.RecordFilePath(user), [&](QIODevice &device) {
        return writeRecords(device, table, size, RewriteMode::Modify);
    });
    if (!saved) {
        std::fprintf(stderr, "bench: cannot write %s: %s\n", qPrintable(folder.RecordFilePath(user)),
                     qPrintable(saved.error));
        return false;
    }
    return true;
}

} // namespace velmora::bench
