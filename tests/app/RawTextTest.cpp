#include "VrRawText.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

TEST(VrRawText, EveryByteSequenceComesBackUnchanged)
{
    const QByteArray cases[] = {
        "",
        "public",
        "\xE9",                       // Latin-1 e-acute: not UTF-8
        "caf\xC3\xA9",                // UTF-8 e-acute
        "\xC3",                       // cut short
        "\xC0\x80",                   // overlong NUL
        "\xED\xA0\x80",               // an encoded surrogate
        "\xF4\x90\x80\x80",           // above U+10FFFF
        "\xF0\x9F\x98\x80\xE9",       // a character outside the BMP, then a stray byte
        "\xED\xB3\xA9",               // what the escape of 0xE9 would be in UTF-8
        QByteArray("a\0b", 3),
    };
    for (const QByteArray &bytes : cases)
        EXPECT_EQ(VrBytesFromText(VrTextFromBytes(bytes)), bytes) << bytes.toHex().constData();

    QRandomGenerator random(5150);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(random.bounded(1, 12), '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        ASSERT_EQ(VrBytesFromText(VrTextFromBytes(bytes)), bytes) << bytes.toHex().constData();
    }
}

TEST(VrRawText, ValidUtf8IsOrdinaryText)
{
    EXPECT_EQ(VrTextFromBytes("caf\xC3\xA9 \xF0\x9F\x98\x80"), QString::fromUtf8("caf\xC3\xA9 \xF0\x9F\x98\x80"));
    EXPECT_EQ(VrBytesFromText(QStringLiteral("hollow")), QByteArray("hollow"));
    EXPECT_EQ(VrBytesFromText(QString::fromUtf8("\xC3\xA9")), QByteArray("\xC3\xA9"));
    // A byte that is not UTF-8 stays one character, not a replacement character.
    EXPECT_EQ(VrTextFromBytes("r\xE9" "ad").size(), 4);
}
