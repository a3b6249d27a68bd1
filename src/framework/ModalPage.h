#pragma once

#include "SnmpEventProcessor.h"
#include "VrKeyboard.h"

class QWidget;

// Runs a page the way every menu entry does: a fresh window (so it reads the
// device anew), reachable through its global variable while it is open, and
// gone when it closes. Ready for the keyboard: Enter never saves by accident.
template <class Page>
void RunModalPage(Page *&global, QWidget *owner)
{
    Page page(owner);
    global = &page;
    VrKeyboardReady(&page);
    // The program may have been closed while the page read the device.
    if (!SnmpEventProcessor::Global().Abandoned())
        page.exec();
    global = nullptr;
}
