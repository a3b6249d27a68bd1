#include "VrPageBinding.h"

#include "VrCommon.h"
#include "VrSNMPError.h"
#include "VrWaitGuard.h"

void VrSetUpBinder(VrSNMPRequest2Controls *binder, const VrSNMPVarDef *table, int kind, unsigned timeout,
                   const QString &description, int keyCount)
{
    if (keyCount < 0)
        keyCount = kind == VrListInstance ? 0 : 1;
    binder->Request.VarList = VrSNMPVarList(table, uint8_t(kind), keyCount);
    binder->Request.VarList.description = description;
    binder->Request.Timeout = timeout;
    binder->Asynchronous = false;
}

void VrReportErrorsTo(VrSNMPRequest2Controls *binder, QWidget *statusTarget, int *lastError)
{
    binder->SetStatusTarget(statusTarget);
    binder->Request.OnError = [binder, lastError](VrSNMPError &error) {
        if (lastError)
            *lastError = error.Code;
        if (error.Code != 0)
            binder->ShowStatus(error.Message);
    };
}

namespace {

template <class Call>
bool showingErrors(VrSNMPRequest2Controls *binder, Call call)
{
    try {
        return call();
    } catch (const VrSNMPException &e) {
        binder->ShowStatus(e.Message());
    } catch (const VrCommonException &e) {
        binder->ShowStatus(e.Message());
    }
    return false;
}

} // namespace

bool VrLoadShowingErrors(VrSNMPRequest2Controls *binder)
{
    return showingErrors(binder, [binder] { return binder->Load(); });
}

bool VrApplyShowingErrors(VrSNMPRequest2Controls *binder, bool readBack, const QString &selection,
                          const QStringList *values)
{
    return showingErrors(binder, [&] { return binder->Apply(readBack, true, selection, values); });
}

VrReadTogether::VrReadTogether(std::initializer_list<VrSNMPRequest2Controls *> binders)
{
    for (VrSNMPRequest2Controls *binder : binders) {
        // A page being left sends nothing more.
        if (!binder || VrWaitGuard::Leaving(binder->OwnerForm()))
            continue;
        binder->Request.ReadAhead();
        m_binders.emplace_back(binder);
    }
}

VrReadTogether::~VrReadTogether()
{
    for (const QPointer<VrSNMPRequest2Controls> &binder : m_binders)
        if (binder)
            binder->Request.DropReadAhead();
}
