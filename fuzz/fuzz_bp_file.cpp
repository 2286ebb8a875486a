// Reads any bytes as a user's home blood pressure readings (.bp), writes them
// back as a save does and reads them again: what every file of dated entries
// keeps through a save (fuzz_support.h), so that a rewrite never loses or
// changes what a person wrote.

#include "fuzz_support.h"
#include "readings/bp_file.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::checkLineFileRoundTrip(fuzz::bytesOf(data, size), bpFileHeader(), readBpFile, bpFileContent);
    return 0;
}
