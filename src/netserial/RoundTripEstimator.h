#pragma once

// The round trip to a network serial server, smoothed the way TCP's own
// retransmission timer smooths it (RFC 6298): a running mean and a running
// mean deviation, so one slow reply widens the reply time-out and a steady
// path keeps it close to what the path really takes.
class RoundTripEstimator
{
public:
    // What a local port waits for a reply; the network's round trip comes
    // on top.
    static constexpr int BaseReplyTimeout = 500;
    // However slow the path looked, a reply is given up on after this.
    static constexpr int MaxReplyTimeout = 5000;
    // What the path is assumed to take before a reply was timed: RFC 6298's
    // initial retransmission time-out.
    static constexpr int InitialRoundTrip = 1000;

    // One measured round trip from a frame to its reply, in milliseconds
    // (negative ones count as 0).
    void addSample(int ms);
    // How long the connect took. Only a floor: a tunnel, a VPN or a proxy
    // completes TCP's handshake itself, so a path a second long can
    // connect in no time.
    void noteConnect(int ms);

    bool hasSample() const { return m_hasSample; }
    // The smoothed round trip (SRTT) and its variation (RTTVAR), in ms.
    int smoothed() const;
    int variation() const;

    // How long to wait for a reply: BaseReplyTimeout + SRTT + 4 RTTVAR,
    // at most MaxReplyTimeout. Before any sample the round trip is taken
    // as InitialRoundTrip, or as what the connect suggests if longer.
    int replyTimeout() const;
    // About one round trip: how long late bytes of an earlier exchange
    // may still be on their way. The connect's time before any sample.
    int guardTime() const;

private:
    bool m_hasSample = false;
    int m_connect = 0;
    // Kept in fractions of a millisecond so the 1/8 and 1/4 steps of small
    // samples do not round away.
    double m_srtt = 0;
    double m_rttvar = 0;
};
