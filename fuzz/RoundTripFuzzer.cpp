// Whatever the reader accepts must come back unchanged after a save.

#include "RoundTripCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    if (const char *problem =
            RoundTripCheck::problem(QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size)))) {
        std::fprintf(stderr, "round trip: %s\n", problem);
        std::abort();
    }
    return 0;
}
