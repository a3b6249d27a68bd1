#pragma once

#include "ScaledTimeout.h"
#include "VrSNMPRequest2Edits.h"

#include <QLabel>
#include <QString>

class VrStatusBar;

// The binders of the network pages: made alike, and used so that an error of
// the binding layer (a value the controls cannot take) ends in the status
// line instead of escaping into the event loop.
template <class Binder = VrSNMPRequest2Edits>
Binder *MakeNetworkBinder(QWidget *page, const VrSNMPVarDef *table, int kind, unsigned timeout,
                          const QString &description, QLabel *statusLine, bool synchronous)
{
    auto *binder = new Binder(page);
    binder->Request.VarList = VrSNMPVarList(table, uint8_t(kind), kind == VrListInstance ? 0 : 1);
    binder->Request.VarList.description = description;
    binder->Request.Timeout = ScaledTimeout(timeout);
    binder->Asynchronous = !synchronous;
    binder->SetStatusTarget(statusLine);
    binder->Request.OnError = [binder](VrSNMPError &error) {
        if (error.Code != 0)
            binder->ShowStatus(error.Message);
    };
    return binder;
}

// Load / Apply that report exceptions in the binder's status line.
bool LoadBinder(VrSNMPRequest2Edits *binder);
bool ApplyBinder(VrSNMPRequest2Edits *binder, const QString &selection = QString(),
                 const QStringList *values = nullptr, bool readBack = true);

// The two panels of a page's status bar: the page's own result text, and
// the line of the last exchange (what failed, and when).
QLabel *ResultPanel(VrStatusBar *bar);
QLabel *ExchangePanel(VrStatusBar *bar);
