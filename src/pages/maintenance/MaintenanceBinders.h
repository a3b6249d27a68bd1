#pragma once
// The objects and binder set-up the transfer pages share.
#include "VrOptionList.h"
#include "VrSNMPObjectTable.h"

#include <QString>

class QLabel;
class QWidget;
class VrSNMPRequest2Edits;

#define QRT_P "1.3.6.1.4.1.48213.10.37.37."

extern VrOptionList gTftpCommand;   // 2 Get, 3 Put, 4 Nothing
extern VrOptionList gUpgradeCommand; // 1, 3, 4, 6, 7, 8
extern VrOptionList gDeviceRestart;  // 0 nothing, 1 reboot

extern const VrSNMPVarDef kTftpServerVars[];  // address, file name
extern const VrSNMPVarDef kTftpCommandVars[];
extern const VrSNMPVarDef kUpgradeVars[];

// A binder of the page; timeout in hundredths of a second, scaled in tests.
VrSNMPRequest2Edits *NewBinder(QWidget *page, const VrSNMPVarDef *table, const QString &description,
                               unsigned timeout, bool asynchronous);
// Sends it; an exception's text goes to the panel (when given). False when
// the send could not start or, synchronously, failed.
bool SendBinder(VrSNMPRequest2Edits *binder, QLabel *panel);
