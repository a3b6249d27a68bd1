#pragma once

#include "PerformanceRules.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TFM_Performace;
}
class QComboBox;
class VrSNMPRequest2Edits;
struct VrSNMPVarDef;

// Advanced > Performance: the radio's tuning values (radio on/off, 802.11
// mode, data rate, beacon and DTIM intervals, power, WMM, short guard
// interval, connection limit, IGMP snooping, ACK time-out), editable as the
// band, the AP mode and the security in force allow.
class TFM_Performace : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_Performace(QWidget *parent = nullptr);
    ~TFM_Performace() override;

    void Refresh();
    void Save();

private:
    VrSNMPRequest2Edits *makeBinder(const VrSNMPVarDef *table, unsigned timeout, const QString &description);
    bool load(VrSNMPRequest2Edits *binder);
    bool apply(VrSNMPRequest2Edits *binder);
    void readAll();
    void markBeaconAndDtim();
    void setIncluded(int item, bool included);

    void wifiModeChanged();
    void connectionLimitChanged();
    void applyEnabling();
    void applySecurity();

    QComboBox *modeCombo() const;
    ApMode mode() const;
    bool band5() const;

    std::unique_ptr<Ui::TFM_Performace> ui;

    VrSNMPRequest2Edits *m_country = nullptr;
    VrSNMPRequest2Edits *m_security = nullptr;
    VrSNMPRequest2Edits *m_cipher = nullptr;
    VrSNMPRequest2Edits *m_apMode = nullptr;
    VrSNMPRequest2Edits *m_main = nullptr;
    VrSNMPRequest2Edits *m_band = nullptr;
    VrSNMPRequest2Edits *m_wifiMode = nullptr;

    bool m_forceRate = false; // the first radio mode keeps the data rate at its first entry
    int m_lastError = 0;
    bool m_reading = false;     // in Refresh
    bool m_silent = false;      // the device did not answer in this Refresh
    bool m_roundFailed = false; // a read of this Refresh failed
};

// The open performance page, or null.
extern TFM_Performace *FM_Performace;
