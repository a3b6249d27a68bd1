#include "TFM_FilterMACACL.h"

#include "ui_TFM_FilterMACACL.h"

#include "Exchange.h"
#include "New_req2Edit.h"
#include "StationList.h"
#include "StationTables.h"
#include "TableRows.h"
#include "VrMessageBox.h"
#include "VrPageBinding.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"

#include <QRegularExpressionValidator>

TFM_FilterMACACL *FM_FilterMACACL = nullptr;

using namespace Stations;

namespace {
const QString kDisable = QStringLiteral("Disable");
} // namespace

TFM_FilterMACACL::TFM_FilterMACACL(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_FilterMACACL)
{
    ui->setupUi(this);
    // Hex digits only; the length is checked on Add, where the user is told.
    ui->Ed_MacAdd->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]*")), ui->Ed_MacAdd));
    const int widths[] = {110, 100, 60, 100, 50};
    for (int c = 0; c < 5; ++c)
        ui->LV_ClientUser->setColumnWidth(c, widths[c]);
    ui->LV_UerMACAddress->setColumnWidth(0, 40);
    // The band is shown for reference; this page writes only the list and its mode.
    ui->CB_Band->setEnabled(false);

    connect(ui->CB_AccessControl, &QComboBox::activated, this, &TFM_FilterMACACL::accessControlChanged);
    connect(ui->Bt_Add, &QPushButton::clicked, this, &TFM_FilterMACACL::Add);
    connect(ui->Btn_AddCli, &QPushButton::clicked, this, &TFM_FilterMACACL::AddClient);
    connect(ui->Bt_Del, &QPushButton::clicked, this, &TFM_FilterMACACL::Delete);
    connect(ui->Bt_Apply, &QPushButton::clicked, this, &TFM_FilterMACACL::Save);
    connect(ui->LV_ClientUser, &QTreeWidget::itemSelectionChanged, this, &TFM_FilterMACACL::clientSelected);
    connect(ui->LV_UerMACAddress, &QTreeWidget::itemSelectionChanged, this, &TFM_FilterMACACL::listSelected);

    bindAll();
    ReportTo(this, ui->StatusBar1);
    {
        VrReadTogether together{m_apMode, m_access, m_band};
        for (VrSNMPRequest2Edits *binder : {m_apMode, m_access, m_band}) {
            const Outcome read = RunLoad(binder);
            if (!read.ok)
                ui->StatusBar1->setSimpleText(read.error);
        }
    }
    detectClients();
    // Both walks of the list go out after the detection trigger, as before.
    VrReadTogether together{m_slots, m_list};
    const Outcome rows = RunLoad(m_slots);
    if (!rows.ok)
        ui->StatusBar1->setSimpleText(rows.error);
    ui->Bt_Del->setEnabled(false);
    ui->Bt_Apply->setEnabled(false);
    ui->Btn_AddCli->setEnabled(false);
    readList();
}

TFM_FilterMACACL::~TFM_FilterMACACL() = default;

void TFM_FilterMACACL::bindAll()
{
    m_apMode = MakeBinder<VrSNMPRequest2Edits>(this, kApModeVars, VrListInstance, 10000, QStringLiteral("Mode"));
    m_access = MakeBinder<VrSNMPRequest2Edits>(this, kAccessControlVars, VrListInstance, 10000,
                                               QStringLiteral("Access control"));
    m_access->BindComboBox(0, ui->CB_AccessControl);
    m_band = MakeBinder<VrSNMPRequest2Edits>(this, kBandVars, VrListInstance, 10000, QStringLiteral("Band"));
    m_band->BindComboBox(0, ui->CB_Band);

    m_clientTrigger = MakeBinder<VrSNMPRequest2Edits>(this, kClientTriggerVars, VrListInstance, 1000,
                                                      QStringLiteral("Client information"), true);
    m_clientTrigger->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { clientsTriggered(r); };
    m_clients = MakeBinder<TableRows>(this, kClientTableVars, VrListTable2, 10000,
                                      QStringLiteral("Client information"), true);
    m_clients->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { clientsWalked(r); };

    const auto done = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { changed(r); };
    m_add = MakeBinder<VrSNMPRequest2Edits>(this, kAclAddVars, VrListInstance, 10000, QStringLiteral("MAC ACL"), true);
    m_clientAdd = MakeBinder<VrSNMPRequest2Edits>(this, kAclAddVars, VrListInstance, 10000,
                                                  QStringLiteral("MAC ACL"), true);
    m_delete = MakeBinder<VrSNMPRequest2Edits>(this, kAclDeleteVars, VrListInstance, 10000,
                                               QStringLiteral("MAC ACL"), true);
    m_add->OnApplyDone = m_clientAdd->OnApplyDone = m_delete->OnApplyDone = done;

    m_slots = MakeBinder<TableRows>(this, kAclTableVars, VrListTable2, 2000, QStringLiteral("MAC ACL"));
    m_list = MakeBinder<New_req2Edit>(this, kAclTableVars, VrListTable2, 2000, QStringLiteral("MAC ACL"), true);
    m_list->Placeholder = FreeMac;
    m_list->AttachListView(ui->LV_UerMACAddress, false);
    m_list->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { listRead(r); };
}

void TFM_FilterMACACL::reject()
{
    if (m_ready)
        QDialog::reject();
}

bool TFM_FilterMACACL::disabled() const
{
    return ui->CB_AccessControl->currentText() == kDisable;
}

// ---- the stations associated now ------------------------------------------

void TFM_FilterMACACL::detectClients()
{
    m_clientTrigger->Request.VarList.Item(0).value = QStringLiteral("get");
    const Outcome sent = RunApply(m_clientTrigger, false);
    if (!sent.ok)
        ui->StatusBar1->setSimpleText(QStringLiteral("Detect timed out! ") + sent.error);
}

void TFM_FilterMACACL::clientsTriggered(const VrSNMPError &result)
{
    if (result.Code != 0) {
        ui->StatusBar1->setSimpleText(QStringLiteral("Detect timed out! ") + result.Message);
        return;
    }
    ui->StatusBar1->setSimpleText(QStringLiteral("Get Client info...!"));
    const Outcome sent = RunLoad(m_clients);
    if (!sent.ok)
        ui->StatusBar1->setSimpleText(sent.error);
}

void TFM_FilterMACACL::clientsWalked(const VrSNMPError &result)
{
    if (result.Code != 0)
        ui->StatusBar1->setSimpleText(result.Message);
    QTreeWidget *view = ui->LV_ClientUser;
    view->clear();
    for (const StationLine &line : StationLines(m_clients->Rows())) {
        auto *row = new QTreeWidgetItem(view);
        const QString texts[] = {line.mac, line.ssid, line.band, line.authentication, line.signal};
        for (int c = 0; c < 5; ++c)
            row->setText(c, texts[c]);
    }
    clientSelected();
}

void TFM_FilterMACACL::clientSelected()
{
    const QList<QTreeWidgetItem *> picked = ui->LV_ClientUser->selectedItems();
    m_clientMac = picked.isEmpty() ? QString() : picked.first()->text(0).trimmed();
    ui->Btn_AddCli->setEnabled(m_ready && !m_clientMac.isEmpty());
}

// ---- the list -------------------------------------------------------------

void TFM_FilterMACACL::readList()
{
    setReady(false);
    ui->StatusBar1->setSimpleText(QStringLiteral("Refresh..."));
    const Outcome sent = RunLoad(m_list);
    if (!sent.ok)
        listRead(AsError(sent));
}

// An empty list has nothing to accept or reject: the device is told so.
void TFM_FilterMACACL::listRead(const VrSNMPError &result)
{
    setReady(true);
    if (result.Code != 0) {
        ui->StatusBar1->setSimpleText(result.Message);
        accessControlChanged();
        return;
    }
    if (ui->LV_UerMACAddress->topLevelItemCount() == 0 && !disabled()) {
        ui->CB_AccessControl->setCurrentIndex(ui->CB_AccessControl->findText(kDisable));
        if (!writeAccessControl()) {
            accessControlChanged();
            ui->StatusBar1->setSimpleText(QStringLiteral("Set error!"));
            return;
        }
    }
    accessControlChanged();
    ui->StatusBar1->setSimpleText(QStringLiteral("Get OK!"));
}

void TFM_FilterMACACL::accessControlChanged()
{
    const bool on = !disabled();
    ui->Ed_MacAdd->setEnabled(on);
    ui->Bt_Add->setEnabled(on && m_ready);
    ui->Bt_Del->setEnabled(on && m_ready && !ui->LV_UerMACAddress->selectedItems().isEmpty());
}

void TFM_FilterMACACL::listSelected()
{
    ui->Bt_Del->setEnabled(m_ready && !disabled() && !ui->LV_UerMACAddress->selectedItems().isEmpty());
}

void TFM_FilterMACACL::setReady(bool ready)
{
    m_ready = ready;
    ui->Bt_Apply->setEnabled(ready);
    // Nothing else is sent while a change is on its way.
    if (!ready) {
        ui->Bt_Add->setEnabled(false);
        ui->Bt_Del->setEnabled(false);
        ui->Btn_AddCli->setEnabled(false);
    } else {
        clientSelected();
    }
}

bool TFM_FilterMACACL::writeAccessControl()
{
    const Outcome written = RunApply(m_access);
    if (!written.ok)
        qCWarning(lcStations) << "access control not written:" << written.error;
    return written.ok;
}

bool TFM_FilterMACACL::acceptable(const QString &mac, QWidget *field)
{
    switch (CheckNewAclMac(mac, ListedMacs(m_slots->Rows()))) {
    case MacRefusal::Length:
        VrMessageBox(this, QStringLiteral("The length is 12 in MAC Address."), QStringLiteral("Error"));
        if (field)
            field->setFocus();
        return false;
    case MacRefusal::Zero:
        VrMessageBox(this, QStringLiteral("Please input a valid MAC Address."), QStringLiteral("Warning"));
        return false;
    case MacRefusal::Duplicate:
        VrMessageBox(this, QStringLiteral("Reject: The MAC already exists "), QStringLiteral("Warning"));
        return false;
    case MacRefusal::None:
        break;
    }
    return true;
}

void TFM_FilterMACACL::send(VrSNMPRequest2Edits *binder, const QString &mac)
{
    setReady(false);
    binder->Request.VarList.Item(0).value = mac.toUpper();
    const Outcome sent = RunApply(binder, false);
    if (!sent.ok)
        changed(AsError(sent));
}

void TFM_FilterMACACL::Add()
{
    if (!m_ready)
        return;
    if (!writeAccessControl()) {
        ui->StatusBar1->setSimpleText(QStringLiteral("Set error!"));
        return;
    }
    const QString mac = ui->Ed_MacAdd->text();
    if (disabled() || mac.isEmpty()) {
        VrMessageBox(this, QStringLiteral("Invalid MAC Address."), QStringLiteral("Error"));
        return;
    }
    if (!acceptable(mac, ui->Ed_MacAdd))
        return;
    if (const auto slot = FirstFreeRow(m_slots->Rows()))
        qCDebug(lcStations) << "the device fills row" << *slot + 1;
    send(m_add, mac);
}

// A station put on the list from the client list is one to keep out.
void TFM_FilterMACACL::AddClient()
{
    // Taken now: the client list may be read again while the mode is written.
    const QString mac = m_clientMac;
    if (!m_ready || mac.isEmpty() || !acceptable(mac, nullptr))
        return;
    setReady(false);
    ui->CB_AccessControl->setCurrentIndex(ui->CB_AccessControl->findText(QStringLiteral("Reject")));
    if (!writeAccessControl()) {
        // Without the mode the address would land in a list of another meaning.
        setReady(true);
        accessControlChanged();
        ui->StatusBar1->setSimpleText(QStringLiteral("Set error!"));
        return;
    }
    send(m_clientAdd, mac);
}

void TFM_FilterMACACL::Delete()
{
    const QList<QTreeWidgetItem *> picked = ui->LV_UerMACAddress->selectedItems();
    if (!m_ready || picked.isEmpty())
        return;
    send(m_delete, picked.first()->text(1));
}

// After an add or a delete the device's list is read again.
void TFM_FilterMACACL::changed(const VrSNMPError &result)
{
    if (result.Code != 0) {
        ui->StatusBar1->setSimpleText(result.Message);
        setReady(true);
        accessControlChanged();
        return;
    }
    ui->StatusBar1->setSimpleText(QStringLiteral("Refresh..."));
    VrReadTogether together{m_slots, m_list};
    const Outcome rows = RunLoad(m_slots);
    if (!rows.ok)
        qCWarning(lcStations) << "access list not read:" << rows.error;
    ui->Ed_MacAdd->clear();
    readList();
}

void TFM_FilterMACACL::Save()
{
    if (!m_ready)
        return;
    ui->StatusBar1->setSimpleText(writeAccessControl() ? QStringLiteral("Save OK!") : QStringLiteral("Set error!"));
}
