#include "TLogSetForm.h"

#include "ui_TLogSetForm.h"

#include "AddressValidators.h"
#include "MaintenanceBinders.h"
#include "VrCommon.h"
#include "VrMessageBox.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"

#include <QLabel>

TLogSetForm *LogSetForm = nullptr;

namespace {

const VrOptionNumDef kDisEnDef[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
VrOptionList gDisEn(kDisEnDef);

const VrSNMPVarDef kLogSetVars[] = {
    VarDef(QRT_P "5.4.1", "systemLogSystemLevel", VrSyntaxInteger, 0x06, &gDisEn),
    VarDef(QRT_P "5.4.2", "systemLogWirelessLevel", VrSyntaxInteger, 0x06, &gDisEn),
    VarDef(QRT_P "5.4.3", "systemLogNoticeLevel", VrSyntaxInteger, 0x06, &gDisEn),
    VarDef(QRT_P "5.4.8", "systemLogRemoteLogState", VrSyntaxInteger, 0x06, &gDisEn),
    VarDef(QRT_P "5.4.9", "systemLogServerIPAddress", VrSyntaxIpAddress, 0x06),
    VarEnd};

const QString kNoServer = QStringLiteral("0.0.0.0");

} // namespace

TLogSetForm::TLogSetForm(QWidget *parent) : QDialog(parent), ui(new Ui::TLogSetForm)
{
    ui->setupUi(this);
    ui->StatusBar->panel(0)->setMinimumWidth(50);
    m_settings = NewBinder(this, kLogSetVars, QStringLiteral("log settings"), 10000, false);
    m_settings->BindCheckBox(0, ui->CheckBox_System);
    m_settings->BindCheckBox(1, ui->CheckBox_Wireless);
    m_settings->BindCheckBox(2, ui->CheckBox_Notice);
    m_settings->BindComboBox(3, ui->CBoxRemoteLogStatus);
    m_settings->BindFormat(4, QStringLiteral("%s"), {ui->Ed_LogServerIp});
    try {
        m_settings->Load(); // what cannot be read stays as the form shows it
    } catch (const VrSNMPException &) {
    } catch (const VrCommonException &) {
    }
    ui->Ed_MailServerIp->setMaxLength(15);
    ui->Edt_FEail->setMaxLength(64);
    ui->Ed_TMail->setMaxLength(64);
    ui->Ed_UserName->setMaxLength(64);
    ui->Ed_Password->setMaxLength(12);
    ui->Ed_Conpass->setMaxLength(12);
    ui->Ed_LogServerIp->setMaxLength(15);
    if (ui->Ed_LogServerIp->text() == kNoServer)
        ui->Ed_LogServerIp->clear();

    connect(ui->CheckBox_EMNotifca, &QCheckBox::toggled, this, &TLogSetForm::emailToggled);
    connect(ui->Bt_Apply, &QPushButton::clicked, this, &TLogSetForm::Save);
    connect(ui->Bt_Cancel, &QPushButton::clicked, this, &TLogSetForm::close);
    emailToggled();
}

TLogSetForm::~TLogSetForm() = default;

void TLogSetForm::emailToggled()
{
    const bool on = ui->CheckBox_EMNotifca->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(ui->Ed_MailServerIp), static_cast<QWidget *>(ui->Edt_FEail),
                       static_cast<QWidget *>(ui->Ed_TMail), static_cast<QWidget *>(ui->Ed_UserName),
                       static_cast<QWidget *>(ui->Ed_Password), static_cast<QWidget *>(ui->Ed_Conpass)})
        w->setEnabled(on);
}

void TLogSetForm::Save()
{
    const QString server = ui->Ed_LogServerIp->text();
    if (!server.isEmpty() && !IsValidIPAddress(server)) {
        VrMessageBox(this, QStringLiteral("Please input valid IP Address."), QStringLiteral("Warning"));
        ui->Ed_LogServerIp->clear();
        return;
    }
    if (server.isEmpty())
        ui->Ed_LogServerIp->setText(kNoServer);
    // Remote logging goes as the combo shows it: the user can see and change it.
    bool ok = false;
    try {
        ok = m_settings->Apply(false);
    } catch (const VrSNMPException &e) {
        ui->StatusBar->panel(0)->setText(e.Message());
    } catch (const VrCommonException &e) {
        ui->StatusBar->panel(0)->setText(e.Message());
    }
    ui->StatusBar->panel(0)->setText(ok ? QStringLiteral("Set Success!") : QStringLiteral("Set Error!"));
    if (ui->Ed_LogServerIp->text() == kNoServer)
        ui->Ed_LogServerIp->clear();
}
