#pragma once
// The router pages against the simulated access point in its router mode: a
// factory-new device per test, the page opened as the menu would, used with
// clicks and keys, and the device read back with a separate SNMP client.
#include "SimulatedPageFixture.h"
#include "VrStatusBar.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace routertest {

inline const std::string P = "1.3.6.1.4.1.48213.10.37.37.";

template <class Page>
class RouterPageTest : public SimulatedPageFixture<Page>
{
protected:
    using Base = SimulatedPageFixture<Page>;
    using Base::client;
    using Base::device;
    using Base::edit;
    using Base::page;

    // The router's LAN is 192.168.1.0/24 (the agent still answers on loopback).
    void startDevice()
    {
        ASSERT_NO_FATAL_FAILURE(Base::startDevice({"--lan", "192.168.1.1/24"}));
        ASSERT_TRUE(client->setInt(P + "2.1.3.2.1.1.18.1", 5).ok()); // router mode
    }
    void openPage()
    {
        Base::openPage();
        waitIdle();
    }
    void waitIdle() { ASSERT_TRUE(waitFor([this] { return !page->Busy(); })); }

    template <class W> W *find(const char *name) { return Base::template find<W>(name); }
    QTreeWidget *list(const char *name) { return find<QTreeWidget>(name); }

    void type(const char *name, const QString &text)
    {
        QLineEdit *e = edit(name);
        e->setFocus();
        // The test library types ASCII only; other text goes in as a paste would.
        bool ascii = true;
        for (const QChar c : text)
            ascii = ascii && c.unicode() < 128;
        if (ascii) {
            Base::type(name, text);
        } else {
            e->clear();
            e->insert(text);
        }
    }
    // Clicks a button and waits for what it started.
    void click(const char *name)
    {
        Base::click(name);
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

    long number(const std::string &oid) { return Base::number(oid); }
    std::string text(const std::string &oid) { return Base::text(oid); }
    std::string address(const std::string &oid)
    {
        const std::string b = client->get(oid).bytes;
        if (b.size() != 4)
            return "?";
        return std::to_string(uint8_t(b[0])) + "." + std::to_string(uint8_t(b[1])) + "."
               + std::to_string(uint8_t(b[2])) + "." + std::to_string(uint8_t(b[3]));
    }
    int setsOf(const std::string &oid) { return Base::acceptedSetsOf(oid); }
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

};

} // namespace routertest
