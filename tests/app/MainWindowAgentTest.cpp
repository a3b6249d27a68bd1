// The main window against the simulated access point: the status poll, its
// lamps and status line, a stopped agent and its recovery.
#include "ApsimProcess.h"
#include "SnmpTestClient.h"
#include "StatusLamp.h"
#include "TFM_Information.h"
#include "TMainForm.h"
#include "VrMessageBox.h"
#include "VrSNMPTarget.h"
#include "VrTimeScale.h"

#include "../unit/TempFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QApplication>
#include <QWindow>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cstdio>

namespace {

const QRegularExpression AnsweredStatus(QStringLiteral("^Get: .+\\. Receive at \\d\\d:\\d\\d:\\d\\d [AP]M\\.$"));
const QString TimedOut = QStringLiteral("(SNMPClass) SNMP request timed out!");

class MainWindowAgent : public testing::Test
{
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(startAgent({})); }
    void startAgent(const std::vector<std::string> &options)
    {
        std::string why;
        ASSERT_TRUE(m_agent.start(options, &why)) << why;
        qputenv("XDG_RUNTIME_DIR", m_dir.path(QString()).toLocal8Bit());
        // The host keeps the device's file, with the simulator's port, in conf/.
        m_dir.write(QStringLiteral("registry.ini"),
                    "[SOFTWARE\\Varnell\\Netvane5.1\\MibFile]\nPath=" + m_dir.path(QString()).toUtf8() + "/\n");
        m_dir.write(QStringLiteral("127.0.0.1.cfg"),
                    "[Program Information]\nAgentPort=" + QByteArray::number(m_agent.port())
                        + "\nVersion=1\nSecurityModel=1\nSecurityLevel=0\nAuthProtocol=0\nPrivProtocol=0\n");
        qputenv("QRT5150_REGISTRY", m_dir.path(QStringLiteral("registry.ini")).toLocal8Bit());
        // The poll's one-minute time-out becomes 600 ms.
        VrSetTimeScale(0.01);
    }
    void TearDown() override
    {
        VrSetTimeScale(1.0);
        qunsetenv("QRT5150_REGISTRY");
    }

    static bool allDark(TMainForm &form)
    {
        for (int lamp = 0; lamp < DevicePicture::LampCount; ++lamp)
            if (form.lamp(DevicePicture::Lamp(lamp))->isLit())
                return false;
        return true;
    }

    QString hidden(TMainForm &form, const char *name)
    {
        if (auto *combo = form.findChild<QComboBox *>(QString::fromLatin1(name)))
            return combo->currentText();
        return form.findChild<QLineEdit *>(QString::fromLatin1(name))->text();
    }

    qrt::test::ApsimProcess m_agent;
    ScratchDir m_dir;
    VrMessageBoxRecorder m_boxes;
};

} // namespace

TEST_F(MainWindowAgent, AnsweredPollLightsTheLampsAndStoppedAgentTurnsThemWhiteUntilItIsBack)
{
    TMainForm form;
    ASSERT_TRUE(form.Start({QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rhollow")}));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("QRT-5150 : 127.0.0.1"));

    QTRY_VERIFY_WITH_TIMEOUT(AnsweredStatus.match(form.statusText()).hasMatch(), 5000);
    EXPECT_FALSE(form.statusText().contains(QStringLiteral("Request:")));
    EXPECT_TRUE(form.lamp(DevicePicture::Power)->isLit());
    // The next poll follows two seconds after the answer.
    EXPECT_TRUE(form.LedStatus.isActive());

    m_agent.stop();
    QTRY_COMPARE_WITH_TIMEOUT(form.statusText(), TimedOut, 8000);
    EXPECT_TRUE(allDark(form));
    // Polling goes on while the agent is away.
    QTRY_VERIFY_WITH_TIMEOUT(form.LedStatus.isActive(), 1000);

    std::string why;
    ASSERT_TRUE(m_agent.restart(&why)) << why;
    QTRY_VERIFY_WITH_TIMEOUT(AnsweredStatus.match(form.statusText()).hasMatch(), 8000);
    EXPECT_TRUE(form.lamp(DevicePicture::Power)->isLit());
    EXPECT_EQ(m_boxes.count(), 0);
}

TEST_F(MainWindowAgent, HiddenSettingsAreReadAndBlinkingWirelessLedFlashesWlanWhileLanStaysLit)
{
    // The factory setting: the 2.4 GHz LED blinks.
    TMainForm form;
    ASSERT_TRUE(form.Start({QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rhollow")}));
    QTRY_COMPARE_WITH_TIMEOUT(hidden(form, "CB_ApMode"), QStringLiteral("Access Point"), 5000);
    EXPECT_EQ(hidden(form, "CB_Fuction1"), QStringLiteral("Disable"));
    QTRY_COMPARE_WITH_TIMEOUT(hidden(form, "CB_Led2dot4G"), QStringLiteral("blinking"), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(hidden(form, "IPAddressEdit"), QStringLiteral("127.0.0.1"), 5000);
    EXPECT_FALSE(hidden(form, "SubMaskEdit").isEmpty());

    QTRY_VERIFY_WITH_TIMEOUT(form.lamp(DevicePicture::Wlan)->isLit(), 5000);
    EXPECT_TRUE(form.lamp(DevicePicture::Lan)->isLit());
    QTRY_VERIFY_WITH_TIMEOUT(!form.lamp(DevicePicture::Wlan)->isLit(), 2000);
    EXPECT_TRUE(form.lamp(DevicePicture::Lan)->isLit());
    EXPECT_TRUE(form.lamp(DevicePicture::Power)->isLit());
}

TEST_F(MainWindowAgent, WithoutBlinkingLedsTheLanLampFlashesAndWlanStaysWhite)
{
    // The 2.4 GHz LED setting cannot be read (genErr), the 5 GHz one is off.
    m_agent.stop();
    ASSERT_NO_FATAL_FAILURE(startAgent({"--fail", "1.3.6.1.4.1.48213.10.37.37.5.1.4.1.1.6.1=5"}));
    TMainForm form;
    ASSERT_TRUE(form.Start({QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rhollow")}));
    QTRY_COMPARE_WITH_TIMEOUT(hidden(form, "CB_Led5G"), QStringLiteral("disable"), 5000);
    EXPECT_NE(hidden(form, "CB_Led2dot4G"), QStringLiteral("blinking"));

    QTRY_VERIFY_WITH_TIMEOUT(form.lamp(DevicePicture::Lan)->isLit(), 5000);
    EXPECT_FALSE(form.lamp(DevicePicture::Wlan)->isLit());
    QTRY_VERIFY_WITH_TIMEOUT(!form.lamp(DevicePicture::Lan)->isLit(), 2000);
    EXPECT_FALSE(form.lamp(DevicePicture::Wlan)->isLit());
    EXPECT_TRUE(form.lamp(DevicePicture::Power)->isLit());
}

// A device in its router operation (mode 5) gets the router menus once its
// mode has been read; an access point keeps Multi-SSID and VLAN.
TEST_F(MainWindowAgent, RouterOperationShowsTheRouterMenus)
{
    auto device = qrt::test::SnmpTestClient::community(m_agent.address(), "granite");
    ASSERT_TRUE(device.setInt("1.3.6.1.4.1.48213.10.37.37.2.1.3.2.1.1.18.1", 5).ok());
    TMainForm form;
    ASSERT_TRUE(form.Start({QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rhollow")}));
    const auto visible = [&](const char *name) {
        return form.findChild<QAction *>(QString::fromLatin1(name))->isVisible();
    };
    QTRY_VERIFY_WITH_TIMEOUT(visible("act_TFM_InternetConnect"), 8000);
    EXPECT_TRUE(visible("mnuRouterSettings"));
    EXPECT_FALSE(visible("act_TFM_MultiSSIDNewForm"));
    EXPECT_FALSE(visible("act_TFM_VlanSetting"));
}

// An administrator starts the module when a device misbehaves: with the
// device silent, the window is there at once and keeps taking events while
// every read waits, and the lamps come on when the device answers again.
TEST_F(MainWindowAgent, SilentDeviceNeverFreezesTheWindow)
{
    const QString mute = m_dir.path(QStringLiteral("mute"));
    for (const bool v3 : {false, true}) {
        SCOPED_TRACE(v3 ? "SNMPv3 authPriv" : "SNMPv2c");
        m_agent.stop();
        QFile(mute).open(QIODevice::WriteOnly);
        ASSERT_NO_FATAL_FAILURE(startAgent({"--mute-file", mute.toStdString(), "--user",
                                            "ops:SHA:opsauth12:AES:opspriv12"}));
        const QStringList arguments{QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rhollow")};
        // SNMPv3 comes from the device's file: it is read again before every
        // argument, so its Version would replace a /v3 switch.
        if (v3)
            m_dir.write(QStringLiteral("127.0.0.1.cfg"),
                        "[Program Information]\nAgentPort=" + QByteArray::number(m_agent.port())
                            + "\nVersion=3\nSecurityModel=3\nSecurityLevel=2\nSecurityName=ops\n"
                              "AuthProtocol=2\nPrivProtocol=3\nAuthPassword=opsauth12\nPrivPassword=opspriv12\n");

        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(20);
        QElapsedTimer clock;
        clock.start();
        TMainForm form;
        ASSERT_TRUE(form.Start(arguments));
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_TRUE(form.isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(form.statusText(), TimedOut, 8000);
        EXPECT_TRUE(allDark(form));
        // Nothing stalled the event loop while the poll waited.
        EXPECT_GE(ticks, int(clock.elapsed() / 20 / 3));

        QFile::remove(mute);
        QTRY_VERIFY_WITH_TIMEOUT(form.lamp(DevicePicture::Power)->isLit(), 8000);
        QTRY_VERIFY_WITH_TIMEOUT(AnsweredStatus.match(form.statusText()).hasMatch(), 8000);
        QTRY_COMPARE_WITH_TIMEOUT(hidden(form, "CB_ApMode"), QStringLiteral("Access Point"), 8000);
        EXPECT_EQ(m_boxes.count(), 0);
    }
}

// A page that waits for a silent device shows at once and keeps the program
// running, and closing the main window meanwhile (a close request as the
// window system delivers it, with the page still on screen) ends the wait,
// the page and the window within a second.
TEST_F(MainWindowAgent, PageWaitingForASilentDeviceKeepsTheProgramRunning)
{
    TMainForm form;
    ASSERT_TRUE(form.Start({QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rhollow")}));
    QTRY_VERIFY_WITH_TIMEOUT(form.lamp(DevicePicture::Power)->isLit(), 8000);
    const QString mute = m_dir.path(QStringLiteral("mute"));
    m_agent.stop();
    ASSERT_NO_FATAL_FAILURE(startAgent({"--mute-file", mute.toStdString()}));
    QFile(mute).open(QIODevice::WriteOnly);

    int ticks = 0;
    bool opening = false;
    bool ranWhileOpening = false;
    bool pageShown = false;
    QElapsedTimer clock;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        // The page reads the device (30 s time-out) while it shows.
        if (++ticks == 25) {
            ranWhileOpening = opening;
            pageShown = FM_Information == nullptr && QApplication::activeModalWidget() == nullptr
                        && !form.findChildren<TFM_Information *>().isEmpty()
                        && form.findChildren<TFM_Information *>().first()->isVisible();
            clock.start();
            form.windowHandle()->close();
        }
    });
    ticker.start(20);
    opening = true;
    form.findChild<QAction *>(QStringLiteral("act_TFM_Information"))->trigger();
    opening = false;
    EXPECT_TRUE(ranWhileOpening);
    EXPECT_TRUE(pageShown);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(FM_Information, nullptr);
}

// The device restarts (its engine boots go up, its engine time starts again)
// and then is replaced (another engine ID at its address) while the module
// polls it over SNMPv3 authPriv (HMAC-SHA-256, AES-256 as the host's file
// gives them), with the poll's real time-out: each time the poll is answered
// again within two poll periods and nothing but answers is shown. (Net-SNMP
// drops the replaced device's refusal of the old engine ID; the engine asks
// for the engine ID when a poll goes unanswered for a second.)
TEST_F(MainWindowAgent, V3PollGoesOnAcrossARestartAndAReplacedDevice)
{
    const std::string state = m_dir.path(QStringLiteral("ap.state")).toStdString();
    const auto options = [&](const char *engineId) {
        return std::vector<std::string>{"--user", "ops:SHA-256:opsauth12:AES-256:opspriv12", "--state", state,
                                        "--engine-id", engineId};
    };
    m_agent.stop();
    ASSERT_NO_FATAL_FAILURE(startAgent(options("8000BC550501")));
    m_dir.write(QStringLiteral("127.0.0.1.cfg"),
                "[Program Information]\nAgentPort=" + QByteArray::number(m_agent.port())
                    + "\nVersion=3\nSecurityModel=3\nSecurityLevel=2\nSecurityName=ops\nAuthProtocol=4\n"
                      "PrivProtocol=5\nAuthPassword=opsauth12\nPrivPassword=opspriv12\n");
    VrSetTimeScale(1.0);
    TMainForm form;
    int answered = 0;
    QObject::connect(&form, &TMainForm::StatusAnswered, [&] { ++answered; });
    QStringList shown;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!shown.contains(form.statusText()) && !AnsweredStatus.match(form.statusText()).hasMatch())
            shown << form.statusText();
    });
    watch.start(5);
    ASSERT_TRUE(form.Start({QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rhollow")}));
    QTRY_VERIFY_WITH_TIMEOUT(answered > 0, 5000);

    const struct {
        const char *what;
        const char *engineId;
    } restarts[] = {{"restarted", "8000BC550501"}, {"replaced", "8000BC550502"}};
    for (const auto &restart : restarts) {
        SCOPED_TRACE(restart.what);
        // Right after an answer, so that no poll is out while the device is away.
        const int before = answered;
        QTRY_VERIFY_WITH_TIMEOUT(answered > before, 5000);
        std::string why;
        ASSERT_TRUE(m_agent.restart(options(restart.engineId), &why)) << why;
        QElapsedTimer back;
        back.start();
        const int since = answered;
        QTRY_VERIFY_WITH_TIMEOUT(answered > since, 6000);
        EXPECT_LE(back.elapsed(), 2 * 2000 + 500);
        std::printf("%s: the poll answered again %lld ms after the device was back\n", restart.what,
                    qint64(back.elapsed()));
        EXPECT_EQ(shown, QStringList{QString()}) << shown.join(u'\n').toStdString();
        EXPECT_FALSE(allDark(form));
    }
    // A device put in its place that does not take the pass phrase says so.
    std::string why;
    ASSERT_TRUE(m_agent.restart({"--user", "ops:SHA-256:otherauth1:AES-256:opspriv12", "--state", state,
                                 "--engine-id", "8000BC550503"},
                                &why))
        << why;
    QTRY_COMPARE_WITH_TIMEOUT(form.statusText(), QStringLiteral("(SNMPv3USM) Authentication failure!"), 5000);
    EXPECT_EQ(m_boxes.count(), 0);
    // The simulator counted its boots across its restarts in its state file.
    QFile saved(QString::fromStdString(state));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("1.3.6.1.6.3.10.2.1.2.0=4\n"));
}

// The lamps tell the truth within seconds, whatever the poll's one-minute
// time-out: a device that falls silent shows white with the time-out text
// within two poll periods, and green again within one once it answers.
TEST_F(MainWindowAgent, LampsFollowADeviceFallingSilentAndAnsweringAgain)
{
    VrSetTimeScale(1.0);
    TMainForm form;
    ASSERT_TRUE(form.Start({QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rhollow")}));
    QTRY_VERIFY_WITH_TIMEOUT(form.lamp(DevicePicture::Power)->isLit(), 5000);
    for (int round = 0; round < 2; ++round) {
        QTest::qWait(round * 700); // the device falls silent at another point of the poll cycle
        QElapsedTimer clock;
        ::kill(m_agent.pid(), SIGUSR1);
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(allDark(form) && form.statusText() == TimedOut, 4000);
        const qint64 white = clock.elapsed();
        QTest::qWait(1500);
        ::kill(m_agent.pid(), SIGUSR2);
        clock.restart();
        QTRY_VERIFY_WITH_TIMEOUT(form.lamp(DevicePicture::Power)->isLit(), 2000);
        std::printf("white %lld ms after the device fell silent, green %lld ms after it answered again\n", white,
                    qint64(clock.elapsed()));
    }
    EXPECT_EQ(m_boxes.count(), 0);
}

// Closing the main window while a backup's file is coming in (the test plays
// the device's TFTP side: the request and one block, then nothing) ends the
// page and the window within a second, stops the server and leaves no file,
// and nothing says the backup was saved.
TEST_F(MainWindowAgent, ClosingTheMainWindowDuringABackupTransferLeavesNoFile)
{
    const int serverPort = qrt::test::freeUdpPort();
    qputenv("QRT5150_TFTP_PORT", QByteArray::number(serverPort));
    m_agent.stop();
    // The device's own upload goes to a port nobody listens on.
    ASSERT_NO_FATAL_FAILURE(startAgent({"--tftp-port", std::to_string(qrt::test::freeUdpPort())}));
    TMainForm form;
    ASSERT_TRUE(form.Start({QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rhollow")}));
    QTRY_VERIFY_WITH_TIMEOUT(form.lamp(DevicePicture::Power)->isLit(), 8000);

    QTemporaryDir folder;
    const int device = ::socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(device, 0);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    server.sin_port = htons(uint16_t(serverPort));
    enum Stage { Opening, Announced, Requested, Running } stage = Opening;
    QElapsedTimer clock;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        char packet[516];
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        switch (stage) {
        case Opening:
            for (QDialog *page : form.findChildren<QDialog *>())
                if (std::strcmp(page->metaObject()->className(), "TFM_CfgFile") == 0 && page->isVisible()) {
                    page->findChild<QLineEdit *>(QStringLiteral("Ed_SaveFile"))->setText(folder.filePath("backup.dcf"));
                    stage = Announced;
                    page->findChild<QAbstractButton *>(QStringLiteral("Bt_Upload"))->click();
                    static const char request[] = "\0\2backup.dcf\0octet"; // write request
                    ::sendto(device, request, sizeof request, 0, reinterpret_cast<sockaddr *>(&server), sizeof server);
                    stage = Requested;
                }
            break;
        case Requested: // the acknowledgement of the request comes from the transfer's own port
            if (::recvfrom(device, packet, sizeof packet, MSG_DONTWAIT, reinterpret_cast<sockaddr *>(&from),
                           &fromLength) == 4) {
                std::memset(packet, 'x', sizeof packet);
                packet[0] = 0, packet[1] = 3, packet[2] = 0, packet[3] = 1; // data, block 1, and more to come
                ::sendto(device, packet, sizeof packet, 0, reinterpret_cast<sockaddr *>(&from), fromLength);
                QTest::qWait(50);
                stage = Running;
                clock.start();
                form.windowHandle()->close();
            }
            break;
        default:
            break;
        }
    });
    ticker.start(10);
    form.findChild<QAction *>(QStringLiteral("act_TFM_CfgFile"))->trigger();
    ticker.stop();
    ::close(device);
    qunsetenv("QRT5150_TFTP_PORT");
    ASSERT_EQ(stage, Running);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(form.isVisible());
    QCoreApplication::processEvents();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    for (const VrMessageBoxRecorder::Call &box : m_boxes.calls())
        EXPECT_FALSE(box.text.contains(QLatin1String("saved")) || box.text.contains(QLatin1String("success")))
            << box.text.toStdString();
}
