#pragma once

#include <QDialog>
#include <QLoggingCategory>
#include <QPointer>
#include <memory>

namespace Ui {
class TFM_CfgFile;
}
class TransferWatch;
class TFM_Waiting;
class VrSNMPRequest2Controls;
class VrSNMPRequest2Edits;
struct VrSNMPError;

Q_DECLARE_LOGGING_CATEGORY(lcCfgFile)

// Tools > Configuration File: the device's configuration saved to a local
// .dcf file and a local file loaded into the device, both through the page's
// TFTP server.
class TFM_CfgFile : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_CfgFile(QWidget *parent = nullptr);
    ~TFM_CfgFile() override;

    void Restore();
    void Backup();
    void BrowseRestore();
    void BrowseBackup();

private:
    void upgradeCompleted(const VrSNMPError &result);
    void commandCompleted(const VrSNMPError &result);
    void backupTransferEnded(bool ok);
    void failed(const QString &why);
    void showBusy();
    void endBusy(bool enablePage = true);
    void wait(int seconds, const QString &label3, bool holdForTransfer);
    void selectUpgrade(int index);

    std::unique_ptr<Ui::TFM_CfgFile> ui;
    VrSNMPRequest2Edits *m_server = nullptr;
    VrSNMPRequest2Edits *m_upgrade = nullptr;
    VrSNMPRequest2Edits *m_command = nullptr;
    TransferWatch *m_transfer = nullptr;
    QPointer<TFM_Waiting> m_busy;
    bool m_restorePending = false;
    bool m_tftpReady = false;
};

// The open configuration file page, or null.
extern TFM_CfgFile *FM_CfgFile;
