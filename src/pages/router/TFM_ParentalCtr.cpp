#include "TFM_ParentalCtr.h"

#include "ui_TFM_ParentalCtr.h"

#include "RouterList.h"
#include "RouterRules.h"
#include "RouterTables.h"
#include "VrMessageBox.h"
#include "VrPageBinding.h"
#include "VrSNMPRequest2Edits.h"

TFM_ParentalCtr *FM_ParentalCtr = nullptr;

using namespace Router;

TFM_ParentalCtr::TFM_ParentalCtr(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_ParentalCtr)
{
    ui->setupUi(this);
    ui->LA_Index->hide();
    ui->Edt_WebURLDel->hide();
    ui->LV_WebURLUser->setColumnWidth(0, 40);

    m_status = MakeRouterBinder(this, kParentalStatusVars, VrListInstance, 10000, QStringLiteral("Parental control"),
                                ui->StatusBar1->panel(1));
    m_status->BindComboBox(0, ui->CB_ParentContrl);

    m_list = new RouterList(this, kParentalUrlVars, 10000, QStringLiteral("Parental control"), ui->LV_WebURL,
                            ui->LV_WebURLUser, ui->StatusBar1);
    m_list->Table()->BindControl(UrlIndex, ui->LA_Index);
    m_list->Table()->BindFormat(UrlText, QStringLiteral("%s"), {ui->Edt_WebURL});
    m_list->IsUsed = [](const QStringList &row) { return !row[UrlText].isEmpty(); };
    m_list->Texts = [](const QStringList &row) { return QStringList{row[UrlIndex], row[UrlText]}; };
    m_list->Loaded = [this](bool ok) { loaded(ok); };
    m_list->BusyChanged = [this](bool) { applyEnableState(); };
    m_list->Refused = [this] { applyEnableState(); };

    m_add = m_list->ChangeBinder(kParentalAddVars, QStringLiteral("Parental control"));
    m_add->BindFormat(0, QStringLiteral("%s"), {ui->Edt_WebURL});
    m_delete = m_list->ChangeBinder(kParentalDeleteVars, QStringLiteral("Parental control"));
    m_delete->BindControl(0, ui->Edt_WebURLDel);

    connect(ui->CB_ParentContrl, &QComboBox::activated, this, &TFM_ParentalCtr::applyEnableState);
    connect(ui->Bt_Add, &QPushButton::clicked, this, &TFM_ParentalCtr::Add);
    connect(ui->Bt_Del, &QPushButton::clicked, this, &TFM_ParentalCtr::Delete);
    connect(ui->Bt_Save, &QPushButton::clicked, this, &TFM_ParentalCtr::Save);
    connect(ui->Bt_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->LV_WebURLUser, &QTreeWidget::itemSelectionChanged, this, [this] {
        m_list->SelectVisible(m_list->SelectedVisible());
        applyEnableState();
    });

    // The filter's switch and the list's first read do not depend on each other.
    VrReadTogether together{m_status, m_list->Table()};
    VrLoadShowingErrors(m_status);
    ui->Edt_WebURL->setMaxLength(kUrlLength);
    applyEnableState();
    m_list->Reload();
}

TFM_ParentalCtr::~TFM_ParentalCtr() = default;

bool TFM_ParentalCtr::Busy() const
{
    return m_list->Busy();
}

bool TFM_ParentalCtr::disabled() const
{
    return ui->CB_ParentContrl->currentText() == QLatin1String("Disable");
}

void TFM_ParentalCtr::applyEnableState()
{
    const bool on = !disabled();
    const bool idle = !m_list->Busy();
    ui->Edt_WebURL->setEnabled(on);
    ui->Bt_Add->setEnabled(on && idle);
    ui->Bt_Del->setEnabled(idle && m_list->SelectedVisible() >= 0);
    ui->Bt_Save->setEnabled(idle);
}

bool TFM_ParentalCtr::writeStatus()
{
    return VrApplyShowingErrors(m_status, false);
}

// A filter without websites has nothing to allow or deny: it is switched off.
void TFM_ParentalCtr::loaded(bool ok)
{
    if (ok && m_list->UsedCount() == 0 && !disabled()) {
        ui->CB_ParentContrl->setCurrentIndex(ui->CB_ParentContrl->findText(QStringLiteral("Disable")));
        if (!writeStatus())
            m_list->Result()->setText(QStringLiteral("Set error!"));
    }
    applyEnableState();
    ui->Edt_WebURL->clear();
    ui->Edt_WebURL->setMaxLength(kUrlLength);
}

void TFM_ParentalCtr::Add()
{
    if (m_list->Busy())
        return;
    if (m_list->UsedCount() >= kMaxUrls) {
        VrMessageBox(this, QStringLiteral("Maximum Numbers of WebURL List is 10!"), QStringLiteral("Waring"));
        ui->Edt_WebURL->clear();
        return;
    }
    if (!writeStatus()) {
        m_list->Result()->setText(QStringLiteral("Set error!"));
        return;
    }
    if (disabled())
        return;
    if (const Check refused = CheckUrl(ui->Edt_WebURL->text(), m_list->UsedColumn(UrlText))) {
        ShowRefusal(this, *refused);
        return;
    }
    m_list->Send(m_add, QString(), QStringLiteral("Set error!"));
}

void TFM_ParentalCtr::Delete()
{
    if (m_list->Busy() || m_list->SelectedVisible() < 0 || ui->Edt_WebURL->text().isEmpty())
        return;
    if (VrMessageBox(this, QStringLiteral("Are you sure that you want to delete this Website URL?"),
                     QStringLiteral("Warning"), QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    ui->Edt_WebURLDel->setText(ui->LA_Index->text());
    m_list->Send(m_delete, QString(), QStringLiteral("Set error!"));
}

void TFM_ParentalCtr::Save()
{
    if (m_list->Busy())
        return;
    m_list->Result()->setText(writeStatus() ? QStringLiteral("Set OK!") : QStringLiteral("Set error!"));
}
