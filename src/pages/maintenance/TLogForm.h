#pragma once

#include <QDialog>
#include <QLoggingCategory>
#include <memory>

namespace Ui {
class TLogForm;
}
class TransferWatch;
class VrSNMPRequest2Edits;
struct VrSNMPError;

Q_DECLARE_LOGGING_CATEGORY(lcLog)

// Status > Log > View Log: the device uploads its log to the page's TFTP
// server, into a folder of this user's data for that device, and the page
// shows it as a table.
class TLogForm : public QDialog
{
    Q_OBJECT

public:
    explicit TLogForm(QWidget *parent = nullptr);
    ~TLogForm() override;

    void GetLog();
    void Clear();
    // The folder the log of the managed device is kept in (created on demand).
    static QString LogFolder();
    QString LogFilePath() const { return m_logFile; }

private:
    void requestAccepted(const VrSNMPError &result);
    void logSent(const VrSNMPError &result);
    void transferEnded(bool ok);
    bool parseLogFile();
    void status(const QString &text);

    std::unique_ptr<Ui::TLogForm> ui;
    VrSNMPRequest2Edits *m_request = nullptr;
    VrSNMPRequest2Edits *m_get = nullptr;
    VrSNMPRequest2Edits *m_clear = nullptr;
    TransferWatch *m_transfer = nullptr;
    QString m_logFile;
    bool m_waitingForFile = false;
};

// The open log view, or null.
extern TLogForm *LogForm;
