// The station pages against the simulated access point, used as a user
// would; what the device holds afterwards is read back with a separate client.
#include "ApsimProcess.h"
#include "SnmpTestClient.h"
#include "TClientInformation.h"
#include "VrMessageBox.h"
#include "VrSNMPError.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"
#include "VrStatusBar.h"
#include "VrTimeScale.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

using qrt::test::ApsimProcess;
using qrt::test::SnmpTestClient;

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";

class StationPage : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static QTemporaryDir bootsDir;
        OpenSession(bootsDir.path());
    }
    void SetUp() override { VrSetTimeScale(0.05); }
    void TearDown() override
    {
        page.reset();
        VrSetTimeScale(1.0);
    }

    void startDevice(std::vector<std::string> args = {})
    {
        args.insert(args.end(), {"--reboot-seconds", "0", "-v"});
        std::string why;
        ASSERT_TRUE(device.start(args, &why)) << why;
        g_SNMPDevice.address = QStringLiteral("127.0.0.1");
        g_SNMPDevice.port = uint16_t(device.port());
        g_SNMPSecurity.version = VrSNMPv2c;
        client = std::make_unique<SnmpTestClient>(SnmpTestClient::community(device.address(), "granite", 1));
    }

    template <class Page> Page *open()
    {
        auto *p = new Page();
        page.reset(p);
        p->show();
        return p;
    }

    template <class W = QWidget> W *find(const char *name)
    {
        W *w = page->findChild<W *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char *button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    QString status() { return find<VrStatusBar>("StatusBar1")->simpleText(); }
    // Waits for the status bar to read the text (or to begin with it).
    bool statusBecomes(const QString &text, int ms = 10000)
    {
        if (QTest::qWaitFor([&] { return status().startsWith(text); }, ms))
            return true;
        ADD_FAILURE() << "status: " << status().toStdString();
        return false;
    }
    QStringList column(const char *view, int c)
    {
        QStringList texts;
        auto *v = find<QTreeWidget>(view);
        for (int i = 0; i < v->topLevelItemCount(); ++i)
            texts << v->topLevelItem(i)->text(c);
        return texts;
    }
    void expectFitsTheScreen()
    {
        QApplication::processEvents();
        EXPECT_LE(page->width(), 1366);
        EXPECT_LE(page->height(), 740);
    }
    // Sets of an object the device accepted, from the simulator's log.
    int setsOf(const std::string &oid)
    {
        const std::string log = device.log();
        const std::string line = "set " + oid + " -> 0";
        int count = 0;
        for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
            ++count;
        return count;
    }

    ApsimProcess device;
    std::unique_ptr<SnmpTestClient> client;
    std::unique_ptr<QDialog> page;
    VrMessageBoxRecorder boxes;
};

// ---- Client information ----------------------------------------------------

TEST_F(StationPage, ClientInformationListsUsedRowsOnly)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--stations", "4"}));
    auto *p = open<TClientInformation>();
    EXPECT_EQ(status(), "Detect Client Info...");
    EXPECT_FALSE(find<QPushButton>("Btn_Close")->isEnabled());
    EXPECT_TRUE(statusBecomes(VrSNMPMessage(0)));
    EXPECT_FALSE(p->Busy());
    EXPECT_EQ(find<QLabel>("Lb_Band")->text(), "2.4GHZ");
    // Four stations and three free rows of 000000000000 on the device.
    EXPECT_EQ(find<QLabel>("NumOfRecord")->text(), "4");
    EXPECT_EQ(column("User_ListView", 0), (QStringList{"1", "2", "3", "4"}));
    for (const QString &mac : column("User_ListView", 2))
        EXPECT_TRUE(mac.size() == 12 && mac != "000000000000") << mac.toStdString();
    for (const QString &band : column("User_ListView", 3))
        EXPECT_TRUE(QStringList({"A", "B", "G", "N"}).contains(band)) << band.toStdString();
    for (const QString &signal : column("User_ListView", 5))
        EXPECT_TRUE(signal.endsWith('%')) << signal.toStdString();
    EXPECT_EQ(column("User_ListView", 1).first(), "QRT5150");
    expectFitsTheScreen();
}

TEST_F(StationPage, ClientInformationRefusesClosingWhileDetecting)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    auto *p = open<TClientInformation>();
    ASSERT_TRUE(p->Busy());
    static_cast<QDialog *>(p)->reject();
    EXPECT_TRUE(p->isVisible());
    EXPECT_TRUE(statusBecomes(VrSNMPMessage(0)));
    click("Btn_Refresh");
    EXPECT_TRUE(p->Busy());
    EXPECT_EQ(find<QTreeWidget>("User_ListView")->topLevelItemCount(), 0);
    QTest::keyClick(p, Qt::Key_Escape);
    EXPECT_TRUE(p->isVisible());
    EXPECT_TRUE(statusBecomes(VrSNMPMessage(0)));
    EXPECT_EQ(find<QLabel>("NumOfRecord")->text(), "5");
    click("Btn_Close");
    EXPECT_FALSE(p->isVisible());
}

TEST_F(StationPage, ClientInformationTriggerTimeOutSaysSoAndCountsTheLines)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    auto *p = open<TClientInformation>();
    EXPECT_TRUE(statusBecomes(VrSNMPMessage(0)));
    ::kill(device.pid(), SIGUSR1); // the device stops answering
    VrSetTimeScale(0.01);
    click("Btn_Refresh");
    EXPECT_TRUE(statusBecomes("Detect timed out! "));
    EXPECT_GT(status().size(), QString("Detect timed out! ").size());
    EXPECT_FALSE(p->Busy());
    EXPECT_EQ(find<QLabel>("NumOfRecord")->text(),
              QString::number(find<QTreeWidget>("User_ListView")->topLevelItemCount()));
    ::kill(device.pid(), SIGUSR2);
}

} // namespace
