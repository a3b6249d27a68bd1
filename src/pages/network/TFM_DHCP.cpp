#include "TFM_DHCP.h"

#include "NetworkBinders.h"
#include "NetworkRules.h"
#include "NetworkTables.h"
#include "TFM_LanCfg.h"
#include "ui_TFM_DHCP.h"

#include "New_req2Edit.h"
#include "VrListViewBinding.h"
#include "VrMessageBox.h"
#include "VrSNMPError.h"
#include "VrStatusBar.h"

TFM_DHCP *FM_DHCP = nullptr;

namespace {

const QString kEnable = QStringLiteral("Enable");
const QString kDisable = QStringLiteral("Disable");
const QString kZero = QStringLiteral("0.0.0.0");
const QString kListing = QStringLiteral("Listing data ... ");

QString selectionOf(std::initializer_list<int> items)
{
    QStringList parts;
    for (int i : items)
        parts << QString::number(i);
    return parts.join(u',');
}

} // namespace

TFM_DHCP::TFM_DHCP(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_DHCP)
{
    ui->setupUi(this);
    connect(ui->CB_Fuction1, &QComboBox::activated, this, &TFM_DHCP::serverChanged);
    connect(ui->CB_Fuction2, &QComboBox::activated, this, &TFM_DHCP::staticChanged);
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, &TFM_DHCP::applyRules);
    connect(ui->Bt_Apply, &QPushButton::clicked, this, &TFM_DHCP::SavePool);
    connect(ui->Bt_Cancel, &QPushButton::clicked, this, &TFM_DHCP::reject);
    connect(ui->Btn_Add, &QPushButton::clicked, this, &TFM_DHCP::SaveLease);
    connect(ui->Btn_Del, &QPushButton::clicked, this, &TFM_DHCP::DeleteLease);
    connect(ui->User_ListView, &QTreeWidget::itemSelectionChanged, this, &TFM_DHCP::leaseClicked);
    // The set is built before Apply returns, so the value list may be local.
    connect(ui->Bt_RefreshDynamicPool, &QPushButton::clicked, this, [this] {
        const QStringList refresh{QStringLiteral("1")};
        VrApplyShowingErrors(m_refreshDynamic, false, QStringLiteral("0"), &refresh);
    });
    connect(ui->Bt_RefreshStaticPool, &QPushButton::clicked, this, [this] {
        const QStringList refresh{QStringLiteral("1")};
        VrApplyShowingErrors(m_refreshStatic, false, QStringLiteral("0"), &refresh);
    });
    bind();
    read();
}

TFM_DHCP::~TFM_DHCP() = default;

void TFM_DHCP::bind()
{
    QLabel *line1 = ExchangePanel(ui->StatusBar1);
    QLabel *line2 = ExchangePanel(ui->StatusBar2);
    m_apMode = MakeNetworkBinder(this, kDhcpApModeVars, VrListInstance, 10000, QStringLiteral("Mode"), line1, true);
    m_apMode->BindComboBox(0, ui->CB_APMode);
    m_lanIp = MakeNetworkBinder(this, kDhcpLanIpVars, VrListInstance, 10000, QStringLiteral("LAN"), line1, true);
    m_lanIp->BindFormat(0, QStringLiteral("%s"), {ui->ED_IpAddr});
    m_lanIf = MakeNetworkBinder(this, kDhcpLanIfVars, VrListInstance, 1000, QStringLiteral("LAN"), line1, true);
    m_lanIf->BindFormat(0, QStringLiteral("%s"), {ui->Ed_ext});

    m_pool = MakeNetworkBinder(this, kDhcpPoolVars, VrListInstance, 10000, QStringLiteral("DHCP pool"), line1, true);
    m_pool->BindFormat(PoolStart, QStringLiteral("%s"), {ui->Ed_IPAF});
    m_pool->BindFormat(PoolEnd, QStringLiteral("%s"), {ui->Ed_PoolEnd});
    m_pool->BindFormat(PoolMask, QStringLiteral("%s"), {ui->Ed_SubMask});
    m_pool->BindFormat(PoolGateway, QStringLiteral("%s"), {ui->Ed_Gateway});
    m_pool->BindFormat(PoolWins, QStringLiteral("%s"), {ui->Ed_Wins});
    m_pool->BindFormat(PoolDns, QStringLiteral("%s"), {ui->Ed_DNS});
    m_pool->BindFormat(PoolDomain, QStringLiteral("%s"), {ui->Ed_DomNa});
    m_pool->BindFormat(PoolLease, QStringLiteral("%u"), {ui->Ed_Lease});

    m_server = MakeNetworkBinder(this, kDhcpServerVars, VrListInstance, 10000, QStringLiteral("DHCP server"), line1, true);
    m_server->BindComboBox(0, ui->CB_Fuction1);
    m_staticControl = MakeNetworkBinder(this, kDhcpStaticControlVars, VrListInstance, 10000,
                                        QStringLiteral("Static pool"), line2, true);
    m_staticControl->BindComboBox(0, ui->CB_Fuction2);
    m_domainStatus = MakeNetworkBinder(this, kDhcpDomainStatusVars, VrListInstance, 10000,
                                       QStringLiteral("Domain name"), line1, true);
    m_domainStatus->BindComboBox(0, ui->CB_DNStatus);

    m_static = MakeNetworkBinder(this, kDhcpStaticVars, VrListTable2, 10000, QStringLiteral("Static pool"), line2, false);
    m_static->BindControl(StIndex, ui->Lb_Index);
    m_static->BindComboBox(StStatus, ui->CB_StaticStatus);
    m_static->BindFormat(StHostName, QStringLiteral("%s"), {ui->ED_StaticHostName});
    m_static->BindFormat(StIp, QStringLiteral("%s"), {ui->ED_StaticAssignIP});
    m_static->BindFormat(StMac, QStringLiteral("%h"), {ui->ED_StaticAssignMAC});
    m_static->BindFormat(StMask, QStringLiteral("%s"), {ui->ED_StaticSubMask});
    m_static->BindFormat(StGateway, QStringLiteral("%s"), {ui->ED_StaticGateway});
    m_static->BindFormat(StDns, QStringLiteral("%s"), {ui->ED_StaticDNS});
    m_static->BindFormat(StWins, QStringLiteral("%s"), {ui->ED_StaticWins});
    m_static->BindFormat(StDomain, QStringLiteral("%s"), {ui->ED_StaticDoname});
    m_static->AttachListView(ui->LV_StaticPoolSet, false);
    m_static->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { staticRead(r); };
    m_static->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { leaseWritten(r); };

    m_delete = MakeNetworkBinder(this, kDhcpStaticDeleteVars, VrListInstance, 10000, QStringLiteral("Static pool"),
                                 line2, false);
    m_delete->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { leaseDeleted(r); };

    const auto current = [this](const VrSNMPVarDef *table, VrStatusBar *bar, QTreeWidget *hidden, QTreeWidget *shown) {
        auto *binder = MakeNetworkBinder<New_req2Edit>(this, table, VrListTable2, 10000, QStringLiteral("Current list"),
                                                       ExchangePanel(bar), false);
        binder->WatchedItem = 1;
        binder->Placeholder = FreeMac;
        binder->AttachListView(hidden, false);
        binder->OnLoadDone = [this, hidden, shown, bar](VrSNMPRequest2Controls *, const VrSNMPError &r) {
            currentRead(hidden, shown, bar, r);
        };
        return binder;
    };
    m_currentDynamic = current(kDhcpCurrentDynamicVars, ui->StatusBar3, ui->LV_Dy, ui->LV_DynPool);
    m_currentStatic = current(kDhcpCurrentStaticVars, ui->StatusBar4, ui->LV_Static, ui->LV_StaticPool);
    m_refreshDynamic = MakeNetworkBinder(this, kDhcpRefreshDynamicVars, VrListInstance, 10000,
                                         QStringLiteral("Current list"), ExchangePanel(ui->StatusBar3), false);
    m_refreshDynamic->BindComboBox(0, ui->CoboxDynamic);
    m_refreshDynamic->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) {
        refreshDone(m_currentDynamic, ui->StatusBar3, r);
    };
    m_refreshStatic = MakeNetworkBinder(this, kDhcpRefreshStaticVars, VrListInstance, 10000,
                                        QStringLiteral("Current list"), ExchangePanel(ui->StatusBar4), false);
    m_refreshStatic->BindComboBox(0, ui->CoboxStatic);
    m_refreshStatic->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) {
        refreshDone(m_currentStatic, ui->StatusBar4, r);
    };

    ui->LV_DynPool->setHeaderLabels({QStringLiteral("Binding MAC Address"), QStringLiteral("Assigned IP Address "),
                                     QStringLiteral("Lease time "), QStringLiteral("Host Name")});
    ui->LV_StaticPool->setHeaderLabels({QStringLiteral("Binding MAC Address"), QStringLiteral("Assigned IP Address "),
                                        QStringLiteral("Host Name")});
    ui->User_ListView->setHeaderLabels({QStringLiteral("MAC Address"), QStringLiteral("IP Address"),
                                        QStringLiteral("Host Name")});
    const std::pair<QTreeWidget *, std::vector<int>> widths[] = {
        {ui->LV_DynPool, {115, 115, 70, 65}}, {ui->LV_StaticPool, {160, 120, 100}}, {ui->User_ListView, {160, 120, 80}}};
    for (const auto &[view, columns] : widths) {
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        for (size_t c = 0; c < columns.size(); ++c)
            view->setColumnWidth(int(c), columns[c]);
    }
    VrReportListLook(ui->User_ListView);

    // Binding an edit to a format lifts its length limit.
    for (QLineEdit *edit : {ui->Ed_IPAF, ui->Ed_SubMask, ui->Ed_Gateway, ui->Ed_Wins, ui->Ed_DNS, ui->ED_StaticAssignIP,
                            ui->ED_StaticSubMask, ui->ED_StaticGateway, ui->ED_StaticDNS, ui->ED_StaticWins})
        edit->setMaxLength(15);
    ui->Ed_DomNa->setMaxLength(DomainNameMaxLength);
    ui->ED_StaticDoname->setMaxLength(DomainNameMaxLength);
    ui->ED_StaticHostName->setMaxLength(HostNameMaxLength);
    ui->ED_StaticAssignMAC->setMaxLength(12);
    ui->Ed_PoolRan->setMaxLength(3);
    ui->Ed_Lease->setMaxLength(8);
}

void TFM_DHCP::read()
{
    ui->Bt_Apply->setEnabled(false);
    ui->Bt_Refresh->setEnabled(false);
    ui->Bt_Cancel->setEnabled(false);
    setLeaseControlsEnabled(false);
    ui->Btn_Del->setEnabled(false);

    // None of the page's objects depends on another's answer: all go out at
    // once, and their answers are taken in the order below.
    VrReadTogether together{m_apMode,        m_lanIp,        m_pool,   m_server,
                            m_staticControl, m_domainStatus, m_static, m_currentDynamic,
                            m_currentStatic, m_lanIf};
    bool silent = false;
    readGroup(m_apMode, silent);
    readGroup(m_lanIp, silent);
    result(ui->StatusBar1, kListing);
    if (readGroup(m_pool, silent)) {
        poolRead();
        result(ui->StatusBar1, QStringLiteral("Get OK!"));
    } else {
        result(ui->StatusBar1, QStringLiteral("Setting Error!"));
    }
    const bool server = readGroup(m_server, silent);
    if (readGroup(m_staticControl, silent) && server)
        ui->CB_Fuction2->setCurrentIndex(ui->CB_Fuction1->currentIndex());
    readGroup(m_domainStatus, silent);
    applyRules();

    loadStatic();
    VrLoadShowingErrors(m_currentDynamic);
    VrLoadShowingErrors(m_currentStatic);
    VrLoadShowingErrors(m_lanIf);
}

// One group of read(); once the device has not answered, the further groups
// are not asked: each would wait out its own time-out, and the page could not
// be closed meanwhile.
bool TFM_DHCP::readGroup(VrSNMPRequest2Controls *binder, bool &silent)
{
    if (silent) {
        binder->SkipLoad();
        return false;
    }
    VrReportErrorsTo(binder, binder->StatusTarget(), &m_lastError);
    m_lastError = 0;
    const bool ok = VrLoadShowingErrors(binder);
    silent = !ok && m_lastError == VrErrTimeout;
    return ok;
}

void TFM_DHCP::reject()
{
    if (m_staticBusy) {
        qCInfo(lcNetwork) << "DHCP page stays open while the static leases are read";
        return;
    }
    QDialog::reject();
}

void TFM_DHCP::result(VrStatusBar *bar, const QString &text)
{
    ResultPanel(bar)->setText(text);
}

bool TFM_DHCP::clientMode() const
{
    return ui->CB_APMode->currentText() == QLatin1String("Wireless Client");
}

bool TFM_DHCP::routerMode() const
{
    return IsRouterMode(ui->CB_APMode->currentIndex());
}

bool TFM_DHCP::domainStatic() const
{
    return ui->CB_DNStatus->currentText() == QLatin1String("static");
}

bool TFM_DHCP::domainStatusKnown() const
{
    return ui->CB_DNStatus->currentIndex() >= 0;
}

bool TFM_DHCP::serverEnabled() const
{
    return ui->CB_Fuction1->currentText() == kEnable;
}

bool TFM_DHCP::staticEnabled() const
{
    return ui->CB_Fuction2->currentText() == kEnable;
}

void TFM_DHCP::poolRead()
{
    ui->Ed_PoolRan->setText(PoolCountFromEnd(ui->Ed_IPAF->text(), ui->Ed_PoolEnd->text()));
    ui->Ed_Gateway->setText(AddressShown(ui->Ed_Gateway->text()));
    if (routerMode()) {
        ui->Ed_Wins->setText(AddressShown(ui->Ed_Wins->text()));
        ui->Ed_DNS->setText(AddressShown(ui->Ed_DNS->text()));
    }
}

// Which fields the two switches, the domain-name source and the mode allow.
void TFM_DHCP::applyRules()
{
    if (clientMode()) {
        // A client hands out no addresses.
        for (QComboBox *combo : {ui->CB_Fuction1, ui->CB_Fuction2}) {
            combo->setCurrentIndex(combo->findText(kDisable));
            combo->setEnabled(false);
        }
    }
    const bool server = serverEnabled();
    for (QWidget *w : std::initializer_list<QWidget *>{ui->Ed_IPAF, ui->Ed_PoolRan, ui->Ed_SubMask, ui->Ed_Gateway,
                                                       ui->Ed_Wins, ui->Ed_DNS, ui->Ed_Lease})
        w->setEnabled(server);
    ui->Ed_DomNa->setEnabled(server && !domainStatic());
    if (routerMode()) {
        ui->Ed_Wins->setEnabled(false);
        ui->Ed_DNS->setEnabled(false);
    }
    if (!m_staticBusy && !m_writing) {
        setLeaseControlsEnabled(staticEnabled());
        ui->User_ListView->setEnabled(staticEnabled());
    }
}

void TFM_DHCP::setLeaseControlsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{ui->ED_StaticAssignIP, ui->ED_StaticAssignMAC,
                                                       ui->ED_StaticHostName, ui->ED_StaticSubMask,
                                                       ui->ED_StaticGateway, ui->ED_StaticDNS, ui->ED_StaticWins})
        w->setEnabled(enabled);
    ui->ED_StaticDoname->setEnabled(enabled && domainStatic());
    ui->User_ListView->setEnabled(enabled);
}

void TFM_DHCP::serverChanged()
{
    ui->CB_Fuction2->setCurrentIndex(ui->CB_Fuction1->currentIndex());
    applyRules();
    if (serverEnabled())
        ui->Bt_Apply->setEnabled(true);
}

void TFM_DHCP::staticChanged()
{
    ui->CB_Fuction1->setCurrentIndex(ui->CB_Fuction2->currentIndex());
    applyRules();
}

void TFM_DHCP::refuse(const FieldProblem &problem, bool selectText)
{
    VrMessageBox(this, problem.text, problem.title);
    auto *field = findChild<QLineEdit *>(problem.field);
    if (!field)
        return;
    if (problem.clear)
        field->clear();
    if (selectText)
        field->selectAll();
    field->setFocus();
}

void TFM_DHCP::SavePool()
{
    if (!serverEnabled()) {
        if (VrApplyShowingErrors(m_server))
            result(ui->StatusBar1, QStringLiteral("Setting Success!"));
        else
            result(ui->StatusBar1, QStringLiteral("Setting Error!"));
        return;
    }
    const PoolInput input{ui->Ed_IPAF->text(), ui->Ed_PoolRan->text(), ui->Ed_Lease->text(), ui->Ed_SubMask->text(),
                          ui->Ed_Gateway->text()};
    if (const FieldCheck problem = CheckPoolInput(input)) {
        refuse(*problem);
        return;
    }
    // WINS and DNS are optional: a bad one is dropped, not a reason to stop.
    const std::pair<QLineEdit *, const char *> optional[] = {{ui->Ed_Wins, "Invalid WINS!"},
                                                            {ui->Ed_DNS, "Please input valid DNS!"}};
    for (const auto &[edit, text] : optional) {
        if (!IsOptionalAddressOk(edit->text())) {
            VrMessageBox(this, QString::fromLatin1(text), QStringLiteral("Waring"));
            edit->clear();
        }
        edit->setText(OptionalAddressToSend(edit->text()));
    }
    ui->Ed_PoolEnd->setText(PoolEndFromCount(ui->Ed_IPAF->text(), ui->Ed_PoolRan->text().toInt()));

    bool ok = VrApplyShowingErrors(m_server);
    if (ok) {
        // The domain name is written when the user could edit it.
        const bool domain = ui->Ed_DomNa->isEnabled() || !domainStatusKnown();
        const QString selection = domain ? selectionOf({PoolStart, PoolEnd, PoolMask, PoolGateway, PoolWins, PoolDns,
                                                        PoolDomain, PoolLease})
                                         : selectionOf({PoolStart, PoolEnd, PoolMask, PoolGateway, PoolWins, PoolDns,
                                                        PoolLease});
        ok = VrApplyShowingErrors(m_pool, true, selection);
    }
    if (ok && VrLoadShowingErrors(m_pool))
        poolRead();
    qCInfo(lcNetwork) << "DHCP pool saved:" << ok;
    result(ui->StatusBar1, ok ? QStringLiteral("Setting Success!") : QStringLiteral("Setting Error!"));
}

void TFM_DHCP::loadStatic()
{
    m_staticBusy = true;
    result(ui->StatusBar2, kListing);
    if (!VrLoadShowingErrors(m_static)) {
        // Nothing went out: no answer will end the busy state.
        VrSNMPError failed;
        failed.Code = -1;
        staticRead(failed);
    }
}

void TFM_DHCP::staticRead(const VrSNMPError &r)
{
    m_staticBusy = false;
    m_writing = false;
    ui->Bt_Refresh->setEnabled(true);
    ui->Bt_Cancel->setEnabled(true);
    ui->Bt_Apply->setEnabled(true);
    ui->Btn_Add->setEnabled(true);
    ui->Btn_Del->setEnabled(false);
    if (r.Code != 0) {
        result(ui->StatusBar2, QStringLiteral("Setting Error!"));
        if (!r.Message.isEmpty())
            m_static->ShowStatus(r.Message);
    }
    if (!clientMode())
        ui->CB_Fuction2->setCurrentIndex(ui->CB_Fuction1->currentIndex());

    QSignalBlocker quiet(ui->User_ListView);
    ui->User_ListView->clear();
    QTreeWidget *table = ui->LV_StaticPoolSet;
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *lease = table->topLevelItem(row);
        if (lease->text(StIp) == kZero)
            continue;
        auto *shown = new QTreeWidgetItem(ui->User_ListView,
                                          {lease->text(StMac), lease->text(StIp), lease->text(StHostName)});
        shown->setData(0, Qt::UserRole, row);
    }
    selectFreeRow();
    applyRules();
    if (r.Code == 0)
        result(ui->StatusBar2, QStringLiteral("Get OK!"));
}

// Back to adding: the first free row, with the pool's settings as a start.
void TFM_DHCP::selectFreeRow()
{
    m_editRow = -1;
    QTreeWidget *table = ui->LV_StaticPoolSet;
    table->clearSelection();
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        if (table->topLevelItem(row)->text(StIp) == kZero) {
            table->topLevelItem(row)->setSelected(true);
            break;
        }
    }
    ui->ED_StaticAssignIP->clear();
    ui->ED_StaticAssignMAC->clear();
    ui->ED_StaticHostName->clear();
    ui->ED_StaticSubMask->setText(ui->Ed_SubMask->text());
    ui->ED_StaticDNS->setText(ui->Ed_DNS->text());
    ui->ED_StaticGateway->setText(ui->Ed_Gateway->text());
    ui->ED_StaticWins->setText(ui->Ed_Wins->text());
    ui->ED_StaticDoname->setText(ui->Ed_DomNa->text());
}

void TFM_DHCP::leaseClicked()
{
    const QList<QTreeWidgetItem *> selected = ui->User_ListView->selectedItems();
    if (selected.isEmpty()) {
        ui->Btn_Del->setEnabled(false);
        selectFreeRow();
        return;
    }
    // The lease's own row of the table, found by its MAC.
    const QString mac = selected.first()->text(0);
    QTreeWidget *table = ui->LV_StaticPoolSet;
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        if (table->topLevelItem(row)->text(StMac) == mac) {
            table->clearSelection();
            table->topLevelItem(row)->setSelected(true);
            m_editRow = row;
            break;
        }
    }
    ui->Btn_Del->setEnabled(true);
    ui->Btn_Add->setEnabled(true);
}

void TFM_DHCP::SaveLease()
{
    if (m_staticBusy || m_writing)
        return;
    if (!staticEnabled()) {
        const bool ok = VrApplyShowingErrors(m_staticControl);
        result(ui->StatusBar2, ok ? QStringLiteral("Setting Success!") : QStringLiteral("Setting Error!"));
        applyRules();
        return;
    }
    const LeaseInput input{ui->ED_StaticAssignIP->text(), ui->ED_StaticAssignMAC->text(), ui->ED_StaticSubMask->text(),
                           ui->ED_StaticHostName->text(), ui->ED_IpAddr->text()};
    if (const FieldCheck problem = CheckLeaseInput(input)) {
        refuse(*problem, problem->field == QLatin1String("ED_StaticAssignIP"));
        return;
    }
    QStringList macs, addresses;
    QTreeWidget *table = ui->LV_StaticPoolSet;
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        macs << table->topLevelItem(row)->text(StMac);
        addresses << table->topLevelItem(row)->text(StIp);
    }
    const bool adding = m_editRow < 0;
    const auto again = [this] {
        setLeaseControlsEnabled(true);
        ui->Btn_Add->setEnabled(true);
    };
    setLeaseControlsEnabled(false);
    ui->Btn_Add->setEnabled(false);
    ui->Btn_Del->setEnabled(false);
    // The lease being edited keeps its own MAC and address.
    if (DuplicateLeaseRow(macs, input.mac, m_editRow) >= 0) {
        VrMessageBox(this, QStringLiteral("Reject: The MAC has already existed in IP Static pool."),
                     QStringLiteral("Warning"));
        again();
        ui->ED_StaticAssignMAC->setFocus();
        return;
    }
    // Two stations given one address would fight over it.
    if (DuplicateLeaseRow(addresses, input.address, m_editRow) >= 0) {
        VrMessageBox(this, QStringLiteral("Reject: The IP has already existed in IP Static pool."),
                     QStringLiteral("Warning"));
        again();
        ui->ED_StaticAssignIP->setFocus();
        return;
    }
    // A full table has no free row: writing the selected one would replace a lease.
    if (table->selectedItems().isEmpty() || (adding && table->selectedItems().first()->text(StIp) != kZero)) {
        VrMessageBox(this, QStringLiteral("The static pool is full. Delete a lease before adding one."),
                     QStringLiteral("Warning"));
        again();
        return;
    }
    if (!VrApplyShowingErrors(m_staticControl)) {
        result(ui->StatusBar2, QStringLiteral("Setting Error!"));
        again();
        return;
    }
    if (adding)
        ui->CB_StaticStatus->setCurrentIndex(ui->CB_StaticStatus->findText(kEnable));
    // The domain name goes along when the user could edit it, and always with a new lease.
    const bool domain = adding || ui->ED_StaticDoname->isEnabled() || !domainStatusKnown();
    const QString selection = domain ? selectionOf({StStatus, StHostName, StIp, StMac, StMask, StGateway, StDns, StWins,
                                                    StDomain})
                                     : selectionOf({StStatus, StHostName, StIp, StMac, StMask, StGateway, StDns, StWins});
    ui->ED_StaticGateway->setText(OptionalAddressToSend(ui->ED_StaticGateway->text()));
    ui->ED_StaticDNS->setText(OptionalAddressToSend(ui->ED_StaticDNS->text()));
    ui->ED_StaticWins->setText(OptionalAddressToSend(ui->ED_StaticWins->text()));
    m_writing = true;
    if (!VrApplyShowingErrors(m_static, true, selection)) {
        m_writing = false;
        result(ui->StatusBar2, QStringLiteral("Setting Error!"));
        again();
    }
}

void TFM_DHCP::leaseWritten(const VrSNMPError &r)
{
    m_static->ShowStatus(r.Message);
    const QString text = r.Code == 0 ? QStringLiteral("Setting Success!") : QStringLiteral("Setting Error!");
    result(ui->StatusBar1, text);
    result(ui->StatusBar2, text);
    qCInfo(lcNetwork) << "static lease written:" << (r.Code == 0);
    if (r.Code == 0) {
        // The binder reads the table back now; the page stays until it is in.
        m_staticBusy = true;
        return;
    }
    m_writing = false;
    setLeaseControlsEnabled(true);
    ui->Btn_Add->setEnabled(true);
    ui->Btn_Del->setEnabled(m_editRow >= 0);
}

void TFM_DHCP::DeleteLease()
{
    if (m_writing || m_staticBusy || m_editRow < 0 || ui->Lb_Index->text().isEmpty())
        return;
    if (VrMessageBox(this, QStringLiteral("Are you sure that you want to delete this entry?"), QStringLiteral("Warning"),
                     QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    const QStringList index{ui->Lb_Index->text()};
    m_writing = true;
    if (!VrApplyShowingErrors(m_delete, false, QStringLiteral("0"), &index)) {
        m_writing = false;
        result(ui->StatusBar2, QStringLiteral("Setting Error!"));
    }
}

void TFM_DHCP::leaseDeleted(const VrSNMPError &r)
{
    m_writing = false;
    if (r.Code != 0) {
        m_delete->ShowStatus(r.Message);
        result(ui->StatusBar2, QStringLiteral("Setting Error!"));
        return;
    }
    loadStatic();
    result(ui->StatusBar2, QStringLiteral("Delete OK!"));
}

void TFM_DHCP::refreshDone(New_req2Edit *table, VrStatusBar *bar, const VrSNMPError &r)
{
    if (r.Code != 0) {
        ExchangePanel(bar)->setText(r.Message);
        result(bar, QStringLiteral("Setting Error!"));
        return;
    }
    result(bar, QStringLiteral("Setting Sucess!"));
    VrLoadShowingErrors(table);
}

// The visible copy: the MAC first, then the other columns in table order.
void TFM_DHCP::currentRead(QTreeWidget *hidden, QTreeWidget *shown, VrStatusBar *bar, const VrSNMPError &r)
{
    shown->clear();
    if (r.Code != 0) {
        ExchangePanel(bar)->setText(r.Message);
        result(bar, QStringLiteral("Setting Error!"));
        return;
    }
    for (int row = 0; row < hidden->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *lease = hidden->topLevelItem(row);
        QStringList cells{lease->text(1)};
        for (int c = 2; c < hidden->columnCount(); ++c)
            cells << lease->text(c);
        new QTreeWidgetItem(shown, cells);
    }
    result(bar, QStringLiteral("Get OK"));
}
