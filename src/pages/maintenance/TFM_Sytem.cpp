#include "TFM_Sytem.h"

#include "ui_TFM_Sytem.h"

#include "ScaledTimeout.h"
#include "TFM_Waiting.h"
#include "VrCommon.h"
#include "VrMessageBox.h"
#include "VrOptionList.h"
#include "VrSNMPError.h"
#include "VrSNMPObjectTable.h"
#include "VrSNMPRequest2Edits.h"

Q_LOGGING_CATEGORY(lcSystem, "qrt.pages.system")

TFM_Sytem *FM_Sytem = nullptr;

#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

const VrOptionNumDef kRestartDef[] = {{0, "nothing"}, {1, "reboot"}, {0, nullptr}};
const VrOptionNumDef kResetDef[] = {{0, "nothing"}, {1, "reset"}, {0, nullptr}};
const VrOptionNumDef kApplyDef[] = {{0, "nothing"}, {1, "apply"}, {0, nullptr}};
VrOptionList gRestart(kRestartDef);
VrOptionList gReset(kResetDef);
VrOptionList gApply(kApplyDef);

// Both start excluded: each button takes in exactly the one it sends.
const VrSNMPVarDef kDeviceVars[] = {
    VarDef(P "4.2.1", "deviceRestart", VrSyntaxInteger, 0x26, &gRestart),
    VarDef(P "4.2.2", "deviceFactoryDefault", VrSyntaxInteger, 0x26, &gReset),
    VarEnd};
const VrSNMPVarDef kApplyVars[] = {VarDef(P "4.2.3", "deviceSettingApply", VrSyntaxInteger, 0x06, &gApply), VarEnd};

const QString kWarning = QStringLiteral("Warning");
const QString kReboot = QStringLiteral("Device will reboot, continue?");

} // namespace

TFM_Sytem::TFM_Sytem(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_Sytem)
{
    ui->setupUi(this);
    ui->StatusBar->panel(0)->setMinimumWidth(50);

    m_device = new VrSNMPRequest2Edits(this);
    m_device->Request.VarList = VrSNMPVarList(kDeviceVars, VrListInstance, 0);
    m_device->Request.VarList.description = QStringLiteral("device actions");
    m_device->Request.Timeout = ScaledTimeout(10000);
    m_device->BindComboBox(RestartItem, ui->CB_Restart);
    m_device->BindComboBox(FactoryItem, ui->CB_Restore);
    m_device->SetStatusTarget(ui->StatusBar->panel(0));
    m_device->Request.OnError = [this](VrSNMPError &error) { m_device->ShowStatus(error.Message); };
    // A refused set arrives here, not in OnError.
    m_device->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &error) {
        if (error.Code != 0)
            m_device->ShowStatus(error.Message);
    };

    m_apply = new VrSNMPRequest2Edits(this);
    m_apply->Request.VarList = VrSNMPVarList(kApplyVars, VrListInstance, 0);
    m_apply->Request.VarList.description = QStringLiteral("apply settings");
    m_apply->Request.Timeout = ScaledTimeout(100000);
    m_apply->BindComboBox(0, ui->CB_DeviceApplySetting);
    // A refused set must still say so, though this binding has no status bar.
    m_apply->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &error) {
        if (error.Code != 0)
            ui->StatusBar->panel(0)->setText(error.Message);
    };

    connect(ui->Button1, &QPushButton::clicked, this, &TFM_Sytem::Restart);
    connect(ui->Button2, &QPushButton::clicked, this, &TFM_Sytem::Restore);
    connect(ui->Button3, &QPushButton::clicked, this, &TFM_Sytem::SetApply);
    connect(ui->Button4, &QPushButton::clicked, this, &TFM_Sytem::Discard);
}

TFM_Sytem::~TFM_Sytem() = default;

bool TFM_Sytem::confirm(const QString &text)
{
    return VrMessageBox(this, text, kWarning, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void TFM_Sytem::writeOnly(DeviceItem item)
{
    for (int i : {int(RestartItem), int(FactoryItem)}) {
        uint8_t &flags = m_device->Request.VarList.Item(i).flags;
        flags = i == item ? uint8_t((flags & ~VrFlagExcluded) | VrFlagRead | VrFlagWrite)
                          : uint8_t(flags | VrFlagExcluded);
    }
}

bool TFM_Sytem::send(VrSNMPRequest2Edits *binder)
{
    try {
        return binder->Apply(false);
    } catch (const VrSNMPException &e) {
        ui->StatusBar->panel(0)->setText(e.Message());
    } catch (const VrCommonException &e) {
        ui->StatusBar->panel(0)->setText(e.Message());
    }
    return false;
}

void TFM_Sytem::wait(int seconds, const QString &caption, const QString &label2, const QString &label3)
{
    TFM_Waiting waiting(this);
    waiting.SendReboot = false;
    waiting.SetSeconds(seconds);
    if (!caption.isEmpty())
        waiting.setWindowTitle(caption);
    if (!label2.isEmpty())
        waiting.SetLabel2(label2);
    if (!label3.isEmpty())
        waiting.SetLabel3(label3);
    waiting.exec();
}

void TFM_Sytem::Restart()
{
    ui->CB_Restart->setCurrentIndex(1);
    writeOnly(RestartItem);
    if (!confirm(kReboot))
        return;
    if (!send(m_device))
        return;
    qCInfo(lcSystem) << "restart sent";
    wait(50, QStringLiteral("System is rebooting, please waiting....."), {}, {});
}

void TFM_Sytem::Restore()
{
    ui->CB_Restore->setCurrentIndex(1);
    writeOnly(FactoryItem);
    if (!confirm(kReboot))
        return;
    if (!send(m_device))
        return;
    qCInfo(lcSystem) << "factory reset sent";
    wait(60, QStringLiteral("System is rebooting, please waiting.....!"), {},
         QStringLiteral("The system IP will be 192.168.0.50 !"));
}

void TFM_Sytem::SetApply()
{
    ui->CB_DeviceApplySetting->setCurrentIndex(1);
    if (!send(m_apply))
        return;
    wait(50, {}, QStringLiteral("Please wait..."), QStringLiteral("The settings are saving and taking effect."));
}

void TFM_Sytem::Discard()
{
    ui->CB_Restart->setCurrentIndex(1);
    writeOnly(RestartItem);
    if (!confirm(QStringLiteral("All of your changes will be discarded! continue?")))
        return;
    if (!send(m_device))
        return;
    wait(60, QStringLiteral("The device is rebooting, please waiting....."), {}, {});
}
