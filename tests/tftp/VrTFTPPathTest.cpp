#include "VrTFTPPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(VrTFTPPath, JoinsNamesWithEitherSeparator)
{
    EXPECT_EQ(VrTFTPResolvePath("/r/", "a.bin"), QStringLiteral("/r/a.bin"));
    EXPECT_EQ(VrTFTPResolvePath("/r\\", "logs\\ap.log"), QStringLiteral("/r\\logs/ap.log"));
    EXPECT_EQ(VrTFTPResolvePath("/r/", "a//./b"), QStringLiteral("/r/a/./b"));
    EXPECT_EQ(VrTFTPResolvePath("", "fw.img"), QStringLiteral("fw.img"));
    EXPECT_EQ(VrTFTPResolvePath("/r/", "..hidden"), QStringLiteral("/r/..hidden"));
}

TEST(VrTFTPPath, RefusesNamesThatClimbOrAreAbsolute)
{
    for (const char *name : {"", "/", "..", "a/../../b", "\\x", "D:x", "a/b:c", "... /x"})
        EXPECT_FALSE(VrTFTPResolvePath("/r/", name)) << name;
}

TEST(VrTFTPPath, SymbolicLinksOutOfTheRootAreOutside)
{
    QTemporaryDir tmp;
    const QString root = tmp.filePath("root");
    ASSERT_TRUE(QDir().mkpath(root + "/sub"));
    ASSERT_TRUE(QFile::link(tmp.path(), root + "/up"));
    EXPECT_TRUE(VrTFTPInsideRoot(root + '/', root + "/sub/new.bin"));
    EXPECT_TRUE(VrTFTPInsideRoot(root + '/', root + "/new.bin"));
    EXPECT_FALSE(VrTFTPInsideRoot(root + '/', root + "/up/new.bin"));
    EXPECT_TRUE(VrTFTPInsideRoot(root + '/', root + "/missing/new.bin"));
    EXPECT_FALSE(VrTFTPInsideRoot(root + '/', root + "/up/missing/new.bin"));
    // A dangling link is judged by where a created file would land.
    ASSERT_TRUE(QFile::link(tmp.filePath("elsewhere"), root + "/dangling"));
    ASSERT_TRUE(QFile::link("sub/later", root + "/dangling-in"));
    EXPECT_FALSE(VrTFTPInsideRoot(root + '/', root + "/dangling"));
    EXPECT_TRUE(VrTFTPInsideRoot(root + '/', root + "/dangling-in"));
    EXPECT_FALSE(VrTFTPInsideRoot(tmp.filePath("nope/"), tmp.filePath("nope/x")));
}

} // namespace
