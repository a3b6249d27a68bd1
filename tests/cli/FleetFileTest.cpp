// The devices file of a fleet run: defaults, ports, comments, and mistakes
// reported by line without echoing what may be a community.
#include "FleetFile.h"

#include <gtest/gtest.h>

TEST(FleetFile, ReadsDevicesWithDefaultsPortsAndComments)
{
    const auto devices = ParseFleet(QStringLiteral("# site A\n"
                                                   "* read=pub write=priv\n"
                                                   "10.0.0.1\n"
                                                   "10.0.0.2:1161 write=other   # own write community\n"
                                                   "\n"
                                                   "* read=r2 write=w2\n"
                                                   "10.0.0.3 cfg=/etc/ap3.cfg\n"),
                                    QString());
    ASSERT_EQ(devices.size(), 3);
    EXPECT_EQ(devices[0].address, "10.0.0.1");
    EXPECT_EQ(devices[0].port, 0);
    EXPECT_EQ(devices[0].readCommunity, "pub");
    EXPECT_EQ(devices[0].writeCommunity, "priv");
    EXPECT_EQ(devices[1].port, 1161);
    EXPECT_EQ(devices[1].readCommunity, "pub");
    EXPECT_EQ(devices[1].writeCommunity, "other");
    EXPECT_EQ(devices[2].readCommunity, "r2");
    EXPECT_EQ(devices[2].cfgFile, "/etc/ap3.cfg");
    EXPECT_EQ(devices[2].line, 7);
}

TEST(FleetFile, RefusesMistakesByLine)
{
    struct Case {
        const char *text;
        const char *message;
    } cases[] = {
        {"10.0.0.1:99999\n", "f:1: bad port in 10.0.0.1:99999"},
        {"10.0.0.1\n10.0.0.2 s3cret\n", "f:2: field 2 is not read=, write= or cfg="},
        {"* cfg=x.cfg\n", "f:1: field 2 is not read=, write= or cfg="},
    };
    for (const Case &c : cases) {
        try {
            ParseFleet(QString::fromLatin1(c.text), QStringLiteral("f"));
            ADD_FAILURE() << c.text;
        } catch (const std::runtime_error &e) {
            EXPECT_STREQ(e.what(), c.message);
            EXPECT_EQ(std::string(e.what()).find("s3cret"), std::string::npos);
        }
    }
}
