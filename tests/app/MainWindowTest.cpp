#include "StatusLamp.h"
#include "TAboutForm.h"
#include "PageMenu.h"
#include "TMainForm.h"
#include "VrMessageBox.h"
#include "VrSNMPTarget.h"
#include "VrTimeScale.h"
#include "VrWaitGuard.h"

#include "../unit/TempFile.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Each test gets its own runtime directory (for the single-instance lock) and
// an empty registry, so nothing from the machine leaks in.
class MainWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("XDG_RUNTIME_DIR", m_dir.path(QString()).toLocal8Bit());
        qputenv("QRT5150_REGISTRY", m_dir.path(QStringLiteral("registry.ini")).toLocal8Bit());
        // Polls of nobody time out in a few milliseconds instead of a minute.
        VrSetTimeScale(0.001);
    }
    void TearDown() override
    {
        VrSetTimeScale(1.0);
        qunsetenv("QRT5150_REGISTRY");
    }

    QAction *action(TMainForm &form, const char *name)
    {
        auto *a = form.findChild<QAction *>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    QComboBox *combo(TMainForm &form, const char *name)
    {
        return form.findChild<QComboBox *>(QString::fromLatin1(name));
    }

    ScratchDir m_dir;
    VrMessageBoxRecorder m_boxes;
};

bool lit(TMainForm &form, DevicePicture::Lamp lamp)
{
    return form.lamp(lamp)->isLit();
}

} // namespace

TEST_F(MainWindow, MenuBarHasTheFiveMenusWithMnemonics)
{
    TMainForm form;
    QStringList titles;
    for (QAction *menu : form.menuBar()->actions())
        titles << menu->text();
    EXPECT_EQ(titles, (QStringList{"&Home", "&Advanced", "&Tools", "&Status", "He&lp"}));

    // Mnemonics inside one menu do not collide.
    for (QAction *top : form.menuBar()->actions()) {
        QSet<QChar> keys;
        for (QAction *entry : top->menu()->actions()) {
            const qsizetype amp = entry->text().indexOf(QRegularExpression(QStringLiteral("&[^&]")));
            ASSERT_GE(amp, 0) << qPrintable(entry->text());
            EXPECT_FALSE(keys.contains(entry->text().at(amp + 1).toLower())) << qPrintable(entry->text());
            keys.insert(entry->text().at(amp + 1).toLower());
        }
    }
}

TEST_F(MainWindow, PagesNotInThisBuildAreDisabledAboutOpensModally)
{
    TMainForm form;
    // An entry is enabled exactly when its page is in the build.
    for (const PageMenuEntry &entry : PageMenu())
        EXPECT_EQ(action(form, ("act_" + QByteArray(entry.page)).constData())->isEnabled(),
                  entry.open != nullptr) << entry.page;
    EXPECT_TRUE(action(form, "act_TFM_Wirless")->isEnabled());
    QAction *about = action(form, "act_TAboutForm");
    ASSERT_TRUE(about->isEnabled());

    bool sawGlobal = false;
    QTimer::singleShot(0, [&] {
        sawGlobal = AboutForm != nullptr && VrWaitGuard::TopPage() == AboutForm && AboutForm->isVisible();
        if (AboutForm)
            AboutForm->findChild<QPushButton *>(QStringLiteral("BT_Ok"))->click();
    });
    about->trigger();
    EXPECT_TRUE(sawGlobal);
    EXPECT_EQ(AboutForm, nullptr);
}

TEST_F(MainWindow, NoArgumentsEndsWithTheHostMessage)
{
    TMainForm form;
    EXPECT_FALSE(form.Start({}));
    ASSERT_EQ(m_boxes.count(), 1);
    EXPECT_EQ(m_boxes.lastText(), QStringLiteral("This module is only used in the Netvane or HP-Openview."));
    EXPECT_EQ(m_boxes.calls().last().caption, QStringLiteral("QRT-5150"));
    EXPECT_FALSE(form.LedStatus.isActive());
    EXPECT_FALSE(form.Timer1.isActive());
}

TEST_F(MainWindow, BadNumberInTheLaunchSwitchesIsShownAndEndsTheModule)
{
    TMainForm form;
    EXPECT_FALSE(form.Start({QStringLiteral("/I10.0.0.2"), QStringLiteral("/v3x")}));
    EXPECT_EQ(m_boxes.lastText(), QStringLiteral("'3x' is not a valid integer value for /v"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("QRT-5150"));
    EXPECT_FALSE(form.Timer1.isActive());
}

TEST_F(MainWindow, SecondModuleForTheSameDeviceIsRefusedAnotherDeviceRuns)
{
    TMainForm first;
    ASSERT_TRUE(first.Start({QStringLiteral("/I127.0.0.2")}));
    EXPECT_EQ(first.windowTitle(), QStringLiteral("QRT-5150 : 127.0.0.2"));
    EXPECT_EQ(m_boxes.count(), 0);

    TMainForm second;
    EXPECT_FALSE(second.Start({QStringLiteral("/I127.0.0.2")}));
    ASSERT_EQ(m_boxes.count(), 1);
    EXPECT_EQ(m_boxes.lastText(), QStringLiteral("Another QRT-5150 module is running!"));
    EXPECT_EQ(m_boxes.calls().last().caption, QStringLiteral("Warning"));
    EXPECT_FALSE(second.Timer1.isActive());

    TMainForm other;
    EXPECT_TRUE(other.Start({QStringLiteral("/I127.0.0.3")}));
    EXPECT_EQ(m_boxes.count(), 1);
}

TEST_F(MainWindow, OperationModeMenusShowTheAccessPointSet)
{
    TMainForm form;
    ASSERT_TRUE(form.Start({QStringLiteral("/I127.0.0.5")}));
    EXPECT_FALSE(action(form, "act_TFM_InternetConnect")->isVisible());
    EXPECT_FALSE(action(form, "mnuRouterSettings")->isVisible());
    EXPECT_TRUE(action(form, "act_TFM_MultiSSIDNewForm")->isVisible());
    EXPECT_TRUE(action(form, "act_TFM_VlanSetting")->isVisible());
}

TEST_F(MainWindow, BlinkWithWirelessLedBlinkingFlashesWlanOnceAndKeepsLanLit)
{
    TMainForm form;
    QComboBox *led = combo(form, "CB_Led5G");
    led->addItems({QStringLiteral("disable"), QStringLiteral("blinking")});
    led->setCurrentIndex(1);

    form.BlinkStep();
    EXPECT_TRUE(form.LedBlink.isActive());
    EXPECT_TRUE(lit(form, DevicePicture::Power));
    EXPECT_TRUE(lit(form, DevicePicture::Lan));
    EXPECT_TRUE(lit(form, DevicePicture::Wlan));

    // The second step comes from the blink timer, 500 ms later, and ends the flash.
    QTRY_VERIFY_WITH_TIMEOUT(!form.LedBlink.isActive(), 2000);
    EXPECT_FALSE(lit(form, DevicePicture::Wlan));
    EXPECT_TRUE(lit(form, DevicePicture::Lan));
    EXPECT_EQ(form.lamp(DevicePicture::Wlan)->color(), QColor(255, 255, 255));
    EXPECT_EQ(form.lamp(DevicePicture::Lan)->color(), QColor(0, 255, 0));
}

TEST_F(MainWindow, BlinkWithoutWirelessLedFlashesLanAndKeepsWlanDark)
{
    TMainForm form;
    form.lamp(DevicePicture::Wlan)->setLit(true);
    form.BlinkStep();
    EXPECT_TRUE(lit(form, DevicePicture::Lan));
    EXPECT_FALSE(lit(form, DevicePicture::Wlan));
    form.BlinkStep();
    EXPECT_FALSE(lit(form, DevicePicture::Lan));
    EXPECT_TRUE(lit(form, DevicePicture::Power));
    EXPECT_FALSE(form.LedBlink.isActive());
}

TEST_F(MainWindow, SeventhRefreshEmptiesTheHiddenSettingsButKeepsTheMenus)
{
    TMainForm form;
    ASSERT_TRUE(form.Start({QStringLiteral("/I127.0.0.6")}));
    QComboBox *mode = combo(form, "CB_ApMode");
    ASSERT_EQ(mode->count(), 5); // the mode options, even with nobody answering
    auto *fw = form.findChild<QLineEdit *>(QStringLiteral("Ed_FwVer"));
    fw->setText(QStringLiteral("1.0"));

    for (int tick = 0; tick < 7; ++tick)
        form.RefreshTick();
    EXPECT_EQ(mode->count(), 5);
    EXPECT_EQ(fw->text(), QStringLiteral("1.0"));

    form.RefreshTick();
    EXPECT_EQ(mode->count(), 0);
    EXPECT_TRUE(mode->currentText().isEmpty());
    EXPECT_TRUE(fw->text().isEmpty());
    EXPECT_TRUE(action(form, "act_TFM_MultiSSIDNewForm")->isVisible());
}

TEST_F(MainWindow, ValidatorsAreOfferedToThePages)
{
    TMainForm form;
    EXPECT_TRUE(form.IsValidIPAddress(QStringLiteral("192.168.0.50")));
    EXPECT_FALSE(form.IsValidIPAddress(QStringLiteral("10.0.0.255")));
    EXPECT_TRUE(form.IsValidSubnetMask(QStringLiteral("255.255.255.0")));
    EXPECT_FALSE(form.IsValidSubnetMask(QStringLiteral("255.0.255.0")));
}

TEST(AboutForm, BuildLabelAppearsOnShiftAltF3OverOk)
{
    TAboutForm about;
    about.show();
    auto *label = about.findChild<QLabel *>(QStringLiteral("Label4"));
    auto *ok = about.findChild<QPushButton *>(QStringLiteral("BT_Ok"));
    EXPECT_EQ(about.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("QRT-5150 Management Module"));
    EXPECT_EQ(about.findChild<QLabel *>(QStringLiteral("La_FwVer"))->text(), QStringLiteral("v1.01"));
    ASSERT_TRUE(label->isHidden());

    QTest::keyClick(ok, Qt::Key_F3, Qt::AltModifier);
    QTest::keyClick(ok, Qt::Key_F3, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(label->isHidden());
    QTest::keyClick(ok, Qt::Key_F3, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(label->text(), QStringLiteral("R14(2009/06/26)"));
}
