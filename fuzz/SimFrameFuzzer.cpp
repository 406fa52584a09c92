// Any byte stream from a host: the simulator's frame parser and device must
// neither crash nor hold on to unbounded input, and a refused frame must
// never be answered.

#include "sim/SimDevice.h"
#include "sim/SimFrameParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    SimFrameParser parser;
    SimDevice device;
    // The first byte sets how the stream is cut into reads, as a line
    // delivers it in pieces of varying size.
    const size_t piece = size > 0 ? 1 + bytes[0] % 64 : 1;
    for (size_t at = size > 0 ? 1 : 0; at < size; at += piece) {
        const QByteArray chunk(reinterpret_cast<const char *>(bytes + at), qsizetype(std::min(piece, size - at)));
        for (const SimFrameParser::Frame &frame : parser.feed(chunk)) {
            if (!frame.refusal.isEmpty())
                continue;
            const SimDevice::Answer answer = device.handle(frame.bytes);
            if (answer.refusal.isEmpty() == answer.reply.isEmpty()) {
                std::fprintf(stderr, "sim: a frame was both refused and answered, or neither\n");
                std::abort();
            }
        }
        if (parser.pending().size() > SimFrameParser::CharFrameLength) {
            std::fprintf(stderr, "sim: the parser holds %lld bytes\n", (long long)parser.pending().size());
            std::abort();
        }
    }
    (void)device.toJson();
    return 0;
}
