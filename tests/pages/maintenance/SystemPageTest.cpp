// The system page and the wait dialog against the simulated access point.
#include "PageFixture.h"
#include "TFM_Sytem.h"

#include <QCloseEvent>

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";
const std::string kRestart = P + "4.2.1";
const std::string kFactory = P + "4.2.2";
const std::string kApply = P + "4.2.3";
const std::string kSsid = P + "2.1.3.2.1.1.1.1";

class SystemPage : public PageFixture<TFM_Sytem>
{
};

} // namespace

TEST_F(SystemPage, EachButtonSendsItsOneObjectAndWaits)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    EXPECT_EQ(page->windowTitle(), "Tools \\ System");
    expectFitsScreen();

    struct Case {
        const char *button;
        const std::string *sent;
        const char *question; // null: no confirmation
        const char *caption;
        const char *label3;
        int seconds;
    };
    const Case cases[] = {
        {"Button1", &kRestart, "Device will reboot, continue?", "System is rebooting, please waiting.....",
         "The device is restarting.", 50},
        {"Button3", &kApply, nullptr, "Please wait", "The settings are saving and taking effect.", 50},
        {"Button4", &kRestart, "All of your changes will be discarded! continue?",
         "The device is rebooting, please waiting.....", "The device is restarting.", 60},
        {"Button2", &kFactory, "Device will reboot, continue?", "System is rebooting, please waiting.....!",
         "The system IP will be 192.168.0.50 !", 60},
    };
    int restarts = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        boxes.clear();
        waits.shown.clear();
        restarts += c.sent == &kRestart;
        click(c.button);
        if (c.question) {
            ASSERT_EQ(boxes.count(), 1);
            EXPECT_EQ(boxes.lastText(), c.question);
            EXPECT_EQ(boxes.calls().last().caption, "Warning");
        } else {
            EXPECT_EQ(boxes.count(), 0);
        }
        ASSERT_EQ(waits.shown.size(), 1);
        EXPECT_EQ(waits.shown[0].caption, c.caption);
        EXPECT_EQ(waits.shown[0].label3, c.label3);
        EXPECT_EQ(waits.shown[0].seconds, c.seconds);
        ASSERT_TRUE(waitFor([&] { return setsOf(*c.sent) >= (c.sent == &kRestart ? restarts : 1); }));
    }
    // Never both objects, and the reset only from its own button.
    EXPECT_EQ(setsOf(kRestart), 2);
    EXPECT_EQ(setsOf(kFactory), 1);
    EXPECT_EQ(setsOf(kApply), 1);
}

TEST_F(SystemPage, CancelSendsNothingAndShowsNoWait)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    client->setBytes(kSsid, "kept");
    openPage();
    boxes.setAnswer(QMessageBox::Cancel);
    for (const char *button : {"Button1", "Button2", "Button4"})
        click(button);
    EXPECT_EQ(boxes.count(), 3);
    EXPECT_TRUE(waits.shown.isEmpty());
    QTest::qWait(100);
    EXPECT_EQ(setsOf(kRestart) + setsOf(kFactory) + setsOf(kApply), 0);
    EXPECT_EQ(text(kSsid), "kept");
}

TEST_F(SystemPage, RefusedRestartIsReportedInTheStatusBar)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--fail", kRestart + "=5"}));
    openPage();
    click("Button1");
    ASSERT_TRUE(waitFor([&] { return !status().isEmpty(); }));
    EXPECT_NE(status(), "Setting Success!");
    EXPECT_EQ(setsOf(kFactory), 0);
}

// The wait dialog counts N-1 down to 1, stays N + 5 ticks in all and cannot
// be closed by the user on the way.
TEST(WaitDialog, CountsDownThenClosesByItselfAndRefusesToCloseEarly)
{
    VrSetTimeScale(0.01);
    g_SNMPDevice.address = QStringLiteral("127.0.0.1");
    g_SNMPDevice.port = uint16_t(qrt::test::freeUdpPort()); // nobody answers the version read
    TFM_Waiting waiting;
    waiting.SendReboot = false;
    waiting.SetSeconds(5);
    QList<QPair<int, int>> states;
    int refusedCloses = 0;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QPair<int, int> now(waiting.Seconds(), waiting.ExtraTicks());
        if (states.isEmpty() || states.last() != now)
            states.append(now);
        if (waiting.isVisible() && waiting.ExtraTicks() < 2 && states.size() == 3) {
            QCloseEvent close;
            QApplication::sendEvent(&waiting, &close);
            waiting.reject();
            refusedCloses += waiting.isVisible() && !close.isAccepted();
        }
    });
    watch.start();
    waiting.exec();
    watch.stop();
    states.append(qMakePair(waiting.Seconds(), waiting.ExtraTicks()));
    VrSetTimeScale(1.0);
    EXPECT_GE(refusedCloses, 1);
    // (5,0) (4,0) (3,0) (2,0) (1,0) (1,1) .. (1,5) and the closing state.
    ASSERT_EQ(states.size(), 11);
    EXPECT_EQ(states[1], qMakePair(4, 0));
    EXPECT_EQ(states[4], qMakePair(1, 0));
    EXPECT_EQ(states[9], qMakePair(1, 5));
    EXPECT_EQ(states[10].second, 6); // the tenth tick: N + 5
}
