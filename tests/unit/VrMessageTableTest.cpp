#include "TempFile.h"
#include "VrMessageTable.h"
#include "VrTextUtil.h"

#include <gtest/gtest.h>

namespace {
VrMessageTable threeTexts() { return VrMessageTable{"one", "two", "three"}; }
} // namespace

TEST(ReadLines, SkipsBlankLinesKeepsLeadingBlanksAndStripsLineEnds)
{
    ScratchDir dir;
    const QString file = dir.write("m.err", "first\r\n\n   \n  indented \r\n\tlast");
    const auto lines = ReadLines(file);
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, QStringList({"first", "  indented ", "\tlast"}));
}

TEST(ReadLines, CutsLongLinesAndSurvivesBinaryBytes)
{
    ScratchDir dir;
    QByteArray bytes(5000, 'x');
    bytes += "\n";
    bytes += QByteArray("\x01\x02\xff\x00zz", 6);
    bytes += "\n" + QString(2000, QChar(0xE9)).toUtf8();                  // two bytes each
    bytes += "\n" + QString::fromUcs4(U"\U0001F4E1").repeated(600).toUtf8() + "\n"; // a surrogate pair each
    const auto lines = ReadLines(dir.write("long.err", bytes));
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 4);
    EXPECT_EQ(lines->at(0).size(), VrMaxLineLength);
    EXPECT_FALSE(lines->at(1).isEmpty());
    // Long lines are cut in characters, never inside one.
    EXPECT_EQ(lines->at(2), QString(VrMaxLineLength, QChar(0xE9)));
    EXPECT_EQ(lines->at(3).size(), VrMaxLineLength - 1);
    EXPECT_FALSE(lines->at(3).back().isHighSurrogate());
}

TEST(ReadLines, MissingFileGivesNothing)
{
    EXPECT_FALSE(ReadLines("/nonexistent/dir/none.err"));
}

TEST(VrMessageTable, FileReplacesEntriesInOrderIgnoringBlankLines)
{
    ScratchDir dir;
    VrMessageTable table = threeTexts();
    ASSERT_TRUE(table.load(dir.write("t.err", "\nuno\n\n dos\n\ntres\n")));
    EXPECT_EQ(table.text(0), "uno");
    EXPECT_EQ(table.text(1), " dos");
    EXPECT_EQ(table.text(2), "tres");
}

TEST(VrMessageTable, EmptyOrMissingFileChangesNothing)
{
    ScratchDir dir;
    VrMessageTable table = threeTexts();
    EXPECT_FALSE(table.load(dir.write("empty.err", "\n  \n\t\n")));
    EXPECT_FALSE(table.load(dir.path("missing.err")));
    EXPECT_EQ(table.text(1), "two");
}

TEST(VrMessageTable, ShortFileFallsBackToBuiltInTextsForLaterEntries)
{
    ScratchDir dir;
    VrMessageTable table = threeTexts();
    ASSERT_TRUE(table.load(dir.write("short.err", "uno\n")));
    EXPECT_EQ(table.text(0), "uno");
    EXPECT_EQ(table.text(2), "three");
    EXPECT_EQ(table.text(3), QString());
    EXPECT_EQ(table.text(-1), QString());
    table.reset();
    EXPECT_EQ(table.text(0), "one");
}
