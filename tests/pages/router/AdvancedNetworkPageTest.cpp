// Advanced > Router Settings > Advanced Network against the simulated access point.
#include "RouterPageFixture.h"
#include "TFM_Adnetwork.h"

namespace {

using namespace routertest;
const std::string kUpnp = P + "3.3.7.1.0";
const std::string kWanPing = P + "3.3.8.1.0";

class AdvancedNetworkPage : public RouterPageTest<TFM_Adnetwork>
{
protected:
    QCheckBox *check(const char *name) { return find<QCheckBox>(name); }
};

TEST_F(AdvancedNetworkPage, ShowsAndWritesBothSwitches)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kUpnp, 1).ok());
    openPage();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ Advanced Network");
    EXPECT_TRUE(check("CBH_EnalbeUPnP")->isChecked());
    EXPECT_FALSE(check("CHB_EnableWLANPingRes")->isChecked());
    expectFits();
    check("CBH_EnalbeUPnP")->click();
    check("CHB_EnableWLANPingRes")->click();
    click("Bt_Save");
    EXPECT_EQ(result(), "Set OK!");
    EXPECT_EQ(number(kUpnp), 0);
    EXPECT_EQ(number(kWanPing), 1);
}

TEST_F(AdvancedNetworkPage, ARefusedWriteIsReported)
{
    std::string why;
    ASSERT_TRUE(device.start({"--reboot-seconds", "0", "--fail", kWanPing + "=5"}, &why)) << why;
    g_SNMPDevice.address = QStringLiteral("127.0.0.1");
    g_SNMPDevice.port = uint16_t(device.port());
    g_SNMPSecurity.version = VrSNMPv2c;
    client = std::make_unique<qrt::test::SnmpTestClient>(
        qrt::test::SnmpTestClient::community(device.address(), "granite", 1));
    openPage();
    check("CBH_EnalbeUPnP")->click();
    click("Bt_Save");
    EXPECT_EQ(result(), "Set Error!");
    EXPECT_EQ(number(kUpnp), 1); // the other switch is still written
}

} // namespace
