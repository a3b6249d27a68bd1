// The configuration file page against the simulated access point.
#include "PageFixture.h"
#include "TFM_CfgFile.h"

#include <QDir>
#include <QFile>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";
const std::string kSsid = P + "2.1.3.2.1.1.1.1";
const std::string kUpgrade = P + "4.3.2.4";
const std::string kCommand = P + "4.3.2.3";

class CfgFilePage : public PageFixture<TFM_CfgFile>
{
protected:
    QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void backup(const QString &path)
    {
        boxes.clear();
        edit("Ed_SaveFile")->setText(path);
        click("Bt_Upload");
        ASSERT_TRUE(waitFor([&] { return boxes.count() > 0; }));
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(CfgFilePage, BackupThenRestoreBringsTheConfigurationBack)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_EQ(client->setBytes(kSsid, "saved ssid").status, 0);
    openPage();
    EXPECT_EQ(page->windowTitle(), "Tools \\ Configuration File");
    expectFitsScreen();

    // No ".dcf" in the name: it is appended. A "/" separates folders as "\" does.
    ASSERT_NO_FATAL_FAILURE(backup(dir.path() + "/first"));
    EXPECT_EQ(boxes.lastText(), "The configuration file saved successfully!") << status().toStdString();
    ASSERT_EQ(waits.shown.size(), 1);
    EXPECT_TRUE(waits.shown[0].busy);
    EXPECT_TRUE(waits.shown[0].readable); // not greyed out with the page behind it
    EXPECT_TRUE(page->isEnabled());
    const QByteArray saved = read(dir.path() + "/first.dcf");
    EXPECT_TRUE(saved.contains(QByteArray::fromStdString(kSsid + "=saved ssid\n"))) << saved.toStdString();
    EXPECT_TRUE(edit("Ed_UpgFile")->text().isEmpty());

    ASSERT_EQ(client->setBytes(kSsid, "changed").status, 0);
    boxes.clear();
    waits.shown.clear();
    type("Ed_UpgFile", dir.path() + "/first.dcf");
    click("Bt_OK");
    ASSERT_TRUE(waitFor([&] { return boxes.count() > 0; }));
    EXPECT_EQ(boxes.lastText(), "The configuration file update successfully!") << status().toStdString();
    EXPECT_EQ(boxes.calls().last().caption, "OK");
    EXPECT_EQ(text(kSsid), "saved ssid");
    EXPECT_TRUE(page->isEnabled());
    ASSERT_EQ(waits.shown.size(), 3); // the busy display, then 10 s and 50 s
    EXPECT_EQ(waits.shown[1].label3, "Updating config file...");
    EXPECT_EQ(waits.shown[1].seconds, 10);
    EXPECT_EQ(waits.shown[2].label3, "Device is restarting...");
    EXPECT_EQ(waits.shown[2].seconds, 50);
    for (const ShownWait &w : waits.shown)
        EXPECT_TRUE(w.readable) << w.label3.toStdString();

    // A second backup of the restored device holds the restored settings;
    // a name with ".DCF" keeps it.
    ASSERT_NO_FATAL_FAILURE(backup(dir.path() + "/second.DCF"));
    EXPECT_EQ(boxes.lastText(), "The configuration file saved successfully!");
    const QList<QByteArray> before = saved.split('\n'), after = read(dir.path() + "/second.DCF").split('\n');
    EXPECT_EQ(after.size(), before.size());
    for (qsizetype i = 0; i < std::min(before.size(), after.size()); ++i)
        EXPECT_EQ(after[i].toStdString(), before[i].toStdString()) << "line " << i + 1;
    EXPECT_FALSE(QFile::exists(dir.path() + "/second.DCF.dcf"));
}

// The save path is only chosen through its Browse button: it is drawn in the
// button colour, unlike the file to restore, which can be typed.
TEST_F(CfgFilePage, SavePathLooksReadOnly)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    const auto background = [](QLineEdit *e) {
        const QImage image = e->grab().toImage();
        return QColor(image.pixel(image.width() - 8, image.height() / 2)).name();
    };
    EXPECT_TRUE(edit("Ed_SaveFile")->isReadOnly());
    EXPECT_EQ(background(edit("Ed_SaveFile")), page->palette().color(QPalette::Button).name());
    EXPECT_NE(background(edit("Ed_SaveFile")), background(edit("Ed_UpgFile")));
}

TEST_F(CfgFilePage, BackupThatDoesNotArriveIsReportedAsFailed)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    ASSERT_NO_FATAL_FAILURE(backup(dir.path() + "/missing-folder/ap.dcf"));
    EXPECT_EQ(boxes.lastText(), "Fail to save the configuration file!");
    EXPECT_EQ(boxes.calls().last().caption, "ERROR");
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_TRUE(page->isEnabled());
    EXPECT_FALSE(status().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.path() + "/missing-folder/ap.dcf"));
}

TEST_F(CfgFilePage, RefusedRestoreEndsTheBusyDisplayAndSaysSo)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_EQ(client->setBytes(kSsid, "untouched").status, 0);
    openPage();
    write(dir.path() + "/broken.dcf", "this is not a configuration\n");
    type("Ed_UpgFile", dir.path() + "/broken.dcf");
    click("Bt_OK");
    ASSERT_TRUE(waitFor([&] { return boxes.count() > 0; }));
    EXPECT_EQ(boxes.lastText(), "Fail to save the configuration file!");
    EXPECT_TRUE(page->isEnabled());
    EXPECT_EQ(setsOf(kUpgrade), 0); // neither the save nor a reboot went through
    EXPECT_EQ(text(kSsid), "untouched");
}

TEST_F(CfgFilePage, InputIsCheckedBeforeAnythingIsSent)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    write(dir.path() + "/notes.txt", "x");
    struct Case {
        const char *edit;
        const char *button;
        QString path;
        const char *message;
    };
    QDir(dir.path()).mkpath("cfg.dcf.d");
    const Case cases[] = {
        {"Ed_UpgFile", "Bt_OK", "", "Empty file is not accepted."},
        {"Ed_UpgFile", "Bt_OK", dir.path() + "/absent.dcf", "File format error! Please try again!"},
        {"Ed_UpgFile", "Bt_OK", dir.path() + "/notes.txt", "File format error! Please try again!"},
        {"Ed_UpgFile", "Bt_OK", dir.path() + "/cfg.dcf.d", "File format error! Please try again!"},
        {"Ed_SaveFile", "Bt_Upload", "", "Empty file is not accepted."},
        {"Ed_SaveFile", "Bt_Upload", "backup.dcf", "The file path is error."},
    };
    for (const Case &c : cases) {
        boxes.clear();
        edit(c.edit)->setText(c.path);
        click(c.button);
        ASSERT_EQ(boxes.count(), 1) << c.path.toStdString();
        EXPECT_EQ(boxes.lastText(), c.message) << c.path.toStdString();
        EXPECT_EQ(boxes.calls().last().caption, "Warning");
        edit(c.edit)->clear();
    }
    EXPECT_EQ(setsOf(kUpgrade) + setsOf(kCommand), 0);
}

// A TFTP port that cannot be opened ends the page, not the program, and says
// which port it is and how to free or allow it.
TEST_F(CfgFilePage, BusyTftpPortClosesOnlyThePageAndSaysHowToAllowIt)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    struct Case {
        bool moved; // by QRT5150_TFTP_PORT
        const char *advice;
    };
    for (const Case c : {Case{true, "Close that program"}, Case{false, "setcap cap_net_bind_service=+ep"}}) {
        const quint16 port = c.moved ? quint16(tftpPort) : quint16(69);
        if (!c.moved)
            qunsetenv("QRT5150_TFTP_PORT");
        // Port 69 may already be out of reach (no privilege, or held): the page fails either way.
        const int blocker = socket(AF_INET, SOCK_DGRAM, 0);
        ASSERT_GE(blocker, 0);
        sockaddr_in any{};
        any.sin_family = AF_INET;
        any.sin_port = htons(port);
        const bool held = bind(blocker, reinterpret_cast<sockaddr *>(&any), sizeof any) == 0;
        EXPECT_TRUE(held || !c.moved);
        boxes.clear();
        openPage();
        QTest::qWait(20);
        close(blocker);
        qputenv("QRT5150_TFTP_PORT", QByteArray::number(tftpPort));
        ASSERT_EQ(boxes.count(), 1) << port;
        const QString text = boxes.lastText();
        EXPECT_TRUE(text.startsWith("TFTP Service Init Error:(VrTFTP) Fail to open socket!")) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("UDP port %1").arg(port))) << text.toStdString();
        EXPECT_EQ(text.contains("port 69"), !c.moved) << text.toStdString();
        EXPECT_TRUE(text.contains(c.advice)) << text.toStdString();
        EXPECT_FALSE(page->isVisible());
    }
    // Nothing else is closed: a new page opens once the port is free.
    boxes.clear();
    openPage();
    QTest::qWait(20);
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(page->isVisible());
}
