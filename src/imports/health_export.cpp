#include "imports/health_export.h"

#include "archive/zip_archive.h"
#include "imports/written_time.h"
#include "records/gbk.h"

#include <QDateTime>
#include <QHash>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr QStringView BloodPressure = u"HKCorrelationTypeIdentifierBloodPressure";
constexpr QStringView Systolic = u"HKQuantityTypeIdentifierBloodPressureSystolic";
constexpr QStringView Diastolic = u"HKQuantityTypeIdentifierBloodPressureDiastolic";
constexpr QStringView HeartRate = u"HKQuantityTypeIdentifierHeartRate";
constexpr QStringView TimeZoneKey = u"HKTimeZone";
constexpr qint64 PulseWindowSeconds = 120;
constexpr qsizetype SourceLength = 40;
constexpr qsizetype PieceBytes = 256 * 1024;

const QString EntitiesRefused = QStringLiteral("文件中声明了实体（ENTITY），手机导出的文件没有这些，可能是恶意构造的文件");
const QString NoHealthData = QStringLiteral("文件不是手机健康导出（没有 HealthData）");

// A startDate: the clock time written, and the moment it names.
struct ExportTime
{
    QDate date;
    QTime time;
    qint64 instant = 0; // seconds since 1970 UTC
    int offsetMinutes = 0;
};

qint64 secondsOf(const QDate &date, const QTime &time, int offsetMinutes)
{
    constexpr qint64 JulianDay1970 = 2440588;
    return (date.toJulianDay() - JulianDay1970) * 86400 + time.msecsSinceStartOfDay() / 1000 - offsetMinutes * 60;
}

// "2021-12-11 18:04:47 -0700" as every export writes it, read digit by
// digit (there are hundreds of thousands of them); any other way of writing
// a date with an offset is read more slowly.
std::optional<ExportTime> exportTime(QStringView text)
{
    const auto digits = [&](qsizetype from, qsizetype count) {
        int value = 0;
        for (qsizetype i = from; i < from + count; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    if (text.size() == 25 && text[4] == u'-' && text[7] == u'-' && text[10] == u' ' && text[13] == u':'
        && text[16] == u':' && text[19] == u' ' && (text[20] == u'+' || text[20] == u'-')) {
        const QDate date(digits(0, 4), digits(5, 2), digits(8, 2));
        const QTime time(digits(11, 2), digits(14, 2), digits(17, 2));
        const int hours = digits(21, 2), minutes = digits(23, 2);
        if (date.isValid() && date.year() >= 1900 && time.isValid() && hours >= 0 && hours <= 14 && minutes >= 0
            && minutes < 60) {
            const int offset = (text[20] == u'-' ? -1 : 1) * (hours * 60 + minutes);
            return ExportTime{date, time, secondsOf(date, time, offset), offset};
        }
        return std::nullopt;
    }
    const std::optional<WrittenTime> written = writtenDateTime(text, DateOrder::YearMonthDay);
    if (!written || !written->offsetMinutes)
        return std::nullopt;
    const int offset = *written->offsetMinutes;
    return ExportTime{written->date, written->time, secondsOf(written->date, written->time, offset), offset};
}

// A value such as "128" or "72.5", rounded half up; nothing for anything else.
std::optional<int> roundedValue(QStringView text)
{
    qint64 whole = 0;
    qsizetype i = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        whole = whole * 10 + (text[i].unicode() - u'0');
        if (whole > 100000)
            return std::nullopt;
    }
    if (i == 0)
        return std::nullopt;
    if (i == text.size())
        return int(whole);
    bool ok = false;
    const double value = text.toString().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0 || value > 100000)
        return std::nullopt;
    return int(std::floor(value + 0.5));
}

// A pressure in mmHg from a record's value and unit.
std::optional<int> pressureOf(QStringView value, QStringView unit)
{
    if (unit == u"mmHg")
        return roundedValue(value);
    if (unit == u"kPa") {
        bool ok = false;
        const double kPa = value.toString().toDouble(&ok);
        if (ok && std::isfinite(kPa) && kPa >= 0 && kPa < 1000)
            return int(std::floor(kPa * 7.50062 + 0.5));
    }
    return std::nullopt;
}

// "<<HKDevice: 0x2811b2e40>, name:BP5, manufacturer:Maker, model:BP5, ...>": the value of one key.
QString deviceField(QStringView device, QStringView key)
{
    for (qsizetype at = device.indexOf(key); at >= 0; at = device.indexOf(key, at + 1)) {
        if (at > 0 && device[at - 1] != u' ' && device[at - 1] != u',')
            continue;
        const qsizetype from = at + key.size();
        qsizetype end = device.indexOf(u',', from);
        if (end < 0)
            end = device.lastIndexOf(u'>');
        return end > from ? device.sliced(from, end - from).trimmed().toString() : QString();
    }
    return QString();
}

// A name as a reading's source can keep it: one line, not too long, in GBK.
std::optional<QString> keptName(QString name)
{
    name.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
    name = name.simplified().left(SourceLength);
    if (name.isEmpty() || !encodeGbk(name))
        return std::nullopt;
    return name;
}

// A heart rate as one number: the moment in the high bits, the rate in the low eight.
quint64 packedRate(qint64 instant, int rate)
{
    return (quint64(instant) << 8) | quint64(rate);
}

struct FoundReading
{
    BpReading reading; // its pulse still to be found
    qint64 instant = 0;
    int row = 0;
};

// A correlation being read: what its records and metadata said so far.
struct OpenCorrelation
{
    int row = 0;
    QString startDate;
    QString source;
    std::optional<int> systolic, diastolic;
    QString zone;
    QString unitProblem;
};

QString missingValues(const OpenCorrelation &c)
{
    if (!c.systolic && !c.diastolic)
        return QStringLiteral("缺少收缩压和舒张压");
    return !c.systolic ? QStringLiteral("缺少收缩压") : QStringLiteral("缺少舒张压");
}

} // namespace

struct HealthExportReader::State
{
    QXmlStreamReader xml;
    int depth = 0;
    bool sawRoot = false;
    bool done = false; // the root element has ended: the rest is not read
    QByteArray prolog; // the bytes before the root element, while it has not come
    qint64 sinceToken = 0;
    std::optional<OpenCorrelation> open;
    std::vector<quint64> heartRates;
    std::vector<FoundReading> found;
    ImportedReadings result; // its refusals and zones as they are met; the readings at the end
    QHash<QString, QString> sources;    // by device and source name
    QHash<QString, QTimeZone> timeZones; // by name

    bool refuse(const QString &why)
    {
        xml.raiseError(why);
        return false;
    }
    bool readTokens();
    bool startElement();
    void endElement();
    void heartRate(const QXmlStreamAttributes &attributes);
    void correlationRecord(const QXmlStreamAttributes &attributes);
    QString sourceOf(const QXmlStreamAttributes &attributes);
    void closeCorrelation();
    ClockStamp clockStamp(const ExportTime &time, const QString &zone);
    void findPulses();
    QString failure() const;
};

HealthExportReader::HealthExportReader()
    : d(std::make_unique<State>())
{
    // Entity declarations are refused where the document type ends, before
    // any reference; should one get through, it may not expand at all (the
    // five predefined entities and character references are no expansions).
    d->xml.setEntityExpansionLimit(0);
}

HealthExportReader::~HealthExportReader() = default;

bool HealthExportReader::add(QByteArrayView piece)
{
    if (d->done)
        return true;
    if (d->xml.hasError() && d->xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        return false;
    d->sinceToken += piece.size();
    if (!d->sawRoot)
        d->prolog += piece;
    d->xml.addData(piece.toByteArray());
    const bool read = d->readTokens();
    if (d->sawRoot)
        d->prolog = QByteArray();
    return read;
}

bool HealthExportReader::State::readTokens()
{
    while (!done) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Invalid)
            break;
        sinceToken = 0;
        if (token == QXmlStreamReader::DTD && xml.text().contains(u"<!ENTITY"))
            return refuse(EntitiesRefused);
        if (token == QXmlStreamReader::EntityReference)
            return refuse(QStringLiteral("文件引用了未声明的实体“%1”").arg(xml.name()));
        if (token == QXmlStreamReader::StartElement && !startElement())
            return false;
        if (token == QXmlStreamReader::EndElement)
            endElement();
    }
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        return false;
    if (sinceToken > importlimits::XmlPieceBytes)
        return refuse(QStringLiteral("文件中有一项内容超过 %1 MB（一个元素或文档类型声明），不像手机健康导出")
                          .arg(importlimits::XmlPieceBytes / importlimits::MiB));
    return true;
}

bool HealthExportReader::State::startElement()
{
    if (++depth > importlimits::XmlDepth)
        return refuse(QStringLiteral("文件的元素嵌套超过 %1 层，不像手机健康导出").arg(importlimits::XmlDepth));
    const QStringView name = xml.name();
    if (depth == 1) {
        if (name != u"HealthData")
            return refuse(NoHealthData);
        sawRoot = true;
        return true;
    }
    if (depth == 2 && name == u"Record") {
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.value(QLatin1StringView("type")) == HeartRate)
            heartRate(attributes);
    } else if (depth == 2 && name == u"Correlation") {
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.value(QLatin1StringView("type")) == BloodPressure)
            open = OpenCorrelation{int(xml.lineNumber()), attributes.value(QLatin1StringView("startDate")).toString(),
                                   sourceOf(attributes), {}, {}, {}, {}};
    } else if (depth == 3 && open && name == u"Record") {
        correlationRecord(xml.attributes());
    } else if (depth == 3 && open && name == u"MetadataEntry") {
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.value(QLatin1StringView("key")) == TimeZoneKey)
            open->zone = attributes.value(QLatin1StringView("value")).trimmed().toString();
    }
    return true;
}

void HealthExportReader::State::endElement()
{
    if (depth == 2 && open)
        closeCorrelation();
    if (--depth == 0)
        done = true;
}

void HealthExportReader::State::heartRate(const QXmlStreamAttributes &attributes)
{
    const std::optional<ExportTime> time = exportTime(attributes.value(QLatin1StringView("startDate")));
    const std::optional<int> rate = roundedValue(attributes.value(QLatin1StringView("value")));
    if (time && time->instant >= 0 && rate && *rate >= bp::PulseMin && *rate <= bp::PulseMax
        && attributes.value(QLatin1StringView("unit")) == u"count/min")
        heartRates.push_back(packedRate(time->instant, *rate));
}

void HealthExportReader::State::correlationRecord(const QXmlStreamAttributes &attributes)
{
    const QStringView type = attributes.value(QLatin1StringView("type"));
    if (type != Systolic && type != Diastolic)
        return;
    const QStringView unit = attributes.value(QLatin1StringView("unit"));
    const std::optional<int> value = pressureOf(attributes.value(QLatin1StringView("value")), unit);
    if (!value)
        open->unitProblem = QStringLiteral("血压值“%1 %2”无法读取").arg(attributes.value(QLatin1StringView("value")), unit);
    (type == Systolic ? open->systolic : open->diastolic) = value;
}

QString HealthExportReader::State::sourceOf(const QXmlStreamAttributes &attributes)
{
    const QStringView device = attributes.value(QLatin1StringView("device"));
    const QStringView app = attributes.value(QLatin1StringView("sourceName"));
    const QString key = device.toString() + u'\n' + app.toString();
    const auto known = sources.constFind(key);
    if (known != sources.cend())
        return *known;
    QString source = PhoneExportSource;
    for (const QString &candidate : {deviceField(device, u"model:"), deviceField(device, u"name:"), app.toString()}) {
        if (std::optional<QString> kept = keptName(candidate)) {
            source = *kept;
            break;
        }
    }
    if (sources.size() < 1000)
        sources.insert(key, source);
    return source;
}

ClockStamp HealthExportReader::State::clockStamp(const ExportTime &time, const QString &zone)
{
    if (!zone.isEmpty()) {
        auto known = timeZones.find(zone);
        if (known == timeZones.end() && timeZones.size() < 100)
            known = timeZones.insert(zone, QTimeZone(zone.toUtf8()));
        if (known != timeZones.end() && known->isValid()) {
            result.noteZone(zone);
            return clockStampOf(QDateTime::fromSecsSinceEpoch(time.instant, *known));
        }
    }
    result.noteZone(offsetText(time.offsetMinutes));
    return clockStampOf(time.date, time.time);
}

void HealthExportReader::State::closeCorrelation()
{
    const OpenCorrelation c = std::move(*open);
    open.reset();
    const std::optional<ExportTime> time = exportTime(c.startDate);
    if (!time)
        result.refuse(c.row, QStringLiteral("日期无法识别：“%1”").arg(c.startDate));
    else if (!c.unitProblem.isEmpty())
        result.refuse(c.row, c.unitProblem);
    else if (!c.systolic || !c.diastolic)
        result.refuse(c.row, missingValues(c));
    else
        found.push_back({{clockStamp(*time, c.zone), *c.systolic, *c.diastolic, 0, c.source, QString()},
                         time->instant, c.row});
}

// Each reading's pulse: the heart rate nearest to it within two minutes.
void HealthExportReader::State::findPulses()
{
    std::sort(heartRates.begin(), heartRates.end());
    for (FoundReading &f : found) {
        const auto from = std::lower_bound(heartRates.begin(), heartRates.end(),
                                           packedRate(std::max<qint64>(f.instant - PulseWindowSeconds, 0), 0));
        qint64 nearest = PulseWindowSeconds + 1;
        for (auto rate = from; rate != heartRates.end(); ++rate) {
            const qint64 distance = qint64(*rate >> 8) - f.instant;
            if (distance > PulseWindowSeconds)
                break;
            if (std::abs(distance) < nearest) {
                nearest = std::abs(distance);
                f.reading.pulse = int(*rate & 0xFF);
            }
        }
    }
}

// Why the document could not be read to its end, for a person.
QString HealthExportReader::State::failure() const
{
    const qint64 line = xml.lineNumber();
    if (xml.error() == QXmlStreamReader::CustomError && !xml.errorString().isEmpty())
        return xml.errorString();
    // The reader stops at an entity that would expand before its document type is read whole.
    if (!sawRoot && prolog.contains("<!ENTITY"))
        return EntitiesRefused;
    if (xml.error() == QXmlStreamReader::NotWellFormedError)
        return QStringLiteral("文件第 %1 行的 XML 格式有误，不是完整的手机健康导出").arg(line);
    if (!sawRoot)
        return NoHealthData;
    return QStringLiteral("文件在第 %1 行中断，不完整，可能没有导出或复制完").arg(line);
}

ImportedReadings HealthExportReader::finish()
{
    if (!d->done && !d->xml.hasError())
        d->xml.raiseError(); // the document was not ended
    if (!d->done)
        return ImportedReadings::failed(d->failure());
    d->findPulses();
    ImportedReadings result = std::move(d->result);
    result.kind = QStringLiteral("手机健康导出");
    for (const FoundReading &f : d->found)
        result.add(f.reading, f.row);
    std::stable_sort(result.refused.begin(), result.refused.end(),
                     [](const RefusedRow &a, const RefusedRow &b) { return a.row < b.row; });
    return result;
}

ImportedReadings readHealthExportXml(QIODevice &device, const ReadProgress &progress)
{
    const qint64 total = device.size();
    if (total > importlimits::XmlBytes)
        return ImportedReadings::failed(QStringLiteral("文件有 %1 MB，超过了手机健康导出能读取的 %2 MB")
                                            .arg(total / importlimits::MiB)
                                            .arg(importlimits::XmlBytes / importlimits::MiB));
    HealthExportReader reader;
    QByteArray piece(PieceBytes, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const qint64 got = device.read(piece.data(), PieceBytes);
        if (got < 0)
            return ImportedReadings::failed(QStringLiteral("文件读取失败：%1").arg(device.errorString()));
        if (got == 0 || !reader.add(QByteArrayView(piece.constData(), got)))
            break;
        done += got;
        if (done > importlimits::XmlBytes)
            return ImportedReadings::failed(QStringLiteral("文件超过了手机健康导出能读取的 %1 MB")
                                                .arg(importlimits::XmlBytes / importlimits::MiB));
        if (progress && !progress(done, std::max(done, total))) {
            ImportedReadings cancelled;
            cancelled.cancelled = true;
            return cancelled;
        }
    }
    return reader.finish();
}

namespace {

bool isExportXml(const ZipEntryInfo &entry)
{
    return !entry.isFolder && !entry.isLink
           && (entry.name.compare(u"export.xml", Qt::CaseInsensitive) == 0
               || entry.name.endsWith(u"/export.xml", Qt::CaseInsensitive));
}

} // namespace

ImportedReadings readHealthExportZip(QIODevice &device, const ReadProgress &progress)
{
    ZipReader zip(device);
    if (!zip.isOpen())
        return ImportedReadings::failed(zip.error());
    const qsizetype index = zip.find(isExportXml);
    if (index < 0)
        return ImportedReadings::failed(QStringLiteral("ZIP 文件中没有手机健康导出（export.xml）"));
    const ZipEntryInfo &entry = zip.entries()[size_t(index)];
    if (entry.isEncrypted)
        return ImportedReadings::failed(QStringLiteral("ZIP 文件有密码保护"));
    const qint64 limit = std::min(importlimits::XmlBytes,
                                  std::max(entry.compressedSize * importlimits::InflationRatio,
                                           importlimits::SmallestInflationLimit));
    const qint64 total = std::clamp<qint64>(entry.size, 1, limit);
    HealthExportReader reader;
    bool refused = false, cancelled = false;
    qint64 done = 0;
    QString error;
    const bool read = zip.stream(index, limit, [&](QByteArrayView piece) {
        done += piece.size();
        refused = !reader.add(piece);
        cancelled = !refused && progress && !progress(std::min(done, total), total);
        return !refused && !cancelled;
    }, &error);
    if (cancelled) {
        ImportedReadings result;
        result.cancelled = true;
        return result;
    }
    if (!read && !refused)
        return ImportedReadings::failed(error);
    return reader.finish();
}

} // namespace velmora
