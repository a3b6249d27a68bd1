#include "TFM_WDSInfo.h"

#include "ui_TFM_WDSInfo.h"

#include "Exchange.h"
#include "LiveChart.h"
#include "StationList.h"
#include "StationTables.h"
#include "TableRows.h"
#include "VrPageBinding.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"

TFM_WDSInfo *FM_WDSInfo = nullptr;

using namespace Stations;

TFM_WDSInfo::TFM_WDSInfo(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_WDSInfo)
{
    ui->setupUi(this);
    connect(ui->Btn_Refresh, &QPushButton::clicked, this, &TFM_WDSInfo::Refresh);
    connect(ui->Btn_Close, &QPushButton::clicked, this, &TFM_WDSInfo::reject);
    const int widths[] = {100, 145, 130, 120, 80};
    for (int c = 0; c < 5; ++c)
        ui->WDS_ClientListView->setColumnWidth(c, widths[c]);

    m_apMode = MakeBinder<VrSNMPRequest2Edits>(this, kWdsApModeVars, VrListInstance, 1000, QStringLiteral("Mode"));
    m_channel = MakeBinder<VrSNMPRequest2Edits>(this, kWdsChannelVars, VrListInstance, 1000,
                                                QStringLiteral("Channel"));
    m_encryption = MakeBinder<VrSNMPRequest2Edits>(this, kEncryptionVars, VrListInstance, 5000,
                                                   QStringLiteral("Encryption"));
    ReportTo(this, ui->StatusBar1);
    {
        VrReadTogether together{m_apMode, m_channel, m_encryption};
        for (VrSNMPRequest2Edits *binder : {m_apMode, m_channel, m_encryption}) {
            const Outcome read = RunLoad(binder);
            if (!read.ok)
                ui->StatusBar1->setSimpleText(read.error);
        }
    }
    ui->Lb_Channel->setText(m_channel->Request.VarList.Item(0).value);
    ui->Lb_Band->setText(m_channel->Request.VarList.Item(1).value);

    if (!wdsMode())
        return;
    m_trigger = MakeBinder<VrSNMPRequest2Edits>(this, kWdsTriggerVars, VrListInstance, 10000,
                                                QStringLiteral("WDS"), true);
    m_trigger->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { triggered(r); };
    m_peers = MakeBinder<TableRows>(this, kWdsTableVars, VrListTable2, 10000, QStringLiteral("WDS"), true);
    m_peers->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { walked(r); };
    ReportTo(this, ui->StatusBar1);
    detect();
    m_signals = new SignalChart(this, kWdsTriggerVars, kWdsTableVars, {WdsMac, WdsRssi, true},
                                QStringLiteral("wds-signal"), [this] { return m_busy; });
    m_signals->PlaceUnder(ui->WDS_ClientListView);
    connect(ui->WDS_ClientListView, &QTreeWidget::currentItemChanged, m_signals,
            [this](QTreeWidgetItem *row) { m_signals->ShowOnly(row ? row->text(1) : QString()); });
}

TFM_WDSInfo::~TFM_WDSInfo() = default;

void TFM_WDSInfo::reject()
{
    if (!m_busy)
        QDialog::reject();
}

// "WDS with AP" and "WDS"; a mode that could not be read counts as neither.
bool TFM_WDSInfo::wdsMode() const
{
    const QString mode = m_apMode->Request.VarList.Item(0).value;
    return mode.compare(QLatin1String("WDS with AP"), Qt::CaseInsensitive) == 0
        || mode.compare(QLatin1String("WDS"), Qt::CaseInsensitive) == 0;
}

void TFM_WDSInfo::Refresh()
{
    if (m_busy)
        return;
    ui->StatusBar1->setSimpleText(QStringLiteral("Refresh WDS Info..."));
    if (!m_trigger) {
        // Outside the WDS modes there are no peers to collect.
        ui->StatusBar1->setSimpleText(QStringLiteral("Get OK!"));
        return;
    }
    detect();
}

void TFM_WDSInfo::detect()
{
    setBusy(true);
    m_trigger->Request.VarList.Item(0).value = QStringLiteral("get");
    const Outcome sent = RunApply(m_trigger, false);
    if (!sent.ok)
        triggered(AsError(sent));
}

void TFM_WDSInfo::triggered(const VrSNMPError &result)
{
    if (result.Code != 0) {
        qCWarning(lcStations) << "WDS peers not collected:" << result.Message;
        ui->StatusBar1->setSimpleText(QStringLiteral("Get timed out! ") + result.Message);
        setBusy(false);
        return;
    }
    ui->StatusBar1->setSimpleText(QStringLiteral("Get Ok!"));
    const Outcome sent = RunLoad(m_peers);
    if (!sent.ok) {
        ui->StatusBar1->setSimpleText(sent.error);
        setBusy(false);
    }
}

// A walk that broke off still shows the peers it reached.
void TFM_WDSInfo::walked(const VrSNMPError &result)
{
    setBusy(false);
    ui->StatusBar1->setSimpleText(result.Code == 0 ? VrSNMPMessage(0) : result.Message);
    if (result.Code == 0)
        m_signals->AddRows(m_peers->Rows());
    const bool encrypted = m_encryption->Request.VarList.Item(0).value == QLatin1String("Enable");
    QTreeWidget *view = ui->WDS_ClientListView;
    view->clear();
    for (const WdsLine &line : WdsLines(m_peers->Rows(), encrypted)) {
        auto *row = new QTreeWidgetItem(view);
        const QString texts[] = {line.name, line.mac, line.authentication, line.signal, line.status};
        for (int c = 0; c < 5; ++c)
            row->setText(c, texts[c]);
    }
}

void TFM_WDSInfo::setBusy(bool busy)
{
    m_busy = busy;
    ui->Btn_Refresh->setEnabled(!busy);
    ui->Btn_Close->setEnabled(!busy);
}
