#pragma once
// A page of the wireless area against the simulated access point.
#include "SimulatedPageFixture.h"
#include "VrSNMPTarget.h"
#include "VrStatusBar.h"
#include "VrTimeScale.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <fstream>

inline const std::string kP = "1.3.6.1.4.1.48213.10.37.37.";

template <class Page>
class DevicePage : public SimulatedPageFixture<Page>
{
protected:
    void tick(const char *box)
    {
        QCheckBox *b = this->template find<QCheckBox>(box);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, b->height() / 2));
    }
    QStringList items(const char *name)
    {
        QStringList texts;
        QComboBox *c = this->combo(name);
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
        return texts;
    }
    QString status() { return this->template find<VrStatusBar>("StatusBar1")->simpleText(); }
    // A device that keeps silent while its mute file exists.
    std::string muteFile() { return this->dir.filePath("mute").toStdString(); }
    void startMutableDevice(std::vector<std::string> extra = {})
    {
        extra.insert(extra.end(), {"--mute-file", muteFile()});
        ASSERT_NO_FATAL_FAILURE(this->startDevice(extra));
    }
    // Opens the page while that device keeps silent (each read waits out a
    // hundredth of its time-out, once), then lets the device answer again.
    void openWhileSilent()
    {
        std::ofstream(muteFile()) << "";
        const int retries = g_SNMPRetries;
        g_SNMPRetries = 0;
        VrSetTimeScale(0.01);
        this->openPage();
        VrSetTimeScale(1.0);
        g_SNMPRetries = retries;
        std::remove(muteFile().c_str());
    }
    // The refusal of a Save of settings the page could not read.
    void expectUnreadRefused(const QString &group)
    {
        ASSERT_EQ(this->boxes.count(), 1);
        EXPECT_TRUE(this->boxes.lastText().contains("\"" + group + "\" could not be read"))
            << this->boxes.lastText().toStdString();
        this->boxes.clear();
    }
    // Sets (accepted or not) the device received for an object.
    int setsOf(const std::string &oid) { return this->logCount("set " + oid + " -> "); }
    size_t firstSet(const std::string &oid) { return this->device.log().find("set " + oid + " -> "); }
    // The dialog fits a 1366 x 768 screen with its task bar.
    void expectFitsScreen()
    {
        QApplication::processEvents();
        this->page->layout()->activate();
        EXPECT_EQ(this->page->size(), this->page->sizeHint());
        EXPECT_LE(this->page->width(), 1366);
        EXPECT_LE(this->page->height(), 740);
    }
};
