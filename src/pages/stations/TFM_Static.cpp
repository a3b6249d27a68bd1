#include "TFM_Static.h"

#include "ui_TFM_Static.h"

#include "Exchange.h"
#include "LiveChart.h"
#include "StationList.h"
#include "StationTables.h"
#include "VrSNMPRequest2Edits.h"

TFM_Static *FM_Static = nullptr;

using namespace Stations;

TFM_Static::TFM_Static(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_Static)
{
    ui->setupUi(this);
    m_edits = {ui->Ed_TranPCount, ui->Edt_TransBCount, ui->Edt_DropPCount,
               ui->Edt_RecPacCount, ui->Edt_RecByCount, ui->Edt_DropPacCount};
    connect(ui->Btn_Refresh, &QPushButton::clicked, this, &TFM_Static::Refresh);
    connect(ui->Btn_Clear, &QPushButton::clicked, this, &TFM_Static::Clear);

    m_counters = MakeBinder<VrSNMPRequest2Edits>(this, kEthernetCounterVars, VrListInstance, 10000,
                                                 QStringLiteral("Ethernet statistics"));
    m_clear = MakeBinder<VrSNMPRequest2Edits>(this, kEthernetClearVars, VrListInstance, 1000,
                                              QStringLiteral("Ethernet statistics"));
    ReportTo(this, ui->StatusBar1);
    ui->StatusBar1->setSimpleText(readCounters() ? QStringLiteral("Ethernet Info Get OK!")
                                                 : QStringLiteral("Ethernet Info Get Error!"));
    m_chart = new TrafficChart(this, kEthernetCounterVars, QStringLiteral("ethernet-traffic"),
                               {{QStringLiteral("Sent packets"), {0}},
                                {QStringLiteral("Received packets"), {3}},
                                {QStringLiteral("Errors"), {2, 5}},
                                {QStringLiteral("Sent bytes"), {1}, true},
                                {QStringLiteral("Received bytes"), {4}, true}});
    m_chart->PlaceBeside({ui->GB_Transmitted, ui->GB_Received});
}

TFM_Static::~TFM_Static() = default;

bool TFM_Static::readCounters()
{
    const Outcome read = RunLoad(m_counters);
    if (!read.ok) {
        qCWarning(lcStations) << "Ethernet counters not read:" << read.error;
        return false;
    }
    for (int i = 0; i < m_edits.size(); ++i)
        m_edits[i]->setText(CounterText(m_counters->Request.VarList.Item(i).value));
    return true;
}

void TFM_Static::Refresh()
{
    ui->StatusBar1->setSimpleText(readCounters() ? QStringLiteral("Refresh Ethernet Info OK!")
                                                 : QStringLiteral("Refresh Ethernet Info Error!"));
}

// Only a clear the device accepted is reported as done.
void TFM_Static::Clear()
{
    ui->StatusBar1->setSimpleText(QStringLiteral("Ethernet Info is Clearing!"));
    m_clear->Request.VarList.Item(0).value = QStringLiteral("clear");
    const Outcome cleared = RunApply(m_clear, false);
    if (!cleared.ok) {
        qCWarning(lcStations) << "Ethernet counters not cleared:" << cleared.error;
        ui->StatusBar1->setSimpleText(cleared.error);
        return;
    }
    m_chart->CountersCleared();
    Refresh();
    ui->StatusBar1->setSimpleText(QStringLiteral("Clear Ethernet Info is OK!"));
}
