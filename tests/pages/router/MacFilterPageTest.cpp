// Advanced > Router Settings > MAC Filter against the simulated access point.
#include "RouterPageFixture.h"
#include "TFM_RouterMACFilter.h"

namespace {

using namespace routertest;
const std::string kStatus = P + "3.2.2.1.1.1.1";
const std::string kMac = P + "3.2.2.2.1.2.";

class MacFilterPage : public RouterPageTest<TFM_RouterMACFilter>
{
protected:
    void addMac(const QString &mac)
    {
        type("Edt_MACAddress", mac);
        click("Bt_Add");
    }
    std::string macAt(int row)
    {
        std::string hex;
        for (const char c : text(kMac + std::to_string(row))) {
            static const char digits[] = "0123456789ABCDEF";
            hex += digits[uint8_t(c) >> 4];
            hex += digits[uint8_t(c) & 15];
        }
        return hex;
    }
};

TEST_F(MacFilterPage, OpensDisabledAndFitsTheScreen)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ MAC Filter");
    EXPECT_EQ(result(), "Get OK!");
    EXPECT_EQ(combo("CB_Telnet")->currentText(), "Disable");
    EXPECT_FALSE(edit("Edt_MACAddress")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("Bt_Add")->isEnabled());
    EXPECT_EQ(edit("Edt_MACAddress")->maxLength(), 12);
    expectFits();
}

TEST_F(MacFilterPage, AddedAddressesAreListedAndDeletedThroughTheDevice)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_Telnet", "Reject");
    EXPECT_TRUE(edit("Edt_MACAddress")->isEnabled());
    addMac("0011AABBCCDD");
    addMac("0011aabbccee");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(change(), "Set Success");
    EXPECT_EQ(macAt(1), "0011AABBCCDD");
    EXPECT_EQ(macAt(2), "0011AABBCCEE");
    EXPECT_EQ(column("LV_UserMACFilter", 1), (QStringList{"0011AABBCCDD", "0011AABBCCEE"}));
    EXPECT_EQ(column("LV_UserMACFilter", 0), (QStringList{"1", "2"}));
    EXPECT_TRUE(edit("Edt_MACAddress")->text().isEmpty());

    pick("LV_UserMACFilter", 0);
    EXPECT_EQ(edit("Edt_MACAddress")->text(), "0011AABBCCDD");
    click("Bt_Del");
    EXPECT_EQ(macAt(1), "000000000000");
    EXPECT_EQ(column("LV_UserMACFilter", 1), QStringList{"0011AABBCCEE"});

    click("Bt_Save");
    EXPECT_EQ(result(), "Set Ok!");
    EXPECT_EQ(number(kStatus), 2);
}

TEST_F(MacFilterPage, RefusedAddressesAreNotSent)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_Telnet", "Accept");
    addMac("0011AABBCCDD");
    struct Case {
        const char *mac, *message, *caption;
    } cases[] = {
        {"0011AABBCCD", "The length is 12 in MAC Address.", "Error"},
        {"000000000000", "Please input a valid MAC Address.", "Warning"},
        {"0011aabbccdd", "Reject: The MAC already exists ", "Warning"},
    };
    for (const Case &c : cases) {
        boxes.clear();
        addMac(QString::fromLatin1(c.mac));
        ASSERT_EQ(boxes.count(), 1) << c.mac;
        EXPECT_EQ(boxes.lastText(), QString::fromLatin1(c.message));
        EXPECT_EQ(boxes.calls().last().caption, QString::fromLatin1(c.caption));
    }
    EXPECT_EQ(setsOf(P + "3.2.2.1.1.2.1"), 1);
    EXPECT_EQ(macAt(2), "000000000000");
}

TEST_F(MacFilterPage, TheTwentySixthAddressIsRefused)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    for (int row = 1; row <= 25; ++row)
        ASSERT_TRUE(client->setBytes(P + "3.2.2.1.1.2.1", qrt::test::macBytes("0011223344" + std::string(row < 10 ? "0" : "") + std::to_string(row))).ok());
    ASSERT_TRUE(client->setInt(kStatus, 1).ok());
    openPage();
    ASSERT_EQ(list("LV_UserMACFilter")->topLevelItemCount(), 25);
    addMac("0011AABBCCDD");
    EXPECT_EQ(boxes.lastText(), "Maximum Numbers of MAC Access Control Filter List is 25!");
    EXPECT_TRUE(edit("Edt_MACAddress")->text().isEmpty());
    // The device itself has no room either.
    EXPECT_EQ(client->setBytes(P + "3.2.2.1.1.2.1", qrt::test::macBytes("0011AABBCCDD")).status, 13);
}

} // namespace
