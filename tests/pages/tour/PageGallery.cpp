// Saves a picture of the main window and of every page of the menu, each
// opened against the simulated access point once its opening reads are done:
//   page_gallery DIR     (DIR/main-window.png, DIR/<page class>.png)
// scripts/page-gallery runs it (under Xvfb when there is no display).
#include "ApsimProcess.h"
#include "LiveChart.h"
#include "PageTour.h"
#include "SnmpTestClient.h"
#include "StatusLamp.h"
#include "TMainForm.h"
#include "VrMessageBox.h"
#include "VrTimeScale.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

namespace {

bool save(QWidget *window, const QString &file)
{
    const bool ok = window->grab().save(file, "PNG");
    std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(file));
    return ok;
}

bool waitFor(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return condition();
}

// Pages with a live chart are shown with ten minutes of readings, taken a
// fifty times faster (the simulator's traffic moves fifty times faster to
// match); the WDS page needs a device in a WDS mode to have peers.
constexpr double kChartScale = 0.02;
bool charted(const char *page)
{
    for (const char *name : {"TFM_StatWLAN", "TFM_Static", "TClientInformation", "TFM_WDSInfo"})
        if (std::strcmp(page, name) == 0)
            return true;
    return false;
}
constexpr long kWdsMode = 3;

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: page_gallery DIR\n");
        return 2;
    }
    const QDir out(args[1]);
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "page_gallery: cannot create %s\n", qPrintable(out.path()));
        return 1;
    }

    qrt::test::ApsimProcess device;
    std::string why;
    if (!device.start({"--traffic-rate", "50"}, &why)) {
        std::fprintf(stderr, "page_gallery: the simulator did not start: %s\n", why.c_str());
        return 1;
    }
    // The host's registry and the device's file, as the demo writes them.
    QTemporaryDir host;
    QFile registry(host.filePath(QStringLiteral("registry.ini")));
    QFile cfg(host.filePath(QStringLiteral("127.0.0.1.cfg")));
    if (!registry.open(QIODevice::WriteOnly) || !cfg.open(QIODevice::WriteOnly))
        return 1;
    registry.write("[SOFTWARE\\Varnell\\Netvane5.1\\MibFile]\nPath=" + QFile::encodeName(host.path()) + "/\n");
    cfg.write("[Program Information]\nAgentPort=" + QByteArray::number(device.port())
              + "\nVersion=1\nSecurityModel=1\nSecurityLevel=0\nAuthProtocol=0\nPrivProtocol=0\n");
    registry.close();
    cfg.close();
    qputenv("QRT5150_REGISTRY", QFile::encodeName(registry.fileName()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(host.path()));

    // Messages the pages show are answered, not shown.
    VrMessageBoxRecorder boxes;
    TMainForm form;
    if (!form.Start({QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rhollow"), QStringLiteral("/Wgranite")})) {
        std::fprintf(stderr, "page_gallery: the module did not start: %s\n", qPrintable(boxes.lastText()));
        return 1;
    }
    if (!waitFor([&] { return form.lamp(DevicePicture::Power)->isLit(); }, 10000)) {
        std::fprintf(stderr, "page_gallery: the device did not answer\n");
        return 1;
    }
    waitFor([] { return false; }, 300); // the menus follow the operation mode
    bool ok = save(&form, out.filePath(QStringLiteral("main-window.png")));
    // The access point's pages, then the router's in the router operation.
    auto client = qrt::test::SnmpTestClient::community(device.address(), "granite");
    for (const bool routerPages : {false, true}) {
        if (routerPages && !client.setInt(qrt::test::ApModeOid, qrt::test::RouterMode).ok())
            std::fprintf(stderr, "page_gallery: the device did not take the router mode\n");
        for (const PageMenuEntry &entry : PageMenu()) {
            if (!entry.open || qrt::test::IsRouterPage(entry) != routerPages)
                continue;
            const bool chart = charted(entry.page);
            const bool wds = std::strcmp(entry.page, "TFM_WDSInfo") == 0;
            if (wds)
                client.setInt(qrt::test::ApModeOid, kWdsMode);
            VrSetTimeScale(chart ? kChartScale : 1.0);
            qrt::test::VisitPage(entry, &form, [&](qrt::test::PageVisit &visit) {
                if (auto *live = visit.page->findChild<LiveChart *>()) {
                    const int readings = int(LiveChart::kWindowMs / LiveChart::kPeriodMs);
                    waitFor([live, readings] { return live->Samples() >= readings; }, 30000);
                }
                ok = save(visit.page, out.filePath(QString::fromLatin1(entry.page) + QStringLiteral(".png"))) && ok;
            });
            VrSetTimeScale(1.0);
            if (wds)
                client.setInt(qrt::test::ApModeOid, qrt::test::AccessPointMode);
        }
    }
    std::printf("%s\n", qPrintable(out.absolutePath()));
    return ok ? 0 : 1;
}
