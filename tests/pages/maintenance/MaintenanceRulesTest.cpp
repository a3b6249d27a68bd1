#include "MaintenanceRules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MaintenanceRules, PathsSplitAtTheLastSlashOfEitherKind)
{
    struct Case {
        const char *path;
        bool split;
        const char *folder;
        const char *name;
    };
    const Case cases[] = {
        {"C:\\fw\\image.bin", true, "C:\\fw", "image.bin"},
        {"/home/me/fw/image.bin", true, "/home/me/fw", "image.bin"},
        {"C:/mixed\\dir/a.dcf", true, "C:/mixed\\dir", "a.dcf"},
        {"/top.dcf", true, "/", "top.dcf"},
        {"image.bin", false, "", ""},
        {"", false, "", ""},
    };
    for (const Case &c : cases) {
        const auto got = SplitLocalPath(QString::fromUtf8(c.path));
        ASSERT_EQ(got.has_value(), c.split) << c.path;
        if (got) {
            EXPECT_EQ(got->folder, QString::fromUtf8(c.folder)) << c.path;
            EXPECT_EQ(got->name, QString::fromUtf8(c.name)) << c.path;
        }
    }
}

TEST(MaintenanceRules, FileKindsFollowTheirLetterCaseRules)
{
    EXPECT_TRUE(LooksLikeFirmware("/a/fw.bin"));
    EXPECT_TRUE(LooksLikeFirmware("/a/fw.tfp"));
    EXPECT_FALSE(LooksLikeFirmware("/a/FW.BIN"));
    EXPECT_FALSE(LooksLikeFirmware("/a/fw.TFP"));
    EXPECT_TRUE(LooksLikeCertificate("/a/c.pem"));
    EXPECT_TRUE(LooksLikeCertificate("/a/c.der"));
    EXPECT_FALSE(LooksLikeCertificate("/a/c.PEM"));
    EXPECT_TRUE(LooksLikeConfiguration("/a/c.DcF"));
    EXPECT_TRUE(LooksLikeConfiguration("/a.dcf.d/c.txt")); // a folder name counts
    EXPECT_FALSE(LooksLikeConfiguration("/a/c.txt"));

    EXPECT_EQ(BackupFileName("ap"), "ap.dcf");
    EXPECT_EQ(BackupFileName("ap.DCF"), "ap.DCF");
    EXPECT_EQ(BackupFileName("ap.dcf.old"), "ap.dcf.old");
}

TEST(MaintenanceRules, FilesTheDeviceCouldNotUseAreNamed)
{
    QTemporaryDir dir;
    const QString empty = dir.path() + "/empty.bin", full = dir.path() + "/full.bin";
    QFile(empty).open(QIODevice::WriteOnly);
    QFile f(full);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    EXPECT_TRUE(UnreadableFileReason(full).isEmpty());
    EXPECT_TRUE(UnreadableFileReason(empty).contains("empty"));
    EXPECT_TRUE(UnreadableFileReason(dir.path()).contains("folder"));
    EXPECT_TRUE(UnreadableFileReason(dir.path() + "/none.bin").contains("does not exist"));
}

TEST(MaintenanceRules, LogLinesSplitIntoTimeTypeAndMessage)
{
    struct Case {
        const char *line, *time, *type, *message;
    };
    const Case cases[] = {
        {"01/02/2026 10:00:00|[SYSTEM]System started", "01/02/2026 10:00:00", "SYSTEM", "System started"},
        {" 10:00 |[WLAN] joined ", "10:00", "WLAN", " joined "},
        {"no separators at all", "", "", "no separators at all"},
        {"10:00|no brackets", "10:00", "", "no brackets"},
        {"10:00|[OPEN only", "10:00", "", "OPEN only"},
        {"close] only", "", "close", " only"},
        {"a|b|[T]m|n", "a", "T", "m|n"},
    };
    for (const Case &c : cases) {
        const LogLine got = ParseLogLine(QString::fromUtf8(c.line));
        EXPECT_EQ(got.time, c.time) << c.line;
        EXPECT_EQ(got.type, c.type) << c.line;
        EXPECT_EQ(got.message, c.message) << c.line;
    }
}

TEST(MaintenanceRules, DeviceFolderNamesStayOneFolder)
{
    EXPECT_EQ(DeviceFolderName("192.168.0.50"), "192.168.0.50");
    EXPECT_EQ(DeviceFolderName("../etc"), "_.._etc");
    EXPECT_EQ(DeviceFolderName("fe80::1"), "fe80__1");
    EXPECT_EQ(DeviceFolderName(""), "_");
}
