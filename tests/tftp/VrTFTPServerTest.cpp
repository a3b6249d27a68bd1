// The server against a raw UDP peer: the protocol details a real client
// would hide (exact packets, retries, duplicates, junk).

#include "TftpTestSupport.h"
#include "VrTFTPPacket.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using namespace VrTFTPPacket;

namespace {

class TftpServer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        root = tmp.filePath(QStringLiteral("root"));
        ASSERT_TRUE(QDir().mkpath(root));
        server.SetOnMessage(recorder.callback());
        server.SetTimeout(20, 3);  // 200 ms waits keep abandoned sessions short
        server.SetAllowedPeer(QStringLiteral("127.0.0.1"));
    }
    void start() { server.Start(root, 0); }
    QString inRoot(const QString &name) const { return root + u'/' + name; }
    // Waits until every session is gone.
    bool drained(int ms = 3000)
    {
        return spinUntil([this] { return server.SessionCount() == 0; }, ms);
    }

    AppInstance app;
    QTemporaryDir tmp;
    QString root;
    Recorder recorder;
    VrTFTPServer server;
};

TEST_F(TftpServer, StartAppendsSeparatorToRootAndRejectsBusyPort)
{
    EXPECT_EQ(QHostAddress(server.Template().localAddress).protocol(),
              QAbstractSocket::IPv4Protocol);
    server.Start(QStringLiteral("a\\"), 0);
    EXPECT_EQ(server.RootDirectory(), QStringLiteral("a\\"));
    server.Start(QStringLiteral("dir"), 0);  // running: only the root changes
    EXPECT_EQ(server.RootDirectory(), QStringLiteral("dir/"));
    server.Stop();
    EXPECT_FALSE(server.IsRunning());

    // A port held without address reuse cannot be shared.
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
    try {
        server.Start(QString(), ntohs(a.sin_port));
        ADD_FAILURE() << "Start on a busy port succeeded";
    } catch (const VrTFTPException &e) {
        EXPECT_EQ(e.code(), -1109);
        EXPECT_EQ(e.text(), QStringLiteral(
            "(VrTFTP) Fail to open socket!Please check if the network is ready."));
    }
    EXPECT_FALSE(server.IsRunning());
    ::close(fd);
}

TEST_F(TftpServer, MissingFileGetsFiveByteError1AndFileNotFound)
{
    start();
    RawClient c;
    c.sendTo(server.Port(), request(RRQ, "nothing.bin"));
    EXPECT_EQ(c.receive(), QByteArray("\0\5\0\1\0", 5));
    ASSERT_TRUE(drained());
    ASSERT_EQ(recorder.reports.size(), 3);
    EXPECT_EQ(recorder.reports[0].status, 1);
    EXPECT_EQ(recorder.reports[1].status, -1102);
    EXPECT_EQ(recorder.reports[2].status, 0);
    EXPECT_EQ(recorder.reports[0].session, 0);
}

TEST_F(TftpServer, ReadInLockStepIgnoresRepeatedRequestAndDuplicateAck)
{
    const QByteArray content = patterned(1024);
    writeFile(inRoot("f.bin"), content);
    server.SetTimeout(100, 3);  // no resend may fall into the quiet windows below
    start();
    RawClient c;
    c.sendTo(server.Port(), request(RRQ, "f.bin"));
    EXPECT_EQ(c.receive(), packet(DATA, 1, content.left(512)));
    c.adoptSessionPort();

    c.sendTo(server.Port(), request(RRQ, "f.bin"));  // same peer port: no second session
    spinFor(60);
    EXPECT_EQ(server.SessionCount(), 1);
    EXPECT_EQ(recorder.count(1), 1);

    c.sendToSession(packet(ACK, 1));
    EXPECT_EQ(c.receive(), packet(DATA, 2, content.mid(512)));
    c.sendToSession(packet(ACK, 1));  // duplicate: nothing is sent again
    EXPECT_TRUE(c.receive(150).isEmpty());
    c.sendToSession(packet(ACK, 2));
    // 1024 bytes are two full blocks, so an empty block ends the file.
    EXPECT_EQ(c.receive(), packet(DATA, 3));
    c.sendToSession(packet(ACK, 3));
    ASSERT_TRUE(drained());
    EXPECT_EQ(recorder.count(3), 1);
    EXPECT_EQ(recorder.reports.last().status, 0);
    EXPECT_EQ(recorder.reports.last().bytes, 1024);
}

TEST_F(TftpServer, PeerErrorIsIgnoredAndDataIsSentRetryLimitTimes)
{
    writeFile(inRoot("f.bin"), patterned(100));
    for (int retries : {1, 3}) {
        recorder.reports.clear();
        server.SetTimeout(5, retries);  // 50 ms per wait
        start();
        RawClient c;
        c.sendTo(server.Port(), request(RRQ, "f.bin"));
        int sends = 0;
        for (QByteArray d = c.receive(); !d.isEmpty(); d = c.receive(300)) {
            EXPECT_EQ(d, packet(DATA, 1, patterned(100)));
            c.adoptSessionPort();
            c.sendToSession(packet(ERROR, 0, QByteArray("stop\0", 5)));
            ++sends;
        }
        ASSERT_TRUE(drained());
        EXPECT_EQ(sends, retries);
        EXPECT_EQ(recorder.reports.at(recorder.reports.size() - 2).status, -1113);
        EXPECT_EQ(recorder.reports.at(recorder.reports.size() - 2).sendCount, retries);
    }
}

TEST_F(TftpServer, OptionsAreAcknowledgedAndInvalidOnesIgnored)
{
    const QByteArray content = patterned(1500);
    writeFile(inRoot("o.bin"), content);
    start();
    RawClient c;
    c.sendTo(server.Port(), request(RRQ, "o.bin", nulJoined({"BLKSIZE", "1024", "tsize", "0"})));
    EXPECT_EQ(c.receive(), u16(OACK) + nulJoined({"blksize", "1024", "tsize", "1500"}));
    c.adoptSessionPort();
    c.sendToSession(packet(ACK, 0));
    EXPECT_EQ(c.receive(), packet(DATA, 1, content.left(1024)));
    c.sendToSession(packet(ACK, 1));
    EXPECT_EQ(c.receive(), packet(DATA, 2, content.mid(1024)));
    c.sendToSession(packet(ACK, 2));
    ASSERT_TRUE(drained());
    EXPECT_TRUE(recorder.has(3));

    // A block size below 8 or a non-number is dropped: plain 512-byte blocks.
    RawClient d;
    d.sendTo(server.Port(), request(RRQ, "o.bin", nulJoined({"blksize", "7", "tsize", "x"})));
    EXPECT_EQ(d.receive(), packet(DATA, 1, content.left(512)));
}

TEST_F(TftpServer, UploadReacknowledgesLostAckWithoutWritingTwice)
{
    start();
    RawClient c;
    c.sendTo(server.Port(), request(WRQ, "up.bin"));
    EXPECT_EQ(c.receive(), packet(ACK, 0));
    c.adoptSessionPort();
    const quint16 sessionPort = c.lastPort();
    c.sendTo(server.Port(), request(WRQ, "up.bin"));  // as if ACK 0 was lost
    EXPECT_EQ(c.receive(), packet(ACK, 0));
    EXPECT_EQ(c.lastPort(), sessionPort);
    EXPECT_EQ(server.SessionCount(), 1);
    const QByteArray content = patterned(700);
    c.sendToSession(packet(DATA, 1, content.left(512)));
    EXPECT_EQ(c.receive(), packet(ACK, 1));
    c.sendToSession(packet(DATA, 1, content.left(512)));  // as if ACK 1 was lost
    EXPECT_EQ(c.receive(), packet(ACK, 1));
    c.sendToSession(packet(DATA, 3, content.left(10)));   // out of order: dropped
    EXPECT_TRUE(c.receive(100).isEmpty());
    c.sendToSession(packet(DATA, 2, content.mid(512)));
    EXPECT_EQ(c.receive(), packet(ACK, 2));
    // The final ACK lost: the peer's repeat, after its own wait, finds the
    // upload over (no session counted) and still gets its ACK.
    ASSERT_TRUE(drained());
    spinFor(5 * VrTFTPServer::TickMs);
    c.sendToSession(packet(DATA, 2, content.mid(512)));
    EXPECT_EQ(c.receive(), packet(ACK, 2));
    EXPECT_EQ(readFile(inRoot("up.bin")), content);
    EXPECT_EQ(recorder.count(3), 1);
    EXPECT_EQ(recorder.reports.last().status, 3);
    EXPECT_EQ(recorder.reports.last().bytes, 700);
}

TEST_F(TftpServer, TimedOutUploadKeepsOldFileAndLeavesNoPartialFile)
{
    writeFile(inRoot("cfg.bin"), "old configuration");
    server.SetTimeout(5, 3);
    start();
    RawClient c;
    c.sendTo(server.Port(), request(WRQ, "cfg.bin"));
    EXPECT_EQ(c.receive(), packet(ACK, 0));
    c.adoptSessionPort();
    c.sendToSession(packet(DATA, 1, patterned(512)));
    EXPECT_EQ(c.receive(), packet(ACK, 1));
    EXPECT_TRUE(c.receive(200).isEmpty());  // an ACK is never resent
    ASSERT_TRUE(drained());
    EXPECT_TRUE(recorder.has(-1113));
    EXPECT_EQ(readFile(inRoot("cfg.bin")), QByteArray("old configuration"));
    EXPECT_EQ(QDir(root).entryList(QDir::Files | QDir::Hidden), QStringList{"cfg.bin"});
}

TEST_F(TftpServer, SecondUploadOfTheSameNameIsRefused)
{
    start();
    RawClient a, b;
    a.sendTo(server.Port(), request(WRQ, "same.bin"));
    EXPECT_EQ(a.receive(), packet(ACK, 0));
    b.sendTo(server.Port(), request(WRQ, "same.bin"));
    EXPECT_EQ(b.receive(), QByteArray("\0\5\0\2\0", 5));
    EXPECT_TRUE(recorder.has(-1103));
}

TEST_F(TftpServer, CancelFlagEndsTheSession)
{
    writeFile(inRoot("f.bin"), patterned(2000));
    recorder.cancelOn = 2;
    start();
    RawClient c;
    c.sendTo(server.Port(), request(RRQ, "f.bin"));
    EXPECT_FALSE(c.receive().isEmpty());
    c.adoptSessionPort();
    c.sendToSession(packet(ACK, 1));
    EXPECT_TRUE(c.receive(100).isEmpty());
    ASSERT_TRUE(drained());
    EXPECT_TRUE(recorder.has(-1114));
}

TEST_F(TftpServer, FailedWriteReportsDiskFullAndRemovesPartialFile)
{
    writeFile(inRoot("big.bin"), "previous");
    // A file size limit makes writes fail the way a full disk does.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

    start();
    RawClient c;
    c.sendTo(server.Port(), request(WRQ, "big.bin"));
    QByteArray answer = c.receive();
    c.adoptSessionPort();
    quint16 block = 0;
    while (answer == packet(ACK, block) && block < 100) {
        ++block;
        c.sendToSession(packet(DATA, block, patterned(block < 100 ? 512 : 3)));
        answer = c.receive();
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(answer, QByteArray("\0\5\0\3\0", 5));
    ASSERT_TRUE(drained());
    EXPECT_TRUE(recorder.has(-1104));
    EXPECT_FALSE(recorder.has(3));
    EXPECT_EQ(readFile(inRoot("big.bin")), QByteArray("previous"));
    EXPECT_EQ(QDir(root).entryList(QDir::Files | QDir::Hidden), QStringList{"big.bin"});
}

TEST_F(TftpServer, NamesLeavingTheRootAreRefused)
{
    const QString outside = tmp.filePath(QStringLiteral("secret"));
    writeFile(outside, "secret");
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::link(tmp.path(), inRoot("linkdir")));
    ASSERT_TRUE(QFile::link(outside, inRoot("linkfile")));
    ASSERT_TRUE(QFile::link(tmp.filePath("created"), inRoot("dangling")));
    start();
    const QByteArray names[] = {
        "../secret", "..\\secret", "/etc/passwd", "\\etc\\passwd", "C:\\secret", "c:secret",
        "C:/secret", "sub/../../secret", "sub\\..\\..\\secret", "..", "../", "./../secret",
        "//server/share/secret", "\\\\server\\share\\secret", ".. /secret", "sub/..",
        "..../secret", "linkdir/secret", "linkfile", "dangling", "",
    };
    for (const QByteArray &name : names) {
        for (quint16 op : {RRQ, WRQ}) {
            RawClient c;
            c.sendTo(server.Port(), request(op, name));
            EXPECT_EQ(c.receive(), QByteArray("\0\5\0\2\0", 5)) << name.constData() << " op " << op;
        }
    }
    ASSERT_TRUE(drained());
    EXPECT_EQ(recorder.count(-1103), 2 * int(std::size(names)));
    EXPECT_FALSE(recorder.has(2));
    EXPECT_EQ(readFile(outside), QByteArray("secret"));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"root", "secret"}));  // nothing "created" outside
    EXPECT_EQ(QDir(inRoot("sub")).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

TEST_F(TftpServer, RequestsFromOtherPeersAreRefused)
{
    writeFile(inRoot("f.bin"), "x");
    server.SetAllowedPeer(QStringLiteral("127.0.0.2"));
    start();
    RawClient c;
    c.sendTo(server.Port(), request(RRQ, "f.bin"));
    EXPECT_EQ(c.receive(), QByteArray("\0\5\0\2\0", 5));
    EXPECT_EQ(c.lastPort(), server.Port());  // answered by the server, not a session
    EXPECT_TRUE(recorder.reports.isEmpty());

    // A server nobody told about the device refuses everything...
    VrTFTPServer unconfigured;
    unconfigured.Start(root, 0);
    c.sendTo(unconfigured.Port(), request(RRQ, "f.bin"));
    EXPECT_EQ(c.receive(), QByteArray("\0\5\0\2\0", 5));
    // ...unless any peer was allowed.
    qputenv("QRT5150_TFTP_ANY_PEER", "1");
    VrTFTPServer open;
    qunsetenv("QRT5150_TFTP_ANY_PEER");
    open.SetTimeout(5, 1);
    open.Start(root, 0);
    c.sendTo(open.Port(), request(RRQ, "f.bin"));
    EXPECT_EQ(c.receive(), packet(DATA, 1, "x"));
}

TEST_F(TftpServer, GrantedPeersReachOnlyTheirOwnFile)
{
    QDir().mkpath(inRoot("a"));
    QDir().mkpath(inRoot("b"));
    writeFile(inRoot("a/a.dcf"), "mine");
    writeFile(inRoot("b/b.dcf"), "theirs");
    ASSERT_TRUE(server.Grant(QStringLiteral("127.0.0.3"), inRoot("a"), QStringLiteral("a.dcf")));
    ASSERT_TRUE(server.Grant(QStringLiteral("127.0.0.4"), inRoot("b"), QStringLiteral("b.dcf")));
    start();
    RawClient device(QHostAddress(QStringLiteral("127.0.0.3")));
    device.sendTo(server.Port(), request(RRQ, "a.dcf"));
    EXPECT_EQ(device.receive(), packet(DATA, 1, "mine"));
    // Another device's file, by its name or by a path into its folder.
    for (const char *name : {"b.dcf", "../b/b.dcf"}) {
        RawClient c(QHostAddress(QStringLiteral("127.0.0.3")));
        c.sendTo(server.Port(), request(RRQ, name));
        EXPECT_EQ(c.receive(), QByteArray("\0\5\0\2\0", 5)) << name;
    }
    RawClient stranger(QHostAddress(QStringLiteral("127.0.0.5")));
    stranger.sendTo(server.Port(), request(RRQ, "a.dcf"));
    EXPECT_EQ(stranger.receive(), QByteArray("\0\5\0\2\0", 5));
    server.Revoke(QStringLiteral("127.0.0.3"));
    RawClient revoked(QHostAddress(QStringLiteral("127.0.0.3")));
    revoked.sendTo(server.Port(), request(RRQ, "a.dcf"));
    EXPECT_EQ(revoked.receive(), QByteArray("\0\5\0\2\0", 5));
}

TEST_F(TftpServer, JunkDatagramsAreIgnoredAndUnterminatedRequestsGetError4)
{
    writeFile(inRoot("f.bin"), "ok");
    server.SetTimeout(2, 1);  // sessions that junk happens to open end quickly
    start();
    RawClient c;
    c.sendTo(server.Port(), QByteArray("\0\1f", 3));
    c.sendTo(server.Port(), packet(9, 1, "x"));
    c.sendTo(server.Port(), packet(DATA, 1, "x"));
    c.sendTo(server.Port(), packet(ACK, 1));
    EXPECT_TRUE(c.receive(100).isEmpty());

    c.sendTo(server.Port(), u16(RRQ) + "f.bin");                // name without NUL
    EXPECT_EQ(c.receive(), QByteArray("\0\5\0\4\0", 5));
    c.sendTo(server.Port(), u16(WRQ) + QByteArray("f.bin\0octet", 11));  // mode without NUL
    EXPECT_EQ(c.receive(), QByteArray("\0\5\0\4\0", 5));

    QRandomGenerator rng(1234);
    for (int i = 0; i < 2000; ++i) {
        QByteArray junk(int(rng.bounded(1, 600)), Qt::Uninitialized);
        for (char &ch : junk)
            ch = char(rng.bounded(256));
        if (i % 2)
            junk[0] = 0;  // many look like a request or a reply
        c.sendTo(server.Port(), junk);
        if (i % 100 == 0)
            spinFor(1);
    }
    spinFor(100);
    ASSERT_TRUE(drained(5000));
    EXPECT_EQ(QDir(root).entryList(QDir::Files | QDir::Hidden), QStringList{"f.bin"});

    RawClient fresh;
    fresh.sendTo(server.Port(), request(RRQ, "f.bin"));
    EXPECT_EQ(fresh.receive(), packet(DATA, 1, "ok"));
}

// A fleet ends hundreds of transfers at about the same time; the server's
// clean-up (and a Stop waiting for it) must not take one tick per session.
TEST_F(TftpServer, EndedSessionsAreRemovedTogether)
{
    start();
    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < 50; ++i) {
        clients.push_back(std::make_unique<RawClient>());
        clients.back()->sendTo(server.Port(), request(RRQ, "nothing.bin"));
    }
    for (const auto &c : clients)
        ASSERT_EQ(c->receive(), QByteArray("\0\5\0\1\0", 5));
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(drained());
    EXPECT_LT(t.elapsed(), 300);
}

TEST_F(TftpServer, StopWaitsForLiveSessionsWhileEventsRun)
{
    writeFile(inRoot("f.bin"), "abc");
    server.SetTimeout(10, 2);
    start();
    RawClient c;
    c.sendTo(server.Port(), request(RRQ, "f.bin"));
    ASSERT_FALSE(c.receive().isEmpty());
    QElapsedTimer t;
    t.start();
    server.Stop();
    EXPECT_EQ(server.SessionCount(), 0);
    EXPECT_TRUE(recorder.has(-1113));  // the retry ran during the wait
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_FALSE(server.IsRunning());
}

} // namespace
