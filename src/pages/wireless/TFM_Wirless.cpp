#include "TFM_Wirless.h"

#include "FollowContents.h"
#include "TFM_WirlessTables.h"
#include "ui_TFM_Wirless.h"

#include "VrCommon.h"
#include "VrMessageBox.h"
#include "VrOptionList.h"
#include "ScaledTimeout.h"
#include "VrPageBinding.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"

#include <QLoggingCategory>
#include <QScopeGuard>
#include <QTreeWidget>

Q_LOGGING_CATEGORY(lcWireless, "qrt.pages.wireless")

TFM_Wirless *FM_Wirless = nullptr;

namespace {

const QString kDisable = QStringLiteral("Disable");
const QString kWarning = QStringLiteral("Warning");

void setItems(QComboBox *combo, const QStringList &items, int selected)
{
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(selected);
}

// Free rows of the device's fixed-size tables read as an all-zero MAC.
QString usedRowsOnly(int macItem)
{
    return QStringLiteral("$%1<>\"000000000000\"").arg(macItem);
}

} // namespace

TFM_Wirless::TFM_Wirless(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_Wirless)
{
    ui->setupUi(this);

    connect(ui->CB_Band, &QComboBox::activated, this, &TFM_Wirless::bandChanged);
    connect(ui->CB_Applicaiton, &QComboBox::activated, this, &TFM_Wirless::applicationChanged);
    connect(ui->CB_APMode, &QComboBox::activated, this, &TFM_Wirless::apModeChanged);
    connect(ui->CB_SecurityMode, &QComboBox::activated, this, &TFM_Wirless::securityModeChanged);
    connect(ui->CB_WPAMode, &QComboBox::activated, this, [this] { m_wpaModeChoice = ui->CB_WPAMode->currentText(); });
    connect(ui->CB_CipherType, &QComboBox::activated, this, [this] { m_cipherChoice = ui->CB_CipherType->currentText(); });
    connect(ui->CB_DefaultKey, &QComboBox::activated, this, &TFM_Wirless::keyIndexChanged);
    connect(ui->CB_dot11Encryption, &QComboBox::activated, this, &TFM_Wirless::encryptionChanged);
    for (int i = 0; i < 4; ++i) {
        connect(keyType(i), &QComboBox::activated, this, &TFM_Wirless::keyFormatChanged);
        connect(keySize(i), &QComboBox::activated, this, &TFM_Wirless::keyFormatChanged);
    }
    connect(ui->CB_AuSc, &QComboBox::activated, this, &TFM_Wirless::autoScanChanged);
    connect(ui->CB_Chanal, &QComboBox::activated, this, &TFM_Wirless::updateChannelWidth);
    connect(ui->SiteScan, &QPushButton::clicked, this, &TFM_Wirless::siteScan);
    connect(ui->LV_ClientSiteServey, &QTreeWidget::itemClicked, this, &TFM_Wirless::clientSurveyClicked);
    connect(ui->LV_WdsSiteServey, &QTreeWidget::itemClicked, this, &TFM_Wirless::wdsSurveyClicked);
    connect(ui->CBH_CloneMACStatus, &QCheckBox::clicked, this, &TFM_Wirless::cloneStatusChanged);
    connect(ui->CB_MACSource, &QComboBox::activated, this, &TFM_Wirless::cloneSourceChanged);
    connect(ui->Btn_Scan, &QPushButton::clicked, this, &TFM_Wirless::cloneScan);
    connect(ui->LV_CloneMACSurvey, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *row) {
        ui->Edt_MACAddr->setText(row->text(1));
    });
    connect(ui->Bt_Apply, &QPushButton::clicked, this, &TFM_Wirless::Save);
    connect(ui->Bt_Refresh, &QPushButton::clicked, this, &TFM_Wirless::Refresh);
    connect(ui->Bt_Close, &QPushButton::clicked, this, &TFM_Wirless::reject);

    bindAll();
    readAll();
}

TFM_Wirless::~TFM_Wirless() = default;

void TFM_Wirless::selectText(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(combo->findText(text));
}

void TFM_Wirless::reject()
{
    if (!m_scanning)
        QDialog::reject();
}

VrSNMPRequest2Edits *TFM_Wirless::makeBinder(const VrSNMPVarDef *table, int kind, unsigned timeout,
                                             const QString &description)
{
    // Under the time scale like every page, so that tests need not wait out a silent device.
    return VrMakePageBinder(this, table, kind, ScaledTimeout(timeout), description, ui->StatusBar1, &m_lastError);
}

bool TFM_Wirless::load(VrSNMPRequest2Edits *binder)
{
    // Once the device has not answered in a round of reads, the further
    // groups keep what they show: each would wait out its own time-out, and
    // the page could not be closed for minutes.
    if (m_silent) {
        binder->SkipLoad();
        return false;
    }
    const bool ok = VrLoadShowingErrors(binder);
    m_silent = m_reading && !ok && m_lastError == VrErrTimeout;
    m_roundFailed = m_roundFailed || !ok;
    return ok;
}

// Marks a round of reads while it lasts.
auto TFM_Wirless::readingRound()
{
    m_reading = true;
    m_silent = m_roundFailed = false;
    return qScopeGuard([this] { m_reading = m_silent = false; });
}

bool TFM_Wirless::apply(VrSNMPRequest2Edits *binder)
{
    return VrApplyShowingErrors(binder, true);
}

void TFM_Wirless::bindAll()
{
    m_country = makeBinder(kWlCountryVars, VrListInstance, 1000, QStringLiteral("Country"));
    m_country->BindControl(0, ui->Ed_Countrycode);
    m_country->BindControl(0, ui->ED_Country);

    m_vlan = makeBinder(kWlVlanVars, VrListInstance, 10000, QStringLiteral("VLAN"));
    m_vlan->BindComboBox(0, ui->CB_VlanStatus);

    m_mssidTable = makeBinder(kWlMssidTableVars, VrListTable2, 5000, QStringLiteral("Multi-SSID"));
    m_mssidTable->AttachListView(ui->MssidListView, false);

    m_band = makeBinder(kWlBandVars, VrListInstance, 2000, QStringLiteral("Band"));
    m_band->BindComboBox(0, ui->CB_Band);

    m_basic = makeBinder(kWlBasicVars, VrListInstance, 2000, QStringLiteral("Wireless"));
    m_basic->BindFormat(WlSsid, QStringLiteral("%s"), {ui->Ed_SSID});
    m_basic->BindComboBox(WlSsidBroadcast, ui->CB_SsidBroadcast);
    m_basic->BindControl(WlChannel, ui->Ed_Channel);
    m_basic->BindControl(WlChannelListA, ui->Ed_ChanListA);
    m_basic->BindComboBox(WlAutoChannelScan, ui->CB_AuSc);
    m_basic->BindComboBox(WlChannelWidth, ui->CB_ChannelWidth);
    for (int i = 0; i < m_basic->Request.VarList.Count(); ++i)
        setIncluded(m_basic, i, true);

    m_channelDb = makeBinder(kWlChannelDbVars, VrListInstance, 2000, QStringLiteral("Channel"));
    m_channelDb->BindControl(0, ui->Ed_Channeldatabase);

    m_channelLists = makeBinder(kWlChannelListVars, VrListInstance, 2000, QStringLiteral("Channel list"));
    m_channelLists->BindControl(WlListG, ui->Ed_ChanListG);
    m_channelLists->BindControl(WlListG, ui->ED_IndoorChannelList);
    m_channelLists->BindControl(WlListGWds, ui->Ed_ChanListW);
    m_channelLists->BindControl(WlListGWds, ui->ED_IndoorWdsChannelList);
    m_channelLists->BindControl(WlListOutdoor, ui->ED_OutdoorChannelList);
    m_channelLists->BindComboBox(WlApplication, ui->CB_App);

    m_apMode = makeBinder(kWlApModeVars, VrListInstance, 2000, QStringLiteral("Mode"));
    m_wifiMode = makeBinder(kWlWifiModeVars, VrListInstance, 10000, QStringLiteral("Wireless mode"));

    m_mssidState = makeBinder(kWlMssidStateVars, VrListInstance, 1000, QStringLiteral("Multi-SSID"));
    m_mssidState->BindComboBox(0, ui->CB_MultEnable);

    m_modeStatus = makeBinder(kWlModeStatusVars, VrListInstance, 1000, QStringLiteral("Mode"));
    m_modeStatus->BindControl(0, ui->Ed_APModeStatus);

    m_passphrase = makeBinder(kWlPassphraseVars, VrListInstance, 1000, QStringLiteral("Passphrase"));
    m_passphrase->BindFormat(WlPassPhrase, QStringLiteral("%s"), {ui->Ed_Passphrase});
    m_passphrase->BindComboBox(WlCipherType, ui->CB_Clipher);
    m_passphrase->BindFormat(WlGroupKeyInterval, QStringLiteral("%u"), {ui->Ed_UpdateInterval});

    m_radius = makeBinder(kWlRadiusVars, VrListInstance, 1000, QStringLiteral("RADIUS"));
    m_radius->BindFormat(WlRadiusServer, QStringLiteral("%s"), {ui->Edt_RadiusServer});
    m_radius->BindFormat(WlRadiusPort, QStringLiteral("%u{n1x65535}"), {ui->Edt_RadiusPort});
    m_radius->BindFormat(WlRadiusSecret, QStringLiteral("%s"), {ui->Edt_RadiusSecret});
    m_radius->BindComboBox(WlNetProtect, ui->CB_NetProtect);

    m_security = makeBinder(kWlSecurityVars, VrListInstance, 5000, QStringLiteral("Security"));
    m_security->BindComboBox(WlAuthentication, ui->CB_dot11Authentication);
    m_security->BindComboBox(WlKeyIndex, ui->CB_DefaultKey);
    m_security->BindComboBox(WlEncryption, ui->CB_dot11Encryption);

    for (int i = 0; i < 4; ++i) {
        m_keys[i] = makeBinder(kWlWepKeyVars[i], VrListInstance, 5000, QStringLiteral("WEP key %1").arg(i + 1));
        m_keys[i]->BindComboBox(0, keyType(i));
        m_keys[i]->BindFormat(1, QStringLiteral("%s"), {keyEdit(i)});
    }

    m_wdsPeers = makeBinder(kWlWdsPeerVars, VrListInstance, 5000, QStringLiteral("WDS"));
    for (int i = 0; i < WlPeerCount; ++i)
        m_wdsPeers->BindFormat(i, QStringLiteral("%h"), {peerEdit(i)});
    m_wdsPeers->BindComboBox(WlPeerDeleteAll, ui->CB_RemoveMac);
    m_wdsList = makeBinder(kWlWdsListVars, VrListTable2, 5000, QStringLiteral("WDS"));
    m_wdsList->Request.Condition = usedRowsOnly(1);
    m_wdsList->AttachListView(ui->Lv_RemoteMac, false);

    m_siteTrigger = makeBinder(kWlSiteSurveyTriggerVars, VrListInstance, 1000, QStringLiteral("Site survey"));
    m_siteTrigger->BindComboBox(0, ui->CB_SiteScan);
    m_siteSurvey = makeBinder(kWlSiteSurveyVars, VrListTable2, 1000, QStringLiteral("Site survey"));
    m_siteSurvey->Request.Condition = usedRowsOnly(WlSurveyBssid);
    m_siteSurvey->AttachListView(ui->LV_ClientSiteServey, false);
    m_wdsTrigger = makeBinder(kWlWdsSurveyTriggerVars, VrListInstance, 1000, QStringLiteral("Site survey"));
    m_wdsTrigger->BindComboBox(0, ui->CB_WdsSiteScan);
    m_wdsSurvey = makeBinder(kWlWdsSurveyVars, VrListTable2, 1000, QStringLiteral("Site survey"));
    m_wdsSurvey->Request.Condition = usedRowsOnly(WlSurveyBssid);
    m_wdsSurvey->AttachListView(ui->LV_WdsSiteServey, false);
    for (VrSNMPRequest2Edits *binder : {m_siteTrigger, m_siteSurvey, m_wdsTrigger, m_wdsSurvey}) {
        binder->Asynchronous = true;
        binder->Request.OnError = nullptr; // the completions report
    }
    m_siteTrigger->OnApplyDone = m_wdsTrigger->OnApplyDone =
        [this](VrSNMPRequest2Controls *, const VrSNMPError &result) { siteScanTriggered(result); };
    m_siteSurvey->OnLoadDone = m_wdsSurvey->OnLoadDone =
        [this](VrSNMPRequest2Controls *, const VrSNMPError &result) { siteScanFinished(result); };

    m_clone = makeBinder(kWlCloneVars, VrListInstance, 10000, QStringLiteral("MAC clone"));
    m_clone->BindCheckBox(WlCloneStatus, ui->CBH_CloneMACStatus);
    m_clone->BindComboBox(WlCloneSource, ui->CB_MACSource);
    m_clone->BindFormat(WlCloneMac, QStringLiteral("%h"), {ui->Edt_MACAddr});
    m_cloneTrigger = makeBinder(kWlCloneTriggerVars, VrListInstance, 10000, QStringLiteral("MAC clone"));
    m_cloneTrigger->BindComboBox(0, ui->CB_CloneAddrReresh);
    m_cloneSurvey = makeBinder(kWlCloneSurveyVars, VrListTable2, 1000, QStringLiteral("MAC clone"));
    m_cloneSurvey->Request.Condition = usedRowsOnly(1);
    m_cloneSurvey->AttachListView(ui->LV_CloneMACSurvey, false);

    // Binding an edit to a format lifts its length limit; these are the
    // limits the device accepts.
    ui->Ed_SSID->setMaxLength(32);
    ui->Ed_Passphrase->setMaxLength(63);
    ui->Ed_ConfirmPass->setMaxLength(63);
    ui->Ed_UpdateInterval->setMaxLength(7);
    ui->Edt_RadiusServer->setMaxLength(15);
    ui->Edt_RadiusSecret->setMaxLength(64);
    for (int i = 0; i < WlPeerCount; ++i)
        peerEdit(i)->setMaxLength(12);
    ui->Edt_MACAddr->setMaxLength(12);
    for (int i = WlVisiblePeers; i < WlPeerCount; ++i)
        ui->FL_WDS->setRowVisible(i, false);
    // The survey lists have a fixed size; their columns share it.
    for (QTreeWidget *survey : {ui->LV_ClientSiteServey, ui->LV_WdsSiteServey}) {
        int column = 0;
        for (int width : {35, 35, 50, 110, 100, 120})
            survey->setColumnWidth(column++, width);
    }
    ui->LV_CloneMACSurvey->setColumnWidth(0, 60);
}

// The order of the reads matters: the band handler needs the country and the
// channel lists, the security translation needs the mode and multi-SSID state.
// Only the meaning of some answers depends on earlier ones (the band and the
// country pick the mode lists), never the objects asked for, so every group
// goes out at once; the clone survey waits for its trigger.
void TFM_Wirless::readAll()
{
    const auto round = readingRound();
    VrReadTogether together{m_country, m_vlan, m_mssidTable, m_band, m_basic, m_channelDb, m_channelLists,
                            m_apMode, m_wifiMode, m_mssidState, m_modeStatus, m_passphrase, m_radius, m_security,
                            m_keys[0], m_keys[1], m_keys[2], m_keys[3], m_wdsList, m_clone};
    if (!answers(m_country))
        return;
    load(m_vlan);
    load(m_mssidTable);
    load(m_band);
    load(m_basic);
    load(m_channelDb);
    load(m_channelLists);
    bandChanged();

    const bool b5 = band5();
    m_wifiMode->BindPart(0, 0, VrSyntaxInteger, &WlWifiModeOptions(b5), b5 ? ui->CB_WMode2 : ui->CB_WMode1);
    load(m_wifiMode);

    load(m_mssidState);
    load(m_modeStatus);
    updateSiteScanButton();

    load(m_passphrase);
    load(m_radius);
    load(m_security);
    for (VrSNMPRequest2Edits *key : m_keys)
        load(key);
    afterSecurityRead();
    load(m_wdsList);
    afterPeersRead();
    load(m_clone);
    afterCloneRead();

    layoutForCountry();
    layoutByMode();
    keyFormatChanged();
    cloneScan();
}

void TFM_Wirless::Refresh()
{
    const auto round = readingRound();
    VrReadTogether together{m_vlan, m_mssidTable, m_band, m_basic, m_channelDb, m_apMode, m_security,
                            m_keys[0], m_keys[1], m_keys[2], m_keys[3], m_passphrase, m_radius, m_wdsList, m_clone};
    if (!answers(m_vlan))
        return;
    load(m_mssidTable);
    load(m_band);
    load(m_basic);
    load(m_channelDb);
    load(m_apMode);
    takeApModeRead();
    applicationChanged();
    load(m_security);
    for (VrSNMPRequest2Edits *key : m_keys)
        load(key);
    load(m_passphrase);
    load(m_radius);
    afterSecurityRead();
    load(m_wdsList);
    afterPeersRead();
    load(m_clone);
    afterCloneRead();

    layoutByMode();
    keyFormatChanged();
    encryptionChanged();
    // A failed read has said so in the status bar; that stays.
    if (!m_roundFailed)
        ui->StatusBar1->setSimpleText(QStringLiteral("Refresh Ok!"));
}

// A device that does not answer would make every further group wait out its
// own time-out, minutes in all: the page then stays as it is and says why.
bool TFM_Wirless::answers(VrSNMPRequest2Edits *first)
{
    if (load(first) || m_lastError != VrErrTimeout)
        return true;
    qCWarning(lcWireless) << "the device does not answer; reading stopped";
    layoutByMode();
    return false;
}

// What the reads of the security, passphrase, RADIUS and key groups leave
// for the visible controls.
void TFM_Wirless::afterSecurityRead()
{
    ui->Ed_ConfirmPass->setText(ui->Ed_Passphrase->text());
    m_passphraseRead = ui->Ed_Passphrase->text();
    m_intervalRead = ui->Ed_UpdateInterval->text();
    m_cipherChoice = ui->CB_Clipher->currentText();
    if (ui->Edt_RadiusServer->text() == QLatin1String("0.0.0.0"))
        ui->Edt_RadiusServer->clear();
    m_radiusSecretRead = ui->Edt_RadiusSecret->text();

    const VrSNMPVarItem &auth = m_security->Request.VarList.Item(WlAuthentication);
    const SecurityPair pair = SecurityPairOf(auth.options->TextToValue(auth.value).toInt());
    m_authClassRead = pair.authClass;
    m_authChoice.fill(pair.authClass);
    if (!pair.wpaMode.isEmpty())
        m_wpaModeChoice = pair.wpaMode;

    for (int i = 0; i < 4; ++i) {
        const KeyType type = keyType(i)->currentText() == QLatin1String("HEX") ? KeyType::Hex : KeyType::Ascii;
        keySize(i)->setCurrentIndex(Is128BitKey(type, keyEdit(i)->text()) ? 1 : 0);
    }
    ui->Ed_ConfirmKey->clear();
    fillSecurityCombos();
}

// The peers the device holds fill the peer fields, so that a Save (which
// clears the device's list first) keeps them.
void TFM_Wirless::afterPeersRead()
{
    QTreeWidget *list = ui->Lv_RemoteMac;
    for (int i = 0; i < WlPeerCount; ++i)
        peerEdit(i)->setText(i < list->topLevelItemCount() ? list->topLevelItem(i)->text(1) : QString());
}

void TFM_Wirless::afterCloneRead()
{
    if (ui->CB_MACSource->currentIndex() < 0)
        selectText(ui->CB_MACSource, QStringLiteral("Auto"));
    if (ui->Edt_MACAddr->text() == QLatin1String("000000000000"))
        ui->Edt_MACAddr->clear();
}

// A device running as a client cannot survey for WDS peers until its new
// mode is in effect, and a mode read back after a Save may not be in effect
// yet: once seen as a client, the device counts as one while the page is open.
void TFM_Wirless::takeApModeRead()
{
    m_apModeRead = m_apMode->Request.VarList.Item(0).value;
    if (ApModeFromText(m_apModeRead) == int(ApMode::WirelessClient))
        m_clientMode = true;
}

// The device takes only the modes of the list in force, so the binding is
// made anew with the list of the band and country.
void TFM_Wirless::bindApMode()
{
    m_apMode->Unbind(0);
    m_restricted = IsRestrictedBand(country(), band5());
    m_apMode->BindPart(0, 0, VrSyntaxInteger, &WlApModeOptions(m_restricted), ui->CB_APMode);
    load(m_apMode);
    takeApModeRead();
    if (m_restricted && ui->CB_APMode->currentIndex() < 0)
        ui->CB_APMode->setCurrentIndex(0);
}

void TFM_Wirless::bandChanged()
{
    bindApMode();
    const QStringList applications = ApplicationEntries(band5());
    setItems(ui->CB_Applicaiton, applications, int(applications.size()) - 1);
    applicationChanged();
    apModeChanged();
}

void TFM_Wirless::applicationChanged()
{
    QStringList modes = ApModeEntries(country(), band5(), ui->CB_Applicaiton->currentIndex());
    // A router keeps its mode unless the user picks another one.
    if (m_apModeRead == QLatin1String(WlRouterMode))
        modes << m_apModeRead;
    setItems(ui->CB_APMode, modes, EntryIndex(modes, m_apModeRead));
    fillChannels();
}

void TFM_Wirless::fillChannels()
{
    const ChannelList list =
        ChannelListFor(band5(), ui->CB_APMode->currentText(), country(), ui->CB_Applicaiton->currentIndex());
    QString read;
    switch (list) {
    case ChannelList::Band24: read = ui->Ed_ChanListA->text(); break;
    case ChannelList::Band5: read = ui->ED_IndoorChannelList->text(); break;
    case ChannelList::Band5Wds: read = ui->ED_IndoorWdsChannelList->text(); break;
    case ChannelList::Band5Outdoor: read = ui->ED_OutdoorChannelList->text(); break;
    }
    const QStringList channels = ChannelEntries(read, list);
    const bool autoScan = ui->CB_AuSc->currentText() == TextEnable;
    const QString channel = autoScan ? ui->Ed_Channeldatabase->text() : ui->Ed_Channel->text();
    setItems(ui->CB_Chanal, channels, std::max(0, int(channels.indexOf(channel.trimmed()))));
    updateChannelWidth();
}

void TFM_Wirless::apModeChanged()
{
    const ApMode m = mode();
    updateSiteScanButton();
    if ((m == ApMode::Wds || m == ApMode::WirelessClient) && multiSsid()) {
        VrMessageBox(this,
                     QStringLiteral("Multi-SSID will be disabled when QRT-5150 is configured in 'WDS' or "
                                    "'Wireless Client'."),
                     kWarning);
    }
    if (m != ApMode::AccessPoint)
        showVlanWarning();
    fillSecurityCombos();
    ui->GB_WDS->setTitle(m == ApMode::WdsWithAp ? QStringLiteral("WDS with AP") : QStringLiteral("WDS"));
    fillChannels();
    layoutByMode();
    if (m != ApMode::WirelessClient)
        ui->Ed_UpdateInterval->setText(m_intervalRead);
}

void TFM_Wirless::showVlanWarning()
{
    if (m_vlanWarned || m_authClassRead != SecurityText::WpaEnterprise
        || ui->CB_VlanStatus->currentText() != TextEnable || ui->CB_NetProtect->currentText() != TextEnable)
        return;
    m_vlanWarned = true;
    VrMessageBox(this,
                 QStringLiteral("VLAN will be disabled when Authentication is not configured in "
                                "'WPA-Enterprise'."),
                 kWarning);
}

void TFM_Wirless::fillSecurityCombos()
{
    const SecurityChoices choices = SecurityChoicesFor(mode(), multiSsid(), IsRestrictedBand(country(), band5()));
    setItems(ui->CB_SecurityMode, choices.classes, EntryIndex(choices.classes, m_authChoice[family()]));
    setItems(ui->CB_WPAMode, choices.wpaModes, EntryIndex(choices.wpaModes, m_wpaModeChoice));
}

void TFM_Wirless::securityModeChanged()
{
    const QString chosen = ui->CB_SecurityMode->currentText();
    m_authChoice[family()] = chosen;
    if (chosen != SecurityText::WpaEnterprise)
        showVlanWarning();
    layoutByMode();
}

void TFM_Wirless::layoutByMode()
{
    const ApMode m = mode();
    const QString authClass = ui->CB_SecurityMode->currentText();
    const bool wds = m == ApMode::Wds || m == ApMode::WdsWithAp;
    const bool client = m == ApMode::WirelessClient;

    for (QWidget *control : ui->TS_80211->findChildren<QWidget *>())
        control->setEnabled(true);
    ui->CB_Applicaiton->setEnabled(false);
    updateSiteScanButton();

    ui->GB_WDS->setVisible(wds);
    ui->GB_SiteSurvey->setVisible(wds || client);
    ui->LV_WdsSiteServey->setVisible(wds);
    ui->LV_ClientSiteServey->setVisible(client);
    ui->GB_CloneMAC->setVisible(client);
    if (wds) {
        selectText(ui->CB_AuSc, kDisable);
        ui->CB_AuSc->setEnabled(false);
    }
    autoScanChanged();
    if (client) {
        selectText(ui->CB_SsidBroadcast, TextEnable);
        selectText(ui->CB_AuSc, TextEnable);
        selectText(ui->CB_ChannelWidth, QStringLiteral("Auto 20/40 MHz"));
        for (QWidget *locked : {ui->CB_SsidBroadcast, ui->CB_AuSc, ui->CB_ChannelWidth, ui->CB_Chanal})
            locked->setEnabled(false);
    }

    const bool wep = IsWepClass(authClass);
    ui->GB_Key->setVisible(wep);
    ui->GB_Passphrase->setVisible(!wep && !authClass.isEmpty());
    if (authClass.contains(QLatin1String("Share"))) {
        selectText(ui->CB_dot11Encryption, TextEnable);
        ui->CB_dot11Encryption->setEnabled(false);
    }
    if (!wep) {
        const bool enterprise = authClass == SecurityText::WpaEnterprise;
        ui->GB_Passphrase->setTitle(enterprise ? QStringLiteral("RADIUS Server Settings")
                                               : QStringLiteral("Passphrase Settings"));
        ui->GB_Radius->setVisible(enterprise);
        ui->FL_Passphrase->setRowVisible(ui->Ed_Passphrase, !enterprise);
        ui->FL_Passphrase->setRowVisible(ui->Ed_ConfirmPass, !enterprise);
        const QStringList ciphers = CipherEntries(m);
        setItems(ui->CB_CipherType, ciphers, EntryIndex(ciphers, m_cipherChoice));
        ui->CB_CipherType->setEnabled(m != ApMode::Wds);
    }
    ui->CB_WPAMode->setEnabled(SecurityChoicesFor(m, multiSsid(), m_restricted).wpaModeEnabled);
    if (ui->CB_APMode->currentText().contains(QLatin1String("Client")))
        ui->Ed_UpdateInterval->setEnabled(false);

    cloneStatusChanged();
    if (wep) {
        keyIndexChanged();
        encryptionChanged();
    }
    updateChannelWidth();
    // The groups shown change with the mode: the window follows them.
    FollowContents();
}

void TFM_Wirless::layoutForCountry()
{
    ui->FL_Network->setRowVisible(ui->CB_Applicaiton, country().compare(QLatin1String("JP"), Qt::CaseInsensitive) == 0);
}

void TFM_Wirless::keyIndexChanged()
{
    const int selected = selectedKey();
    for (int i = 0; i < 4; ++i) {
        keyEdit(i)->setVisible(i == selected);
        keyType(i)->setVisible(i == selected);
        keySize(i)->setVisible(i == selected);
    }
    ui->Ed_ConfirmKey->setMaxLength(keyEdit(selected)->maxLength());
}

void TFM_Wirless::encryptionChanged()
{
    const bool on = ui->CB_dot11Encryption->currentText() == TextEnable;
    for (int i = 0; i < 4; ++i) {
        keyEdit(i)->setEnabled(on);
        keyType(i)->setEnabled(on);
        keySize(i)->setEnabled(on);
    }
    ui->CB_DefaultKey->setEnabled(on);
    ui->Ed_ConfirmKey->setEnabled(on);
    updateChannelWidth();
}

// The key edits take the length of their type and size.
void TFM_Wirless::keyFormatChanged()
{
    for (int i = 0; i < 4; ++i) {
        const KeyType type = keyType(i)->currentText() == QLatin1String("HEX") ? KeyType::Hex : KeyType::Ascii;
        keyEdit(i)->setMaxLength(KeyLength(type, keySize(i)->currentIndex() == 1));
    }
    ui->Ed_ConfirmKey->setMaxLength(keyEdit(selectedKey())->maxLength());
}

void TFM_Wirless::autoScanChanged()
{
    ui->CB_Chanal->setEnabled(ui->CB_AuSc->currentText() != TextEnable);
}

void TFM_Wirless::updateChannelWidth()
{
    ChannelWidthInputs in;
    in.band5 = band5();
    in.wifiMode = m_wifiMode->Request.VarList.Item(0).value.toInt();
    in.channel = ui->CB_Chanal->currentText();
    in.authClass = ui->CB_SecurityMode->currentText();
    in.encryption = ui->CB_dot11Encryption->currentText() == TextEnable;
    in.country = country();
    if (ChannelWidthLocked(in)) {
        selectText(ui->CB_ChannelWidth, QStringLiteral("20MHz"));
        ui->CB_ChannelWidth->setEnabled(false);
    } else {
        ui->CB_ChannelWidth->setEnabled(ui->CB_SsidBroadcast->isEnabled());
    }
}

void TFM_Wirless::updateSiteScanButton()
{
    const ApMode m = mode();
    const bool wds = m == ApMode::Wds || m == ApMode::WdsWithAp;
    const bool pending = ui->Ed_APModeStatus->text() == QLatin1String("changed");
    ui->SiteScan->setEnabled(!pending && !m_scanning && !(wds && m_clientMode));
}

void TFM_Wirless::cloneStatusChanged()
{
    const bool on = ui->CBH_CloneMACStatus->isChecked();
    if (!on)
        selectText(ui->CB_MACSource, QStringLiteral("Auto"));
    ui->CB_MACSource->setEnabled(on);
    cloneSourceChanged();
}

void TFM_Wirless::cloneSourceChanged()
{
    const bool manual = ui->CBH_CloneMACStatus->isChecked() && ui->CB_MACSource->currentText() == QLatin1String("Manual");
    ui->Edt_MACAddr->setEnabled(manual);
    ui->Btn_Scan->setEnabled(manual);
}

void TFM_Wirless::cloneScan()
{
    selectText(ui->CB_CloneAddrReresh, QStringLiteral("Refresh"));
    if (apply(m_cloneTrigger))
        load(m_cloneSurvey);
}

// The survey runs asynchronously: the trigger, then the walk of the table it
// fills. The page must stay open until the walk has ended.
void TFM_Wirless::siteScan()
{
    const bool wds = mode() != ApMode::WirelessClient;
    VrSNMPRequest2Edits *trigger = wds ? m_wdsTrigger : m_siteTrigger;
    m_scanSurvey = wds ? m_wdsSurvey : m_siteSurvey;
    ui->LV_WdsSiteServey->setVisible(wds);
    ui->LV_ClientSiteServey->setVisible(!wds);
    selectText(wds ? ui->CB_WdsSiteScan : ui->CB_SiteScan, QStringLiteral("refresh"));
    qCInfo(lcWireless) << "site survey started" << (wds ? "(WDS)" : "(client)");
    ui->StatusBar1->setSimpleText(QStringLiteral("Detecting..."));
    setExchangeButtons(false);
    if (!apply(trigger))
        setExchangeButtons(true);
}

void TFM_Wirless::siteScanTriggered(const VrSNMPError &result)
{
    if (result.Code != 0) {
        setExchangeButtons(true);
        ui->StatusBar1->setSimpleText(result.Message);
        return;
    }
    if (!load(m_scanSurvey))
        setExchangeButtons(true);
}

void TFM_Wirless::siteScanFinished(const VrSNMPError &result)
{
    setExchangeButtons(true);
    m_scanSurvey->ShowStatus(result.Code == 0 ? VrSNMPMessage(0) : result.Message);
    qCInfo(lcWireless) << "site survey ended:" << m_scanSurvey->RowCount() << "stations, code" << result.Code;
}

void TFM_Wirless::setExchangeButtons(bool enabled)
{
    m_scanning = !enabled;
    ui->Bt_Apply->setEnabled(enabled);
    ui->Bt_Refresh->setEnabled(enabled);
    ui->Bt_Close->setEnabled(enabled);
    updateSiteScanButton();
}

void TFM_Wirless::clientSurveyClicked(QTreeWidgetItem *row)
{
    ui->Ed_SSID->setText(row->text(WlSurveySsid));
    const QString channel = row->text(WlSurveyCh);
    ui->Ed_Channel->setText(channel);
    const int index = ui->CB_Chanal->findText(channel);
    if (index >= 0)
        ui->CB_Chanal->setCurrentIndex(index);
}

void TFM_Wirless::wdsSurveyClicked(QTreeWidgetItem *row)
{
    for (int i = 0; i < WlVisiblePeers; ++i) {
        QLineEdit *peer = peerEdit(i);
        if (!IsFilledMac(peer->text())) {
            peer->setText(row->text(WlSurveyBssid));
            return;
        }
    }
}

ApMode TFM_Wirless::mode() const
{
    const int value = ApModeFromText(ui->CB_APMode->currentText());
    return value ? ApMode(value) : ApMode::AccessPoint;
}

bool TFM_Wirless::band5() const
{
    return ui->CB_Band->currentText() == QLatin1String("5GHz");
}

QString TFM_Wirless::country() const
{
    return ui->Ed_Countrycode->text().trimmed();
}

bool TFM_Wirless::multiSsid() const
{
    return ui->CB_MultEnable->currentText() == TextEnable;
}

TFM_Wirless::Family TFM_Wirless::family() const
{
    switch (mode()) {
    case ApMode::WdsWithAp: return FamilyWdsWithAp;
    case ApMode::Wds: return FamilyWds;
    default: return FamilyApClient;
    }
}

QLineEdit *TFM_Wirless::keyEdit(int index) const
{
    return std::array{ui->Ed_Key1, ui->Ed_Key2, ui->Ed_Key3, ui->Ed_Key4}[size_t(index)];
}

QComboBox *TFM_Wirless::keyType(int index) const
{
    return std::array{ui->CB_KeyType1, ui->CB_KeyType2, ui->CB_KeyType3, ui->CB_KeyType4}[size_t(index)];
}

QComboBox *TFM_Wirless::keySize(int index) const
{
    return std::array{ui->CB_WepEncryp1, ui->CB_WepEncryp2, ui->CB_WepEncryp3, ui->CB_WepEncryp4}[size_t(index)];
}

QLineEdit *TFM_Wirless::peerEdit(int index) const
{
    return std::array{ui->Ed_ReMAddra0, ui->Ed_ReMAddra1, ui->Ed_ReMAddra2, ui->Ed_ReMAddra3,
                      ui->Ed_ReMAddra4, ui->Ed_ReMAddra5, ui->Ed_ReMAddra6, ui->Ed_ReMAddra7}[size_t(index)];
}

int TFM_Wirless::selectedKey() const
{
    return std::clamp(ui->CB_DefaultKey->currentIndex(), 0, 3);
}
