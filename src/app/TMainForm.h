#pragma once

#include "DevicePicture.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class SingleInstance;
class StatusLamp;
class VrSNMPRequest;
class VrSNMPRequest2Edits;
class VrSNMPVarList;
struct VrSNMPError;
struct VrSNMPVarDef;

// The module's only non-modal window: the device picture with its three
// lamps, the status line, the menu of pages, and a few device settings kept in
// hidden controls.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // Runs the start-up for the host's arguments: target records, caption,
    // single-instance lock; then shows the window and starts the first poll
    // and the reads of the hidden settings, none of which waits for the
    // device. False when the module must end instead (the reason has been
    // shown); the timers then never run.
    bool Start(const QStringList &arguments);

    // The address checks every page runs before writing an address.
    bool IsValidIPAddress(const QString &text) const;
    bool IsValidSubnetMask(const QString &text) const;

    StatusLamp *lamp(DevicePicture::Lamp which) const { return m_lamps[which]; }
    QString statusText() const;

    // Asks the agent for sysDescr, every two seconds whether or not the
    // previous poll was answered; an answer lights the lamps, a poll
    // unanswered for 1.5 s turns them white with the time-out text (and the
    // device is then asked every second until it answers).
    void PollStatus();
    // One step of the lamp animation that follows each answered poll.
    void BlinkStep();
    // The periodic refresh of the lamp settings and the address edits.
    void RefreshTick();

    QTimer LedStatus;
    QTimer LedBlink;
    QTimer Timer1;

protected:
    void closeEvent(QCloseEvent *event) override;

signals:
    // Each status poll the device answered, once the lamps show it.
    void StatusAnswered();

private:
    void buildMenu();
    void buildHiddenControls();
    void bindHiddenControls();
    VrSNMPRequest2Edits *bindCombo(const VrSNMPVarDef *objects, uint8_t kind, QComboBox *combo);
    void loadRefreshedBindings();
    void applyOperationModeMenus();
    void showStatus(const QString &text);
    void lampsOff();
    void showSilent();
    static void statusAnswered(void *data, VrSNMPError &error, VrSNMPVarList &list);
    void saveScreenshotOnce();

    DevicePicture *m_picture = nullptr;
    StatusLamp *m_lamps[DevicePicture::LampCount] = {};
    QLabel *m_status = nullptr;

    QComboBox *CB_Fuction1 = nullptr;
    QComboBox *CB_Radio = nullptr;
    QComboBox *CB_ApMode = nullptr;
    QComboBox *CB_Led2dot4G = nullptr;
    QComboBox *CB_Led5G = nullptr;
    QLineEdit *IPAddressEdit = nullptr;
    QLineEdit *SubMaskEdit = nullptr;
    QList<QLineEdit *> m_refreshedEdits; // emptied every seventh refresh
    // Read every two seconds: the LED settings and the LAN address.
    VrSNMPRequest2Edits *m_led2dot4G = nullptr;
    VrSNMPRequest2Edits *m_led5G = nullptr;
    VrSNMPRequest2Edits *m_address = nullptr;

    QAction *m_internetConnection = nullptr;
    QMenu *m_routerSettings = nullptr;
    QAction *m_multiSsid = nullptr;
    QAction *m_vlan = nullptr;

    std::unique_ptr<VrSNMPRequest> m_statusRequest;
    QTimer m_silence; // runs while a poll sent since the last answer is out
    bool m_silent = false; // shown as not answering
    QString m_screenshotFile; // where to save the window after the first answer, if anywhere
    int m_blinkTicks = 0;
    int m_refreshTicks = 0;
    std::unique_ptr<SingleInstance> m_instance;
};

extern TMainForm *MainForm;
