#pragma once
// The QoS, schedule and Internet connection pages against the simulated access point: a factory-new device
// per test, the page opened as the menu would, used with clicks and keys, and
// the device read back with a separate SNMP client.
#include "QtPrinters.h"
#include "SimulatedPageFixture.h"
#include "VrStatusBar.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace svctest {

inline const std::string P = "1.3.6.1.4.1.48213.10.37.37.";

template <class Page>
class PageTest : public SimulatedPageFixture<Page>
{
protected:
    using Base = SimulatedPageFixture<Page>;
    using Base::page;
    using Base::device;
    using Base::client;

    QTreeWidget *list(const char *name) { return this->template find<QTreeWidget>(name); }

    // Typing goes to the field with the focus, as a user's would.
    void type(const char *name, const QString &text)
    {
        this->edit(name)->setFocus();
        Base::type(name, text);
    }
    void check(const char *name, bool on)
    {
        auto *box = this->template find<QAbstractButton>(name);
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
    QString result(const char *bar) { return this->template find<VrStatusBar>(bar)->panel(0)->text(); }
    QStringList column(const char *name, int c)
    {
        QStringList texts;
        QTreeWidget *view = list(name);
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            texts << view->topLevelItem(i)->text(c);
        return texts;
    }

    std::string address(const std::string &oid)
    {
        const std::string b = client->get(oid).bytes;
        if (b.size() != 4)
            return "?";
        return std::to_string(uint8_t(b[0])) + "." + std::to_string(uint8_t(b[1])) + "."
               + std::to_string(uint8_t(b[2])) + "." + std::to_string(uint8_t(b[3]));
    }
    // Sets the device accepted for an object, from the simulator's log.
    int setsOf(const std::string &oid) { return this->acceptedSetsOf(oid); }
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
};

} // namespace svctest
