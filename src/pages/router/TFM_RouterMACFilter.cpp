#include "TFM_RouterMACFilter.h"

#include "ui_TFM_RouterMACFilter.h"

#include "RouterList.h"
#include "RouterRules.h"
#include "RouterTables.h"
#include "VrMessageBox.h"
#include "VrPageBinding.h"
#include "VrSNMPRequest2Edits.h"

#include <QRegularExpressionValidator>

TFM_RouterMACFilter *FM_RouterMACFilter = nullptr;

using namespace Router;

namespace {
const QString kFreeMac = QStringLiteral("000000000000");
} // namespace

TFM_RouterMACFilter::TFM_RouterMACFilter(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_RouterMACFilter)
{
    ui->setupUi(this);
    ui->LA_Index->hide();
    ui->LV_UserMACFilter->setColumnWidth(0, 40);

    m_status = MakeRouterBinder(this, kMacFilterStatusVars, VrListInstance, 10000, QStringLiteral("MAC filter"),
                                ui->StatusBar1->panel(1));
    m_status->BindComboBox(0, ui->CB_Telnet);

    m_list = new RouterList(this, kMacFilterListVars, 10000, QStringLiteral("MAC filter"), ui->LV_MACFilter,
                            ui->LV_UserMACFilter, ui->StatusBar1);
    m_list->Table()->BindControl(MacIndex, ui->LA_Index);
    m_list->Table()->BindFormat(MacAddress, QStringLiteral("%h"), {ui->Edt_MACAddress});
    m_list->IsUsed = [](const QStringList &row) { return !row[MacAddress].isEmpty() && row[MacAddress] != kFreeMac; };
    m_list->Texts = [](const QStringList &row) { return QStringList{row[MacIndex], row[MacAddress]}; };
    m_list->Loaded = [this](bool ok) { loaded(ok); };
    m_list->BusyChanged = [this](bool) { applyEnableState(); };
    m_list->Refused = [this] { applyEnableState(); };

    m_add = m_list->ChangeBinder(kMacFilterAddVars, QStringLiteral("MAC filter"));
    m_add->BindFormat(0, QStringLiteral("%h"), {ui->Edt_MACAddress});
    m_delete = m_list->ChangeBinder(kMacFilterDeleteVars, QStringLiteral("MAC filter"));
    m_delete->BindFormat(0, QStringLiteral("%h"), {ui->Edt_MACAddress});
    // Hex digits only; the length is told on Add.
    ui->Edt_MACAddress->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9A-Fa-f]*")), ui->Edt_MACAddress));

    connect(ui->CB_Telnet, &QComboBox::activated, this, &TFM_RouterMACFilter::applyEnableState);
    connect(ui->Bt_Add, &QPushButton::clicked, this, &TFM_RouterMACFilter::Add);
    connect(ui->Bt_Del, &QPushButton::clicked, this, &TFM_RouterMACFilter::Delete);
    connect(ui->Bt_Save, &QPushButton::clicked, this, &TFM_RouterMACFilter::Save);
    connect(ui->Bt_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->LV_UserMACFilter, &QTreeWidget::itemSelectionChanged, this, [this] {
        m_list->SelectVisible(m_list->SelectedVisible());
        applyEnableState();
    });

    // The filter's switch and the list's first read do not depend on each other.
    VrReadTogether together{m_status, m_list->Table()};
    VrLoadShowingErrors(m_status);
    ui->Edt_MACAddress->setMaxLength(kMacLength);
    applyEnableState();
    m_list->Reload();
}

TFM_RouterMACFilter::~TFM_RouterMACFilter() = default;

bool TFM_RouterMACFilter::Busy() const
{
    return m_list->Busy();
}

bool TFM_RouterMACFilter::disabled() const
{
    return ui->CB_Telnet->currentText() == QLatin1String("Disable");
}

void TFM_RouterMACFilter::applyEnableState()
{
    const bool on = !disabled();
    const bool idle = !m_list->Busy();
    ui->Edt_MACAddress->setEnabled(on);
    ui->Bt_Add->setEnabled(on && idle);
    ui->Bt_Del->setEnabled(idle && m_list->SelectedVisible() >= 0);
    ui->Bt_Save->setEnabled(idle);
}

void TFM_RouterMACFilter::loaded(bool)
{
    applyEnableState();
    ui->Edt_MACAddress->clear();
    ui->Edt_MACAddress->setMaxLength(kMacLength);
}

void TFM_RouterMACFilter::Add()
{
    if (m_list->Busy())
        return;
    if (m_list->UsedCount() >= kMaxRules) {
        VrMessageBox(this, QStringLiteral("Maximum Numbers of MAC Access Control Filter List is 25!"),
                     QStringLiteral("Waring"));
        ui->Edt_MACAddress->clear();
        return;
    }
    if (disabled())
        return;
    if (const Check refused = CheckFilterMac(ui->Edt_MACAddress->text(), m_list->UsedColumn(MacAddress))) {
        ShowRefusal(this, *refused);
        return;
    }
    m_list->Send(m_add, QStringLiteral("Set Success"), QStringLiteral("Set error!"));
}

// The address box holds the address of the row picked in the list.
void TFM_RouterMACFilter::Delete()
{
    if (m_list->Busy() || m_list->SelectedVisible() < 0 || ui->Edt_MACAddress->text().size() != kMacLength)
        return;
    m_list->Send(m_delete, QStringLiteral("Set Success"), QStringLiteral("Set error!"));
}

void TFM_RouterMACFilter::Save()
{
    if (m_list->Busy())
        return;
    const bool ok = VrApplyShowingErrors(m_status, false);
    m_list->Result()->setText(ok ? QStringLiteral("Set Ok!") : QStringLiteral("Set error!"));
}
