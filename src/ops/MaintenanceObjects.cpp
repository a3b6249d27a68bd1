#include "MaintenanceObjects.h"

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
const VrSNMPVarDef kRestartVars[] = {
    VarDef(QRT_P "4.2.1", "deviceRestart", VrSyntaxInteger, 0x06, &gDeviceRestart),
    VarDef(QRT_P "4.2.2", "deviceFactoryDefault", VrSyntaxInteger, 0x20),
    VarEnd};
