// One cell of the fault tour: one page of the menu opened (and, for the
// restart fault, saved) against a simulated device with one fault.
#include "FaultTour.h"

#include "ApsimProcess.h"
#include "PageMenu.h"
#include "PageTour.h"
#include "SnmpTestClient.h"
#include "SnmpEventProcessor.h"
#include "VrMessageBox.h"
#include "VrSNMPRequest2Controls.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"
#include "VrStatusBar.h"
#include "VrTimeScale.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <thread>
#include <unistd.h>

namespace faults {

const char *FaultName(Fault fault)
{
    switch (fault) {
    case Fault::Drop: return "drop";
    case Fault::Delay: return "delay";
    case Fault::Mute: return "mute";
    case Fault::RestartInSave: return "restart";
    case Fault::Cancel: return "cancel";
    }
    return "?";
}

bool ParseFault(const QString &name, Fault &fault)
{
    for (Fault f : AllFaults)
        if (name == QLatin1String(FaultName(f))) {
            fault = f;
            return true;
        }
    return false;
}

namespace {

using Clock = std::chrono::steady_clock;

// The page's shortest request time-out becomes this (hundredths of a second):
// short enough that a page of many exchanges under a fault takes seconds, long
// enough that a loaded machine does not turn every late answer into a time-out.
constexpr double TargetTimeout = 10;
// The delayed answers come this far into the time-out.
constexpr double DelayShare = 0.8;
// How long a page may stay busy before it must let itself be closed, and how
// long it may refuse closing after that.
constexpr int SettleLimitMs = 30000;
constexpr int CloseLimitMs = 5000;
// The silent window of the restart.
constexpr int RebootSeconds = 1;

// Time-outs the module's requests report (the synchronous exchanges log them).
int g_timeouts = 0;
const char *g_faultName = "?";
QtMessageHandler g_previousHandler = nullptr;

void countTimeouts(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (context.category && std::strcmp(context.category, "qrt.snmp.request") == 0 && type == QtDebugMsg) {
        if (message.startsWith(QLatin1String("error -405")))
            ++g_timeouts;
        return;
    }
    if (type == QtDebugMsg)
        return;
    g_previousHandler(type, context, message);
}

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1String(" / "));
    return text.simplified();
}

bool busy(const QWidget *page)
{
    const auto binders = page->findChildren<VrSNMPRequest2Controls *>();
    return std::any_of(binders.begin(), binders.end(), [](VrSNMPRequest2Controls *b) {
        return b->Busy() || b->Request.Pending > 0;
    });
}

// What the page's status bars and status panels say right now.
QStringList statusTexts(const QWidget *page)
{
    QStringList texts;
    const auto add = [&](const QString &t) {
        if (!t.trimmed().isEmpty() && !texts.contains(t))
            texts << t;
    };
    for (const VrStatusBar *bar : page->findChildren<VrStatusBar *>()) {
        add(bar->simpleText());
        for (int i = 0; i < bar->panelCount(); ++i)
            add(const_cast<VrStatusBar *>(bar)->panel(i)->text());
    }
    for (const QStatusBar *bar : page->findChildren<QStatusBar *>())
        add(bar->currentMessage());
    for (const VrSNMPRequest2Controls *b : page->findChildren<VrSNMPRequest2Controls *>()) {
        QWidget *target = b->StatusTarget();
        if (auto *label = qobject_cast<QLabel *>(target))
            add(label->text());
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(target))
            add(memo->toPlainText().section(QLatin1Char('\n'), -1));
        else if (auto *rich = qobject_cast<QTextEdit *>(target))
            add(rich->toPlainText().section(QLatin1Char('\n'), -1));
    }
    return texts;
}

struct Visit {
    bool shown = false;
    bool stuck = false;           // never closed, ended by the tour
    QString stuckWhy;
    qint64 closableAtMs = -1;     // when nothing ran any more and closing was tried
    double longestExchangeMs = 0; // longest time-out x tries of the page's binders
    int timeouts = 0;
    QStringList said;             // message boxes, then the last status texts
    double minTimeout = 0;        // shortest request time-out of the page's binders
    QString saveProblem;          // the edit or the Save could not be made
    size_t logAtSave = std::string::npos;
};

struct VisitOptions {
    const PageMenuEntry *entry = nullptr;
    const SaveEdit *edit = nullptr;
    std::function<void()> tick;            // every poll (the mute fault)
    std::function<void()> beforeSave;      // once the edit is made
    qrt::test::ApsimProcess *device = nullptr;
};

// Makes one step of an edit ("Field=value").
void makeStep(QDialog *page, const QString &step, QString &problem)
{
    const QString name = step.section(QLatin1Char('='), 0, 0);
    const QString value = step.section(QLatin1Char('='), 1);
    QWidget *field = page->findChild<QWidget *>(name);
    if (name == QLatin1String("wait")) {
        QTest::qWait(value.toInt()); // what the page does by itself meanwhile (a survey)
    } else if (field && !field->isEnabled()) {
        problem = name + QStringLiteral(" is disabled");
    } else if (auto *line = qobject_cast<QLineEdit *>(field)) {
        line->setFocus();
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Delete);
        QTest::keyClicks(line, value);
    } else if (auto *combo = qobject_cast<QComboBox *>(field)) {
        const int index = value == QLatin1String("*") ? (combo->currentIndex() + 1) % qMax(1, combo->count())
                                                     : combo->findText(value);
        if (index < 0) {
            problem = QStringLiteral("%1 offers no %2").arg(name, value);
        } else {
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        }
    } else if (auto *button = qobject_cast<QAbstractButton *>(field); button && value == QLatin1String("click")) {
        button->click();
    } else {
        problem = QStringLiteral("no field %1").arg(name);
    }
}

// Opens the page as its menu entry does, waits until its opening exchanges
// end, makes the edit and saves (when asked), then closes it as Esc or the
// window's close button would, once nothing runs any more.
Visit visitPage(const VisitOptions &options)
{
    Visit visit;
    QWidget owner;
    VrMessageBoxRecorder boxes(options.edit ? options.edit->answer : QMessageBox::Ok);
    enum class Stage { Opening, Editing, Saving, Closing } stage = Stage::Opening;
    QPointer<QDialog> page;
    QElapsedTimer clock;
    qint64 stageStart = 0;
    bool clickRunning = false;
    int quietPolls = 0;
    qsizetype nextStep = 0;
    QStringList lastStatus;
    g_timeouts = 0;
    int asyncTimeouts = 0;
    std::set<VrSNMPRequest2Controls *> wrapped;

    const auto wrap = [&](VrSNMPRequest2Controls *b) {
        if (!b->Asynchronous || !wrapped.insert(b).second)
            return;
        for (VrSNMPRequest2Controls::Done *done : {&b->OnLoadDone, &b->OnApplyDone}) {
            *done = [previous = *done, &asyncTimeouts](VrSNMPRequest2Controls *sender, const VrSNMPError &r) {
                if (r.Code == VrErrTimeout)
                    ++asyncTimeouts;
                if (previous)
                    previous(sender, r);
            };
        }
    };
    const auto enter = [&](Stage next) {
        stage = next;
        stageStart = clock.elapsed();
        quietPolls = 0;
        if (qEnvironmentVariableIsSet("QRT_FAULT_TRACE"))
            std::fprintf(stderr, "%8.3f s stage %d\n", double(stageStart) / 1000, int(next));
    };

    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (options.tick)
            options.tick();
        for (VrSNMPRequest2Controls *b : owner.findChildren<VrSNMPRequest2Controls *>())
            wrap(b);
        if (!page) {
            for (QDialog *d : owner.findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
                if (std::strcmp(d->metaObject()->className(), options.entry->page) == 0 && d->isVisible())
                    page = d;
            if (!page) {
                if (clock.elapsed() > SettleLimitMs + CloseLimitMs) {
                    visit.stuck = true;
                    visit.stuckWhy = QStringLiteral("still reading before it showed after %1 s")
                                         .arg((SettleLimitMs + CloseLimitMs) / 1000);
                    // The page is in its constructor: nothing can end it but ending the process.
                    std::printf("CELL\t%s\t%s\tcannot be closed: %s\t\n", options.entry->page, g_faultName,
                                qPrintable(visit.stuckWhy));
                    std::fflush(stdout);
                    _exit(0);
                }
                return;
            }
            visit.shown = true;
            // Once closed, the page is torn down (some of it in event loops
            // of its own): nothing of it may be looked at any more.
            QObject::connect(page, &QDialog::finished, &poll, &QTimer::stop);
            const auto binders = page->findChildren<VrSNMPRequest2Controls *>();
            for (VrSNMPRequest2Controls *b : binders) {
                if (visit.minTimeout == 0 || b->Request.Timeout < visit.minTimeout)
                    visit.minTimeout = b->Request.Timeout;
                visit.longestExchangeMs = std::max(visit.longestExchangeMs,
                                                   b->Request.Timeout * 10.0 * (b->Request.Retries + 1));
            }
            enter(Stage::Opening);
        }
        lastStatus = statusTexts(page);
        // Idle for a few polls, so that what an exchange queued for the page
        // after its end (a next step, a status text) has run too.
        quietPolls = busy(page) ? 0 : quietPolls + 1;
        const bool running = quietPolls < 5;
        const qint64 inStage = clock.elapsed() - stageStart;
        switch (stage) {
        case Stage::Opening:
            if (running && inStage < SettleLimitMs)
                return;
            if (!options.edit) {
                enter(Stage::Closing);
                return;
            }
            enter(Stage::Editing);
            return;
        case Stage::Editing: {
            // One step at a time, each once the exchanges of the one before have ended.
            if (running && inStage < SettleLimitMs)
                return;
            const QStringList steps = QString::fromUtf8(options.edit->steps).split(QLatin1Char(';'));
            if (nextStep < steps.size()) {
                makeStep(page, steps.at(nextStep++), visit.saveProblem);
                if (visit.saveProblem.isEmpty()) {
                    enter(Stage::Editing);
                    return;
                }
            }
            auto *save = page->findChild<QAbstractButton *>(QString::fromLatin1(options.edit->button));
            if (visit.saveProblem.isEmpty() && (!save || !save->isEnabled()))
                visit.saveProblem = QStringLiteral("%1 cannot be clicked").arg(options.edit->button);
            if (!visit.saveProblem.isEmpty()) {
                enter(Stage::Closing);
                return;
            }
            if (options.beforeSave)
                options.beforeSave();
            visit.logAtSave = options.device->log().size();
            // A click of its own from the event loop, as a user's would be:
            // the tour keeps watching while the Save runs.
            clickRunning = true;
            QTimer::singleShot(0, page, [&, save] {
                if (save->isVisible())
                    QTest::mouseClick(save, Qt::LeftButton);
                else
                    save->click(); // on a tab not shown
                clickRunning = false;
            });
            enter(Stage::Saving);
            return;
        }
        case Stage::Saving:
            if ((clickRunning || running) && inStage < SettleLimitMs)
                return;
            enter(Stage::Closing);
            return;
        case Stage::Closing:
            // Closing is offered only once nothing runs (or nothing ended for too long).
            if ((running || clickRunning) && inStage < SettleLimitMs)
                return;
            if (visit.closableAtMs < 0)
                visit.closableAtMs = clock.elapsed();
            page->reject();
            if (page && page->isVisible())
                page->close();
            if (page && page->isVisible() && inStage > SettleLimitMs + CloseLimitMs) {
                visit.stuck = true;
                visit.stuckWhy = running ? QStringLiteral("still busy %1 s after it was asked to close")
                                               .arg((SettleLimitMs + CloseLimitMs) / 1000)
                                         : QStringLiteral("refused closing for %1 s with nothing running")
                                               .arg(CloseLimitMs / 1000);
                page->done(QDialog::Rejected);
            }
            return;
        }
    });
    clock.start();
    poll.start();
    options.entry->open(&owner);
    poll.stop();
    QApplication::processEvents();
    visit.timeouts = g_timeouts + asyncTimeouts;
    for (const VrMessageBoxRecorder::Call &call : boxes.calls())
        visit.said << QStringLiteral("box: ") + call.text;
    for (const QString &text : lastStatus)
        visit.said << QStringLiteral("status: ") + text;
    return visit;
}

// "set OID -> 0" lines of the simulator's log from an offset on.
std::set<std::string> acceptedSets(const std::string &log, size_t from)
{
    std::set<std::string> oids;
    if (from == std::string::npos)
        return oids;
    static const QRegularExpression line(QStringLiteral("^set ([0-9.]+) -> 0$"),
                                         QRegularExpression::MultilineOption);
    auto it = line.globalMatch(QString::fromStdString(log.substr(from)));
    while (it.hasNext())
        oids.insert(it.next().captured(1).toStdString());
    return oids;
}

// The number of the last set request accepted before an offset of the log.
int setRequestsBefore(const std::string &log, size_t upTo)
{
    static const QRegularExpression line(QStringLiteral("^set request (\\d+) accepted$"),
                                         QRegularExpression::MultilineOption);
    int last = 0;
    auto it = line.globalMatch(QString::fromStdString(log.substr(0, upTo)));
    while (it.hasNext())
        last = it.next().captured(1).toInt();
    return last;
}

struct Value {
    bool answered = false;
    int type = 0;
    long number = 0;
    std::string bytes;
    bool operator==(const Value &o) const
    {
        return answered == o.answered && type == o.type && number == o.number && bytes == o.bytes;
    }
};

Value readValue(qrt::test::SnmpTestClient &client, const std::string &oid)
{
    const qrt::test::SnmpAnswer a = client.get(oid);
    return Value{a.ok(), a.type, a.number, a.bytes};
}

QString show(const Value &v)
{
    if (!v.answered)
        return QStringLiteral("(no value)");
    if (v.bytes.empty())
        return QString::number(v.number);
    const bool printable = std::all_of(v.bytes.begin(), v.bytes.end(), [](char c) { return c >= 32 && c < 127; });
    return printable ? QLatin1Char('"') + QString::fromStdString(v.bytes) + QLatin1Char('"')
                     : QString::fromLatin1(QByteArray::fromStdString(v.bytes).toHex());
}

// Waits until the device answers again (after its restart).
bool waitForDevice(qrt::test::SnmpTestClient &client)
{
    const auto until = Clock::now() + std::chrono::seconds(RebootSeconds + 10);
    while (Clock::now() < until) {
        if (client.get("1.3.6.1.2.1.1.3.0").ok())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

class Cell
{
public:
    Cell(const PageMenuEntry &entry, Fault fault) : m_entry(entry), m_fault(fault)
    {
        m_router = qrt::test::IsRouterPage(entry);
        // The transfer pages' server listens on a private port the device is told.
        m_tftpPort = qrt::test::freeUdpPort();
        qputenv("QRT5150_TFTP_PORT", QByteArray::number(m_tftpPort));
    }

    // Problems found; empty when the cell passes.
    QStringList run(QStringList &said, bool &notApplicable);

private:
    bool startDevice(qrt::test::ApsimProcess &device, std::vector<std::string> extra, QString &why);
    QString checkSaid(const Visit &visit, QStringList &said) const;
    void checkVisit(const Visit &visit, QStringList &problems, QStringList &said) const;
    QStringList runCancel(QStringList &said);

    const PageMenuEntry &m_entry;
    Fault m_fault;
    bool m_router = false;
    QTemporaryDir m_dir;
    int m_states = 0;
    int m_tftpPort = 0;
};

bool Cell::startDevice(qrt::test::ApsimProcess &device, std::vector<std::string> extra, QString &why)
{
    std::vector<std::string> args{"-v", "--reboot-seconds", std::to_string(RebootSeconds), "--tftp-port",
                                  std::to_string(m_tftpPort), "--tftp-timeout-ms", "300"};
    if (m_router) {
        // The router pages show in the router operation; the device starts in it.
        const std::string state = (m_dir.path() + QStringLiteral("/state%1").arg(++m_states)).toStdString();
        std::ofstream(state) << qrt::test::ApModeOid << '=' << qrt::test::RouterMode << '\n';
        args.insert(args.end(), {"--state", state, "--lan", "192.168.1.1/24"});
    } else {
        args.insert(args.end(), {"--lan", "192.168.0.50/24"});
    }
    args.insert(args.end(), extra.begin(), extra.end());
    std::string error;
    if (!device.start(args, &error)) {
        why = QString::fromStdString(error);
        return false;
    }
    g_SNMPDevice.address = QStringLiteral("127.0.0.1");
    g_SNMPDevice.port = uint16_t(device.port());
    return true;
}

// A message box, or a status text that tells of a failure.
bool saysFailure(const QStringList &said)
{
    static const QRegularExpression failure(QStringLiteral("timed out|error|fail|not answer|no answer"),
                                            QRegularExpression::CaseInsensitiveOption);
    return std::any_of(said.begin(), said.end(), [](const QString &text) {
        return text.startsWith(QLatin1String("box: ")) || failure.match(text).hasMatch();
    });
}

void Cell::checkVisit(const Visit &visit, QStringList &problems, QStringList &said) const
{
    if (visit.stuck)
        problems << QStringLiteral("cannot be closed: ") + visit.stuckWhy;
    said = visit.said;
    if (visit.timeouts > 0 && !saysFailure(visit.said))
        problems << QStringLiteral("silent: %1 exchange(s) timed out and nothing said so").arg(visit.timeouts);
}

QStringList Cell::run(QStringList &said, bool &notApplicable)
{
    QStringList problems;
    QString why;
    notApplicable = false;
    if (m_fault == Fault::Cancel)
        return runCancel(said);
    const SaveEdit *edit = m_fault == Fault::RestartInSave ? FindSaveEdit(m_entry.page) : nullptr;
    if (m_fault == Fault::RestartInSave && !edit) {
        notApplicable = true;
        return problems;
    }

    // A fault-free visit first: the page's time-outs at full length (and, for
    // the Save, what a Save without trouble writes).
    VrSetTimeScale(1.0);
    g_SNMPTimeout = VrSNMPDefaultTimeout;
    qrt::test::ApsimProcess plain;
    if (!startDevice(plain, {}, why))
        return {QStringLiteral("simulator did not start: ") + why};
    VisitOptions probeOptions;
    probeOptions.entry = &m_entry;
    probeOptions.edit = edit;
    probeOptions.device = &plain;
    const Visit probe = visitPage(probeOptions);
    if (!probe.shown || probe.stuck)
        return {QStringLiteral("does not open without a fault: ") + probe.stuckWhy + probe.said.join(QLatin1Char(' '))};
    if (!probe.saveProblem.isEmpty())
        return {QStringLiteral("the Save cannot be made without a fault: ") + probe.saveProblem};

    std::set<std::string> touched;
    std::map<std::string, Value> saved;
    int setsBeforeSave = 0;
    if (edit) {
        const std::string log = plain.log();
        touched = acceptedSets(log, probe.logAtSave);
        setsBeforeSave = setRequestsBefore(log, probe.logAtSave);
        auto client = qrt::test::SnmpTestClient::community(plain.address(), "granite");
        client.setTimeoutMs(500, 3);
        for (const std::string &oid : touched)
            saved[oid] = readValue(client, oid);
        if (touched.empty())
            return {QStringLiteral("the Save without a fault wrote nothing: ") + probe.said.join(QLatin1Char(' '))};
    }
    plain.stop();

    // Every time-out the page uses, and the module's default, shrink alike.
    // A page without binders of its own keeps the module's default time-out.
    const double scale = TargetTimeout / (probe.minTimeout > 0 ? probe.minTimeout : VrSNMPDefaultTimeout);
    if (qEnvironmentVariableIsSet("QRT_FAULT_TRACE"))
        std::fprintf(stderr, "shortest time-out %.0f, scale %g\n", probe.minTimeout, scale);
    VrSetTimeScale(scale);
    g_SNMPTimeout = int(std::max(1.0, VrSNMPDefaultTimeout * scale));
    const int delayMs = int(TargetTimeout * 10 * DelayShare);

    qrt::test::ApsimProcess device;
    const std::string muteFile = (m_dir.path() + QStringLiteral("/mute")).toStdString();
    std::vector<std::string> extra;
    switch (m_fault) {
    case Fault::Drop: extra = {"--drop", "0.3", "--seed", "7"}; break; // the same drops every run
    case Fault::Delay: extra = {"--delay-ms", std::to_string(delayMs)}; break;
    case Fault::Mute: extra = {"--mute-file", muteFile}; break;
    case Fault::RestartInSave: extra = {"--restart-after-sets", std::to_string(setsBeforeSave + 1)}; break;
    case Fault::Cancel: break; // runCancel
    }
    if (!startDevice(device, extra, why))
        return {QStringLiteral("simulator did not start: ") + why};
    auto client = qrt::test::SnmpTestClient::community(device.address(), "granite");
    client.setTimeoutMs(500, 3);

    VisitOptions options;
    options.entry = &m_entry;
    options.edit = edit;
    options.device = &device;
    size_t logStart = device.log().size();
    bool muted = false;
    qint64 mutedAtMs = 0;
    QElapsedTimer cellClock;
    if (m_fault == Fault::Mute) {
        // Silent once the page's first request has arrived.
        options.tick = [&] {
            if (muted)
                return;
            const std::string log = device.log();
            if (log.find("get", logStart) != std::string::npos || log.find("set ", logStart) != std::string::npos) {
                std::ofstream(muteFile).close();
                muted = true;
                mutedAtMs = cellClock.elapsed();
            }
        };
    }
    std::map<std::string, Value> before;
    if (edit)
        options.beforeSave = [&] {
            for (const auto &[oid, value] : saved)
                before[oid] = readValue(client, oid);
        };
    cellClock.start();
    const Visit visit = visitPage(options);
    checkVisit(visit, problems, said);
    if (muted && visit.closableAtMs >= 0) {
        // The exchange running when the device fell silent may time out, and
        // a page may try once more; it may not go on to wait out every group.
        const double waited = double(visit.closableAtMs - mutedAtMs);
        const double allowed = 3 * visit.longestExchangeMs + 2000;
        said << QStringLiteral("closable %1 s after the device fell silent (allowed %2 s)")
                    .arg(waited / 1000, 0, 'f', 1)
                    .arg(allowed / 1000, 0, 'f', 1);
        if (waited > allowed)
            problems << QStringLiteral("cannot be closed for %1 s after the device fell silent (allowed %2 s): it "
                                       "waits out one time-out after another")
                            .arg(waited / 1000, 0, 'f', 1)
                            .arg(allowed / 1000, 0, 'f', 1);
    }
    if (m_fault == Fault::Mute && !muted && problems.isEmpty()) {
        notApplicable = true; // the page reads nothing on opening
        said << QStringLiteral("no opening reads");
    }
    if (m_fault != Fault::RestartInSave)
        return problems;

    if (!visit.saveProblem.isEmpty()) {
        problems << QStringLiteral("the Save could not be made: ") + visit.saveProblem;
        return problems;
    }
    const std::string log = device.log();
    if (log.find("restarting", visit.logAtSave) == std::string::npos)
        problems << QStringLiteral("the device did not restart during the Save");
    if (!waitForDevice(client)) {
        problems << QStringLiteral("the device did not come back after its restart");
        return problems;
    }
    // Every object a Save touched holds what it held or what the Save meant
    // to write; objects only this Save touched must hold what they held.
    std::set<std::string> all = touched;
    const std::set<std::string> touchedHere = acceptedSets(log, visit.logAtSave);
    all.insert(touchedHere.begin(), touchedHere.end());
    std::unique_ptr<qrt::test::ApsimProcess> reference;
    std::unique_ptr<qrt::test::SnmpTestClient> referenceClient;
    for (const std::string &oid : all) {
        const Value now = readValue(client, oid);
        Value old;
        if (before.count(oid)) {
            old = before[oid];
        } else {
            if (!reference) {
                reference = std::make_unique<qrt::test::ApsimProcess>();
                if (!startDevice(*reference, {}, why)) {
                    problems << QStringLiteral("reference simulator did not start: ") + why;
                    return problems;
                }
                referenceClient = std::make_unique<qrt::test::SnmpTestClient>(
                    qrt::test::SnmpTestClient::community(reference->address(), "granite"));
            }
            old = readValue(*referenceClient, oid);
        }
        const auto meant = saved.find(oid);
        if (now == old || (meant != saved.end() && now == meant->second))
            continue;
        problems << QStringLiteral("%1 holds %2 (before %3, meant %4)")
                        .arg(QString::fromStdString(oid), show(now), show(old),
                             meant != saved.end() ? show(meant->second) : QStringLiteral("unwritten"));
    }
    said << QStringLiteral("objects touched: %1").arg(all.size());
    return problems;
}

// A page's own Cancel or Close button, shown and enabled (not the Cancel of
// the notice that tells what the page waits for).
QAbstractButton *leaveButton(QDialog *page)
{
    for (QAbstractButton *b : page->findChildren<QAbstractButton *>()) {
        const QString what = b->objectName() + QLatin1Char(' ') + b->text();
        if (b->isVisible() && b->isEnabled() && b->parentWidget()->objectName() != QLatin1String("WaitNotice")
            && (what.contains(QLatin1String("cancel"), Qt::CaseInsensitive)
                || what.contains(QLatin1String("close"), Qt::CaseInsensitive)))
            return b;
    }
    return nullptr;
}

// The user leaves a page that waits for a silent device, at the page's real
// time-outs: a page without a Save is opened on the silent device and left
// with Esc a second later; a page with a Save is opened and edited on the
// answering device, which falls silent as the Save is pressed, and left
// with its Cancel (or Close) button a second later. It must close within a
// second, send nothing afterwards (for twice its longest time-out, at most
// 4 s) and claim no success.
QStringList Cell::runCancel(QStringList &said)
{
    constexpr int LeaveAfterMs = 1000;
    constexpr int ClosedWithinMs = 1000;
    VrSetTimeScale(1.0);
    g_SNMPTimeout = VrSNMPDefaultTimeout;
    const SaveEdit *edit = FindSaveEdit(m_entry.page);
    const std::string muteFile = (m_dir.path() + QStringLiteral("/mute-cancel")).toStdString();
    if (!edit)
        std::ofstream(muteFile).close();
    qrt::test::ApsimProcess device;
    QString why;
    if (!startDevice(device, {"--mute-file", muteFile}, why))
        return {QStringLiteral("simulator did not start: ") + why};

    VrMessageBoxRecorder boxes(edit ? edit->answer : QMessageBox::Ok);
    QWidget owner;
    QPointer<QDialog> page;
    QElapsedTimer clock;
    qint64 stageStart = 0, saveAt = -1, leaveAt = -1, closedAt = -1;
    double longestMs = 0;
    int quiet = 0;
    qsizetype nextStep = 0;
    qsizetype boxesAtSave = 0;
    QString problem;
    QStringList statusAfterSave;
    QString notice; // what the page said it waits for, when it was left
    bool waitedAtLeave = false;
    const auto leave = [&] {
        leaveAt = clock.elapsed();
        // A synchronous exchange waiting (an asynchronous one has nothing to leave).
        waitedAtLeave = SnmpEventProcessor::Global().RunningWaits() > 0;
        if (auto *text = page->findChild<QLabel *>(QStringLiteral("WaitNoticeText")); text && text->isVisible())
            notice = text->text();
        if (QAbstractButton *button = edit ? leaveButton(page) : nullptr)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            QTest::keyClick(page->focusWidget() ? page->focusWidget() : page.data(), Qt::Key_Escape);
    };
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (!page) {
            for (QDialog *d : owner.findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
                if (std::strcmp(d->metaObject()->className(), m_entry.page) == 0 && d->isVisible())
                    page = d;
            stageStart = now;
            return;
        }
        for (const VrSNMPRequest2Controls *b : page->findChildren<VrSNMPRequest2Controls *>())
            longestMs = std::max(longestMs, b->Request.Timeout * 10.0);
        if (leaveAt >= 0) {
            if (page->isVisible() && saveAt >= 0)
                statusAfterSave = statusTexts(page);
            if (!page->isVisible() && closedAt < 0)
                closedAt = now;
            else if (now - leaveAt > 5000)
                page->done(QDialog::Rejected); // reported below
            return;
        }
        if (!edit) {
            if (now >= LeaveAfterMs)
                leave();
            return;
        }
        if (saveAt >= 0) {
            if (now - saveAt >= LeaveAfterMs)
                leave();
            return;
        }
        // Settle, make the edit one step at a time, then silence the device and save.
        quiet = busy(page) ? 0 : quiet + 1;
        if (quiet < 5 && now - stageStart < SettleLimitMs)
            return;
        const QStringList steps = QString::fromUtf8(edit->steps).split(QLatin1Char(';'));
        if (nextStep < steps.size() && problem.isEmpty()) {
            makeStep(page, steps.at(nextStep++), problem);
            stageStart = now;
            quiet = 0;
            return;
        }
        auto *save = page->findChild<QAbstractButton *>(QString::fromLatin1(edit->button));
        if (!problem.isEmpty() || !save || !save->isEnabled()) {
            if (problem.isEmpty())
                problem = QStringLiteral("%1 cannot be clicked").arg(edit->button);
            page->done(QDialog::Rejected);
            return;
        }
        std::ofstream(muteFile).close();
        boxesAtSave = boxes.count();
        saveAt = now;
        QTimer::singleShot(0, page, [save] {
            if (save->isVisible())
                QTest::mouseClick(save, Qt::LeftButton);
            else
                save->click();
        });
    });
    clock.start();
    poll.start();
    m_entry.open(&owner);
    poll.stop();
    if (closedAt < 0)
        closedAt = clock.elapsed();
    // What was sent before the close may reach the simulator's log a little later.
    QTest::qWait(250);
    const size_t logAtClose = device.log().size();
    const int silenceMs = int(std::clamp(2 * longestMs, 1000.0, 4000.0));
    QTest::qWait(silenceMs);
    const std::string after = device.log().substr(logAtClose);

    QStringList problems;
    if (!problem.isEmpty())
        return {QStringLiteral("the Save could not be made: ") + problem};
    if (leaveAt < 0)
        return {QStringLiteral("never showed, or closed before it was left")};
    said << QStringLiteral("closed %1 ms after it was left; silent %2 ms after").arg(closedAt - leaveAt).arg(silenceMs);
    if (!notice.isEmpty())
        said << QStringLiteral("notice: ") + notice;
    else if (waitedAtLeave)
        problems << QStringLiteral("waited a second without saying what for");
    if (closedAt - leaveAt > ClosedWithinMs)
        problems << QStringLiteral("closed %1 ms after it was left").arg(closedAt - leaveAt);
    if (after.find("request dropped") != std::string::npos || after.find("get ") != std::string::npos
        || after.find("set ") != std::string::npos)
        problems << QStringLiteral("requests reached the device after the page closed");
    static const QRegularExpression success(QStringLiteral("success|^Set: \\(VrSNMP\\+\\+\\) Ok!"),
                                            QRegularExpression::CaseInsensitiveOption);
    for (qsizetype i = boxesAtSave; i < boxes.count(); ++i) {
        said << QStringLiteral("box: ") + boxes.calls().at(i).text;
        if (success.match(boxes.calls().at(i).text).hasMatch())
            problems << QStringLiteral("a success was claimed: ") + boxes.calls().at(i).text;
    }
    for (const QString &text : statusAfterSave) {
        said << QStringLiteral("status: ") + text;
        if (success.match(text).hasMatch())
            problems << QStringLiteral("a success was claimed: ") + text;
    }
    return problems;
}

} // namespace

int RunCell(const QString &pageName, Fault fault)
{
    QLoggingCategory::setFilterRules(QStringLiteral("qrt.snmp.request.debug=true"));
    g_previousHandler = qInstallMessageHandler(countTimeouts);
    static QTemporaryDir bootsDir;
    OpenSession(bootsDir.path());
    VrSNMPResetTargetDefaults();
    g_SNMPSecurity.version = VrSNMPv2c;

    g_faultName = FaultName(fault);
    const PageMenuEntry *entry = nullptr;
    for (const PageMenuEntry &e : PageMenu())
        if (e.open && pageName == QLatin1String(e.page))
            entry = &e;
    QString verdict;
    QStringList said;
    if (!entry) {
        verdict = QStringLiteral("no such page in the menu");
    } else {
        Cell cell(*entry, fault);
        bool notApplicable = false;
        const QStringList problems = cell.run(said, notApplicable);
        verdict = notApplicable ? QStringLiteral("n/a") : problems.isEmpty() ? QStringLiteral("pass") : problems.join(QStringLiteral("; "));
    }
    std::printf("CELL\t%s\t%s\t%s\t%s\n", qPrintable(pageName), FaultName(fault), qPrintable(oneLine(verdict)),
                qPrintable(oneLine(said.join(QStringLiteral(" | ")))));
    std::fflush(stdout);
    return 0;
}

} // namespace faults
