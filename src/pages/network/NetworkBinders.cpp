#include "NetworkBinders.h"

#include "VrStatusBar.h"

QLabel *ResultPanel(VrStatusBar *bar)
{
    QLabel *panel = bar->panel(0);
    panel->setMinimumWidth(110);
    return panel;
}

QLabel *ExchangePanel(VrStatusBar *bar)
{
    // A long error line must not widen the page.
    QLabel *panel = bar->panel(1);
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return panel;
}
