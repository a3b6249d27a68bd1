#include "LaunchParameters.h"
#include "ModuleInfo.h"
#include "TMainForm.h"
#include "VrMessageBox.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace {

bool wantsHelp(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}

void printHelp()
{
    const QString text = QStringLiteral(
        "Usage: qrt5150 /I<address> [/R<community>] [/W<community>] [/v<version>] [SNMPv3 switches]\n"
        "Manages one %1 access point over SNMP. Each argument carries one switch,\n"
        "its value written directly after it. Switches are case-sensitive; the SNMPv3\n"
        "switches count only once the version is 3 (from /v3 or the device's .cfg file).\n\n")
        .arg(QString::fromLatin1(ModuleModelName)) + LaunchSwitchesHelp();
    std::fputs(qPrintable(text), stdout);
}

} // namespace

int main(int argc, char **argv)
{
    // Before the application object: --help must work without a display.
    if (wantsHelp(argc, argv)) {
        printHelp();
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qrt5150"));

    TMainForm form;
    try {
        // The arguments as bytes: communities and pass phrases need not be UTF-8.
        if (!form.Start(LaunchArguments(argc, argv)))
            return 1;
    } catch (const std::exception &error) {
        VrMessageBox(&form, QString::fromStdString(error.what()), QString::fromLatin1(ModuleModelName));
        return 1;
    }
    // For the start-up benchmark: end once the window is up, or once the
    // device has answered.
    if (qEnvironmentVariableIntValue("QRT5150_EXIT_AFTER_SHOWN") == 1)
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    if (qEnvironmentVariableIntValue("QRT5150_EXIT_AFTER_FIRST_POLL") == 1) {
        QObject::connect(&form, &TMainForm::StatusAnswered, &app, &QCoreApplication::quit);
    }
    return QApplication::exec();
}
