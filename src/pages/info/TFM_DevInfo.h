#pragma once

#include <QDialog>

namespace Ui {
class TFM_DevInfo;
}
class VrSNMPRequest2Edits;
struct VrSNMPVarDef;

// Status, Device Information: a read-only summary of the device's Ethernet,
// wireless and Internet settings, read when the page opens.
class TFM_DevInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TFM_DevInfo(QWidget *parent = nullptr);
    ~TFM_DevInfo() override;

private:
    VrSNMPRequest2Edits *binding(const VrSNMPVarDef *objects, uint8_t kind, bool synchronous = true);
    void readAll();
    // A synchronous read; false when the device did not answer at all.
    bool read(VrSNMPRequest2Edits *binding);
    void showSecondaryMacs();
    void showConnectionType();

    Ui::TFM_DevInfo *ui;
    int m_lastError = 0;
    VrSNMPRequest2Edits *m_ethernet = nullptr;
    VrSNMPRequest2Edits *m_firmware = nullptr;
    VrSNMPRequest2Edits *m_wireless = nullptr;
    VrSNMPRequest2Edits *m_band = nullptr;
    VrSNMPRequest2Edits *m_apStatus = nullptr;
    VrSNMPRequest2Edits *m_connectionStatus = nullptr;
    VrSNMPRequest2Edits *m_connectionType = nullptr;
    VrSNMPRequest2Edits *m_internet = nullptr;
};

extern TFM_DevInfo *FM_DevInfo;
