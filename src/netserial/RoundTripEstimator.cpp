#include "RoundTripEstimator.h"

#include <algorithm>
#include <cmath>

void RoundTripEstimator::addSample(int ms)
{
    const double r = std::max(ms, 0);
    if (!m_hasSample) {
        m_srtt = r;
        m_rttvar = r / 2;
        m_hasSample = true;
        return;
    }
    // RTTVAR first, from the SRTT before this sample, as RFC 6298 orders it.
    m_rttvar = 0.75 * m_rttvar + 0.25 * std::abs(m_srtt - r);
    m_srtt = 0.875 * m_srtt + 0.125 * r;
}

void RoundTripEstimator::noteConnect(int ms)
{
    m_connect = std::max(ms, 0);
}

int RoundTripEstimator::smoothed() const
{
    return int(std::lround(m_srtt));
}

int RoundTripEstimator::variation() const
{
    return int(std::lround(m_rttvar));
}

int RoundTripEstimator::replyTimeout() const
{
    // RFC 6298 from a first sample R: SRTT R, RTTVAR R / 2, so R + 4 R / 2.
    const double timeout = m_hasSample ? BaseReplyTimeout + m_srtt + 4 * m_rttvar
                                       : BaseReplyTimeout + std::max(InitialRoundTrip, 3 * m_connect);
    return timeout >= MaxReplyTimeout ? MaxReplyTimeout : int(std::lround(timeout));
}

int RoundTripEstimator::guardTime() const
{
    return m_hasSample ? smoothed() : m_connect;
}
