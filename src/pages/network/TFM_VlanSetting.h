#pragma once

#include "NetworkRules.h"

#include <QDialog>
#include <QString>
#include <array>
#include <memory>

namespace Ui {
class TFM_VlanSetting;
}
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTreeWidgetItem;
class VrSNMPRequest2Edits;
struct VrSNMPError;

// Advanced > VLAN: 802.1Q on or off, the VLAN table with each VLAN's port
// memberships, the resulting per-port view and the ports' PVIDs.
class TFM_VlanSetting : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_VlanSetting(QWidget *parent = nullptr);
    ~TFM_VlanSetting() override;

    void SaveVlan();
    void DeleteVlan();
    void EditVlan();
    void SaveStatus();
    void SavePvids();
    // True while the VLAN table or the port list is being read or written.
    bool Busy() const;

private:
    void bind();
    void read();
    void createMembershipCombos();
    void buildPortSkeleton();
    void refreshPortList();
    void portListRead(const VrSNMPError &result);
    void portRefreshDone(const VrSNMPError &result);
    void vlanRead(const VrSNMPError &result);
    void vlanWritten(const VrSNMPError &result);
    void statusRules(bool byUser);
    void pvidRules();
    void tabChanged(int index);
    void vlanClicked();
    void resetAddForm();
    void selectFreeRow();
    void setAll(int firstPort, int lastPort, Membership m);
    void setEditControlsEnabled(bool enabled);
    void showPvidCells();
    QRadioButton *radio(int port, Membership m) const;
    QTreeWidgetItem *selectedTableRow() const;
    int col(int item) const;
    bool statusEnabled() const;
    bool dynamicMode() const;
    void result(const QString &text);

    std::unique_ptr<Ui::TFM_VlanSetting> ui;
    std::array<QComboBox *, VlanPortCount> m_members{};
    std::array<QLineEdit *, VlanVisiblePorts> m_pvids{};
    VrSNMPRequest2Edits *m_apMode = nullptr;
    VrSNMPRequest2Edits *m_status = nullptr;
    VrSNMPRequest2Edits *m_pvidAuto = nullptr;
    VrSNMPRequest2Edits *m_pvid = nullptr;
    VrSNMPRequest2Edits *m_mssid = nullptr;
    VrSNMPRequest2Edits *m_portRefresh = nullptr;
    VrSNMPRequest2Edits *m_portList = nullptr;
    VrSNMPRequest2Edits *m_vlan = nullptr;

    bool m_editMode = false;     // the edit form holds a listed VLAN
    bool m_formReset = false;    // the add form was reset and not touched since
    bool m_warned = false;       // the AP-mode warning was shown
    bool m_statusSaving = false; // a status save waits for the port list refresh
};

// The open VLAN page, or null.
extern TFM_VlanSetting *FM_VlanSetting;
