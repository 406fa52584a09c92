// A serial device server's byte stream fed to the RFC 2217 client twice:
// whole, and cut into pieces where the input says, as TCP may deliver it.
// Both must come to the same data, replies, line errors, readiness and
// failure, and neither may hold more than the telnet codec's bound.

#include "support/SessionOutcome.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "netserial: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    // First byte: the line settings (bits 5..7) and how many cuts follow
    // (bits 0..4); then one byte per cut, the length of that piece; the
    // rest is what the server sent.
    if (size < 1)
        return 0;
    LineSettings settings;
    settings.parity = bytes[0] & 0x20 ? 'E' : 'N';
    settings.rts = bytes[0] & 0x40;
    settings.stopBits = bytes[0] & 0x80 ? 2 : 1;
    const size_t cuts = std::min<size_t>(bytes[0] & 0x1f, size - 1);
    const QByteArray stream(reinterpret_cast<const char *>(bytes + 1 + cuts), qsizetype(size - 1 - cuts));

    QList<QByteArray> pieces;
    qsizetype at = 0;
    for (size_t i = 0; i < cuts && at < stream.size(); ++i) {
        pieces.append(stream.mid(at, bytes[1 + i]));
        at += bytes[1 + i];
    }
    pieces.append(stream.mid(at));

    const SessionOutcome whole = SessionOutcome::of({stream}, settings);
    const SessionOutcome split = SessionOutcome::of(pieces, settings);
    check(split.data == whole.data, "data differs when cut");
    check(split.reply == whole.reply, "replies differ when cut");
    check(split.events == whole.events, "line errors differ when cut");
    check(split.ready == whole.ready, "readiness differs when cut");
    check(split.failure == whole.failure, "failure differs when cut");
    check(!whole.ready || whole.failure.isEmpty(), "ready despite a failure");
    check(std::max(whole.mostHeld, split.mostHeld) <= TelnetCodec::MaxSubnegotiation, "more held than the bound");
    return 0;
}
