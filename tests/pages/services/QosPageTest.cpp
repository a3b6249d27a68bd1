// Advanced > QoS against the simulated access point.
#include "ServicesPageFixture.h"
#include "TFM_QosSetting.h"

#include "VrTimeScale.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QImage>

namespace {

using namespace svctest;
const std::string kQosStatus = P + "3.3.6.1.0";
const std::string kHttp = P + "3.3.6.2.1.0";
std::string cell(int n, int row) { return P + "3.3.6.2.5.1." + std::to_string(n) + "." + std::to_string(row); }

class QosPage : public PageTest<TFM_QosSetting>
{
protected:
    void openAndWait()
    {
        openPage();
        waitIdle();
    }
    void waitIdle() { ASSERT_TRUE(waitFor([this] { return !page->Busy(); })); }
    void seedRule(int row, const std::string &name, bool enabled = true)
    {
        ASSERT_TRUE(client->setBytes(cell(3, row), name).ok());
        ASSERT_TRUE(client->setInt(cell(2, row), enabled ? 1 : 0).ok());
        ASSERT_TRUE(client->setIp(cell(7, row), "192.168.0.2").ok());
        ASSERT_TRUE(client->setIp(cell(8, row), "192.168.0.9").ok());
    }
    void enableQos()
    {
        ASSERT_TRUE(client->setInt(kQosStatus, 1).ok());
    }
    Qt::CheckState checked(int row) { return list("LV_QosRulesUser")->topLevelItem(row)->checkState(0); }
};

TEST_F(QosPage, AnIcmpRuleWritesProtocolOneWithoutPortsAndCountsItsHosts)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    enableQos();
    openAndWait();
    EXPECT_EQ(result("StatusBar1"), "Get OK!");
    EXPECT_EQ(combo("CB_Priority")->currentText(), "Background(BK)");
    EXPECT_EQ(combo("CB_Protocol")->currentText(), "Any");
    EXPECT_EQ(edit("Ed_ProtocolName")->text(), "256");
    EXPECT_FALSE(edit("Ed_PortFrom1")->isEnabled());
    type("Ed_QosName", "ping");
    choose("CB_Priority", "Voice(VO)");
    choose("CB_Protocol", "ICMP");
    EXPECT_EQ(edit("Ed_ProtocolName")->text(), "1");
    type("Ed_IpFrom1", "192.168.0.10");
    type("Ed_IpTo1", "192.168.0.20");
    click("Btn_Add");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    waitIdle();
    EXPECT_EQ(text(cell(3, 1)), "ping");
    EXPECT_EQ(number(cell(5, 1)), 1);
    EXPECT_EQ(number(cell(6, 1)), 4);
    EXPECT_EQ(number(cell(4, 1)), 0);
    EXPECT_EQ(number(cell(9, 1)), 11);
    EXPECT_EQ(number(cell(2, 1)), 1);
    for (int n : {10, 11, 12, 13, 14, 15, 16, 17, 18})
        EXPECT_EQ(setsOf(cell(n, 1)), 0) << n;
    ASSERT_EQ(column("LV_QosRulesUser", 0), QStringList{"ping"});
    EXPECT_EQ(column("LV_QosRulesUser", 1), QStringList{"Voice(VO)"});
    EXPECT_EQ(column("LV_QosRulesUser", 2), QStringList{"192.168.0.10~192.168.0.20"});
    EXPECT_EQ(column("LV_QosRulesUser", 3), QStringList{"Any"});
    EXPECT_EQ(column("LV_QosRulesUser", 4), QStringList{"ICMP Any Any"});
    EXPECT_EQ(checked(0), Qt::Checked);
    expectFits();
}

TEST_F(QosPage, TcpPortsAndARangeAcrossOctetsAreWrittenAsCounts)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    enableQos();
    openAndWait();
    type("Ed_QosName", "web");
    choose("CB_Protocol", "TCP");
    type("Ed_IpFrom1", "10.0.0.200");
    type("Ed_IpTo1", "10.0.1.5");
    type("Ed_PortFrom1", "80");
    type("Ed_PortTo1", "88");
    type("Ed_IpFrom2", "10.0.2.1");
    click("Btn_Add");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    waitIdle();
    EXPECT_EQ(number(cell(9, 1)), 62);
    EXPECT_EQ(number(cell(5, 1)), 6);
    EXPECT_EQ(number(cell(12, 1)), 9);
    EXPECT_EQ(address(cell(14, 1)), "10.0.2.1"); // an empty end takes the start
    EXPECT_EQ(number(cell(15, 1)), 1);
    EXPECT_EQ(setsOf(cell(16, 1)), 0);
    EXPECT_EQ(column("LV_QosRulesUser", 4), QStringList{"TCP 80/88 Any"});
}

TEST_F(QosPage, JunkInAPortOrAddressIsRefusedAndNothingIsWritten)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    enableQos();
    openAndWait();
    type("Ed_QosName", "bad");
    choose("CB_Protocol", "UDP");
    type("Ed_IpFrom1", "10.0.0.1");
    type("Ed_PortFrom1", "8a");
    click("Btn_Add");
    EXPECT_EQ(boxes.lastText(), "Invalid port!");
    EXPECT_EQ(edit("Ed_PortFrom1")->text(), "");
    type("Ed_IpTo2", "10.0.0.x");
    type("Ed_IpFrom2", "10.0.0.1");
    click("Btn_Add");
    EXPECT_EQ(boxes.lastText(), "Invalid IP address!");
    EXPECT_EQ(boxes.calls().last().caption, "Waring");
    type("Ed_IpFrom2", "");
    type("Ed_IpTo2", "");
    choose("CB_Protocol", "Other");
    EXPECT_TRUE(edit("Ed_ProtocolName")->isEnabled());
    type("Ed_ProtocolName", "300");
    click("Btn_Add");
    EXPECT_EQ(boxes.lastText(), "Invalid Protocol!");
    EXPECT_EQ(setsOf(cell(3, 1)), 0);
    EXPECT_TRUE(find<QPushButton>("Btn_Add")->isEnabled());
}

TEST_F(QosPage, SixtyFourRulesLeaveNoRoomToAdd)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    enableQos();
    for (int row = 1; row <= 64; ++row)
        ASSERT_TRUE(client->setBytes(cell(3, row), "r" + std::to_string(row)).ok());
    openAndWait();
    EXPECT_EQ(page->RuleCount(), 64);
    EXPECT_FALSE(find<QPushButton>("Btn_Add")->isEnabled());
    clickRow("LV_QosRulesUser", 3);
    EXPECT_TRUE(find<QPushButton>("Btn_Add")->isEnabled()); // the rule may be changed
    EXPECT_EQ(edit("Ed_QosName")->text(), "r4");
    clickRow("LV_QosRulesUser", -1);
    EXPECT_FALSE(find<QPushButton>("Btn_Add")->isEnabled());
}

TEST_F(QosPage, SaveWritesEachCheckMarkToItsOwnRowAndWarnsWhenNothingClassifies)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    enableQos();
    seedRule(2, "a");
    seedRule(5, "b", false);
    openAndWait();
    ASSERT_EQ(column("LV_QosRulesUser", 0), QStringList({"a", "b"}));
    EXPECT_EQ(checked(0), Qt::Checked);
    EXPECT_EQ(checked(1), Qt::Unchecked);
    list("LV_QosRulesUser")->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    click("Btn_Apply");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "All traffic will be treated as priority of 'Best Effort'\nbecause of priority "
                                "classifier specified and empty rule table.");
    waitIdle();
    EXPECT_EQ(number(cell(2, 2)), 0);
    EXPECT_EQ(number(cell(2, 5)), 0);
    EXPECT_EQ(setsOf(cell(2, 1)), 0);
    EXPECT_EQ(number(kQosStatus), 1);

    boxes.clear();
    find<QCheckBox>("CheckBox_Http")->setChecked(true);
    list("LV_QosRulesUser")->topLevelItem(1)->setCheckState(0, Qt::Checked);
    click("Btn_Apply");
    EXPECT_EQ(boxes.count(), 0);
    waitIdle();
    EXPECT_EQ(number(cell(2, 5)), 1);
    EXPECT_EQ(number(kHttp), 1);
    EXPECT_EQ(checked(1), Qt::Checked);
}

TEST_F(QosPage, ARuleStateListThatCannotBeReadStopsSaveWithAnError)
{
    QTemporaryDir dir;
    const std::string mute = dir.filePath("mute").toStdString();
    ASSERT_NO_FATAL_FAILURE(startDevice({"--mute-file", mute}));
    enableQos();
    ASSERT_TRUE(client->setBytes(cell(3, 1), "a").ok());
    openAndWait();
    VrSetTimeScale(0.001);
    QFile(QString::fromStdString(mute)).open(QIODevice::WriteOnly);
    click("Btn_Apply");
    VrSetTimeScale(1.0);
    EXPECT_TRUE(result("StatusBar1").startsWith("Rule states not read")) << result("StatusBar1").toStdString();
    EXPECT_EQ(setsOf(kQosStatus), 1); // the seeding set only
}

TEST_F(QosPage, EditingAndDeletingARule)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    enableQos();
    seedRule(1, "a");
    seedRule(2, "b");
    openAndWait();
    clickRow("LV_QosRulesUser", 1);
    EXPECT_EQ(edit("Ed_QosName")->text(), "b");
    EXPECT_EQ(edit("Ed_IpFrom2")->text(), ""); // 0.0.0.0 shown empty
    type("Ed_IpTo1", "192.168.0.30");
    click("Btn_Apply");
    waitIdle();
    EXPECT_EQ(address(cell(8, 2)), "192.168.0.30");
    EXPECT_EQ(number(cell(9, 2)), 29);
    EXPECT_EQ(text(cell(3, 1)), "a");

    clickRow("LV_QosRulesUser", 0);
    boxes.setAnswer(QMessageBox::Cancel);
    click("Btn_Del");
    EXPECT_EQ(boxes.lastText(), "Are you sure you want to delete a?");
    EXPECT_EQ(text(cell(3, 1)), "a");
    boxes.setAnswer(QMessageBox::Ok);
    click("Btn_Del");
    waitIdle();
    EXPECT_EQ(text(cell(3, 1)), "");
    EXPECT_EQ(column("LV_QosRulesUser", 0), QStringList{"b"});
}

// The selected rule must stay readable: its text drawn in a colour that
// stands out from the row's background, as the user sees it on screen.
TEST_F(QosPage, TheSelectedRuleIsDrawnReadably)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    enableQos();
    seedRule(1, "voip");
    openAndWait();
    clickRow("LV_QosRulesUser", 0);
    QTreeWidget *view = list("LV_QosRulesUser");
    QTreeWidgetItem *rule = view->topLevelItem(0);
    ASSERT_TRUE(rule->isSelected());
    const QImage shot = view->viewport()->grab().toImage();
    const QRect row = view->visualItemRect(rule);
    const int left = view->header()->sectionViewportPosition(2);
    const QRect cell(left + 3, row.top() + 2, view->header()->sectionSize(2) - 6, row.height() - 4);
    const int background = shot.pixelColor(cell.topLeft()).lightness();
    int inked = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            inked += std::abs(shot.pixelColor(x, y).lightness() - background) > 80;
    EXPECT_GT(inked, 20) << rule->text(2).toStdString();
}

TEST_F(QosPage, AWirelessClientCannotSwitchQos)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(P + "2.1.3.2.1.1.18.1", 4).ok());
    openAndWait();
    EXPECT_FALSE(combo("CB_EnableQos")->isEnabled());
    EXPECT_FALSE(edit("Ed_QosName")->isEnabled());
}

} // namespace
