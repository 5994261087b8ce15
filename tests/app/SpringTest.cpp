// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Spring.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Spring, PanelSpringSettlesInAboutASecondWithASmallOvershoot)
{
    const Spring spring {14, 180, 1};
    const double settle = spring.settlingDuration();
    EXPECT_NEAR(settle, 1.0, 0.05);
    EXPECT_DOUBLE_EQ(spring.position(0), 0);
    double peak = 0;
    for (double t = 0; t < settle; t += 0.001)
        peak = std::max(peak, spring.position(t));
    // Damping ratio 0.52: one visible overshoot of about 15 % of the travel (0.6 % of scale).
    EXPECT_NEAR(peak, 1.146, 0.01);
    for (double t = settle; t < settle + 1; t += 0.01)
        EXPECT_LT(std::abs(1 - spring.position(t)), 0.001) << t;
}

TEST(Spring, OverdampedSpringApproachesWithoutOvershoot)
{
    const Spring spring {60, 180, 1};
    const double settle = spring.settlingDuration();
    for (double t = 0; t < settle + 0.5; t += 0.005)
        EXPECT_LE(spring.position(t), 1.0 + 1e-9);
    EXPECT_LT(std::abs(1 - spring.position(settle)), 0.0011);
}

} // namespace
