#include "VrTFTPMsg.h"
#include "VrTFTPPacket.h"

#include <gtest/gtest.h>

using namespace VrTFTPPacket;

namespace {

// A literal with its embedded NULs, without the terminating one.
template <size_t N>
QByteArray bytes(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

TEST(VrTFTPPacket, ParsesRequestsWithAndWithoutOptions)
{
    Request r;
    ASSERT_EQ(parseRequest(bytes("\0\1dir\\a.cfg\0netascii\0"), &r), ParseResult::Request);
    EXPECT_EQ(r.opcode, RRQ);
    EXPECT_EQ(r.fileName, QByteArray("dir\\a.cfg"));
    EXPECT_EQ(r.mode, QByteArray("netascii"));
    EXPECT_FALSE(r.blockSize);
    EXPECT_FALSE(r.transferSize);

    const QByteArray wrq = bytes("\0\2f\0octet\0TSize\0" "123\0blksize\0" "99999\0junk\0x\0odd\0");
    ASSERT_EQ(parseRequest(wrq, &r), ParseResult::Request);
    EXPECT_EQ(r.opcode, WRQ);
    EXPECT_EQ(r.transferSize, 123);
    EXPECT_EQ(r.blockSize, MaxBlockSize);  // clamped, unknown and unpaired options dropped
}

TEST(VrTFTPPacket, RejectsInvalidOptionValues)
{
    Request r;
    for (const char *value : {"7", "-1", "", "12a", " 512", "99999999999999999999"}) {
        QByteArray d = bytes("\0\1f\0octet\0blksize\0");
        d.append(value).append('\0');
        ASSERT_EQ(parseRequest(d, &r), ParseResult::Request) << value;
        EXPECT_FALSE(r.blockSize) << value;
    }
}

TEST(VrTFTPPacket, ClassifiesShortForeignAndUnterminatedDatagrams)
{
    Request r;
    EXPECT_EQ(parseRequest(bytes("\0\1f"), &r), ParseResult::NotRequest);
    EXPECT_EQ(parseRequest(bytes("\0\3\0\1"), &r), ParseResult::NotRequest);
    EXPECT_EQ(parseRequest(bytes("\1\1f\0m\0"), &r), ParseResult::NotRequest);
    EXPECT_EQ(parseRequest(bytes("\0\1file"), &r), ParseResult::Malformed);
    EXPECT_EQ(parseRequest(bytes("\0\2f\0octet"), &r), ParseResult::Malformed);
    // A request cut out of a longer buffer must not see the bytes after it.
    const QByteArray longer = bytes("\0\1ab\0oc\0");
    EXPECT_EQ(parseRequest(QByteArrayView(longer).first(7), &r), ParseResult::Malformed);
}

TEST(VrTFTPStatus, TableCoversEveryCodeAndMirrorsTftpErrors)
{
    EXPECT_EQ(VrTFTPStatusText(3), QStringLiteral("(VrTFTP) Success to transfer file."));
    EXPECT_EQ(VrTFTPStatusText(VrTFTPStatus::fromTftpError(DiskFull)),
              QStringLiteral("(VrTFTP) Disk full!"));
    EXPECT_EQ(VrTFTPStatus::fromTftpError(NoSuchUser), -1108);
    for (int code = -1114; code <= 3; code = code == -1101 ? 0 : code + 1)
        EXPECT_TRUE(VrTFTPStatusText(code).startsWith(u"(VrTFTP) ")) << code;
    EXPECT_TRUE(VrTFTPStatusText(-1100).isEmpty());
}

} // namespace
