// A download through a UDP relay that loses packets both ways: the server
// resends a lost DATA block early and backs off, so a client that gives up
// long before the server's own wait still gets the whole file.

#include "TftpTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace {

// Client <-> relay port <-> server, dropping a share of the datagrams each way.
class LossyRelay
{
public:
    LossyRelay(quint16 serverPort, double loss, quint32 seed) : m_serverPort(serverPort), m_loss(loss), m_rng(seed)
    {
        m_front.bind(QHostAddress::LocalHost, 0);
        m_back.bind(QHostAddress::LocalHost, 0);
        QObject::connect(&m_front, &QUdpSocket::readyRead, [this] { fromClient(); });
        QObject::connect(&m_back, &QUdpSocket::readyRead, [this] { fromServer(); });
    }
    quint16 port() const { return m_front.localPort(); }
    int dropped = 0;

private:
    bool lose() { return m_rng.generateDouble() < m_loss && ++dropped; }
    void fromClient()
    {
        while (m_front.hasPendingDatagrams()) {
            QHostAddress from;
            quint16 fromPort = 0;
            QByteArray d(int(m_front.pendingDatagramSize()), '\0');
            m_front.readDatagram(d.data(), d.size(), &from, &fromPort);
            m_clientPort = fromPort;
            const bool request = d.size() >= 2 && (d[1] == 1 || d[1] == 2);
            if (!lose())
                m_back.writeDatagram(d, QHostAddress::LocalHost, request ? m_serverPort : m_sessionPort);
        }
    }
    void fromServer()
    {
        while (m_back.hasPendingDatagrams()) {
            QHostAddress from;
            quint16 fromPort = 0;
            QByteArray d(int(m_back.pendingDatagramSize()), '\0');
            m_back.readDatagram(d.data(), d.size(), &from, &fromPort);
            m_sessionPort = fromPort;
            if (!lose())
                m_front.writeDatagram(d, QHostAddress::LocalHost, m_clientPort);
        }
    }

    QUdpSocket m_front, m_back;
    quint16 m_serverPort;
    quint16 m_clientPort = 0, m_sessionPort = 0;
    double m_loss;
    QRandomGenerator m_rng;
};

} // namespace

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
