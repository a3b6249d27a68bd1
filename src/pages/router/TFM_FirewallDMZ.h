#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFM_FirewallDMZ;
}
class RouterList;
class VrSNMPRequest2Edits;

// Advanced > Router Settings > Firewall & DMZ: the DMZ host, stateful
// packet inspection and the firewall rules between the LAN and the WAN.
class TFM_FirewallDMZ : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_FirewallDMZ(QWidget *parent = nullptr);
    ~TFM_FirewallDMZ() override;

    void Add();
    void Edit();
    void Delete();
    void Save();
    // True while a walk or a write of the list is under way.
    bool Busy() const;

private:
    void loaded(bool ok);
    void updateButtons();
    void protocolChanged();
    void dmzChanged();
    void loadDmz();

    std::unique_ptr<Ui::TFM_FirewallDMZ> ui;
    VrSNMPRequest2Edits *m_dmz = nullptr;
    VrSNMPRequest2Edits *m_spi = nullptr;
    VrSNMPRequest2Edits *m_delete = nullptr;
    RouterList *m_list = nullptr;
};

// The open firewall page, or null.
extern TFM_FirewallDMZ *FM_FirewallDMZ;
