#pragma once

#include <QDialog>
#include <QList>
#include <memory>

namespace Ui {
class TFM_StatWLAN;
}
class QLineEdit;
class QTimer;
class TrafficChart;
class VrSNMPRequest2Edits;

// Status > Stats > WLAN: the traffic counters of the wireless interface,
// read again on Refresh and cleared on the device by Clear.
class TFM_StatWLAN : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_StatWLAN(QWidget *parent = nullptr);
    ~TFM_StatWLAN() override;

    void Refresh();
    void Clear();

private:
    bool readCounters();
    void clearSettled();
    void setButtons(bool enabled);

    std::unique_ptr<Ui::TFM_StatWLAN> ui;
    VrSNMPRequest2Edits *m_counters = nullptr;
    VrSNMPRequest2Edits *m_clear = nullptr;
    QList<QLineEdit *> m_edits; // in the order of the counter objects
    QTimer *m_settle = nullptr; // the device's counters settle after a clear
    TrafficChart *m_chart = nullptr;
    QString m_error;
};

// The open WLAN statistics page, or null.
extern TFM_StatWLAN *FM_StatWLAN;
