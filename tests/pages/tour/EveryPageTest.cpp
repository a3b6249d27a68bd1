// Every page of the menu, opened against the simulated access point as an
// administrator would open it: it shows, its opening exchanges end, nothing
// but the messages it is meant to show on opening comes up, it fits a
// 1366 x 768 screen, it can be used from the keyboard, and Esc closes it.
// New pages are covered as they register.
#include "AgentFixture.h"
#include "PageTour.h"
#include "SimulatedPageFixture.h"
#include "SnmpTestClient.h"
#include "TFM_InternetConnect.h"
#include "TFM_Performace.h"
#include "TFM_Wirless.h"
#include "VrKeyboard.h"
#include "ApsimProcess.h"
#include "VrSNMPRequest2Controls.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"
#include "VrStatusBar.h"
#include "VrTimeScale.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTextEdit>
#include <QTreeWidget>
#include <QWidget>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <cstdio>
#include <map>
#include <set>

namespace {

// Messages a page shows on opening against a factory-new device, by design.
const std::multimap<std::string, QString> ExpectedOnOpening = {};

class EveryPage : public AgentFixture
{
};

// Where a user types, picks or reads a list: these need a name a screen
// reader can say, from a label that is their buddy or their own.
bool isField(const QWidget *w)
{
    if (qobject_cast<const QLineEdit *>(w)) // not the edit inside a combo or spin box
        return !qobject_cast<const QComboBox *>(w->parentWidget())
               && !qobject_cast<const QAbstractSpinBox *>(w->parentWidget());
    if (qobject_cast<const QHeaderView *>(w))
        return false;
    return qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
           || qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QPlainTextEdit *>(w)
           || qobject_cast<const QTextEdit *>(w);
}

bool isChoice(const QWidget *w)
{
    return qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w);
}

QString describe(const QWidget *w)
{
    return QString::fromLatin1(w->metaObject()->className()) + ' ' + w->objectName();
}

// Sends a key as the keyboard would: to the widget with the focus, from
// where it travels up to the page unless a widget takes it.
void press(QDialog *page, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    if (!target)
        target = page;
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
    QApplication::processEvents();
}

// Tab from the page's first field must come to every field and choice the
// user can see and use, in the order they are laid out; each must be named,
// no button may catch an Enter typed in a field, no mnemonic lead to two
// places. Leaves the focus on the first field.
void checkFieldsAndTab(QDialog *page)
{
    const auto widgets = page->findChildren<QWidget *>();
    for (const QPushButton *button : page->findChildren<QPushButton *>())
        EXPECT_FALSE(button->isDefault() || button->autoDefault())
            << qPrintable(describe(button)) << " would take an Enter typed in a field";

    QSet<const QWidget *> buddies;
    for (const QLabel *label : page->findChildren<QLabel *>())
        if (label->buddy() && label->isVisible() && !label->text().trimmed().isEmpty())
            buddies.insert(label->buddy());

    // Alt with a letter must lead to one place only.
    std::map<QString, QString> mnemonics;
    const auto mnemonicOf = [&](const QWidget *w, const QString &text) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty() || !w->isVisible())
            return;
        const auto [at, fresh] = mnemonics.emplace(key.toString(), describe(w));
        EXPECT_TRUE(fresh) << qPrintable(key.toString()) << " is the mnemonic of " << qPrintable(at->second)
                           << " and of " << qPrintable(describe(w));
    };
    for (const QLabel *label : page->findChildren<QLabel *>())
        if (label->buddy())
            mnemonicOf(label, label->text());
    for (const QAbstractButton *button : page->findChildren<QAbstractButton *>())
        mnemonicOf(button, button->text());

    QList<QWidget *> wanted;
    for (QWidget *w : widgets) {
        if (!w->isVisible() || !(isField(w) || isChoice(w)))
            continue;
        const auto *button = qobject_cast<const QAbstractButton *>(w);
        const bool named = !w->accessibleName().isEmpty() || buddies.contains(w)
                           || (button && !button->text().trimmed().isEmpty());
        EXPECT_TRUE(named) << qPrintable(describe(w)) << " has no label and no accessible name";
        if (w->isEnabled())
            wanted << w;
    }

    // Tab around once, from the first widget that takes the focus.
    QWidget *first = page->nextInFocusChain();
    while (first != page && !((first->focusPolicy() & Qt::TabFocus) && first->isVisible() && first->isEnabled()))
        first = first->nextInFocusChain();
    ASSERT_NE(first, page) << "nothing on the page takes the focus";
    page->activateWindow();
    first->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(QApplication::focusWidget()) << qPrintable(describe(first)) << " does not take the focus";
    first = QApplication::focusWidget(); // a tab widget passes it to its tabs
    QSet<const QWidget *> reached{first};
    QList<const QWidget *> order{first};
    for (int i = 0; i < 2 * int(widgets.size()); ++i) {
        press(page, Qt::Key_Tab);
        QWidget *now = QApplication::focusWidget();
        if (!now || now == first || !page->isVisible())
            break;
        reached.insert(now);
        order << now;
    }
    ASSERT_TRUE(page->isVisible()) << "Tab closed the page";
    // Within one group Tab goes down the rows and left to right in a row.
    for (qsizetype i = 1; i < order.size(); ++i) {
        const QWidget *a = order[i - 1];
        const QWidget *b = order[i];
        if (a->parentWidget() != b->parentWidget())
            continue;
        const QRect ra(a->mapTo(page, QPoint(0, 0)), a->size());
        const QRect rb(b->mapTo(page, QPoint(0, 0)), b->size());
        const bool sameRow = std::abs(ra.center().y() - rb.center().y()) < std::min(ra.height(), rb.height()) / 2;
        const bool backwards = sameRow ? rb.center().x() < ra.center().x() : rb.center().y() < ra.center().y();
        EXPECT_FALSE(backwards) << "Tab goes back from " << qPrintable(describe(a)) << " to "
                                << qPrintable(describe(b));
    }
    // Tab comes to the checked button of a radio group; arrows move within it.
    const auto reachedGroup = [&](const QWidget *w) {
        const auto *radio = qobject_cast<const QRadioButton *>(w);
        if (!radio)
            return false;
        return std::any_of(reached.begin(), reached.end(), [&](const QWidget *r) {
            const auto *other = qobject_cast<const QRadioButton *>(r);
            return other && (radio->group() ? other->group() == radio->group()
                                            : radio->autoExclusive() && other->parentWidget() == radio->parentWidget());
        });
    };
    for (const QWidget *w : wanted)
        EXPECT_TRUE(reached.contains(w) || reachedGroup(w)) << qPrintable(describe(w)) << " is not reached by Tab";

    first->setFocus(Qt::TabFocusReason);
}

// The fields and Tab as above; then Esc from a field closes the idle page.
void checkKeyboard(QDialog *page)
{
    ASSERT_NO_FATAL_FAILURE(checkFieldsAndTab(page));
    press(page, Qt::Key_Escape);
    EXPECT_FALSE(page->isVisible()) << "Esc did not close the idle page";
}

TEST_F(EveryPage, OpensSettlesFitsTheScreenAndCloses)
{
    QWidget owner;
    int visited = 0;
    const auto visitAll = [&](bool routerPages) {
        for (const PageMenuEntry &entry : PageMenu()) {
            if (!entry.open || qrt::test::IsRouterPage(entry) != routerPages)
                continue;
            SCOPED_TRACE(entry.page);
            m_boxes.clear();
            QSize size;
            const qrt::test::PageVisit visit =
                qrt::test::VisitPage(entry, &owner, [&](qrt::test::PageVisit &v) {
                    size = v.page->size();
                    if (v.settled)
                        checkKeyboard(v.page);
                });
            EXPECT_GT(visit.openMs, 0) << "the page never showed";
            EXPECT_TRUE(visit.settled) << "a request was still running";
            EXPECT_LE(size.width(), 1366);
            EXPECT_LE(size.height(), 740);
            const auto [first, last] = ExpectedOnOpening.equal_range(entry.page);
            for (const VrMessageBoxRecorder::Call &box : m_boxes.calls()) {
                const bool expected =
                    std::any_of(first, last, [&](const auto &e) { return e.second == box.text; });
                EXPECT_TRUE(expected) << "unexpected message: " << qPrintable(box.text);
            }
            std::printf("%-22s settled after %7.1f ms, %4d x %-4d\n", entry.page, visit.openMs, size.width(),
                        size.height());
            ++visited;
        }
    };
    // The access point's pages, then the router's in the router operation.
    auto device = qrt::test::SnmpTestClient::community(m_agent.address(), "granite");
    visitAll(false);
    ASSERT_TRUE(device.setInt(qrt::test::ApModeOid, qrt::test::RouterMode).ok());
    visitAll(true);
    EXPECT_GE(visited, 4);
}

// The device's read-write values outside its tables, as the inventory lists
// them, in each form pages send.
std::set<std::string> readWriteValues()
{
    std::set<std::string> oids;
    QFile tsv(QStringLiteral(QRT_SOURCE_DIR "/apsim/data/mib-objects.tsv"));
    if (!tsv.open(QIODevice::ReadOnly | QIODevice::Text))
        return oids;
    while (!tsv.atEnd()) {
        const QStringList f = QString::fromUtf8(tsv.readLine()).split(QLatin1Char('\t'));
        if (f.size() > 6 && (f[3] == QLatin1String("instance1") || f[3] == QLatin1String("scalar0"))
            && f[6] == QLatin1String("read-write")) {
            for (const QString &oid : {f[1], f[2]})
                if (!oid.contains(QLatin1Char('<'))) // a placeholder for several instances
                    oids.insert(oid.toStdString());
        }
    }
    return oids;
}

// Every page opened while the device answers each read of its settings with
// an error, then saved: what it tried and failed to read it does not write.
TEST_F(EveryPage, SavesNothingItCouldNotRead)
{
    const std::set<std::string> values = readWriteValues();
    ASSERT_GT(values.size(), 100u);
    std::vector<std::string> args{"-v"};
    for (const std::string &oid : values)
        args.insert(args.end(), {"--fail", oid + "=5"});
    m_agent.stop();
    std::string why;
    ASSERT_TRUE(m_agent.start(args, &why)) << why;
    g_SNMPDevice.port = uint16_t(m_agent.port());
    VrSetTimeScale(0.05); // a wait dialog a Save might open
    QWidget owner;
    int saved = 0;
    for (const PageMenuEntry &entry : PageMenu()) {
        SCOPED_TRACE(entry.page);
        const size_t before = m_agent.log().size();
        qrt::test::VisitPage(entry, &owner, [&](qrt::test::PageVisit &v) {
            for (QPushButton *button : v.page->findChildren<QPushButton *>()) {
                if (button->text().remove(QLatin1Char('&')) == QLatin1String("Save") && button->isVisible()) {
                    button->click();
                    ++saved;
                }
            }
        });
        // What the page only writes (a command's parameters) it may write.
        const std::string log = m_agent.log().substr(before);
        for (const std::string &oid : values) {
            const bool asked = log.find("get " + oid + " -> ") != std::string::npos;
            EXPECT_FALSE(asked && log.find("set " + oid + " -> ") != std::string::npos) << oid << " written unread";
        }
    }
    VrSetTimeScale(1.0);
    EXPECT_GE(saved, 15);
}

// Every page against a device that answers nothing: it shows at once, Esc
// closes it while it still waits, and nothing of it reaches the device after
// it closed. The time-outs are a hundredth of the real ones so that twice the
// page's longest time-out (the silence watched for, at most 4 s) takes
// seconds, not minutes.
TEST(EveryPageSilent, ShowsAtOnceEscClosesItAndNothingIsSentAfter)
{
    constexpr double Scale = 0.01;
    OpenSession(QString());
    VrSNMPResetTargetDefaults();
    g_SNMPSecurity.version = VrSNMPv2c;
    VrSetTimeScale(Scale);
    g_SNMPTimeout = int(VrSNMPDefaultTimeout * Scale);
    VrMessageBoxRecorder boxes;
    QTemporaryDir dir;
    QWidget owner;
    int visited = 0;
    for (const bool routerPages : {false, true}) {
        std::vector<std::string> args{"-v"};
        if (routerPages) {
            const std::string state = dir.filePath(QStringLiteral("router")).toStdString();
            std::ofstream(state) << qrt::test::ApModeOid << '=' << qrt::test::RouterMode << '\n';
            args.insert(args.end(), {"--state", state, "--lan", "192.168.1.1/24"});
        }
        qrt::test::ApsimProcess device;
        std::string why;
        ASSERT_TRUE(device.start(args, &why)) << why;
        ::kill(device.pid(), SIGUSR1); // silent from now on
        g_SNMPDevice.address = QStringLiteral("127.0.0.1");
        g_SNMPDevice.port = uint16_t(device.port());
        for (const PageMenuEntry &entry : PageMenu()) {
            if (!entry.open || qrt::test::IsRouterPage(entry) != routerPages)
                continue;
            SCOPED_TRACE(entry.page);
            QElapsedTimer clock;
            qint64 shownMs = -1, escMs = -1, closedMs = -1;
            double longestMs = 0;
            QPointer<QDialog> page;
            QTimer poll;
            poll.setInterval(5);
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (!page) {
                    for (QDialog *d : owner.findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
                        if (std::strcmp(d->metaObject()->className(), entry.page) == 0 && d->isVisible())
                            page = d;
                    if (page)
                        shownMs = clock.elapsed();
                    return;
                }
                for (const VrSNMPRequest2Controls *b : page->findChildren<VrSNMPRequest2Controls *>())
                    longestMs = std::max(longestMs, b->Request.Timeout * 10.0);
                if (escMs < 0 && clock.elapsed() >= 1000) {
                    escMs = clock.elapsed();
                    QWidget *focus = page->focusWidget();
                    QTest::keyClick(focus ? focus : page.data(), Qt::Key_Escape);
                } else if (escMs >= 0 && closedMs < 0 && !page->isVisible()) {
                    closedMs = clock.elapsed();
                } else if (clock.elapsed() > 10000) {
                    page->done(QDialog::Rejected); // the failure is reported below
                }
            });
            clock.start();
            poll.start();
            entry.open(&owner);
            poll.stop();
            if (closedMs < 0)
                closedMs = clock.elapsed();
            // What was sent before the close may reach the simulator's log a
            // little later on a loaded machine.
            QTest::qWait(250);
            const size_t logAtClose = device.log().size();
            const int silenceMs = int(std::clamp(2 * longestMs, 500.0, 4000.0));
            QTest::qWait(silenceMs);
            const std::string after = device.log().substr(logAtClose);
            EXPECT_GE(shownMs, 0) << "never showed";
            EXPECT_LE(shownMs, 300) << "showed after " << shownMs << " ms";
            EXPECT_GE(escMs, 0);
            EXPECT_LE(closedMs - escMs, 500) << "closed " << closedMs - escMs << " ms after Esc";
            EXPECT_EQ(after.find("request dropped"), std::string::npos)
                << "requests reached the device after the page closed";
            std::printf("%-22s shown after %4lld ms, closed %4lld ms after Esc, silent for %d ms\n", entry.page,
                        shownMs, closedMs - escMs, silenceMs);
            ++visited;
        }
    }
    EXPECT_GE(visited, 4);
    VrSetTimeScale(1.0);
    g_SNMPTimeout = VrSNMPDefaultTimeout;
}

// A page as its menu entry opens it, ready for the keyboard.
template <class Page>
class KeyboardOnPage : public SimulatedPageFixture<Page>
{
protected:
    void openReady()
    {
        this->openPage();
        VrKeyboardReady(this->page.get());
        this->page->activateWindow();
        QApplication::processEvents();
    }
    void key(int k) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(k)); }
    QString status() { return this->template find<VrStatusBar>("StatusBar1")->simpleText(); }
};

using KeyboardOnPerformancePage = KeyboardOnPage<TFM_Performace>;
using KeyboardOnWirelessPage = KeyboardOnPage<TFM_Wirless>;

// Save is the page's first button: without care, an Enter in a field would
// press it.
TEST_F(KeyboardOnPerformancePage, EnterInAFieldSavesNothing)
{
    const std::string beacon = "1.3.6.1.4.1.48213.10.37.37.2.1.3.2.1.1.10.1";
    ASSERT_NO_FATAL_FAILURE(startDevice());
    const long before = number(beacon);
    ASSERT_NE(before, 300);
    openReady();
    QLineEdit *field = edit("Ed_BeInta");
    field->setFocus(Qt::TabFocusReason);
    type("Ed_BeInta", "300");
    for (const int k : {Qt::Key_Return, Qt::Key_Enter}) {
        key(k);
        QTest::qWait(50);
    }
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(field->text(), "300");
    EXPECT_EQ(number(beacon), before);
    EXPECT_EQ(acceptedSetsOf(beacon), 0);
    EXPECT_NE(status().toStdString(), "Save OK!");
}

TEST_F(KeyboardOnWirelessPage, EscWaitsForTheSiteSurveyThenCloses)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openReady();
    choose("CB_APMode", "Wireless Client");
    edit("Ed_SSID")->setFocus(Qt::TabFocusReason);
    // The survey's trigger is sent; its answer comes from the event loop.
    find<QPushButton>("SiteScan")->click();
    ASSERT_EQ(status(), "Detecting...");
    key(Qt::Key_Escape);
    EXPECT_TRUE(page->isVisible()) << "Esc closed the page during the survey";

    // Once the survey has ended, Esc closes the page.
    QTRY_VERIFY_WITH_TIMEOUT(find<QPushButton>("Bt_Close")->isEnabled(), 10000);
    EXPECT_EQ(find<QTreeWidget>("LV_ClientSiteServey")->topLevelItemCount(), 5);
    key(Qt::Key_Escape);
    EXPECT_FALSE(page->isVisible());
}

// What other modes show: the wireless page in each operation and security
// mode, the Internet page with each connection type.
TEST_F(KeyboardOnWirelessPage, EveryModeIsUsableFromTheKeyboard)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    openReady();
    for (const char *list : {"CB_APMode", "CB_SecurityMode"}) {
        QComboBox *modes = combo(list);
        for (int i = 0; i < modes->count(); ++i) {
            const QString mode = modes->itemText(i);
            SCOPED_TRACE(mode.toStdString());
            choose(list, mode);
            QApplication::processEvents();
            checkFieldsAndTab(page.get());
        }
        choose(list, modes->itemText(0));
    }
}

using KeyboardOnInternetPage = KeyboardOnPage<TFM_InternetConnect>;

TEST_F(KeyboardOnInternetPage, EveryConnectionTypeIsUsableFromTheKeyboard)
{
    const std::string type = "1.3.6.1.4.1.48213.10.37.37.2.2.1.1.1.1.3.2";
    ASSERT_NO_FATAL_FAILURE(startDevice());
    ASSERT_TRUE(client->setInt(qrt::test::ApModeOid, qrt::test::RouterMode).ok());
    for (long t = 1; t <= 4; ++t) {
        SCOPED_TRACE(t);
        ASSERT_TRUE(client->setInt(type, t).ok());
        openReady();
        ASSERT_EQ(combo("CB_Interconntypeshow")->currentIndex(), t - 1);
        checkFieldsAndTab(page.get());
        page.reset();
    }
}

} // namespace
