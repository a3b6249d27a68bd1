#pragma once

#include <chrono>

// Long waits of the pages (a device restarting, a firmware being written) are
// scaled by this factor, so that tests can run them in a fraction of the time
// without sleeping. 1.0 in the program.
void VrSetTimeScale(double factor);
double VrTimeScale();

// A wait of the given length after scaling; never negative, at least 1 ms for
// a positive wait so that a scaled timer still fires after pending events.
int VrScaledMs(int milliseconds);
inline std::chrono::milliseconds VrScaled(std::chrono::milliseconds wait)
{
    return std::chrono::milliseconds(VrScaledMs(int(wait.count())));
}
