// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Spring.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSettledAmplitude = 0.001;

} // namespace

double Spring::position(double t) const
{
    const double omega = std::sqrt(stiffness / mass);
    const double zeta = damping / (2 * std::sqrt(stiffness * mass));
    if (zeta < 1) {
        const double omegaD = omega * std::sqrt(1 - zeta * zeta);
        const double decay = std::exp(-zeta * omega * t);
        return 1 - decay * (std::cos(omegaD * t) + zeta * omega / omegaD * std::sin(omegaD * t));
    }
    // Critically damped or slower: the critically damped curve is close enough for a settle.
    return 1 - std::exp(-omega * t) * (1 + omega * t);
}

double Spring::settlingDuration() const
{
    const double omega = std::sqrt(stiffness / mass);
    const double zeta = damping / (2 * std::sqrt(stiffness * mass));
    if (zeta < 1) {
        const double omegaD = omega * std::sqrt(1 - zeta * zeta);
        // The envelope of the oscillation, amplitude * exp(-zeta omega t), falls below the mark.
        const double amplitude = std::sqrt(1 + std::pow(zeta * omega / omegaD, 2));
        return std::log(amplitude / kSettledAmplitude) / (zeta * omega);
    }
    double t = 0;
    while (std::abs(1 - position(t)) > kSettledAmplitude)
        t += 0.001;
    return t;
}
