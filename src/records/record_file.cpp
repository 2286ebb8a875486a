#include "records/record_file.h"

#include "records/item_reader.h"

#include <algorithm>

namespace velmora {

int readRecords(QByteArrayView content, RecordTable &table, const EntryHook &hook)
{
    ItemReader reader(content);
    int count = 0;
    // A record has fourteen items, one a line as the program writes them: the
    // line count gives the table its final size in one allocation instead of a
    // string of doublings that each move every record read so far.
    const qsizetype lines = std::count(content.begin(), content.end(), '\n');
    table.reserveCapacity(int(std::min<qsizetype>(lines / FieldCount + 1, 1 << 24)));
    while (!reader.atEnd()) {
        table.reserveEntries(count + 1);
        HealthRecord &record = table[count];
        for (Item &item : record.items) {
            if (reader.atEnd())
                item.clear();
            else
                reader.readInto(item);
        }
        if (hook)
            hook(count, record);
        ++count;
    }
    return count;
}

int countRecords(QByteArrayView content)
{
    ItemReader reader(content);
    Item item;
    qint64 items = 0;
    while (!reader.atEnd()) {
        reader.readInto(item);
        ++items;
    }
    return int((items + FieldCount - 1) / FieldCount);
}

ReadResult readRecords(const std::optional<QByteArray> &content, const QString &readError, RecordTable &table,
                       const EntryHook &hook)
{
    ReadResult result;
    if (!content) {
        result.ok = false;
        result.error = readError;
        return result;
    }
    result.count = readRecords(*content, table, hook);
    result.fingerprint = FileFingerprint::of(*content);
    return result;
}

ReadResult readRecordDevice(QIODevice &device, RecordTable &table, const EntryHook &hook)
{
    QString error;
    const auto content = readWholeDevice(device, &error);
    return readRecords(content, error, table, hook);
}

ReadResult ReadRecordFile(const QString &path, RecordTable &table, const EntryHook &hook)
{
    QString error;
    const auto content = readWholeFile(path, &error);
    return readRecords(content, error, table, hook);
}

namespace {

const QByteArray FullwidthQuote("\xA3\xA2"); // ＂ in GBK

bool isBlankByte(char c) { return c == ' ' || c == '\t'; }

// Whether a text reads back as itself, one item, when written bare: a comma
// would split it, a leading quote would open a quoted item, blanks at its ends
// would be dropped.
bool readsBackBare(QByteArrayView text)
{
    if (text.isEmpty())
        return true;
    if (text.front() == '"' || isBlankByte(text.front()) || isBlankByte(text.back()))
        return false;
    for (char c : text)
        if (c == ',' || c == '\r' || c == '\n')
            return false;
    return true;
}

} // namespace

// Every text goes into its file as exactly one line that reads back as one
// item. A line break inside it becomes a blank. A text that would not read
// back bare is put in double quotes, which the reader removes; a double quote
// inside it, which would end the quoted item early, becomes the full-width ＂.
// (Plain ASCII bytes never occur inside a GBK character, so this works on the
// bytes of any text, also one that is not valid GBK.)
void appendStorableText(QByteArray &out, QByteArrayView text)
{
    if (readsBackBare(text)) {
        out.append(text);
        return;
    }
    QByteArray safe = text.toByteArray();
    safe.replace("\r\n", " ").replace('\r', ' ').replace('\n', ' ');
    if (readsBackBare(safe)) {
        out.append(safe);
        return;
    }
    safe.replace("\"", FullwidthQuote);
    out.append('"').append(safe).append('"');
}

void appendItemLine(QByteArray &out, const Item &item)
{
    switch (item.kind()) {
    case Item::Kind::Number:
        if (item.number() >= 0)
            out.append(' ');
        out.append(formatNumber(item.number()));
        out.append(' ');
        break;
    case Item::Kind::Text:
        appendStorableText(out, item.textBytes());
        break;
    case Item::Kind::Empty:
        break;
    }
    out.append("\r\n", 2);
}

void appendRecordLines(QByteArray &out, const HealthRecord &record)
{
    for (const Item &item : record.items)
        appendItemLine(out, item);
}

bool writeRecords(QIODevice &device, const RecordTable &table, int count, RewriteMode mode,
                  const HealthRecord *appended)
{
    constexpr qsizetype flushAt = 256 * 1024;
    QByteArray buffer;
    buffer.reserve(flushAt + 4096);
    const int last = mode == RewriteMode::Append ? count : count - 1;
    for (int i = 0; i <= last && i < table.size(); ++i) {
        const HealthRecord &record = table[i];
        if (mode == RewriteMode::Append && record[RecordIdField].isEmpty())
            continue;
        appendRecordLines(buffer, record);
        if (buffer.size() >= flushAt) {
            if (!writeAll(device, buffer))
                return false;
            buffer.clear();
        }
    }
    if (appended)
        appendRecordLines(buffer, *appended);
    return writeAll(device, buffer);
}

} // namespace velmora
