#include "TClientInformation.h"

#include "ui_TClientInformation.h"

#include "Exchange.h"
#include "LiveChart.h"
#include "ReportColumns.h"
#include "StationList.h"
#include "StationTables.h"
#include "TableRows.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"

TClientInformation *ClientInformation = nullptr;

using namespace Stations;

TClientInformation::TClientInformation(QWidget *parent) : QDialog(parent), ui(new Ui::TClientInformation)
{
    ui->setupUi(this);
    connect(ui->Btn_Refresh, &QPushButton::clicked, this, &TClientInformation::Refresh);
    connect(ui->Btn_Close, &QPushButton::clicked, this, &TClientInformation::reject);

    m_trigger = MakeBinder<VrSNMPRequest2Edits>(this, kClientTriggerVars, VrListInstance, 1000,
                                                QStringLiteral("Client information"), true);
    m_trigger->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { triggered(r); };

    m_band = MakeBinder<VrSNMPRequest2Edits>(this, kBandVars, VrListInstance, 10000, QStringLiteral("Band"));
    if (RunLoad(m_band).ok)
        ui->Lb_Band->setText(m_band->Request.VarList.Item(0).value == QLatin1String("5GHz") ? QStringLiteral("5GHZ")
                                                                                          : QStringLiteral("2.4GHZ"));

    m_clients = MakeBinder<TableRows>(this, kClientTableVars, VrListTable2, 10000,
                                      QStringLiteral("Client information"), true);
    m_clients->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { walked(r); };

    ReportTo(this, ui->StatusBar1);
    QTreeWidget *view = ui->User_ListView;
    const int widths[] = {0, 100, 135, 120, 120, 50, 50};
    for (int c = 0; c < 7; ++c)
        view->setColumnWidth(c, widths[c]);
    view->setColumnHidden(0, true);
    ShowWholeColumns(view);
    detect();
    m_signals = new SignalChart(this, kClientTriggerVars, kClientTableVars, {ClientMac, ClientRssi, false},
                                QStringLiteral("client-signal"), [this] { return m_busy; });
    m_signals->PlaceUnder(view);
    connect(view, &QTreeWidget::currentItemChanged, m_signals,
            [this](QTreeWidgetItem *row) { m_signals->ShowOnly(row ? row->text(2) : QString()); });
}

TClientInformation::~TClientInformation() = default;

void TClientInformation::reject()
{
    if (!m_busy)
        QDialog::reject();
}

void TClientInformation::Refresh()
{
    if (!m_busy)
        detect();
}

// The device collects the stations when the trigger is written; the walk
// follows once it has answered.
void TClientInformation::detect()
{
    setBusy(true);
    ui->StatusBar1->setSimpleText(QStringLiteral("Detect Client Info..."));
    ui->User_ListView->clear();
    m_trigger->Request.VarList.Item(0).value = QStringLiteral("get");
    const Outcome sent = RunApply(m_trigger, false);
    if (!sent.ok)
        detectFailed(sent.error);
}

void TClientInformation::triggered(const VrSNMPError &result)
{
    if (result.Code != 0) {
        detectFailed(result.Message);
        return;
    }
    ui->StatusBar1->setSimpleText(QStringLiteral("Get Client info...!"));
    const Outcome sent = RunLoad(m_clients);
    if (!sent.ok) {
        setBusy(false);
        ui->StatusBar1->setSimpleText(sent.error);
    }
}

void TClientInformation::detectFailed(const QString &error)
{
    qCWarning(lcStations) << "client detection failed:" << error;
    ui->StatusBar1->setSimpleText(QStringLiteral("Detect timed out! ") + error);
    ui->NumOfRecord->setText(QString::number(ui->User_ListView->topLevelItemCount()));
    setBusy(false);
}

// A walk that broke off still shows the stations it reached.
void TClientInformation::walked(const VrSNMPError &result)
{
    setBusy(false);
    ui->StatusBar1->setSimpleText(result.Code == 0 ? VrSNMPMessage(0) : result.Message);
    showStations();
    if (result.Code == 0)
        m_signals->AddRows(m_clients->Rows());
    qCInfo(lcStations) << "client table:" << m_clients->Rows().size() << "rows, code" << result.Code;
}

void TClientInformation::showStations()
{
    QTreeWidget *view = ui->User_ListView;
    view->clear();
    int number = 0;
    for (const StationLine &line : StationLines(m_clients->Rows())) {
        auto *row = new QTreeWidgetItem(view);
        const QString texts[] = {QString::number(++number), line.ssid, line.mac, line.band,
                                 line.authentication, line.signal, line.powerSaving};
        for (int c = 0; c < 7; ++c)
            row->setText(c, texts[c]);
    }
    ShowWholeColumns(view);
    ui->NumOfRecord->setText(QString::number(number));
}

void TClientInformation::setBusy(bool busy)
{
    m_busy = busy;
    ui->Btn_Refresh->setEnabled(!busy);
    ui->Btn_Close->setEnabled(!busy);
}
