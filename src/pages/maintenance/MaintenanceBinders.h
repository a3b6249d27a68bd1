#pragma once
// The binder set-up the transfer pages share.
#include "MaintenanceObjects.h"

#include <QString>

class QLabel;
class QWidget;
class VrSNMPRequest2Edits;

// A binder of the page; timeout in hundredths of a second, scaled in tests.
VrSNMPRequest2Edits *NewBinder(QWidget *page, const VrSNMPVarDef *table, const QString &description,
                               unsigned timeout, bool asynchronous);
// Sends it; an exception's text goes to the panel (when given). False when
// the send could not start or, synchronously, failed.
bool SendBinder(VrSNMPRequest2Edits *binder, QLabel *panel);
