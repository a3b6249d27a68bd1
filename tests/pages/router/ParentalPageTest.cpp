// Advanced > Router Settings > Parental Control against the simulated access point.
#include "RouterPageFixture.h"
#include "TFM_ParentalCtr.h"

namespace {

using namespace routertest;
const std::string kStatus = P + "3.2.1.1.1.1.1";
const std::string kAdd = P + "3.2.1.1.1.2.1";
const std::string kUrl = P + "3.2.1.2.1.2.";

class ParentalPage : public RouterPageTest<TFM_ParentalCtr>
{
protected:
    void addUrl(const QString &url)
    {
        type("Edt_WebURL", url);
        click("Bt_Add");
    }
};

TEST_F(ParentalPage, OpensDisabledAndFitsTheScreen)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ Parental Control");
    EXPECT_EQ(result(), "Get OK!");
    EXPECT_EQ(combo("CB_ParentContrl")->currentText(), "Disable");
    EXPECT_FALSE(edit("Edt_WebURL")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("Bt_Add")->isEnabled());
    EXPECT_EQ(edit("Edt_WebURL")->maxLength(), 40);
    expectFits();
}

// A filter left on without websites is switched off when the page reads it.
TEST_F(ParentalPage, AnEmptyListTurnsTheFilterOff)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kStatus, 2).ok());
    openPage();
    EXPECT_EQ(combo("CB_ParentContrl")->currentText(), "Disable");
    EXPECT_EQ(number(kStatus), 0);
}

TEST_F(ParentalPage, WebsitesAreAddedAndDeletedThroughTheDevice)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_ParentContrl", "Deny");
    addUrl("games.example.com");
    addUrl("chat-room_1.net");
    EXPECT_EQ(boxes.count(), 0) << boxes.lastText().toStdString();
    EXPECT_EQ(number(kStatus), 2); // written before the first add
    EXPECT_EQ(text(kUrl + "1"), "games.example.com");
    EXPECT_EQ(text(kUrl + "2"), "chat-room_1.net");
    EXPECT_EQ(column("LV_WebURLUser", 1), (QStringList{"games.example.com", "chat-room_1.net"}));
    EXPECT_EQ(column("LV_WebURLUser", 0), (QStringList{"1", "2"}));
    EXPECT_EQ(result(), "Get OK!");

    pick("LV_WebURLUser", 0);
    EXPECT_EQ(edit("Edt_WebURL")->text(), "games.example.com");
    boxes.setAnswer(QMessageBox::Cancel);
    click("Bt_Del");
    EXPECT_EQ(boxes.lastText(), "Are you sure that you want to delete this Website URL?");
    EXPECT_EQ(text(kUrl + "1"), "games.example.com");
    boxes.setAnswer(QMessageBox::Ok);
    click("Bt_Del");
    EXPECT_EQ(text(kUrl + "1"), "");
    EXPECT_EQ(column("LV_WebURLUser", 1), QStringList{"chat-room_1.net"});
}

TEST_F(ParentalPage, RefusedWebsitesAreNotSent)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openPage();
    choose("CB_ParentContrl", "Allow");
    addUrl("example.com");
    struct Case {
        QString url;
        const char *message;
    } cases[] = {
        {"example.com/news", "Invalid Website URL!"},
        {QString::fromUtf8("b\xc3\xbc" "cher.de"), "Invalid Website URL!"},
        {"", "Invalid Website URL!"},
        {"example.com", "Reject: The URL has already exist "},
    };
    for (const Case &c : cases) {
        boxes.clear();
        addUrl(c.url);
        EXPECT_EQ(boxes.lastText(), QString::fromLatin1(c.message)) << c.url.toStdString();
    }
    EXPECT_EQ(setsOf(kAdd), 1);
    // The box takes no more than 40 characters.
    type("Edt_WebURL", QString(41, QLatin1Char('a')));
    EXPECT_EQ(edit("Edt_WebURL")->text().size(), 40);
}

TEST_F(ParentalPage, TheEleventhWebsiteIsRefused)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(kStatus, 2).ok());
    for (int i = 1; i <= 10; ++i)
        ASSERT_TRUE(client->setBytes(kAdd, "site" + std::to_string(i) + ".com").ok());
    openPage();
    ASSERT_EQ(list("LV_WebURLUser")->topLevelItemCount(), 10);
    addUrl("one-more.com");
    EXPECT_EQ(boxes.lastText(), "Maximum Numbers of WebURL List is 10!");
    EXPECT_EQ(boxes.calls().last().caption, "Waring");
    EXPECT_TRUE(edit("Edt_WebURL")->text().isEmpty());
    // The device has no eleventh row either.
    EXPECT_EQ(client->setBytes(kAdd, "one-more.com").status, 13);
}

} // namespace
