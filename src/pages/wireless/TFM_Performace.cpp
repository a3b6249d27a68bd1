#include "TFM_Performace.h"

#include "FollowContents.h"
#include "TFM_Wirless.h"
#include "TFM_WirlessTables.h"
#include "ui_TFM_Performace.h"

#include "ScaledTimeout.h"
#include "VrCommon.h"
#include "VrMessageBox.h"
#include "VrOptionList.h"
#include "VrPageBinding.h"
#include "VrSNMPError.h"
#include "VrSNMPObjectTable.h"
#include "VrSNMPRequest2Edits.h"

#include <QScopeGuard>
#include <QLoggingCategory>

TFM_Performace *FM_Performace = nullptr;

Q_LOGGING_CATEGORY(lcPerformance, "qrt.pages.performance")

#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

const VrOptionNumDef kPowerDef[] = {{1, "100%"}, {2, "50%"}, {3, "25%"}, {4, "12.5%"}, {0, nullptr}};
const VrOptionNumDef kDisEnDef[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionNumDef kRadioDef[] = {{0, "Off"}, {1, "On"}, {0, nullptr}};
const VrOptionNumDef kAuthDef[] = {
    {1, "opensystem"}, {2, "sharedkey"}, {3, "wpa-psk"}, {4, "wpa-eap"}, {5, "wpa2-psk"},
    {6, "wpa2-eap"}, {7, "wpa-auto-psk"}, {8, "wpa-auto-eap"}, {9, "dot1x"}, {0, nullptr}};
const VrOptionNumDef kCipherDef[] = {{1, "auto"}, {2, "aes"}, {3, "tkip"}, {4, "wep"}, {0, nullptr}};
const VrOptionNumDef kApModeDef[] = {
    {1, "Access Point"}, {2, "WDS With AP"}, {3, "WDS"}, {4, "Wireless Client"}, {0, nullptr}};
const VrOptionNumDef kBandDef[] = {{0, "2.4GHz"}, {1, "5GHz"}, {0, nullptr}};

VrOptionList gPower(kPowerDef);
VrOptionList gDisEn(kDisEnDef);
VrOptionList gRadio(kRadioDef);
VrOptionList gAuth(kAuthDef);
VrOptionList gCipher(kCipherDef);
VrOptionList gApMode(kApModeDef);
VrOptionList gBand(kBandDef);

constexpr int kInt = VrSyntaxInteger;
constexpr int kText = VrSyntaxDisplayString;

const VrSNMPVarDef kCountryVars[] = {VarDef(P "2.1.3.2.1.1.27.1", "dot11Countrycode", kText, 0x02, nullptr), VarEnd};
const VrSNMPVarDef kSecurityVars[] = {
    VarDef(P "2.1.3.3.1.1.1.1", "dot11Authentication", kInt, 0x02, &gAuth),
    VarDef(P "2.1.3.3.1.1.2.1", "dot11Encryption", kInt, 0x02, &gDisEn),
    VarDef(P "2.1.3.3.1.1.3.1", "dot11KeyIndex", kInt, 0x22, nullptr),
    VarEnd};
const VrSNMPVarDef kCipherVars[] = {
    VarDef(P "2.1.3.3.1.1.4.1", "dot11PassPhrase", kText, 0x22, nullptr),
    VarDef(P "2.1.3.3.1.1.5.1", "dot11CipherType", kInt, 0x02, &gCipher),
    VarDef(P "2.1.3.3.1.1.6.1", "dot11GroupKeyUpdateInterval", kInt, 0x22, nullptr),
    VarEnd};
const VrSNMPVarDef kApModeVars[] = {VarDef(P "2.1.3.2.1.1.18.1", "dot11ApMode", kInt, 0x02, &gApMode), VarEnd};
const VrSNMPVarDef kBandVars[] = {VarDef(P "2.1.3.2.1.1.24.1", "dot11Band", kInt, 0x02, &gBand), VarEnd};
const VrSNMPVarDef kMainVars[] = {
    VarDef(P "2.1.3.2.1.1.10.1", "dot11BeaconInterval", kInt, 0x06, nullptr),
    VarDef(P "2.1.3.2.1.1.11.1", "dot11Dtim", kInt, 0x06, nullptr),
    VarDef(P "2.1.3.2.1.1.14.1", "dot11TransmitPower", kInt, 0x06, &gPower),
    VarDef(P "2.1.3.2.1.1.17.1", "dot11Wmm", kInt, 0x06, &gDisEn),
    VarDef(P "2.1.3.2.1.1.22.1", "dot11ShortGI", kInt, 0x06, &gDisEn),
    VarDef(P "2.1.3.2.1.1.23.1", "dot11Igmpsnooping", kInt, 0x06, &gDisEn),
    VarDef(P "2.1.3.2.1.1.15.1", "dot11RadioWave", kInt, 0x06, &gRadio),
    VarDef(P "2.1.3.2.1.1.8.1", "dot11DataRate", kText, 0x06, nullptr),
    VarDef(P "3.3.2.1.1.1.1", "dot11LoadBalance", kInt, 0x06, &gDisEn),
    VarDef(P "3.3.2.1.1.2.1", "dot11UserLimit", kInt, 0x06, nullptr),
    VarDef(P "2.1.3.2.1.1.21.1", "dot11AckTimeout", kInt, 0x06, nullptr),
    // The device's own rate lists: read for reference, never written.
    VarDef(P "2.1.3.2.1.1.20.1", "dot11Band2dot4GHzDataRateList", kText, 0x02, nullptr),
    VarDef(P "2.1.3.2.1.1.25.1", "dot11Band5GHzDataRateList", kText, 0x02, nullptr),
    VarEnd};
const VrSNMPVarDef kWifiModeVars[] = {VarDef(P "2.1.3.2.1.1.9.1", "dot11WifiMode", kInt, 0x06, nullptr), VarEnd};

enum Main {
    MainBeacon, MainDtim, MainPower, MainWmm, MainShortGi, MainIgmp, MainRadio, MainDataRate, MainLoadBalance,
    MainUserLimit, MainAck, MainList24, MainList5
};

const QString kEnable = QStringLiteral("Enable");
const QString kDisable = QStringLiteral("Disable");

} // namespace

TFM_Performace::TFM_Performace(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_Performace)
{
    ui->setupUi(this);
    m_country = makeBinder(kCountryVars, 5000, QStringLiteral("Country"));
    m_country->BindControl(0, ui->ED_Country);
    m_security = makeBinder(kSecurityVars, 5000, QStringLiteral("Security"));
    m_security->BindComboBox(0, ui->CB_dot11Authentication);
    m_security->BindComboBox(1, ui->CB_dot11Encryption);
    m_cipher = makeBinder(kCipherVars, 1000, QStringLiteral("Cipher"));
    m_cipher->BindComboBox(1, ui->CB_Clipher);
    m_apMode = makeBinder(kApModeVars, 10000, QStringLiteral("Mode"));
    m_apMode->BindComboBox(0, ui->CB_ApMode);
    m_main = makeBinder(kMainVars, 10000, QStringLiteral("Performance"));
    m_main->BindFormat(MainBeacon, QStringLiteral("%s"), {ui->Ed_BeInta});
    m_main->BindFormat(MainDtim, QStringLiteral("%s"), {ui->Ed_DTIMa});
    m_main->BindComboBox(MainPower, ui->CB_TranPa);
    m_main->BindComboBox(MainWmm, ui->CB_WMM);
    m_main->BindComboBox(MainShortGi, ui->CB_ShortGI);
    m_main->BindComboBox(MainIgmp, ui->CB_IGMPSnooping);
    m_main->BindComboBox(MainRadio, ui->CB_Radio);
    m_main->BindControl(MainDataRate, ui->Ed_TRate);
    m_main->BindComboBox(MainLoadBalance, ui->CB_Grouping);
    m_main->BindFormat(MainUserLimit, QStringLiteral("%s"), {ui->Ed_ULimit});
    m_main->BindFormat(MainAck, QStringLiteral("%s"), {ui->Ed_AckTimeOut});
    m_main->BindControl(MainList24, ui->Ed_24GDataRateList);
    m_main->BindControl(MainList5, ui->Ed_5GDataRateList);
    m_band = makeBinder(kBandVars, 10000, QStringLiteral("Band"));
    m_band->BindComboBox(0, ui->CB_Wireless);
    m_wifiMode = makeBinder(kWifiModeVars, 10000, QStringLiteral("Wireless mode"));

    // Binding an edit to a format lifts its length limit.
    ui->Ed_BeInta->setMaxLength(4);
    ui->Ed_DTIMa->setMaxLength(2);
    ui->Ed_ULimit->setMaxLength(2);
    ui->Ed_AckTimeOut->setMaxLength(3);

    connect(ui->CB_WMode1, &QComboBox::activated, this, &TFM_Performace::wifiModeChanged);
    connect(ui->CB_WMode2, &QComboBox::activated, this, &TFM_Performace::wifiModeChanged);
    connect(ui->CB_DRate, &QComboBox::currentTextChanged, ui->Ed_TRate, &QLineEdit::setText);
    connect(ui->CB_Grouping, &QComboBox::activated, this, &TFM_Performace::connectionLimitChanged);
    connect(ui->Bt_Apply, &QPushButton::clicked, this, &TFM_Performace::Save);
    connect(ui->Bt_Refresh, &QPushButton::clicked, this, &TFM_Performace::Refresh);
    connect(ui->Bt_Close, &QPushButton::clicked, this, &TFM_Performace::reject);

    VrReadTogether together{m_band, m_country, m_security, m_cipher, m_apMode, m_wifiMode};
    if (!load(m_band) && m_lastError == VrErrTimeout) {
        // A device that does not answer would make every group wait out its
        // time-out: the page stays unread (and writes nothing).
        qCWarning(lcPerformance) << "the device does not answer; reading stopped";
        for (VrSNMPRequest2Edits *group : {m_country, m_security, m_cipher, m_apMode, m_main, m_wifiMode})
            group->SkipLoad();
        return;
    }
    readAll();
}

TFM_Performace::~TFM_Performace() = default;

VrSNMPRequest2Edits *TFM_Performace::makeBinder(const VrSNMPVarDef *table, unsigned timeout,
                                                const QString &description)
{
    return VrMakePageBinder(this, table, VrListInstance, ScaledTimeout(timeout), description, ui->StatusBar1,
                            &m_lastError);
}

bool TFM_Performace::load(VrSNMPRequest2Edits *binder)
{
    // Once the device has not answered in Refresh, the further groups keep
    // what they show: each would wait out its own time-out, and the page could
    // not be closed meanwhile.
    if (m_silent) {
        binder->SkipLoad();
        return false;
    }
    m_lastError = 0;
    const bool ok = VrLoadShowingErrors(binder);
    m_silent = m_reading && !ok && m_lastError == VrErrTimeout;
    m_roundFailed = m_roundFailed || !ok;
    return ok;
}

bool TFM_Performace::apply(VrSNMPRequest2Edits *binder)
{
    m_lastError = 0;
    return VrApplyShowingErrors(binder, true);
}

void TFM_Performace::setIncluded(int item, bool included)
{
    uint8_t &flags = m_main->Request.VarList.Item(item).flags;
    flags = included ? uint8_t(flags & ~VrFlagExcluded) : uint8_t(flags | VrFlagExcluded);
}

// A client has no beacon of its own: its beacon and DTIM are neither read
// nor written.
void TFM_Performace::markBeaconAndDtim()
{
    const bool client = mode() == ApMode::WirelessClient;
    setIncluded(MainBeacon, !client);
    setIncluded(MainDtim, !client);
}

void TFM_Performace::Refresh()
{
    VrReadTogether together{m_country, m_security, m_cipher, m_apMode, m_wifiMode};
    readAll();
}

// The AP mode is read before the main group, so that a client's beacon and
// DTIM stay out of that read; the band too, since the radio-mode list, the
// data rates and the ACK range follow it. The other groups ask the same
// whatever the answers (the band picks only how the radio mode shows), so
// the caller sends them ahead; the band and the main group go out together
// once the mode is in.
void TFM_Performace::readAll()
{
    m_reading = true;
    m_silent = m_roundFailed = false;
    const auto done = qScopeGuard([this] { m_reading = m_silent = false; });
    load(m_country);
    load(m_security);
    load(m_cipher);
    load(m_apMode);
    markBeaconAndDtim();
    // A device that fell silent is asked nothing more.
    const VrReadTogether afterMode = m_silent ? VrReadTogether{} : VrReadTogether{m_band, m_main};
    load(m_band);
    m_forceRate = false;
    const bool mainRead = load(m_main);

    const bool b5 = band5();
    ui->Label_Ack->setText(b5 ? QStringLiteral("Ack Time Out (5GHz, 50~200)")
                              : QStringLiteral("Ack Time Out (2.4GHz, 64~200)"));
    ui->CB_WMode1->setVisible(!b5);
    ui->CB_WMode2->setVisible(b5);
    m_wifiMode->Unbind(0);
    m_wifiMode->BindPart(0, 0, VrSyntaxInteger, &WlWifiModeOptions(b5), modeCombo());
    const bool modeRead = load(m_wifiMode);
    wifiModeChanged();

    applyEnabling();
    applySecurity();
    // A failed read has said so in the status bar; that stays.
    if (mainRead && modeRead && !m_roundFailed)
        ui->StatusBar1->setSimpleText(QStringLiteral("Get OK!"));
    FollowContents();
}

void TFM_Performace::wifiModeChanged()
{
    QComboBox *modes = modeCombo();
    if (modes->currentIndex() < 0)
        modes->setCurrentIndex(0);
    const QString modeText = modes->currentText();
    const bool n = IsNMode(modeText);
    const bool b5 = band5();
    const bool client = mode() == ApMode::WirelessClient;
    const QString rateRead = ui->Ed_TRate->text();

    const QStringList rates = DataRateEntries(b5, n);
    QComboBox *rate = ui->CB_DRate;
    rate->clear();
    rate->addItems(rates);
    m_forceRate = modes->currentIndex() == 0;
    rate->setCurrentIndex(n || m_forceRate ? 0 : DataRateIndex(rates, rateRead));
    // On 5 GHz only "802.11a Only" lets the rate be chosen.
    const bool rateFree = !n && !m_forceRate && (!b5 || modeText == QLatin1String("802.11a Only"));
    if (!rateFree)
        rate->setCurrentIndex(0);
    rate->setEnabled(rateFree && !client);

    if (n && !client) {
        ui->CB_ShortGI->setEnabled(true);
    } else {
        TFM_Wirless::selectText(ui->CB_ShortGI, kDisable);
        ui->CB_ShortGI->setEnabled(false);
    }
}

void TFM_Performace::connectionLimitChanged()
{
    ui->Ed_ULimit->setEnabled(ui->CB_Grouping->isEnabled() && ui->CB_Grouping->currentText() == kEnable);
}

void TFM_Performace::applyEnabling()
{
    const PerformanceEnabling on = PerformanceEnablingFor(mode());
    ui->CB_WMode1->setEnabled(on.radio);
    ui->CB_WMode2->setEnabled(on.radio);
    ui->Ed_BeInta->setEnabled(on.radio);
    ui->Ed_DTIMa->setEnabled(on.radio);
    if (!on.radio) {
        ui->CB_DRate->setEnabled(false);
        ui->CB_ShortGI->setEnabled(false);
    }
    ui->CB_IGMPSnooping->setEnabled(on.igmp);
    ui->CB_Grouping->setEnabled(on.connectionLimit);
    connectionLimitChanged();
}

void TFM_Performace::applySecurity()
{
    if (!NOnlyExcluded(ui->CB_dot11Authentication->currentText(), ui->CB_dot11Encryption->currentText(),
                       ui->CB_Clipher->currentText()))
        return;
    for (QComboBox *modes : {ui->CB_WMode1, ui->CB_WMode2}) {
        const QString selected = modes->currentText();
        const int at = modes->findText(NOnlyText);
        if (at >= 0)
            modes->removeItem(at);
        modes->setCurrentIndex(std::max(0, modes->findText(selected)));
    }
    wifiModeChanged();
    applyEnabling();
}

void TFM_Performace::Save()
{
    const ApMode m = mode();
    const bool client = m == ApMode::WirelessClient;
    const bool n = IsNMode(modeCombo()->currentText());
    ui->Ed_TRate->setText(n ? QStringLiteral("0") : ui->CB_DRate->currentText());

    PerformanceInput in;
    in.client = client;
    in.band5 = band5();
    in.beacon = ui->Ed_BeInta->text();
    in.dtim = ui->Ed_DTIMa->text();
    in.userLimit = ui->Ed_ULimit->text();
    in.ackTimeout = ui->Ed_AckTimeOut->text();
    if (const Check problem = CheckPerformance(in)) {
        VrMessageBox(this, problem->text, problem->title);
        if (auto *field = findChild<QLineEdit *>(problem->field)) {
            field->clear();
            field->setFocus();
        }
        return;
    }

    const PerformanceWrites w = PerformanceWritesFor(m, ui->CB_Grouping->currentText() == kEnable);
    // The data rate and short GI shown follow the radio mode: with the mode
    // unread they are no values of the device either.
    const bool modeRead = m_wifiMode->WasRead();
    markBeaconAndDtim();
    setIncluded(MainShortGi, w.shortGi && modeRead);
    setIncluded(MainDataRate, w.dataRate && modeRead);
    setIncluded(MainIgmp, w.igmp);
    setIncluded(MainLoadBalance, w.connectionLimit);
    setIncluded(MainUserLimit, w.userLimit);
    qCInfo(lcPerformance) << "save: mode" << int(m) << "data rate" << (w.dataRate ? ui->Ed_TRate->text() : QString());
    bool ok = apply(m_main);
    // Both groups must take the settings before the page says so.
    if (ok && w.wifiMode)
        ok = apply(m_wifiMode);
    for (int item : {MainShortGi, MainDataRate, MainIgmp, MainLoadBalance, MainUserLimit})
        setIncluded(item, true);
    markBeaconAndDtim();
    ui->StatusBar1->setSimpleText(ok ? QStringLiteral("Save OK!") : QStringLiteral("Set Error!"));
}

QComboBox *TFM_Performace::modeCombo() const
{
    return band5() ? ui->CB_WMode2 : ui->CB_WMode1;
}

ApMode TFM_Performace::mode() const
{
    const int value = ApModeFromText(ui->CB_ApMode->currentText());
    return value ? ApMode(value) : ApMode::AccessPoint;
}

bool TFM_Performace::band5() const
{
    return ui->CB_Wireless->currentText() == QLatin1String("5GHz");
}
