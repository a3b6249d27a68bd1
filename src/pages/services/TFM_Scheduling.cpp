#include "TFM_Scheduling.h"

#include "ServiceBinders.h"
#include "ServiceRules.h"
#include "ServiceTables.h"
#include "ui_TFM_Scheduling.h"

#include "VrMessageBox.h"
#include "VrSNMPError.h"
#include "VrStatusBar.h"

#include <QPixmap>
#include <QStyle>

Q_LOGGING_CATEGORY(lcServices, "qrt.pages.services")

TFM_Scheduling *FM_Scheduling = nullptr;

using namespace services;

namespace {

const QString kEnable = QStringLiteral("Enable");
const QString kDisable = QStringLiteral("Disable");
constexpr int kImageRole = Qt::UserRole + 1; // 1: the active rule, 0: the others
constexpr int kRowRole = Qt::UserRole;       // the rule's row in the device's table

} // namespace

TFM_Scheduling::TFM_Scheduling(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_Scheduling)
{
    ui->setupUi(this);
    connect(ui->CheckBox_SchEnable, &QCheckBox::clicked, this, &TFM_Scheduling::enableChanged);
    connect(ui->RB_AllWeek, &QRadioButton::clicked, this, &TFM_Scheduling::dayKindChanged);
    connect(ui->RB_SelectDay, &QRadioButton::clicked, this, &TFM_Scheduling::dayKindChanged);
    connect(ui->CheckBox_AllDay, &QCheckBox::clicked, this, &TFM_Scheduling::allDayChanged);
    connect(ui->User_ListView, &QTreeWidget::itemSelectionChanged, this, &TFM_Scheduling::userSelectionChanged);
    connect(ui->Btn_Add, &QPushButton::clicked, this, &TFM_Scheduling::Add);
    connect(ui->Btn_Clear, &QPushButton::clicked, this, &TFM_Scheduling::Clear);
    connect(ui->Btn_Del, &QPushButton::clicked, this, &TFM_Scheduling::Delete);
    connect(ui->Btn_Apply, &QPushButton::clicked, this, &TFM_Scheduling::Save);
    bind();

    // The switch and the rule table go out at once; the table's load takes its answer.
    VrReadTogether together{m_status, m_rules};
    Load(m_status);
    ui->CB_Wireless->setCurrentIndex(ui->CB_Wireless->findText(QStringLiteral("Off")));
    for (QLineEdit *edit : {ui->Ed_StartHour, ui->Ed_StartMinute, ui->Ed_EndHour, ui->Ed_EndMinute})
        edit->clear();
    setButtonMode(0);
    enableChanged();
    loadRules();
    ui->CheckBox_SchEnable->setFocus();
}

TFM_Scheduling::~TFM_Scheduling() = default;

void TFM_Scheduling::bind()
{
    QLabel *line = ExchangePanel(ui->StatusBar1);
    ResultPanel(ui->StatusBar1);
    m_status = MakeBinder(this, kSchStatusVars, VrListInstance, 10000, QStringLiteral("Scheduling"), line, true);
    m_status->BindCheckBox(0, ui->CheckBox_SchEnable);
    m_delete = MakeBinder(this, kSchDeleteVars, VrListScalar, 10000, QStringLiteral("Schedule delete"), line, true);
    m_delete->BindFormat(0, QStringLiteral("%s"), {ui->Ed_DeleteSchdule});
    m_nodes = MakeBinder(this, kSchNodeStateVars, VrListInstance, 10000, QStringLiteral("Active rule"), line, true);

    m_rules = MakeBinder(this, kSchRuleVars, VrListTable2, 10000, QStringLiteral("Schedule"), line, false);
    m_rules->BindControl(ScIndex, ui->LB_Index);
    m_rules->BindFormat(ScName, QStringLiteral("%s"), {ui->Ed_ScheduleName});
    m_rules->BindFormat(ScDay, QStringLiteral("%s"), {ui->Ed_day});
    m_rules->BindCheckBox(ScAllDay, ui->CheckBox_AllDay);
    m_rules->BindFormat(ScStart, QStringLiteral("%s"), {ui->Ed_StartTime});
    m_rules->BindFormat(ScEnd, QStringLiteral("%s"), {ui->Ed_EndTime});
    m_rules->BindComboBox(ScWireless, ui->CB_Wireless);
    m_rules->BindComboBox(ScNodeState, ui->CB_NodeStatus);
    m_rules->AttachListView(ui->Schedule_ListView, false);
    m_rules->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { rulesLoaded(r); };
    m_rules->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { ruleWritten(r); };

    // Binding an edit to a format lifts its length limit.
    ui->Ed_ScheduleName->setMaxLength(32);
    ui->User_ListView->setRootIsDecorated(false);
    ui->User_ListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->User_ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int widths[] = {130, 170, 130, 70};
    for (int c = 0; c < 4; ++c)
        ui->User_ListView->setColumnWidth(c, widths[c]);
}

bool TFM_Scheduling::Busy() const
{
    return m_rules->Busy() || m_write != Write::None;
}

void TFM_Scheduling::result(const QString &text)
{
    ResultPanel(ui->StatusBar1)->setText(text);
}

bool TFM_Scheduling::schedulingEnabled() const
{
    return ui->CheckBox_SchEnable->isChecked();
}

QList<QCheckBox *> TFM_Scheduling::dayBoxes() const
{
    return {ui->CheckBox_Sun, ui->CheckBox_Mon, ui->CheckBox_Tue, ui->CheckBox_Wed,
            ui->CheckBox_Thu, ui->CheckBox_Fri, ui->CheckBox_Sat};
}

void TFM_Scheduling::loadRules()
{
    if (!Load(m_rules)) {
        // Nothing went out, so no completion will come.
        result(ExchangePanel(ui->StatusBar1)->text());
    }
}

void TFM_Scheduling::rulesLoaded(const VrSNMPError &r)
{
    if (r.Code != 0) {
        result(r.Message);
        qCInfo(lcServices) << "schedule table not read:" << r.Code;
        return;
    }
    Load(m_status);
    QSignalBlocker quiet(ui->User_ListView);
    ui->User_ListView->clear();
    const QTreeWidget *table = ui->Schedule_ListView;
    const QIcon blank = [] {
        QPixmap empty(16, 16);
        empty.fill(Qt::transparent);
        return QIcon(empty);
    }();
    const QIcon active = style()->standardIcon(QStyle::SP_DialogApplyButton);
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *rule = table->topLevelItem(row);
        if (rule->text(ScName).isEmpty())
            continue;
        auto *shown = new QTreeWidgetItem(
            ui->User_ListView,
            {rule->text(ScName), DaysText(rule->text(ScDay).toInt()),
             TimeFrameText(rule->text(ScAllDay) == kEnable, rule->text(ScStart), rule->text(ScEnd)),
             rule->text(ScWireless)});
        shown->setData(0, kRowRole, row);
        const bool isActive = rule->text(ScNodeState) != kDisable;
        shown->setData(0, kImageRole, isActive ? 1 : 0);
        shown->setIcon(0, isActive ? active : blank);
    }
    m_ruleCount = ui->User_ListView->topLevelItemCount();
    m_selectedName.clear();
    if (schedulingEnabled()) {
        selectFreeRow();
        ui->RB_SelectDay->setChecked(true);
        dayKindChanged();
    }
    if (m_ruleCount == 0)
        disableNodeStates();
    enableChanged();
    result(QStringLiteral("Get OK!"));
}

// Free rows are the ones without a name; the list may have gaps after a delete.
void TFM_Scheduling::selectFreeRow()
{
    const QTreeWidget *table = ui->Schedule_ListView;
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        if (table->topLevelItem(row)->text(ScName).isEmpty()) {
            selectHiddenRow(row);
            setButtonMode(0);
            return;
        }
    }
    ui->Schedule_ListView->clearSelection();
    setButtonMode(3);
}

bool TFM_Scheduling::selectHiddenRow(int row)
{
    QTreeWidgetItem *item = ui->Schedule_ListView->topLevelItem(row);
    if (!item)
        return false;
    ui->Schedule_ListView->clearSelection();
    item->setSelected(true);
    return true;
}

void TFM_Scheduling::setButtonMode(int mode)
{
    m_buttonMode = mode;
    const bool on = schedulingEnabled();
    ui->Btn_Add->setEnabled(on && mode != 3);
    ui->Btn_Clear->setEnabled(on);
    ui->Btn_Del->setEnabled(on && mode == 1);
    ui->Btn_Apply->setEnabled(true);
}

void TFM_Scheduling::enableChanged()
{
    const bool on = schedulingEnabled();
    for (QWidget *w : std::initializer_list<QWidget *>{ui->Ed_ScheduleName, ui->RB_AllWeek, ui->RB_SelectDay,
                                                       ui->CheckBox_AllDay, ui->CB_Wireless, ui->User_ListView})
        w->setEnabled(on);
    if (!on) {
        for (QWidget *w : std::initializer_list<QWidget *>{ui->Ed_StartHour, ui->Ed_StartMinute, ui->Ed_EndHour,
                                                           ui->Ed_EndMinute, ui->Btn_Add, ui->Btn_Clear, ui->Btn_Del})
            w->setEnabled(false);
        for (QCheckBox *day : dayBoxes())
            day->setEnabled(false);
        return;
    }
    for (QCheckBox *day : dayBoxes())
        day->setEnabled(!ui->RB_AllWeek->isChecked());
    allDayChanged();
    if (ui->User_ListView->selectedItems().isEmpty() && !m_rules->Busy())
        selectFreeRow();
    else
        setButtonMode(m_buttonMode);
}

void TFM_Scheduling::dayKindChanged()
{
    const bool allWeek = ui->RB_AllWeek->isChecked();
    for (QCheckBox *day : dayBoxes()) {
        day->setChecked(allWeek);
        day->setEnabled(!allWeek && schedulingEnabled());
    }
}

void TFM_Scheduling::allDayChanged()
{
    const bool allDay = ui->CheckBox_AllDay->isChecked();
    const bool editable = !allDay && ui->CheckBox_AllDay->isEnabled();
    for (QLineEdit *edit : {ui->Ed_StartHour, ui->Ed_StartMinute, ui->Ed_EndHour, ui->Ed_EndMinute}) {
        if (allDay)
            edit->clear();
        edit->setEnabled(editable);
    }
}

void TFM_Scheduling::markActive(QTreeWidgetItem *rule)
{
    const QIcon active = style()->standardIcon(QStyle::SP_DialogApplyButton);
    QPixmap empty(16, 16);
    empty.fill(Qt::transparent);
    for (int i = 0; i < ui->User_ListView->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = ui->User_ListView->topLevelItem(i);
        item->setData(0, kImageRole, item == rule ? 1 : 0);
        item->setIcon(0, item == rule ? active : QIcon(empty));
    }
}

void TFM_Scheduling::userSelectionChanged()
{
    const QList<QTreeWidgetItem *> selected = ui->User_ListView->selectedItems();
    if (!selected.isEmpty()) {
        showRule(selected.first());
        return;
    }
    // A click on empty space: back to a new rule.
    markActive(nullptr);
    m_selectedName.clear();
    selectFreeRow();
    if (m_buttonMode == 0)
        showRule(nullptr);
}

// The rule (or, without one, the free row just selected) in the edit group.
void TFM_Scheduling::showRule(QTreeWidgetItem *rule)
{
    if (rule) {
        markActive(rule);
        selectHiddenRow(rule->data(0, kRowRole).toInt());
        m_selectedName = rule->text(0);
    }
    ui->CB_NodeStatus->setCurrentIndex(ui->CB_NodeStatus->findText(kEnable));
    const int mask = ui->Ed_day->text().toInt();
    if (mask == AllWeekMask) {
        ui->RB_AllWeek->setChecked(true);
        dayKindChanged();
    } else {
        ui->RB_SelectDay->setChecked(true);
        dayKindChanged();
        const WeekDays days = DaysOfMask(mask);
        const QList<QCheckBox *> boxes = dayBoxes();
        for (int d = 0; d < boxes.size(); ++d)
            boxes[d]->setChecked(days[size_t(d)]);
    }
    if (!ui->CheckBox_AllDay->isChecked()) {
        const QStringList start = ui->Ed_StartTime->text().split(u':');
        const QStringList end = ui->Ed_EndTime->text().split(u':');
        ui->Ed_StartHour->setText(start.value(0).trimmed());
        ui->Ed_StartMinute->setText(start.value(1).trimmed());
        ui->Ed_EndHour->setText(end.value(0).trimmed());
        ui->Ed_EndMinute->setText(end.value(1).trimmed());
    }
    allDayChanged();
    if (rule)
        setButtonMode(1);
}

void TFM_Scheduling::refuse(const ServiceProblem &problem)
{
    VrMessageBox(this, problem.text, problem.caption);
    if (auto *field = findChild<QLineEdit *>(problem.field)) {
        if (problem.clear)
            field->clear();
        field->setFocus();
    }
}

void TFM_Scheduling::Add()
{
    if (Busy())
        return;
    const QString warning = QStringLiteral("Warning");
    if (ui->Ed_ScheduleName->text().isEmpty()) {
        refuse({QStringLiteral("The Name field can not be blank."), warning, QStringLiteral("Ed_ScheduleName")});
        return;
    }
    WeekDays days{};
    const QList<QCheckBox *> boxes = dayBoxes();
    for (int d = 0; d < boxes.size(); ++d)
        days[size_t(d)] = boxes[d]->isChecked();
    if (ui->RB_SelectDay->isChecked() && DayMask(days) == 0) {
        VrMessageBox(this, QStringLiteral("Please Select Day(s)"), warning);
        return;
    }
    const bool allDay = ui->CheckBox_AllDay->isChecked();
    QStringList times;
    if (!allDay) {
        const std::pair<QLineEdit *, int> parts[] = {
            {ui->Ed_StartHour, 24}, {ui->Ed_StartMinute, 60}, {ui->Ed_EndHour, 24}, {ui->Ed_EndMinute, 60}};
        for (const auto &[edit, maximum] : parts) {
            const std::optional<QString> part = TimePart(edit->text(), maximum);
            if (!part) {
                const QString text = maximum == 24 ? QStringLiteral("Invalid Hour!") : QStringLiteral("Invalid Minute!");
                refuse({text, warning, edit->objectName(), true});
                return;
            }
            edit->setText(*part);
            times << *part;
        }
    }
    if (ui->Schedule_ListView->selectedItems().isEmpty()) {
        // No free row (or the device served none): there is nowhere to write.
        result(QStringLiteral("No free schedule entry!"));
        return;
    }
    // A rule is added to be used: scheduling is switched on with it (the
    // reload reads the switch back), and the rule becomes the only active one.
    if (!Apply(m_status) || !disableNodeStates()) {
        result(ExchangePanel(ui->StatusBar1)->text());
        return;
    }
    ui->Ed_day->setText(QString::number(DayMask(days)));
    QList<int> columns{ScName, ScDay, ScAllDay, ScWireless, ScNodeState};
    if (!allDay) {
        ui->Ed_StartTime->setText(times[0] + u':' + times[1]);
        ui->Ed_EndTime->setText(times[2] + u':' + times[3]);
        columns << ScStart << ScEnd;
    }
    ui->CB_NodeStatus->setCurrentIndex(ui->CB_NodeStatus->findText(kEnable));
    m_write = Write::Adding;
    if (!Apply(m_rules, Selection(columns))) {
        m_write = Write::None;
        result(ExchangePanel(ui->StatusBar1)->text());
        return;
    }
    result(QStringLiteral("Adding schedule!"));
}

void TFM_Scheduling::ruleWritten(const VrSNMPError &r)
{
    const Write done = m_write;
    m_write = Write::None;
    if (r.Code != 0) {
        result(r.Message);
        qCInfo(lcServices) << "schedule rule not written:" << r.Code;
        return;
    }
    // The binder reads the table back now.
    result(done == Write::Activating ? QStringLiteral("Set OK!") : QStringLiteral("Add OK!"));
}

bool TFM_Scheduling::disableNodeStates()
{
    const QStringList off(ScheduleRows, QStringLiteral("0"));
    return Apply(m_nodes, Selection({0, 1, 2, 3}), &off, false);
}

void TFM_Scheduling::Save()
{
    if (Busy())
        return;
    if (!Apply(m_status)) {
        result(ExchangePanel(ui->StatusBar1)->text());
        return;
    }
    if (ui->User_ListView->selectedItems().isEmpty()) {
        loadRules();
        result(QStringLiteral("Set OK!"));
        return;
    }
    // The selected rule becomes the only active one.
    if (!disableNodeStates()) {
        result(ExchangePanel(ui->StatusBar1)->text());
        return;
    }
    selectHiddenRow(ui->User_ListView->selectedItems().first()->data(0, kRowRole).toInt());
    ui->CB_NodeStatus->setCurrentIndex(ui->CB_NodeStatus->findText(kEnable));
    m_write = Write::Activating;
    if (!Apply(m_rules, Selection({ScNodeState}))) {
        m_write = Write::None;
        result(ExchangePanel(ui->StatusBar1)->text());
    }
}

void TFM_Scheduling::Delete()
{
    if (Busy() || m_selectedName.isEmpty())
        return;
    if (VrMessageBox(this, QStringLiteral("Are you sure that you want to delete this entry?"),
                     QStringLiteral("Warning"), QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    ui->Ed_DeleteSchdule->setText(ui->LB_Index->text());
    if (!disableNodeStates() || !Apply(m_delete, QString(), nullptr, false)) {
        result(ExchangePanel(ui->StatusBar1)->text());
        return;
    }
    qCInfo(lcServices) << "schedule rule deleted at row" << ui->LB_Index->text();
    m_selectedName.clear();
    loadRules();
    result(QStringLiteral("Delete OK!"));
}

void TFM_Scheduling::Clear()
{
    QSignalBlocker quiet(ui->User_ListView);
    ui->User_ListView->clearSelection();
    markActive(nullptr);
    m_selectedName.clear();
    selectFreeRow();
    ui->RB_SelectDay->setChecked(true);
    ui->CheckBox_AllDay->setChecked(false);
    ui->CB_Wireless->setCurrentIndex(ui->CB_Wireless->findText(QStringLiteral("Off")));
    for (QLineEdit *edit : {ui->Ed_ScheduleName, ui->Ed_StartHour, ui->Ed_StartMinute, ui->Ed_EndHour,
                            ui->Ed_EndMinute})
        edit->clear();
    dayKindChanged();
    allDayChanged();
}
