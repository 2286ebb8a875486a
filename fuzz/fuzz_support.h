#pragma once

// Helpers shared by the fuzz targets: a check that stops the run with a
// readable message (libFuzzer then saves the input), and item printing.

#include "records/item.h"
#include "records/line_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QByteArrayView>

#include <cstdio>
#include <cstdlib>

namespace velmora::fuzz {

inline QByteArrayView bytesOf(const uint8_t *data, size_t size)
{
    return QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The item as a line for a failure message: its kind and its value or bytes.
inline QByteArray describe(const Item &item)
{
    switch (item.kind()) {
    case Item::Kind::Empty:
        return "empty";
    case Item::Kind::Number: {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "number %.17g", item.number());
        return buffer;
    }
    case Item::Kind::Text:
        return "text \"" + item.textBytes().toPercentEncoding(" !#$&'()*+-./:;<=>?@[]^_`{|}~") + "\"";
    }
    return "?";
}

[[noreturn]] inline void fail(const char *what, const QByteArray &detail = {})
{
    std::fprintf(stderr, "\n*** property broken: %s\n%s\n", what, detail.constData());
    std::fflush(stderr);
    std::abort();
}

} // namespace velmora::fuzz

#define FUZZ_CHECK(condition, detail)                                                                  \
    do {                                                                                               \
        if (!(condition))                                                                              \
            ::velmora::fuzz::fail(#condition, (detail));                                               \
    } while (false)

namespace velmora::fuzz {

// The bytes a writer puts into a buffer; a writer that fails stops the run.
template <typename Writer>
QByteArray writtenBy(Writer write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    FUZZ_CHECK(write(buffer), "writing to a buffer failed");
    return buffer.data();
}

} // namespace velmora::fuzz

namespace velmora::fuzz {

// The lines of a content without their ends; empty ones and a leading header dropped.
inline QList<QByteArray> contentLines(QByteArrayView content, QByteArrayView header)
{
    QList<QByteArray> lines;
    forEachLine(content, header, [&](QByteArrayView line) { lines << line.toByteArray(); });
    return lines;
}

// What every file of dated entries (records/line_file.h) keeps through a
// save: written back and read again, the same entries and kept lines come
// back, every line ends with CR LF, and every line of the input but a leading
// header and the empty lines is in the output byte for byte, in its order.
template <typename Read, typename Content>
void checkLineFileRoundTrip(QByteArrayView input, const QByteArray &header, Read read, Content content)
{
    const auto file = read(input);
    const std::optional<QByteArray> saved = content(file);
    FUZZ_CHECK(saved.has_value(), "entries as read cannot be written");
    FUZZ_CHECK(saved->startsWith(header + "\r\n"), "no header");
    FUZZ_CHECK(saved->count('\n') == saved->count("\r\n"), "a line that does not end with CR LF");
    FUZZ_CHECK(contentLines(*saved, header) == contentLines(input, header),
               "a line changed through a save: " + saved->toPercentEncoding());
    const auto back = read(*saved);
    FUZZ_CHECK(back.entries == file.entries && back.kept == file.kept, "the entries changed through a save");
    FUZZ_CHECK(content(back) == saved, "a second save differs from the first");
}

} // namespace velmora::fuzz
