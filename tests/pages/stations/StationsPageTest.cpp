// The station pages against the simulated access point, used as a user
// would; what the device holds afterwards is read back with a separate client.
#include "SimulatedPageFixture.h"
#include "TClientInformation.h"
#include "TFM_FilterMACACL.h"
#include "TFM_RogueAP.h"
#include "TFM_StatWLAN.h"
#include "TFM_Static.h"
#include "TFM_WDSInfo.h"
#include "VrSNMPError.h"
#include "VrStatusBar.h"
#include "VrTimeScale.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";

class StationPage : public SimulatedPageFixture<QDialog>
{
protected:
    void SetUp() override { VrSetTimeScale(0.05); }
    void TearDown() override
    {
        page.reset();
        VrSetTimeScale(1.0);
    }

    template <class Page> Page *open()
    {
        auto *p = new Page();
        page.reset(p);
        p->show();
        return p;
    }

    template <class W = QWidget> W *find(const char *name) { return SimulatedPageFixture::find<W>(name); }
    QString status() { return find<VrStatusBar>("StatusBar1")->simpleText(); }
    // Waits for the status bar to read the text (or to begin with it).
    bool statusBecomes(const QString &text, int ms = 10000)
    {
        if (QTest::qWaitFor([&] { return status().startsWith(text); }, ms))
            return true;
        ADD_FAILURE() << "status: " << status().toStdString();
        return false;
    }
    QStringList column(const char *view, int c)
    {
        QStringList texts;
        auto *v = find<QTreeWidget>(view);
        for (int i = 0; i < v->topLevelItemCount(); ++i)
            texts << v->topLevelItem(i)->text(c);
        return texts;
    }
    void expectFitsTheScreen()
    {
        QApplication::processEvents();
        EXPECT_LE(page->width(), 1366);
        EXPECT_LE(page->height(), 740);
    }
    void type(const char *name, const QString &text)
    {
        auto *e = find<QLineEdit>(name);
        e->clear();
        QTest::keyClicks(e, text);
    }
    void pick(const char *view, int row)
    {
        auto *v = find<QTreeWidget>(view);
        ASSERT_LT(row, v->topLevelItemCount());
        v->setCurrentItem(v->topLevelItem(row));
    }
    int setsOf(const std::string &oid) { return acceptedSetsOf(oid); }
    // At the page's size, every shown column of the list holds its caption
    // and each of its values uncut (text, the style's margins, a check box),
    // and the columns lie within the list.
    void expectWholeColumns(const char *name)
    {
        QApplication::processEvents();
        auto *view = find<QTreeWidget>(name);
        QStyle *style = view->style();
        const int cellMargin = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        const int headerMargin = 2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, view->header());
        const int box = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view) + cellMargin;
        const QFontMetrics cells = view->fontMetrics();
        const QFontMetrics captions = view->header()->fontMetrics();
        int right = 0;
        for (int c = 0; c < view->columnCount(); ++c) {
            if (view->isColumnHidden(c))
                continue;
            const QString caption = view->headerItem()->text(c);
            EXPECT_GE(view->columnWidth(c), captions.horizontalAdvance(caption) + headerMargin) << caption.toStdString();
            for (int i = 0; i < view->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *item = view->topLevelItem(i);
                const bool checkable = item->data(c, Qt::CheckStateRole).isValid();
                EXPECT_GE(view->columnWidth(c), cells.horizontalAdvance(item->text(c)) + cellMargin + (checkable ? box : 0))
                    << caption.toStdString() << ": " << item->text(c).toStdString();
            }
            right += view->columnWidth(c);
        }
        EXPECT_LE(right, view->viewport()->width()) << name;
    }
};

// ---- Client information ----------------------------------------------------

TEST_F(StationPage, ClientInformationListsUsedRowsOnly)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--stations", "4"}));
    auto *p = open<TClientInformation>();
    EXPECT_EQ(status(), "Detect Client Info...");
    EXPECT_FALSE(find<QPushButton>("Btn_Close")->isEnabled());
    EXPECT_TRUE(statusBecomes(VrSNMPMessage(0)));
    EXPECT_FALSE(p->Busy());
    EXPECT_EQ(find<QLabel>("Lb_Band")->text(), "2.4GHZ");
    // Four stations and three free rows of 000000000000 on the device.
    EXPECT_EQ(find<QLabel>("NumOfRecord")->text(), "4");
    EXPECT_EQ(column("User_ListView", 0), (QStringList{"1", "2", "3", "4"}));
    for (const QString &mac : column("User_ListView", 2))
        EXPECT_TRUE(mac.size() == 12 && mac != "000000000000") << mac.toStdString();
    for (const QString &band : column("User_ListView", 3))
        EXPECT_TRUE(QStringList({"A", "B", "G", "N"}).contains(band)) << band.toStdString();
    for (const QString &signal : column("User_ListView", 5))
        EXPECT_TRUE(signal.endsWith('%')) << signal.toStdString();
    EXPECT_EQ(column("User_ListView", 1).first(), "QRT5150");
    expectFitsTheScreen();
}

TEST_F(StationPage, ClientInformationRefusesClosingWhileDetecting)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_EQ(client->setInt(P + "2.1.3.2.1.1.24.1", 1).status, 0); // 5 GHz
    auto *p = open<TClientInformation>();
    EXPECT_EQ(find<QLabel>("Lb_Band")->text(), "5GHZ");
    ASSERT_TRUE(p->Busy());
    static_cast<QDialog *>(p)->reject();
    EXPECT_TRUE(p->isVisible());
    EXPECT_TRUE(statusBecomes(VrSNMPMessage(0)));
    click("Btn_Refresh");
    EXPECT_TRUE(p->Busy());
    EXPECT_EQ(find<QTreeWidget>("User_ListView")->topLevelItemCount(), 0);
    QTest::keyClick(p, Qt::Key_Escape);
    EXPECT_TRUE(p->isVisible());
    EXPECT_TRUE(statusBecomes(VrSNMPMessage(0)));
    EXPECT_EQ(find<QLabel>("NumOfRecord")->text(), "5");
    click("Btn_Close");
    EXPECT_FALSE(p->isVisible());
}

TEST_F(StationPage, ClientInformationTriggerTimeOutSaysSoAndCountsTheLines)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    auto *p = open<TClientInformation>();
    EXPECT_TRUE(statusBecomes(VrSNMPMessage(0)));
    ::kill(device.pid(), SIGUSR1); // the device stops answering
    VrSetTimeScale(0.01);
    click("Btn_Refresh");
    EXPECT_TRUE(statusBecomes("Detect timed out! "));
    EXPECT_GT(status().size(), QString("Detect timed out! ").size());
    EXPECT_FALSE(p->Busy());
    EXPECT_EQ(find<QLabel>("NumOfRecord")->text(),
              QString::number(find<QTreeWidget>("User_ListView")->topLevelItemCount()));
    ::kill(device.pid(), SIGUSR2);
}

// ---- MAC access list -------------------------------------------------------

const std::string kAccessControl = P + "2.1.3.3.3.2.1.1.1";
const std::string kAclAdd = P + "2.1.3.3.3.2.1.2.1";
const std::string kAclMac = P + "2.1.3.3.3.3.1.2.";

class AccessListPage : public StationPage
{
protected:
    TFM_FilterMACACL *openAcl()
    {
        auto *p = open<TFM_FilterMACACL>();
        EXPECT_TRUE(QTest::qWaitFor([p] { return p->Ready(); }, 10000));
        return p;
    }
    std::string macAt(int row) { return client->get(kAclMac + std::to_string(row)).bytes; }
};

TEST_F(AccessListPage, EmptyListSwitchesTheModeToDisable)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_EQ(client->setInt(kAccessControl, 1).status, 0); // Accept, with nobody on the list
    openAcl();
    EXPECT_EQ(status(), "Get OK!");
    EXPECT_EQ(find<QComboBox>("CB_AccessControl")->currentText(), "Disable");
    EXPECT_EQ(client->get(kAccessControl).number, 3);
    EXPECT_FALSE(find<QLineEdit>("Ed_MacAdd")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("Bt_Add")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("Bt_Apply")->isEnabled());
    expectFitsTheScreen();
}

TEST_F(AccessListPage, RefusesBadAddressesAndAddsAGoodOne)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    auto *p = openAcl();
    choose("CB_AccessControl", "Accept");
    ASSERT_TRUE(find<QPushButton>("Bt_Add")->isEnabled());
    const std::pair<const char *, const char *> refused[] = {
        {"00112233445", "The length is 12 in MAC Address."},
        {"0011223344556", "The length is 12 in MAC Address."},
        {"000000000000", "Please input a valid MAC Address."},
    };
    for (const auto &[mac, message] : refused) {
        type("Ed_MacAdd", mac);
        click("Bt_Add");
        ASSERT_EQ(boxes.count(), 1) << mac;
        EXPECT_EQ(boxes.lastText(), message);
        boxes.clear();
    }
    EXPECT_EQ(setsOf(kAclAdd), 0);

    type("Ed_MacAdd", "00aabbccdd01");
    click("Bt_Add");
    EXPECT_FALSE(p->Ready());
    ASSERT_TRUE(QTest::qWaitFor([p] { return p->Ready(); }, 10000));
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(status(), "Get OK!");
    EXPECT_EQ(column("LV_UerMACAddress", 0), QStringList{"1"});
    EXPECT_EQ(column("LV_UerMACAddress", 1), QStringList{"00AABBCCDD01"});
    EXPECT_EQ(macAt(1), qrt::test::macBytes("00AABBCCDD01"));
    EXPECT_EQ(client->get(kAccessControl).number, 1);
    EXPECT_TRUE(find<QLineEdit>("Ed_MacAdd")->text().isEmpty());

    type("Ed_MacAdd", "00AABBCCDD01");
    click("Bt_Add");
    EXPECT_EQ(boxes.lastText(), "Reject: The MAC already exists ");
    EXPECT_EQ(setsOf(kAclAdd), 1);
}

TEST_F(AccessListPage, StationFromTheClientListIsRejectedAndDeletingTheLastDisables)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    auto *p = openAcl();
    ASSERT_TRUE(QTest::qWaitFor([this] { return find<QTreeWidget>("LV_ClientUser")->topLevelItemCount() == 5; }, 10000));
    EXPECT_FALSE(find<QPushButton>("Btn_AddCli")->isEnabled());
    pick("LV_ClientUser", 2);
    const QString mac = find<QTreeWidget>("LV_ClientUser")->topLevelItem(2)->text(0);
    ASSERT_TRUE(find<QPushButton>("Btn_AddCli")->isEnabled());
    click("Btn_AddCli");
    ASSERT_TRUE(QTest::qWaitFor([p] { return p->Ready(); }, 10000));
    EXPECT_EQ(find<QComboBox>("CB_AccessControl")->currentText(), "Reject");
    EXPECT_EQ(client->get(kAccessControl).number, 2);
    EXPECT_EQ(column("LV_UerMACAddress", 1), QStringList{mac});

    pick("LV_UerMACAddress", 0);
    ASSERT_TRUE(find<QPushButton>("Bt_Del")->isEnabled());
    click("Bt_Del");
    ASSERT_TRUE(QTest::qWaitFor([p] { return p->Ready(); }, 10000));
    EXPECT_EQ(find<QTreeWidget>("LV_UerMACAddress")->topLevelItemCount(), 0);
    EXPECT_EQ(macAt(1), std::string(6, '\0'));
    EXPECT_EQ(client->get(kAccessControl).number, 3);
}

// A device that sends values out of range and, on the last used row, a MAC
// of seven bytes: every line is listed as far as it goes, nothing is mended.
TEST_F(StationPage, ClientInformationListsStrangeRowsAsTheyCome)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--stations", "5", "--odd-rows"}));
    auto *p = open<TClientInformation>();
    ASSERT_TRUE(QTest::qWaitFor([p] { return !p->Busy(); }, 10000));
    EXPECT_EQ(find<QLabel>("NumOfRecord")->text(), "5");
    ASSERT_EQ(find<QTreeWidget>("User_ListView")->topLevelItemCount(), 5);
    EXPECT_EQ(column("User_ListView", 4)[1], "12");
    EXPECT_EQ(column("User_ListView", 5)[1], "");
    EXPECT_TRUE(column("User_ListView", 5)[0].endsWith('%'));
    EXPECT_EQ(column("User_ListView", 2)[4].size(), 14);
}

// ---- Traffic statistics ----------------------------------------------------

const char *const kWlanCounters[] = {"Ed_TranPCount", "Edt_TransBCount", "Edt_DropPCount", "Ed_TranReCount",
                                     "Edt_RecPacCount", "Edt_RecByCount", "Edt_DropPacCount", "Edt_RecCRCCount",
                                     "Edt_RecDecErrCount", "Edt_RecMICErrCount", "Edt_RecPHYErrCount"};
const char *const kEthernetCounters[] = {"Ed_TranPCount", "Edt_TransBCount", "Edt_DropPCount",
                                         "Edt_RecPacCount", "Edt_RecByCount", "Edt_DropPacCount"};

TEST_F(StationPage, WlanCountersPastTwoToThe31AreShownUnsigned)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    open<TFM_StatWLAN>();
    EXPECT_EQ(status(), "Wlan Info Get OK!");
    // The device sends its byte counters as INTEGER; these are past 2^31.
    bool ok = false;
    EXPECT_GE(find<QLineEdit>("Edt_RecByCount")->text().toULongLong(&ok), 3000000000ull);
    EXPECT_TRUE(ok) << find<QLineEdit>("Edt_RecByCount")->text().toStdString();
    for (const char *name : kWlanCounters)
        EXPECT_FALSE(find<QLineEdit>(name)->text().startsWith('-')) << name;
    click("Btn_Refresh");
    EXPECT_EQ(status(), "Refresh Wlan Info OK!");
    expectFitsTheScreen();
}

TEST_F(StationPage, WlanClearPausesWithoutBlockingAndReadsZeros)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    VrSetTimeScale(0.1); // the pause takes half a second
    open<TFM_StatWLAN>();
    click("Btn_Clear");
    // The click has returned while the pause runs: nothing can be pressed meanwhile.
    EXPECT_FALSE(find<QPushButton>("Btn_Clear")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("Btn_Refresh")->isEnabled());
    EXPECT_NE(status(), "Clear OK!");
    EXPECT_TRUE(statusBecomes("Clear OK!"));
    EXPECT_TRUE(find<QPushButton>("Btn_Clear")->isEnabled());
    for (const char *name : kWlanCounters)
        EXPECT_EQ(find<QLineEdit>(name)->text(), "0") << name;
}

TEST_F(StationPage, EthernetClearReadsZeros)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    open<TFM_Static>();
    EXPECT_EQ(status(), "Ethernet Info Get OK!");
    click("Btn_Clear");
    EXPECT_EQ(status(), "Clear Ethernet Info is OK!");
    for (const char *name : kEthernetCounters)
        EXPECT_EQ(find<QLineEdit>(name)->text(), "0") << name;
    expectFitsTheScreen();
}

TEST_F(StationPage, EthernetClearRefusedIsNotReportedAsDone)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--fail", P + "5.2.1.1.1.1.16.1=5"}));
    open<TFM_Static>();
    const QString before = find<QLineEdit>("Ed_TranPCount")->text();
    click("Btn_Clear");
    EXPECT_NE(status(), "Clear Ethernet Info is OK!");
    EXPECT_FALSE(status().isEmpty());
    EXPECT_NE(status(), "Ethernet Info is Clearing!");
    EXPECT_EQ(find<QLineEdit>("Ed_TranPCount")->text(), before);
}

// ---- WDS information -------------------------------------------------------

const std::string kApMode = P + "2.1.3.2.1.1.18.1";
const std::string kWdsRefresh = P + "2.1.3.5.1.1.1.1";

TEST_F(StationPage, WdsPageOutsideTheWdsModesAsksNothing)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    auto *p = open<TFM_WDSInfo>();
    EXPECT_FALSE(p->Busy());
    EXPECT_FALSE(find<QLabel>("Lb_Channel")->text().isEmpty());
    EXPECT_EQ(find<QLabel>("Lb_Band")->text(), "2.4");
    click("Btn_Refresh");
    EXPECT_EQ(status(), "Get OK!");
    EXPECT_FALSE(p->Busy());
    EXPECT_EQ(setsOf(kWdsRefresh), 0);
    EXPECT_EQ(find<QTreeWidget>("WDS_ClientListView")->topLevelItemCount(), 0);
    expectFitsTheScreen();
    click("Btn_Close");
    EXPECT_FALSE(p->isVisible());
}

TEST_F(StationPage, WdsPeersAreListedFreeSlotsWithAnEmptyMac)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--stations", "3"}));
    ASSERT_EQ(client->setInt(kApMode, 3).status, 0);
    auto *p = open<TFM_WDSInfo>();
    click("Btn_ChartPause"); // the signal chart's own collections would count too
    ASSERT_TRUE(p->Busy());
    static_cast<QDialog *>(p)->reject();
    EXPECT_TRUE(p->isVisible());
    EXPECT_TRUE(statusBecomes(VrSNMPMessage(0)));
    EXPECT_FALSE(p->Busy());
    // Three peers and three free slots, all listed.
    const QStringList macs = column("WDS_ClientListView", 1);
    ASSERT_EQ(macs.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(macs[i].isEmpty(), i >= 3) << macs[i].toStdString();
    for (const QString &auth : column("WDS_ClientListView", 2).mid(0, 3))
        EXPECT_FALSE(auth.isEmpty());
    for (const QString &signal : column("WDS_ClientListView", 3))
        EXPECT_TRUE(signal.isEmpty() || signal.endsWith('%')) << signal.toStdString();
    for (const QString &state : column("WDS_ClientListView", 4).mid(0, 3))
        EXPECT_TRUE(state == "On" || state == "Off") << state.toStdString();
    click("Btn_Refresh");
    EXPECT_EQ(status(), "Refresh WDS Info...");
    EXPECT_TRUE(statusBecomes(VrSNMPMessage(0)));
    EXPECT_EQ(setsOf(kWdsRefresh), 2);
}

TEST_F(StationPage, WdsPeersListStrangeRowsAsTheyCome)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--stations", "4", "--odd-rows"}));
    ASSERT_EQ(client->setInt(kApMode, 2).status, 0);
    auto *p = open<TFM_WDSInfo>();
    ASSERT_TRUE(QTest::qWaitFor([p] { return !p->Busy(); }, 10000));
    ASSERT_EQ(find<QTreeWidget>("WDS_ClientListView")->topLevelItemCount(), 7);
    EXPECT_EQ(column("WDS_ClientListView", 2)[1], "12");
    EXPECT_EQ(column("WDS_ClientListView", 3)[1], "");
    EXPECT_EQ(column("WDS_ClientListView", 1)[3].size(), 14);
}

TEST_F(StationPage, ClientInformationShowsWholeColumns)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--stations", "20"})); // more than the list shows at once
    auto *p = open<TClientInformation>();
    ASSERT_TRUE(QTest::qWaitFor([p] { return !p->Busy(); }, 10000));
    ASSERT_EQ(find<QTreeWidget>("User_ListView")->topLevelItemCount(), 20);
    expectWholeColumns("User_ListView");
}

// ---- Rogue AP detection ----------------------------------------------------

const std::string kRogueType = P + "3.3.4.1.8.1.7.";
const std::string kAddToValid = P + "3.3.4.1.2.0";
const std::string kAddToRogue = P + "3.3.4.1.4.0";
const std::string kAllNewValid = P + "3.3.4.1.6.0";
const std::string kUnknownRogue = P + "3.3.4.1.7.0";

class RoguePage : public StationPage
{
protected:
    TFM_RogueAP *detect()
    {
        auto *p = open<TFM_RogueAP>();
        click("Btn_Detect");
        EXPECT_TRUE(p->Detecting());
        EXPECT_TRUE(statusBecomes("Get OK!"));
        return p;
    }
    QTreeWidgetItem *line(int i) { return find<QTreeWidget>("AP_UserListView")->topLevelItem(i); }
    void tick(int i) { line(i)->setCheckState(0, Qt::Checked); }
};

TEST_F(RoguePage, SurveyColumnsShowWholeValues)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--stations", "12"}));
    detect();
    ASSERT_TRUE(column("AP_UserListView", 0).contains("neighborhood"));
    expectWholeColumns("AP_UserListView");
}

TEST_F(RoguePage, DetectionLocksEveryRequestControlAndListsUsedRows)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--stations", "4"}));
    auto *p = open<TFM_RogueAP>();
    expectFitsTheScreen();
    click("Btn_Detect");
    ASSERT_TRUE(p->Detecting());
    for (const char *name : {"Btn_Detect", "Btn_SetValid", "Btn_SetNeigh", "Btn_SetRogue", "Btn_SetNew", "Btn_Apply",
                             "CB_OperatorType", "AP_UserListView", "CheckBox_SelectAll", "RB_MarkAllValid",
                             "RB_MarkAllRogue"})
        EXPECT_FALSE(find(name)->isEnabled()) << name;
    EXPECT_TRUE(statusBecomes("Get OK!"));
    EXPECT_TRUE(find("Btn_SetRogue")->isEnabled());
    EXPECT_TRUE(find("RB_MarkAllValid")->isEnabled());
    ASSERT_EQ(find<QTreeWidget>("AP_UserListView")->topLevelItemCount(), 4);
    for (const QString &bssid : column("AP_UserListView", 4))
        EXPECT_NE(bssid, "000000000000");
    for (const QString &type : column("AP_UserListView", 0))
        EXPECT_TRUE(QStringList({"new", "valid", "neighborhood", "rogue"}).contains(type)) << type.toStdString();
    find<QCheckBox>("CheckBox_SelectAll")->click();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(line(i)->checkState(0), Qt::Checked);
}

TEST_F(RoguePage, SetAsWithNothingTickedWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    detect();
    for (const char *button : {"Btn_SetValid", "Btn_SetNeigh", "Btn_SetRogue", "Btn_SetNew", "Btn_Apply"}) {
        click(button);
        ASSERT_EQ(boxes.count(), 1) << button;
        EXPECT_EQ(boxes.calls()[0].text, "No entry click!");
        EXPECT_EQ(boxes.calls()[0].caption, "Waring");
        boxes.clear();
    }
    EXPECT_EQ(setsOf(kAddToValid) + setsOf(kAddToRogue) + setsOf(kAllNewValid) + setsOf(kUnknownRogue), 0);
}

TEST_F(RoguePage, SetAsRogueMovesTheTickedLineAndSkipsOnesGoneFromTheSurvey)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    auto *p = detect();
    const QString bssid = line(1)->text(4);
    tick(1);
    tick(3);
    line(3)->setText(4, QStringLiteral("001A2BFFFFFF")); // no longer in the survey
    click("Btn_SetRogue");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(p->Detecting());
    EXPECT_TRUE(QTest::qWaitFor([p] { return !p->Detecting(); }, 10000));
    EXPECT_EQ(status(), "Get OK!");
    EXPECT_EQ(setsOf(kAddToRogue), 1);
    EXPECT_EQ(client->get(kRogueType + "2").number, 4);
    choose("CB_OperatorType", "Rogue");
    EXPECT_TRUE(column("AP_UserListView", 4).contains(bssid));
    for (const QString &type : column("AP_UserListView", 0))
        EXPECT_EQ(type, "rogue");
    EXPECT_FALSE(find("RB_MarkAllValid")->isEnabled());
    choose("CB_OperatorType", "New");
    EXPECT_TRUE(find("RB_MarkAllValid")->isEnabled());
}

TEST_F(RoguePage, MarkAllNewAsValidTicksNewLinesAndWritesOnlyItsObject)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--stations", "12"}));
    detect();
    find<QRadioButton>("RB_MarkAllValid")->click();
    int newLines = 0;
    for (int i = 0; i < find<QTreeWidget>("AP_UserListView")->topLevelItemCount(); ++i) {
        const bool isNew = line(i)->text(0) == "new";
        newLines += isNew;
        EXPECT_EQ(line(i)->checkState(0), isNew ? Qt::Checked : Qt::Unchecked) << i;
    }
    ASSERT_GT(newLines, 0) << "the seeded survey has new access points";
    auto *p = static_cast<TFM_RogueAP *>(page.get());
    click("Btn_Apply");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(status(), "Set OK!");
    EXPECT_TRUE(p->Detecting());
    EXPECT_TRUE(QTest::qWaitFor([p] { return !p->Detecting(); }, 10000));
    EXPECT_EQ(client->get(kAllNewValid).number, 1);
    EXPECT_EQ(setsOf(kAllNewValid), 1);
    EXPECT_EQ(setsOf(kUnknownRogue), 0);
    EXPECT_EQ(setsOf(P + "3.3.4.1.5.0"), newLines);
}

} // namespace
