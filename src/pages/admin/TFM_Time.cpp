#include "TFM_Time.h"

#include "TimeRules.h"
#include "ui_TFM_Time.h"

#include "AddressValidators.h"
#include "ScaledTimeout.h"
#include "VrCommon.h"
#include "VrMessageBox.h"
#include "VrOptionList.h"
#include "VrPageBinding.h"
#include "VrSNMPError.h"
#include "VrSNMPObjectTable.h"
#include "VrSNMPRequest2Edits.h"

#include <QHostAddress>
#include <QHostInfo>

Q_LOGGING_CATEGORY(lcTime, "qrt.pages.time")

TFM_Time *FM_Time = nullptr;

#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

constexpr unsigned kTimeout = 10000;
constexpr int kInt = VrSyntaxInteger;
constexpr int kText = VrSyntaxDisplayString;

const VrOptionNumDef kDisEnDef[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionNumDef kOffsetDef[] = {{0, "-2:00"}, {1, "-1:30"}, {2, "-1:00"}, {3, "-0:30"}, {4, "+0:30"},
                                     {5, "+1:00"}, {6, "+1:30"}, {7, "+2:00"}, {0, nullptr}};
const VrOptionNumDef kMonthDef[] = {{1, "Jan"}, {2, "Feb"}, {3, "Mar"}, {4, "Apr"}, {5, "May"}, {6, "Jun"}, {7, "Jul"},
                                    {8, "Aug"}, {9, "Sep"}, {10, "Oct"}, {11, "Nov"}, {12, "Dec"}, {0, nullptr}};
const VrOptionNumDef kWeekDef[] = {{1, "1st"}, {2, "2nd"}, {3, "3rd"}, {4, "4th"}, {5, "5th"}, {0, nullptr}};
const VrOptionNumDef kDayDef[] = {{0, "sun"}, {1, "mon"}, {2, "tue"}, {3, "wed"}, {4, "thu"}, {5, "fri"}, {6, "sat"},
                                  {0, nullptr}};
const VrOptionNumDef kHourDef[] = {
    {0, "12am"}, {1, "1am"}, {2, "2am"}, {3, "3am"}, {4, "4am"}, {5, "5am"}, {6, "6am"}, {7, "7am"},
    {8, "8am"}, {9, "9am"}, {10, "10am"}, {11, "11am"}, {12, "12pm"}, {13, "1pm"}, {14, "2pm"}, {15, "3pm"},
    {16, "4pm"}, {17, "5pm"}, {18, "6pm"}, {19, "7pm"}, {20, "8pm"}, {21, "9pm"}, {22, "10pm"}, {23, "11pm"},
    {0, nullptr}};

VrOptionList gDisEn(kDisEnDef);
VrOptionList gZone(TimeZoneDefs());
VrOptionList gOffset(kOffsetDef);
VrOptionList gMonth(kMonthDef);
VrOptionList gWeek(kWeekDef);
VrOptionList gDay(kDayDef);
VrOptionList gHour(kHourDef);

enum TimeItem {
    ServerIp, TimeZone, DaylightSaving, TimeOfDay, NtpStatus, DaylightOffset,
    StartMonth, StartWeek, StartDay, StartTime, EndMonth, EndWeek, EndDay, EndTime
};
const VrSNMPVarDef kTimeVars[] = {
    VarDef(P "4.8.1", "sntpServerIpAddress", VrSyntaxIpAddress, 0x06),
    VarDef(P "4.8.2", "sntpTimeZoneIndex", kInt, 0x06, &gZone),
    VarDef(P "4.8.3", "sntpDayLightSaving", kInt, 0x06, &gDisEn),
    VarDef(P "4.8.4", "sntpTimeofDay", kText, 0x02),
    VarDef(P "4.8.5", "sntpStatus", kInt, 0x06, &gDisEn),
    VarDef(P "4.8.16", "sntpDayLightSavingOffset", kInt, 0x02, &gOffset),
    VarDef(P "4.8.8", "sntpDstStartMonth", kInt, 0x06, &gMonth),
    VarDef(P "4.8.9", "sntpDstStartWeek", kInt, 0x06, &gWeek),
    VarDef(P "4.8.10", "sntpDstStartDayOfWeek", kInt, 0x06, &gDay),
    VarDef(P "4.8.11", "sntpDstStartCurrentTime", kInt, 0x06, &gHour),
    VarDef(P "4.8.12", "sntpDstEndMonth", kInt, 0x06, &gMonth),
    VarDef(P "4.8.13", "sntpDstEndWeek", kInt, 0x06, &gWeek),
    VarDef(P "4.8.14", "sntpDstEndDayOfWeek", kInt, 0x06, &gDay),
    VarDef(P "4.8.15", "sntpDstEndCurrentTime", kInt, 0x06, &gHour),
    VarEnd};
const VrSNMPVarDef kManualVars[] = {VarDef(P "4.8.7", "setTimeManually", kText, 0x06), VarEnd};

const QString kWaring = QStringLiteral("Waring");
const QString kNoServer = QStringLiteral("0.0.0.0");

void selectText(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(combo->findText(text));
}

} // namespace

TFM_Time::TFM_Time(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_Time)
{
    ui->setupUi(this);
    ui->StatusBar->panel(0)->setMinimumWidth(50);
    ui->CB_Year->addItems(YearEntries(QDate::currentDate().year()));
    ui->CB_Month->addItems(TwoDigitEntries(1, 12));
    ui->CB_Day->addItems(TwoDigitEntries(1, 31));
    ui->CB_Hour->addItems(TwoDigitEntries(0, 23));
    ui->CB_Minute->addItems(TwoDigitEntries(0, 59));
    ui->CB_Second->addItems(TwoDigitEntries(0, 59));
    ui->CB_ServerName->addItems({QStringLiteral("Select NTP Server"), QString::fromLatin1(DefaultNtpServer)});

    connect(ui->CheckBox_NTP, &QCheckBox::clicked, this, &TFM_Time::ntpClicked);
    connect(ui->CheckBox_Daylight, &QCheckBox::clicked, this, &TFM_Time::daylightClicked);
    connect(ui->CB_TimeZone, &QComboBox::activated, this, &TFM_Time::zoneChanged);
    connect(ui->Btn_Convert, &QPushButton::clicked, this, &TFM_Time::convertClicked);
    connect(ui->Btn_Copy, &QPushButton::clicked, this, &TFM_Time::CopyComputerTime);
    connect(ui->Btn_Apply, &QPushButton::clicked, this, &TFM_Time::Save);
    connect(ui->Btn_Cancel, &QPushButton::clicked, this, &TFM_Time::reject);

    bindAll();
    readAll();
    fillFromComputerClock();
    ui->CB_ServerName->setCurrentIndex(0);
    ntpClicked();
    daylightClicked();
}

TFM_Time::~TFM_Time() = default;

VrSNMPRequest2Edits *TFM_Time::makeBinder(const VrSNMPVarDef *table, const QString &description)
{
    return VrMakePageBinder(this, table, VrListInstance, ScaledTimeout(kTimeout), description,
                            ui->StatusBar->panel(0), &m_lastError);
}

bool TFM_Time::load(VrSNMPRequest2Edits *binder)
{
    return VrLoadShowingErrors(binder);
}

bool TFM_Time::apply(VrSNMPRequest2Edits *binder)
{
    return VrApplyShowingErrors(binder, false);
}

void TFM_Time::bindAll()
{
    m_time = makeBinder(kTimeVars, QStringLiteral("Time"));
    m_time->BindFormat(ServerIp, QStringLiteral("%s"), {ui->Ed_ServerIp});
    m_time->BindComboBox(TimeZone, ui->CB_TimeZone);
    m_time->BindCheckBox(DaylightSaving, ui->CheckBox_Daylight);
    m_time->BindControl(TimeOfDay, ui->LB_CurrentTime);
    m_time->BindCheckBox(NtpStatus, ui->CheckBox_NTP);
    m_time->BindComboBox(DaylightOffset, ui->CB_InDays);
    const QList<QComboBox *> dst = dstCombos();
    for (int i = 0; i < dst.size(); ++i)
        m_time->BindComboBox(StartMonth + i, dst.at(i));
    ui->Ed_ServerIp->setMaxLength(15);

    m_manual = makeBinder(kManualVars, QStringLiteral("Time"));
    m_manual->BindFormat(0, QStringLiteral("%s"), {ui->Ed_DateTime});
}

void TFM_Time::readAll()
{
    // Both groups go out at once; a silent device leaves the second untaken.
    VrReadTogether together{m_time, m_manual};
    load(m_time);
    // The device's answer (or its silence) is known from the first read.
    if (m_lastError != VrErrTimeout)
        load(m_manual);
    else
        m_manual->SkipLoad();
    emptyUnsetServer();
}

QList<QComboBox *> TFM_Time::manualCombos() const
{
    return {ui->CB_Year, ui->CB_Month, ui->CB_Day, ui->CB_Hour, ui->CB_Minute, ui->CB_Second};
}

QList<QComboBox *> TFM_Time::dstCombos() const
{
    return {ui->CB_StartMonth, ui->CB_StartWeek, ui->CB_StartDay, ui->CB_StartTime,
            ui->CB_EndMonth,   ui->CB_EndWeek,   ui->CB_EndDay,   ui->CB_EndTime};
}

void TFM_Time::emptyUnsetServer()
{
    if (ui->Ed_ServerIp->text() == kNoServer)
        ui->Ed_ServerIp->clear();
}

void TFM_Time::fillFromComputerClock()
{
    const ClockFields f = ClockFieldsOf(QDateTime::currentDateTime());
    selectText(ui->CB_Year, f.year);
    selectText(ui->CB_Month, f.month);
    selectText(ui->CB_Day, f.day);
    selectText(ui->CB_Hour, f.hour);
    selectText(ui->CB_Minute, f.minute);
    selectText(ui->CB_Second, f.second);
}

void TFM_Time::composeDateTime()
{
    ui->Ed_DateTime->setText(ComposeManualTime({ui->CB_Month->currentText(), ui->CB_Day->currentText(),
                                                ui->CB_Year->currentText(), ui->CB_Hour->currentText(),
                                                ui->CB_Minute->currentText(), ui->CB_Second->currentText()}));
}

void TFM_Time::CopyComputerTime()
{
    fillFromComputerClock();
    composeDateTime();
}

void TFM_Time::ntpClicked()
{
    const bool ntp = ui->CheckBox_NTP->isChecked();
    ui->Ed_ServerIp->setEnabled(ntp);
    ui->Btn_Convert->setEnabled(ntp);
    ui->CB_ServerName->setEnabled(ntp);
    ui->GB_Manual->setEnabled(!ntp);
    for (QComboBox *combo : manualCombos())
        combo->setEnabled(!ntp);
    ui->Btn_Copy->setEnabled(!ntp);
}

void TFM_Time::daylightClicked()
{
    const bool on = ui->CheckBox_Daylight->isChecked();
    for (QComboBox *combo : dstCombos())
        combo->setEnabled(on);
    if (!on)
        ui->CB_InDays->setEnabled(false);
}

void TFM_Time::zoneChanged()
{
    const QString value = gZone.TextToValue(ui->CB_TimeZone->currentText());
    ui->CheckBox_Daylight->setEnabled(ZoneHasDaylightSaving(value.toInt()));
}

// The server name is looked up in the background; the page stays usable and
// the answer, or why there is none, arrives when the resolver has it.
void TFM_Time::convertClicked()
{
    if (ui->CB_ServerName->currentIndex() <= 0) {
        ui->Ed_ServerIp->clear();
        return;
    }
    const QString name = ui->CB_ServerName->currentText();
    ui->StatusBar->panel(0)->setText(QStringLiteral("Looking up %1 ...").arg(name));
    ui->Btn_Convert->setEnabled(false);
    QHostInfo::lookupHost(name, this, [this, name](const QHostInfo &info) {
        ui->Btn_Convert->setEnabled(ui->CheckBox_NTP->isChecked());
        QString found;
        for (const QHostAddress &address : info.addresses()) {
            if (address.protocol() == QAbstractSocket::IPv4Protocol && IsValidIPAddress(address.toString())) {
                found = address.toString();
                break;
            }
        }
        if (found.isEmpty()) {
            qCWarning(lcTime) << "no IPv4 address for" << name << info.errorString();
            ui->StatusBar->panel(0)->setText(QString());
            VrMessageBox(this, QStringLiteral("Cannot find an IPv4 address for %1.").arg(name), kWaring);
            return;
        }
        ui->Ed_ServerIp->setText(found);
        ui->StatusBar->panel(0)->setText(QString());
    });
}

void TFM_Time::setIncluded(int item, bool included)
{
    uint8_t &flags = m_time->Request.VarList.Item(item).flags;
    flags = included ? uint8_t((flags & ~VrFlagExcluded) | VrFlagRead | VrFlagWrite) : uint8_t(flags | VrFlagExcluded);
}

void TFM_Time::Save()
{
    const bool ntp = ui->CheckBox_NTP->isChecked();
    const QString server = ui->Ed_ServerIp->text();
    if (ntp && server.isEmpty()) {
        VrMessageBox(this, QStringLiteral("Please input valid IP address"), kWaring);
        ui->Ed_ServerIp->setFocus();
        return;
    }
    if (!server.isEmpty() && !IsValidIPAddress(server)) {
        VrMessageBox(this, QStringLiteral("Please input valid IP address"), kWaring);
        ui->Ed_ServerIp->clear();
        ui->Ed_ServerIp->setFocus();
        return;
    }
    if (!ntp) {
        composeDateTime();
        // A field without an entry would send the device half a date.
        const ClockFields f{ui->CB_Month->currentText(), ui->CB_Day->currentText(), ui->CB_Year->currentText(),
                            ui->CB_Hour->currentText(), ui->CB_Minute->currentText(), ui->CB_Second->currentText()};
        if (!f.complete()) {
            VrMessageBox(this, QStringLiteral("Please select the date and time to set."), kWaring);
            return;
        }
    }
    if (server.isEmpty())
        ui->Ed_ServerIp->setText(kNoServer);

    setIncluded(DaylightSaving, ui->CheckBox_Daylight->isEnabled());
    const bool dst = ui->CheckBox_Daylight->isChecked();
    for (int item = StartMonth; item <= EndTime; ++item)
        setIncluded(item, dst);
    setIncluded(ServerIp, ntp);

    const bool timeOk = apply(m_time);
    // Whether the clock is set by hand is the device's NTP choice: unread,
    // the manual time is not sent either.
    const bool manualOk = ntp || (m_time->WasRead() && apply(m_manual));
    for (int item : {int(ServerIp), int(DaylightSaving)})
        setIncluded(item, true);
    for (int item = StartMonth; item <= EndTime; ++item)
        setIncluded(item, true);

    emptyUnsetServer();
    qCInfo(lcTime) << "save: ntp" << ntp << "time" << timeOk << "manual" << manualOk;
    VrReadTogether together{m_time, m_manual};
    load(m_time);
    load(m_manual);
    emptyUnsetServer();
    ntpClicked();
    daylightClicked();
    ui->StatusBar->panel(0)->setText(timeOk && manualOk ? QStringLiteral("Setting Success")
                                                        : QStringLiteral("Setting Error"));
}
