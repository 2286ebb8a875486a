#pragma once

// Zip archives made with libzip directly, for tests that need entries the
// program never writes: links, Unix modes, names of any bytes.

#include "archive/zip_archive.h"

#include <QBuffer>
#include <QByteArray>

#include <zip.h>

#include <vector>

namespace velmora::test {

struct RawEntry
{
    QByteArray name; // stored as given, marked UTF-8
    QByteArray content;
    zip_uint32_t unixMode = 0100644; // a plain file; 0120777 a symbolic link
};

inline QByteArray rawZip(const std::vector<RawEntry> &entries)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    zip_source_keep(buffer);
    for (const RawEntry &entry : entries) {
        zip_source_t *content = zip_source_buffer(archive, entry.content.constData(), zip_uint64_t(entry.content.size()), 0);
        const zip_int64_t i = zip_file_add(archive, entry.name.constData(), content, ZIP_FL_ENC_UTF_8);
        zip_file_set_external_attributes(archive, zip_uint64_t(i), 0, ZIP_OPSYS_UNIX, entry.unixMode << 16);
    }
    zip_close(archive);
    zip_stat_t stat;
    zip_source_stat(buffer, &stat);
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    zip_source_open(buffer);
    zip_source_read(buffer, bytes.data(), stat.size);
    zip_source_close(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}

// The entries of an archive, to be changed and made into a zip again.
inline std::vector<RawEntry> rawEntries(const QByteArray &zip)
{
    QBuffer device;
    device.setData(zip);
    device.open(QIODevice::ReadOnly);
    ZipReader reader(device);
    std::vector<RawEntry> entries;
    for (size_t i = 0; i < reader.entries().size(); ++i)
        entries.push_back({reader.entries()[i].name.toUtf8(), reader.read(qsizetype(i), 1 << 30, nullptr).value_or("")});
    return entries;
}

} // namespace velmora::test
