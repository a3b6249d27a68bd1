#include "VrBeep.h"
#include "VrMessageBox.h"
#include "VrRadioGroup.h"
#include "VrStatusBar.h"
#include "VrTimeScale.h"

#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(VrMessageBox, RecorderKeepsCaptionTextParentAndAnswersForTheNewestRecorder)
{
    QDialog page;
    VrMessageBoxRecorder outer(QMessageBox::Ok);
    {
        VrMessageBoxRecorder inner(QMessageBox::Cancel);
        EXPECT_EQ(VrMessageBox(&page, "Delete?", "Warning", QMessageBox::Ok | QMessageBox::Cancel),
                  QMessageBox::Cancel);
        ASSERT_EQ(inner.count(), 1);
        EXPECT_EQ(inner.calls()[0].caption, "Warning");
        EXPECT_EQ(inner.calls()[0].text, "Delete?");
        EXPECT_EQ(inner.calls()[0].parent, &page);
        EXPECT_EQ(inner.calls()[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    }
    EXPECT_EQ(outer.count(), 0);
    EXPECT_EQ(VrMessageBox(nullptr, "Done", VrExecutableName()), QMessageBox::Ok);
    EXPECT_EQ(outer.lastText(), "Done");
    EXPECT_EQ(outer.calls()[0].caption, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    EXPECT_FALSE(outer.calls()[0].caption.contains('/'));
}

TEST(VrBeep, CounterCountsInsteadOfSounding)
{
    VrBeepCounter outer;
    VrBeep();
    {
        VrBeepCounter inner;
        VrBeep();
        VrBeep();
        EXPECT_EQ(inner.count(), 2);
    }
    EXPECT_EQ(outer.count(), 1);
}

TEST(VrRadioGroup, SelectsByIndexClearsWithMinusOneAndReportsOnlyUserClicks)
{
    VrRadioGroup group;
    group.setItems({"Off", "On", "Auto"});
    QSignalSpy clicks(&group, &VrRadioGroup::clicked);
    EXPECT_EQ(group.itemIndex(), -1);
    group.setItemIndex(2);
    EXPECT_EQ(group.itemIndex(), 2);
    group.setItemIndex(-1);
    EXPECT_EQ(group.itemIndex(), -1);
    group.setItemIndex(7);
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_EQ(clicks.count(), 0);

    group.show();
    QTest::mouseClick(group.button(1), Qt::LeftButton);
    EXPECT_EQ(group.itemIndex(), 1);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks[0][0].toInt(), 1);

    group.setItems({"A", "B"});
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_EQ(group.items(), QStringList({"A", "B"}));
    EXPECT_EQ(group.button(2), nullptr);
}

TEST(VrStatusBar, PanelsAreMadeOnDemandAndSimpleTextHidesThem)
{
    VrStatusBar bar;
    bar.show();
    bar.panel(1)->setText("second");
    EXPECT_EQ(bar.panelCount(), 2);
    bar.panel(0)->setText("first");
    EXPECT_EQ(bar.panelCount(), 2);
    EXPECT_TRUE(bar.panel(0)->isVisible());

    bar.setSimpleText("Get: Ok.");
    EXPECT_TRUE(bar.simplePanel());
    EXPECT_EQ(bar.simpleText(), "Get: Ok.");
    EXPECT_EQ(bar.currentMessage(), "Get: Ok.");
    EXPECT_FALSE(bar.panel(0)->isVisible());

    bar.setSimplePanel(false);
    EXPECT_TRUE(bar.panel(0)->isVisible());
    EXPECT_EQ(bar.panel(0)->text(), "first");
}

TEST(VrTimeScale, ScalesWaitsAndRefusesNonsense)
{
    VrSetTimeScale(0.01);
    EXPECT_EQ(VrScaledMs(70000), 700);
    EXPECT_EQ(VrScaledMs(10), 1);
    EXPECT_EQ(VrScaledMs(0), 0);
    EXPECT_EQ(VrScaled(std::chrono::seconds(2)), std::chrono::milliseconds(20));
    VrSetTimeScale(-3);
    EXPECT_EQ(VrTimeScale(), 1.0);
    EXPECT_EQ(VrScaledMs(70000), 70000);
}
