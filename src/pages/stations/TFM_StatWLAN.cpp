#include "TFM_StatWLAN.h"

#include "ui_TFM_StatWLAN.h"

#include "Exchange.h"
#include "LiveChart.h"
#include "StationList.h"
#include "StationTables.h"
#include "VrSNMPRequest2Edits.h"
#include "VrTimeScale.h"

#include <QTimer>

TFM_StatWLAN *FM_StatWLAN = nullptr;

using namespace Stations;

namespace {
// The device needs a moment after a clear before its counters read anew.
constexpr int kSettleMs = 5000;
} // namespace

TFM_StatWLAN::TFM_StatWLAN(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_StatWLAN)
{
    ui->setupUi(this);
    m_edits = {ui->Ed_TranPCount, ui->Edt_TransBCount, ui->Edt_DropPCount, ui->Ed_TranReCount,
               ui->Edt_RecPacCount, ui->Edt_RecByCount, ui->Edt_DropPacCount, ui->Edt_RecCRCCount,
               ui->Edt_RecDecErrCount, ui->Edt_RecMICErrCount, ui->Edt_RecPHYErrCount};
    connect(ui->Btn_Refresh, &QPushButton::clicked, this, &TFM_StatWLAN::Refresh);
    connect(ui->Btn_Clear, &QPushButton::clicked, this, &TFM_StatWLAN::Clear);

    m_counters = MakeBinder<VrSNMPRequest2Edits>(this, kWlanCounterVars, VrListInstance, 10000,
                                                 QStringLiteral("WLAN statistics"));
    m_clear = MakeBinder<VrSNMPRequest2Edits>(this, kWlanClearVars, VrListInstance, 50000,
                                              QStringLiteral("WLAN statistics"));
    ReportTo(this, ui->StatusBar1);
    m_settle = new QTimer(this);
    m_settle->setSingleShot(true);
    connect(m_settle, &QTimer::timeout, this, &TFM_StatWLAN::clearSettled);

    setButtons(true);
    ui->StatusBar1->setSimpleText(readCounters() ? QStringLiteral("Wlan Info Get OK!")
                                                 : QStringLiteral("Wlan Info Get Error!"));
    m_chart = new TrafficChart(this, kWlanCounterVars, QStringLiteral("wlan-traffic"),
                               {{QStringLiteral("Sent packets"), {0}},
                                {QStringLiteral("Received packets"), {4}},
                                {QStringLiteral("Errors"), {2, 6, 7, 8, 9, 10}},
                                {QStringLiteral("Sent bytes"), {1}, true},
                                {QStringLiteral("Received bytes"), {5}, true}});
    m_chart->PlaceBeside({ui->GB_Transmitted, ui->GB_Received});
}

TFM_StatWLAN::~TFM_StatWLAN() = default;

bool TFM_StatWLAN::readCounters()
{
    const Outcome read = RunLoad(m_counters);
    m_error = read.error;
    if (!read.ok) {
        qCWarning(lcStations) << "WLAN counters not read:" << read.error;
        return false;
    }
    for (int i = 0; i < m_edits.size(); ++i)
        m_edits[i]->setText(CounterText(m_counters->Request.VarList.Item(i).value));
    return true;
}

void TFM_StatWLAN::Refresh()
{
    ui->StatusBar1->setSimpleText(readCounters() ? QStringLiteral("Refresh Wlan Info OK!")
                                                 : QStringLiteral("Refresh Wlan Info Error!"));
}

// The pause runs on a timer: the page keeps painting and the buttons stay
// off until the counters have been read again.
void TFM_StatWLAN::Clear()
{
    setButtons(false);
    m_clear->Request.VarList.Item(0).value = QStringLiteral("clear");
    const Outcome cleared = RunApply(m_clear, false);
    if (!cleared.ok) {
        ui->StatusBar1->setSimpleText(cleared.error);
        setButtons(true);
        return;
    }
    m_chart->CountersCleared();
    m_settle->start(VrScaledMs(kSettleMs));
}

void TFM_StatWLAN::clearSettled()
{
    const bool read = readCounters();
    setButtons(true);
    ui->StatusBar1->setSimpleText(read ? QStringLiteral("Clear OK!") : m_error);
}

void TFM_StatWLAN::setButtons(bool enabled)
{
    ui->Btn_Refresh->setEnabled(enabled);
    ui->Btn_Clear->setEnabled(enabled);
}
