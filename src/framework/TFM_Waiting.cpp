#include "TFM_Waiting.h"

#include "ui_TFM_Waiting.h"

#include "ScaledTimeout.h"
#include "VrCommon.h"
#include "VrOptionList.h"
#include "VrSNMPError.h"
#include "VrSNMPObjectTable.h"
#include "VrSNMPRequest2Edits.h"
#include "VrTimeScale.h"
#include "VrWaitGuard.h"

#include <QCloseEvent>
#include <QLocale>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcWaiting, "qrt.framework.waiting")

TFM_Waiting *FM_Waiting = nullptr;

#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

const VrOptionNumDef kUpgradeDef[] = {{1, "Firmwareupdate"}, {3, "Configsave"}, {4, "Reboot"}, {6, "Nothing"},
                                      {7, "certificateFileUpdate"}, {8, "keyFileUpdate"}, {0, nullptr}};
VrOptionList gUpgrade(kUpgradeDef);

const VrSNMPVarDef kVersionVars[] = {
    VarDef(P "5.1.1", "deviceInformationFirmwareVersion", VrSyntaxDisplayString, 0x02), VarEnd};
const VrSNMPVarDef kRebootVars[] = {
    VarDef(P "4.3.2.4", "tftpUpgradeSettingCommand", VrSyntaxInteger, 0x06, &gUpgrade), VarEnd};

} // namespace

TFM_Waiting::TFM_Waiting(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_Waiting)
{
    ui->setupUi(this);
    // Only the count closes it: no close button in the frame.
    setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint);
    m_timer.setInterval(VrScaledMs(TickMs));
    connect(&m_timer, &QTimer::timeout, this, &TFM_Waiting::tick);

    // The version is shown to nobody; it tells a log reader which firmware
    // answered before the wait.
    auto *version = new VrSNMPRequest2Edits(this);
    version->Request.VarList = VrSNMPVarList(kVersionVars, VrListInstance, 0);
    version->Request.VarList.description = QStringLiteral("firmware version");
    version->Request.Timeout = ScaledTimeout(100);
    version->Asynchronous = false;
    version->BindFormat(0, QStringLiteral("%s"), {ui->Ed_FwVer});
    try {
        version->Load();
    } catch (const VrSNMPException &e) {
        qCInfo(lcWaiting) << "firmware version not read:" << e.Message();
    } catch (const VrCommonException &e) {
        qCInfo(lcWaiting) << "firmware version not read:" << e.Message();
    }
    SetSeconds(25);
}

TFM_Waiting::~TFM_Waiting()
{
    if (FM_Waiting == this)
        FM_Waiting = nullptr;
}

void TFM_Waiting::SetSeconds(int seconds)
{
    m_seconds = seconds;
    ui->La_Time->setText(QString::number(seconds));
}

void TFM_Waiting::SetLabel2(const QString &text) { ui->Label2->setText(text); }
void TFM_Waiting::SetLabel3(const QString &text) { ui->Label3->setText(text); }
QString TFM_Waiting::Label3() const { return ui->Label3->text(); }
QString TFM_Waiting::FirmwareVersion() const { return ui->Ed_FwVer->text(); }

void TFM_Waiting::ShowAsBusy()
{
    m_busyDisplay = true;
    SendReboot = false;
    ui->Label1->hide();
    ui->La_Time->hide();
    ui->seconds->hide();
    m_timer.stop();
}

void TFM_Waiting::SetProgress(qint64 bytes, qint64 total)
{
    const QLocale locale;
    if (total > 0) {
        ui->La_Transfer->setText(tr("%1 of %2 bytes").arg(locale.toString(bytes), locale.toString(total)));
        ui->PB_Transfer->setRange(0, 1000);
        ui->PB_Transfer->setValue(int(qMin<qint64>(1000, bytes * 1000 / total)));
    } else {
        ui->La_Transfer->setText(tr("%1 bytes").arg(locale.toString(bytes)));
        ui->PB_Transfer->setRange(0, 0); // size unknown: a moving bar
    }
    ui->La_Transfer->show();
    ui->PB_Transfer->show();
}

int TFM_Waiting::exec()
{
    FM_Waiting = this;
    // Run like a page, so that the main window can still be closed meanwhile.
    setResult(0);
    VrRunPage(*this);
    if (FM_Waiting == this)
        FM_Waiting = nullptr;
    return result();
}

void TFM_Waiting::setVisible(bool visible)
{
    // The page behind a wait is disabled, which would grey the wait out with
    // it; a window of its own may stay enabled.
    if (visible)
        setEnabled(true);
    QDialog::setVisible(visible);
}

void TFM_Waiting::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_busyDisplay && !m_finishing)
        m_timer.start();
}

void TFM_Waiting::tick()
{
    if (m_seconds == 1) {
        // The count has reached 1; a transfer still running keeps it there.
        if (!m_hold || !m_hold())
            ++m_extraTicks;
    } else {
        SetSeconds(m_seconds - 1);
    }
    --m_ticksToReboot;
    if (m_ticksToReboot < 1 && m_pending) {
        m_pending = false;
        if (SendReboot)
            sendReboot();
    }
    if (m_seconds < 1 || m_extraTicks > 5) {
        m_timer.stop();
        m_finishing = true;
        if (m_extraTicks > 2)
            m_seconds = 0;
        done(QDialog::Accepted);
    }
}

void TFM_Waiting::sendReboot()
{
    m_reboot = new VrSNMPRequest2Edits(this);
    m_reboot->Request.VarList = VrSNMPVarList(kRebootVars, VrListInstance, 0);
    m_reboot->Request.VarList.description = QStringLiteral("reboot command");
    m_reboot->BindFormat(0, QStringLiteral("%s"), {ui->Ed_Reboot});
    ui->Ed_Reboot->setText(QStringLiteral("reboot"));
    try {
        m_reboot->Apply();
    } catch (const VrSNMPException &e) {
        qCWarning(lcWaiting) << "reboot command not sent:" << e.Message();
    } catch (const VrCommonException &e) {
        qCWarning(lcWaiting) << "reboot command not sent:" << e.Message();
    }
}

bool TFM_Waiting::mayClose()
{
    if (m_busyDisplay || m_finishing)
        return true;
    if (m_extraTicks > 2)
        m_seconds = 0;
    return m_seconds <= 0;
}

void TFM_Waiting::reject()
{
    if (mayClose())
        QDialog::reject();
}

void TFM_Waiting::closeEvent(QCloseEvent *event)
{
    if (!mayClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
