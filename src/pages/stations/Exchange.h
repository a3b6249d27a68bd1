#pragma once

#include <QLoggingCategory>
#include <QString>

#include <QWidget>
class VrSNMPRequest2Controls;
class VrStatusBar;
struct VrSNMPError;
struct VrSNMPVarDef;

Q_DECLARE_LOGGING_CATEGORY(lcStations)

// How the station pages start their exchanges: every failure, whether raised
// while the request is built, reported by a synchronous exchange or by an
// asynchronous send that failed at once (no completion follows then), comes
// back as one result with the text to show.
namespace Stations {

struct Outcome {
    bool ok = true;
    QString error;
    int code = 0;
};

// A binder of the page for one group; time-out in hundredths of a second
// (scaled for tests), synchronous unless asynchronous.
template <class Binder>
Binder *MakeBinder(QWidget *page, const VrSNMPVarDef *table, int kind, unsigned timeout,
                   const QString &description, bool asynchronous = false);

// What goes wrong inside a completion goes to the page's status bar, not a
// message box: every binder of the page reports there.
void ReportTo(QWidget *page, QWidget *statusBar);

Outcome RunLoad(VrSNMPRequest2Controls *binder);
// Writes the writable items as they are (the controls are gathered unless
// gather is false); no read-back.
Outcome RunApply(VrSNMPRequest2Controls *binder, bool gather = true);

// A failed outcome as the error a completion brings, for the page's one
// handler of results.
VrSNMPError AsError(const Outcome &outcome);

} // namespace Stations

#include "ScaledTimeout.h"
#include "VrPageBinding.h"

template <class Binder>
Binder *Stations::MakeBinder(QWidget *page, const VrSNMPVarDef *table, int kind, unsigned timeout,
                             const QString &description, bool asynchronous)
{
    auto *binder = new Binder(page);
    VrSetUpBinder(binder, table, kind, ScaledTimeout(timeout), description, 0);
    binder->Asynchronous = asynchronous;
    return binder;
}
