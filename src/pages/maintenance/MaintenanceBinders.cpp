#include "MaintenanceBinders.h"

#include "ScaledTimeout.h"
#include "VrCommon.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"

#include <QLabel>

VrSNMPRequest2Edits *NewBinder(QWidget *page, const VrSNMPVarDef *table, const QString &description,
                               unsigned timeout, bool asynchronous)
{
    auto *binder = new VrSNMPRequest2Edits(page);
    binder->Request.VarList = VrSNMPVarList(table, VrListInstance, 0);
    binder->Request.VarList.description = description;
    binder->Request.Timeout = ScaledTimeout(timeout);
    binder->Asynchronous = asynchronous;
    return binder;
}

bool SendBinder(VrSNMPRequest2Edits *binder, QLabel *panel)
{
    try {
        return binder->Apply(false);
    } catch (const VrSNMPException &e) {
        if (panel)
            panel->setText(e.Message());
    } catch (const VrCommonException &e) {
        if (panel)
            panel->setText(e.Message());
    }
    return false;
}
