#pragma once

class QWidget;

// Runs a page the way every menu entry does: a fresh window (so it reads the
// device anew), reachable through its global variable while it is open, and
// gone when it closes.
template <class Page>
void RunModalPage(Page *&global, QWidget *owner)
{
    Page page(owner);
    global = &page;
    page.exec();
    global = nullptr;
}
