#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TClientInformation;
}
class SignalChart;
class TableRows;
class VrSNMPRequest2Edits;
struct VrSNMPError;

// Status > Client Information: the stations associated with the access
// point. The device collects them when told to; the page then walks the
// client table and lists the used rows.
class TClientInformation : public QDialog
{
    Q_OBJECT

public:
    explicit TClientInformation(QWidget *parent = nullptr);
    ~TClientInformation() override;

    void Refresh();
    bool Busy() const { return m_busy; }

protected:
    // Closing waits for the refresh under way.
    void reject() override;

private:
    void detect();
    void triggered(const VrSNMPError &result);
    void walked(const VrSNMPError &result);
    void detectFailed(const QString &error);
    void setBusy(bool busy);
    void showStations();

    std::unique_ptr<Ui::TClientInformation> ui;
    VrSNMPRequest2Edits *m_trigger = nullptr;
    VrSNMPRequest2Edits *m_band = nullptr;
    TableRows *m_clients = nullptr;
    bool m_busy = false;
    SignalChart *m_signals = nullptr;
};

// The open client information page, or null.
extern TClientInformation *ClientInformation;
