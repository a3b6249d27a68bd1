// Binders against a private snmpd: loads and applies cross a real UDP socket.
#include "QtPrinters.h"
#include "SnmpEventProcessor.h"
#include "SnmpdSuite.h"
#include "VrMessageBox.h"
#include "VrSNMPRequest2Edits.h"
#include "VrSNMPSession.h"
#include "VrStatusBar.h"

#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

#define END {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}

const VrSNMPVarDef kSystem[] = {
    {"1.3.6.1.2.1.1.5", "sysName", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.1.6", "sysLocation", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    END};

// The agent's table: INTEGER row * 10 and OCTET STRING "row<n>", both writable.
const VrSNMPVarDef kRows[] = {
    {"1.3.6.1.4.1.99999.1.1.0", "rowIndex", VrSyntaxInteger, VrFlagKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.99999.1.1.1", "rowNumber", VrSyntaxInteger, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.99999.1.1.2", "rowName", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    END};

// A column past every object of the agent: the first step ends the walk.
const VrSNMPVarDef kBeyond[] = {
    {"1.3.6.1.4.1.99999.9.1.1", "nothing", VrSyntaxInteger, VrFlagRead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    END};

class Binders : public SnmpdSuite
{
protected:
    // A synchronous binder on the page for the agent, counting its steps.
    VrSNMPRequest2Edits *binder(const VrSNMPVarDef *defs, uint8_t kind, int keys = 0)
    {
        auto *b = new VrSNMPRequest2Edits(&page);
        pointAtAgent(b->Request);
        b->Request.VarList = VrSNMPVarList(defs, kind, keys);
        b->Asynchronous = false;
        b->Request.OnError = [this](VrSNMPError &e) { errors.push_back(e); };
        b->BeforeLoadHook = [this] { ++beforeLoads; };
        b->AfterLoadHook = [this] { ++afterLoads; };
        return b;
    }
    static void pointAtAgent(VrSNMPRequest &r) { PointAtAgent(r, VrSNMPv2c, 100); }
    // What the agent holds now, read by a request of its own.
    static QString agentValue(const char *oid, int syntax = VrSyntaxDisplayString)
    {
        const VrSNMPVarDef defs[] = {{oid, "probe", syntax, VrFlagRead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}, END};
        VrSNMPRequest r;
        pointAtAgent(r);
        r.VarList = VrSNMPVarList(defs, VrListInstance, 0);
        bool ok = true;
        r.Get(ok, true);
        return ok ? r.VarList.Item(0).value : QStringLiteral("(failed)");
    }
    QLineEdit *edit() { return new QLineEdit(&page); }

    QDialog page;
    int beforeLoads = 0;
    int afterLoads = 0;
};

QString timeRe()
{
    return QStringLiteral("\\d\\d:\\d\\d:\\d\\d (%1|%2)")
        .arg(QRegularExpression::escape(QLocale().amText()), QRegularExpression::escape(QLocale().pmText()));
}

} // namespace

TEST_F(Binders, SynchronousScalarLoadAndApplyReachTheAgent)
{
    auto *b = binder(kSystem, VrListScalar);
    QLineEdit *name = edit(), *location = edit();
    b->BindFormat(0, "%s", {name});
    b->BindControl(1, location);
    ASSERT_TRUE(b->Load());
    EXPECT_EQ(b->RowCount(), 1);
    EXPECT_FALSE(b->Busy());
    EXPECT_EQ(name->text(), agentValue("1.3.6.1.2.1.1.5.0"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Code, 0);
    EXPECT_EQ(errors[0].Message, "(VrSNMP++) Ok!");
    EXPECT_EQ(errors[0].Sequence, std::numeric_limits<uint64_t>::max());

    location->setText("Rack 7");
    name->setText("ap-under-test");
    int applyHooks = 0;
    b->BeforeApplyHook = [&] { applyHooks += 1; };
    b->AfterApplyHook = [&] { applyHooks += 10; };
    EXPECT_TRUE(b->Apply());
    EXPECT_EQ(applyHooks, 11);
    EXPECT_EQ(agentValue("1.3.6.1.2.1.1.6.0"), "Rack 7");
    EXPECT_EQ(agentValue("1.3.6.1.2.1.1.5.0"), "ap-under-test");
    // A scalar list is not read back.
    EXPECT_EQ(beforeLoads, 1);
    EXPECT_EQ(errors.size(), 2u);
}

TEST_F(Binders, FalseConditionDeliversNoRowAndNoError)
{
    auto *b = binder(kSystem, VrListScalar);
    QLineEdit *name = edit();
    name->setText("untouched");
    b->BindControl(0, name);
    b->Request.Condition = "$0=\"no such name\"";
    EXPECT_TRUE(b->Load());
    EXPECT_EQ(b->RowCount(), 0);
    EXPECT_EQ(name->text(), "untouched");
    EXPECT_EQ(afterLoads, 1);
}

TEST_F(Binders, TableWalkFillsTheListViewAndASelectionFillsTheControls)
{
    auto *b = binder(kRows, VrListTable, 1);
    auto *view = new QTreeWidget(&page);
    QLineEdit *number = edit(), *rowName = edit();
    b->BindControl(1, number);
    b->BindControl(2, rowName);
    b->AttachListView(view, true);
    ASSERT_EQ(view->columnCount(), 3);
    EXPECT_EQ(view->headerItem()->text(0), "rowIndex");
    EXPECT_EQ(view->headerItem()->text(2), "rowName");
    EXPECT_FALSE(view->isColumnHidden(0)); // keys are data columns

    ASSERT_TRUE(b->Load());
    EXPECT_EQ(b->RowCount(), SnmpdAgent::kTableRows);
    ASSERT_EQ(view->topLevelItemCount(), SnmpdAgent::kTableRows);
    EXPECT_EQ(view->topLevelItem(4)->text(0), "5");
    EXPECT_EQ(view->topLevelItem(4)->text(1), "50");
    EXPECT_EQ(view->topLevelItem(4)->text(2), "row5");
    // Kind 2 with EnableOnSelect: nothing to edit until a row is chosen.
    EXPECT_FALSE(number->isEnabled());

    view->setCurrentItem(view->topLevelItem(6));
    EXPECT_TRUE(number->isEnabled());
    EXPECT_EQ(number->text(), "70");
    EXPECT_EQ(rowName->text(), "row7");

    // Writing a row of a table reads the table back.
    rowName->setText("seventh");
    EXPECT_TRUE(b->Apply());
    EXPECT_EQ(agentValue("1.3.6.1.4.1.99999.1.1.2.7"), "seventh");
    EXPECT_EQ(beforeLoads, 2);
    EXPECT_EQ(view->topLevelItem(6)->text(2), "seventh");
}

TEST_F(Binders, WalkEndingAtTheFirstStepDeliversNoRow)
{
    auto *b = binder(kBeyond, VrListTable2, 0);
    int rows = 0;
    b->AfterLoadHook = [&] { ++afterLoads; rows = b->RowCount(); };
    auto *view = new QTreeWidget(&page);
    b->AttachListView(view, false);
    EXPECT_TRUE(b->Load());
    EXPECT_EQ(beforeLoads, 1);
    EXPECT_EQ(afterLoads, 1);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(view->topLevelItemCount(), 0);
}

TEST_F(Binders, ConversionErrorStopsApplyBeforeAnythingIsSent)
{
    const VrSNMPVarDef defs[] = {
        {"1.3.6.1.2.1.1.6", "sysLocation", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.2.3", "anOid", VrSyntaxOid, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        END};
    auto *b = binder(defs, VrListScalar);
    QLineEdit *location = edit(), *oid = edit();
    b->BindControl(0, location);
    b->BindControl(1, oid);
    ASSERT_TRUE(b->Load());
    const QString before = agentValue("1.3.6.1.2.1.1.6.0");
    location->setText("never written");
    oid->setText("1..x");
    try {
        b->Apply();
        ADD_FAILURE() << "applied";
    } catch (const VrSNMPException &e) {
        EXPECT_EQ(e.Code(), VrErrBadPartValue);
    }
    EXPECT_FALSE(b->Busy());
    EXPECT_EQ(agentValue("1.3.6.1.2.1.1.6.0"), before);
}

TEST_F(Binders, AsynchronousLoadAndApply)
{
    auto *b = binder(kRows, VrListTable2, 1);
    b->Asynchronous = true;
    auto *view = new QTreeWidget(&page);
    QLineEdit *rowName = edit();
    b->BindControl(2, rowName);
    b->AttachListView(view, false);
    std::vector<int> loads, applies;
    b->OnLoadDone = [&](VrSNMPRequest2Controls *sender, const VrSNMPError &e) {
        EXPECT_EQ(sender, b);
        loads.push_back(e.Code);
    };
    b->OnApplyDone = [&](VrSNMPRequest2Controls *, const VrSNMPError &e) { applies.push_back(e.Code); };

    EXPECT_TRUE(b->Load());
    EXPECT_TRUE(b->Busy());
    ASSERT_TRUE(QTest::qWaitFor([&] { return int(loads.size()) == 1; }, 20000));
    EXPECT_EQ(loads[0], 0);
    EXPECT_FALSE(b->Busy());
    EXPECT_EQ(b->RowCount(), SnmpdAgent::kTableRows);
    EXPECT_EQ(view->topLevelItemCount(), SnmpdAgent::kTableRows);

    view->setCurrentItem(view->topLevelItem(2));
    EXPECT_EQ(rowName->text(), "row3");
    rowName->setText("third");
    EXPECT_TRUE(b->Apply());
    ASSERT_TRUE(QTest::qWaitFor([&] { return int(applies.size()) == 1; }, 5000));
    EXPECT_EQ(applies[0], 0);
    // The read-back of the table follows the write.
    ASSERT_TRUE(QTest::qWaitFor([&] { return int(loads.size()) == 2; }, 20000));
    EXPECT_EQ(view->topLevelItem(2)->text(2), "third");
    EXPECT_EQ(agentValue("1.3.6.1.4.1.99999.1.1.2.3"), "third");
}

TEST_F(Binders, TimeOutsAreReportedInTheStatusTargetOrAMessageBox)
{
    VrMessageBoxRecorder boxes;
    auto *b = binder(kSystem, VrListScalar);
    b->Request.Port = 9; // nothing answers on loopback's discard port
    b->Request.Timeout = 10;
    b->Request.Retries = 0;
    auto *bar = new VrStatusBar(&page);
    b->SetStatusTarget(bar);
    EXPECT_FALSE(b->Load());
    ASSERT_EQ(errors.size(), 1u);
    const VrSNMPError timedOut = errors[0];
    EXPECT_EQ(timedOut.Code, VrErrTimeout);

    b->ShowStatus(timedOut.Message);
    const QRegularExpression line("^Get: " + QRegularExpression::escape(timedOut.Message) + "\\. Receive at "
                                  + timeRe() + "\\.$");
    EXPECT_TRUE(line.match(bar->simpleText()).hasMatch()) << bar->simpleText().toStdString();
    EXPECT_EQ(timedOut.Message, "(SNMPClass) SNMP request timed out!");

    // A memo collects lines; a write names itself "Set".
    auto *memo = new QPlainTextEdit(&page);
    b->SetStatusTarget(memo);
    b->Request.VarList.description = "system group";
    b->ShowStatus("first");
    EXPECT_FALSE(b->Apply()); // refused: the group was never read
    EXPECT_EQ(boxes.count(), 1);
    b->ShowStatus("second");
    const QStringList lines = memo->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Get: first Request:system group. Receive at ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("Set: second Request:system group.")) << lines[1].toStdString();
    auto *panel = new QLabel(&page);
    b->SetStatusTarget(panel);
    b->ShowStatus("third");
    EXPECT_TRUE(panel->text().startsWith("Set: third Request:system group.")) << panel->text().toStdString();

    // Without a target the asynchronous failure goes to OnLoadDone only, and a
    // binder's own report to a message box on the page.
    b->SetStatusTarget(nullptr);
    b->Asynchronous = true;
    int code = 0;
    b->OnLoadDone = [&](VrSNMPRequest2Controls *, const VrSNMPError &e) { code = e.Code; };
    boxes.clear();
    b->Load();
    ASSERT_TRUE(QTest::qWaitFor([&] { return code == int(VrErrTimeout); }, 5000));
    EXPECT_FALSE(b->Busy());
    EXPECT_EQ(boxes.count(), 0);
}

// What a group shows before its first successful read is no value of the
// device: it is not written, even once the device answers again, until the
// group has been read. A group that is never read (a command) is written.
TEST_F(Binders, AGroupWhoseReadFailedIsNotWrittenUntilReadAgain)
{
    VrMessageBoxRecorder boxes;
    const QString before = agentValue("1.3.6.1.2.1.1.6.0");
    auto *b = binder(kSystem, VrListScalar);
    b->Request.VarList.description = "system group";
    QLineEdit *name = edit(), *location = edit();
    b->BindFormat(0, "%s", {name});
    b->BindFormat(1, "%s", {location});
    b->Request.Port = 9; // silent
    b->Request.Timeout = 10;
    b->Request.Retries = 0;
    EXPECT_FALSE(b->Load());
    EXPECT_FALSE(b->WasRead());

    pointAtAgent(b->Request);
    location->setText("typed over nothing");
    EXPECT_FALSE(b->Apply());
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.lastText().contains("\"system group\" could not be read")) << boxes.lastText().toStdString();
    EXPECT_EQ(agentValue("1.3.6.1.2.1.1.6.0"), before);

    ASSERT_TRUE(b->Load());
    EXPECT_TRUE(b->WasRead());
    location->setText("Rack 9");
    EXPECT_TRUE(b->Apply());
    EXPECT_EQ(agentValue("1.3.6.1.2.1.1.6.0"), "Rack 9");

    auto *command = binder(kSystem, VrListScalar);
    QLineEdit *commandName = edit();
    command->BindFormat(0, "%s", {commandName});
    command->BindFormat(1, "%s", {edit()});
    commandName->setText("named-unread");
    EXPECT_TRUE(command->Apply());
    EXPECT_EQ(agentValue("1.3.6.1.2.1.1.5.0"), "named-unread");
    EXPECT_EQ(boxes.count(), 1);
}

// A Save of two groups left while the second waits: the first reached the
// device, the second did not, and the page says so; nothing says OK.
TEST_F(Binders, ASaveCancelledHalfwaySaysWhatWasWritten)
{
    auto *name = binder(kSystem, VrListScalar);
    name->Request.VarList.description = "System name";
    name->Request.VarList.Item(1).flags |= VrFlagExcluded;
    name->BindFormat(0, "%s", {edit()});
    auto *location = binder(kSystem, VrListScalar);
    location->Request.VarList.description = "Location";
    location->Request.Port = 9; // nothing answers
    location->Request.Timeout = 500;
    location->BindFormat(1, "%s", {edit()});
    auto *bar = new VrStatusBar(&page);
    location->SetStatusTarget(bar);
    ASSERT_TRUE(name->Apply());
    QTimer::singleShot(200, [] { SnmpEventProcessor::Global().CancelWaits(); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(location->Apply());
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(errors.back().Code, VrErrCancelled);
    EXPECT_TRUE(bar->simpleText().startsWith(
        "Set: Cancelled (written: System name; not written: Location and what follows) Request:Location."))
        << bar->simpleText().toStdString();
}

TEST_F(Binders, ErrorsOfRowsInAnAsynchronousLoadEndItWithAReport)
{
    const VrSNMPVarDef defs[] = {
        {"1.3.6.1.2.1.1.5", "sysName", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        END};
    auto *b = binder(defs, VrListScalar);
    b->Asynchronous = true;
    // A bit of the 126th byte: beyond any name the agent holds.
    auto *box = new QCheckBox(&page);
    b->BindBits(0, "1000", {box});
    bool done = false;
    b->OnLoadDone = [&](VrSNMPRequest2Controls *, const VrSNMPError &) { done = true; };
    VrMessageBoxRecorder boxes;
    b->Load();
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.count() == 1; }, 5000));
    EXPECT_EQ(boxes.lastText(), VrSNMPMessage(VrErrPartIndexRange));
    EXPECT_EQ(boxes.calls()[0].caption, VrExecutableName());
    EXPECT_EQ(boxes.calls()[0].parent, &page);
    EXPECT_FALSE(b->Busy());
    EXPECT_FALSE(done);
    EXPECT_EQ(afterLoads, 0);
}
