#pragma once

#include "WirelessRules.h"

#include <QString>
#include <QStringList>

// The rules of the performance page that need no widgets: the data rates
// each radio mode offers, the modes the security in force rules out, the
// range checks of Save and which objects each AP mode writes.

// The 802.11n modes (mixed or only) fix the data rate; the legacy modes
// ("Mixed 802.11g and 802.11b", "802.11a Only") let it be chosen.
bool IsNMode(const QString &wifiModeText);
QStringList DataRateEntries(bool band5, bool nMode);
// The entry that shows a rate read from the device.
int DataRateIndex(const QStringList &entries, const QString &rateRead);

inline const QString NOnlyText = QStringLiteral("802.11n Only");
// WEP and TKIP cannot carry 802.11n: the "802.11n Only" modes are not offered.
// Texts as the device's option lists name them ("opensystem", "Enable", "tkip").
bool NOnlyExcluded(const QString &authentication, const QString &encryption, const QString &cipher);

struct PerformanceInput {
    bool client = false;
    bool band5 = false;
    QString beacon, dtim, userLimit, ackTimeout;
};
Check CheckPerformance(const PerformanceInput &in);

// What Save writes in an AP mode.
struct PerformanceWrites {
    bool beaconDtim = true;
    bool shortGi = true;
    bool dataRate = true;
    bool igmp = true;
    bool connectionLimit = true;
    bool userLimit = true;
    bool wifiMode = true;
};
PerformanceWrites PerformanceWritesFor(ApMode mode, bool connectionLimitOn);

// What the user may change in an AP mode.
struct PerformanceEnabling {
    bool connectionLimit = true;
    bool igmp = true;
    bool radio = true; // wireless mode, data rate, beacon, DTIM and Short GI
};
PerformanceEnabling PerformanceEnablingFor(ApMode mode);
