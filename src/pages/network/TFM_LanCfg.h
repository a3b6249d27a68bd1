#pragma once

#include <QDialog>
#include <QLoggingCategory>
#include <memory>

namespace Ui {
class TFM_LanCfg;
}
class VrSNMPRequest2Edits;

Q_DECLARE_LOGGING_CATEGORY(lcNetwork)

// Home > LAN: how the access point gets its LAN address, static with
// address, mask and gateway, or from a DHCP server.
class TFM_LanCfg : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_LanCfg(QWidget *parent = nullptr);
    ~TFM_LanCfg() override;

    void Save();

private:
    void bind();
    void read();
    void showAddressControls();
    void showAddressesRead();
    bool dhcpSelected() const;
    bool routerMode() const;
    void result(const QString &text);

    std::unique_ptr<Ui::TFM_LanCfg> ui;
    VrSNMPRequest2Edits *m_apMode = nullptr;
    VrSNMPRequest2Edits *m_ipType = nullptr;
    VrSNMPRequest2Edits *m_wan = nullptr;
    VrSNMPRequest2Edits *m_lan = nullptr;
    VrSNMPRequest2Edits *m_pool = nullptr;
    VrSNMPRequest2Edits *m_staticList = nullptr;
};

// The open LAN page, or null.
extern TFM_LanCfg *FM_LanCfg;
