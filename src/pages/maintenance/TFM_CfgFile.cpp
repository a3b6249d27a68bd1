#include "TFM_CfgFile.h"

#include "ui_TFM_CfgFile.h"

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

Q_LOGGING_CATEGORY(lcCfgFile, "qrt.pages.cfgfile")

TFM_CfgFile *FM_CfgFile = nullptr;

namespace {

const QString kWarning = QStringLiteral("Warning");
const QString kError = QStringLiteral("ERROR");
const QString kEmpty = QStringLiteral("Empty file is not accepted.");
const QString kFailed = QStringLiteral("Fail to save the configuration file!");
const QString kFilter = QStringLiteral(".dcf document (*.dcf);;All Files (*)");

enum UpgradeIndex { ConfigSave = 1, Reboot = 2 };
enum CommandIndex { Put = 1 };

// One for the whole program: a backup started on an earlier page still
// counts as pending.
bool gBackupPending = false;

} // namespace

TFM_CfgFile::TFM_CfgFile(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_CfgFile)
{
    ui->setupUi(this);
    ui->StatusBar->panel(0)->setMinimumWidth(50);
    QLabel *panel = ui->StatusBar->panel(0);
    gBackupPending = false;

    m_server = NewBinder(this, kTftpServerVars, QStringLiteral("TFTP server"), 10000, false);
    m_server->BindFormat(0, QStringLiteral("%s"), {ui->Ed_TfpSrv});
    m_server->BindFormat(1, QStringLiteral("%s"), {ui->Ed_UpgFile});
    m_server->SetStatusTarget(panel);
    m_server->Request.OnError = [this](VrSNMPError &error) {
        if (error.Code != 0)
            m_server->ShowStatus(error.Message);
    };

    m_upgrade = NewBinder(this, kUpgradeVars, QStringLiteral("configuration command"), 30000, true);
    m_upgrade->BindComboBox(0, ui->CB_UpgCom);
    m_upgrade->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) {
        // Later, from the event loop: the flow may wait modally and send again
        // on the same request, which must not happen inside its own answer.
        QMetaObject::invokeMethod(this, [this, r] { upgradeCompleted(r); }, Qt::QueuedConnection);
    };

    m_command = NewBinder(this, kTftpCommandVars, QStringLiteral("TFTP command"), 10000, true);
    m_command->BindComboBox(0, ui->CB_TfpCom);
    m_command->SetStatusTarget(panel);
    m_command->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) {
        // Later, from the event loop: the flow may wait modally and send again
        // on the same request, which must not happen inside its own answer.
        QMetaObject::invokeMethod(this, [this, r] { commandCompleted(r); }, Qt::QueuedConnection);
    };

    // Chosen through its Browse button only: drawn in the button colour so
    // that it does not look like a field to type in.
    ui->Ed_SaveFile->setReadOnly(true);
    QPalette look = ui->Ed_SaveFile->palette();
    look.setColor(QPalette::Base, look.color(QPalette::Button));
    ui->Ed_SaveFile->setPalette(look);

    connect(ui->Bt_Browse, &QPushButton::clicked, this, &TFM_CfgFile::BrowseRestore);
    connect(ui->Bt_SavBrw, &QPushButton::clicked, this, &TFM_CfgFile::BrowseBackup);
    connect(ui->Bt_OK, &QPushButton::clicked, this, &TFM_CfgFile::Restore);
    connect(ui->Bt_Upload, &QPushButton::clicked, this, &TFM_CfgFile::Backup);

    // The server gives up after three waits of 3 s.
    m_transfer = new TransferWatch(300, 3, this);
    try {
        m_transfer->Start(QString());
        m_tftpReady = true;
    } catch (const VrTFTPException &e) {
        ReportTftpInitError(this, e.text(), m_transfer->Server().Port());
    }
}

TFM_CfgFile::~TFM_CfgFile()
{
    m_transfer->Forget();
    if (m_busy)
        delete m_busy;
}

void TFM_CfgFile::BrowseRestore()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), kFilter);
    if (path.isEmpty())
        return;
    ui->Ed_SaveFile->clear();
    ui->Ed_UpgFile->setText(QDir::toNativeSeparators(path));
}

void TFM_CfgFile::BrowseBackup()
{
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(), kFilter);
    if (!path.isEmpty())
        ui->Ed_SaveFile->setText(QDir::toNativeSeparators(path));
}

void TFM_CfgFile::showBusy()
{
    m_busy = new TFM_Waiting(this);
    m_busy->SetLabel2(QStringLiteral("Please wait..."));
    m_busy->SetLabel3(QStringLiteral("The settings are saving and taking effect."));
    m_busy->ShowAsBusy();
    connect(m_transfer, &TransferWatch::progress, m_busy, &TFM_Waiting::SetProgress);
    unsetCursor();
    setEnabled(false);
    m_busy->show();
}

void TFM_CfgFile::endBusy(bool enablePage)
{
    if (enablePage)
        setEnabled(true);
    unsetCursor();
    if (m_busy) {
        m_busy->hide();
        m_busy->deleteLater();
        m_busy = nullptr;
    }
}

void TFM_CfgFile::failed(const QString &why)
{
    if (!why.isEmpty())
        ui->StatusBar->panel(0)->setText(why);
    VrMessageBox(this, kFailed, kError);
}

void TFM_CfgFile::wait(int seconds, const QString &label3, bool holdForTransfer)
{
    TFM_Waiting waiting(this);
    waiting.SendReboot = false;
    waiting.SetSeconds(seconds);
    waiting.SetLabel3(label3);
    connect(m_transfer, &TransferWatch::progress, &waiting, &TFM_Waiting::SetProgress);
    if (holdForTransfer)
        waiting.HoldWhile([this] { return m_transfer->Pending(); });
    waiting.exec();
}

void TFM_CfgFile::selectUpgrade(int index)
{
    ui->CB_UpgCom->setCurrentIndex(index);
}

void TFM_CfgFile::Restore()
{
    const QString path = ui->Ed_UpgFile->text();
    if (path.isEmpty()) {
        VrMessageBox(this, kEmpty, kWarning);
        return;
    }
    if (!QFileInfo(path).isFile() || !LooksLikeConfiguration(path)) {
        VrMessageBox(this, QStringLiteral("File format error! Please try again!"), kWarning);
        return;
    }
    if (!m_tftpReady)
        return;
    ui->Ed_TfpSrv->clear();
    QString local;
    if (!AnnounceAddress(this, &local))
        return;
    ui->Ed_TfpSrv->setText(local);
    const auto split = SplitLocalPath(path);
    if (!split) {
        VrMessageBox(this, QStringLiteral("The file path is error."), kWarning);
        return;
    }
    if (const QString why = UnreadableFileReason(path); !why.isEmpty()) {
        ui->StatusBar->panel(0)->setText(why);
        VrMessageBox(this, QStringLiteral("File format error! Please try again!"), kWarning);
        return;
    }
    m_transfer->Start(split->folder);
    m_transfer->Expect(split->name, TransferWatch::DeviceReads, QFileInfo(path).size());
    ui->Ed_TfpSrv->setText(ui->Ed_TfpSrv->text().trimmed());
    ui->Ed_UpgFile->setText(split->name);
    gBackupPending = false;
    showBusy();
    const bool announced = SendBinder(m_server, ui->StatusBar->panel(0));
    ui->Ed_UpgFile->setText(path);
    if (!announced) {
        // The device does not know the file: nothing to command.
        m_transfer->Forget();
        endBusy();
        failed(QString());
        return;
    }
    selectUpgrade(ConfigSave);
    m_restorePending = true;
    if (!SendBinder(m_upgrade, ui->StatusBar->panel(0))) {
        m_restorePending = false;
        m_transfer->Forget();
        endBusy();
        failed(QString());
    }
}

void TFM_CfgFile::upgradeCompleted(const VrSNMPError &result)
{
    if (result.Code != 0) {
        // Also a refused command ends the busy display.
        const bool restore = m_restorePending;
        m_restorePending = false;
        if (restore)
            m_transfer->Forget();
        endBusy();
        failed(result.Message);
        return;
    }
    if (!m_restorePending)
        return;
    m_restorePending = false;
    endBusy(false);
    wait(10, QStringLiteral("Updating config file..."), true);
    if (!m_transfer->Succeeded()) {
        // The device answered, but the file never reached it whole.
        const QString why = m_transfer->ErrorText();
        m_transfer->Forget();
        setEnabled(true);
        failed(why);
        return;
    }
    m_transfer->Forget();
    selectUpgrade(Reboot);
    SendBinder(m_upgrade, ui->StatusBar->panel(0));
    wait(50, QStringLiteral("Device is restarting..."), false);
    VrMessageBox(this, QStringLiteral("The configuration file update successfully!"), QStringLiteral("OK"));
    setEnabled(true);
}

void TFM_CfgFile::Backup()
{
    const QString path = ui->Ed_SaveFile->text();
    if (path.isEmpty()) {
        VrMessageBox(this, kEmpty, kWarning);
        return;
    }
    if (!m_tftpReady)
        return;
    ui->Ed_TfpSrv->clear();
    QString local;
    if (!AnnounceAddress(this, &local))
        return;
    ui->Ed_TfpSrv->setText(local);
    const auto split = SplitLocalPath(path);
    if (!split) {
        VrMessageBox(this, QStringLiteral("The file path is error."), kWarning);
        return;
    }
    m_transfer->Start(split->folder);
    const QString name = BackupFileName(split->name);
    m_transfer->Expect(name, TransferWatch::DeviceWrites);
    ui->Ed_TfpSrv->setText(ui->Ed_TfpSrv->text().trimmed());
    ui->Ed_UpgFile->setText(name);
    showBusy();
    const bool announced = SendBinder(m_server, ui->StatusBar->panel(0));
    if (!announced) {
        ui->Ed_UpgFile->clear();
        m_transfer->Forget();
        endBusy();
        failed(QString());
        return;
    }
    ui->CB_TfpCom->setCurrentIndex(Put);
    gBackupPending = true;
    const bool started = SendBinder(m_command, ui->StatusBar->panel(0));
    ui->Ed_UpgFile->clear();
    if (!started) {
        gBackupPending = false;
        m_transfer->Forget();
        endBusy();
        failed(QString());
    }
}

void TFM_CfgFile::commandCompleted(const VrSNMPError &result)
{
    m_command->ShowStatus(result.Message);
    if (!gBackupPending) {
        endBusy();
        return;
    }
    if (result.Code != 0) {
        gBackupPending = false;
        m_transfer->Forget();
        endBusy();
        failed(result.Message);
        return;
    }
    // The device has taken the command; the backup counts once the file is here.
    if (m_transfer->Pending()) {
        connect(m_transfer, &TransferWatch::finished, this, &TFM_CfgFile::backupTransferEnded,
                Qt::SingleShotConnection);
        return;
    }
    backupTransferEnded(m_transfer->Succeeded());
}

void TFM_CfgFile::backupTransferEnded(bool ok)
{
    if (!gBackupPending)
        return;
    gBackupPending = false;
    const QString why = m_transfer->ErrorText();
    const qint64 bytes = m_transfer->Bytes();
    m_transfer->Forget();
    endBusy();
    if (!ok) {
        failed(why);
        return;
    }
    qCInfo(lcCfgFile) << "configuration saved," << bytes << "bytes";
    ui->StatusBar->panel(0)->setText(tr("%1 bytes saved").arg(bytes));
    selectUpgrade(ConfigSave);
    SendBinder(m_upgrade, ui->StatusBar->panel(0));
    VrMessageBox(this, QStringLiteral("The configuration file saved successfully!"), QStringLiteral("OK"));
}
