// Advanced > Router Settings > Firewall & DMZ against the simulated access point.
#include "RouterPageFixture.h"
#include "TFM_FirewallDMZ.h"

namespace {

using namespace routertest;
const std::string kDmzStatus = P + "3.1.2.1.0";
const std::string kDmzIp = P + "3.1.2.2.0";
const std::string kSpi = P + "3.2.3.1.1.0";
const std::string kRule = P + "3.2.3.1.3.1."; // column.row

class FirewallPage : public RouterPageTest<TFM_FirewallDMZ>
{
protected:
    std::string cell(int column, int row) { return kRule + std::to_string(column) + "." + std::to_string(row); }
    void fillRule(const QString &name, const QString &source, const QString &sourceStart, const QString &sourceEnd,
                  const QString &dest, const QString &destStart, const QString &destEnd)
    {
        type("Edt_Name", name);
        choose("CB_SourInterface", source);
        type("Edt_SourceIPStart", sourceStart);
        type("Edt_SourceIPEnd", sourceEnd);
        choose("CB_DestInterface", dest);
        type("Edt_DestIPStart", destStart);
        type("Edt_DestIPEnd", destEnd);
    }
    QCheckBox *check(const char *name) { return find<QCheckBox>(name); }
};

TEST_F(FirewallPage, OpensWithFirstEntriesAndFitsTheScreen)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ Firewall&DMZ");
    EXPECT_EQ(result(), "Get OK!");
    EXPECT_EQ(combo("CB_SourInterface")->currentText(), "Source");
    EXPECT_EQ(combo("CB_DestInterface")->currentText(), "Dest");
    EXPECT_EQ(combo("CB_Protocol")->currentText(), "ALL");
    EXPECT_FALSE(edit("Edt_PortRangeStart")->isEnabled());
    EXPECT_FALSE(check("CBH_EableDMZ")->isChecked());
    EXPECT_FALSE(edit("Edt_DMZIPAddr")->isEnabled());
    EXPECT_TRUE(edit("Edt_DMZIPAddr")->text().isEmpty()); // 0.0.0.0 is shown empty
    expectFits();
}

TEST_F(FirewallPage, RuleIsWrittenAndListedWithItsRanges)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    fillRule("block", "LAN", "192.168.1.10", "192.168.1.20", "WAN", "10.0.0.1", "10.0.0.9");
    choose("CB_Protocol", "TCP");
    EXPECT_TRUE(edit("Edt_PortRangeStart")->isEnabled());
    type("Edt_PortRangeStart", "80");
    type("Edt_PortRangeEnd", "88");
    choose("CB_Action", "Deny");
    click("Bt_Add");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(change(), "Set Success!");
    EXPECT_EQ(text(cell(2, 1)), "block");
    EXPECT_EQ(number(cell(3, 1)), 1);
    EXPECT_EQ(address(cell(5, 1)), "192.168.1.20");
    EXPECT_EQ(number(cell(6, 1)), 2);
    EXPECT_EQ(number(cell(7, 1)), 0);
    EXPECT_EQ(number(cell(8, 1)), 2);
    EXPECT_EQ(number(cell(11, 1)), 80);
    EXPECT_EQ(number(cell(12, 1)), 88);
    ASSERT_EQ(list("LV_UserFireRules")->topLevelItemCount(), 1);
    const QTreeWidgetItem *line = list("LV_UserFireRules")->topLevelItem(0);
    const QStringList expected{"block", "LAN", "192.168.1.10~192.168.1.20", "TCP", "Deny", "WAN",
                               "10.0.0.1~10.0.0.9", "80~88"};
    for (int c = 0; c < expected.size(); ++c)
        EXPECT_EQ(line->text(c), expected[c]) << c;

    // A rule without ports carries none and lists none.
    fillRule("ping", "WAN", "10.0.0.1", "10.0.0.1", "LAN", "192.168.1.2", "192.168.1.2");
    choose("CB_Protocol", "ICMP");
    click("Bt_Add");
    EXPECT_EQ(number(cell(11, 2)), 0);
    ASSERT_EQ(list("LV_UserFireRules")->topLevelItemCount(), 2);
    EXPECT_EQ(list("LV_UserFireRules")->topLevelItem(1)->text(7), "");
}

// A range from port 0 is taken; the list shows what the device now holds.
TEST_F(FirewallPage, ARangeFromPortZeroIsListedAsWritten)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    fillRule("low", "LAN", "192.168.1.10", "192.168.1.20", "WAN", "10.0.0.1", "10.0.0.9");
    choose("CB_Protocol", "TCP");
    type("Edt_PortRangeStart", "0");
    type("Edt_PortRangeEnd", "80");
    click("Bt_Add");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(number(cell(11, 1)), 0);
    EXPECT_EQ(number(cell(12, 1)), 80);
    ASSERT_EQ(list("LV_UserFireRules")->topLevelItemCount(), 1);
    EXPECT_EQ(list("LV_UserFireRules")->topLevelItem(0)->text(7), "0~80");
}

// Picking another rule after Edit ends the edit: the add that follows must
// not put the picked rule over the one Edit was pressed for.
TEST_F(FirewallPage, PickingAnotherRuleAfterEditLeavesTheEditedRuleAlone)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    for (const char *name : {"one", "two"}) {
        fillRule(name, "LAN", "192.168.1.10", "192.168.1.20", "WAN", "10.0.0.1", "10.0.0.9");
        click("Bt_Add");
    }
    ASSERT_EQ(column("LV_UserFireRules", 0), (QStringList{"one", "two"}));
    pick("LV_UserFireRules", 0);
    click("Bt_Edit");
    pick("LV_UserFireRules", 1);
    EXPECT_EQ(edit("Edt_Name")->text(), "two");
    type("Edt_Name", "three");
    click("Bt_Add");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(text(cell(2, 1)), "one");
    EXPECT_EQ(text(cell(2, 2)), "two");
    EXPECT_EQ(text(cell(2, 3)), "three");
    EXPECT_EQ(column("LV_UserFireRules", 0), (QStringList{"one", "two", "three"}));
}

TEST_F(FirewallPage, SameInterfaceIsRefusedBeforeTheDestinationIsChecked)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    fillRule("x", "LAN", "192.168.1.10", "192.168.1.20", "LAN", "junk", "");
    click("Bt_Add");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "The Source Interface and Destination Interface can not be same!");
    EXPECT_EQ(boxes.calls().last().caption, "Waring");
    EXPECT_EQ(edit("Edt_DestIPStart")->text(), "junk");
    EXPECT_EQ(setsOf(cell(2, 1)), 0);
}

TEST_F(FirewallPage, BadPortsAndRangesWriteNothing)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    struct Case {
        const char *sourceEnd, *portStart, *portEnd, *message;
    } cases[] = {
        {"192.168.1.5", "80", "80", "Invalid Soure IP address range!"},
        {"192.168.1.20", "65536", "80", "Invaild Port"},
        {"192.168.1.20", "90", "80", "Invaild Port"},
    };
    for (const Case &c : cases) {
        boxes.clear();
        fillRule("x", "LAN", "192.168.1.10", QString::fromLatin1(c.sourceEnd), "WAN", "10.0.0.1", "10.0.0.9");
        choose("CB_Protocol", "UDP");
        type("Edt_PortRangeStart", QString::fromLatin1(c.portStart));
        type("Edt_PortRangeEnd", QString::fromLatin1(c.portEnd));
        click("Bt_Add");
        EXPECT_EQ(boxes.lastText(), QString::fromLatin1(c.message)) << c.sourceEnd << " " << c.portStart;
    }
    EXPECT_EQ(setsOf(cell(2, 1)), 0);
    EXPECT_EQ(setsOf(kSpi), 0);
}

TEST_F(FirewallPage, DisabledDmzWritesOnlyItsStatus)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kDmzStatus, 1).ok());
    ASSERT_TRUE(client->setIp(kDmzIp, "192.168.1.30").ok());
    openPage();
    EXPECT_TRUE(check("CBH_EableDMZ")->isChecked());
    EXPECT_EQ(edit("Edt_DMZIPAddr")->text(), "192.168.1.30");
    check("CBH_EableDMZ")->click();
    EXPECT_FALSE(edit("Edt_DMZIPAddr")->isEnabled());
    type("Edt_DMZIPAddr", "192.168.1.40"); // typed before it was switched off
    check("CB_EnableSPI")->click();
    click("Bt_Save");
    EXPECT_EQ(result(), "Setting Success!");
    EXPECT_EQ(number(kDmzStatus), 0);
    EXPECT_EQ(address(kDmzIp), "192.168.1.30");
    EXPECT_EQ(setsOf(kDmzIp), 1); // the one this test made
    EXPECT_EQ(number(kSpi), 1);
}

TEST_F(FirewallPage, EnabledDmzNeedsAValidAddress)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    check("CBH_EableDMZ")->click();
    click("Bt_Save");
    EXPECT_EQ(boxes.lastText(), "Please input valid IP address");
    type("Edt_DMZIPAddr", "192.168.1.255");
    click("Bt_Save");
    EXPECT_EQ(boxes.calls().last().caption, "Waring");
    EXPECT_TRUE(edit("Edt_DMZIPAddr")->text().isEmpty());
    EXPECT_EQ(setsOf(kDmzStatus), 0);
    type("Edt_DMZIPAddr", "192.168.1.50");
    click("Bt_Save");
    EXPECT_EQ(result(), "Setting Success!");
    EXPECT_EQ(number(kDmzStatus), 1);
    EXPECT_EQ(address(kDmzIp), "192.168.1.50");
}

TEST_F(FirewallPage, DeleteFreesTheRule)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    fillRule("one", "LAN", "192.168.1.10", "192.168.1.20", "WAN", "10.0.0.1", "10.0.0.9");
    click("Bt_Add");
    ASSERT_EQ(list("LV_UserFireRules")->topLevelItemCount(), 1);
    pick("LV_UserFireRules", 0);
    EXPECT_EQ(edit("Edt_Name")->text(), "one");
    click("Bt_Del");
    EXPECT_EQ(change(), "Delete Ok!");
    EXPECT_EQ(address(cell(5, 1)), "0.0.0.0");
    EXPECT_EQ(list("LV_UserFireRules")->topLevelItemCount(), 0);
}

} // namespace
