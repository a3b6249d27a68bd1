#pragma once

#include "ScaledTimeout.h"
#include "VrPageBinding.h"
#include "VrSNMPRequest2Edits.h"

#include <QLabel>
#include <QString>

class VrStatusBar;

namespace services {

// The binders of these pages, made alike: an error of the exchange ends in
// the status line given (the exchange panel), never silently.
template <class Binder = VrSNMPRequest2Edits>
Binder *MakeBinder(QWidget *page, const VrSNMPVarDef *table, int kind, unsigned timeout, const QString &description,
                   QLabel *statusLine, bool synchronous)
{
    auto *binder = new Binder(page);
    VrSetUpBinder(binder, table, kind, ScaledTimeout(timeout), description, kind >= VrListTable ? 1 : 0);
    binder->Asynchronous = !synchronous;
    VrReportErrorsTo(binder, statusLine);
    return binder;
}

// Load / Apply with the exceptions of the binding layer reported in the
// binder's status line; false on any failure.
inline bool Load(VrSNMPRequest2Edits *binder)
{
    return VrLoadShowingErrors(binder);
}
inline bool Apply(VrSNMPRequest2Edits *binder, const QString &selection = QString(),
                  const QStringList *values = nullptr, bool readBack = true)
{
    return VrApplyShowingErrors(binder, readBack, selection, values);
}

// The selection text of Apply for the given item positions.
QString Selection(const QList<int> &items);

// The page's own result text, and the line of the last exchange.
QLabel *ResultPanel(VrStatusBar *bar);
QLabel *ExchangePanel(VrStatusBar *bar);

} // namespace services
