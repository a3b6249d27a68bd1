#include "TFM_DevInfo.h"

#include "DevInfoText.h"
#include "VrSNMPObjectTable.h"
#include "ScaledTimeout.h"
#include "VrMessageBox.h"
#include "VrOptionList.h"
#include "VrPageBinding.h"
#include "VrSNMPRequest2Edits.h"
#include "ui_TFM_DevInfo.h"

TFM_DevInfo *FM_DevInfo = nullptr;

namespace {

constexpr unsigned ReadTimeout = 10000; // hundredths of a second
const QString NoAddress = QStringLiteral("0.0.0.0");

const VrOptionNumDef AuthenticationTexts[] = {
    {1, "opensystem"}, {2, "sharedkey"},    {3, "wpa-psk"},      {4, "wpa-eap"}, {5, "wpa2-psk"},
    {6, "wpa2-eap"},   {7, "wpa-auto-psk"}, {8, "wpa-auto-eap"}, {9, "dot1x"},   {0, nullptr}};
const VrOptionNumDef EncryptionTexts[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionNumDef CipherTexts[] = {{1, "AUTO"}, {2, "AES"}, {3, "TKIP"}, {4, "WEP"}, {0, nullptr}};
const VrOptionNumDef KeyEntryTexts[] = {{1, "ascii"}, {2, "hex"}, {0, nullptr}};
const VrOptionNumDef BandTexts[] = {{0, "2.4GHz"}, {1, "5GHz"}, {0, nullptr}};
const VrOptionNumDef ConnectionTexts[] = {{1, "Connected"}, {2, "Disconnected"}, {0, nullptr}};
const VrOptionNumDef IpTypeTexts[] = {
    {1, "Static IP"}, {2, "Dynamic IP(DHCP)"}, {3, "PPPoE"}, {4, "PPTP"}, {0, nullptr}};
VrOptionList AuthenticationOptions(AuthenticationTexts);
VrOptionList EncryptionOptions(EncryptionTexts);
VrOptionList CipherOptions(CipherTexts);
VrOptionList KeyEntryOptions(KeyEntryTexts);
VrOptionList BandOptions(BandTexts);
VrOptionList ConnectionOptions(ConnectionTexts);
VrOptionList IpTypeOptions(IpTypeTexts);

#define P "1.3.6.1.4.1.48213.10.37.37."
const VrSNMPVarDef EthernetObjects[] = {
    VarDef(P "5.1.4.1.1.2.1", "ifIpAddress", VrSyntaxIpAddress, VrFlagRead),
    VarDef(P "5.1.4.1.1.3.1", "ifSubnetMask", VrSyntaxIpAddress, VrFlagRead),
    VarDef(P "5.1.4.1.1.4.1", "ifDefaultGateway", VrSyntaxIpAddress, VrFlagRead),
    VarDef(P "5.1.4.1.1.5.1", "ifMacAddress", VrSyntaxMacAddress, VrFlagRead),
    VarEnd};
const VrSNMPVarDef FirmwareObjects[] = {
    VarDef(P "5.1.1", "deviceInformationFirmwareVersion", VrSyntaxDisplayString, VrFlagRead),
    VarEnd};
const VrSNMPVarDef WirelessObjects[] = {
    VarDef(P "2.1.3.2.1.1.1.1", "dot11Ssid", VrSyntaxDisplayString, VrFlagRead),
    VarDef(P "2.1.3.2.1.1.3.1", "dot11Channel", VrSyntaxInteger, VrFlagRead),
    VarDef(P "2.1.3.2.1.1.8.1", "dot11DataRate", VrSyntaxDisplayString, VrFlagRead),
    VarDef(P "2.1.3.3.1.1.1.1", "dot11Authentication", VrSyntaxInteger, VrFlagRead, &AuthenticationOptions),
    VarDef(P "2.1.3.3.1.1.2.1", "dot11Encryption", VrSyntaxInteger, VrFlagRead, &EncryptionOptions),
    VarDef(P "2.1.3.3.1.1.5.1", "dot11CipherType", VrSyntaxInteger, VrFlagRead, &CipherOptions),
    VarDef(P "2.1.3.3.2.1.2.1", "dot11WepKeyEntryMethod", VrSyntaxInteger, VrFlagRead, &KeyEntryOptions),
    VarDef(P "2.1.3.3.2.1.3.1", "dot11WepKey", VrSyntaxDisplayString, VrFlagRead),
    VarEnd};
const VrSNMPVarDef BandObjects[] = {
    VarDef(P "2.1.3.2.1.1.24.1", "dot11Band", VrSyntaxInteger, VrFlagRead, &BandOptions),
    VarEnd};
const VrSNMPVarDef ApStatusObjects[] = {
    VarDef(P "5.1.2", "deviceInformationCpuUtilization", VrSyntaxInteger, VrFlagRead),
    VarDef(P "5.1.3", "deviceInformationMemoryUtilization", VrSyntaxInteger, VrFlagRead),
    VarEnd};
const VrSNMPVarDef ConnectionStatusObjects[] = {
    VarDef(P "2.2.1.1.2.1.17.1", "ipInformationPppoeManualMode", VrSyntaxInteger, VrFlagRead, &ConnectionOptions),
    VarEnd};
const VrSNMPVarDef ConnectionTypeObjects[] = {
    VarDef(P "2.2.1.1.1.1.3.2", "ipType", VrSyntaxInteger, VrFlagRead, &IpTypeOptions),
    VarEnd};
const VrSNMPVarDef InternetObjects[] = {
    VarDef(P "5.1.4.1.1.9.1", "wanMacAddress", VrSyntaxMacAddress, VrFlagRead),
    VarDef(P "5.1.4.1.1.10.1", "wanIPAddress", VrSyntaxIpAddress, VrFlagRead),
    VarDef(P "5.1.4.1.1.11.1", "wanSubnetMask", VrSyntaxIpAddress, VrFlagRead),
    VarDef(P "5.1.4.1.1.12.1", "wanGateway", VrSyntaxIpAddress, VrFlagRead),
    VarDef(P "5.1.4.1.1.13.1", "wanPrimaryDNS", VrSyntaxIpAddress, VrFlagRead),
    VarDef(P "5.1.4.1.1.14.1", "wanSecondaryDNS", VrSyntaxIpAddress, VrFlagRead),
    VarEnd};
#undef P

void bindEdits(VrSNMPRequest2Edits *binding, const QList<QLineEdit *> &edits)
{
    for (int i = 0; i < edits.size(); ++i)
        binding->BindFormat(i, QStringLiteral("%s"), {edits.at(i)});
}

} // namespace

TFM_DevInfo::TFM_DevInfo(QWidget *parent)
    : QDialog(parent), ui(new Ui::TFM_DevInfo)
{
    ui->setupUi(this);
    ui->GB_Internet->hide();
    ui->GB_APStatus->hide();
    ui->wirelessLayout->setRowVisible(4, false); // the settings behind the security summary

    m_ethernet = binding(EthernetObjects, VrListInstance);
    bindEdits(m_ethernet, {ui->Ed_IPaddr, ui->Ed_SubMask, ui->Ed_Gate, ui->Ed_Mac});
    m_firmware = binding(FirmwareObjects, VrListScalar, false);
    bindEdits(m_firmware, {ui->Ed_Firmware});
    m_wireless = binding(WirelessObjects, VrListInstance);
    bindEdits(m_wireless, {ui->Ed_SSID, ui->Ed_Channel, ui->Ed_DRate});
    m_wireless->BindComboBox(3, ui->CB_Authentication);
    m_wireless->BindComboBox(4, ui->CB_Encryption);
    m_wireless->BindComboBox(5, ui->CB_CipherType);
    m_wireless->BindComboBox(6, ui->CB_WepKeyEntryMethod);
    m_wireless->BindFormat(7, QStringLiteral("%s"), {ui->ED_Key});
    m_band = binding(BandObjects, VrListInstance);
    m_band->BindComboBox(0, ui->CB_Band);
    m_apStatus = binding(ApStatusObjects, VrListScalar);
    bindEdits(m_apStatus, {ui->Ed_Cpu, ui->Ed_Memory});
    m_connectionStatus = binding(ConnectionStatusObjects, VrListInstance);
    m_connectionStatus->BindComboBox(0, ui->CB_Connect);
    m_connectionType = binding(ConnectionTypeObjects, VrListInstance);
    m_connectionType->BindComboBox(0, ui->CB_Interconntype);
    m_internet = binding(InternetObjects, VrListInstance);
    bindEdits(m_internet, {ui->Edt_InterMAC, ui->Edt_IPAddress, ui->Edt_Subnet, ui->Edt_Gateway, ui->Edt_PDNS,
                           ui->Edt_SDNS});

    try {
        readAll();
    } catch (const std::exception &error) {
        ui->StatusBar1->setSimpleText(QString::fromStdString(error.what()));
    }
}

TFM_DevInfo::~TFM_DevInfo()
{
    // A firmware read still out is waited for in a nested event loop: let
    // that happen while the page is whole, not among its children's deaths.
    delete m_firmware;
    delete ui;
}

VrSNMPRequest2Edits *TFM_DevInfo::binding(const VrSNMPVarDef *objects, uint8_t kind, bool synchronous)
{
    auto *b = new VrSNMPRequest2Edits(this);
    b->Request.VarList = VrSNMPVarList(objects, kind, 0);
    b->Asynchronous = !synchronous;
    if (synchronous)
        b->Request.Timeout = ScaledTimeout(ReadTimeout);
    b->SetStatusTarget(ui->StatusBar1);
    b->Request.OnError = [this, b](VrSNMPError &error) {
        m_lastError = error.Code;
        if (error.Code != 0)
            b->ShowStatus(error.Message);
    };
    return b;
}

bool TFM_DevInfo::read(VrSNMPRequest2Edits *binding)
{
    m_lastError = 0;
    binding->Load();
    // Every further read would wait as long again for a device that is gone.
    return m_lastError != VrErrTimeout;
}

void TFM_DevInfo::readAll()
{
    // Every group is read whatever another answered: all go out at once.
    VrReadTogether together{m_ethernet,         m_firmware,       m_wireless, m_band, m_apStatus,
                            m_connectionStatus, m_connectionType, m_internet};
    if (!read(m_ethernet))
        return;
    showSecondaryMacs();
    if (ui->Ed_Gate->text() == NoAddress)
        ui->Ed_Gate->setText(QStringLiteral("N/A"));

    m_firmware->Load();

    if (!read(m_wireless))
        return;
    ui->Ed_Sec->setText(SecurityLevelText(ui->CB_Authentication->currentText(), ui->CB_Encryption->currentText(),
                                          ui->CB_CipherType->currentText(), ui->CB_WepKeyEntryMethod->currentIndex(),
                                          ui->ED_Key->text()));

    if (!read(m_band))
        return;
    ui->GB_Wireless->setTitle(ui->CB_Band->currentIndex() != 0 ? QStringLiteral("Wireless(5GHz)")
                                                                : QStringLiteral("Wireless(2.4GHz)"));

    if (!read(m_apStatus) || !read(m_connectionStatus) || !read(m_connectionType))
        return;
    showConnectionType();

    if (!read(m_internet))
        return;
    for (QLineEdit *edit : {ui->Edt_IPAddress, ui->Edt_Subnet, ui->Edt_Gateway, ui->Edt_PDNS, ui->Edt_SDNS})
        if (edit->text() == NoAddress)
            edit->clear();
}

void TFM_DevInfo::showSecondaryMacs()
{
    const QString mac = ui->Ed_Mac->text();
    ui->LAB_Primary->setText(mac);
    QLabel *const labels[] = {ui->Lab_Seccondary1, ui->Lab_Seccondary7};
    const int increments[] = {2, 6};
    for (int i = 0; i < 2; ++i) {
        bool overflow = false;
        labels[i]->setText(SecondaryMacAddress(mac, increments[i], &overflow));
        if (overflow)
            VrMessageBox(this, QStringLiteral("Invalid MAC!"), QStringLiteral("Warning"));
    }
}

void TFM_DevInfo::showConnectionType()
{
    static const char *const TypeTexts[] = {"Static IP", "DHCP Client", "PPPoE", "PPTP"};
    const int type = ui->CB_Interconntype->currentIndex();
    if (type < 0 || type > 3)
        return; // no value: keep what is shown
    ui->Edt_IPType->setText(QString::fromLatin1(TypeTexts[type]));
    const bool hasConnection = type == 1 || type == 3;
    ui->Edt_Connect->setVisible(hasConnection);
    if (hasConnection)
        ui->Edt_Connect->setText(ui->CB_Connect->currentIndex() == 0 ? QStringLiteral("Connected")
                                                                      : QStringLiteral("Disconnected"));
}
