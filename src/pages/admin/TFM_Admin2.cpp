#include "TFM_Admin2.h"

#include "AdminRules.h"
#include "ui_TFM_Admin2.h"

#include "New_req2Edit.h"
#include "ScaledTimeout.h"
#include "VrCommon.h"
#include "VrMessageBox.h"
#include "VrOptionList.h"
#include "VrPageBinding.h"
#include "VrSNMPError.h"
#include "VrSNMPObjectTable.h"
#include "VrSNMPRequest2Edits.h"

#include <QHeaderView>
#include <QTreeWidget>

Q_LOGGING_CATEGORY(lcAdmin, "qrt.pages.admin")

TFM_Admin2 *FM_Admin2 = nullptr;

#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

constexpr unsigned kTimeout = 10000;
constexpr int kInt = VrSyntaxInteger;
constexpr int kText = VrSyntaxDisplayString;
constexpr int kIp = VrSyntaxIpAddress;

const VrOptionNumDef kDisEnDef[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionNumDef kTimeoutDef[] = {
    {1, "1Min"}, {2, "3Mins"}, {3, "5Mins"}, {4, "10Mins"}, {5, "15Mins"}, {0, "Never"}, {0, nullptr}};
const VrOptionNumDef kTrapTypeDef[] = {{0, "normalTrap"}, {1, "wirelessTrap"}, {0, nullptr}};
const VrOptionNumDef kManagerStatusDef[] = {
    {0, "disable"}, {1, "vlanID"}, {2, "ipaddress"}, {3, "both"}, {0, nullptr}};

VrOptionList gDisEn(kDisEnDef);
VrOptionList gTimeout(kTimeoutDef);
VrOptionList gTrapType(kTrapTypeDef);
VrOptionList gManagerStatus(kManagerStatusDef);

const VrSNMPVarDef kLoginVars[] = {
    VarDef(P "4.1.1.1.2.1", "usersName", kText, 0x06),
    VarDef(P "4.1.1.1.3.1", "usersPassword", kText, 0x06),
    VarEnd};
enum { Telnet, Ssh };
const VrSNMPVarDef kConsoleVars[] = {
    VarDef(P "4.4.1.0", "telnet", kInt, 0x06, &gDisEn),
    VarDef(P "4.4.2.0", "ssh", kInt, 0x06, &gDisEn),
    VarEnd};
const VrSNMPVarDef kIdleVars[] = {VarDef(P "4.4.3", "timeout", kInt, 0x06, &gTimeout), VarEnd};
const VrSNMPVarDef kSystemVars[] = {
    VarDef("1.3.6.1.2.1.1.5", "systemName", kText, 0x06),
    VarDef("1.3.6.1.2.1.1.6", "systemLocation", kText, 0x06),
    VarEnd};
// Read only: the page keeps the trap settings out of every write.
enum { TrapStatus, TrapType };
const VrSNMPVarDef kTrapVars[] = {
    VarDef(P "5.7.2.1", "trapStatus", kInt, 0x02, &gDisEn),
    VarDef(P "5.7.2.2", "trapType", kInt, 0x02, &gTrapType),
    VarEnd};
const VrSNMPVarDef kPingVars[] = {VarDef(P "4.12.1", "pingControlStatus", kInt, 0x06, &gDisEn), VarEnd};
enum { ManagerStatusItem, ManagerVlan };
const VrSNMPVarDef kManagerVars[] = {
    VarDef(P "4.10.1.1", "managerIpAddressStatus", kInt, 0x06, &gManagerStatus),
    VarDef(P "4.10.1.2", "manergeVLANTag", kInt, 0x06),
    VarEnd};
enum { RangeIndex, RangeStart, RangeEnd };
const VrSNMPVarDef kRangeVars[] = {
    VarDef(P "4.10.1.4.1.1", "managerIpAddressIndex", kInt, 0x01),
    VarDef(P "4.10.1.4.1.2", "managerIpAddressPoolStart", kIp, 0x06),
    VarDef(P "4.10.1.4.1.3", "managerIpAddressPoolEnd", kIp, 0x06),
    VarEnd};
// The same columns as the user sees them; the first shows the row's number.
const VrSNMPVarDef kShownRangeVars[] = {
    VarDef(P "4.10.1.4.1.1", "Index", kInt, 0x02),
    VarDef(P "4.10.1.4.1.2", "Start", kIp, 0x02),
    VarDef(P "4.10.1.4.1.3", "End", kIp, 0x02),
    VarEnd};
const VrSNMPVarDef kDeleteVars[] = {VarDef(P "4.10.1.3", "managerDelete", kInt, 0x04), VarEnd};

enum ConsoleIndex { ConsoleNone, ConsoleTelnet, ConsoleSsh };

} // namespace

TFM_Admin2::TFM_Admin2(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_Admin2)
{
    ui->setupUi(this);
    ui->RadioGroup1->setItems({QStringLiteral("None"), QStringLiteral("Telnet"), QStringLiteral("SSH")});
    ui->RadioGroup1->setColumns(3);
    ui->StatusBar->panel(0)->setMinimumWidth(50);

    connect(ui->CkBx_ManagerState, &QCheckBox::clicked, this, &TFM_Admin2::managerStateClicked);
    connect(ui->CheckBox_VID, &QCheckBox::clicked, this, &TFM_Admin2::vidClicked);
    connect(ui->RadioGroup1, &VrRadioGroup::clicked, this, &TFM_Admin2::consoleClicked);
    connect(ui->ListView_User, &QTreeWidget::itemSelectionChanged, this, &TFM_Admin2::shownRangeSelected);
    connect(ui->Btn_Add, &QPushButton::clicked, this, &TFM_Admin2::AddRange);
    connect(ui->Btn_Del, &QPushButton::clicked, this, &TFM_Admin2::DeleteRange);
    connect(ui->OK, &QPushButton::clicked, this, &TFM_Admin2::Save);
    connect(ui->Cancel, &QPushButton::clicked, this, &TFM_Admin2::reject);

    bindAll();
    readAll();
}

TFM_Admin2::~TFM_Admin2() = default;

VrSNMPRequest2Edits *TFM_Admin2::makeBinder(VrSNMPRequest2Edits *binder, const VrSNMPVarDef *table, int kind,
                                            const QString &description)
{
    VrSetUpBinder(binder, table, kind, ScaledTimeout(kTimeout), description);
    VrReportErrorsTo(binder, ui->StatusBar->panel(0), &m_lastError);
    return binder;
}

bool TFM_Admin2::load(VrSNMPRequest2Edits *binder)
{
    return VrLoadShowingErrors(binder);
}

bool TFM_Admin2::apply(VrSNMPRequest2Edits *binder)
{
    return VrApplyShowingErrors(binder, false);
}

void TFM_Admin2::bindAll()
{
    m_login = makeBinder(new VrSNMPRequest2Edits(this), kLoginVars, VrListInstance, QStringLiteral("Login"));
    m_login->BindFormat(0, QStringLiteral("%s"), {ui->Ed_Usr});
    m_login->BindFormat(1, QStringLiteral("%s"), {ui->Ed_Pwd});

    m_console = makeBinder(new VrSNMPRequest2Edits(this), kConsoleVars, VrListInstance, QStringLiteral("Console"));
    m_console->BindComboBox(Telnet, ui->CB_Telnet);
    m_console->BindComboBox(Ssh, ui->CB_SHH);

    m_idle = makeBinder(new VrSNMPRequest2Edits(this), kIdleVars, VrListInstance, QStringLiteral("Timeout"));
    m_idle->BindComboBox(0, ui->CB_Timeout);

    m_system = makeBinder(new VrSNMPRequest2Edits(this), kSystemVars, VrListInstance, QStringLiteral("System name"));
    m_system->BindFormat(0, QStringLiteral("%s"), {ui->Ed_SysName});
    m_system->BindFormat(1, QStringLiteral("%s"), {ui->Ed_Location});

    m_trap = makeBinder(new VrSNMPRequest2Edits(this), kTrapVars, VrListInstance, QStringLiteral("Trap"));
    m_trap->BindComboBox(TrapStatus, ui->CB_TrapStatus);
    m_trap->BindComboBox(TrapType, ui->CB_TrapType);

    m_ping = makeBinder(new VrSNMPRequest2Edits(this), kPingVars, VrListInstance, QStringLiteral("Ping control"));
    m_ping->BindComboBox(0, ui->CB_Ping);

    m_manager = makeBinder(new VrSNMPRequest2Edits(this), kManagerVars, VrListInstance, QStringLiteral("Manager"));
    m_manager->BindComboBox(ManagerStatusItem, ui->CB_managerIpAddressStatus);
    m_manager->BindFormat(ManagerVlan, QStringLiteral("%u{n1x4094}"), {ui->Ed_VID});

    m_ranges = makeBinder(new VrSNMPRequest2Edits(this), kRangeVars, VrListTable2, QStringLiteral("IP range"));
    m_ranges->AttachListView(ui->ListView_IpRange, false);
    m_ranges->BindControl(RangeIndex, ui->LA_Index);
    m_ranges->BindFormat(RangeStart, QStringLiteral("%s"), {ui->Ed_From});
    m_ranges->BindFormat(RangeEnd, QStringLiteral("%s"), {ui->Ed_To});

    m_shownRanges = new New_req2Edit(this);
    makeBinder(m_shownRanges, kShownRangeVars, VrListTable2, QStringLiteral("IP range"));
    m_shownRanges->Request.VarList.keyCount = 0; // the index is a column here
    m_shownRanges->WatchedItem = RangeStart;
    m_shownRanges->Placeholder = QStringLiteral("0.0.0.0");
    m_shownRanges->AttachListView(ui->ListView_User, false);
    ui->ListView_User->header()->resizeSection(1, 100);

    // The lists are read in the background; the page is usable meanwhile.
    for (VrSNMPRequest2Edits *list : {static_cast<VrSNMPRequest2Edits *>(m_ranges),
                                      static_cast<VrSNMPRequest2Edits *>(m_shownRanges)}) {
        list->Asynchronous = true;
        list->Request.OnError = nullptr;
        // A walk that fails says so: the list alone would look empty.
        list->OnLoadDone = [list](VrSNMPRequest2Controls *, const VrSNMPError &result) {
            if (result.Code != VrOk)
                list->ShowStatus(result.Message);
        };
    }

    m_delete = makeBinder(new VrSNMPRequest2Edits(this), kDeleteVars, VrListInstance, QStringLiteral("Delete"));
    m_delete->BindFormat(0, QStringLiteral("%s"), {ui->Ed_Delete});

    // Binding to a format lifts an edit's length limit; these are the device's.
    ui->Ed_Usr->setMaxLength(64);
    ui->Ed_Pwd->setMaxLength(64);
    ui->Ed_SysName->setMaxLength(32);
    ui->Ed_Location->setMaxLength(32);
    ui->Ed_VID->setMaxLength(4);
}

void TFM_Admin2::readAll()
{
    // No group's objects depend on another's answer: all go out at once and
    // are taken in the order below.
    VrReadTogether together{m_manager, m_console, m_idle, m_system, m_login,
                            m_trap,    m_ping,    m_ranges, m_shownRanges};
    // A device that does not answer would make each group wait out its own
    // time-out; the first one tells.
    if (!load(m_manager) && m_lastError == VrErrTimeout) {
        qCWarning(lcAdmin) << "the device does not answer; reading stopped";
        afterManagerRead();
        return;
    }
    afterManagerRead();
    load(m_console);
    load(m_idle);
    load(m_system);
    if (load(m_login))
        m_passwordRead = ui->Ed_Pwd->text();
    load(m_trap);
    afterTrapRead();
    load(m_ping);
    afterConsoleRead();

    managerStateClicked();
    for (QLineEdit *edit : {ui->Ed_OPwd, ui->Ed_NPwd, ui->Ed_CNP})
        edit->setText(m_passwordRead);
    readRanges();
}

void TFM_Admin2::readRanges()
{
    ui->ListView_IpRange->clear();
    ui->ListView_User->clear();
    load(m_ranges);
    load(m_shownRanges);
}

bool TFM_Admin2::rangesBusy() const
{
    return m_ranges->Busy() || m_shownRanges->Busy();
}

int TFM_Admin2::numberOf(VrSNMPRequest2Edits *binder, int item) const
{
    const VrSNMPVarItem &v = binder->Request.VarList.Item(item);
    const QString raw = v.options ? v.options->TextToValue(v.value) : v.value;
    bool ok = false;
    const int n = raw.toInt(&ok);
    return ok ? n : -1;
}

void TFM_Admin2::selectValue(VrSNMPRequest2Edits *binder, int item, int value)
{
    const VrOptionList *options = binder->Request.VarList.Item(item).options;
    QComboBox *combo = nullptr;
    if (binder == m_console)
        combo = item == Telnet ? ui->CB_Telnet : ui->CB_SHH;
    else if (binder == m_manager)
        combo = ui->CB_managerIpAddressStatus;
    else if (binder == m_trap)
        combo = ui->CB_TrapType;
    if (combo)
        combo->setCurrentIndex(combo->findText(options->ValueToText(QString::number(value))));
}

void TFM_Admin2::afterManagerRead()
{
    const int status = numberOf(m_manager, ManagerStatusItem);
    ui->CheckBox_VID->setChecked(LimitsVid(status));
    ui->CkBx_ManagerState->setChecked(LimitsIp(status));
    vidClicked();
}

void TFM_Admin2::afterTrapRead()
{
    const int type = numberOf(m_trap, TrapType);
    ui->Ch_SystemTrap->setChecked(type == 0);
    ui->Ch_WirelessTrap->setChecked(type == 1);
}

void TFM_Admin2::afterConsoleRead()
{
    switch (ConsoleFrom(numberOf(m_console, Telnet), numberOf(m_console, Ssh))) {
    case Console::None:
        ui->RadioGroup1->setItemIndex(ConsoleNone);
        ui->CB_Timeout->setEnabled(false);
        break;
    case Console::Telnet:
        ui->RadioGroup1->setItemIndex(ConsoleTelnet);
        ui->CB_Timeout->setEnabled(true);
        break;
    case Console::Ssh:
        ui->RadioGroup1->setItemIndex(ConsoleSsh);
        ui->CB_Timeout->setEnabled(true);
        break;
    case Console::Unknown:
        // Both on (or not read): no choice is shown and Save leaves them.
        ui->RadioGroup1->setItemIndex(-1);
        ui->CB_Timeout->setEnabled(true);
        break;
    }
}

void TFM_Admin2::managerStateClicked()
{
    const bool on = ui->CkBx_ManagerState->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(ui->Ed_FromIP), static_cast<QWidget *>(ui->Ed_ToIP),
                       static_cast<QWidget *>(ui->Btn_Add)})
        w->setEnabled(on);
}

void TFM_Admin2::vidClicked()
{
    ui->Ed_VID->setEnabled(ui->CheckBox_VID->isChecked());
}

void TFM_Admin2::consoleClicked(int index)
{
    const Console choice = index == ConsoleNone ? Console::None : index == ConsoleTelnet ? Console::Telnet : Console::Ssh;
    const ConsoleWrites w = ConsoleWritesFor(choice);
    selectValue(m_console, Telnet, w.telnet);
    selectValue(m_console, Ssh, w.ssh);
    ui->CB_Timeout->setEnabled(choice != Console::None);
}

void TFM_Admin2::shownRangeSelected()
{
    const bool selected = !ui->ListView_User->selectedItems().isEmpty();
    ui->Btn_Del->setEnabled(selected);
    if (selected)
        managerStateClicked();
}

void TFM_Admin2::showStatus(const QString &text)
{
    ui->StatusBar->panel(0)->setText(text);
}

void TFM_Admin2::resetRangeFields()
{
    ui->Ed_FromIP->clear();
    ui->Ed_ToIP->clear();
    ui->Btn_Del->setEnabled(false);
}

void TFM_Admin2::setIncluded(VrSNMPRequest2Edits *binder, int item, bool included)
{
    uint8_t &flags = binder->Request.VarList.Item(item).flags;
    flags = included ? uint8_t((flags & ~VrFlagExcluded) | VrFlagRead | VrFlagWrite) : uint8_t(flags | VrFlagExcluded);
}

void TFM_Admin2::refuse(const AdminRefusal &refusal, bool saving)
{
    VrMessageBox(this, refusal.text, refusal.title);
    if (refusal.resetRange) {
        if (saving) {
            resetRangeFields();
        } else {
            ui->Ed_FromIP->clear();
            ui->Ed_ToIP->clear();
        }
    }
    if (refusal.selectFrom) {
        ui->Ed_FromIP->setFocus();
        ui->Ed_FromIP->selectAll();
    }
    if (auto *field = refusal.field.isEmpty() ? nullptr : findChild<QLineEdit *>(refusal.field)) {
        if (refusal.clear)
            field->clear();
        field->setFocus();
    }
}

void TFM_Admin2::Save()
{
    AdminSaveInput in;
    in.limitVid = ui->CheckBox_VID->isChecked();
    in.vid = ui->Ed_VID->text();
    in.oldPassword = ui->Ed_OPwd->text();
    in.passwordRead = m_passwordRead;
    in.user = ui->Ed_Usr->text();
    in.newPassword = ui->Ed_NPwd->text();
    in.confirmPassword = ui->Ed_CNP->text();
    if (const auto refusal = CheckAdminSave(in)) {
        qCInfo(lcAdmin) << "save refused:" << refusal->text;
        refuse(*refusal, true);
        return;
    }

    ui->Ed_Pwd->setText(ui->Ed_NPwd->text());
    selectValue(m_manager, ManagerStatusItem,
                ManagerStatus(ui->CheckBox_VID->isChecked(), ui->CkBx_ManagerState->isChecked()));
    if (ui->Ch_SystemTrap->isChecked())
        selectValue(m_trap, TrapType, 0);
    if (ui->Ch_WirelessTrap->isChecked())
        selectValue(m_trap, TrapType, 1);
    setIncluded(m_manager, ManagerStatusItem, true);
    setIncluded(m_manager, ManagerVlan, ui->CheckBox_VID->isChecked());

    const bool loginOk = apply(m_login);
    if (loginOk) {
        // The device holds the new password now: it is the one the next Save asks for.
        m_passwordRead = ui->Ed_Pwd->text();
        ui->Ed_OPwd->setText(m_passwordRead);
    }

    const int index = ui->RadioGroup1->itemIndex();
    const Console choice = index == ConsoleNone    ? Console::None
                         : index == ConsoleTelnet ? Console::Telnet
                         : index == ConsoleSsh    ? Console::Ssh
                                                  : Console::Unknown;
    const ConsoleWrites w = ConsoleWritesFor(choice);
    setIncluded(m_console, Telnet, w.writeTelnet);
    setIncluded(m_console, Ssh, w.writeSsh);
    setIncluded(m_idle, 0, w.writeTimeout);
    // A group with nothing marked is not sent; leaving it alone is its success.
    const bool consoleOk = !(w.writeTelnet || w.writeSsh) || apply(m_console);
    const bool idleOk = !w.writeTimeout || apply(m_idle);
    const bool pingOk = apply(m_ping);
    const bool managerOk = apply(m_manager);
    apply(m_system);
    // Marks back for the reads.
    for (auto [binder, item] : {std::pair{m_console, int(Telnet)}, std::pair{m_console, int(Ssh)},
                                std::pair{m_idle, 0}, std::pair{m_manager, int(ManagerVlan)}})
        setIncluded(binder, item, true);

    if (loginOk && consoleOk && idleOk && pingOk && managerOk) {
        qCInfo(lcAdmin) << "saved; console" << index << "manager status" << numberOf(m_manager, ManagerStatusItem);
        resetRangeFields();
        load(m_console);
        afterConsoleRead();
        showStatus(QStringLiteral("Set OK!"));
    } else {
        qCWarning(lcAdmin) << "save failed: login" << loginOk << "console" << consoleOk << "timeout" << idleOk
                           << "ping" << pingOk << "manager" << managerOk;
        showStatus(QStringLiteral("Setting Error!"));
    }
}

void TFM_Admin2::AddRange()
{
    if (rangesBusy()) {
        showStatus(QStringLiteral("The IP range list is still being read."));
        return;
    }
    QList<RangeRow> rows;
    QTreeWidget *table = ui->ListView_IpRange;
    // Columns: the hidden index, then start and end.
    for (int i = 0; i < table->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = table->topLevelItem(i);
        rows.append({row->text(0), row->text(1), row->text(2)});
    }
    const RangeAdd plan = PlanRangeAdd(ui->ListView_User->topLevelItemCount(), ui->Ed_FromIP->text(),
                                       ui->Ed_ToIP->text(), rows);
    if (plan.refusal) {
        qCInfo(lcAdmin) << "range refused:" << plan.refusal->text;
        refuse(*plan.refusal, false);
        return;
    }
    // Selecting the row shows it in the bound fields; the new range then
    // takes its place there.
    table->setCurrentItem(table->topLevelItem(plan.row));
    ui->Ed_From->setText(plan.start);
    ui->Ed_To->setText(plan.end);

    // The write waits for its answer: only that tells whether the range was added.
    m_ranges->Asynchronous = false;
    const bool written = apply(m_ranges);
    m_ranges->Asynchronous = true;
    if (written) {
        qCInfo(lcAdmin) << "range added in row" << rows.at(plan.row).index;
        ui->Ed_FromIP->clear();
        ui->Ed_ToIP->clear();
        showStatus(QStringLiteral("Set OK!"));
        readRanges();
    } else {
        qCWarning(lcAdmin) << "range add failed";
        showStatus(QStringLiteral("Setting Error!"));
    }
}

void TFM_Admin2::DeleteRange()
{
    const QList<QTreeWidgetItem *> selected = ui->ListView_User->selectedItems();
    if (selected.isEmpty() || rangesBusy())
        return;
    const QString start = selected.first()->text(1);
    const QString end = selected.first()->text(2);
    QTreeWidget *table = ui->ListView_IpRange;
    QTreeWidgetItem *match = nullptr;
    for (int i = 0; i < table->topLevelItemCount() && !match; ++i) {
        QTreeWidgetItem *row = table->topLevelItem(i);
        if (row->text(1) == start && row->text(2) == end)
            match = row;
    }
    if (!match) {
        showStatus(QStringLiteral("Delete Error!"));
        return;
    }
    table->setCurrentItem(match);
    ui->Ed_Delete->setText(ui->LA_Index->text());

    if (apply(m_delete)) {
        qCInfo(lcAdmin) << "range deleted in row" << ui->Ed_Delete->text();
        showStatus(QStringLiteral("Delete OK!"));
        readRanges();
    } else {
        qCWarning(lcAdmin) << "range delete failed";
        showStatus(QStringLiteral("Delete Error!"));
    }
}
