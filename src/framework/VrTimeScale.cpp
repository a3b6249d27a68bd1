#include "VrTimeScale.h"

#include <algorithm>
#include <cmath>

namespace {
double g_scale = 1.0;
}

void VrSetTimeScale(double factor)
{
    g_scale = (std::isfinite(factor) && factor > 0) ? factor : 1.0;
}

double VrTimeScale()
{
    return g_scale;
}

int VrScaledMs(int milliseconds)
{
    if (milliseconds <= 0)
        return 0;
    const double scaled = std::ceil(milliseconds * g_scale);
    return scaled >= 2147483647.0 ? 2147483647 : std::max(1, int(scaled));
}
