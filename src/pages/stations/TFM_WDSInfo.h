#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFM_WDSInfo;
}
class SignalChart;
class TableRows;
class VrSNMPRequest2Edits;
struct VrSNMPError;

// Status > WDS Information: the channel and the WDS peers of the access
// point. Only a device in one of the two WDS modes has peers to collect.
class TFM_WDSInfo : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_WDSInfo(QWidget *parent = nullptr);
    ~TFM_WDSInfo() override;

    void Refresh();
    bool Busy() const { return m_busy; }

protected:
    // Closing waits for the refresh under way.
    void reject() override;

private:
    bool wdsMode() const;
    void detect();
    void triggered(const VrSNMPError &result);
    void walked(const VrSNMPError &result);
    void setBusy(bool busy);

    std::unique_ptr<Ui::TFM_WDSInfo> ui;
    VrSNMPRequest2Edits *m_apMode = nullptr;
    VrSNMPRequest2Edits *m_channel = nullptr;
    VrSNMPRequest2Edits *m_encryption = nullptr;
    VrSNMPRequest2Edits *m_trigger = nullptr;
    TableRows *m_peers = nullptr;
    bool m_busy = false;
    SignalChart *m_signals = nullptr;
};

// The open WDS information page, or null.
extern TFM_WDSInfo *FM_WDSInfo;
