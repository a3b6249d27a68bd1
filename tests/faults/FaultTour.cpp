// The fault tour: runs every page x fault cell in a process of its own (a few
// at a time), prints the table and fails when any cell fails.
//
//   page_fault_tour                        every cell
//   page_fault_tour --pages A,B --faults drop,mute
//   page_fault_tour --cell PAGE FAULT      one cell, in this process
//
// QRT_FAULT_JOBS sets how many cells run at once (default 2).
#include "FaultTour.h"

#include "PageMenu.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <vector>

namespace {

// A cell that has not ended after this long is ended and counted as hung.
constexpr int CellLimitMs = 120000;

struct Result {
    QString page;
    faults::Fault fault;
    QString verdict; // "pass", "n/a" or what failed
    QString said;
    double seconds = 0;
};

// What the sanitizers wrote: each report's first line, once.
QString sanitizerReport(const QString &err)
{
    static const char *const marks[] = {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                                        "WARNING: ThreadSanitizer"};
    QStringList reports;
    for (const QString &line : err.split(QLatin1Char('\n')))
        for (const char *mark : marks)
            if (line.contains(QLatin1String(mark)) && !reports.contains(line.simplified()))
                reports << line.simplified();
    return reports.join(QStringLiteral("; "));
}

Result finish(QProcess &process, Result result, bool hung)
{
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() >= 4 && f[0] == QLatin1String("CELL")) {
            result.verdict = f[3];
            result.said = f.size() > 4 ? f[4] : QString();
        }
    }
    QStringList problems;
    if (hung)
        problems << QStringLiteral("hung: ended after %1 s").arg(CellLimitMs / 1000);
    else if (process.exitStatus() == QProcess::CrashExit)
        problems << QStringLiteral("crashed");
    else if (process.exitCode() != 0)
        problems << QStringLiteral("exit code %1").arg(process.exitCode());
    const QString sanitizer = sanitizerReport(err);
    if (!sanitizer.isEmpty())
        problems << QStringLiteral("sanitizer: ") + sanitizer;
    if (result.verdict.isEmpty())
        problems << QStringLiteral("no result");
    if (!problems.isEmpty()) {
        if (!result.verdict.isEmpty() && result.verdict != QLatin1String("pass") && result.verdict != QLatin1String("n/a"))
            problems.prepend(result.verdict);
        result.verdict = problems.join(QStringLiteral("; "));
        // The last lines of the cell's own output say where it ended.
        const QStringList lines = err.trimmed().split(QLatin1Char('\n'));
        for (qsizetype i = std::max<qsizetype>(0, lines.size() - 5); i < lines.size(); ++i)
            std::fprintf(stderr, "  [%s %s] %s\n", qPrintable(result.page), faults::FaultName(result.fault),
                         qPrintable(lines[i]));
    }
    return result;
}

bool passed(const Result &r)
{
    return r.verdict == QLatin1String("pass") || r.verdict == QLatin1String("n/a");
}

int runTour(const QString &self, const QStringList &pages, const std::vector<faults::Fault> &faultList)
{
    struct Job {
        Result result;
        std::unique_ptr<QProcess> process;
        QElapsedTimer clock;
    };
    std::deque<Result> queue;
    for (const QString &page : pages)
        for (faults::Fault fault : faultList)
            queue.push_back(Result{page, fault, {}, {}, 0});
    const int jobs = std::max(1, qEnvironmentVariableIntValue("QRT_FAULT_JOBS") ? qEnvironmentVariableIntValue("QRT_FAULT_JOBS") : 2);
    std::vector<Job> running;
    std::vector<Result> results;
    QElapsedTimer total;
    total.start();
    while (!queue.empty() || !running.empty()) {
        while (int(running.size()) < jobs && !queue.empty()) {
            Job job;
            job.result = queue.front();
            queue.pop_front();
            job.process = std::make_unique<QProcess>();
            job.process->start(self, {QStringLiteral("--cell"), job.result.page, QLatin1String(faults::FaultName(job.result.fault))});
            job.clock.start();
            running.push_back(std::move(job));
        }
        for (auto it = running.begin(); it != running.end();) {
            QProcess &p = *it->process;
            p.waitForFinished(20);
            const bool hung = p.state() != QProcess::NotRunning && it->clock.elapsed() > CellLimitMs;
            if (p.state() != QProcess::NotRunning && !hung) {
                ++it;
                continue;
            }
            if (hung) {
                p.kill();
                p.waitForFinished(5000);
            }
            Result r = finish(p, it->result, hung);
            r.seconds = double(it->clock.elapsed()) / 1000;
            std::printf("%-22s %-8s %5.1f s  %s\n", qPrintable(r.page), faults::FaultName(r.fault), r.seconds,
                        qPrintable(passed(r) ? r.verdict : QStringLiteral("FAIL")));
            std::fflush(stdout);
            results.push_back(r);
            it = running.erase(it);
        }
    }

    // The table: pages down, faults across.
    std::map<QString, std::map<int, Result>> byPage;
    for (const Result &r : results)
        byPage[r.page][int(r.fault)] = r;
    std::printf("\n%-22s", "page");
    for (faults::Fault f : faultList)
        std::printf(" %-8s", faults::FaultName(f));
    std::printf("\n");
    int pass = 0, na = 0, fail = 0;
    for (const QString &page : pages) {
        std::printf("%-22s", qPrintable(page));
        for (faults::Fault f : faultList) {
            const Result &r = byPage[page][int(f)];
            const bool ok = passed(r);
            std::printf(" %-8s", ok ? qPrintable(r.verdict) : "FAIL");
            (r.verdict == QLatin1String("n/a") ? na : ok ? pass : fail)++;
        }
        std::printf("\n");
    }
    std::printf("\nWhat each cell said or found:\n");
    for (const QString &page : pages)
        for (faults::Fault f : faultList) {
            const Result &r = byPage[page][int(f)];
            if (r.verdict == QLatin1String("n/a"))
                continue;
            std::printf("%-22s %-8s %s%s%s\n", qPrintable(page), faults::FaultName(f),
                        passed(r) ? "" : qPrintable(QStringLiteral("FAIL: ") + r.verdict),
                        passed(r) || r.said.isEmpty() ? "" : " -- ", qPrintable(r.said));
        }
    std::printf("\n%d pages x %zu faults: %d pass, %d n/a, %d fail (%.0f s)\n", int(pages.size()), faultList.size(),
                pass, na, fail, double(total.elapsed()) / 1000);
    return fail == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], "--cell") == 0) {
        QApplication app(argc, argv);
        faults::Fault fault;
        if (!faults::ParseFault(QString::fromLocal8Bit(argv[3]), fault))
            return 2;
        return faults::RunCell(QString::fromLocal8Bit(argv[2]), fault);
    }
    QCoreApplication app(argc, argv);
    QStringList pages;
    std::vector<faults::Fault> faultList(std::begin(faults::AllFaults), std::end(faults::AllFaults));
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--pages")) {
            pages = args[i + 1].split(QLatin1Char(','));
        } else if (args[i] == QLatin1String("--faults")) {
            faultList.clear();
            for (const QString &name : args[i + 1].split(QLatin1Char(','))) {
                faults::Fault f;
                if (!faults::ParseFault(name, f)) {
                    std::fprintf(stderr, "unknown fault %s\n", qPrintable(name));
                    return 2;
                }
                faultList.push_back(f);
            }
        }
    }
    if (pages.isEmpty())
        for (const PageMenuEntry &entry : PageMenu())
            if (entry.open)
                pages << QString::fromLatin1(entry.page);
    return runTour(app.applicationFilePath(), pages, faultList);
}
