#pragma once

#include "VrKeyboard.h"
#include "VrWaitGuard.h"

#include <memory>

class QWidget;

// Runs a page the way every menu entry does: a fresh window (so it reads the
// device anew), reachable through its global variable while it is open, and
// gone when it closes. A page whose opening reads wait for the device shows
// at once and can be left meanwhile (VrWaitGuard). Ready for the keyboard:
// Enter never saves by accident.
template <class Page>
void RunModalPage(Page *&global, QWidget *owner)
{
    std::unique_ptr<Page> page;
    {
        VrWaitGuard::Opening opening;
        page = std::make_unique<Page>(owner);
    }
    global = page.get();
    VrKeyboardReady(page.get());
    VrRunPage(*page);
    global = nullptr;
}
