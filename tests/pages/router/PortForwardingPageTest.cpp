// Advanced > Router Settings > Advance Port Forwarding against the simulated access point.
#include "RouterPageFixture.h"
#include "TFM_AdPortfwding.h"

namespace {

using namespace routertest;
const std::string kRule = P + "3.1.1.2.1."; // column.row

class PortForwardingPage : public RouterPageTest<TFM_AdPortfwding>
{
protected:
    void fillRule(const QString &name, const QString &ip, const QString &publicStart, const QString &publicEnd,
                  const QString &privateStart)
    {
        type("Edt_Name", name);
        type("Edt_IPAddr", ip);
        type("Edt_PubPortRangeStart", publicStart);
        type("Edt_PubPortRangeEnd", publicEnd);
        type("Edt_PriPortRangeStart", privateStart);
    }
    std::string cell(int column, int row) { return kRule + std::to_string(column) + "." + std::to_string(row); }
    // Rules the device holds before the page opens.
    void putRule(int row, const std::string &name)
    {
        ASSERT_TRUE(client->setBytes(cell(2, row), name).ok());
        ASSERT_TRUE(client->setIp(cell(3, row), "192.168.1." + std::to_string(10 + row)).ok());
        for (int column = 4; column <= 7; ++column)
            ASSERT_TRUE(client->setInt(cell(column, row), 1000 + row).ok());
    }
};

TEST_F(PortForwardingPage, OpensEmptyWithTrafficAnyAndFitsTheScreen)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ Advance Port Forwarding");
    EXPECT_EQ(result(), "Get OK!");
    EXPECT_EQ(list("LV_UserPortFwdRule")->topLevelItemCount(), 0);
    EXPECT_EQ(combo("CB_TraType")->currentText(), "ANY");
    EXPECT_FALSE(edit("Edt_PriPortRangeEnd")->isEnabled());
    EXPECT_EQ(edit("Edt_Name")->maxLength(), 31);
    expectFits();
}

TEST_F(PortForwardingPage, PrivateEndFollowsThePublicRange)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    type("Edt_PubPortRangeStart", "8080");
    EXPECT_EQ(edit("Edt_PubPortRangeEnd")->text(), "8080");
    EXPECT_EQ(edit("Edt_PriPortRangeStart")->text(), "8080");
    EXPECT_EQ(edit("Edt_PriPortRangeEnd")->text(), "8080");
    type("Edt_PubPortRangeEnd", "8090");
    type("Edt_PriPortRangeStart", "80");
    EXPECT_EQ(edit("Edt_PriPortRangeEnd")->text(), "90");
}

TEST_F(PortForwardingPage, AddedRuleIsWrittenToTheFirstFreeRowAndListed)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_NO_FATAL_FAILURE(putRule(1, "ssh"));
    openPage();
    ASSERT_EQ(column("LV_UserPortFwdRule", 0), QStringList{"ssh"});
    fillRule("web", "192.168.1.20", "8080", "8090", "80");
    choose("CB_TraType", "TCP");
    click("Bt_Add");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(text(cell(2, 2)), "web");
    EXPECT_EQ(address(cell(3, 2)), "192.168.1.20");
    EXPECT_EQ(number(cell(4, 2)), 8080);
    EXPECT_EQ(number(cell(5, 2)), 8090);
    EXPECT_EQ(number(cell(6, 2)), 80);
    EXPECT_EQ(number(cell(7, 2)), 90);
    EXPECT_EQ(number(cell(8, 2)), 1);
    EXPECT_EQ(text(cell(2, 1)), "ssh"); // the existing rule is kept
    EXPECT_EQ(change(), "Set OK!");
    EXPECT_EQ(result(), "Get OK!");
    ASSERT_EQ(list("LV_UserPortFwdRule")->topLevelItemCount(), 2);
    const QTreeWidgetItem *line = list("LV_UserPortFwdRule")->topLevelItem(1);
    EXPECT_EQ(line->text(0), "web");
    EXPECT_EQ(line->text(2), "8080~8090");
    EXPECT_EQ(line->text(3), "80~90");
    EXPECT_EQ(line->text(4), "TCP");
    EXPECT_TRUE(edit("Edt_Name")->text().isEmpty());
}

// A rule that was clicked in the list is not overwritten by the next add.
TEST_F(PortForwardingPage, AddAfterPickingARuleStillTakesAFreeRow)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_NO_FATAL_FAILURE(putRule(1, "ssh"));
    openPage();
    pick("LV_UserPortFwdRule", 0);
    EXPECT_EQ(edit("Edt_Name")->text(), "ssh");
    fillRule("mail", "192.168.1.30", "25", "25", "25");
    click("Bt_Add");
    EXPECT_EQ(text(cell(2, 1)), "ssh");
    EXPECT_EQ(text(cell(2, 2)), "mail");
}

TEST_F(PortForwardingPage, EditWritesTheRuleBackToItsRow)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_NO_FATAL_FAILURE(putRule(1, "ssh"));
    ASSERT_NO_FATAL_FAILURE(putRule(2, "ftp"));
    openPage();
    pick("LV_UserPortFwdRule", 1);
    click("Bt_Edit");
    type("Edt_Name", "ftps");
    type("Edt_PubPortRangeStart", "990");
    click("Bt_Add");
    EXPECT_EQ(text(cell(2, 2)), "ftps");
    EXPECT_EQ(number(cell(4, 2)), 990);
    EXPECT_EQ(address(cell(3, 3)), "0.0.0.0");
    EXPECT_EQ(column("LV_UserPortFwdRule", 0), (QStringList{"ssh", "ftps"}));
}

// Picking another rule after Edit ends the edit: the add that follows must
// not put the picked rule over the one Edit was pressed for.
TEST_F(PortForwardingPage, PickingAnotherRuleAfterEditLeavesTheEditedRuleAlone)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_NO_FATAL_FAILURE(putRule(1, "ssh"));
    ASSERT_NO_FATAL_FAILURE(putRule(2, "ftp"));
    openPage();
    pick("LV_UserPortFwdRule", 0);
    click("Bt_Edit");
    pick("LV_UserPortFwdRule", 1);
    EXPECT_EQ(edit("Edt_Name")->text(), "ftp");
    type("Edt_Name", "ftp2");
    click("Bt_Add");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(text(cell(2, 1)), "ssh");
    EXPECT_EQ(address(cell(3, 1)), "192.168.1.11");
    EXPECT_EQ(text(cell(2, 2)), "ftp");
    EXPECT_EQ(text(cell(2, 3)), "ftp2");
    EXPECT_EQ(column("LV_UserPortFwdRule", 0), (QStringList{"ssh", "ftp", "ftp2"}));
}

TEST_F(PortForwardingPage, RefusedInputWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    struct Case {
        const char *ip, *publicStart, *publicEnd, *privateStart, *message;
    } cases[] = {
        {"10.0.0.5", "80", "80", "80", "The IP address and Router address should be the same network! "},
        {"192.168.1.20", "0", "80", "80", "Invaild port value!"},
        {"192.168.1.20", "80", "65536", "80", "Invaild port value!"},
        {"192.168.1.20", "90", "80", "80", "The end port should be equle and geater than the start port!"},
    };
    for (const Case &c : cases) {
        boxes.clear();
        fillRule("web", c.ip, c.publicStart, c.publicEnd, c.privateStart);
        click("Bt_Add");
        EXPECT_EQ(boxes.lastText(), QString::fromLatin1(c.message)) << c.ip << " " << c.publicStart;
    }
    EXPECT_EQ(setsOf(cell(2, 1)), 0);
    EXPECT_EQ(address(cell(3, 1)), "0.0.0.0");
}

TEST_F(PortForwardingPage, TheTwentySixthRuleIsRefused)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    for (int row = 1; row <= 25; ++row)
        ASSERT_NO_FATAL_FAILURE(putRule(row, "r" + std::to_string(row)));
    openPage();
    ASSERT_EQ(list("LV_UserPortFwdRule")->topLevelItemCount(), 25);
    fillRule("one more", "192.168.1.99", "80", "80", "80");
    click("Bt_Add");
    EXPECT_EQ(boxes.lastText(), "Maximum Numbers of Port Forwarding Rule is 25!");
    EXPECT_EQ(boxes.calls().last().caption, "Waring");
    // Editing a rule of a full table is still possible.
    pick("LV_UserPortFwdRule", 24);
    click("Bt_Edit");
    type("Edt_Name", "last");
    boxes.clear();
    click("Bt_Add");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(text(cell(2, 25)), "last");
}

TEST_F(PortForwardingPage, DeleteFreesTheRuleRow)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_NO_FATAL_FAILURE(putRule(1, "ssh"));
    ASSERT_NO_FATAL_FAILURE(putRule(2, "ftp"));
    openPage();
    pick("LV_UserPortFwdRule", 0);
    click("Bt_Del");
    EXPECT_EQ(change(), "Delete Ok!");
    EXPECT_EQ(address(cell(3, 1)), "0.0.0.0");
    EXPECT_EQ(text(cell(2, 2)), "ftp");
    EXPECT_EQ(column("LV_UserPortFwdRule", 0), QStringList{"ftp"});
}

} // namespace
