// Reads any bytes item by item, as the record and user-list readers do, and
// checks that writing the items back (one per line, as a record file holds
// them) gives exactly one line per item and reads back as the same items.
// Texts come back as stored: a line break inside one (only an unclosed quote
// reads one) is stored as a blank, and a double quote inside a text that
// must be quoted as the full-width quote.
//
// Numbers are written with at most 15 significant digits (formatNumber), so a
// number read with more digits than that comes back as its 15-digit rounding;
// that rounding is what the check expects (or, where the rounding would leave
// the range of doubles, a finite number within 1e-14 of the original).

#include "fuzz_support.h"
#include "records/item_reader.h"
#include "records/record_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace velmora;
using namespace velmora::fuzz;

namespace {

// The value a number has after being written with 15 significant digits and
// read again, computed independently of the program's own formatting.
double roundedTo15Digits(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return std::strtod(buffer, nullptr);
}

std::vector<Item> readAll(QByteArrayView content)
{
    std::vector<Item> items;
    ItemReader reader(content);
    // Every item takes at least one byte, so a reader that stops moving is caught.
    while (!reader.atEnd()) {
        items.push_back(reader.next());
        FUZZ_CHECK(items.size() <= size_t(content.size()), "the reader stopped moving");
    }
    return items;
}

QByteArray writeAll(const std::vector<Item> &items)
{
    QByteArray out;
    for (const Item &item : items)
        appendItemLine(out, item);
    return out;
}

// The text as a record file stores it.
QByteArray storedText(QByteArray text)
{
    text.replace("\r\n", " ").replace('\r', ' ').replace('\n', ' ');
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool bare = !text.startsWith('"') && !text.contains(',')
                      && (text.isEmpty() || (!blank(text.front()) && !blank(text.back())));
    if (!bare)
        text.replace("\"", "\xA3\xA2");
    return text;
}

volatile double sink;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView content = bytesOf(data, size);
    const std::vector<Item> items = readAll(content);

    // Fields (user names) are split exactly like items.
    {
        ItemReader reader(content);
        size_t fields = 0;
        while (!reader.atEnd()) {
            reader.nextField();
            ++fields;
        }
        FUZZ_CHECK(fields == items.size(), QByteArray::number(qulonglong(fields)) + " fields, "
                                               + QByteArray::number(qulonglong(items.size())) + " items");
    }

    for (const Item &item : items) {
        FUZZ_CHECK(!item.isNumber() || std::isfinite(item.number()), describe(item));
        FUZZ_CHECK(!item.isText() || !item.textBytes().isEmpty(), "a text item with no bytes");
        // What the boxes show and the number a box text starts with.
        sink = leadingNumberValue(item.displayText());
    }

    // Round trip: one item per line, read back.
    const QByteArray written = writeAll(items);
    FUZZ_CHECK(written.count('\n') == qsizetype(items.size()) && written.count('\r') == qsizetype(items.size()),
               "an item did not take exactly one line");
    const std::vector<Item> back = readAll(written);
    FUZZ_CHECK(back.size() == items.size(), "wrote " + QByteArray::number(qulonglong(items.size()))
                                                + " items, read back " + QByteArray::number(qulonglong(back.size())));
    for (size_t i = 0; i < items.size(); ++i) {
        const Item &original = items[i];
        const Item &again = back[i];
        const QByteArray detail = "item " + QByteArray::number(qulonglong(i)) + ": " + describe(original)
                                  + "\nwritten and read back: " + describe(again);
        FUZZ_CHECK(original.kind() == again.kind(), detail);
        if (original.isNumber()) {
            const double rounded = roundedTo15Digits(original.number());
            if (std::isfinite(rounded)) {
                FUZZ_CHECK(again.number() == rounded, detail);
            } else {
                // Next to the largest double the 15-digit rounding lies beyond
                // it; any way of writing such a number must still read back
                // as a finite number this close to it.
                FUZZ_CHECK(std::isfinite(again.number())
                               && std::fabs(again.number() - original.number()) <= 1e-14 * std::fabs(original.number()),
                           detail);
            }
        } else if (original.isText()) {
            FUZZ_CHECK(again.isText() && again.textBytes() == storedText(original.textBytes()), detail);
        } else {
            FUZZ_CHECK(original == again, detail);
        }
    }

    // A second save of what was read back changes nothing: files do not drift.
    FUZZ_CHECK(writeAll(back) == written, "a second write differs from the first");
    return 0;
}
