#include "records/line_file.h"

namespace velmora {

LineFields tabFields(QByteArrayView line)
{
    LineFields fields;
    qsizetype start = 0;
    for (;;) {
        const qsizetype tab = line.indexOf('\t', start);
        if (tab < 0) {
            fields.append(line.sliced(start));
            return fields;
        }
        fields.append(line.sliced(start, tab - start));
        start = tab + 1;
    }
}

} // namespace velmora
