#pragma once
// A page of this area against a factory-new simulated access point: the page
// is used as a user would, and what the device holds is read back with a
// separate SNMP client.
#include "ApsimProcess.h"
#include "SnmpTestClient.h"
#include "VrMessageBox.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"
#include "VrStatusBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

template <class Page>
class PageFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static QTemporaryDir bootsDir;
        OpenSession(bootsDir.path());
    }

    void startDevice()
    {
        std::string why;
        ASSERT_TRUE(device.start({"--reboot-seconds", "0", "-v"}, &why)) << why;
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
    void type(const char *name, const QString &text)
    {
        QLineEdit *e = edit(name);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }
    void click(const char *name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
    QString status() { return find<VrStatusBar>("StatusBar")->panel(0)->text(); }

    long number(const std::string &oid) { return client->get(oid).number; }
    std::string text(const std::string &oid) { return client->get(oid).bytes; }
    // Sets the device accepted, from the simulator's log: of one object, or
    // of any object.
    int setsOf(const std::string &oid) { return count("set " + oid + " -> 0\n"); }
    int sets()
    {
        int n = 0;
        const std::string log = device.log();
        for (size_t at = log.find("set "); at != std::string::npos; at = log.find("set ", at + 1)) {
            const size_t end = log.find('\n', at);
            n += end != std::string::npos && log.compare(end - 4, 4, "-> 0") == 0;
        }
        return n;
    }
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

    qrt::test::ApsimProcess device;
    std::unique_ptr<qrt::test::SnmpTestClient> client;
    std::unique_ptr<Page> page;
    VrMessageBoxRecorder boxes;
};
