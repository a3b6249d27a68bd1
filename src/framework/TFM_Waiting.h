#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

namespace Ui {
class TFM_Waiting;
}
class VrSNMPRequest2Edits;

// The wait the pages show while the device restarts or applies settings: it
// counts down in ticks of 1.2 s (scaled by the time scale), cannot be closed
// by the user while it counts and closes by itself. A dialog started with N
// seconds shows N-1 down to 1 and stays open for N + 5 ticks.
//
// Pages that wait for a file transfer feed it the transfer's progress and may
// hold it open while the transfer still runs.
class TFM_Waiting : public QDialog
{
    Q_OBJECT

public:
    static constexpr int TickMs = 1200;

    explicit TFM_Waiting(QWidget *parent = nullptr);
    ~TFM_Waiting() override;

    void SetSeconds(int seconds);
    int Seconds() const { return m_seconds; }
    int ExtraTicks() const { return m_extraTicks; }
    // Sends "reboot" as the upgrade command on the second tick when set
    // (the default); the pages clear it.
    bool SendReboot = true;

    void SetLabel2(const QString &text);
    void SetLabel3(const QString &text);
    QString Label3() const;
    // The busy display: no count, no timer, only the two texts.
    void ShowAsBusy();
    bool Counting() const { return m_timer.isActive(); }
    // The firmware version read when the dialog was made; empty if unread.
    QString FirmwareVersion() const;

    // Bytes moved so far; total <= 0 when the size is not known.
    void SetProgress(qint64 bytes, qint64 total);
    // While this returns true the dialog does not close at the end of its count.
    void HoldWhile(std::function<bool()> busy) { m_hold = std::move(busy); }

    int exec() override;
    void reject() override;
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void tick();
    void sendReboot();
    bool mayClose();

    std::unique_ptr<Ui::TFM_Waiting> ui;
    QTimer m_timer;
    int m_seconds = 20;
    int m_extraTicks = 0;
    bool m_pending = true;
    int m_ticksToReboot = 2;
    bool m_busyDisplay = false;
    bool m_finishing = false;
    std::function<bool()> m_hold;
    VrSNMPRequest2Edits *m_reboot = nullptr;
};

// The wait dialog on screen, or null.
extern TFM_Waiting *FM_Waiting;
