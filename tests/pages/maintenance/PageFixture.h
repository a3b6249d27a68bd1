#pragma once
// A maintenance page against a factory-new simulated access point whose TFTP
// client talks to the page's server on a private port. Long waits run at a
// two-hundredth of their length, so that the commands' time-outs of 100 s
// still give a simulator busy with a transfer half a second; every wait
// dialog shown is recorded.
#include "SimulatedPageFixture.h"
#include "TFM_Waiting.h"
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
    bool readable;        // not greyed out with the disabled page behind it
    int secondsLeft = -1; // when it closed
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
        auto *w = qobject_cast<TFM_Waiting *>(watched);
        if (w && event->type() == QEvent::Show)
            shown.append({w->windowTitle(), w->Label3(), w->Seconds(), !w->Counting() && w->isModal() == false,
                          w->isEnabled()});
        if (w && event->type() == QEvent::Hide && !shown.isEmpty())
            shown.last().secondsLeft = w->Seconds();
        return false;
    }
};

template <class Page>
class PageFixture : public SimulatedPageFixture<Page>
{
protected:
    using Base = SimulatedPageFixture<Page>;
    using Base::page;
    using Base::device;
    using Base::client;
    using Base::boxes;

    void SetUp() override { VrSetTimeScale(0.005); }
    void TearDown() override
    {
        page.reset();
        VrSetTimeScale(1.0);
    }

    // The device's TFTP client talks to the pages' server on a private port.
    void startDevice(std::vector<std::string> extra = {})
    {
        tftpPort = qrt::test::freeUdpPort();
        qputenv("QRT5150_TFTP_PORT", QByteArray::number(tftpPort));
        std::vector<std::string> args{"--tftp-port", std::to_string(tftpPort), "--tftp-timeout-ms", "300"};
        args.insert(args.end(), extra.begin(), extra.end());
        Base::startDevice(args);
    }

    QCheckBox *check(const char *name) { return this->template find<QCheckBox>(name); }
    void type(const char *name, const QString &text) { this->edit(name)->setText(text); }
    QString status(const char *bar = "StatusBar")
    {
        return this->template find<VrStatusBar>(bar)->panel(0)->text();
    }

    // Lets the event loop run until the condition holds or the time is up.
    bool waitFor(const std::function<bool()> &done, int ms = 15000)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            QTest::qWait(5);
        return done();
    }

    // Sets the device accepted, from the simulator's log.
    int setsOf(const std::string &oid) { return count("set " + oid + " -> 0\n"); }
    int count(const std::string &line) { return this->logCount(line); }

    void expectFitsScreen()
    {
        QApplication::processEvents();
        EXPECT_LE(page->width(), 1366);
        EXPECT_LE(page->height(), 740);
    }

    int tftpPort = 0;
    WaitRecorder waits;
};
