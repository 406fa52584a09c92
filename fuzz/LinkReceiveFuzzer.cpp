// Arbitrary reply bytes, line errors and delays fed to the link engine
// through the fake port while it writes a title or polls the device: the
// engine must survive every sequence and leave the title data alone.

#include "support/LinkRig.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr CommEvent LineEvents[] = {
    CommEvent::Break, CommEvent::Framing, CommEvent::Overrun, CommEvent::ReceiveParity,
    CommEvent::ReceiveOverflow, CommEvent::EndOfFile, CommEvent::CarrierChanged, CommEvent::DataReceived,
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    if (size < 2)
        return 0;
    LinkRig rig;
    rig.device.silent = true; // every reply comes from the input
    rig.data.DispData(0, 0, 0) = 1;
    const auto before = std::make_unique<TitleData>(rig.data);

    // First byte: the operation; second: the channels of a bulk write.
    if (bytes[0] & 1) {
        for (int ch = 0; ch < Title::Channels; ++ch)
            rig.data.KakikomiCh[ch] = (bytes[1] >> ch) & 1;
        rig.engine->KakikomiOn();
    } else {
        rig.engine->startPolling();
        rig.clock.advance(LinkEngine::PollInterval + 1);
    }

    // Then commands: 0x00..0x7F deliver the next 1..16 bytes as one read,
    // 0x80..0xBF let virtual time pass, 0xC0..0xFF raise a port event.
    size_t at = 2;
    while (at < size && rig.view.unloads == 0) {
        const uint8_t command = bytes[at++];
        if (command < 0x80) {
            const size_t length = std::min<size_t>(1 + (command & 0x0F), size - at);
            rig.port.receive(QByteArray(reinterpret_cast<const char *>(bytes + at), qsizetype(length)));
            at += length;
        } else if (command < 0xC0) {
            rig.clock.advance((command & 0x3F) * 25);
        } else {
            rig.port.raise(LineEvents[command % std::size(LineEvents)]);
        }
    }
    rig.clock.advance(30000); // every time-out and resend runs out

    if (rig.data.DotData != before->DotData || rig.data.DispData != before->DispData
        || rig.data.ChText != before->ChText) {
        std::fprintf(stderr, "link: the title data changed\n");
        std::abort();
    }
    return 0;
}
