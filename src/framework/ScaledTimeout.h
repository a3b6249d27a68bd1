#pragma once

#include "VrTimeScale.h"

#include <QtGlobal>

// A request time-out (hundredths of a second) under the time scale, so that
// tests need not wait out the long time-outs of the start-up and page reads.
inline unsigned ScaledTimeout(unsigned hundredths)
{
    return unsigned(qMax(1, VrScaledMs(int(hundredths) * 10) / 10));
}
