#include "TFM_QosSetting.h"

#include "ServiceBinders.h"
#include "ServiceRules.h"
#include "ServiceTables.h"
#include "TFM_Scheduling.h" // logging category
#include "ui_TFM_QosSetting.h"

#include "VrListViewBinding.h"
#include "VrMessageBox.h"
#include "VrSNMPError.h"
#include "VrSNMPObjectTable.h"
#include "VrStatusBar.h"

#include <QByteArray>
#include <vector>

TFM_QosSetting *FM_QosSetting = nullptr;

using namespace services;

namespace {

const QString kEnable = QStringLiteral("Enable");
const QString kZero = QStringLiteral("0.0.0.0");
constexpr int kRowRole = Qt::UserRole; // the rule's row in the device's table
constexpr int kClientModeIndex = 3;    // "Wireless Client"

} // namespace

TFM_QosSetting::TFM_QosSetting(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_QosSetting)
{
    ui->setupUi(this);
    connect(ui->CB_EnableQos, &QComboBox::activated, this, &TFM_QosSetting::enableChanged);
    connect(ui->CB_Protocol, &QComboBox::activated, this, &TFM_QosSetting::protocolChanged);
    connect(ui->LV_QosRulesUser, &QTreeWidget::itemSelectionChanged, this, &TFM_QosSetting::userSelectionChanged);
    connect(ui->Btn_Add, &QPushButton::clicked, this, &TFM_QosSetting::Add);
    connect(ui->Btn_Del, &QPushButton::clicked, this, &TFM_QosSetting::Delete);
    connect(ui->Btn_Clear, &QPushButton::clicked, this, &TFM_QosSetting::Clear);
    connect(ui->Btn_Apply, &QPushButton::clicked, this, &TFM_QosSetting::Save);
    bind();

    // None of the opening reads needs another's answer: they go out at once.
    VrReadTogether together{m_apMode, m_status, m_classifiers, m_rules};
    Load(m_apMode);
    ui->CB_EnableQos->setEnabled(ui->CB_ApMode->currentIndex() != kClientModeIndex);
    Load(m_status);
    Load(m_classifiers);
    setButtonMode(3); // nothing to add to until the table is in
    enableChanged();
    loadRules();
}

TFM_QosSetting::~TFM_QosSetting() = default;

void TFM_QosSetting::bind()
{
    QLabel *line = ExchangePanel(ui->StatusBar1);
    ResultPanel(ui->StatusBar1);
    m_apMode = MakeBinder(this, kQosApModeVars, VrListInstance, 10000, QStringLiteral("Mode"), line, true);
    m_apMode->BindComboBox(0, ui->CB_ApMode);
    m_status = MakeBinder(this, kQosStatusVars, VrListScalar, 10000, QStringLiteral("QoS"), line, true);
    m_status->BindComboBox(0, ui->CB_EnableQos);
    m_classifiers = MakeBinder(this, kQosClassifierVars, VrListScalar, 10000, QStringLiteral("Classifiers"), line, true);
    m_classifiers->BindCheckBox(0, ui->CheckBox_Http);
    m_classifiers->BindCheckBox(1, ui->CheckBox_Automatic);
    m_delete = MakeBinder(this, kQosDeleteVars, VrListScalar, 10000, QStringLiteral("QoS delete"), line, true);
    m_delete->BindFormat(0, QStringLiteral("%s"), {ui->Ed_QosRuleDel});

    m_rules = MakeBinder(this, kQosRuleVars, VrListTable2, 10000, QStringLiteral("QoS rules"), line, false);
    m_rules->BindControl(QcIndex, ui->LB_Index);
    m_rules->BindComboBox(QcState, ui->CB_QosRulesState);
    m_rules->BindFormat(QcName, QStringLiteral("%s"), {ui->Ed_QosName});
    m_rules->BindComboBox(QcPriority, ui->CB_Priority);
    m_rules->BindFormat(QcProtocol, QStringLiteral("%s"), {ui->Ed_ProtocolName});
    m_rules->BindComboBox(QcProtocolType, ui->CB_Protocol);
    const std::pair<int, QLineEdit *> edits[] = {
        {QcIpFrom1, ui->Ed_IpFrom1},          {QcIpTo1, ui->Ed_IpTo1},         {QcIpRange1, ui->Ed_HostOneIpRange},
        {QcPortFrom1, ui->Ed_PortFrom1},      {QcPortTo1, ui->Ed_PortTo1},     {QcPortRange1, ui->Ed_HostOnePortRange},
        {QcIpFrom2, ui->Ed_IpFrom2},          {QcIpTo2, ui->Ed_IpTo2},         {QcIpRange2, ui->Ed_HostTowIpRange},
        {QcPortFrom2, ui->Ed_PortFrom2},      {QcPortTo2, ui->Ed_PortTo2},     {QcPortRange2, ui->Ed_HostTowPortRange}};
    for (const auto &[column, edit] : edits)
        m_rules->BindFormat(column, QStringLiteral("%s"), {edit});
    m_rules->AttachListView(ui->LV_QosRules, false);
    m_rules->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { rulesLoaded(r); };
    m_rules->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { ruleWritten(r); };

    // Binding an edit to a format lifts its length limit.
    for (QLineEdit *edit : {ui->Ed_IpFrom1, ui->Ed_IpTo1, ui->Ed_IpFrom2, ui->Ed_IpTo2})
        edit->setMaxLength(15);
    for (QLineEdit *edit : {ui->Ed_PortFrom1, ui->Ed_PortTo1, ui->Ed_PortFrom2, ui->Ed_PortTo2})
        edit->setMaxLength(5);
    ui->Ed_ProtocolName->setMaxLength(3);
    ui->Ed_QosName->setMaxLength(64);

    QTreeWidget *view = ui->LV_QosRulesUser;
    view->setRootIsDecorated(false);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    VrReportListLook(view);
    const int widths[] = {110, 110, 170, 170, 120};
    for (int c = 0; c < 5; ++c)
        view->setColumnWidth(c, widths[c]);
}

bool TFM_QosSetting::Busy() const
{
    return m_rules->Busy() || m_writing;
}

void TFM_QosSetting::result(const QString &text)
{
    ResultPanel(ui->StatusBar1)->setText(text);
}

QString TFM_QosSetting::exchangeText() const
{
    return ExchangePanel(ui->StatusBar1)->text();
}

bool TFM_QosSetting::qosEnabled() const
{
    return ui->CB_EnableQos->currentText() == kEnable;
}

void TFM_QosSetting::loadRules()
{
    if (!Load(m_rules))
        result(exchangeText()); // nothing went out, so no completion will come
}

void TFM_QosSetting::rulesLoaded(const VrSNMPError &r)
{
    if (r.Code != 0) {
        result(r.Message);
        qCInfo(lcServices) << "QoS rules not read:" << r.Code;
        return;
    }
    setEnabled(true);
    setButtonMode(0);
    QSignalBlocker quiet(ui->LV_QosRulesUser);
    ui->LV_QosRulesUser->clear();
    const QTreeWidget *table = ui->LV_QosRules;
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *rule = table->topLevelItem(row);
        if (rule->text(QcName).isEmpty())
            continue;
        const QString protocol = rule->text(QcProtocolType) + u' '
                                 + QosPortsText(rule->text(QcPortFrom1), rule->text(QcPortTo1)) + u' '
                                 + QosPortsText(rule->text(QcPortFrom2), rule->text(QcPortTo2));
        auto *shown = new QTreeWidgetItem(ui->LV_QosRulesUser,
                                          {rule->text(QcName), rule->text(QcPriority),
                                           QosHostText(rule->text(QcIpFrom1), rule->text(QcIpTo1), false),
                                           QosHostText(rule->text(QcIpFrom2), rule->text(QcIpTo2), true), protocol});
        shown->setFlags(shown->flags() | Qt::ItemIsUserCheckable);
        shown->setCheckState(0, rule->text(QcState) == kEnable ? Qt::Checked : Qt::Unchecked);
        shown->setData(0, kRowRole, row);
    }
    m_ruleCount = ui->LV_QosRulesUser->topLevelItemCount();
    Clear();
    enableChanged();
    result(QStringLiteral("Get OK!"));
}

// Free rows are the ones without a name; after deletes they may lie between rules.
void TFM_QosSetting::selectFreeRow()
{
    QTreeWidget *table = ui->LV_QosRules;
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        if (table->topLevelItem(row)->text(QcName).isEmpty()) {
            table->clearSelection();
            table->topLevelItem(row)->setSelected(true);
            setButtonMode(0);
            return;
        }
    }
    table->clearSelection();
    setButtonMode(3);
}

void TFM_QosSetting::setButtonMode(int mode)
{
    m_buttonMode = mode;
    const bool on = qosEnabled();
    ui->Btn_Add->setEnabled(on && mode != 3);
    ui->Btn_Clear->setEnabled(on);
    ui->Btn_Del->setEnabled(on && mode == 1);
    ui->Btn_Apply->setEnabled(true);
}

void TFM_QosSetting::enableChanged()
{
    const bool on = qosEnabled();
    for (QWidget *w : std::initializer_list<QWidget *>{
             ui->CheckBox_Http, ui->CheckBox_Automatic, ui->Ed_QosName, ui->CB_Priority, ui->CB_Protocol,
             ui->Ed_IpFrom1, ui->Ed_IpTo1, ui->Ed_PortFrom1, ui->Ed_PortTo1, ui->Ed_IpFrom2, ui->Ed_IpTo2,
             ui->Ed_PortFrom2, ui->Ed_PortTo2, ui->LV_QosRulesUser})
        w->setEnabled(on);
    setButtonMode(m_buttonMode);
    protocolChanged();
}

void TFM_QosSetting::protocolChanged()
{
    const QString protocol = ui->CB_Protocol->currentText();
    const bool on = qosEnabled();
    if (const std::optional<int> number = QosProtocolNumber(protocol))
        ui->Ed_ProtocolName->setText(QString::number(*number));
    ui->Ed_ProtocolName->setEnabled(on && protocol == QLatin1String("Other"));
    const bool ports = on && QosProtocolHasPorts(protocol);
    for (QLineEdit *edit : {ui->Ed_PortFrom1, ui->Ed_PortTo1, ui->Ed_PortFrom2, ui->Ed_PortTo2})
        edit->setEnabled(ports);
}

// The device shows unset addresses and ports as zeros; the user sees them empty.
void TFM_QosSetting::emptyZeroFields()
{
    for (QLineEdit *edit : {ui->Ed_IpFrom1, ui->Ed_IpTo1, ui->Ed_IpFrom2, ui->Ed_IpTo2, ui->Ed_PortFrom1,
                            ui->Ed_PortTo1, ui->Ed_PortFrom2, ui->Ed_PortTo2})
        if (edit->text() == kZero || edit->text() == QLatin1String("0"))
            edit->clear();
}

void TFM_QosSetting::userSelectionChanged()
{
    const QList<QTreeWidgetItem *> selected = ui->LV_QosRulesUser->selectedItems();
    if (selected.isEmpty()) {
        selectFreeRow();
    } else {
        QTreeWidget *table = ui->LV_QosRules;
        table->clearSelection();
        if (QTreeWidgetItem *row = table->topLevelItem(selected.first()->data(0, kRowRole).toInt()))
            row->setSelected(true);
        ui->Ed_QosRuleDel->setText(ui->LB_Index->text());
        setButtonMode(1);
    }
    emptyZeroFields();
    protocolChanged();
}

void TFM_QosSetting::Clear()
{
    {
        QSignalBlocker quiet(ui->LV_QosRulesUser);
        ui->LV_QosRulesUser->clearSelection();
    }
    selectFreeRow();
    for (QLineEdit *edit : {ui->Ed_QosName, ui->Ed_IpFrom1, ui->Ed_IpTo1, ui->Ed_IpFrom2, ui->Ed_IpTo2,
                            ui->Ed_PortFrom1, ui->Ed_PortTo1, ui->Ed_PortFrom2, ui->Ed_PortTo2})
        edit->clear();
    ui->CB_Protocol->setCurrentIndex(ui->CB_Protocol->findText(QStringLiteral("Any")));
    ui->CB_Priority->setCurrentIndex(ui->CB_Priority->findText(QStringLiteral("Background(BK)")));
    protocolChanged();
}

void TFM_QosSetting::refuse(const ServiceProblem &problem)
{
    VrMessageBox(this, problem.text, problem.caption);
    if (auto *field = findChild<QLineEdit *>(problem.field)) {
        if (problem.clear)
            field->clear();
        field->setFocus();
    }
}

void TFM_QosSetting::Add()
{
    if (!Busy())
        addRule(true);
}

bool TFM_QosSetting::addRule(bool withState)
{
    const QosRuleInput input{ui->Ed_QosName->text(),  ui->CB_Protocol->currentText(), ui->Ed_IpFrom1->text(),
                             ui->Ed_IpTo1->text(),    ui->Ed_PortFrom1->text(),      ui->Ed_PortTo1->text(),
                             ui->Ed_IpFrom2->text(),  ui->Ed_IpTo2->text(),          ui->Ed_PortFrom2->text(),
                             ui->Ed_PortTo2->text()};
    const QosRuleCheck check = CheckQosRule(input);
    if (check.problem) {
        refuse(*check.problem);
        return false;
    }
    bool numberOk = false;
    const int protocol = ui->Ed_ProtocolName->text().toInt(&numberOk);
    if (!numberOk || protocol < 0 || protocol > 255) {
        if (input.protocol == QLatin1String("Other")) {
            refuse({QStringLiteral("Invalid Protocol!"), QStringLiteral("Waring"), QStringLiteral("Ed_ProtocolName"),
                    true});
            return false;
        }
    }
    if (ui->LV_QosRules->selectedItems().isEmpty()) {
        result(QStringLiteral("No free QoS rule entry!"));
        return false;
    }
    const QosRulePlan &plan = check.plan;
    ui->Ed_IpTo1->setText(plan.ipTo1);
    ui->Ed_IpTo2->setText(plan.ipTo2);
    ui->Ed_PortTo1->setText(plan.portTo1);
    ui->Ed_PortTo2->setText(plan.portTo2);
    ui->Ed_HostOneIpRange->setText(plan.ipRange1);
    ui->Ed_HostOnePortRange->setText(plan.portRange1);
    ui->Ed_HostTowIpRange->setText(plan.ipRange2);
    ui->Ed_HostTowPortRange->setText(plan.portRange2);
    ui->CB_QosRulesState->setCurrentIndex(ui->CB_QosRulesState->findText(kEnable));
    QList<int> columns;
    for (int c = withState ? QcState : QcName; c < QcCount; ++c)
        if (!plan.excluded.count(c))
            columns << c;
    m_writing = true;
    if (!Apply(m_rules, Selection(columns))) {
        m_writing = false;
        result(exchangeText());
        return false;
    }
    result(QStringLiteral("Adding QOS!"));
    return true;
}

void TFM_QosSetting::ruleWritten(const VrSNMPError &r)
{
    m_writing = false;
    if (r.Code != 0) {
        result(r.Message);
        qCInfo(lcServices) << "QoS rule not written:" << r.Code;
    }
    // On success the binder reads the table back now.
}

void TFM_QosSetting::Delete()
{
    const QList<QTreeWidgetItem *> selected = ui->LV_QosRulesUser->selectedItems();
    if (Busy() || selected.isEmpty())
        return;
    if (VrMessageBox(this, QStringLiteral("Are you sure you want to delete ") + selected.first()->text(0) + u'?',
                     QStringLiteral("Warning"), QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    ui->Ed_QosRuleDel->setText(ui->LB_Index->text());
    if (!Apply(m_delete, QString(), nullptr, false)) {
        result(QStringLiteral("Delete Fail!"));
        return;
    }
    qCInfo(lcServices) << "QoS rule deleted at row" << ui->LB_Index->text();
    loadRules();
    result(QStringLiteral("Delete OK!"));
}

// The enable marks of the list, each to its own row of the device's table.
bool TFM_QosSetting::writeRuleStates()
{
    QTreeWidget *view = ui->LV_QosRulesUser;
    if (view->topLevelItemCount() == 0)
        return true;
    qDeleteAll(m_stateCombos);
    m_stateCombos.clear();
    delete m_states;
    m_states = nullptr;

    std::vector<QByteArray> oids, names;
    std::vector<VrSNMPVarDef> defs;
    for (int k = 0; k < view->topLevelItemCount(); ++k) {
        const int row = view->topLevelItem(k)->data(0, kRowRole).toInt();
        const QString index = ui->LV_QosRules->topLevelItem(row)->text(QcIndex);
        oids.push_back(QosRuleStateOid(index.toInt()).toLatin1());
        names.push_back("dot11QosRulesState" + QByteArray::number(k + 1));
    }
    for (size_t k = 0; k < oids.size(); ++k)
        defs.push_back(VarDef(oids[k].constData(), names[k].constData(), VrSyntaxInteger, 0x06, QosStateOptions()));
    defs.push_back(VarEnd);
    m_states = MakeBinder(this, defs.data(), VrListInstance, 10000, QStringLiteral("Rule states"),
                          ExchangePanel(ui->StatusBar1), true);
    for (int k = 0; k < view->topLevelItemCount(); ++k) {
        auto *combo = new QComboBox(ui->StateCombos);
        ui->HL_StateCombos->addWidget(combo);
        m_states->BindComboBox(k, combo);
        m_stateCombos << combo;
    }
    if (!Load(m_states) || m_states->RowCount() != 1) {
        result(QStringLiteral("Rule states not read: ") + exchangeText());
        return false;
    }
    for (int k = 0; k < view->topLevelItemCount(); ++k) {
        const bool on = view->topLevelItem(k)->checkState(0) == Qt::Checked;
        m_stateCombos[k]->setCurrentIndex(m_stateCombos[k]->findText(on ? kEnable : QStringLiteral("Disable")));
    }
    if (!Apply(m_states)) {
        result(exchangeText());
        return false;
    }
    return true;
}

void TFM_QosSetting::Save()
{
    if (Busy())
        return;
    bool anyRule = false;
    for (int k = 0; k < ui->LV_QosRulesUser->topLevelItemCount(); ++k)
        anyRule = anyRule || ui->LV_QosRulesUser->topLevelItem(k)->checkState(0) == Qt::Checked;
    if (!ui->CheckBox_Http->isChecked() && !ui->CheckBox_Automatic->isChecked() && !anyRule)
        VrMessageBox(this,
                     QStringLiteral("All traffic will be treated as priority of 'Best Effort'\nbecause of priority "
                                    "classifier specified and empty rule table."),
                     QStringLiteral("Warning"));
    if (!qosEnabled()) {
        result(Apply(m_status) ? QStringLiteral("Set OK!") : exchangeText());
        return;
    }
    if (!writeRuleStates())
        return;
    if (!Apply(m_status) || !Apply(m_classifiers)) {
        result(exchangeText());
        return;
    }
    result(QStringLiteral("Set OK!"));
    if (m_buttonMode == 1)
        addRule(false);
    else
        loadRules();
}
