#pragma once
// How the simulated traffic and radio signals move: rates that rise and fall
// smoothly around each counter's base rate, and signals that drift around a
// station's base value. Everything is a function of the time and the seed, so
// two runs with the same seed read the same numbers at the same moments, and
// a counter's total at any moment is computed at once, without stepping.
#include <cstdint>

namespace apsim {

class Traffic
{
public:
    // factor scales every rate and the pace of the drift; 0 holds them still.
    Traffic(unsigned seed, double factor);

    // What a counter of the given base rate has counted after `seconds`;
    // counter tells the counters apart (each has its own rhythm).
    double total(int counter, double perSecond, double seconds) const;
    // A station's signal in percent at `seconds`: its base plus a drift of up
    // to 15 points, kept within 1..100.
    long signal(long base, int station, double seconds) const;

private:
    struct Wave {
        double depth, omega, phase;
    };
    Wave wave(int counter, int which) const;

    unsigned m_seed;
    double m_factor;
};

} // namespace apsim
