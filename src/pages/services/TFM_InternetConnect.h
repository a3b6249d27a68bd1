#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFM_InternetConnect;
}
class QLineEdit;
class VrSNMPRequest2Edits;
struct ServiceProblem;

// Home > Internet Connection: how the WAN side gets its address (static,
// DHCP, PPPoE or PPTP), the settings of that type, its MTU, and the PPPoE
// manual connect. The device takes a new type at once; closing the page
// without saving puts the saved one back.
class TFM_InternetConnect : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_InternetConnect(QWidget *parent = nullptr);
    ~TFM_InternetConnect() override;

    void Save();
    void Connect();
    void Disconnect();
    // Sets the saved type back when it is not the device's now; every way of
    // closing ends here.
    void done(int result) override;

private:
    void bind();
    void typeChanged(bool write);
    bool read(VrSNMPRequest2Edits *binder);
    void showTypeGroup();
    void pptpModeChanged();
    void pppoeDnsChanged();
    void pppoeModeChanged();
    void manualModeChanged();
    void setManualMode(const QString &mode);
    void includeMtuOf(int type);
    void emptyZeroAddresses();
    void copyPasswords();
    int currentType() const;
    bool writeType();
    void refuse(const ServiceProblem &problem);
    void result(const QString &text);
    QString exchangeText() const;

    std::unique_ptr<Ui::TFM_InternetConnect> ui;
    VrSNMPRequest2Edits *m_manual = nullptr;
    VrSNMPRequest2Edits *m_type = nullptr;
    VrSNMPRequest2Edits *m_lan = nullptr;
    VrSNMPRequest2Edits *m_wan = nullptr;
    VrSNMPRequest2Edits *m_settings = nullptr;
    VrSNMPRequest2Edits *m_mtu = nullptr;

    int m_savedType = -1;  // combo position of the type last saved (or read); -1 unknown
    int m_deviceType = -1; // combo position of the type last written to the device
    bool m_closing = false;
    int m_lastError = 0;    // code of the last exchange
    bool m_opening = false; // reading the device as the page opens
    bool m_silent = false;  // the device did not answer while the page opened
};

// The open Internet connection page, or null.
extern TFM_InternetConnect *FM_InternetConnect;
