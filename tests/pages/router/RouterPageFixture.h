#pragma once
// The router pages against the simulated access point in its router mode: a
// factory-new device per test, the page opened as the menu would, used with
// clicks and keys, and the device read back with a separate SNMP client.
#include "ApsimProcess.h"
#include "QtPrinters.h"
#include "SnmpTestClient.h"
#include "VrMessageBox.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"
#include "VrStatusBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace routertest {

inline const std::string P = "1.3.6.1.4.1.48213.10.37.37.";

template <class Page>
class RouterPageTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static QTemporaryDir bootsDir;
        OpenSession(bootsDir.path());
    }

    // The router's LAN is 192.168.1.0/24 (the agent still answers on loopback).
    void startDevice()
    {
        std::string why;
        ASSERT_TRUE(device.start({"--reboot-seconds", "0", "--lan", "192.168.1.1/24", "-v"}, &why)) << why;
        g_SNMPDevice.address = QStringLiteral("127.0.0.1");
        g_SNMPDevice.port = uint16_t(device.port());
        g_SNMPSecurity.version = VrSNMPv2c;
        client = std::make_unique<qrt::test::SnmpTestClient>(
            qrt::test::SnmpTestClient::community(device.address(), "granite", 1));
        ASSERT_TRUE(client->setInt(P + "2.1.3.2.1.1.18.1", 5).ok()); // router mode
    }

    void openPage()
    {
        page = std::make_unique<Page>();
        page->show();
        waitIdle();
    }
    void waitIdle() { ASSERT_TRUE(waitFor([this] { return !page->Busy(); })); }

    template <class W> W *find(const char *name)
    {
        W *w = page->template findChild<W *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox *combo(const char *name) { return find<QComboBox>(name); }
    QLineEdit *edit(const char *name) { return find<QLineEdit>(name); }
    QTreeWidget *list(const char *name) { return find<QTreeWidget>(name); }

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
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        // The test library types ASCII only; other text goes in as a paste would.
        bool ascii = true;
        for (const QChar c : text)
            ascii = ascii && c.unicode() < 128;
        if (ascii)
            QTest::keyClicks(e, text);
        else
            e->insert(text);
    }
    // Clicks a button and waits for what it started.
    void click(const char *name)
    {
        QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton);
        waitIdle();
    }
    void pick(const char *listName, int row)
    {
        QTreeWidget *view = list(listName);
        ASSERT_LT(row, view->topLevelItemCount());
        view->setCurrentItem(view->topLevelItem(row));
    }
    QString result() { return find<VrStatusBar>("StatusBar1")->panel(0)->text(); }
    QString change() { return find<VrStatusBar>("StatusBar1")->panel(1)->text(); }
    QStringList column(const char *name, int c)
    {
        QStringList texts;
        QTreeWidget *view = list(name);
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            texts << view->topLevelItem(i)->text(c);
        return texts;
    }

    long number(const std::string &oid) { return client->get(oid).number; }
    std::string text(const std::string &oid) { return client->get(oid).bytes; }
    std::string address(const std::string &oid)
    {
        const std::string b = client->get(oid).bytes;
        if (b.size() != 4)
            return "?";
        return std::to_string(uint8_t(b[0])) + "." + std::to_string(uint8_t(b[1])) + "."
               + std::to_string(uint8_t(b[2])) + "." + std::to_string(uint8_t(b[3]));
    }
    // Sets the device accepted for an object, from the simulator's log.
    int setsOf(const std::string &oid)
    {
        const std::string log = device.log();
        const std::string line = "set " + oid + " -> 0";
        int count = 0;
        for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
            ++count;
        return count;
    }
    template <class Condition> bool waitFor(Condition condition, int ms = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < ms)
            QTest::qWait(10);
        return condition();
    }
    void expectFits()
    {
        page->adjustSize();
        EXPECT_LE(page->width(), 1366);
        EXPECT_LE(page->height(), 740);
    }

    ::qrt::test::ApsimProcess device;
    std::unique_ptr<qrt::test::SnmpTestClient> client;
    std::unique_ptr<Page> page;
    VrMessageBoxRecorder boxes;
};

} // namespace routertest
