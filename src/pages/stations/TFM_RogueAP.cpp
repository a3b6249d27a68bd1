#include "TFM_RogueAP.h"

#include "ui_TFM_RogueAP.h"

#include "Exchange.h"
#include "ReportColumns.h"
#include "StationList.h"
#include "StationTables.h"
#include "TableRows.h"
#include "VrMessageBox.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"

#include <QShowEvent>

TFM_RogueAP *FM_RogueAP = nullptr;

using namespace Stations;

namespace {
const QString kEnable = QStringLiteral("Enable");
const QString kDisable = QStringLiteral("Disable");
constexpr int kBssidColumn = 4;
} // namespace

TFM_RogueAP::TFM_RogueAP(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_RogueAP)
{
    ui->setupUi(this);
    QTreeWidget *view = ui->AP_UserListView;
    const int widths[] = {80, 50, 40, 100, 100, 150, 60};
    for (int c = 0; c < 7; ++c)
        view->setColumnWidth(c, widths[c]);
    ShowWholeColumns(view);
    view->setSelectionMode(QAbstractItemView::NoSelection);

    connect(ui->Btn_Detect, &QPushButton::clicked, this, &TFM_RogueAP::Detect);
    connect(ui->Btn_SetValid, &QPushButton::clicked, this, [this] { setAs(Valid); });
    connect(ui->Btn_SetNeigh, &QPushButton::clicked, this, [this] { setAs(Neighborhood); });
    connect(ui->Btn_SetRogue, &QPushButton::clicked, this, [this] { setAs(Rogue); });
    connect(ui->Btn_SetNew, &QPushButton::clicked, this, [this] { setAs(New); });
    connect(ui->Btn_Apply, &QPushButton::clicked, this, &TFM_RogueAP::Save);
    connect(ui->CB_OperatorType, &QComboBox::activated, this, &TFM_RogueAP::filterChanged);
    connect(ui->RB_MarkAllValid, &QRadioButton::clicked, this, &TFM_RogueAP::markAllValid);
    connect(ui->RB_MarkAllRogue, &QRadioButton::clicked, this, &TFM_RogueAP::markAllRogue);
    connect(ui->CheckBox_SelectAll, &QCheckBox::clicked, this, &TFM_RogueAP::selectAll);

    m_trigger = MakeBinder<VrSNMPRequest2Edits>(this, kRogueTriggerVars, VrListInstance, 10000,
                                                QStringLiteral("Rogue AP"), true);
    m_trigger->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { triggered(r); };
    m_survey = MakeBinder<TableRows>(this, kRogueSurveyVars, VrListTable2, 10000, QStringLiteral("Rogue AP"), true);
    m_survey->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { walked(r); };
    const VrSNMPVarDef *commands[] = {kRogueValidVars, kRogueNeighborVars, kRogueRogueVars, kRogueNewVars};
    for (int c = Valid; c <= New; ++c)
        m_classes[c] = MakeBinder<VrSNMPRequest2Edits>(this, commands[c], VrListInstance, c == New ? 10000 : 100,
                                                       QStringLiteral("Rogue AP"));
    m_markAll = MakeBinder<VrSNMPRequest2Edits>(this, kRogueMarkAllVars, VrListInstance, 100,
                                                QStringLiteral("Rogue AP"));

    ReportTo(this, ui->StatusBar1);
    // The class commands are written only; reading them tells nothing.
    const Outcome read = RunLoad(m_markAll);
    if (!read.ok)
        ui->StatusBar1->setSimpleText(read.error);
    ui->CB_OperatorType->addItems(SurveyFilters());
    ui->CB_OperatorType->setCurrentIndex(0);
    const VrSNMPVarList &marks = m_markAll->Request.VarList;
    if (marks.Item(0).value == kEnable) {
        ui->RB_MarkAllValid->setChecked(true);
        markAllValid();
    } else if (marks.Item(1).value == kEnable) {
        ui->RB_MarkAllRogue->setChecked(true);
        markAllRogue();
    }
}

TFM_RogueAP::~TFM_RogueAP() = default;

void TFM_RogueAP::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ui->Btn_Detect->setFocus();
}

void TFM_RogueAP::Detect()
{
    setControls(false);
    m_trigger->Request.VarList.Item(0).value = QStringLiteral("refresh");
    const Outcome sent = RunApply(m_trigger, false);
    if (!sent.ok)
        triggered(AsError(sent));
}

void TFM_RogueAP::triggered(const VrSNMPError &result)
{
    if (result.Code != 0) {
        setControls(true);
        ui->StatusBar1->setSimpleText(result.Message);
        return;
    }
    ui->StatusBar1->setSimpleText(QStringLiteral("Refresh...!"));
    const Outcome sent = RunLoad(m_survey);
    if (!sent.ok) {
        setControls(true);
        ui->StatusBar1->setSimpleText(sent.error);
    }
}

// A walk that broke off gives the controls back too, or the page would stay
// locked.
void TFM_RogueAP::walked(const VrSNMPError &result)
{
    ui->CB_OperatorType->setCurrentIndex(0);
    showSurvey();
    setControls(true);
    ui->StatusBar1->setSimpleText(result.Code == 0 ? QStringLiteral("Get OK!") : result.Message);
    qCInfo(lcStations) << "rogue survey:" << m_survey->Rows().size() << "rows, code" << result.Code;
}

// Everything that could start a request is off while a detection runs.
void TFM_RogueAP::setControls(bool enabled)
{
    m_detecting = !enabled;
    for (QWidget *control : std::initializer_list<QWidget *>{
             ui->Btn_Detect, ui->Btn_SetValid, ui->Btn_SetNeigh, ui->Btn_SetRogue, ui->Btn_SetNew,
             ui->Btn_Apply, ui->CB_OperatorType, ui->AP_UserListView, ui->CheckBox_SelectAll})
        control->setEnabled(enabled);
    const QString filter = ui->CB_OperatorType->currentText();
    const bool marks = enabled && (filter == QLatin1String("All") || filter == QLatin1String("New"));
    ui->RB_MarkAllValid->setEnabled(marks);
    ui->RB_MarkAllRogue->setEnabled(marks);
}

void TFM_RogueAP::showSurvey()
{
    QTreeWidget *view = ui->AP_UserListView;
    view->clear();
    for (const SurveyLine &line : SurveyLines(m_survey->Rows(), ui->CB_OperatorType->currentText())) {
        auto *row = new QTreeWidgetItem(view);
        const QString texts[] = {line.type, line.band, line.channel, line.ssid, line.bssid, line.lastSeen, line.status};
        for (int c = 0; c < 7; ++c)
            row->setText(c, texts[c]);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, Qt::Unchecked);
    }
    ShowWholeColumns(view);
    ui->CheckBox_SelectAll->setChecked(false);
}

void TFM_RogueAP::filterChanged()
{
    showSurvey();
    setControls(true);
}

// Only the chosen one of the two mark-all objects is written.
void TFM_RogueAP::markAllValid()
{
    VrSNMPVarList &marks = m_markAll->Request.VarList;
    marks.Item(0).value = kEnable;
    marks.Item(1).value = kDisable;
    marks.Item(0).flags &= uint8_t(~VrFlagExcluded);
    marks.Item(1).flags |= VrFlagExcluded;
    tickNewLines(true);
}

void TFM_RogueAP::markAllRogue()
{
    VrSNMPVarList &marks = m_markAll->Request.VarList;
    marks.Item(1).value = kEnable;
    marks.Item(0).value = kDisable;
    marks.Item(1).flags &= uint8_t(~VrFlagExcluded);
    marks.Item(0).flags |= VrFlagExcluded;
    tickNewLines(true);
}

void TFM_RogueAP::tickNewLines(bool ticked)
{
    QTreeWidget *view = ui->AP_UserListView;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = view->topLevelItem(i);
        if (row->text(0) == QLatin1String("new"))
            row->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
    }
}

void TFM_RogueAP::selectAll()
{
    const Qt::CheckState state = ui->CheckBox_SelectAll->isChecked() ? Qt::Checked : Qt::Unchecked;
    QTreeWidget *view = ui->AP_UserListView;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        view->topLevelItem(i)->setCheckState(0, state);
}

bool TFM_RogueAP::classify(Class target)
{
    QStringList ticked;
    QTreeWidget *view = ui->AP_UserListView;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        if (view->topLevelItem(i)->checkState(0) == Qt::Checked)
            ticked << view->topLevelItem(i)->text(kBssidColumn);
    if (ticked.isEmpty()) {
        VrMessageBox(this, QStringLiteral("No entry click!"), QStringLiteral("Waring"));
        return false;
    }
    for (const QString &bssid : ticked) {
        const std::optional<int> index = SurveyIndexOf(m_survey->Rows(), bssid);
        if (!index) {
            qCInfo(lcStations) << "no longer in the survey, skipped:" << bssid;
            continue;
        }
        m_classes[target]->Request.VarList.Item(0).value = QString::number(*index);
        const Outcome written = RunApply(m_classes[target], false);
        if (!written.ok) {
            qCWarning(lcStations) << "classification not written:" << written.error;
            ui->StatusBar1->setSimpleText(QStringLiteral("Set Error!"));
            return false;
        }
    }
    return true;
}

void TFM_RogueAP::setAs(Class target)
{
    if (classify(target))
        Detect();
}

void TFM_RogueAP::Save()
{
    if (!classify(New))
        return;
    const Outcome written = RunApply(m_markAll, false);
    VrSNMPVarList &marks = m_markAll->Request.VarList;
    marks.Item(0).flags &= uint8_t(~VrFlagExcluded);
    marks.Item(1).flags &= uint8_t(~VrFlagExcluded);
    if (!written.ok) {
        qCWarning(lcStations) << "mark-all not written:" << written.error;
        ui->StatusBar1->setSimpleText(QStringLiteral("Set Error!"));
        return;
    }
    Detect();
    ui->StatusBar1->setSimpleText(QStringLiteral("Set OK!"));
}
