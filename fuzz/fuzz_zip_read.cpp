// Reads any bytes as a zip archive, as a restore or an import does, and every
// entry of it with a limit: nothing crashes, no entry gives more than the
// limit, and an entry read to its end holds the size its directory declares
// (a size that lies is refused, never taken as it comes).

#include "archive/zip_archive.h"
#include "fuzz_support.h"

#include <QBuffer>

using namespace velmora;
using namespace velmora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBuffer device;
    device.setData(bytesOf(data, size).toByteArray());
    device.open(QIODevice::ReadOnly);
    ZipReader reader(device);
    FUZZ_CHECK(reader.isOpen() || !reader.error().isEmpty(), "an archive refused without a reason");
    constexpr qint64 Limit = 1 << 20;
    const size_t entries = std::min<size_t>(reader.entries().size(), 16);
    for (size_t i = 0; i < entries; ++i) {
        QString error;
        const std::optional<QByteArray> content = reader.read(qsizetype(i), Limit, &error);
        FUZZ_CHECK(content || !error.isEmpty(), "an entry refused without a reason");
        if (content) {
            FUZZ_CHECK(content->size() <= Limit, "an entry beyond its limit");
            FUZZ_CHECK(content->size() == reader.entries()[i].size,
                       "an entry read whole differs from its declared size: " + QByteArray::number(content->size()));
        }
    }
    return 0;
}
