#pragma once
// A page of this area against a factory-new simulated access point.
#include "SimulatedPageFixture.h"
#include "VrStatusBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

template <class Page>
class PageFixture : public SimulatedPageFixture<Page>
{
protected:
    QCheckBox *check(const char *name) { return this->template find<QCheckBox>(name); }
    QString status() { return this->template find<VrStatusBar>("StatusBar")->panel(0)->text(); }

    // Sets the device accepted, from the simulator's log: of one object, or
    // of any object.
    int setsOf(const std::string &oid) { return this->logCount("set " + oid + " -> 0\n"); }
    int sets()
    {
        int n = 0;
        const std::string log = this->device.log();
        for (size_t at = log.find("set "); at != std::string::npos; at = log.find("set ", at + 1)) {
            const size_t end = log.find('\n', at);
            n += end != std::string::npos && log.compare(end - 4, 4, "-> 0") == 0;
        }
        return n;
    }

    void expectFitsScreen()
    {
        QApplication::processEvents();
        EXPECT_LE(this->page->width(), 1366);
        EXPECT_LE(this->page->height(), 740);
    }
};
