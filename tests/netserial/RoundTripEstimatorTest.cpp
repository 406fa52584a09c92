// The smoothed round trip and the reply time-out it gives.

#include "netserial/RoundTripEstimator.h"

#include <gtest/gtest.h>

#include <vector>

TEST(RoundTripEstimator, SmoothsAsRfc6298AndBoundsTheReplyTimeout)
{
    using R = RoundTripEstimator;
    struct Case
    {
        const char *name;
        std::vector<int> samples;
        int smoothed, variation, timeout, guard;
        int connect = 0; // the connect's time, noted first
    };
    const Case cases[] = {
        // RFC 6298's initial 1 s before a reply was timed.
        {"no sample", {}, 0, 0, R::BaseReplyTimeout + 1000, 0},
        {"a handshake answered nearby", {}, 0, 0, R::BaseReplyTimeout + 1000, 2, 2},
        {"a connect as long as the path", {}, 0, 0, R::BaseReplyTimeout + 3 * 600, 600, 600},
        {"a reply replaces the connect's floor", {100}, 100, 50, 500 + 100 + 4 * 50, 100, 2000},
        {"first sample", {100}, 100, 50, 500 + 100 + 4 * 50, 100},
        // RTTVAR = 3/4 50 + 1/4 |100 - 200| = 62.5; SRTT = 7/8 100 + 1/8 200 = 112.5.
        {"second sample", {100, 200}, 113, 63, 863, 113},
        {"a steady path narrows to its round trip", std::vector<int>(60, 600), 600, 0, 1100, 600},
        {"one spike widens it", [] { auto v = std::vector<int>(60, 600); v.push_back(2600); return v; }(), 850,
         500, 3350, 850},
        {"a very slow path is capped", {2000}, 2000, 1000, R::MaxReplyTimeout, 2000},
        {"a clock step back counts as nothing", {-5}, 0, 0, R::BaseReplyTimeout, 0},
    };
    for (const Case &c : cases) {
        R estimator;
        estimator.noteConnect(c.connect);
        for (int ms : c.samples)
            estimator.addSample(ms);
        EXPECT_EQ(estimator.hasSample(), !c.samples.empty()) << c.name;
        EXPECT_EQ(estimator.smoothed(), c.smoothed) << c.name;
        EXPECT_EQ(estimator.variation(), c.variation) << c.name;
        EXPECT_EQ(estimator.replyTimeout(), c.timeout) << c.name;
        EXPECT_EQ(estimator.guardTime(), c.guard) << c.name;
    }
}
