// The log view and log settings against the simulated access point.
#include "PageFixture.h"
#include "TLogForm.h"
#include "TLogSetForm.h"

#include <QFile>

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";
const std::string kClear = P + "5.4.10";
const std::string kRemoteState = P + "5.4.8";
const std::string kRemoteServer = P + "5.4.9";
const std::string kSystemLevel = P + "5.4.1";

class LogPage : public PageFixture<TLogForm>
{
protected:
    void SetUp() override
    {
        PageFixture::SetUp();
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
    }
    void TearDown() override
    {
        PageFixture::TearDown();
        qunsetenv("XDG_DATA_HOME");
    }
    QTreeWidget *view() { return find<QTreeWidget>("ViewListView"); }
    QString status1() { return status("StatusBar1"); }
    QTemporaryDir data;
};

class LogSettingsPage : public PageFixture<TLogSetForm>
{
protected:
    std::string ip(const std::string &oid)
    {
        const std::string b = client->get(oid).bytes;
        std::string out;
        for (unsigned char c : b)
            out += (out.empty() ? "" : ".") + std::to_string(c);
        return out;
    }
};

} // namespace

TEST_F(LogPage, OpeningFetchesTheLogIntoTheUsersDataFolder)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_EQ(client->setInt(P + "4.2.3", 1).status, 0); // logs "Settings applied"
    openPage();
    EXPECT_EQ(page->windowTitle(), "Status \\ Log");
    ASSERT_TRUE(waitFor([&] { return status1() == "Get OK."; })) << status1().toStdString();
    expectFitsScreen();
    // One row per line of the file, the device's malformed lines included.
    QFile log(page->LogFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(view()->topLevelItemCount(), log.readAll().count('\n'));
    const auto row = [&](const QString &message) -> const QTreeWidgetItem * {
        for (int i = 0; i < view()->topLevelItemCount(); ++i)
            if (view()->topLevelItem(i)->text(2).startsWith(message))
                return view()->topLevelItem(i);
        return nullptr;
    };
    const QTreeWidgetItem *started = row("System started"), *kernel = row("Kernel command line"),
                          *unclosed = row("NOTICE DHCP server");
    ASSERT_TRUE(started && kernel && unclosed);
    EXPECT_EQ(started->text(0).size(), 19); // mm/dd/yyyy hh:mm:ss
    EXPECT_EQ(started->text(1), "SYSTEM");
    EXPECT_EQ(kernel->text(0), "");
    EXPECT_EQ(unclosed->text(0).size(), 19);
    EXPECT_EQ(unclosed->text(1), "");
    EXPECT_TRUE(page->LogFilePath().startsWith(data.path())) << page->LogFilePath().toStdString();
    EXPECT_TRUE(page->LogFilePath().endsWith("/127.0.0.1/LogFile.RD"));
    EXPECT_TRUE(find<QPushButton>("SetBtn")->isEnabled());

    const int before = view()->topLevelItemCount();
    click("Clear_Btn");
    EXPECT_EQ(view()->topLevelItemCount(), 0);
    ASSERT_TRUE(waitFor([&] { return setsOf(kClear) == 1; }));
    click("GetBtn");
    ASSERT_TRUE(waitFor([&] { return status1() == "Get OK."; }));
    EXPECT_LT(view()->topLevelItemCount(), before);
}

TEST_F(LogPage, LogThatDoesNotArriveIsReportedAsAFailure)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--fail", P + "5.4.6=5"}));
    openPage();
    ASSERT_TRUE(waitFor([&] { return status1() != "Refresh...!" && status1() != "Get Ok"; }));
    EXPECT_NE(status1(), "Get OK.");
    EXPECT_EQ(view()->topLevelItemCount(), 0);
}

TEST_F(LogSettingsPage, EmptyServerIsSentAsNoServerAndTheChoicesAsShown)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    EXPECT_EQ(page->windowTitle(), "Status \\ Log \\  Log Setting");
    expectFitsScreen();
    EXPECT_TRUE(edit("Ed_LogServerIp")->text().isEmpty()); // 0.0.0.0 on the device

    type("Ed_LogServerIp", "300.1.1.1");
    click("Bt_Apply");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.lastText(), "Please input valid IP Address.");
    EXPECT_TRUE(edit("Ed_LogServerIp")->text().isEmpty());
    EXPECT_EQ(count("set " + kRemoteServer), 0);

    type("Ed_LogServerIp", "10.1.2.3");
    choose("CBoxRemoteLogStatus", "Enable");
    check("CheckBox_System")->setChecked(false);
    click("Bt_Apply");
    EXPECT_EQ(status(), "Set Success!");
    EXPECT_EQ(ip(kRemoteServer), "10.1.2.3");
    EXPECT_EQ(number(kRemoteState), 1);
    EXPECT_EQ(number(kSystemLevel), 0);

    // Emptied and switched off: 0.0.0.0 goes out, remote logging as chosen.
    type("Ed_LogServerIp", "");
    choose("CBoxRemoteLogStatus", "Disable");
    click("Bt_Apply");
    EXPECT_EQ(status(), "Set Success!");
    EXPECT_TRUE(edit("Ed_LogServerIp")->text().isEmpty());
    EXPECT_EQ(ip(kRemoteServer), "0.0.0.0");
    EXPECT_EQ(number(kRemoteState), 0);
}
