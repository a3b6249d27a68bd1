// Home, Information against the simulated access point.
#include "AgentFixture.h"
#include "TFM_Information.h"
#include "VrStatusBar.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

class InformationPage : public AgentFixture
{
protected:
    static QLineEdit *edit(TFM_Information &page, const char *name)
    {
        return page.findChild<QLineEdit *>(QString::fromLatin1(name));
    }
    static void click(TFM_Information &page, const char *name)
    {
        page.findChild<QPushButton *>(QString::fromLatin1(name))->click();
    }
    static QString status(TFM_Information &page)
    {
        return page.findChild<VrStatusBar *>(QStringLiteral("StatusBar1"))->simpleText();
    }
};

} // namespace

TEST_F(InformationPage, ReadsTheSystemGroupAndSavesTheWritableTexts)
{
    {
        TFM_Information page;
        EXPECT_TRUE(edit(page, "Ed_SD")->text().contains(QStringLiteral("QRT-5150")));
        EXPECT_FALSE(edit(page, "Ed_SO")->text().isEmpty());
        EXPECT_FALSE(edit(page, "Ed_SU")->text().isEmpty());
        EXPECT_FALSE(edit(page, "Ed_SD")->isEnabled());
        EXPECT_EQ(edit(page, "Ed_SN")->maxLength(), 32);

        edit(page, "Ed_SC")->setText(QStringLiteral("ops@example.net"));
        edit(page, "Ed_SL")->setText(QStringLiteral("Lab 2, rack 4"));
        click(page, "Btn_Sa");
        EXPECT_EQ(status(page), QStringLiteral("Save OK!"));
        click(page, "Btn_Re");
        EXPECT_EQ(status(page), QStringLiteral("Get OK!"));
    }
    TFM_Information again;
    EXPECT_EQ(edit(again, "Ed_SC")->text(), QStringLiteral("ops@example.net"));
    EXPECT_EQ(edit(again, "Ed_SL")->text(), QStringLiteral("Lab 2, rack 4"));
    EXPECT_EQ(m_boxes.count(), 0);
}

TEST_F(InformationPage, NonAsciiTextIsRefusedBeforeAnythingIsSent)
{
    QString nameBefore;
    {
        TFM_Information page;
        nameBefore = edit(page, "Ed_SN")->text();
        edit(page, "Ed_SN")->setText(QStringLiteral("Caf\u00e9 AP"));
        edit(page, "Ed_SL")->setText(QStringLiteral("changed"));
        click(page, "Btn_Sa");
        ASSERT_EQ(m_boxes.count(), 1);
        EXPECT_EQ(m_boxes.lastText(), QStringLiteral("Don't support chinese character !"));
        EXPECT_EQ(m_boxes.calls().last().caption, QStringLiteral("Error"));
        EXPECT_TRUE(edit(page, "Ed_SN")->text().isEmpty());
        EXPECT_NE(status(page), QStringLiteral("Save OK!"));
    }
    TFM_Information again;
    EXPECT_EQ(edit(again, "Ed_SN")->text(), nameBefore);
    EXPECT_NE(edit(again, "Ed_SL")->text(), QStringLiteral("changed"));
}

TEST_F(InformationPage, OverlongTextIsRefusedWithItsObjectName)
{
    TFM_Information page;
    QLineEdit *name = edit(page, "Ed_SN");
    name->setMaxLength(64); // text can still arrive longer than the page's own limit
    name->setText(QString(33, u'n'));
    click(page, "Btn_Sa");
    EXPECT_EQ(m_boxes.lastText(), QStringLiteral("The Max Lengh of the SystemName is 32."));
    EXPECT_EQ(name->text().size(), 33);
}
