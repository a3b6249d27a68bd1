#pragma once
// The QoS, schedule and Internet connection pages against the simulated access point: a factory-new device
// per test, the page opened as the menu would, used with clicks and keys, and
// the device read back with a separate SNMP client.
#include "ApsimProcess.h"
#include "QtPrinters.h"
#include "SnmpTestClient.h"
#include "VrMessageBox.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"
#include "VrStatusBar.h"

#include <QAbstractButton>
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

namespace svctest {

inline const std::string P = "1.3.6.1.4.1.48213.10.37.37.";

template <class Page>
class PageTest : public ::testing::Test
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
    QTreeWidget *list(const char *name) { return find<QTreeWidget>(name); }

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
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }
    void click(const char *name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    void check(const char *name, bool on)
    {
        auto *box = find<QAbstractButton>(name);
        if (box->isChecked() != on)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }
    // A click on a row of a list view, or on its empty space below the rows.
    void clickRow(const char *name, int row)
    {
        QTreeWidget *view = list(name);
        QPoint at(10, view->viewport()->height() - 3);
        if (row >= 0)
            at = view->visualItemRect(view->topLevelItem(row)).center();
        else if (view->itemAt(at))
            return view->clearSelection(); // no empty space left: what such a click does
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    }
    QString result(const char *bar) { return find<VrStatusBar>(bar)->panel(0)->text(); }
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
    // Every set the device accepted.
    int allSets()
    {
        const std::string log = device.log();
        int count = 0;
        for (size_t at = log.find("\nset "); at != std::string::npos; at = log.find("\nset ", at + 1)) {
            const size_t end = log.find('\n', at + 1);
            if (log.compare(end - 4, 4, "-> 0") == 0)
                ++count;
        }
        return count;
    }
    // Lets the event loop run until the condition holds or the time is up.
    template <class Condition> bool waitFor(Condition condition, int ms = 5000)
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

} // namespace svctest
