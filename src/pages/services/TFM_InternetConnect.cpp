#include "TFM_InternetConnect.h"

#include "ServiceBinders.h"
#include "ServiceRules.h"
#include "ServiceTables.h"
#include "TFM_Scheduling.h" // logging category
#include "ui_TFM_InternetConnect.h"

#include "SnmpEventProcessor.h"
#include "VrMessageBox.h"
#include "VrStatusBar.h"

TFM_InternetConnect *FM_InternetConnect = nullptr;

using namespace services;

namespace {

const QString kZero = QStringLiteral("0.0.0.0");

// The connect mode as the device names it, by radio button.
struct ConnectMode {
    const char *device;
    QRadioButton *Ui::TFM_InternetConnect::*button;
};
const ConnectMode kConnectModes[] = {{"Always", &Ui::TFM_InternetConnect::RB_Always},
                                     {"Manual", &Ui::TFM_InternetConnect::RB_Manual},
                                     {"Ondemand", &Ui::TFM_InternetConnect::RB_OnDemand}};

} // namespace

TFM_InternetConnect::TFM_InternetConnect(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_InternetConnect)
{
    ui->setupUi(this);
    connect(ui->CB_Interconntypeshow, &QComboBox::activated, this, [this] { typeChanged(true); });
    connect(ui->CB_PPTPMode, &QComboBox::activated, this, &TFM_InternetConnect::pptpModeChanged);
    connect(ui->CB_PPPoEDNS, &QComboBox::activated, this, &TFM_InternetConnect::pppoeDnsChanged);
    connect(ui->CB_PPPoEMode, &QComboBox::activated, this, &TFM_InternetConnect::pppoeModeChanged);
    connect(ui->Btn_Connect, &QPushButton::clicked, this, &TFM_InternetConnect::Connect);
    connect(ui->Btn_Disconnect, &QPushButton::clicked, this, &TFM_InternetConnect::Disconnect);
    connect(ui->Btn_Apply, &QPushButton::clicked, this, &TFM_InternetConnect::Save);
    connect(ui->Btn_Cancel, &QPushButton::clicked, this, &TFM_InternetConnect::reject);
    bind();

    m_opening = true;
    // Sent at once, the LAN group first: it has the shortest time-out, and a
    // slow device answers in the order it was asked.
    VrReadTogether together{m_lan, m_manual, m_type};
    read(m_manual);
    if (read(m_type))
        m_savedType = m_deviceType = ui->CB_Interconntypeshow->currentIndex();
    read(m_lan);
    typeChanged(false); // reads the settings of the type in force
    m_opening = m_silent = false;
}

// A group read; while the page opens, a device that has not answered is not
// asked again: each further group would wait out its own time-out, and the
// page could not be closed meanwhile.
bool TFM_InternetConnect::read(VrSNMPRequest2Edits *binder)
{
    if (m_silent) {
        binder->SkipLoad();
        return false;
    }
    m_lastError = 0;
    const bool ok = Load(binder);
    m_silent = m_opening && !ok && m_lastError == VrErrTimeout;
    return ok;
}

TFM_InternetConnect::~TFM_InternetConnect() = default;

void TFM_InternetConnect::bind()
{
    QLabel *line = ExchangePanel(ui->StatusBar1);
    ResultPanel(ui->StatusBar1);
    m_manual = MakeBinder(this, kWanManualModeVars, VrListInstance, 10000, QStringLiteral("PPPoE"), line, true);
    m_manual->BindComboBox(0, ui->CB_PppoeManualMode);
    m_type = MakeBinder(this, kWanTypeVars, VrListInstance, 10000, QStringLiteral("Connection type"), line, true);
    m_type->BindComboBox(0, ui->CB_Interconntypeshow);
    m_lan = MakeBinder(this, kWanLanVars, VrListInstance, 1000, QStringLiteral("LAN"), line, true);
    m_lan->BindFormat(0, QStringLiteral("%s"), {ui->Edt_LANIP});
    m_lan->BindFormat(1, QStringLiteral("%s"), {ui->ED_LANSubMask});
    m_wan = MakeBinder(this, kWanAddressVars, VrListInstance, 10000, QStringLiteral("WAN"), line, true);
    m_wan->BindFormat(0, QStringLiteral("%s"), {ui->Edt_StaticIP});
    m_wan->BindFormat(1, QStringLiteral("%s"), {ui->Edt_StaticSubmask});
    m_wan->BindFormat(2, QStringLiteral("%s"), {ui->Edt_StaticGateway});

    m_settings = MakeBinder(this, kWanSettingVars, VrListInstance, 10000, QStringLiteral("Connection"), line, true);
    const std::pair<int, QLineEdit *> edits[] = {
        {WsPrimaryDns, ui->Edt_StaticPDNS},     {WsSecondaryDns, ui->Edt_StaticSDNS},
        {WsHostName, ui->Edt_Dyhostname},       {WsPppoeUser, ui->Edt_PPPoEUser},
        {WsPppoePassword, ui->Edt_PPPoEPassword}, {WsPppoeService, ui->Edt_PPPoEService},
        {WsPppoeIp, ui->Edt_PPPoEIP},           {WsPptpIp, ui->Edt_PPTPIP},
        {WsPptpMask, ui->Edt_PPTPSubmask},      {WsPptpGateway, ui->Edt_PPTPGateway},
        {WsPptpDns, ui->Edt_PPTPDNS},           {WsPptpServer, ui->Edt_PPTPSever},
        {WsPptpAccount, ui->Edt_PPTPAccount},   {WsPptpPassword, ui->Edt_PPTPPassword}};
    for (const auto &[position, edit] : edits)
        m_settings->BindFormat(position, QStringLiteral("%s"), {edit});
    m_settings->BindComboBox(WsPppoeMode, ui->CB_PPPoEMode);
    m_settings->BindComboBox(WsPppoeGetDns, ui->CB_PPPoEDNS);
    m_settings->BindComboBox(WsConnectMode, ui->CB_connectMode);
    m_settings->BindComboBox(WsPptpMode, ui->CB_PPTPMode);

    m_mtu = MakeBinder(this, kWanMtuVars, VrListInstance, 10000, QStringLiteral("MTU"), line, true);
    const QList<QLineEdit *> mtus{ui->Edt_StaticMTU, ui->Edt_DyMTU, ui->Edt_PPPoEMTU, ui->Edt_PPTPMTU};
    for (int i = 0; i < mtus.size(); ++i)
        m_mtu->BindFormat(i, QStringLiteral("%s"), {mtus[i]});

    // Binding an edit to a format lifts its length limit.
    for (QLineEdit *edit : findChildren<QLineEdit *>()) {
        if (edit->objectName().contains(QLatin1String("MTU")))
            edit->setMaxLength(4);
        else if (edit->maximumWidth() <= 150)
            edit->setMaxLength(15);
        else
            edit->setMaxLength(63);
    }
    ui->NetMask->setText(QStringLiteral("255.255.255.0"));
    for (VrSNMPRequest2Edits *binder : {m_manual, m_type, m_lan, m_wan, m_settings, m_mtu})
        VrReportErrorsTo(binder, line, &m_lastError);
}

void TFM_InternetConnect::result(const QString &text)
{
    ResultPanel(ui->StatusBar1)->setText(text);
}

QString TFM_InternetConnect::exchangeText() const
{
    return ExchangePanel(ui->StatusBar1)->text();
}

int TFM_InternetConnect::currentType() const
{
    return ui->CB_Interconntypeshow->currentIndex() + 1;
}

bool TFM_InternetConnect::writeType()
{
    if (Apply(m_type)) {
        m_deviceType = ui->CB_Interconntypeshow->currentIndex();
        return true;
    }
    m_deviceType = -1; // the device may or may not have taken it
    return false;
}

// Only the chosen type's MTU item takes part in reads and writes.
void TFM_InternetConnect::includeMtuOf(int type)
{
    for (int i = 0; i < m_mtu->Request.VarList.Count(); ++i) {
        uint8_t &flags = m_mtu->Request.VarList.Item(i).flags;
        flags = i == type - 1 ? uint8_t(flags & ~VrFlagExcluded) : uint8_t(flags | VrFlagExcluded);
    }
}

void TFM_InternetConnect::typeChanged(bool write)
{
    const int type = currentType();
    if (write && !writeType())
        result(exchangeText());
    // The type picks the MTU item; with it known, the three groups go out at
    // once. A device already found silent is not asked (see read()).
    includeMtuOf(type);
    VrReadTogether together = m_silent ? VrReadTogether{} : VrReadTogether{m_wan, m_settings, m_mtu};
    read(m_wan);
    read(m_settings);
    if (type == WanDynamic) {
        ui->Edt_DyPDNS->setText(ui->Edt_StaticPDNS->text());
        ui->Edt_DySDNS->setText(ui->Edt_StaticSDNS->text());
    } else if (type == WanPppoe) {
        ui->Edt_PPPoEPDNS->setText(ui->Edt_StaticPDNS->text());
        ui->Edt_PPPoESDNS->setText(ui->Edt_StaticSDNS->text());
    }
    read(m_mtu);
    if (type == WanPppoe) {
        for (const ConnectMode &mode : kConnectModes)
            (ui.get()->*mode.button)->setChecked(ui->CB_connectMode->currentText() == QLatin1String(mode.device));
    }
    showTypeGroup();
    pptpModeChanged();
    pppoeDnsChanged();
    pppoeModeChanged();
    copyPasswords();
    emptyZeroAddresses();
}

void TFM_InternetConnect::showTypeGroup()
{
    const int type = currentType();
    ui->GB_Static->setVisible(type == WanStatic);
    ui->GB_Dynamic->setVisible(type == WanDynamic);
    ui->GB_PPPoE->setVisible(type == WanPppoe);
    ui->GB_PPTP->setVisible(type == WanPptp);
    const bool manual = ui->CB_connectMode->currentText() == QLatin1String("Manual");
    ui->Btn_Connect->setVisible(manual);
    ui->Btn_Disconnect->setVisible(manual);
    manualModeChanged();
}

void TFM_InternetConnect::pptpModeChanged()
{
    const bool fixed = ui->CB_PPTPMode->currentText() == QLatin1String("Static");
    for (QLineEdit *edit : {ui->Edt_PPTPIP, ui->Edt_PPTPSubmask, ui->Edt_PPTPGateway, ui->Edt_PPTPDNS})
        edit->setEnabled(fixed);
}

void TFM_InternetConnect::pppoeDnsChanged()
{
    const bool manual = ui->CB_PPPoEDNS->currentText() == QLatin1String("Enter DNS Manually");
    ui->Edt_PPPoEPDNS->setEnabled(manual);
    ui->Edt_PPPoESDNS->setEnabled(manual);
}

void TFM_InternetConnect::pppoeModeChanged()
{
    ui->Edt_PPPoEIP->setEnabled(ui->CB_PPPoEMode->currentText() == QLatin1String("Static PPPoE"));
}

void TFM_InternetConnect::manualModeChanged()
{
    const bool connected = ui->CB_PppoeManualMode->currentText() == QLatin1String("Connected");
    ui->Btn_Connect->setEnabled(!connected);
    ui->Btn_Disconnect->setEnabled(connected);
}

void TFM_InternetConnect::copyPasswords()
{
    ui->Edt_PPPoERetype->setText(ui->Edt_PPPoEPassword->text());
    ui->Edt_PPTPRetype->setText(ui->Edt_PPTPPassword->text());
}

// The device reads unset addresses as 0.0.0.0; the user sees them empty.
void TFM_InternetConnect::emptyZeroAddresses()
{
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        if (edit->text() == kZero)
            edit->clear();
}

void TFM_InternetConnect::setManualMode(const QString &mode)
{
    ui->CB_PppoeManualMode->setCurrentIndex(ui->CB_PppoeManualMode->findText(mode));
    const bool ok = Apply(m_manual);
    Load(m_manual);
    manualModeChanged();
    if (!ok)
        result(exchangeText());
}

void TFM_InternetConnect::Connect()
{
    setManualMode(QStringLiteral("Connected"));
}

void TFM_InternetConnect::Disconnect()
{
    setManualMode(QStringLiteral("Disconnected"));
}

void TFM_InternetConnect::refuse(const ServiceProblem &problem)
{
    VrMessageBox(this, problem.text, problem.caption);
    if (auto *field = findChild<QLineEdit *>(problem.field)) {
        if (problem.clear)
            field->clear();
        field->setFocus();
    }
}

void TFM_InternetConnect::Save()
{
    const auto type = WanType(currentType());
    if (type < WanStatic || type > WanPptp)
        return;
    WanInput in;
    in.type = type;
    in.lanIp = ui->Edt_LANIP->text();
    in.lanMask = ui->ED_LANSubMask->text();
    in.staticIp = ui->Edt_StaticIP->text();
    in.staticMask = ui->Edt_StaticSubmask->text();
    in.staticGateway = ui->Edt_StaticGateway->text();
    in.staticDns1 = ui->Edt_StaticPDNS->text();
    in.staticDns2 = ui->Edt_StaticSDNS->text();
    in.staticMtu = ui->Edt_StaticMTU->text();
    in.hostName = ui->Edt_Dyhostname->text();
    in.dynamicDns1 = ui->Edt_DyPDNS->text();
    in.dynamicDns2 = ui->Edt_DySDNS->text();
    in.dynamicMtu = ui->Edt_DyMTU->text();
    in.pppoeStatic = ui->CB_PPPoEMode->currentText() == QLatin1String("Static PPPoE");
    in.pppoeManualDns = ui->CB_PPPoEDNS->currentText() == QLatin1String("Enter DNS Manually");
    in.pppoeUser = ui->Edt_PPPoEUser->text();
    in.pppoePassword = ui->Edt_PPPoEPassword->text();
    in.pppoeRetype = ui->Edt_PPPoERetype->text();
    in.pppoeIp = ui->Edt_PPPoEIP->text();
    in.pppoeDns1 = ui->Edt_PPPoEPDNS->text();
    in.pppoeDns2 = ui->Edt_PPPoESDNS->text();
    in.pppoeMtu = ui->Edt_PPPoEMTU->text();
    in.pptpStatic = ui->CB_PPTPMode->currentText() == QLatin1String("Static");
    in.pptpIp = ui->Edt_PPTPIP->text();
    in.pptpMask = ui->Edt_PPTPSubmask->text();
    in.pptpGateway = ui->Edt_PPTPGateway->text();
    in.pptpDns = ui->Edt_PPTPDNS->text();
    in.pptpServer = ui->Edt_PPTPSever->text();
    in.pptpAccount = ui->Edt_PPTPAccount->text();
    in.pptpPassword = ui->Edt_PPTPPassword->text();
    in.pptpRetype = ui->Edt_PPTPRetype->text();
    in.pptpMtu = ui->Edt_PPTPMTU->text();
    const WanCheck check = CheckWanInput(in);
    if (check.problem) {
        refuse(*check.problem);
        return;
    }
    for (const auto &[field, text] : check.plan.fills)
        if (auto *edit = findChild<QLineEdit *>(field))
            edit->setText(text);
    if (type == WanPppoe) {
        for (const ConnectMode &mode : kConnectModes)
            if ((ui.get()->*mode.button)->isChecked())
                ui->CB_connectMode->setCurrentIndex(ui->CB_connectMode->findText(QLatin1String(mode.device)));
    }
    includeMtuOf(type);

    bool ok = writeType();
    bool mtu = false;
    if (ok) {
        // The WAN address belongs to the static type; the others get theirs from the line.
        if (type == WanStatic)
            ok = Apply(m_wan);
        QList<int> settings(check.plan.settings.begin(), check.plan.settings.end());
        ok = Apply(m_settings, Selection(settings)) && ok;
        showTypeGroup();
        mtu = Apply(m_mtu);
    }
    qCInfo(lcServices) << "Internet connection of type" << type << "saved:" << (ok && mtu);
    if (ok && mtu) {
        result(QStringLiteral("Save OK!"));
        m_savedType = ui->CB_Interconntypeshow->currentIndex();
        emptyZeroAddresses();
    } else {
        result(QStringLiteral("Set Error!"));
    }
}

void TFM_InternetConnect::done(int r)
{
    if (!m_closing && m_savedType >= 0 && m_deviceType != m_savedType) {
        m_closing = true;
        // The module may be closing while the device is silent: then no write goes out.
        if (SnmpEventProcessor::Global().Abandoned()) {
            qCWarning(lcServices) << "connection type not set back: the module is closing";
        } else {
            ui->CB_Interconntypeshow->setCurrentIndex(m_savedType);
            if (!writeType()) {
                qCWarning(lcServices) << "connection type not set back";
                VrMessageBox(this, QStringLiteral("The saved Internet connection type could not be set back: ")
                                       + exchangeText(),
                             QStringLiteral("Error"));
            }
        }
    }
    QDialog::done(r);
}
