#include "TFM_WLANPart.h"

#include "WirelessSecurity.h"
#include "ui_TFM_WLANPart.h"

#include "ScaledTimeout.h"
#include "VrCommon.h"
#include "VrMessageBox.h"
#include "VrOptionList.h"
#include "VrPageBinding.h"
#include "VrSNMPError.h"
#include "VrSNMPObjectTable.h"
#include "VrSNMPRequest2Edits.h"

#include <QLoggingCategory>

#include <algorithm>

TFM_WLANPart *FM_WLANPart = nullptr;

Q_LOGGING_CATEGORY(lcWlanPartition, "qrt.pages.wlanpartition")

#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

const VrOptionNumDef kDisEnDef[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionNumDef kBandDef[] = {{0, "2.4GHz"}, {1, "5GHz"}, {0, nullptr}};
const VrOptionNumDef kApModeDef[] = {
    {1, "Access Point"}, {2, "WDS With AP"}, {3, "WDS"}, {4, "Wireless Client"}, {0, nullptr}};

VrOptionList gDisEn(kDisEnDef);
VrOptionList gBand(kBandDef);
VrOptionList gApMode(kApModeDef);

constexpr int kInt = VrSyntaxInteger;
// What a 1366-pixel screen leaves for the page beside its frame.
constexpr int kWidestPage = 1300;

const VrSNMPVarDef kBandVars[] = {VarDef(P "2.1.3.2.1.1.24.1", "dot11Band", kInt, 0x02, &gBand), VarEnd};
const VrSNMPVarDef kMultiSsidVars[] = {VarDef(P "3.3.3.1.1.1.1", "dot11MssidState", kInt, 0x02, &gDisEn), VarEnd};
const VrSNMPVarDef kApModeVars[] = {VarDef(P "2.1.3.2.1.1.18.1", "dot11ApMode", kInt, 0x02, &gApMode), VarEnd};
const VrSNMPVarDef kPartitionVars[] = {
    VarDef(P "2.1.3.3.3.1.1.1.1", "dot11InternalStationConnection", kInt, 0x06, &gDisEn),
    VarDef(P "2.1.3.3.3.1.1.2.1", "dot11EthernetToWlanAccess", kInt, 0x06, &gDisEn),
    VarEnd};
const VrSNMPVarDef kLinkVars[] = {VarDef(P "3.3.2.1.1.3.1", "dot11LinkIntegrate", kInt, 0x06, &gDisEn), VarEnd};

} // namespace

TFM_WLANPart::TFM_WLANPart(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_WLANPart)
{
    ui->setupUi(this);
    m_band = makeBinder(kBandVars, 10000, QStringLiteral("Band"));
    m_band->BindComboBox(0, ui->CB_WBand);
    m_multiSsid = makeBinder(kMultiSsidVars, 10000, QStringLiteral("Multi-SSID"));
    m_multiSsid->BindComboBox(0, ui->CB_MultiState);
    m_apMode = makeBinder(kApModeVars, 10000, QStringLiteral("Mode"));
    m_apMode->BindComboBox(0, ui->CB_ApMode);
    m_partition = makeBinder(kPartitionVars, 500, QStringLiteral("WLAN partition"));
    m_partition->BindComboBox(0, ui->CB_StationConnection);
    m_partition->BindComboBox(1, ui->CB_WLANAccess);
    m_link = makeBinder(kLinkVars, 500, QStringLiteral("Link integrity"));
    m_link->BindComboBox(0, ui->CB_Connect);

    connect(ui->CB_WLANAccess, &QComboBox::activated, this, &TFM_WLANPart::wlanAccessChanged);
    connect(ui->Btn_Apply, &QPushButton::clicked, this, &TFM_WLANPart::Save);
    connect(ui->Btn_Refresh, &QPushButton::clicked, this, &TFM_WLANPart::Refresh);
    connect(ui->Btn_Close, &QPushButton::clicked, this, &TFM_WLANPart::reject);

    connect(ui->StatusBar1, &QStatusBar::messageChanged, this, &TFM_WLANPart::fitStatus);

    // A device that does not answer would make every further group wait out
    // its time-out: those are left unread (and so are not written either).
    // None depends on another's answer, so all go out at once.
    VrReadTogether together{m_band, m_multiSsid, m_apMode, m_partition, m_link};
    bool silent = !load(m_band) && m_lastError == VrErrTimeout;
    ui->CB_WBand->setEnabled(false);
    for (VrSNMPRequest2Edits *group : {m_multiSsid, m_apMode, m_partition, m_link}) {
        if (silent)
            group->SkipLoad();
        else
            silent = !load(group) && m_lastError == VrErrTimeout;
    }
    if (silent)
        qCWarning(lcWlanPartition) << "the device does not answer; reading stopped";
    applyApModeRule();
}

TFM_WLANPart::~TFM_WLANPart() = default;

VrSNMPRequest2Edits *TFM_WLANPart::makeBinder(const VrSNMPVarDef *table, unsigned timeout, const QString &description)
{
    return VrMakePageBinder(this, table, VrListInstance, ScaledTimeout(timeout), description, ui->StatusBar1,
                            &m_lastError);
}

bool TFM_WLANPart::load(VrSNMPRequest2Edits *binder)
{
    m_lastError = 0;
    return VrLoadShowingErrors(binder);
}

bool TFM_WLANPart::apply(VrSNMPRequest2Edits *binder)
{
    m_lastError = 0;
    return VrApplyShowingErrors(binder, true);
}

// A client is a station itself: it has no stations to partition.
void TFM_WLANPart::applyApModeRule()
{
    const bool client = ApModeFromText(ui->CB_ApMode->currentText()) == int(ApMode::WirelessClient);
    for (QWidget *control : {ui->CB_StationConnection, ui->CB_WLANAccess, ui->CB_Connect})
        control->setEnabled(!client);
}

// A status line names the exchange, its outcome and the time: longer than
// the switches are wide. The page widens to show it whole (it never narrows
// again, so that it does not jump with every line).
void TFM_WLANPart::fitStatus(const QString &line)
{
    QStatusBar *bar = ui->StatusBar1;
    // The bar keeps a few pixels on either side of its message.
    const int needed = bar->fontMetrics().horizontalAdvance(line) + 24;
    if (needed > bar->minimumWidth())
        bar->setMinimumWidth(std::min(needed, kWidestPage));
}

void TFM_WLANPart::wlanAccessChanged()
{
    if (ui->CB_WLANAccess->currentText() != QLatin1String("Disable"))
        return;
    VrMessageBox(this,
                 QStringLiteral("AP will block all Address Resolution Protocol (ARP) packets from Ethernet to "
                                "Wireless, when Ethernet to WLAN Access function is set to disable!"),
                 QStringLiteral("Warning"));
}

void TFM_WLANPart::Save()
{
    const bool ok = apply(m_partition) && apply(m_link);
    ui->StatusBar1->setSimpleText(ok ? QStringLiteral("Setting Success!") : QStringLiteral("Setting Error!"));
    qCInfo(lcWlanPartition) << "save" << (ok ? "accepted" : "failed");
}

// A read that fails keeps its error text in the status bar.
void TFM_WLANPart::Refresh()
{
    if (load(m_partition) && load(m_link))
        ui->StatusBar1->setSimpleText(QStringLiteral("Refresh Ok!"));
}
