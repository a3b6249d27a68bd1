#include "QtPrinters.h"
#include "VrCommon.h"
#include "VrControlBindings.h"
#include "VrEditConstraint.h"
#include "VrOptionList.h"
#include "VrRadioGroup.h"
#include "VrRawValue.h"
#include "VrSNMPError.h"
#include "VrSNMPVarList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <functional>
#include <gtest/gtest.h>

namespace {

const VrOptionNumDef kModes[] = {
    {1, "Access Point"}, {2, "WDS with AP"}, {3, "WDS"}, {4, "Wireless Client"}, {0, nullptr}};
const VrOptionNumDef kSwitch[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionTextDef kTrees[] = {{"1.3.6.1.2.1", "mib-2"}, {"1.3.6.1.4.1", "enterprises"}, {nullptr, nullptr}};

int codeOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const VrSNMPException &e) {
        return e.Code();
    } catch (const VrCommonException &e) {
        return e.Code();
    }
    return 0;
}

// A page with one binder over a list built from the given definitions.
class Page
{
public:
    explicit Page(const VrSNMPVarDef *defs, uint8_t kind = VrListScalar)
        : list(defs, kind, 0), bindings(list, &form)
    {
    }
    QLineEdit *edit() { return new QLineEdit(&form); }
    QList<QWidget *> edits(int n)
    {
        QList<QWidget *> list;
        for (int i = 0; i < n; ++i)
            list.append(edit());
        return list;
    }
    static QString text(QWidget *w) { return static_cast<QLineEdit *>(w)->text(); }
    static void type(QWidget *w, const QString &t) { static_cast<QLineEdit *>(w)->setText(t); }
    QString &value(int i) { return list.Item(i).value; }

    QDialog form;
    VrSNMPVarList list;
    VrControlBindings bindings;
};

#define RW VrFlagRead | VrFlagWrite
#define DEF(syntax, options, value) {"1.3.6.1.4.1.48213.10.37.37.9", "obj", syntax, RW, options, nullptr, nullptr, nullptr, value, nullptr}
#define END {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}

} // namespace

TEST(VrControlBindings, LabelsAndSingleEditsCarryTheWholeText)
{
    VrOptionList modes(kModes);
    const VrSNMPVarDef defs[] = {DEF(VrSyntaxDisplayString, nullptr, "QRT-5150"),
                                 DEF(VrSyntaxInteger, &modes, "3"),
                                 DEF(VrSyntaxIpAddress, nullptr, "(NULL)"), DEF(VrSyntaxOctetHex, nullptr, "0102030405"), END};
    Page p(defs);
    auto *label = new QLabel(&p.form);
    QLineEdit *name = p.edit(), *mode = p.edit(), *address = p.edit(), *hex = p.edit();
    p.bindings.BindControl(3, hex);
    p.bindings.BindControl(0, label);
    p.bindings.BindControl(0, name);
    p.bindings.BindControl(1, mode);
    p.bindings.BindControl(2, address);
    p.bindings.ShowValues();
    EXPECT_EQ(label->text(), "QRT-5150");
    EXPECT_EQ(name->text(), "QRT-5150");
    EXPECT_EQ(mode->text(), "WDS"); // through the variable's option list
    EXPECT_EQ(address->text(), "(NULL)");

    // Bindings are merged in bind order: the edit, bound after the label, wins.
    name->setText("AP-1");
    label->setText("AP-2");
    mode->setText("Wireless Client");
    address->setText("10.0.0.1");
    hex->setText("AA");
    p.bindings.CollectValues();
    EXPECT_EQ(p.value(3), "AA"); // replaced, not laid over the old bytes
    EXPECT_EQ(p.value(0), "AP-1");
    EXPECT_EQ(p.value(1), "Wireless Client");
    EXPECT_EQ(p.value(2), "10.0.0.1");
}

TEST(VrControlBindings, ComboBoxesAndRadioGroupsSelectByTextOrValue)
{
    VrOptionList modes(kModes);
    const VrSNMPVarDef defs[] = {DEF(VrSyntaxInteger, &modes, "2"), DEF(VrSyntaxInteger, nullptr, "4"), END};
    Page p(defs);
    auto *combo = new QComboBox(&p.form);
    combo->setEditable(true);
    auto *radios = new VrRadioGroup(&p.form);
    p.bindings.BindComboBox(0, combo);
    p.bindings.BindPart(1, 0, VrSyntaxInteger, &modes, radios);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(radios->items().size(), 4);

    p.bindings.ShowValues();
    EXPECT_EQ(combo->currentText(), "WDS with AP");
    EXPECT_EQ(radios->itemIndex(), 3);
    p.value(0) = "WDS"; // a display text already
    p.value(1) = "9";   // not in the list
    p.bindings.ShowValues();
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(radios->itemIndex(), -1);

    combo->setCurrentIndex(0);
    radios->setItemIndex(1);
    p.bindings.CollectValues();
    EXPECT_EQ(p.value(0), "Access Point"); // the variable has the list: display text
    EXPECT_EQ(p.value(1), "2");            // the binding's own list: raw value
}

TEST(VrControlBindings, ChoiceControlsNeedAnOptionList)
{
    VrOptionList trees(kTrees, VrOptionList::Prefix);
    const VrSNMPVarDef defs[] = {DEF(VrSyntaxInteger, nullptr, "1"), DEF(VrSyntaxOid, &trees, "1.3.6.1.2.1.5"), END};
    Page p(defs);
    auto *combo = new QComboBox(&p.form);
    EXPECT_EQ(codeOf([&] { p.bindings.BindComboBox(0, combo); }), VrErrNoOptionList);
    EXPECT_EQ(codeOf([&] { p.bindings.BindControl(0, new VrRadioGroup(&p.form)); }), VrErrNoOptionList);
    // A prefix list leaves the rest of the value to a second control.
    EXPECT_EQ(codeOf([&] { p.bindings.BindComboBox(1, combo); }), VrErrTooFewControls);
    EXPECT_EQ(codeOf([&] { p.bindings.BindControl(5, p.edit()); }), VrCommonIndexRange);
    EXPECT_TRUE(p.bindings.Bindings().empty());
}

TEST(VrControlBindings, PrefixComboWithSecondEditSplitsAndJoinsAnIdentifier)
{
    VrOptionList trees(kTrees, VrOptionList::Prefix);
    const VrSNMPVarDef defs[] = {DEF(VrSyntaxOid, &trees, "1.3.6.1.2.1.5.3"), END};
    Page p(defs);
    auto *combo = new QComboBox(&p.form);
    QLineEdit *rest = p.edit();
    p.bindings.BindPart(0, 0, VrSyntaxOid, nullptr, combo, rest);
    p.bindings.ShowValues();
    EXPECT_EQ(combo->currentText(), "mib-2");
    EXPECT_EQ(rest->text(), "5.3"); // without the dot between prefix and rest

    combo->setCurrentIndex(1);
    rest->setText("9");
    p.bindings.CollectValues();
    EXPECT_EQ(p.value(0), "enterprises.9");
    EXPECT_EQ(trees.TextToValue(p.value(0)), "1.3.6.1.4.1.9");
}

TEST(VrControlBindings, CheckBoxesByTruthValueByOptionListAndRefusedOtherwise)
{
    VrOptionList onOff(kSwitch);
    const VrSNMPVarDef defs[] = {DEF(VrSyntaxTruthValue, nullptr, "true"), DEF(VrSyntaxInteger, &onOff, "1"),
                                 DEF(VrSyntaxInteger, nullptr, "1"), DEF(VrSyntaxOctetHex, nullptr, "0001"), END};
    Page p(defs);
    auto *truth = new QCheckBox(&p.form), *option = new QCheckBox(&p.form), *plain = new QCheckBox(&p.form),
         *low = new QCheckBox(&p.form);
    p.bindings.BindCheckBox(0, truth);
    p.bindings.BindCheckBox(1, option);
    p.bindings.BindPart(3, 0, VrPartBool16, nullptr, low);
    p.bindings.ShowValues();
    EXPECT_TRUE(truth->isChecked());
    EXPECT_TRUE(option->isChecked());
    EXPECT_TRUE(low->isChecked());

    truth->setChecked(false);
    option->setChecked(false);
    p.bindings.CollectValues();
    EXPECT_EQ(p.value(0), "false");
    EXPECT_EQ(p.value(1), "Disable");
    p.value(1) = "Enable";
    p.bindings.ShowValues(1);
    EXPECT_TRUE(option->isChecked());

    // An INTEGER is neither a truth value nor mapped by a list.
    p.bindings.BindCheckBox(2, plain);
    EXPECT_EQ(codeOf([&] { p.bindings.ShowValues(2); }), VrErrBadPartSyntax);
    EXPECT_EQ(codeOf([&] { p.bindings.CollectValues(2); }), VrErrBadPartSyntax);
}

TEST(VrControlBindings, BitsOfAnOctetStringCountFromTheTopBitOfTheFirstByte)
{
    const VrSNMPVarDef defs[] = {DEF(VrSyntaxOctetHex, nullptr, ""), END};
    Page p(defs);
    auto *bit0 = new QCheckBox(&p.form), *bit9 = new QCheckBox(&p.form);
    p.bindings.BindBits(0, "0,9", {bit0, bit9});

    bit0->setChecked(true);
    p.bindings.CollectValues();
    EXPECT_EQ(p.value(0), "8000");
    bit0->setChecked(false);
    bit9->setChecked(true);
    p.bindings.CollectValues();
    EXPECT_EQ(p.value(0), "0040");

    p.value(0) = "80C0FF";
    p.bindings.ShowValues();
    EXPECT_TRUE(bit0->isChecked());
    EXPECT_TRUE(bit9->isChecked());
    p.value(0) = "80";
    EXPECT_EQ(codeOf([&] { p.bindings.ShowValues(); }), VrErrPartIndexRange);
    EXPECT_EQ(codeOf([&] { p.bindings.BindBits(0, "1,2,3", {bit0, bit9}); }), VrErrTooFewControls);
}

TEST(VrControlBindings, PartsCutOutOfLongerValues)
{
    const VrSNMPVarDef defs[] = {DEF(VrSyntaxOctetHex, nullptr, "00FFFE"),
                                 DEF(VrSyntaxOctetHex, nullptr, "0102030405"), END};
    Page p(defs);
    QLineEdit *word = p.edit();
    p.bindings.BindPart(0, 1, VrPartInt16, nullptr, word);
    p.bindings.ShowValues();
    EXPECT_EQ(word->text(), "65534");
    word->setText("258");
    p.bindings.CollectValues();
    EXPECT_EQ(p.value(0), "000102");

    // A part that runs past the value: earlier bindings already show theirs.
    p.bindings.BindPart(1, 2, VrSyntaxInteger, nullptr, p.edit());
    word->clear();
    EXPECT_EQ(codeOf([&] { p.bindings.ShowValues(); }), VrErrPartIndexRange);
    EXPECT_EQ(word->text(), "258");
}

TEST(VrControlBindings, DisplayStringIsRebuiltFromItsPartsOnly)
{
    const VrSNMPVarDef defs[] = {DEF(VrSyntaxDisplayString, nullptr, "AB-rest-of-it"), END};
    Page p(defs);
    QLineEdit *first = p.edit(), *rest = p.edit();
    p.bindings.BindPart(0, 0, VrPartUInt8, nullptr, first);
    p.bindings.BindPart(0, 1, VrSyntaxDisplayString, nullptr, rest);
    p.bindings.ShowValues();
    EXPECT_EQ(first->text(), "65");
    EXPECT_EQ(rest->text(), "B-rest-of-it");
    rest->setText("Z");
    p.bindings.CollectValues();
    EXPECT_EQ(p.value(0), "AZ");
}

TEST(VrControlBindings, AddressesInSeveralEdits)
{
    const VrSNMPVarDef defs[] = {DEF(VrSyntaxIpAddress, nullptr, "(NULL)"), DEF(VrSyntaxMacAddress, nullptr, "00A0C9123456"),
                                 DEF(VrSyntaxOid, nullptr, "1.3.6"), DEF(VrSyntaxOctetHex, nullptr, "0A0B"), END};
    Page p(defs);
    const QList<QWidget *> ip = p.edits(4), mac = p.edits(6), oid = p.edits(3), hex = p.edits(3);
    for (QWidget *w : ip)
        Page::type(w, "7");
    p.bindings.BindControls(0, 0, VrSyntaxIpAddress, nullptr, ip);
    p.bindings.BindControls(1, 0, VrSyntaxMacAddress, nullptr, mac);
    p.bindings.BindControls(2, 0, VrSyntaxOid, nullptr, oid);
    p.bindings.BindControls(3, 0, VrSyntaxOctetHex, nullptr, hex);
    p.bindings.ShowValues();
    EXPECT_EQ(Page::text(ip[0]), "7"); // a null address leaves the edits alone
    EXPECT_EQ(Page::text(mac[1]), "A0");
    EXPECT_EQ(Page::text(mac[5]), "56");
    EXPECT_EQ(Page::text(oid[2]), "6");
    EXPECT_EQ(Page::text(hex[0]), "0A");
    EXPECT_EQ(Page::text(hex[2]), "");

    p.value(0) = "192.168.0.254";
    p.bindings.ShowValues(0);
    EXPECT_EQ(Page::text(ip[3]), "254");
    Page::type(ip[3], "1");
    Page::type(mac[0], "1");
    Page::type(oid[2], "7");
    Page::type(hex[1], "");
    Page::type(hex[2], "F");
    p.bindings.CollectValues();
    EXPECT_EQ(p.value(0), "192.168.0.1");
    EXPECT_EQ(p.value(1), "01A0C9123456");
    EXPECT_EQ(p.value(2), "1.3.7");
    EXPECT_EQ(p.value(3), "0A000F");

    // More bytes than edits.
    p.value(3) = "01020304";
    EXPECT_EQ(codeOf([&] { p.bindings.ShowValues(3); }), VrErrTooFewControls);
    p.bindings.BindControls(0, 0, VrSyntaxIpAddress, nullptr, p.edits(3));
    EXPECT_EQ(codeOf([&] { p.bindings.CollectValues(0); }), VrErrTooFewControls);
}

TEST(VrControlBindings, TimesAndDatesInSeveralEdits)
{
    const VrSNMPVarDef defs[] = {DEF(VrSyntaxTimeTicks, nullptr, "1 days, 02:03:04.05"),
                                 DEF(VrSyntaxDateAndTime, nullptr, "2009-7-15,13:45:30.5,-5:30"),
                                 DEF(VrSyntaxDateTime8, nullptr, "2009/07/06 06:00:00 pm"), END};
    Page p(defs);
    const QList<QWidget *> ticks = p.edits(5), date = p.edits(10), day = p.edits(7);
    p.bindings.BindControls(0, 0, VrSyntaxTimeTicks, nullptr, ticks);
    p.bindings.BindControls(1, 0, VrSyntaxDateAndTime, nullptr, date);
    p.bindings.BindControls(2, 0, VrSyntaxDateTime8, nullptr, day);
    p.bindings.ShowValues();
    QStringList shown;
    for (QWidget *w : ticks + date + day)
        shown.append(Page::text(w));
    EXPECT_EQ(shown.join(' '), "1 2 3 4 5 2009 7 15 13 45 30 5 - 5 30 2009 7 6 18 0 0 0");

    Page::type(ticks[0], "0");
    Page::type(date[7], "+");
    Page::type(day[3], "9");
    p.bindings.CollectValues();
    EXPECT_EQ(p.value(0), "0 days, 02:03:04.05");
    EXPECT_EQ(p.value(1), "2009-7-15,13:45:30.5,+5:30");
    EXPECT_EQ(p.value(2).toLower(), "2009/07/06 09:00:00 am");

    // Day 50000 of 100 days is more than 32 bits of hundredths.
    Page::type(ticks[0], "50000");
    EXPECT_EQ(codeOf([&] { p.bindings.CollectValues(0); }), VrErrBadPartValue);
    Page::type(day[1], "13");
    EXPECT_EQ(codeOf([&] { p.bindings.CollectValues(2); }), VrErrBadPartValue);
}

TEST(VrControlBindings, ExcludedAndReadOnlyItemsAreLeftAlone)
{
    const VrSNMPVarDef defs[] = {
        {"1.3.6.1.2.1.1.5", "sysName", VrSyntaxDisplayString, RW | VrFlagExcluded, nullptr, nullptr, nullptr, nullptr, "x", nullptr},
        {"1.3.6.1.2.1.1.1", "sysDescr", VrSyntaxDisplayString, VrFlagRead, nullptr, nullptr, nullptr, nullptr, "y", nullptr},
        END};
    Page p(defs);
    QLineEdit *a = p.edit(), *b = p.edit();
    p.bindings.BindControl(0, a);
    p.bindings.BindControl(1, b);
    p.bindings.ShowValues();
    EXPECT_EQ(a->text(), "");
    EXPECT_EQ(b->text(), "y");
    a->setText("new");
    b->setText("new");
    p.bindings.CollectValues();
    EXPECT_EQ(p.value(0), "x");
    EXPECT_EQ(p.value(1), "y");
}

TEST(VrControlBindings, UnsupportedControlsFormatsUnbindingAndEnabling)
{
    const VrSNMPVarDef defs[] = {DEF(VrSyntaxInteger, nullptr, "5"), DEF(VrSyntaxInteger, nullptr, "7"), END};
    Page p(defs);
    auto *spin = new QSpinBox(&p.form);
    p.bindings.BindControl(0, spin);
    EXPECT_EQ(codeOf([&] { p.bindings.ShowValues(); }), VrErrBadControlType);
    EXPECT_EQ(codeOf([&] { p.bindings.CollectValues(); }), VrErrBadControlType);
    p.bindings.Unbind(0);
    EXPECT_TRUE(p.bindings.Bindings().empty());

    QLineEdit *vid = p.edit(), *name = p.edit();
    EXPECT_EQ(codeOf([&] { p.bindings.BindFormat(1, "%u{n1x4094", {vid}); }), VrCommonBadFormat);
    EXPECT_EQ(codeOf([&] { p.bindings.BindFormat(1, "%u%s", {vid}); }), VrErrTooFewControls);
    EXPECT_FALSE(p.bindings.Constraints().HasConstraint(vid));
    p.bindings.BindFormat(1, "%u{n1x4094l4}", {vid});
    p.bindings.BindControl(0, name);
    EXPECT_TRUE(p.bindings.Constraints().HasConstraint(vid));
    EXPECT_EQ(vid->maxLength(), 4);
    p.bindings.ShowValues();
    EXPECT_EQ(vid->text(), "7");

    p.bindings.EnableControls(false);
    EXPECT_FALSE(vid->isEnabled());
    EXPECT_FALSE(name->isEnabled());
    p.bindings.Unbind(1);
    EXPECT_FALSE(p.bindings.Constraints().HasConstraint(vid));
    ASSERT_EQ(p.bindings.Bindings().size(), 1u);
    EXPECT_EQ(p.bindings.Bindings()[0]->varIndex, 0);
}
