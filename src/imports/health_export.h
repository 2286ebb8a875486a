#pragma once

// The export of a phone's health app: export.xml, alone or in the
// export.zip the app writes. A blood pressure reading there is a correlation
// of type HKCorrelationTypeIdentifierBloodPressure holding a systolic and a
// diastolic record (HKQuantityTypeIdentifierBloodPressureSystolic and
// ...Diastolic, unit mmHg), each with a startDate such as
// "2021-12-11 18:04:47 -0700"; a pulse is a heart-rate record of its own
// (HKQuantityTypeIdentifierHeartRate), which may stand anywhere in the file.
//
// The file is read piece by piece as it comes (from the disk or inflated from
// the zip) and never held whole: what is kept is the readings found and, for
// the pulses, every heart rate as one number of eight bytes.
//
// A reading keeps the clock time written in the file, which is the time at
// its written offset; when the reading carries an HKTimeZone metadata entry,
// the clock time of that zone at that moment. Its pulse is the heart rate
// nearest to it within two minutes, if any. Its source is the model of the
// device that measured it, else the name of the app or phone that wrote it,
// else "手机导出".
//
// What is refused: entity declarations (a document type listing elements and
// attributes, as real exports carry, is read), references to entities, more
// than XmlBytes of XML, one piece of more than XmlPieceBytes, nesting deeper
// than XmlDepth (imported_readings.h).

#include "imports/imported_readings.h"

#include <QByteArrayView>
#include <QIODevice>

#include <functional>
#include <memory>

namespace velmora {

// How far a long read has come, in bytes; false stops it (the person cancelled).
using ReadProgress = std::function<bool(qint64 done, qint64 total)>;

inline const QString PhoneExportSource = QStringLiteral("手机导出");

class HealthExportReader
{
public:
    HealthExportReader();
    ~HealthExportReader();
    HealthExportReader(const HealthExportReader &) = delete;
    HealthExportReader &operator=(const HealthExportReader &) = delete;

    // The next piece of the file. False once the file is refused: finish() says why.
    bool add(QByteArrayView piece);
    // After the last piece: the readings with their pulses, or why there are none.
    ImportedReadings finish();

private:
    struct State;
    std::unique_ptr<State> d;
};

// export.xml from a device open for reading.
ImportedReadings readHealthExportXml(QIODevice &device, const ReadProgress &progress);
// The export.xml inside an export.zip, from a device open for reading.
ImportedReadings readHealthExportZip(QIODevice &device, const ReadProgress &progress);

} // namespace velmora
