#include "TFM_Adnetwork.h"

#include "ui_TFM_Adnetwork.h"

#include "RouterList.h"
#include "RouterTables.h"
#include "VrSNMPRequest2Edits.h"

TFM_Adnetwork *FM_Adnetwork = nullptr;

TFM_Adnetwork::TFM_Adnetwork(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_Adnetwork)
{
    ui->setupUi(this);
    m_upnp = MakeRouterBinder(this, kUpnpVars, VrListScalar, 10000, QStringLiteral("UPnP"), false);
    m_upnp->BindControl(0, ui->CBH_EnalbeUPnP);
    m_wanPing = MakeRouterBinder(this, kWanPingVars, VrListScalar, 10000, QStringLiteral("WAN ping"), false);
    m_wanPing->BindControl(0, ui->CHB_EnableWLANPingRes);
    connect(ui->Bt_Save, &QPushButton::clicked, this, &TFM_Adnetwork::Save);
    connect(ui->Bt_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    QLabel *status = ui->StatusBar1->panel(0);
    const bool upnp = RouterLoad(m_upnp, status);
    const bool ping = RouterLoad(m_wanPing, status);
    if (upnp && ping)
        status->setText(QStringLiteral("Get OK!"));
}

TFM_Adnetwork::~TFM_Adnetwork() = default;

void TFM_Adnetwork::Save()
{
    QLabel *status = ui->StatusBar1->panel(0);
    QLabel *detail = ui->StatusBar1->panel(1);
    status->setText(QStringLiteral("Refresh..."));
    detail->clear();
    // Both are written, also when the first is refused.
    const bool upnp = RouterApply(m_upnp, detail);
    const bool ping = RouterApply(m_wanPing, detail);
    status->setText(upnp && ping ? QStringLiteral("Set OK!") : QStringLiteral("Set Error!"));
}
