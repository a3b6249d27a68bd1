// A download through a UDP relay that loses packets both ways: the server
// resends a lost DATA block early and backs off, so a client that gives up
// long before the server's own wait still gets the whole file.

#include "LossyRelay.h"
#include "TftpTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using qrt::test::LossyRelay;

TEST(TftpLossyLink, HundredKilobytesArriveWholeAtFivePercentLossEachWay)
{
    ensureApp();
    QTemporaryDir tmp;
    const QString root = tmp.filePath("root"), local = tmp.filePath("local");
    ASSERT_TRUE(QDir().mkpath(root) && QDir().mkpath(local));
    const QByteArray content = patterned(100 * 1024);
    writeFile(root + "/f.bin", content);

    VrTFTPServer server;
    server.SetAllowedPeer(QStringLiteral("127.0.0.1"));
    server.SetTimeout(1000, 3); // the default wait of 10 s, three sends
    server.Start(root, 0);
    LossyRelay relay(server.Port(), 0.05, 20261208);

    QProcess client;
    client.setWorkingDirectory(local);
    client.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer took;
    took.start();
    client.start("tftp", {"-m", "binary", "127.0.0.1", QString::number(relay.port()), "-c", "get", "f.bin"});
    if (!client.waitForStarted(5000))
        GTEST_SKIP() << "the tftp-hpa client is not installed";
    ASSERT_TRUE(spinUntil([&] { return client.state() == QProcess::NotRunning; }, 120000));
    std::cout << "100 KB through the lossy relay in " << took.elapsed() << " ms, " << relay.dropped
              << " datagrams dropped\n";
    EXPECT_GT(relay.dropped, 0);
    EXPECT_EQ(readFile(local + "/f.bin"), content) << client.readAll().constData();
    EXPECT_LT(took.elapsed(), 90000);
}
