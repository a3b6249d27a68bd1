#pragma once
// A maintenance page against a factory-new simulated access point whose TFTP
// client talks to the page's server on a private port. Long waits run at a
// thousandth of their length; every wait dialog shown is recorded.
#include "ApsimProcess.h"
#include "SnmpTestClient.h"
#include "TFM_Waiting.h"
#include "VrMessageBox.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"
#include "VrStatusBar.h"
#include "VrTimeScale.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

struct ShownWait {
    QString caption;
    QString label3;
    int seconds;
    bool busy;
};

// Records each wait dialog as it appears.
class WaitRecorder : public QObject
{
public:
    WaitRecorder() { qApp->installEventFilter(this); }
    ~WaitRecorder() override { qApp->removeEventFilter(this); }
    QList<ShownWait> shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            if (auto *w = qobject_cast<TFM_Waiting *>(watched))
                shown.append({w->windowTitle(), w->Label3(), w->Seconds(), !w->Counting() && w->isModal() == false});
        return false;
    }
};

template <class Page>
class PageFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static QTemporaryDir bootsDir;
        OpenSession(bootsDir.path());
    }

    void SetUp() override { VrSetTimeScale(0.001); }
    void TearDown() override
    {
        page.reset();
        VrSetTimeScale(1.0);
    }

    void startDevice(std::vector<std::string> extra = {})
    {
        tftpPort = qrt::test::freeUdpPort();
        qputenv("QRT5150_TFTP_PORT", QByteArray::number(tftpPort));
        std::vector<std::string> args{"--reboot-seconds", "0", "-v", "--tftp-port", std::to_string(tftpPort),
                                      "--tftp-timeout-ms", "300"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::string why;
        ASSERT_TRUE(device.start(args, &why)) << why;
        g_SNMPDevice.address = QStringLiteral("127.0.0.1");
        g_SNMPDevice.port = uint16_t(device.port());
        g_SNMPSecurity.version = VrSNMPv2c;
        client = std::make_unique<qrt::test::SnmpTestClient>(
            qrt::test::SnmpTestClient::community(device.address(), "granite", 1));
    }

    void openPage()
    {
        page = std::make_unique<Page>();
        page->show();
    }

    template <class W> W *find(const char *name)
    {
        W *w = page->template findChild<W *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox *combo(const char *name) { return find<QComboBox>(name); }
    QLineEdit *edit(const char *name) { return find<QLineEdit>(name); }
    QCheckBox *check(const char *name) { return find<QCheckBox>(name); }

    void choose(const char *name, const QString &text)
    {
        QComboBox *c = combo(name);
        const int index = c->findText(text);
        ASSERT_GE(index, 0) << name << " has no " << text.toStdString();
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    void type(const char *name, const QString &text) { edit(name)->setText(text); }
    void click(const char *name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
    QString status(const char *bar = "StatusBar") { return find<VrStatusBar>(bar)->panel(0)->text(); }

    // Lets the event loop run until the condition holds or the time is up.
    bool waitFor(const std::function<bool()> &done, int ms = 15000)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            QTest::qWait(5);
        return done();
    }

    long number(const std::string &oid) { return client->get(oid).number; }
    std::string text(const std::string &oid) { return client->get(oid).bytes; }
    // Sets the device accepted, from the simulator's log.
    int setsOf(const std::string &oid) { return count("set " + oid + " -> 0\n"); }
    int count(const std::string &line)
    {
        const std::string log = device.log();
        int n = 0;
        for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
            ++n;
        return n;
    }

    void expectFitsScreen()
    {
        QApplication::processEvents();
        EXPECT_LE(page->width(), 1366);
        EXPECT_LE(page->height(), 740);
    }

    int tftpPort = 0;
    qrt::test::ApsimProcess device;
    std::unique_ptr<qrt::test::SnmpTestClient> client;
    std::unique_ptr<Page> page;
    VrMessageBoxRecorder boxes;
    WaitRecorder waits;
};
