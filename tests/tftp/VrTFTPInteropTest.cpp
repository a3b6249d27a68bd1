// The server against real clients: curl and the tftp-hpa client, started as
// processes while the server runs in this process's event loop.

#include "TftpTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <gtest/gtest.h>

namespace {

class TftpInterop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        root = tmp.filePath(QStringLiteral("root"));
        local = tmp.filePath(QStringLiteral("local"));
        ASSERT_TRUE(QDir().mkpath(root));
        ASSERT_TRUE(QDir().mkpath(local));
        server.SetOnMessage(recorder.callback());
        server.SetAllowedPeer(QStringLiteral("127.0.0.1"));
        server.SetTimeout(100, 3);
        // The well-known port, moved by the environment as an unprivileged
        // installation would do.
        QUdpSocket probe;
        ASSERT_TRUE(probe.bind(QHostAddress::LocalHost, 0));
        const QByteArray port = QByteArray::number(probe.localPort());
        probe.close();
        qputenv("QRT5150_TFTP_PORT", port);
        server.Start(root);
        qunsetenv("QRT5150_TFTP_PORT");
        ASSERT_EQ(QByteArray::number(server.Port()), port);
    }

    // Runs a client to its end while the server keeps serving.
    int run(const QString &program, const QStringList &args)
    {
        QProcess p;
        p.setWorkingDirectory(local);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        if (!p.waitForStarted(5000))
            return -1;
        if (!spinUntil([&p] { return p.state() == QProcess::NotRunning; }, 120000)) {
            p.kill();
            p.waitForFinished();
            return -2;
        }
        if (p.exitCode() != 0)
            std::cerr << qPrintable(program) << " said: " << p.readAll().constData() << "\n";
        return p.exitCode();
    }
    QString url(const QString &name) const
    {
        return QStringLiteral("tftp://127.0.0.1:%1/%2").arg(server.Port()).arg(name);
    }
    int curlGet(const QString &name, const QString &to, const QStringList &extra = {})
    {
        return run("curl", QStringList{"-sS", "--max-time", "60", "-o", to} + extra << url(name));
    }
    int curlPut(const QString &from, const QString &name, const QStringList &extra = {})
    {
        return run("curl", QStringList{"-sS", "--max-time", "60", "-T", from} + extra << url(name));
    }
    int hpa(const QString &command, const QString &a, const QString &b)
    {
        return run("tftp", {"-m", "binary", "127.0.0.1", QString::number(server.Port()),
                            "-c", command, a, b});
    }
    QString inRoot(const QString &n) const { return root + u'/' + n; }
    QString inLocal(const QString &n) const { return local + u'/' + n; }

    // Every way of fetching and storing one file must copy it exactly.
    void roundTrips(qsizetype size, bool allClients)
    {
        const QString name = QStringLiteral("f%1.bin").arg(size);
        const QByteArray content = patterned(size);
        writeFile(inRoot(name), content);
        writeFile(inLocal(name), content);

        struct Way {
            const char *what;
            std::function<int()> get;
            std::function<int()> put;
        };
        QList<Way> ways = {
            {"curl", [&] { return curlGet(name, "g.curl"); },
             [&] { return curlPut(name, "p.curl"); }},
            {"tftp-hpa", [&] { return hpa("get", name, "g.hpa"); },
             [&] { return hpa("put", name, "p.hpa"); }},
        };
        if (allClients) {
            ways.append({"curl blksize 1428",
                         [&] { return curlGet(name, "g.1428", {"--tftp-blksize", "1428"}); },
                         [&] { return curlPut(name, "p.1428", {"--tftp-blksize", "1428"}); }});
            ways.append({"curl without options",
                         [&] { return curlGet(name, "g.plain", {"--tftp-no-options"}); },
                         [&] { return curlPut(name, "p.plain", {"--tftp-no-options"}); }});
        }
        int n = 0;
        for (const Way &w : ways) {
            const QString suffix = QStringList{"curl", "hpa", "1428", "plain"}.at(n++);
            EXPECT_EQ(w.get(), 0) << w.what << " get " << size;
            EXPECT_EQ(readFile(inLocal("g." + suffix)), content) << w.what << " get " << size;
            EXPECT_EQ(w.put(), 0) << w.what << " put " << size;
            ASSERT_TRUE(spinUntil([&] { return server.SessionCount() == 0; }, 3000));
            EXPECT_EQ(readFile(inRoot("p." + suffix)), content) << w.what << " put " << size;
        }
        EXPECT_EQ(recorder.count(3), 2 * ways.size());
        for (const Report &r : recorder.reports)
            EXPECT_GE(r.status, 0) << "report " << r.status << " at size " << size;
        recorder.reports.clear();
    }

    AppInstance app;
    QTemporaryDir tmp;
    QString root;
    QString local;
    Recorder recorder;
    VrTFTPServer server;
};

TEST_F(TftpInterop, SmallFilesTravelUnchangedBothWays)
{
    for (qsizetype size : {0, 511, 512, 1024, 1 << 20})
        roundTrips(size, true);
}

// 40 MiB in 512-byte blocks passes block 65535: the numbers roll over.
TEST_F(TftpInterop, FortyMiBRollsBlockNumbersOver)
{
    roundTrips(40 << 20, false);
}

TEST_F(TftpInterop, ClientsSeeMissingFilesAndRefusedNames)
{
    writeFile(tmp.filePath("secret"), "secret");
    writeFile(inLocal("s"), "upload");
    EXPECT_NE(curlGet("missing.bin", "m"), 0);
    EXPECT_TRUE(recorder.has(-1102));
    EXPECT_NE(curlGet("../secret", "s", {"--path-as-is"}), 0);
    // tftp-hpa exits with 0 after an error packet: the reports tell.
    hpa("put", "s", "../secret2");
    hpa("get", "..\\secret", "s2");
    EXPECT_EQ(recorder.count(-1103), 3);
    EXPECT_FALSE(QFile::exists(tmp.filePath("secret2")));
    EXPECT_FALSE(QFile::exists(inLocal("s2")) && !readFile(inLocal("s2")).isEmpty());
}

} // namespace
