#pragma once

#include <QDialog>
#include <QLoggingCategory>
#include <memory>
#include <optional>

namespace Ui {
class TFM_Firmware;
}
class QLineEdit;
class TFM_Waiting;
class TransferWatch;
class VrSNMPRequest2Edits;
struct VrSNMPError;

Q_DECLARE_LOGGING_CATEGORY(lcFirmware)

// Tools > Firmware and SSL Certification Upload: a firmware image, an SSL
// certificate or its key fetched by the device from the page's TFTP server,
// then installed; the firmware ends with a restart.
class TFM_Firmware : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_Firmware(QWidget *parent = nullptr);
    ~TFM_Firmware() override;

    enum Kind { Firmware = 1, Certificate = 2, Key = 3 };

    void UploadFirmware();
    void UploadCertificate();
    void UploadKey();

private:
    void browse(QLineEdit *edit, bool allFiles);
    void upload(Kind kind, QLineEdit *edit);
    void commandCompleted(const VrSNMPError &result);
    void upgradeCompleted(const VrSNMPError &result);
    void restartAfterFirmware();
    // Waits for the device to fetch the file; false (and said why) when the
    // transfer did not complete.
    bool loaded(const QString &label3);
    void wait(int seconds, const QString &label3, bool holdForTransfer);
    // Ends the wait on screen, or the one about to be shown.
    void cutWait();
    void setKeyEnabled(bool enabled);
    void status(const QString &text);

    std::unique_ptr<Ui::TFM_Firmware> ui;
    VrSNMPRequest2Edits *m_server = nullptr;
    VrSNMPRequest2Edits *m_command = nullptr;
    VrSNMPRequest2Edits *m_restart = nullptr;
    VrSNMPRequest2Edits *m_upgrade = nullptr;
    TransferWatch *m_transfer = nullptr;
    Kind m_kind = Firmware;
    bool m_uploadRequested = false;
    bool m_firmwarePending = true;
    bool m_inUpdateWait = false;
    std::optional<int> m_upgradeAnswer; // the code that came during the update wait
    QString m_upgradeFailure;           // and its text
    TFM_Waiting *m_shownWait = nullptr; // the wait on screen, while wait() runs
    bool m_waitCut = false;
    bool m_tftpReady = false;
};

// The open firmware page, or null.
extern TFM_Firmware *FM_Firmware;
