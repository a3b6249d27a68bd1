#pragma once

#include "ScaledTimeout.h"
#include "VrPageBinding.h"

#include <QLabel>
#include <QString>

class VrStatusBar;

// The binders of the network pages: time-outs under the time scale, errors
// in the page's exchange line; loaded and applied with VrLoadShowingErrors /
// VrApplyShowingErrors.
template <class Binder = VrSNMPRequest2Edits>
Binder *MakeNetworkBinder(QWidget *page, const VrSNMPVarDef *table, int kind, unsigned timeout,
                          const QString &description, QLabel *statusLine, bool synchronous)
{
    auto *binder = VrMakePageBinder<Binder>(page, table, kind, ScaledTimeout(timeout), description, statusLine);
    binder->Asynchronous = !synchronous;
    return binder;
}

// The two panels of a page's status bar: the page's own result text, and
// the line of the last exchange (what failed, and when).
QLabel *ResultPanel(VrStatusBar *bar);
QLabel *ExchangePanel(VrStatusBar *bar);
