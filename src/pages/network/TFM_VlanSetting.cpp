#include "TFM_VlanSetting.h"

#include "NetworkBinders.h"
#include "NetworkTables.h"
#include "TFM_LanCfg.h"
#include "ui_TFM_VlanSetting.h"

#include "VrListViewBinding.h"
#include "VrMessageBox.h"
#include "VrSNMPError.h"
#include "VrStatusBar.h"

#include <QRadioButton>

TFM_VlanSetting *FM_VlanSetting = nullptr;

namespace {

const QString kEnable = QStringLiteral("Enable");
const QString kWarning = QStringLiteral("Warning");

// Object names of each port's controls, in table-column order.
const char *const kPortStems[VlanPortCount] = {
    "PortMgmt", "PortLan", "MssidPrimary", "MssidS1", "MssidS2", "MssidS3", "MssidS4",
    "MssidS5",  "MssidS6", "MssidS7",      "WdsW1",   "WdsW2",   "WdsW3",   "WdsW4"};
// The groups of the "All" buttons: first and last port.
struct PortGroup {
    const char *key;
    int first, last;
};
const PortGroup kGroups[] = {{"Port", 0, 1}, {"Mssid", 2, 9}, {"Wds", 10, 13}};

bool hiddenPort(int port)
{
    return port >= 6 && port <= 9;
}

QString rangeSelection(int first, int last)
{
    QStringList parts;
    for (int i = first; i <= last; ++i)
        parts << QString::number(i);
    return parts.join(u',');
}

} // namespace

TFM_VlanSetting::TFM_VlanSetting(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_VlanSetting)
{
    ui->setupUi(this);
    m_pvids = {ui->Ed_PvidMgmt,    ui->Ed_PvidLan,    ui->Ed_PvidMssidPrimary, ui->Ed_PvidMssidS1,
               ui->Ed_PvidMssidS2, ui->Ed_PvidMssidS3, ui->Ed_PvidWdsW1,       ui->Ed_PvidWdsW2,
               ui->Ed_PvidWdsW3,   ui->Ed_PvidWdsW4};
    connect(ui->CB_VlanStatus, &QComboBox::activated, this, [this] { statusRules(true); });
    connect(ui->CB_PvidAutoStatus, &QComboBox::activated, this, &TFM_VlanSetting::pvidRules);
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, &TFM_VlanSetting::tabChanged);
    connect(ui->LV_VlanListUser, &QTreeWidget::itemSelectionChanged, this, &TFM_VlanSetting::vlanClicked);
    connect(ui->Btn_VlanEdit, &QPushButton::clicked, this, &TFM_VlanSetting::EditVlan);
    connect(ui->Btn_VlanDelete, &QPushButton::clicked, this, &TFM_VlanSetting::DeleteVlan);
    connect(ui->AddButton, &QPushButton::clicked, this, &TFM_VlanSetting::SaveVlan);
    connect(ui->Btn_VlanApply, &QPushButton::clicked, this, &TFM_VlanSetting::SaveStatus);
    connect(ui->Btn_PvidApply, &QPushButton::clicked, this, &TFM_VlanSetting::SavePvids);
    for (const PortGroup &g : kGroups) {
        const std::pair<const char *, Membership> choices[] = {
            {"Untag", Membership::Untag}, {"Tag", Membership::Tag}, {"Not", Membership::None}};
        for (const auto &[end, m] : choices) {
            auto *button = findChild<QPushButton *>(QStringLiteral("Bt_All%1%2").arg(QLatin1String(g.key), QLatin1String(end)));
            connect(button, &QPushButton::clicked, this, [this, g, m = m] { setAll(g.first, g.last, m); });
        }
    }
    for (int port = 0; port < VlanPortCount; ++port)
        for (Membership m : {Membership::Untag, Membership::Tag, Membership::None})
            connect(radio(port, m), &QRadioButton::clicked, this, [this] { m_formReset = false; });
    bind();
    read();
}

TFM_VlanSetting::~TFM_VlanSetting() = default;

// The hidden table view puts the write-only delete column first.
int TFM_VlanSetting::col(int item) const
{
    const std::vector<int> columns = VrListViewBinding(m_vlan->Request.VarList).ColumnItems();
    for (size_t c = 0; c < columns.size(); ++c)
        if (columns[c] == item)
            return int(c);
    return -1;
}

bool TFM_VlanSetting::Busy() const
{
    return m_vlan->Busy() || m_portList->Busy() || m_portRefresh->Busy();
}

QRadioButton *TFM_VlanSetting::radio(int port, Membership m) const
{
    const char *end = m == Membership::Untag ? "Untag" : m == Membership::Tag ? "Tag" : "Not";
    return findChild<QRadioButton *>(QStringLiteral("RB_%1%2").arg(QLatin1String(kPortStems[port]), QLatin1String(end)));
}

void TFM_VlanSetting::createMembershipCombos()
{
    for (int port = 0; port < VlanPortCount; ++port) {
        auto *combo = new QComboBox(ui->W_Hidden);
        combo->setObjectName(QStringLiteral("CB_Vlan%1").arg(QLatin1String(kPortStems[port])));
        ui->W_Hidden->layout()->addWidget(combo);
        m_members[size_t(port)] = combo;
    }
}

void TFM_VlanSetting::bind()
{
    QLabel *line = ExchangePanel(ui->StatusBar1);
    ResultPanel(ui->StatusBar1);
    m_apMode = MakeNetworkBinder(this, kVlanApModeVars, VrListInstance, 10000, QStringLiteral("Mode"), line, true);
    m_apMode->BindComboBox(0, ui->CB_APMode);
    createMembershipCombos();
    m_status = MakeNetworkBinder(this, kVlanStatusVars, VrListInstance, 10000, QStringLiteral("VLAN"), line, true);
    m_status->BindComboBox(0, ui->CB_VlanStatus);
    m_status->BindComboBox(1, ui->CB_VlanMode);
    m_pvidAuto = MakeNetworkBinder(this, kVlanPvidAutoVars, VrListInstance, 10000, QStringLiteral("PVID"), line, true);
    m_pvidAuto->BindComboBox(0, ui->CB_PvidAutoStatus);
    m_pvid = MakeNetworkBinder(this, kVlanPvidVars, VrListInstance, 10000, QStringLiteral("PVID"), line, true);
    for (int i = 0; i < VlanVisiblePorts; ++i) {
        m_pvid->BindFormat(i, QStringLiteral("%s"), {m_pvids[size_t(i)]});
        m_pvids[size_t(i)]->setMaxLength(4);
    }
    m_mssid = MakeNetworkBinder(this, kVlanMssidVars, VrListTable2, 10000, QStringLiteral("Multi-SSID"), line, true);
    m_mssid->AttachListView(ui->LV_MultiSSID, false);

    m_portRefresh = MakeNetworkBinder(this, kVlanPortRefreshVars, VrListInstance, 10000, QStringLiteral("Port list"),
                                      line, false);
    m_portRefresh->BindComboBox(0, ui->CB_PortListRefresh);
    m_portRefresh->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { portRefreshDone(r); };
    m_portList = MakeNetworkBinder(this, kVlanPortListVars, VrListTable2, 10000, QStringLiteral("Port list"), line,
                                   false);
    m_portList->AttachListView(ui->LV_PortList, false);
    m_portList->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { portListRead(r); };

    m_vlan = MakeNetworkBinder(this, kVlanTableVars, VrListTable2, 10000, QStringLiteral("VLAN"), line, false);
    m_vlan->BindControl(VlIndex, ui->LB_Index);
    m_vlan->BindFormat(VlVid, QStringLiteral("%u{n1x4094}"), {ui->Ed_VlanID});
    m_vlan->BindFormat(VlName, QStringLiteral("%s"), {ui->Ed_VlanName});
    for (int port = 0; port < VlanPortCount; ++port)
        m_vlan->BindComboBox(VlFirstPort + port, m_members[size_t(port)]);
    m_vlan->AttachListView(ui->LV_VlanList, false);
    m_vlan->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { vlanRead(r); };
    m_vlan->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { vlanWritten(r); };
    ui->Ed_VlanID->setMaxLength(4);
    ui->Ed_VlanName->setMaxLength(32);
    ui->CB_VlanItemDel->addItems({QStringLiteral("nothing"), QStringLiteral("delete")});

    ui->LV_VlanListUser->setHeaderLabels({QStringLiteral("VID"), QStringLiteral("VLAN Name "),
                                          QStringLiteral("Untag VLAN Ports "), QStringLiteral("Tag VLAN Ports ")});
    ui->LV_PortListUser->setHeaderLabels({QStringLiteral("Port Name "), QStringLiteral("Tag VID"),
                                          QStringLiteral("Untag VID "), QStringLiteral("PVID ")});
    const std::pair<QTreeWidget *, std::array<int, 4>> widths[] = {{ui->LV_VlanListUser, {30, 100, 205, 205}},
                                                                   {ui->LV_PortListUser, {100, 200, 200, 40}}};
    for (const auto &[view, columns] : widths) {
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        for (size_t c = 0; c < columns.size(); ++c)
            view->setColumnWidth(int(c), columns[c]);
    }
}

void TFM_VlanSetting::read()
{
    // The VLAN table is read after the port list refresh is written, as
    // ever; the groups before it go out at once.
    VrReadTogether together{m_apMode, m_status, m_pvidAuto, m_pvid, m_mssid};
    VrLoadShowingErrors(m_apMode);
    if (VrLoadShowingErrors(m_status))
        ui->LB_VlanMode->setText(dynamicMode() ? QStringLiteral("Dynamic") : QStringLiteral("Static"));
    VrLoadShowingErrors(m_pvidAuto);
    pvidRules();
    VrLoadShowingErrors(m_pvid);
    VrLoadShowingErrors(m_mssid);
    buildPortSkeleton();
    refreshPortList();
    VrLoadShowingErrors(m_vlan);
    statusRules(false);
    resetAddForm();
    ui->Btn_VlanEdit->setEnabled(false);
    ui->Btn_VlanDelete->setEnabled(false);
}

bool TFM_VlanSetting::statusEnabled() const
{
    return ui->CB_VlanStatus->currentText() == kEnable;
}

bool TFM_VlanSetting::dynamicMode() const
{
    return ui->CB_VlanMode->currentText() == QLatin1String("dynamic");
}

void TFM_VlanSetting::result(const QString &text)
{
    ResultPanel(ui->StatusBar1)->setText(text);
}

// Ten rows, named after the ports; the multi-SSID ports by their SSIDs.
void TFM_VlanSetting::buildPortSkeleton()
{
    QTreeWidget *shown = ui->LV_PortListUser;
    shown->clear();
    QStringList names{QStringLiteral("Mgmt"), QStringLiteral("LAN")};
    QTreeWidget *ssids = ui->LV_MultiSSID;
    for (int i = 0; i < 4; ++i) {
        // A network without an SSID goes by its port name.
        const QString ssid = i < ssids->topLevelItemCount() ? ssids->topLevelItem(i)->text(1) : QString();
        names << (ssid.isEmpty() ? VlanPortNames()[size_t(VlanVisiblePortColumns()[size_t(2 + i)])] : ssid);
    }
    names << QStringLiteral("W-1") << QStringLiteral("W-2") << QStringLiteral("W-3") << QStringLiteral("W-4");
    for (const QString &name : names)
        new QTreeWidgetItem(shown, {name, QString(), QString(), QString()});
}

void TFM_VlanSetting::refreshPortList()
{
    const QStringList refresh{QStringLiteral("1")};
    if (!VrApplyShowingErrors(m_portRefresh, false, QStringLiteral("0"), &refresh))
        m_statusSaving = false;
}

void TFM_VlanSetting::portRefreshDone(const VrSNMPError &r)
{
    if (r.Code != 0) {
        m_portRefresh->ShowStatus(r.Message);
        if (m_statusSaving)
            result(QStringLiteral("Set Error!"));
        m_statusSaving = false;
        return;
    }
    if (!VrLoadShowingErrors(m_portList) && m_statusSaving) {
        result(QStringLiteral("Set Error!"));
        m_statusSaving = false;
    }
}

void TFM_VlanSetting::portListRead(const VrSNMPError &r)
{
    const bool ok = r.Code == 0;
    if (!ok)
        m_portList->ShowStatus(r.Message);
    QTreeWidget *table = ui->LV_PortList;
    QTreeWidget *shown = ui->LV_PortListUser;
    if (ok && table->topLevelItemCount() == VlanVisiblePorts && shown->topLevelItemCount() == VlanVisiblePorts) {
        for (int row = 0; row < VlanVisiblePorts; ++row) {
            shown->topLevelItem(row)->setText(1, table->topLevelItem(row)->text(1));
            shown->topLevelItem(row)->setText(2, table->topLevelItem(row)->text(2));
        }
    }
    showPvidCells();
    if (m_statusSaving)
        result(ok ? QStringLiteral("Set OK!") : QStringLiteral("Set Error!"));
    m_statusSaving = false;
}

void TFM_VlanSetting::showPvidCells()
{
    QTreeWidget *shown = ui->LV_PortListUser;
    for (int row = 0; row < shown->topLevelItemCount() && row < VlanVisiblePorts; ++row)
        shown->topLevelItem(row)->setText(3, m_pvids[size_t(row)]->text());
}

void TFM_VlanSetting::vlanRead(const VrSNMPError &r)
{
    QSignalBlocker quiet(ui->LV_VlanListUser);
    ui->LV_VlanListUser->clear();
    ui->Btn_VlanEdit->setEnabled(false);
    ui->Btn_VlanDelete->setEnabled(false);
    m_editMode = false;
    if (r.Code != 0) {
        m_vlan->ShowStatus(r.Message);
        result(QStringLiteral("Set Error!"));
        return;
    }
    QTreeWidget *table = ui->LV_VlanList;
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *vlan = table->topLevelItem(row);
        if (vlan->text(col(VlVid)) == QLatin1String("0"))
            continue;
        std::array<Membership, VlanPortCount> ports{};
        for (int port = 0; port < VlanPortCount; ++port)
            ports[size_t(port)] = MembershipOf(vlan->text(col(VlFirstPort + port)));
        const VlanPortCells cells = PortCellsOf(ports);
        auto *shown = new QTreeWidgetItem(ui->LV_VlanListUser,
                                          {vlan->text(col(VlVid)), vlan->text(col(VlName)), cells.untagged, cells.tagged});
        shown->setData(0, Qt::UserRole, row);
    }
    // The device's own free rows say whether another VLAN fits.
    if (statusEnabled())
        selectFreeRow();
    else
        table->clearSelection();
    // Out of edit mode: the VID field is the user's again.
    setEditControlsEnabled(statusEnabled() && !dynamicMode());
    m_formReset = false;
    result(QStringLiteral("Get OK!"));
}

// The row a new VLAN goes to; the VID and name fields start empty.
void TFM_VlanSetting::selectFreeRow()
{
    QTreeWidget *table = ui->LV_VlanList;
    QStringList vids, names;
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        vids << table->topLevelItem(row)->text(col(VlVid));
        names << table->topLevelItem(row)->text(col(VlName));
    }
    table->clearSelection();
    const int free = FreeVlanRow(vids, names);
    if (free >= 0)
        table->topLevelItem(free)->setSelected(true);
    ui->Ed_VlanID->clear();
    ui->Ed_VlanName->clear();
}

QTreeWidgetItem *TFM_VlanSetting::selectedTableRow() const
{
    const QList<QTreeWidgetItem *> rows = ui->LV_VlanList->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

void TFM_VlanSetting::statusRules(bool byUser)
{
    const QString mode = ui->CB_APMode->currentText();
    if (byUser && !m_warned && (mode == QLatin1String("WDS") || mode == QLatin1String("Wireless Client"))) {
        VrMessageBox(this, QStringLiteral("If you enable VLAN,AP Mode is set to access point."), kWarning);
        m_warned = true;
    }
    if (statusEnabled() && !m_editMode)
        selectFreeRow();
    const bool editable = statusEnabled() && !dynamicMode();
    setEditControlsEnabled(editable);
    ui->CB_PvidAutoStatus->setEnabled(editable);
    for (QLineEdit *edit : m_pvids)
        edit->setEnabled(editable);
    if (editable)
        pvidRules();
}

void TFM_VlanSetting::pvidRules()
{
    const bool locked = dynamicMode() || ui->CB_PvidAutoStatus->currentText() == kEnable;
    for (QLineEdit *edit : m_pvids)
        edit->setEnabled(!locked);
}

void TFM_VlanSetting::setEditControlsEnabled(bool enabled)
{
    ui->Ed_VlanID->setEnabled(enabled && !m_editMode);
    ui->Ed_VlanName->setEnabled(enabled);
    ui->AddButton->setEnabled(enabled);
    for (int port = 0; port < VlanPortCount; ++port)
        for (Membership m : {Membership::Untag, Membership::Tag, Membership::None})
            radio(port, m)->setEnabled(enabled && !(m_editMode && m == Membership::Tag && IsMssidPort(port)));
    for (QPushButton *button : ui->GB_Ports->findChildren<QPushButton *>())
        button->setEnabled(enabled && !(m_editMode && button->objectName() == QLatin1String("Bt_AllMssidTag")));
}

void TFM_VlanSetting::resetAddForm()
{
    m_editMode = false;
    ui->Ed_VlanID->clear();
    ui->Ed_VlanName->clear();
    // Ports the page does not show stay out of new VLANs.
    for (int port = 0; port < VlanPortCount; ++port)
        radio(port, hiddenPort(port) ? Membership::None : Membership::Untag)->setChecked(true);
    setEditControlsEnabled(statusEnabled() && !dynamicMode());
    m_formReset = true;
}

void TFM_VlanSetting::setAll(int firstPort, int lastPort, Membership m)
{
    for (int port = firstPort; port <= lastPort; ++port)
        if (!hiddenPort(port) && radio(port, m)->isEnabled())
            radio(port, m)->setChecked(true);
    m_formReset = false;
}

void TFM_VlanSetting::tabChanged(int index)
{
    if (ui->LV_VlanListUser->selectedItems().isEmpty() && !m_formReset && !m_editMode)
        resetAddForm();
    if (ui->PageControl1->widget(index) == ui->TS_PortList)
        refreshPortList();
}

void TFM_VlanSetting::vlanClicked()
{
    const QList<QTreeWidgetItem *> selected = ui->LV_VlanListUser->selectedItems();
    m_editMode = false;
    if (selected.isEmpty()) {
        ui->Btn_VlanEdit->setEnabled(false);
        ui->Btn_VlanDelete->setEnabled(false);
        selectFreeRow();
        setEditControlsEnabled(statusEnabled() && !dynamicMode());
        return;
    }
    const int row = selected.first()->data(0, Qt::UserRole).toInt();
    QTreeWidget *table = ui->LV_VlanList;
    table->clearSelection();
    if (row >= 0 && row < table->topLevelItemCount())
        table->topLevelItem(row)->setSelected(true);
    ui->Ed_VlanID->setEnabled(false);
    ui->Btn_VlanEdit->setEnabled(true);
    ui->Btn_VlanDelete->setEnabled(true);
    if (!statusEnabled())
        ui->Ed_VlanName->setEnabled(false);
}

void TFM_VlanSetting::EditVlan()
{
    ui->PageControl1->setCurrentWidget(ui->TS_AddEdit);
    ui->CB_VlanStatus->setCurrentIndex(ui->CB_VlanStatus->findText(kEnable));
    const QList<QTreeWidgetItem *> selected = ui->LV_VlanListUser->selectedItems();
    const QTreeWidgetItem *row = selected.isEmpty() ? nullptr : selectedTableRow();
    if (!row) {
        resetAddForm();
        return;
    }
    ui->Ed_VlanID->setText(row->text(col(VlVid)));
    ui->Ed_VlanName->setText(row->text(col(VlName)));
    for (int port = 0; port < VlanPortCount; ++port)
        radio(port, MembershipOf(row->text(col(VlFirstPort + port))))->setChecked(true);
    m_editMode = true;
    m_formReset = false;
    setEditControlsEnabled(statusEnabled() && !dynamicMode());
}

void TFM_VlanSetting::SaveVlan()
{
    if (Busy())
        return;
    const QString vid = ui->Ed_VlanID->text();
    if (!IsValidVid(vid)) {
        VrMessageBox(this, VidRangeText, kWarning);
        ui->Ed_VlanID->setFocus();
        return;
    }
    QTreeWidget *table = ui->LV_VlanList;
    QTreeWidgetItem *row = selectedTableRow();
    QStringList vids;
    for (int r = 0; r < table->topLevelItemCount(); ++r)
        vids << table->topLevelItem(r)->text(col(VlVid));
    const int ownRow = m_editMode && row ? table->indexOfTopLevelItem(row) : -1;
    if (ListedVidRow(vids, vid, ownRow) >= 0) {
        VrMessageBox(this, QStringLiteral("There is an existent entry with the same VID.\nPlease change the VID."),
                     kWarning);
        return;
    }
    // A new VLAN needs a free row; any other row is a VLAN that would be lost.
    if (!m_editMode && (!row || row->text(col(VlVid)) != QLatin1String("0"))) {
        VrMessageBox(this, QStringLiteral("The VLAN table is full. Delete a VLAN before adding another."), kWarning);
        return;
    }
    if (m_editMode && !row)
        return;
    for (int port = 0; port < VlanPortCount; ++port) {
        const Membership m = radio(port, Membership::Untag)->isChecked() ? Membership::Untag
                             : radio(port, Membership::Tag)->isChecked() ? Membership::Tag
                                                                         : Membership::None;
        QComboBox *combo = m_members[size_t(port)];
        combo->setCurrentIndex(combo->findText(MembershipText(m)));
    }
    qCInfo(lcNetwork) << "VLAN" << vid << (m_editMode ? "edited" : "added");
    if (!VrApplyShowingErrors(m_vlan, true, rangeSelection(VlVid, VlFirstPort + VlanPortCount - 1)))
        result(QStringLiteral("Set Error!"));
}

void TFM_VlanSetting::DeleteVlan()
{
    const QList<QTreeWidgetItem *> selected = ui->LV_VlanListUser->selectedItems();
    const QTreeWidgetItem *row = selected.isEmpty() ? nullptr : selectedTableRow();
    if (!row || Busy())
        return;
    if (VrMessageBox(this, QStringLiteral("Are you sure you want to delete ") + row->text(col(VlName)) + QLatin1Char('?'),
                     kWarning, QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    ui->CB_VlanItemDel->setCurrentText(QStringLiteral("delete"));
    const QStringList remove{QStringLiteral("1")};
    if (!VrApplyShowingErrors(m_vlan, true, QString::number(VlDelete), &remove))
        result(QStringLiteral("Set Error!"));
}

void TFM_VlanSetting::vlanWritten(const VrSNMPError &r)
{
    ui->CB_VlanItemDel->setCurrentIndex(0);
    if (r.Code != 0) {
        m_vlan->ShowStatus(r.Message);
        result(QStringLiteral("Set Error!"));
    }
    // On success the binder reads the table again, and the list follows.
}

void TFM_VlanSetting::SaveStatus()
{
    ui->PageControl1->setCurrentWidget(ui->TS_VlanList);
    if (!VrApplyShowingErrors(m_status, true, QStringLiteral("0"))) {
        result(QStringLiteral("Set Error!"));
        return;
    }
    m_statusSaving = true;
    refreshPortList();
}

void TFM_VlanSetting::SavePvids()
{
    bool ok = false;
    if (!statusEnabled()) {
        ok = VrApplyShowingErrors(m_status, true, QStringLiteral("0"));
    } else if (ui->CB_PvidAutoStatus->currentText() == kEnable) {
        ok = VrApplyShowingErrors(m_status, true, QStringLiteral("0")) && VrApplyShowingErrors(m_pvidAuto);
    } else {
        QStringList pvids;
        for (QLineEdit *edit : m_pvids)
            pvids << edit->text();
        if (const int bad = FirstBadPvid(pvids); bad >= 0) {
            VrMessageBox(this, VidRangeText, kWarning);
            QLineEdit *edit = m_pvids[size_t(bad)];
            edit->setText(QStringLiteral("1"));
            edit->selectAll();
            edit->setFocus();
            return;
        }
        ok = VrApplyShowingErrors(m_status, true, QStringLiteral("0")) && VrApplyShowingErrors(m_pvidAuto) && VrApplyShowingErrors(m_pvid);
        if (ok && VrLoadShowingErrors(m_pvid))
            showPvidCells();
    }
    result(ok ? QStringLiteral("Set OK!") : QStringLiteral("Set Error!"));
}
