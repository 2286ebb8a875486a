#pragma once

#include "records/health_record.h"
#include "records/text_file.h"

#include <QByteArrayView>
#include <QIODevice>

#include <functional>

namespace velmora {

// Called after the fourteen items of entry `index` are read, so the caller can
// score while reading.
using EntryHook = std::function<void(int index, const HealthRecord &record)>;

// The read pass over a record file's content: entry i goes to position i of the
// table; the count is the number of entries. A cut-off last entry is counted,
// its missing items are empty.
int readRecords(QByteArrayView content, RecordTable &table, const EntryHook &hook = {});

// The number of entries the read pass finds, without keeping them.
int countRecords(QByteArrayView content);

// Reads the whole file and runs the read pass. On failure the table is untouched.
struct ReadResult : FileResult
{
    int count = 0;
    FileFingerprint fingerprint; // of the bytes read
};
ReadResult readRecords(const std::optional<QByteArray> &content, const QString &readError, RecordTable &table,
                       const EntryHook &hook = {});
ReadResult readRecordDevice(QIODevice &device, RecordTable &table, const EntryHook &hook = {});
ReadResult ReadRecordFile(const QString &path, RecordTable &table, const EntryHook &hook = {});

// Appends a text so that it reads back as one item of one line (see the .cpp).
void appendStorableText(QByteArray &out, QByteArrayView text);

// Appends one item as a line: texts unchanged, numbers between two blanks
// (a minus sign in place of the first one), empty items as empty lines.
void appendItemLine(QByteArray &out, const Item &item);
void appendRecordLines(QByteArray &out, const HealthRecord &record);

enum class RewriteMode {
    // Positions 0 to count inclusive, skipping empty RecordIds, then the new record.
    Append,
    // Positions 0 to count - 1, every one of them.
    Modify,
};

bool writeRecords(QIODevice &device, const RecordTable &table, int count, RewriteMode mode,
                  const HealthRecord *appended = nullptr);

} // namespace velmora
