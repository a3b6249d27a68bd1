#pragma once
// The device's transfer and restart objects, as the maintenance pages and
// the command-line tool send them.
#include "VrOptionList.h"
#include "VrSNMPObjectTable.h"

#define QRT_P "1.3.6.1.4.1.48213.10.37.37."

extern VrOptionList gTftpCommand;   // 2 Get, 3 Put, 4 Nothing
extern VrOptionList gUpgradeCommand; // 1, 3, 4, 6, 7, 8
extern VrOptionList gDeviceRestart;  // 0 nothing, 1 reboot

extern const VrSNMPVarDef kTftpServerVars[];  // address, file name
extern const VrSNMPVarDef kTftpCommandVars[];
extern const VrSNMPVarDef kUpgradeVars[];
// deviceRestart, then deviceFactoryDefault, which rides along but is never written.
extern const VrSNMPVarDef kRestartVars[];

// Values of the command objects.
enum TftpCommandValue { TftpGet = 2, TftpPut = 3 };
enum UpgradeCommandValue {
    UpgradeFirmware = 1,
    UpgradeConfigSave = 3,
    UpgradeReboot = 4,
    UpgradeCertificate = 7,
    UpgradeKey = 8
};
