#pragma once

#include "netserial/Rfc2217Session.h"

#include <algorithm>

// All an RFC 2217 session made of a server's stream handed to it in
// pieces, so a stream cut one way can be compared with the same stream cut
// another (the tests and the fuzz target do).
struct SessionOutcome
{
    QByteArray data, reply;
    QList<CommEvent> events;
    bool ready = false;
    QString failure;
    // The most the session held between pieces; not compared, as it
    // depends on where the cuts fall.
    qsizetype mostHeld = 0;

    bool operator==(const SessionOutcome &o) const
    {
        return data == o.data && reply == o.reply && events == o.events && ready == o.ready && failure == o.failure;
    }

    static SessionOutcome of(const QList<QByteArray> &pieces, const LineSettings &settings = {})
    {
        Rfc2217Session session(settings);
        session.start();
        SessionOutcome out;
        for (const QByteArray &piece : pieces) {
            const Rfc2217Session::Received got = session.receive(piece);
            out.data += got.data;
            out.reply += got.reply;
            out.events += got.events;
            out.mostHeld = std::max(out.mostHeld, session.heldBytes());
        }
        out.ready = session.ready();
        out.failure = session.failure();
        return out;
    }
};
