#pragma once

#include <QDialog>
#include <QLoggingCategory>
#include <memory>

namespace Ui {
class TFM_DHCP;
}
class New_req2Edit;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class VrSNMPRequest2Controls;
class VrSNMPRequest2Edits;
class VrStatusBar;
struct FieldProblem;
struct VrSNMPError;

// Advanced > DHCP Server: the dynamic pool, the static leases by MAC address
// and the leases the server has handed out.
class TFM_DHCP : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_DHCP(QWidget *parent = nullptr);
    ~TFM_DHCP() override;

    void SavePool();
    void SaveLease();
    void DeleteLease();
    // True while the static leases are being read: the page does not close.
    bool StaticBusy() const { return m_staticBusy; }
    int m_lastError = 0; // code of the last synchronous exchange of read()

protected:
    void reject() override;

private:
    void bind();
    void read();
    bool readGroup(VrSNMPRequest2Controls *binder, bool &silent);
    void poolRead();
    void staticRead(const VrSNMPError &result);
    void leaseWritten(const VrSNMPError &result);
    void leaseDeleted(const VrSNMPError &result);
    void refreshDone(New_req2Edit *table, VrStatusBar *bar, const VrSNMPError &result);
    void currentRead(QTreeWidget *hidden, QTreeWidget *shown, VrStatusBar *bar, const VrSNMPError &result);
    void loadStatic();
    void serverChanged();
    void staticChanged();
    void applyRules();
    void selectFreeRow();
    void leaseClicked();
    void setLeaseControlsEnabled(bool enabled);
    void refuse(const FieldProblem &problem, bool selectText = false);
    bool clientMode() const;
    bool routerMode() const;
    bool domainStatic() const;
    bool domainStatusKnown() const;
    bool serverEnabled() const;
    bool staticEnabled() const;
    void result(VrStatusBar *bar, const QString &text);

    std::unique_ptr<Ui::TFM_DHCP> ui;
    VrSNMPRequest2Edits *m_apMode = nullptr;
    VrSNMPRequest2Edits *m_lanIp = nullptr;
    VrSNMPRequest2Edits *m_lanIf = nullptr;
    VrSNMPRequest2Edits *m_pool = nullptr;
    VrSNMPRequest2Edits *m_server = nullptr;
    VrSNMPRequest2Edits *m_staticControl = nullptr;
    VrSNMPRequest2Edits *m_domainStatus = nullptr;
    VrSNMPRequest2Edits *m_static = nullptr;
    VrSNMPRequest2Edits *m_delete = nullptr;
    VrSNMPRequest2Edits *m_refreshDynamic = nullptr;
    VrSNMPRequest2Edits *m_refreshStatic = nullptr;
    New_req2Edit *m_currentDynamic = nullptr;
    New_req2Edit *m_currentStatic = nullptr;

    bool m_staticBusy = true; // from creation until the static leases are read
    bool m_writing = false;   // a lease write is under way
    int m_editRow = -1;       // row of the lease being edited; -1 when adding
};

// The open DHCP server page, or null.
extern TFM_DHCP *FM_DHCP;
