#include "VrTFTPLocalAddress.h"

#include <gtest/gtest.h>

namespace {

VrTFTPInterfaceAddress iface(const char *address, const char *mask)
{
    return {QHostAddress(QString::fromLatin1(address)), QHostAddress(QString::fromLatin1(mask))};
}

TEST(SelectLocalAddress, PicksFirstInterfaceOnTheDevicesNetwork)
{
    const QList<VrTFTPInterfaceAddress> list = {
        iface("127.0.0.1", "255.0.0.0"),
        iface("10.1.2.3", "255.255.0.0"),
        iface("192.168.0.10", "255.255.255.0"),
        iface("192.168.0.11", "255.255.255.0"),
    };
    const QHostAddress mask24("255.255.255.0");
    EXPECT_EQ(VrTFTPMatchInterface(list, QHostAddress("192.168.0.50"), mask24),
              QStringLiteral("192.168.0.10"));
    // The device's network is taken with its own mask, each interface's with its own.
    EXPECT_EQ(VrTFTPMatchInterface(list, QHostAddress("10.1.0.9"), QHostAddress("255.255.0.0")),
              QStringLiteral("10.1.2.3"));
    EXPECT_EQ(VrTFTPMatchInterface(list, QHostAddress("10.2.0.9"), mask24), QString());
    EXPECT_EQ(VrTFTPMatchInterface({}, QHostAddress("10.1.0.9"), mask24), QString());
}

TEST(SelectLocalAddress, UsesLoopbackInterfaceOrRouteAndRejectsBadInput)
{
    QString local;
    ASSERT_TRUE(SelectLocalAddress("127.0.0.9", "255.0.0.0", &local));
    EXPECT_EQ(local, QStringLiteral("127.0.0.1"));
    // No interface has this network, but the route toward it starts at loopback.
    ASSERT_TRUE(SelectLocalAddress("127.0.0.9", "255.255.255.255", &local));
    EXPECT_TRUE(local.startsWith(u"127."));

    EXPECT_FALSE(SelectLocalAddress("300.1.1.1", "255.0.0.0", &local));
    EXPECT_TRUE(local.isEmpty());
    EXPECT_FALSE(SelectLocalAddress("10.0.0.1", "mask", &local));
    EXPECT_FALSE(SelectLocalAddress("::1", "255.0.0.0", &local));
    EXPECT_LE(VrTFTPLocalInterfaces().size(), VrTFTPMaxInterfaces);
}

} // namespace
