#include "QtPrinters.h"
#include "VrBeep.h"
#include "VrCommon.h"
#include "VrEditConstraint.h"
#include "VrMessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A shown, active form with three edits in tab order; the first is constrained.
class Form
{
public:
    explicit Form(const QString &format) : constraints(&form, true)
    {
        auto *layout = new QVBoxLayout(&form);
        for (QLineEdit **e : {&edit, &next, &other}) {
            *e = new QLineEdit(&form);
            layout->addWidget(*e);
        }
        constraints.AddConstraint(format, edit);
        form.show();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        edit->setFocus();
        EXPECT_TRUE(edit->hasFocus());
    }
    // The user tabs out of the constrained edit.
    void leave() { next->setFocus(Qt::TabFocusReason); }

    QDialog form;
    VrEditConstraint constraints;
    QLineEdit *edit, *next, *other;
    VrMessageBoxRecorder boxes;
    VrBeepCounter beeps;
};

} // namespace

TEST(VrEditConstraint, NumberRangeFiltersTypingAndRestoresTheLastAcceptedText)
{
    Form f("%u{n1x4094}");
    QTest::keyClicks(f.edit, "12a");
    EXPECT_EQ(f.edit->text(), "12");
    EXPECT_EQ(f.beeps.count(), 1);

    f.edit->setText("5000");
    f.leave();
    ASSERT_EQ(f.boxes.count(), 1);
    EXPECT_EQ(f.boxes.lastText(), "(VrCommon) Please enter a number between 1 and 4094!");
    EXPECT_EQ(f.boxes.calls()[0].caption, VrExecutableName());
    EXPECT_EQ(f.boxes.calls()[0].parent, &f.form);
    EXPECT_EQ(f.edit->text(), ""); // nothing was accepted yet
    EXPECT_TRUE(f.edit->hasFocus());

    f.edit->setText("300");
    f.leave();
    EXPECT_EQ(f.constraints.LastValidText(f.edit), "300");
    f.edit->setFocus();
    f.edit->setText("0");
    f.leave();
    EXPECT_EQ(f.boxes.count(), 2);
    EXPECT_EQ(f.edit->text(), "300");
}

TEST(VrEditConstraint, FixedAndRequiredLengths)
{
    {
        Form f("%s{l5f}");
        f.edit->setText("abc");
        f.leave();
        EXPECT_EQ(f.boxes.lastText(), "(VrCommon) Please enter a string whose length is 5!");
    }
    {
        Form f("%s{l5fn}");
        f.leave();
        EXPECT_EQ(f.boxes.lastText(), "(VrCommon) Empty value is not allowed!");
    }
    {
        // Without "n" an empty edit is simply left.
        Form f("%s{l5f}");
        f.leave();
        EXPECT_EQ(f.boxes.count(), 0);
        EXPECT_EQ(f.edit->maxLength(), 5);
    }
}

TEST(VrEditConstraint, AutoAdvanceAndExitCharacterMoveToTheNextControl)
{
    {
        Form f("%s{l3a}");
        QTest::keyClicks(f.edit, "ab");
        QCoreApplication::processEvents();
        EXPECT_TRUE(f.edit->hasFocus());
        QTest::keyClick(f.edit, 'c');
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.next->hasFocus(); }, 2000));
        EXPECT_EQ(f.edit->text(), "abc");
    }
    {
        Form f("%h{e.}");
        QTest::keyClicks(f.edit, "0A.");
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.next->hasFocus(); }, 2000));
        EXPECT_EQ(f.edit->text(), "0A");
        EXPECT_EQ(f.beeps.count(), 0);
    }
}

TEST(VrEditConstraint, DelimitedNumbers)
{
    Form f("%n.{n0x255l4f}");
    QTest::keyClicks(f.edit, "1..2");
    EXPECT_EQ(f.edit->text(), "1.2");
    EXPECT_EQ(f.beeps.count(), 1);
    f.edit->setText("1.2.3");
    f.leave();
    EXPECT_EQ(f.boxes.lastText(), "(VrCommon) Please enter a delimited number string with delimiter '.'.\n"
                                  "Here,the count of the number is equal to 4!");
    f.edit->setFocus();
    f.edit->setText("1.2.3.300");
    f.leave();
    EXPECT_TRUE(f.boxes.lastText().endsWith("each number is between 0 and 255!"));
    f.edit->setFocus();
    f.edit->clear();
    QTest::keyClicks(f.edit, "10.0.0.1"); // the length counts numbers, not characters
    f.leave();
    EXPECT_EQ(f.boxes.count(), 2);
    EXPECT_EQ(f.constraints.LastValidText(f.edit), "10.0.0.1");
}

TEST(VrEditConstraint, PageExitHandlerSettingTagMinusOneRevertsAValidText)
{
    Form f("%u{n1x4094}");
    f.edit->setText("10");
    f.leave();
    int exits = 0;
    QObject::connect(&f.constraints, &VrEditConstraint::Exited, &f.form, [&](QLineEdit *e) {
        ++exits;
        e->setProperty(VrTagProperty, -1);
    });
    f.edit->setFocus();
    f.edit->setText("20");
    f.leave();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(f.boxes.count(), 0);
    EXPECT_EQ(f.edit->text(), "10");
}

TEST(VrEditConstraint, MarkersWindowSwitchesAndRemovedConstraintsAreNotChecked)
{
    Form f("%u{n1x9}");
    f.edit->setText("(NULL)");
    f.leave();
    EXPECT_EQ(f.edit->text(), "(NULL)");
    EXPECT_EQ(f.beeps.count(), 0);

    // Another window coming to the front is not leaving the edit.
    f.edit->setText("77");
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(f.edit, &away);
    EXPECT_EQ(f.boxes.count(), 0);

    f.constraints.RemoveConstraint(f.edit);
    f.edit->setText("77x");
    f.leave();
    EXPECT_EQ(f.edit->text(), "77x");
    EXPECT_EQ(f.boxes.count(), 0);
    EXPECT_EQ(f.beeps.count(), 0);

    // An edit destroyed with the focus in it (a page closing) is not left.
    f.constraints.AddConstraint("%u{n1x9}", f.other);
    f.other->setFocus();
    ASSERT_TRUE(f.other->hasFocus());
    f.other->setText("77");
    delete f.other;
    EXPECT_EQ(f.boxes.count(), 0);
}

TEST(VrEditConstraint, ModalBoxOfARefusedExitDoesNotCheckTheNextEdit)
{
    QDialog form;
    auto *layout = new QVBoxLayout(&form);
    auto *edit = new QLineEdit(&form), *next = new QLineEdit(&form);
    layout->addWidget(edit);
    layout->addWidget(next);
    VrEditConstraint constraints(&form, true);
    constraints.AddConstraints("%u{n1x10}%u{n1x10}", {edit, next});
    next->setText("99");
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    edit->setFocus();
    edit->setText("50");

    // A real box this time, answered as soon as it is up.
    QStringList shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown.append(box->text());
            box->done(QMessageBox::Ok);
        }
    });
    answer.start(10);
    next->setFocus(Qt::TabFocusReason);
    QTest::qWait(100);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "(VrCommon) Please enter a number between 1 and 10!");
    EXPECT_EQ(edit->text(), "");
    // The form gets the focus back with the edit in it (the offscreen platform
    // does not reactivate it by itself).
    EXPECT_EQ(form.focusWidget(), edit);
    EXPECT_EQ(next->text(), "99");
}

TEST(VrEditConstraint, BadFormatsAreRefusedWhenAdded)
{
    QLineEdit edit;
    VrEditConstraint constraints(nullptr, true);
    for (const char *format : {"%", "%x", "%u{n1", "%s{q}", "u"}) {
        SCOPED_TRACE(format);
        try {
            constraints.AddConstraint(format, &edit);
            ADD_FAILURE() << "accepted";
        } catch (const VrCommonException &e) {
            EXPECT_EQ(e.Code(), VrCommonBadFormat);
        }
    }
    EXPECT_FALSE(constraints.HasConstraint(&edit));
}
