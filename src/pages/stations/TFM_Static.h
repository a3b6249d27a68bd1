#pragma once

#include <QDialog>
#include <QList>
#include <memory>

namespace Ui {
class TFM_Static;
}
class QLineEdit;
class TrafficChart;
class VrSNMPRequest2Edits;

// Status > Stats > Ethernet: the traffic counters of the wired interface,
// read again on Refresh and cleared on the device by Clear.
class TFM_Static : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_Static(QWidget *parent = nullptr);
    ~TFM_Static() override;

    void Refresh();
    void Clear();

private:
    bool readCounters();

    std::unique_ptr<Ui::TFM_Static> ui;
    VrSNMPRequest2Edits *m_counters = nullptr;
    VrSNMPRequest2Edits *m_clear = nullptr;
    QList<QLineEdit *> m_edits; // in the order of the counter objects
    TrafficChart *m_chart = nullptr;
};

// The open Ethernet statistics page, or null.
extern TFM_Static *FM_Static;
