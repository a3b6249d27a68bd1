#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFM_Adnetwork;
}
class VrSNMPRequest2Edits;

// Advanced > Router Settings > Advanced Network: UPnP and the answer to
// pings from the WAN.
class TFM_Adnetwork : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_Adnetwork(QWidget *parent = nullptr);
    ~TFM_Adnetwork() override;

    void Save();
    // The page's exchanges are synchronous: nothing is left running.
    bool Busy() const { return false; }

private:
    std::unique_ptr<Ui::TFM_Adnetwork> ui;
    VrSNMPRequest2Edits *m_upnp = nullptr;
    VrSNMPRequest2Edits *m_wanPing = nullptr;
};

// The open advanced network page, or null.
extern TFM_Adnetwork *FM_Adnetwork;
