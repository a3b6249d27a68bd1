#include "MaintenanceBinders.h"

#include "ScaledTimeout.h"
#include "VrCommon.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"

#include <QLabel>

namespace {
const VrOptionNumDef kTftpCommandDef[] = {{2, "Get"}, {3, "Put"}, {4, "Nothing"}, {0, nullptr}};
const VrOptionNumDef kUpgradeDef[] = {{1, "Firmwareupdate"}, {3, "Configsave"}, {4, "Reboot"}, {6, "Nothing"},
                                      {7, "certificateFileUpdate"}, {8, "keyFileUpdate"}, {0, nullptr}};
const VrOptionNumDef kRestartDef[] = {{0, "nothing"}, {1, "reboot"}, {0, nullptr}};
} // namespace

VrOptionList gTftpCommand(kTftpCommandDef);
VrOptionList gUpgradeCommand(kUpgradeDef);
VrOptionList gDeviceRestart(kRestartDef);

const VrSNMPVarDef kTftpServerVars[] = {
    VarDef(QRT_P "4.3.2.1", "tftpServerIPAddress", VrSyntaxIpAddress, 0x06),
    VarDef(QRT_P "4.3.2.2", "tftpRemoteFileName", VrSyntaxDisplayString, 0x06),
    VarEnd};
const VrSNMPVarDef kTftpCommandVars[] = {
    VarDef(QRT_P "4.3.2.3", "tftpcommand", VrSyntaxInteger, 0x06, &gTftpCommand), VarEnd};
const VrSNMPVarDef kUpgradeVars[] = {
    VarDef(QRT_P "4.3.2.4", "tftpUpgradeSettingCommand", VrSyntaxInteger, 0x06, &gUpgradeCommand), VarEnd};

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
