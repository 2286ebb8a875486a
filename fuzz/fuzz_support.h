#pragma once

// Helpers shared by the fuzz targets: a check that stops the run with a
// readable message (libFuzzer then saves the input), and item printing.

#include "records/item.h"

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
