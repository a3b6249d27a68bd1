#pragma once

#include "VrSNMPError.h"

#include <functional>

// The code of the VrSNMPException an action raises; 0 when it raises none.
inline int SnmpExceptionCode(const std::function<void()> &action)
{
    try {
        action();
    } catch (const VrSNMPException &e) {
        return e.Code();
    }
    return 0;
}
