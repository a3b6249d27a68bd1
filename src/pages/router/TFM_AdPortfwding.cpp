#include "TFM_AdPortfwding.h"

#include "ui_TFM_AdPortfwding.h"

#include "RouterList.h"
#include "RouterRules.h"
#include "RouterTables.h"
#include "VrMessageBox.h"
#include "VrPageBinding.h"
#include "VrSNMPRequest2Edits.h"
#include "VrStatusBar.h"


TFM_AdPortfwding *FM_AdPortfwding = nullptr;

using namespace Router;

TFM_AdPortfwding::TFM_AdPortfwding(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_AdPortfwding)
{
    ui->setupUi(this);
    for (QWidget *w : std::initializer_list<QWidget *>{ui->LA_Index, ui->ED_IpAddr, ui->Edt_portFrdRuleDel})
        w->hide();
    const int widths[] = {110, 110, 120, 120, 80};
    for (int c = 0; c < 5; ++c)
        ui->LV_UserPortFwdRule->setColumnWidth(c, widths[c]);

    m_router = MakeRouterBinder(this, kRouterAddressVars, VrListInstance, 1000, QStringLiteral("Router address"),
                                ui->StatusBar1->panel(0));
    m_router->BindControl(0, ui->ED_IpAddr);

    m_list = new RouterList(this, kPortForwardVars, 10000, QStringLiteral("Port forwarding"), ui->LV_PortFwdRule,
                            ui->LV_UserPortFwdRule, ui->StatusBar1);
    VrSNMPRequest2Edits *table = m_list->Table();
    table->BindControl(PfIndex, ui->LA_Index);
    table->BindFormat(PfName, QStringLiteral("%s"), {ui->Edt_Name});
    table->BindFormat(PfIp, QStringLiteral("%s"), {ui->Edt_IPAddr});
    table->BindFormat(PfPublicStart, QStringLiteral("%s"), {ui->Edt_PubPortRangeStart});
    table->BindFormat(PfPublicEnd, QStringLiteral("%s"), {ui->Edt_PubPortRangeEnd});
    table->BindFormat(PfPrivateStart, QStringLiteral("%s"), {ui->Edt_PriPortRangeStart});
    table->BindFormat(PfPrivateEnd, QStringLiteral("%s"), {ui->Edt_PriPortRangeEnd});
    table->BindComboBox(PfType, ui->CB_TraType);
    m_list->IsUsed = [](const QStringList &row) {
        return !row[PfIp].isEmpty() && row[PfIp] != QLatin1String("0.0.0.0");
    };
    m_list->Texts = [](const QStringList &row) {
        return QStringList{row[PfName], row[PfIp], RangeText(row[PfPublicStart], row[PfPublicEnd]),
                           RangeText(row[PfPrivateStart], row[PfPrivateEnd]), row[PfType]};
    };
    // Selecting a row enables the bound boxes; the private end stays computed.
    connect(ui->LV_PortFwdRule, &QTreeWidget::itemSelectionChanged, this,
            [this] { ui->Edt_PriPortRangeEnd->setEnabled(false); });
    m_list->Loaded = [this](bool ok) { loaded(ok); };
    m_list->BusyChanged = [this](bool) { updateButtons(); };
    m_list->Refused = [this] { updateButtons(); };

    m_delete = m_list->ChangeBinder(kPortForwardDeleteVars, QStringLiteral("Port forwarding"));
    m_delete->BindControl(0, ui->Edt_portFrdRuleDel);

    ui->Edt_Name->setMaxLength(kNameLength);
    ui->Edt_IPAddr->setMaxLength(15);
    for (QLineEdit *port : {ui->Edt_PubPortRangeStart, ui->Edt_PubPortRangeEnd, ui->Edt_PriPortRangeStart,
                            ui->Edt_PriPortRangeEnd})
        port->setMaxLength(5);
    ui->Edt_PriPortRangeEnd->setEnabled(false);

    connect(ui->Edt_PubPortRangeStart, &QLineEdit::textEdited, this, &TFM_AdPortfwding::publicStartTyped);
    connect(ui->Edt_PubPortRangeEnd, &QLineEdit::textChanged, this, &TFM_AdPortfwding::followPrivateEnd);
    connect(ui->Edt_PriPortRangeStart, &QLineEdit::textChanged, this, &TFM_AdPortfwding::followPrivateEnd);
    connect(ui->Bt_Add, &QPushButton::clicked, this, &TFM_AdPortfwding::Add);
    connect(ui->Bt_Edit, &QPushButton::clicked, this, &TFM_AdPortfwding::Edit);
    connect(ui->Bt_Del, &QPushButton::clicked, this, &TFM_AdPortfwding::Delete);
    connect(ui->Bt_Save, &QPushButton::clicked, this, &TFM_AdPortfwding::Save);
    connect(ui->Bt_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->LV_UserPortFwdRule, &QTreeWidget::itemSelectionChanged, this, [this] {
        m_list->SelectVisible(m_list->SelectedVisible());
        updateButtons();
    });

    // The router's address is needed for the same-network check of every rule.
    // It and the rule table's first read do not depend on each other.
    VrReadTogether together{m_router, m_list->Table()};
    VrLoadShowingErrors(m_router);
    ui->CB_TraType->setCurrentIndex(ui->CB_TraType->findText(QStringLiteral("ANY")));
    m_list->Reload();
}

TFM_AdPortfwding::~TFM_AdPortfwding() = default;

bool TFM_AdPortfwding::Busy() const
{
    return m_list->Busy();
}

void TFM_AdPortfwding::loaded(bool)
{
    m_list->SelectFree();
    clearRule();
    ui->Edt_Name->setMaxLength(kNameLength);
    m_list->LeaveEditMode();
    updateButtons();
}

void TFM_AdPortfwding::clearRule()
{
    for (QLineEdit *box : {ui->Edt_Name, ui->Edt_IPAddr, ui->Edt_PubPortRangeStart, ui->Edt_PubPortRangeEnd,
                           ui->Edt_PriPortRangeStart, ui->Edt_PriPortRangeEnd})
        box->clear();
}

void TFM_AdPortfwding::updateButtons()
{
    const bool idle = !m_list->Busy();
    const bool picked = m_list->SelectedVisible() >= 0;
    ui->Bt_Add->setEnabled(idle);
    ui->Bt_Save->setEnabled(idle);
    ui->Bt_Edit->setEnabled(idle && picked);
    ui->Bt_Del->setEnabled(idle && picked);
}

void TFM_AdPortfwding::publicStartTyped()
{
    const QString start = ui->Edt_PubPortRangeStart->text();
    ui->Edt_PubPortRangeEnd->setText(start);
    ui->Edt_PriPortRangeStart->setText(start);
    followPrivateEnd();
}

void TFM_AdPortfwding::followPrivateEnd()
{
    ui->Edt_PriPortRangeEnd->setText(PrivateEnd(ui->Edt_PubPortRangeStart->text(), ui->Edt_PubPortRangeEnd->text(),
                                                ui->Edt_PriPortRangeStart->text()));
}

void TFM_AdPortfwding::Edit()
{
    if (!m_list->Busy() && m_list->EnterEditMode())
        ui->Edt_PriPortRangeEnd->setEnabled(false);
}

void TFM_AdPortfwding::Add()
{
    if (m_list->Busy())
        return;
    if (!RoomForRule(m_list->UsedCount(), kMaxRules, m_list->Editing())) {
        VrMessageBox(this, QStringLiteral("Maximum Numbers of Port Forwarding Rule is 25!"), QStringLiteral("Waring"));
        return;
    }
    const PortForwardInput input{ui->Edt_Name->text(), ui->Edt_IPAddr->text(), ui->ED_IpAddr->text(),
                                 ui->Edt_PubPortRangeStart->text(), ui->Edt_PubPortRangeEnd->text(),
                                 ui->Edt_PriPortRangeStart->text()};
    if (const Check refused = CheckPortForward(input)) {
        ShowRefusal(this, *refused);
        return;
    }
    followPrivateEnd();
    // A new rule goes to a free row, whatever rule was clicked last; an
    // edited rule back to its own.
    const int row = m_list->TargetRow();
    if (row < 0) {
        VrMessageBox(this, QStringLiteral("Maximum Numbers of Port Forwarding Rule is 25!"), QStringLiteral("Waring"));
        return;
    }
    m_list->TakeRow(row, ui->LA_Index);
    m_list->Send(m_list->Table(), QStringLiteral("Set OK!"), QStringLiteral("Setting Error!"));
}

void TFM_AdPortfwding::Delete()
{
    if (m_list->Busy() || !m_list->EnterEditMode())
        return;
    ui->Edt_portFrdRuleDel->setText(ui->LA_Index->text());
    m_list->Send(m_delete, QStringLiteral("Delete Ok!"), QStringLiteral("Setting Error!"));
}

void TFM_AdPortfwding::Save()
{
    if (!m_list->Busy())
        m_list->Reload();
}
