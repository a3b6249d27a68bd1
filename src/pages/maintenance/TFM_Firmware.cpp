#include "TFM_Firmware.h"

#include "ui_TFM_Firmware.h"

#include "MaintenanceBinders.h"
#include "MaintenanceRules.h"
#include "TFM_Waiting.h"
#include "TransferPrompts.h"
#include "TransferWatch.h"
#include "VrMessageBox.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"
#include "VrTFTPServer.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

Q_LOGGING_CATEGORY(lcFirmware, "qrt.pages.firmware")

TFM_Firmware *FM_Firmware = nullptr;

namespace {

const QString kWarning = QStringLiteral("Warning");
const QString kCantPerform = QStringLiteral("Cant Perform Operation,Please try again!");
const QString kFilter = QStringLiteral(".bin document (*.bin);;.tfp document (*.tfp);;All Files (*)");
const QString kAllFiles = QStringLiteral("All Files (*)");

enum UpgradeIndex { FirmwareUpdate = 0, CertificateUpdate = 4, KeyUpdate = 5 };

// An error status in the answer: the device looked at the command and said no
// (an image older than the running one, say), as against a device that did not
// answer in time, which may still be busy installing.
bool RefusedByDevice(int code)
{
    return code <= -101 && code >= -119;
}

} // namespace

TFM_Firmware::TFM_Firmware(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_Firmware)
{
    ui->setupUi(this);
    ui->StatusBar->panel(0)->setMinimumWidth(50);

    m_server = NewBinder(this, kTftpServerVars, QStringLiteral("TFTP server"), 10000, true);
    m_server->BindFormat(0, QStringLiteral("%s"), {ui->Ed_TfpSrv});
    m_server->BindFormat(1, QStringLiteral("%s"), {ui->Ed_UpgFile});

    m_command = NewBinder(this, kTftpCommandVars, QStringLiteral("TFTP command"), 15000, true);
    m_command->BindComboBox(0, ui->CB_TfpCom);
    m_command->SetStatusTarget(ui->StatusBar->panel(0));
    m_command->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) {
        // Later, from the event loop: the flow may wait modally and send again
        // on the same request, which must not happen inside its own answer.
        QMetaObject::invokeMethod(this, [this, r] { commandCompleted(r); }, Qt::QueuedConnection);
    };

    m_restart = NewBinder(this, kRestartVars, QStringLiteral("restart"), 10000, true);
    m_restart->BindComboBox(0, ui->CB_Restart);

    m_upgrade = NewBinder(this, kUpgradeVars, QStringLiteral("upgrade command"), 30000, true);
    m_upgrade->BindComboBox(0, ui->CB_UpgCom);
    m_upgrade->SetStatusTarget(ui->StatusBar2->panel(0));
    m_upgrade->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) {
        // Later, from the event loop: the flow may wait modally and send again
        // on the same request, which must not happen inside its own answer.
        QMetaObject::invokeMethod(this, [this, r] { upgradeCompleted(r); }, Qt::QueuedConnection);
    };

    connect(ui->Bt_Browse, &QPushButton::clicked, this, [this] { browse(ui->Ed_UpgFile, true); });
    connect(ui->Bt_CBrowse, &QPushButton::clicked, this, [this] { browse(ui->EDT_Certificate, true); });
    connect(ui->Bt_KBrowse, &QPushButton::clicked, this, [this] { browse(ui->EDT_Key, false); });
    connect(ui->Bt_OK, &QPushButton::clicked, this, &TFM_Firmware::UploadFirmware);
    connect(ui->Bt_CUpload, &QPushButton::clicked, this, &TFM_Firmware::UploadCertificate);
    connect(ui->Bt_KUpload, &QPushButton::clicked, this, &TFM_Firmware::UploadKey);

    // Thirty seconds per wait, three tries.
    m_transfer = new TransferWatch(3000, 3, this);
    try {
        m_transfer->Start(QString());
        m_tftpReady = true;
    } catch (const VrTFTPException &e) {
        ReportTftpInitError(this, e.text(), m_transfer->Server().Port());
    }
    // A key goes only after its certificate.
    setKeyEnabled(false);
}

TFM_Firmware::~TFM_Firmware()
{
    m_transfer->Forget();
}

void TFM_Firmware::browse(QLineEdit *edit, bool allFiles)
{
    QString filter = allFiles ? kAllFiles : QString();
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), kFilter, &filter);
    if (!path.isEmpty())
        edit->setText(QDir::toNativeSeparators(path));
}

void TFM_Firmware::setKeyEnabled(bool enabled)
{
    ui->EDT_Key->setEnabled(enabled);
    ui->Bt_KBrowse->setEnabled(enabled);
    ui->Bt_KUpload->setEnabled(enabled);
}

void TFM_Firmware::status(const QString &text)
{
    ui->StatusBar->panel(0)->setText(text);
}

void TFM_Firmware::UploadFirmware() { upload(Firmware, ui->Ed_UpgFile); }
void TFM_Firmware::UploadCertificate() { upload(Certificate, ui->EDT_Certificate); }
void TFM_Firmware::UploadKey() { upload(Key, ui->EDT_Key); }

void TFM_Firmware::upload(Kind kind, QLineEdit *edit)
{
    const bool firmware = kind == Firmware;
    const QString path = edit->text();
    if (path.isEmpty() || path.endsWith(u'\\') || path.endsWith(u'/')) {
        VrMessageBox(this,
                     firmware ? QStringLiteral("Please put in the firmware file & path.")
                              : QStringLiteral("Empty file is not accepted!"),
                     kWarning);
        return;
    }
    if (!(firmware ? LooksLikeFirmware(path) : LooksLikeCertificate(path))) {
        if (firmware) {
            VrMessageBox(this, QStringLiteral("Please put in valid firmware file & path."), kWarning);
        } else {
            VrMessageBox(this, QStringLiteral("File format error! Please try again."), kWarning);
            edit->setFocus();
        }
        return;
    }
    // Missing, a folder, unreadable or empty: nothing the device could install.
    if (const QString why = UnreadableFileReason(path); !why.isEmpty()) {
        status(why);
        VrMessageBox(this,
                     firmware ? QStringLiteral("Please put in valid firmware file & path.")
                              : QStringLiteral("Please put in valid pem file & path."),
                     kWarning);
        return;
    }
    if (!m_tftpReady)
        return;
    ui->Ed_TfpSrv->clear();
    QString local;
    if (!AnnounceAddress(this, &local))
        return;
    ui->Ed_TfpSrv->setText(local.trimmed());
    const auto split = SplitLocalPath(path);
    if (!split) {
        VrMessageBox(this, QStringLiteral("The file path is error."), kWarning);
        return;
    }
    m_kind = kind;
    m_transfer->Start(split->folder);
    m_transfer->Expect(split->name, TransferWatch::DeviceReads, QFileInfo(path).size());

    // The server binding sends the firmware edit's text as the file name.
    const QString firmwarePath = ui->Ed_UpgFile->text();
    edit->setText(split->name);
    ui->Ed_UpgFile->setText(split->name);
    const bool announced = SendBinder(m_server, ui->StatusBar->panel(0));
    ui->Ed_UpgFile->setText(firmwarePath);
    edit->setText(path);
    if (!announced) {
        m_transfer->Forget();
        return;
    }
    m_uploadRequested = true;
    ui->CB_TfpCom->setCurrentIndex(0);
    setEnabled(false);
    if (!SendBinder(m_command, ui->StatusBar->panel(0))) {
        m_transfer->Forget();
        setEnabled(true);
    }
}

void TFM_Firmware::wait(int seconds, const QString &label3, bool holdForTransfer)
{
    TFM_Waiting waiting(this);
    waiting.SendReboot = false;
    waiting.SetSeconds(seconds);
    waiting.SetLabel3(label3);
    if (holdForTransfer) {
        connect(m_transfer, &TransferWatch::progress, &waiting, &TFM_Waiting::SetProgress);
        if (m_transfer->Bytes() > 0)
            waiting.SetProgress(m_transfer->Bytes(), m_transfer->Total());
        waiting.HoldWhile([this] { return m_transfer->Pending(); });
    }
    // Making the dialog reads the device, so a refusal may already be in.
    m_shownWait = &waiting;
    if (!m_waitCut)
        waiting.exec();
    m_shownWait = nullptr;
    m_waitCut = false;
}

void TFM_Firmware::cutWait()
{
    m_waitCut = true;
    if (m_shownWait)
        m_shownWait->done(QDialog::Rejected);
}

bool TFM_Firmware::loaded(const QString &label3)
{
    wait(5, label3, true);
    const bool ok = m_transfer->Succeeded();
    const QString why = m_transfer->ErrorText();
    m_transfer->Forget();
    if (!ok) {
        // The device never got the whole file: installing it is not asked for.
        qCWarning(lcFirmware) << "file not fetched by the device:" << why;
        status(why);
        VrMessageBox(this, kCantPerform, kWarning);
        setEnabled(true);
    }
    return ok;
}

void TFM_Firmware::commandCompleted(const VrSNMPError &result)
{
    m_command->ShowStatus(result.Message);
    if (result.Code != 0) {
        m_transfer->Forget();
        VrMessageBox(this, kCantPerform, kWarning);
        status(result.Message);
        setEnabled(true);
        return;
    }
    if (!m_uploadRequested) {
        setEnabled(true);
        return;
    }
    switch (m_kind) {
    case Firmware:
        if (!loaded(QStringLiteral("Loading firmware file...")))
            return;
        ui->CB_UpgCom->setCurrentIndex(FirmwareUpdate);
        // Pending before the command goes, so that an answer during the wait counts.
        m_firmwarePending = true;
        m_upgradeAnswer.reset();
        if (!SendBinder(m_upgrade, ui->StatusBar->panel(0))) {
            setEnabled(true);
            return;
        }
        m_inUpdateWait = true;
        wait(70, QStringLiteral("Updating firmware file..."), false);
        m_inUpdateWait = false;
        if (m_upgradeAnswer)
            restartAfterFirmware();
        break;
    case Certificate:
        if (!loaded(QStringLiteral("Loading pem file...")))
            return;
        ui->CB_UpgCom->setCurrentIndex(CertificateUpdate);
        SendBinder(m_upgrade, ui->StatusBar->panel(0));
        m_firmwarePending = false;
        setKeyEnabled(true);
        setEnabled(true);
        break;
    case Key:
        if (!loaded(QStringLiteral("Loading pem file...")))
            return;
        ui->CB_UpgCom->setCurrentIndex(KeyUpdate);
        SendBinder(m_upgrade, ui->StatusBar->panel(0));
        m_firmwarePending = false;
        setKeyEnabled(false);
        setEnabled(true);
        break;
    }
}

void TFM_Firmware::upgradeCompleted(const VrSNMPError &result)
{
    if (m_firmwarePending && m_kind == Firmware) {
        m_upgradeAnswer = result.Code;
        m_upgradeFailure = result.Message;
        if (result.Code != 0)
            status(result.Message);
        else
            m_upgrade->ShowStatus(result.Message);
        if (!m_inUpdateWait)
            restartAfterFirmware();
        else if (RefusedByDevice(result.Code))
            cutWait(); // nothing is being installed: no use waiting
        return;
    }
    status(result.Message);
    if (result.Code != 0)
        return;
    if (m_kind == Certificate) {
        VrMessageBox(this, QStringLiteral("Update SSL success!"), kWarning);
        ui->EDT_Certificate->clear();
    } else if (m_kind == Key) {
        VrMessageBox(this, QStringLiteral("Update KEY success!"), kWarning);
        ui->EDT_Key->clear();
    }
}

void TFM_Firmware::restartAfterFirmware()
{
    const int code = m_upgradeAnswer.value_or(-1);
    m_upgradeAnswer.reset();
    m_firmwarePending = false;
    if (code != 0) {
        setEnabled(true);
        VrMessageBox(this, m_upgradeFailure, kWarning);
        return;
    }
    ui->CB_Restart->setCurrentIndex(1);
    if (!SendBinder(m_restart, nullptr)) {
        VrMessageBox(this, QStringLiteral("Set error!"), kWarning);
        setEnabled(true);
        return;
    }
    wait(40, QStringLiteral("Device is restarting..."), false);
    setEnabled(true);
    VrMessageBox(this, QStringLiteral("Update firmware success!"), kWarning);
}
