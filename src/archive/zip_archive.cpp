#include "archive/zip_archive.h"

#include <zip.h>

#include <cstring>

namespace velmora {

namespace {

// Why libzip failed, for a person.
QString reasonOf(int code)
{
    switch (code) {
    case ZIP_ER_NOZIP:
        return QStringLiteral("不是 ZIP 压缩文件");
    case ZIP_ER_EOF:
    case ZIP_ER_READ:
        return QStringLiteral("ZIP 文件不完整，可能没有下载或复制完");
    case ZIP_ER_CRC:
    case ZIP_ER_INCONS:
    case ZIP_ER_COMPRESSED_DATA:
    case ZIP_ER_ZLIB:
        return QStringLiteral("ZIP 文件已损坏");
    case ZIP_ER_MULTIDISK:
        return QStringLiteral("分卷的 ZIP 文件不能读取");
    case ZIP_ER_COMPNOTSUPP:
        return QStringLiteral("ZIP 文件使用了不支持的压缩方法");
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return QStringLiteral("ZIP 文件有密码保护");
    case ZIP_ER_MEMORY:
        return QStringLiteral("内存不足");
    default:
        return QStringLiteral("ZIP 文件无法读取（错误 %1）").arg(code);
    }
}

QString reasonOf(zip_error_t *error)
{
    return reasonOf(zip_error_code_zip(error));
}

QString tooLarge(qint64 limit)
{
    constexpr qint64 MB = 1024 * 1024;
    const QString size = limit >= MB ? QStringLiteral("%1 MB").arg((limit + MB / 2) / MB)
                                     : QStringLiteral("%1 KB").arg((limit + 512) / 1024);
    return QStringLiteral("ZIP 文件中的一项解压后超过 %1，可能是恶意构造的文件").arg(size);
}

} // namespace

// The device as a libzip source: reads and seeks, nothing else.
struct ZipReader::Source
{
    QIODevice &device;
    zip_error_t error;

    explicit Source(QIODevice &d) : device(d) { zip_error_init(&error); }
    ~Source() { zip_error_fini(&error); }

    static zip_int64_t call(void *state, void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        return static_cast<Source *>(state)->handle(data, length, command);
    }

    zip_int64_t fail(int code)
    {
        zip_error_set(&error, code, 0);
        return -1;
    }

    zip_int64_t handle(void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        switch (command) {
        case ZIP_SOURCE_OPEN:
            return device.seek(0) ? 0 : fail(ZIP_ER_SEEK);
        case ZIP_SOURCE_READ: {
            const qint64 got = device.read(static_cast<char *>(data), qint64(length));
            return got < 0 ? fail(ZIP_ER_READ) : got;
        }
        case ZIP_SOURCE_CLOSE:
            return 0;
        case ZIP_SOURCE_STAT: {
            auto *stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &error);
            if (!stat)
                return -1;
            zip_stat_init(stat);
            stat->size = zip_uint64_t(device.size());
            stat->valid |= ZIP_STAT_SIZE;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&error, data, length);
        case ZIP_SOURCE_FREE:
            return 0;
        case ZIP_SOURCE_SEEK: {
            const zip_int64_t to = zip_source_seek_compute_offset(zip_uint64_t(device.pos()),
                                                                  zip_uint64_t(device.size()), data, length, &error);
            if (to < 0)
                return -1;
            return device.seek(to) ? 0 : fail(ZIP_ER_SEEK);
        }
        case ZIP_SOURCE_TELL:
            return device.pos();
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                                                  ZIP_SOURCE_SUPPORTS, -1);
        default:
            return fail(ZIP_ER_OPNOTSUPP);
        }
    }
};

ZipReader::ZipReader(QIODevice &device)
    : m_source(std::make_unique<Source>(device))
{
    zip_error_t error;
    zip_error_init(&error);
    // libzip takes no bytes at all for an archive of no files; no program writes such a zip.
    zip_source_t *source =
        device.size() > 0 ? zip_source_function_create(&Source::call, m_source.get(), &error) : nullptr;
    if (!source)
        zip_error_set(&error, ZIP_ER_NOZIP, 0);
    if (source)
        m_archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_archive) {
        // Without its directory at the end, a zip that was cut short looks like no zip at all.
        const bool cutShort = zip_error_code_zip(&error) == ZIP_ER_NOZIP && device.seek(0) && device.peek(4) == "PK\x03\x04";
        m_error = reasonOf(cutShort ? ZIP_ER_EOF : zip_error_code_zip(&error));
        if (source)
            zip_source_free(source);
        zip_error_fini(&error);
        return;
    }
    zip_error_fini(&error);
    const zip_int64_t count = zip_get_num_entries(m_archive, 0);
    m_entries.reserve(size_t(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        ZipEntryInfo entry;
        if (zip_stat_index(m_archive, zip_uint64_t(i), 0, &stat) == 0) {
            entry.name = QString::fromUtf8(stat.name ? stat.name : "");
            entry.size = qint64(std::min<zip_uint64_t>(stat.size, zip_uint64_t(INT64_MAX)));
            entry.compressedSize = qint64(std::min<zip_uint64_t>(stat.comp_size, zip_uint64_t(INT64_MAX)));
            entry.isEncrypted = (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
        }
        entry.isFolder = entry.name.endsWith(u'/');
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(m_archive, zip_uint64_t(i), 0, &system, &attributes) == 0)
            entry.isLink = system == ZIP_OPSYS_UNIX && ((attributes >> 16) & 0170000) == 0120000;
        m_entries.push_back(std::move(entry));
    }
}

ZipReader::~ZipReader()
{
    if (m_archive)
        zip_discard(m_archive);
}

qsizetype ZipReader::find(const std::function<bool(const ZipEntryInfo &)> &matches) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (matches(m_entries[i]))
            return qsizetype(i);
    return -1;
}

bool ZipReader::stream(qsizetype index, qint64 limit, const std::function<bool(QByteArrayView)> &take, QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    m_exceeded = false;
    if (!m_archive || index < 0 || size_t(index) >= m_entries.size())
        return fail(QStringLiteral("ZIP 文件中没有这一项"));
    if (m_entries[size_t(index)].size > limit) {
        m_exceeded = true;
        return fail(tooLarge(limit));
    }
    zip_file_t *file = zip_fopen_index(m_archive, zip_uint64_t(index), 0);
    if (!file)
        return fail(reasonOf(zip_get_error(m_archive)));
    static constexpr qsizetype Piece = 256 * 1024;
    QByteArray buffer(Piece, Qt::Uninitialized);
    qint64 total = 0;
    bool ok = true;
    for (;;) {
        const zip_int64_t got = zip_fread(file, buffer.data(), zip_uint64_t(Piece));
        if (got < 0) {
            ok = fail(reasonOf(zip_file_get_error(file)));
            break;
        }
        if (got == 0) {
            // All of it came, and no more than the directory says: an entry
            // whose data and directory disagree is damaged, however it inflates.
            if (total != m_entries[size_t(index)].size)
                ok = fail(reasonOf(ZIP_ER_INCONS));
            break;
        }
        total += got;
        if (total > limit) {
            m_exceeded = true;
            ok = fail(tooLarge(limit));
            break;
        }
        if (!take(QByteArrayView(buffer.constData(), qsizetype(got)))) {
            ok = fail(QStringLiteral("已取消"));
            break;
        }
    }
    zip_fclose(file);
    return ok;
}

std::optional<QByteArray> ZipReader::read(qsizetype index, qint64 limit, QString *error)
{
    QByteArray content;
    if (index >= 0 && size_t(index) < m_entries.size() && m_entries[size_t(index)].size <= limit)
        content.reserve(qsizetype(m_entries[size_t(index)].size));
    if (!stream(index, limit, [&](QByteArrayView piece) { content.append(piece); return true; }, error))
        return std::nullopt;
    return content;
}

// zlib's level 3. A backup of 100,000 records (9.4 MB) takes 0.33 s of CPU
// in all and zips to 2.84 MB; level 6 took 0.73 s for 2.46 MB, level 9 5.5 s
// for 2.27 MB (bench/bench_backup.cpp, docs/BENCHMARKS.md).
constexpr zip_uint32_t CompressionLevel = 3;

std::optional<QByteArray> zipArchive(const std::vector<ZipItem> &items, QString *error)
{
    const auto fail = [&](zip_error_t *why) -> std::optional<QByteArray> {
        if (error)
            *error = QStringLiteral("ZIP 文件无法生成（%1）").arg(QString::fromUtf8(zip_error_strerror(why)));
        return std::nullopt;
    };
    zip_error_t problem;
    zip_error_init(&problem);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &problem);
    if (!buffer)
        return fail(&problem);
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &problem);
    if (!archive) {
        zip_source_free(buffer);
        return fail(&problem);
    }
    zip_source_keep(buffer); // its bytes are the result, read after the archive is closed
    std::vector<QByteArray> names;
    for (const ZipItem &item : items) {
        names.push_back(item.name.toUtf8());
        zip_source_t *content = zip_source_buffer(archive, item.content.constData(), zip_uint64_t(item.content.size()), 0);
        const zip_int64_t index =
            content ? zip_file_add(archive, names.back().constData(), content, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (content)
                zip_source_free(content);
            zip_error_set(&problem, zip_error_code_zip(zip_get_error(archive)), 0);
            zip_discard(archive);
            zip_source_free(buffer);
            return fail(&problem);
        }
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, CompressionLevel);
        if (item.modified.isValid())
            zip_file_set_mtime(archive, zip_uint64_t(index), time_t(item.modified.toSecsSinceEpoch()), 0);
    }
    if (zip_close(archive) != 0) {
        zip_error_set(&problem, zip_error_code_zip(zip_get_error(archive)), 0);
        zip_discard(archive);
        zip_source_free(buffer);
        return fail(&problem);
    }
    std::optional<QByteArray> bytes;
    zip_stat_t stat;
    if (zip_source_stat(buffer, &stat) == 0 && zip_source_open(buffer) == 0) {
        QByteArray out(qsizetype(stat.size), Qt::Uninitialized);
        if (zip_source_read(buffer, out.data(), stat.size) == zip_int64_t(stat.size))
            bytes = std::move(out);
        zip_source_close(buffer);
    }
    if (!bytes)
        zip_error_set(&problem, ZIP_ER_READ, 0);
    zip_source_free(buffer);
    if (!bytes)
        return fail(&problem);
    zip_error_fini(&problem);
    return bytes;
}

} // namespace velmora
