// Reads any bytes as a user list, writes the names back as a save does (each
// name on a line of its own) and reads them again: every name comes back as
// one name, in order; names that the line format carries bare - no comma,
// double quote or line break, no blank at either end - come back exactly.

#include "fuzz_support.h"
#include "records/user_list.h"

#include <algorithm>

using namespace velmora;
using namespace velmora::fuzz;

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool survivesLineFormat(const QByteArray &name)
{
    for (char c : name)
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return false;
    return name.isEmpty() || (!isBlank(name.front()) && !isBlank(name.back()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const UserNames names = readUserNames(bytesOf(data, size));

    const QByteArray written = writtenBy([&](QIODevice &device) { return writeUserNames(device, names); });
    FUZZ_CHECK(written.count('\n') == qsizetype(names.size()) && written.count('\r') == qsizetype(names.size()),
               "a name that is not one line");
    const UserNames back = readUserNames(written);
    QByteArray detail = "read " + QByteArray::number(qulonglong(names.size())) + " names, read back "
                        + QByteArray::number(qulonglong(back.size()));
    FUZZ_CHECK(back.size() == names.size(), detail);
    if (std::all_of(names.begin(), names.end(), survivesLineFormat)) {
        for (size_t i = 0; i < names.size() && i < back.size(); ++i)
            if (names[i] != back[i]) {
                detail += "\nname " + QByteArray::number(qulonglong(i)) + ": \"" + names[i].toPercentEncoding()
                          + "\" came back as \"" + back[i].toPercentEncoding() + "\"";
                break;
            }
        FUZZ_CHECK(back == names, detail);
    }
    return 0;
}
