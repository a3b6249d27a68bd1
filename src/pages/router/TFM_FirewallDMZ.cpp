#include "TFM_FirewallDMZ.h"

#include "ui_TFM_FirewallDMZ.h"

#include "RouterList.h"
#include "RouterRules.h"
#include "RouterTables.h"
#include "VrMessageBox.h"
#include "VrPageBinding.h"
#include "VrSNMPRequest2Edits.h"

TFM_FirewallDMZ *FM_FirewallDMZ = nullptr;

using namespace Router;

namespace {
const QString kZero = QStringLiteral("0.0.0.0");
} // namespace

TFM_FirewallDMZ::TFM_FirewallDMZ(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_FirewallDMZ)
{
    ui->setupUi(this);
    ui->LA_Index->hide();
    ui->Edt_MACAddressDel->hide();
    const int widths[] = {100, 100, 190, 70, 60, 130, 190, 90};
    for (int c = 0; c < 8; ++c)
        ui->LV_UserFireRules->setColumnWidth(c, widths[c]);

    m_dmz = MakeRouterBinder(this, kDmzVars, VrListScalar, 10000, QStringLiteral("DMZ"), ui->StatusBar1->panel(1));
    m_dmz->BindControl(DmzStatus, ui->CBH_EableDMZ);
    m_dmz->BindFormat(DmzIp, QStringLiteral("%s"), {ui->Edt_DMZIPAddr});
    m_spi = MakeRouterBinder(this, kSpiVars, VrListScalar, 10000, QStringLiteral("SPI"), ui->StatusBar1->panel(1));
    m_spi->BindControl(0, ui->CB_EnableSPI);

    m_list = new RouterList(this, kFirewallRuleVars, 2000, QStringLiteral("Firewall rules"), ui->LV_FireRules,
                            ui->LV_UserFireRules, ui->StatusBar1);
    VrSNMPRequest2Edits *table = m_list->Table();
    table->BindControl(FwIndex, ui->LA_Index);
    table->BindFormat(FwName, QStringLiteral("%s"), {ui->Edt_Name});
    table->BindComboBox(FwSourceInterface, ui->CB_SourInterface);
    table->BindFormat(FwSourceStart, QStringLiteral("%s"), {ui->Edt_SourceIPStart});
    table->BindFormat(FwSourceEnd, QStringLiteral("%s"), {ui->Edt_SourceIPEnd});
    table->BindComboBox(FwProtocol, ui->CB_Protocol);
    table->BindComboBox(FwAction, ui->CB_Action);
    table->BindComboBox(FwDestInterface, ui->CB_DestInterface);
    table->BindFormat(FwDestStart, QStringLiteral("%s"), {ui->Edt_DestIPStart});
    table->BindFormat(FwDestEnd, QStringLiteral("%s"), {ui->Edt_DestIPEnd});
    table->BindFormat(FwPortStart, QStringLiteral("%s"), {ui->Edt_PortRangeStart});
    table->BindFormat(FwPortEnd, QStringLiteral("%s"), {ui->Edt_PortRangeEnd});
    m_list->IsUsed = [](const QStringList &row) { return !row[FwSourceEnd].isEmpty() && row[FwSourceEnd] != kZero; };
    m_list->Texts = [](const QStringList &row) {
        // Rules without ports carry 0~0; a range starting at port 0 is a real one.
        const bool ports = row[FwPortStart] != QLatin1String("0") || row[FwPortEnd] != QLatin1String("0");
        return QStringList{row[FwName],
                           row[FwSourceInterface],
                           RangeText(row[FwSourceStart], row[FwSourceEnd]),
                           row[FwProtocol],
                           row[FwAction],
                           row[FwDestInterface],
                           RangeText(row[FwDestStart], row[FwDestEnd]),
                           ports ? RangeText(row[FwPortStart], row[FwPortEnd]) : QString()};
    };
    m_list->Loaded = [this](bool ok) { loaded(ok); };
    m_list->BusyChanged = [this](bool) { updateButtons(); };
    m_list->Refused = [this] { updateButtons(); };
    m_delete = m_list->ChangeBinder(kFirewallDeleteVars, QStringLiteral("Firewall rules"));
    m_delete->BindControl(0, ui->Edt_MACAddressDel);

    for (QLineEdit *address : {ui->Edt_DMZIPAddr, ui->Edt_SourceIPStart, ui->Edt_SourceIPEnd, ui->Edt_DestIPStart,
                               ui->Edt_DestIPEnd})
        address->setMaxLength(15);
    ui->Edt_PortRangeStart->setMaxLength(5);
    ui->Edt_PortRangeEnd->setMaxLength(5);

    connect(ui->CBH_EableDMZ, &QCheckBox::clicked, this, &TFM_FirewallDMZ::dmzChanged);
    connect(ui->CB_Protocol, &QComboBox::activated, this, &TFM_FirewallDMZ::protocolChanged);
    connect(ui->Bt_Add, &QPushButton::clicked, this, &TFM_FirewallDMZ::Add);
    connect(ui->Bt_Edit, &QPushButton::clicked, this, &TFM_FirewallDMZ::Edit);
    connect(ui->Bt_Del, &QPushButton::clicked, this, &TFM_FirewallDMZ::Delete);
    connect(ui->Bt_Save, &QPushButton::clicked, this, &TFM_FirewallDMZ::Save);
    connect(ui->Bt_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->LV_UserFireRules, &QTreeWidget::itemSelectionChanged, this, [this] {
        m_list->SelectVisible(m_list->SelectedVisible());
        protocolChanged();
        updateButtons();
    });

    // The DMZ, SPI and the rule table's first read do not depend on one another.
    VrReadTogether together{m_dmz, m_spi, m_list->Table()};
    loadDmz();
    VrLoadShowingErrors(m_spi);
    for (QComboBox *combo : {ui->CB_SourInterface, ui->CB_DestInterface, ui->CB_Protocol, ui->CB_Action})
        combo->setCurrentIndex(0);
    ui->Edt_Name->setMaxLength(kNameLength);
    protocolChanged();
    m_list->Reload();
}

TFM_FirewallDMZ::~TFM_FirewallDMZ() = default;

bool TFM_FirewallDMZ::Busy() const
{
    return m_list->Busy();
}

void TFM_FirewallDMZ::loadDmz()
{
    VrLoadShowingErrors(m_dmz);
    if (ui->Edt_DMZIPAddr->text() == kZero)
        ui->Edt_DMZIPAddr->clear();
    dmzChanged();
}

void TFM_FirewallDMZ::dmzChanged()
{
    ui->Edt_DMZIPAddr->setEnabled(ui->CBH_EableDMZ->isChecked());
}

// Ports mean something to TCP and UDP only.
void TFM_FirewallDMZ::protocolChanged()
{
    const bool ports = ProtocolHasPorts(ui->CB_Protocol->currentText());
    ui->Edt_PortRangeStart->setEnabled(ports);
    ui->Edt_PortRangeEnd->setEnabled(ports);
}

void TFM_FirewallDMZ::loaded(bool)
{
    m_list->SelectFree();
    ui->CB_Protocol->setCurrentIndex(0);
    protocolChanged();
    for (QLineEdit *box : {ui->Edt_Name, ui->Edt_SourceIPStart, ui->Edt_SourceIPEnd, ui->Edt_DestIPStart,
                           ui->Edt_DestIPEnd, ui->Edt_PortRangeStart, ui->Edt_PortRangeEnd})
        box->clear();
    m_list->LeaveEditMode();
    updateButtons();
}

void TFM_FirewallDMZ::updateButtons()
{
    const bool idle = !m_list->Busy();
    const bool picked = m_list->SelectedVisible() >= 0;
    ui->Bt_Add->setEnabled(idle);
    ui->Bt_Save->setEnabled(idle);
    ui->Bt_Edit->setEnabled(idle && picked);
    ui->Bt_Del->setEnabled(idle && picked);
}

void TFM_FirewallDMZ::Save()
{
    if (m_list->Busy())
        return;
    const bool enabled = ui->CBH_EableDMZ->isChecked();
    if (const Check refused = CheckDmz(enabled, ui->Edt_DMZIPAddr->text())) {
        ShowRefusal(this, *refused);
        return;
    }
    // A disabled DMZ keeps the host the device has: only the switch is written.
    const bool dmz = VrApplyShowingErrors(m_dmz, false, enabled ? QString() : QStringLiteral("0"));
    const bool spi = dmz && VrApplyShowingErrors(m_spi, false);
    if (dmz && spi) {
        loadDmz();
        m_list->Result()->setText(QStringLiteral("Setting Success!"));
    } else {
        m_list->Result()->setText(QStringLiteral("Setting Error!"));
    }
}

void TFM_FirewallDMZ::Add()
{
    if (m_list->Busy())
        return;
    if (!RoomForRule(m_list->UsedCount(), kMaxRules, m_list->Editing())) {
        VrMessageBox(this, QStringLiteral("Maximum Numbers of Firewall Rules is 25!"), QStringLiteral("Waring"));
        return;
    }
    const FirewallInput input{ui->CB_SourInterface->currentText(), ui->Edt_SourceIPStart->text(),
                              ui->Edt_SourceIPEnd->text(),         ui->CB_DestInterface->currentText(),
                              ui->Edt_DestIPStart->text(),         ui->Edt_DestIPEnd->text(),
                              ui->CB_Protocol->currentText(),      ui->Edt_PortRangeStart->text(),
                              ui->Edt_PortRangeEnd->text()};
    if (const Check refused = CheckFirewallRule(input)) {
        ShowRefusal(this, *refused);
        return;
    }
    const int row = m_list->TargetRow();
    if (row < 0) {
        VrMessageBox(this, QStringLiteral("Maximum Numbers of Firewall Rules is 25!"), QStringLiteral("Waring"));
        return;
    }
    // Without ports the rule carries none, rather than an empty number the
    // device could not take.
    if (!ProtocolHasPorts(input.protocol)) {
        ui->Edt_PortRangeStart->setText(QStringLiteral("0"));
        ui->Edt_PortRangeEnd->setText(QStringLiteral("0"));
    }
    if (!VrApplyShowingErrors(m_spi, false)) {
        m_list->Result()->setText(QStringLiteral("Set Error!"));
        return;
    }
    m_list->TakeRow(row, ui->LA_Index);
    m_list->Send(m_list->Table(), QStringLiteral("Set Success!"), QStringLiteral("Set Error!"));
}

void TFM_FirewallDMZ::Edit()
{
    if (!m_list->Busy())
        m_list->EnterEditMode();
    protocolChanged();
}

void TFM_FirewallDMZ::Delete()
{
    if (m_list->Busy() || !m_list->EnterEditMode())
        return;
    ui->Edt_MACAddressDel->setText(ui->LA_Index->text());
    m_list->Send(m_delete, QStringLiteral("Delete Ok!"), QStringLiteral("Set Error!"));
}
