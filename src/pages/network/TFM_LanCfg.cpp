#include "TFM_LanCfg.h"

#include "NetworkBinders.h"
#include "NetworkRules.h"
#include "NetworkTables.h"
#include "ui_TFM_LanCfg.h"

#include "VrMessageBox.h"
#include "VrStatusBar.h"

Q_LOGGING_CATEGORY(lcNetwork, "qrt.pages.network")

TFM_LanCfg *FM_LanCfg = nullptr;

TFM_LanCfg::TFM_LanCfg(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_LanCfg)
{
    ui->setupUi(this);
    connect(ui->CB_IPFrom, &QComboBox::activated, this, &TFM_LanCfg::showAddressControls);
    connect(ui->BT_LanCfgOk, &QPushButton::clicked, this, &TFM_LanCfg::Save);
    connect(ui->BT_LanCfgCancel, &QPushButton::clicked, this, &TFM_LanCfg::reject);
    bind();
    read();
}

TFM_LanCfg::~TFM_LanCfg() = default;

void TFM_LanCfg::bind()
{
    QLabel *line = ExchangePanel(ui->StatusBar);
    ResultPanel(ui->StatusBar);
    m_apMode = MakeNetworkBinder(this, kLanApModeVars, VrListInstance, 1000, QStringLiteral("Mode"), line, true);
    m_apMode->BindComboBox(0, ui->CB_APMode);
    m_ipType = MakeNetworkBinder(this, kLanIpTypeVars, VrListInstance, 1000, QStringLiteral("IP type"), line, true);
    m_ipType->BindComboBox(0, ui->CB_IPFrom);
    m_wan = MakeNetworkBinder(this, kLanWanVars, VrListInstance, 1000, QStringLiteral("WAN"), line, true);
    m_wan->BindFormat(0, QStringLiteral("%s"), {ui->Edt_WANIP});
    m_wan->BindFormat(1, QStringLiteral("%s"), {ui->ED_WANSubMask});
    m_lan = MakeNetworkBinder(this, kLanAddressVars, VrListInstance, 1000, QStringLiteral("LAN"), line, true);
    m_lan->BindFormat(LanIp, QStringLiteral("%s"), {ui->ED_IpAddr});
    m_lan->BindFormat(LanMask, QStringLiteral("%s"), {ui->ED_SubMask});
    m_lan->BindFormat(LanGateway, QStringLiteral("%s"), {ui->ED_DefGw});
    m_pool = MakeNetworkBinder(this, kLanPoolVars, VrListInstance, 1000, QStringLiteral("DHCP pool"), nullptr, false);
    m_pool->BindFormat(0, QStringLiteral("%s"), {ui->Ed_IPAF});
    m_pool->BindFormat(1, QStringLiteral("%s"), {ui->Ed_IPEND});
    // The static leases are the DHCP page's; this list is attached, never read.
    m_staticList = MakeNetworkBinder(this, kDhcpStaticVars, VrListTable2, 10000, QStringLiteral("Static pool"),
                                     nullptr, false);
    for (QLineEdit *edit : {ui->ED_IpAddr, ui->ED_SubMask, ui->ED_DefGw, ui->Edt_WANIP, ui->ED_WANSubMask,
                            ui->Ed_IPAF, ui->Ed_IPEND})
        edit->setMaxLength(15);
}

void TFM_LanCfg::read()
{
    VrReadTogether together{m_apMode, m_ipType, m_wan, m_pool, m_lan};
    VrLoadShowingErrors(m_apMode);
    VrLoadShowingErrors(m_ipType);
    VrLoadShowingErrors(m_wan);
    VrLoadShowingErrors(m_pool);
    m_staticList->AttachListView(ui->Static_ListView, false);
    if (VrLoadShowingErrors(m_lan)) {
        showAddressControls();
        showAddressesRead();
    }
    // The IP source is the router's own business in router mode.
    ui->CB_IPFrom->setEnabled(!routerMode());
}

bool TFM_LanCfg::dhcpSelected() const
{
    return ui->CB_IPFrom->currentText() == QLatin1String("Dynamic (DHCP)");
}

bool TFM_LanCfg::routerMode() const
{
    return IsRouterMode(ui->CB_APMode->currentIndex());
}

void TFM_LanCfg::showAddressControls()
{
    const bool visible = !dhcpSelected();
    for (QWidget *w : std::initializer_list<QWidget *>{ui->La_IpAddr, ui->ED_IpAddr, ui->La_SubMask, ui->ED_SubMask,
                                                       ui->La_DefGw, ui->ED_DefGw})
        w->setVisible(visible);
}

void TFM_LanCfg::showAddressesRead()
{
    for (QLineEdit *edit : {ui->ED_IpAddr, ui->ED_SubMask, ui->ED_DefGw})
        edit->setText(AddressShown(edit->text()));
}

void TFM_LanCfg::result(const QString &text)
{
    ResultPanel(ui->StatusBar)->setText(text);
}

void TFM_LanCfg::Save()
{
    if (ui->CB_IPFrom->currentIndex() < 0)
        return;
    if (dhcpSelected()) {
        result(VrApplyShowingErrors(m_ipType) ? QStringLiteral("Set OK!") : QStringLiteral("Set Error!"));
        return;
    }
    const LanInput input{ui->ED_IpAddr->text(), ui->ED_SubMask->text(), ui->ED_DefGw->text(), routerMode(),
                         ui->Edt_WANIP->text(), ui->ED_WANSubMask->text()};
    if (const FieldCheck problem = CheckLanInput(input)) {
        VrMessageBox(this, problem->text, problem->title);
        auto *field = findChild<QLineEdit *>(problem->field);
        if (problem->clear)
            field->clear();
        field->setFocus();
        return;
    }
    ui->ED_DefGw->setText(GatewayToSend(ui->ED_DefGw->text()));
    // A refused type leaves the address alone: nothing half-written.
    const bool ok = VrApplyShowingErrors(m_ipType) && VrApplyShowingErrors(m_lan);
    VrLoadShowingErrors(m_lan);
    showAddressesRead();
    qCInfo(lcNetwork) << "LAN settings saved:" << ok;
    result(ok ? QStringLiteral("Set OK!") : QStringLiteral("Set Error!"));
}
