#include "TFM_Adnetwork.h"

#include "ui_TFM_Adnetwork.h"

#include "RouterList.h"
#include "RouterTables.h"
#include "VrPageBinding.h"
#include "VrSNMPRequest2Edits.h"

TFM_Adnetwork *FM_Adnetwork = nullptr;

TFM_Adnetwork::TFM_Adnetwork(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_Adnetwork)
{
    ui->setupUi(this);
    QLabel *status = ui->StatusBar1->panel(0);
    QLabel *detail = ui->StatusBar1->panel(1);
    m_upnp = MakeRouterBinder(this, kUpnpVars, VrListScalar, 10000, QStringLiteral("UPnP"), detail);
    m_upnp->BindControl(0, ui->CBH_EnalbeUPnP);
    m_wanPing = MakeRouterBinder(this, kWanPingVars, VrListScalar, 10000, QStringLiteral("WAN ping"), detail);
    m_wanPing->BindControl(0, ui->CHB_EnableWLANPingRes);
    connect(ui->Bt_Save, &QPushButton::clicked, this, &TFM_Adnetwork::Save);
    connect(ui->Bt_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    VrReadTogether together{m_upnp, m_wanPing};
    const bool upnp = VrLoadShowingErrors(m_upnp);
    const bool ping = VrLoadShowingErrors(m_wanPing);
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
    const bool upnp = VrApplyShowingErrors(m_upnp, false);
    const bool ping = VrApplyShowingErrors(m_wanPing, false);
    status->setText(upnp && ping ? QStringLiteral("Set OK!") : QStringLiteral("Set Error!"));
}
