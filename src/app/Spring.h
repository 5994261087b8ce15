// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A damped spring released from rest at 0 towards 1 (unit mass), for the panel's scale-in.
struct Spring
{
    double damping = 14;
    double stiffness = 180;
    double mass = 1;

    // Position at time t seconds; overshoots past 1 when under-damped.
    double position(double t) const;
    // When the motion stays within a thousandth of the target from then on.
    double settlingDuration() const;
};
