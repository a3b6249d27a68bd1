#pragma once
// A page of the wireless area against the simulated access point: the
// simulator runs with its request log, the page is used as a user would and
// the device is read back with a separate SNMP client.
#include "ApsimProcess.h"
#include "SnmpTestClient.h"
#include "VrMessageBox.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"
#include "VrStatusBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QDialog>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>

inline const std::string kP = "1.3.6.1.4.1.48213.10.37.37.";

template <class Page>
class DevicePage : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static QTemporaryDir bootsDir;
        OpenSession(bootsDir.path());
    }

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
    void click(const char *button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void tick(const char *box)
    {
        QCheckBox *b = find<QCheckBox>(box);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, b->height() / 2));
    }
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
    QStringList items(const char *name)
    {
        QStringList texts;
        QComboBox *c = combo(name);
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
        return texts;
    }
    QString status() { return find<VrStatusBar>("StatusBar1")->simpleText(); }
    long number(const std::string &oid) { return client->get(oid).number; }
    std::string text(const std::string &oid) { return client->get(oid).bytes; }
    // Sets (accepted or not) the device received for an object.
    int setsOf(const std::string &oid)
    {
        const std::string log = device.log();
        const std::string line = "set " + oid + " -> ";
        int count = 0;
        for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
            ++count;
        return count;
    }
    size_t firstSet(const std::string &oid) { return device.log().find("set " + oid + " -> "); }
    // The dialog fits a 1366 x 768 screen with its task bar.
    void expectFitsScreen()
    {
        QApplication::processEvents();
        page->layout()->activate();
        EXPECT_EQ(page->size(), page->sizeHint());
        EXPECT_LE(page->width(), 1366);
        EXPECT_LE(page->height(), 740);
    }

    QTemporaryDir dir;
    qrt::test::ApsimProcess device;
    std::unique_ptr<qrt::test::SnmpTestClient> client;
    std::unique_ptr<Page> page;
    VrMessageBoxRecorder boxes;
};
