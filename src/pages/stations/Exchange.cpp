#include "Exchange.h"

#include "VrCommon.h"
#include "VrSNMPError.h"

Q_LOGGING_CATEGORY(lcStations, "qrt.pages.stations")

namespace Stations {

namespace {

template <class Call>
Outcome run(VrSNMPRequest2Controls *binder, Call call)
{
    Outcome outcome;
    auto previous = binder->Request.OnError;
    binder->Request.OnError = [&outcome](VrSNMPError &error) {
        if (error.Code == 0 || !outcome.ok)
            return; // the first failure is the one to tell
        outcome.ok = false;
        outcome.error = error.Message;
        outcome.code = error.Code;
    };
    try {
        if (!call())
            outcome.ok = false;
    } catch (const VrSNMPException &e) {
        outcome = {false, e.Message(), e.Code()};
    } catch (const VrCommonException &e) {
        outcome = {false, e.Message(), e.Code()};
    }
    binder->Request.OnError = previous;
    if (!outcome.ok && outcome.error.isEmpty())
        outcome.error = VrSNMPMessage(outcome.code ? outcome.code : -1);
    return outcome;
}

} // namespace

void ReportTo(QWidget *page, QWidget *statusBar)
{
    for (VrSNMPRequest2Controls *binder : page->findChildren<VrSNMPRequest2Controls *>())
        binder->SetStatusTarget(statusBar);
}

Outcome RunLoad(VrSNMPRequest2Controls *binder)
{
    return run(binder, [binder] { return binder->Load(); });
}

Outcome RunApply(VrSNMPRequest2Controls *binder, bool gather)
{
    return run(binder, [binder, gather] { return binder->Apply(false, gather); });
}

VrSNMPError AsError(const Outcome &outcome)
{
    VrSNMPError error;
    error.Code = outcome.code ? outcome.code : -1;
    error.Message = outcome.error;
    return error;
}

} // namespace Stations
