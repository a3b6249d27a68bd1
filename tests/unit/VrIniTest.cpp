#include "TempFile.h"
#include "VrIni.h"

#include <gtest/gtest.h>

namespace {

const char *const sample =
    "; launch settings\n"
    "top = level\n"
    "[Program Information]\n"
    "Version = 3\n"
    "Empty=\n"
    "Blank =    \n"
    "  Padded =   a value with spaces   \n"
    "version=second\n"
    "#Hidden=comment\n"
    "no equals sign here\n"
    "[SOFTWARE\\Varnell\\Netvane5.1\\ExePath]\r\n"
    "Path=C:\\Program Files\\Netvane\r\n"
    "[program information]\n"
    "Later=x";

} // namespace

TEST(VrIni, ReadsTrimmedValuesWithCaseInsensitiveNames)
{
    ScratchDir dir;
    const VrIni ini(dir.write("10.0.0.1.cfg", sample));
    EXPECT_EQ(ini.ReadString("program INFORMATION", "VERSION", "d"), "3"); // first occurrence wins
    EXPECT_EQ(ini.ReadString("Program Information", "padded", "d"), "a value with spaces");
    EXPECT_EQ(ini.ReadString("Program Information", "Later", "d"), "x"); // repeated section, no final newline
    EXPECT_EQ(ini.ReadString("SOFTWARE\\Varnell\\Netvane5.1\\ExePath", "Path", "d"),
              "C:\\Program Files\\Netvane");
    EXPECT_EQ(ini.ReadString("", "top", "d"), "level");
}

TEST(VrIni, GivesTheUntrimmedDefaultForMissingOrEmptyValues)
{
    ScratchDir dir;
    const VrIni ini(dir.write("a.cfg", sample));
    EXPECT_EQ(ini.ReadString("Program Information", "Empty", " d "), " d ");
    EXPECT_EQ(ini.ReadString("Program Information", "Blank", " d "), " d ");
    EXPECT_EQ(ini.ReadString("Program Information", "Hidden", "d"), "d");
    EXPECT_EQ(ini.ReadString("Program Information", "top", "d"), "d");
    EXPECT_EQ(ini.ReadString("Other", "Version", "d"), "d");
    EXPECT_EQ(VrIni(dir.path("missing.cfg")).ReadString("Program Information", "Version", "d"), "d");
}

TEST(VrIni, SurvivesHugeValuesAndBinaryBytes)
{
    ScratchDir dir;
    QByteArray bytes = "[s]\nbig=" + QByteArray(10000, 'v') + "\n";
    bytes += QByteArray("junk\0\xff\xfe=\x01\n", 11);
    bytes += "[s\nafter=1\n[s]\nk=  v\r\n";
    const VrIni ini(dir.write("b.cfg", bytes));
    EXPECT_EQ(ini.ReadString("s", "big", "d"), QString(VrMaxIniValueLength, 'v'));
    EXPECT_EQ(ini.ReadString("s", "after", "d"), "1"); // "[s" without "]" still names "s"
    EXPECT_EQ(ini.ReadString("s", "k", "d"), "v");
}

TEST(VrIni, JoinPathNeverDoublesASeparator)
{
    EXPECT_EQ(VrIni::JoinPath("C:\\Netvane\\", "10.0.0.1.cfg"), "C:\\Netvane\\10.0.0.1.cfg");
    EXPECT_EQ(VrIni::JoinPath("C:\\Netvane", "a.cfg"), "C:\\Netvane\\a.cfg");
    EXPECT_EQ(VrIni::JoinPath("/opt/qrt/", "a.cfg"), "/opt/qrt/a.cfg");
    EXPECT_EQ(VrIni::JoinPath("/opt/qrt", "a.cfg"), "/opt/qrt/a.cfg");
    EXPECT_EQ(VrIni::JoinPath("C:/mixed\\dir", "a.cfg"), "C:/mixed\\dir/a.cfg");
    EXPECT_EQ(VrIni::JoinPath("errmsg", "snmp.err"), "errmsg/snmp.err");
    EXPECT_EQ(VrIni::JoinPath("", "a.cfg"), "a.cfg");
}
