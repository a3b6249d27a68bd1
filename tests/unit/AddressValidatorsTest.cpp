#include "AddressValidators.h"

#include <gtest/gtest.h>

TEST(IsValidIPAddress, AcceptsHostAddressesOfEveryClassUpToC)
{
    for (const char *text : {"192.168.0.50", "1.0.0.1", "223.255.255.254", "10.0.0.1", "172.16.5.4"})
        EXPECT_TRUE(IsValidIPAddress(QString::fromLatin1(text))) << text;
}

TEST(IsValidIPAddress, RefusesReservedRangesAndNetworkOrBroadcastHosts)
{
    for (const char *text : {"0.1.2.3", "224.0.0.1", "255.1.1.1", "10.0.0.0", "10.0.0.255", "10.256.0.1",
                             "10.0.300.1"})
        EXPECT_FALSE(IsValidIPAddress(QString::fromLatin1(text))) << text;
}

TEST(IsValidIPAddress, RefusesMalformedText)
{
    for (const char *text : {"", "10.0.0", ".1.2.3", "1.2.3.", "1.", "1..2.3", "1.2.3.4.5", "a.b.c.d", "1.2.3.x",
                             " 1.2.3.4", "1.2.3.4 ", "-1.2.3.4", "10.0.0.0001", "1.2.3.99999999999"})
        EXPECT_FALSE(IsValidIPAddress(QString::fromLatin1(text))) << '"' << text << '"';
}

TEST(IsValidSubnetMask, AcceptsContiguousMasksFromSlash2ToSlash31)
{
    for (const char *text : {"255.255.255.0", "255.255.255.252", "255.255.255.254", "192.0.0.0", "255.0.0.0",
                             "255.255.128.0", "255.255.0.0"})
        EXPECT_TRUE(IsValidSubnetMask(QString::fromLatin1(text))) << text;
}

TEST(IsValidSubnetMask, RefusesHolesTooShortOrFullMasks)
{
    for (const char *text : {"255.0.255.0", "255.127.0.0", "128.0.0.0", "255.255.255.255", "0.0.0.0",
                             "255.255.0.1", "255.255.254.128"})
        EXPECT_FALSE(IsValidSubnetMask(QString::fromLatin1(text))) << text;
}

TEST(IsValidSubnetMask, RefusesMalformedText)
{
    for (const char *text : {"", "255.255.255", ".255.255.0", "255.", "255.255.255.", "255.255.255.0.0",
                             "255.255.x.0", "255.256.0.0"})
        EXPECT_FALSE(IsValidSubnetMask(QString::fromLatin1(text))) << '"' << text << '"';
}
