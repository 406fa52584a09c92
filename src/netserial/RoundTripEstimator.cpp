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
    if (!m_hasSample)
        return BaseReplyTimeout;
    const double timeout = BaseReplyTimeout + m_srtt + 4 * m_rttvar;
    return timeout >= MaxReplyTimeout ? MaxReplyTimeout : int(std::lround(timeout));
}

int RoundTripEstimator::guardTime() const
{
    return m_hasSample ? smoothed() : 0;
}
