#include "Traffic.h"

#include <algorithm>
#include <cmath>

namespace apsim {

namespace {

constexpr double Pi = 3.14159265358979323846;

// A small, well-mixed number from the seed and two salts (splitmix64's finaliser).
double unit(unsigned seed, int a, int b)
{
    uint64_t x = (uint64_t{seed} << 32) ^ (uint64_t(uint32_t(a)) << 16) ^ uint64_t(uint32_t(b));
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    x ^= x >> 31;
    return double(x >> 11) / double(uint64_t{1} << 53);
}

} // namespace

Traffic::Traffic(unsigned seed, double factor) : m_seed(seed), m_factor(std::max(0.0, factor)) {}

// Two slow waves per counter, periods between 40 s and 3 min; their depths
// add up to less than 1, so the rate never falls to zero or below.
Traffic::Wave Traffic::wave(int counter, int which) const
{
    const double depth = which == 0 ? 0.45 : 0.2;
    const double period = 40.0 + 140.0 * unit(m_seed, counter, 2 * which);
    return {depth, 2 * Pi / period, 2 * Pi * unit(m_seed, counter, 2 * which + 1)};
}

// The integral of perSecond * (1 + sum depth * sin(omega t + phase)).
double Traffic::total(int counter, double perSecond, double seconds) const
{
    const double t = std::max(0.0, seconds) * m_factor;
    double sum = t;
    for (int which = 0; which < 2; ++which) {
        const Wave w = wave(counter, which);
        sum += w.depth / w.omega * (std::cos(w.phase) - std::cos(w.omega * t + w.phase));
    }
    return perSecond * sum;
}

long Traffic::signal(long base, int station, double seconds) const
{
    const double t = std::max(0.0, seconds) * m_factor;
    const Wave slow = wave(1000 + station, 0);
    const Wave quick = wave(1000 + station, 1);
    const double drift = 10 * std::sin(slow.omega * t + slow.phase) + 5 * std::sin(3 * quick.omega * t + quick.phase);
    return std::clamp(base + std::lround(drift), 1L, 100L);
}

} // namespace apsim
