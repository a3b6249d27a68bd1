// The transfer a page waits for, with tftp-hpa playing the device: only the
// announced file counts, and a device that never comes fails the watch.
#include "TransferWatch.h"
#include "VrSNMPTarget.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace {

class TransferWatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_SNMPDevice.address = "127.0.0.1";
        QUdpSocket probe; // a free port for the watch's server
        ASSERT_TRUE(probe.bind(QHostAddress::LocalHost, 0));
        port = probe.localPort();
        probe.close();
        qputenv("QRT5150_TFTP_PORT", QByteArray::number(port));
        QFile f(folder.filePath("fw.bin"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5000, 'x'));
        f.close();
        QFile::copy(folder.filePath("fw.bin"), folder.filePath("other.bin"));
    }
    void TearDown() override { qunsetenv("QRT5150_TFTP_PORT"); }

    // The device fetching a file; true when the client brought it.
    bool deviceGets(const QString &name)
    {
        QProcess client;
        client.setWorkingDirectory(local.path());
        client.start("tftp", {"-m", "binary", "127.0.0.1", QString::number(port), "-c", "get", name});
        if (!client.waitForStarted(5000))
            return false;
        QElapsedTimer t;
        t.start();
        while (client.state() != QProcess::NotRunning && t.elapsed() < 20000)
            QTest::qWait(10);
        return QFile(local.filePath(name)).size() == 5000;
    }

    QTemporaryDir folder, local;
    quint16 port = 0;
};

} // namespace

TEST_F(TransferWatchTest, OnlyTheAnnouncedFileCountsAndASilentDeviceFailsInTime)
{
    TransferWatch watch(10, 3, nullptr); // 100 ms per wait, three tries: 300 ms of patience
    watch.Start(folder.path());
    QSignalSpy finished(&watch, &TransferWatch::finished);

    // Another file is served, but the watch goes on waiting for its own and
    // then fails as if nothing had come.
    watch.Expect("fw.bin", TransferWatch::DeviceReads, 5000);
    if (!deviceGets("other.bin"))
        GTEST_SKIP() << "the tftp-hpa client is not installed";
    EXPECT_EQ(watch.state(), TransferWatch::Expecting);
    ASSERT_TRUE(finished.wait(2000));
    EXPECT_FALSE(finished.takeFirst().at(0).toBool());
    EXPECT_FALSE(watch.Succeeded());
    EXPECT_FALSE(watch.ErrorText().isEmpty());

    // A device that never starts fails within the server's patience.
    QElapsedTimer took;
    took.start();
    watch.Expect("fw.bin", TransferWatch::DeviceReads, 5000);
    ASSERT_TRUE(finished.wait(2000));
    EXPECT_FALSE(finished.takeFirst().at(0).toBool());
    EXPECT_GE(took.elapsed(), 250);

    // The announced file, fetched whole, completes the watch with its size.
    QSignalSpy progress(&watch, &TransferWatch::progress);
    watch.Expect("fw.bin", TransferWatch::DeviceReads, 5000);
    ASSERT_TRUE(deviceGets("fw.bin"));
    ASSERT_TRUE(finished.count() > 0 || finished.wait(2000));
    EXPECT_TRUE(finished.takeFirst().at(0).toBool());
    EXPECT_TRUE(watch.Succeeded());
    EXPECT_EQ(watch.Bytes(), 5000);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().at(0).toLongLong(), 5000);
    EXPECT_EQ(progress.last().at(1).toLongLong(), 5000);
}
