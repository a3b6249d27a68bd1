#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class TFM_FilterMACACL;
}
class New_req2Edit;
class QTreeWidgetItem;
class TableRows;
class VrSNMPRequest2Edits;
struct VrSNMPError;

// Advanced > Filters > Wireless MAC ACL: the station addresses the device
// accepts or rejects. Addresses go in and out one at a time through the
// device's add and delete objects; the stations associated now are listed
// so that one can be put on the list with a click.
class TFM_FilterMACACL : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_FilterMACACL(QWidget *parent = nullptr);
    ~TFM_FilterMACACL() override;

    void Add();
    void AddClient();
    void Delete();
    void Save();
    // False while a write or a walk the page started is under way.
    bool Ready() const { return m_ready; }

protected:
    void reject() override;

private:
    void bindAll();
    void detectClients();
    void clientsTriggered(const VrSNMPError &result);
    void clientsWalked(const VrSNMPError &result);
    void readList();
    void listRead(const VrSNMPError &result);
    void changed(const VrSNMPError &result);
    void accessControlChanged();
    void clientSelected();
    void listSelected();
    void setReady(bool ready);
    bool writeAccessControl();
    // The device's refusals an address must pass before it is sent.
    bool acceptable(const QString &mac, QWidget *field);
    void send(VrSNMPRequest2Edits *binder, const QString &mac);
    bool disabled() const;

    std::unique_ptr<Ui::TFM_FilterMACACL> ui;
    VrSNMPRequest2Edits *m_apMode = nullptr;
    VrSNMPRequest2Edits *m_access = nullptr;
    VrSNMPRequest2Edits *m_band = nullptr;
    VrSNMPRequest2Edits *m_clientTrigger = nullptr;
    TableRows *m_clients = nullptr;
    VrSNMPRequest2Edits *m_add = nullptr;
    VrSNMPRequest2Edits *m_clientAdd = nullptr;
    VrSNMPRequest2Edits *m_delete = nullptr;
    TableRows *m_slots = nullptr;   // every row of the list, free ones too
    New_req2Edit *m_list = nullptr; // the used rows, numbered
    QString m_clientMac;            // the station picked in the client list
    bool m_ready = false;
};

// The open MAC access list page, or null.
extern TFM_FilterMACACL *FM_FilterMACACL;
