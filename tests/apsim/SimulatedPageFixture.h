#pragma once
// A page against a factory-new simulated access point, for the page tests of
// every area: the simulator runs on a free loopback port with its request log,
// the global target points at it with SNMPv2c, the page is used as a user
// would, and what the device holds is read back with a separate SNMP client.
// Message boxes are recorded, never shown. An area's fixture derives from it
// and adds what only its pages need.
#include "ApsimProcess.h"
#include "SnmpTestClient.h"
#include "VrMessageBox.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

template <class Page>
class SimulatedPageFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static QTemporaryDir bootsDir;
        OpenSession(bootsDir.path());
    }

    // No reboot delay and a request log; extra options come after these.
    void startDevice(std::vector<std::string> extra = {})
    {
        std::vector<std::string> args{"--reboot-seconds", "0", "-v"};
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

    // What a user's pick from the drop-down list does.
    void choose(const char *name, const QString &text)
    {
        QComboBox *c = combo(name);
        const int index = c->findText(text);
        ASSERT_GE(index, 0) << name << " has no " << text.toStdString();
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    void type(const char *name, const QString &text)
    {
        QLineEdit *e = edit(name);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }
    void click(const char *name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }

    long number(const std::string &oid) { return client->get(oid).number; }
    std::string text(const std::string &oid) { return client->get(oid).bytes; }
    // How often a text stands in the simulator's log.
    int logCount(const std::string &line)
    {
        const std::string log = device.log();
        int n = 0;
        for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
            ++n;
        return n;
    }
    // Sets of an object the device accepted.
    int acceptedSetsOf(const std::string &oid) { return logCount("set " + oid + " -> 0"); }

    QTemporaryDir dir; // for files the simulator is given
    qrt::test::ApsimProcess device;
    std::unique_ptr<qrt::test::SnmpTestClient> client;
    std::unique_ptr<Page> page;
    VrMessageBoxRecorder boxes;
};
