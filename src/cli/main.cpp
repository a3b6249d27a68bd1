// qrt5150-cli: the module's maintenance flows for scripts and fleets.
#include "CliOptions.h"
#include "FleetFile.h"
#include "FleetRunner.h"
#include "HostPaths.h"
#include "LaunchParameters.h"
#include "MaintenanceRules.h"
#include "VrSNMPError.h"
#include "VrSNMPSession.h"
#include "VrTextUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <cstdio>

namespace {

void loadMessages(const HostPaths &host)
{
    VrLoadMessageFiles(ProgramMessageDirectory(QCoreApplication::applicationDirPath()));
    VrLoadMessageFiles(FindEntryIgnoringCase(host.messageBase, QStringLiteral("errmsg")));
}

// Where the file of one device is, or goes, and its name there.
DeviceJobOrder orderFor(const CliOptions &o, const QString &fileLabel, QString *problem)
{
    DeviceJobOrder order{o.command, o.arguments, {}, {}};
    const auto place = [&](const QString &path) {
        const auto split = SplitLocalPath(QFileInfo(path).absoluteFilePath());
        order.folder = split->folder;
        order.fileName = split->name;
    };
    switch (o.command) {
    case DeviceCommand::Backup:
        if (!o.outDir.isEmpty()) {
            order.folder = QFileInfo(o.outDir).absoluteFilePath();
            order.fileName = fileLabel + QStringLiteral(".dcf");
        } else {
            place(o.arguments.first());
            order.fileName = BackupFileName(order.fileName);
        }
        break;
    case DeviceCommand::Restore:
        if (QFileInfo(o.arguments.first()).isDir()) {
            const QString path = QDir(o.arguments.first()).filePath(fileLabel + QStringLiteral(".dcf"));
            *problem = CheckLocalFile(o.command, path);
            place(path);
        } else {
            place(o.arguments.first());
        }
        break;
    case DeviceCommand::Firmware:
    case DeviceCommand::Certificate:
    case DeviceCommand::Key:
        place(o.arguments.first());
        break;
    default:
        break;
    }
    return order;
}

// A fleet line's target: the module's defaults, its .cfg lookup and
// switches, then what the line says.
DeviceTarget targetFor(const FleetDevice &d, const CliOptions &o, const QString &configDirectory)
{
    VrSNMPResetTargetDefaults();
    g_SNMPDevice.address = d.address;
    ApplyLaunchArguments(o.switches, configDirectory);
    if (!d.cfgFile.isEmpty())
        ApplyConfigFile(d.cfgFile);
    else if (o.switches.isEmpty() && QFileInfo(ConfigFilePath(configDirectory, d.address)).isFile())
        ApplyConfigFile(ConfigFilePath(configDirectory, d.address));
    if (!d.readCommunity.isEmpty())
        g_SNMPSecurity.readCommunity = d.readCommunity;
    if (!d.writeCommunity.isEmpty())
        g_SNMPSecurity.writeCommunity = d.writeCommunity;
    if (d.port != 0)
        g_SNMPDevice.port = uint16_t(d.port);
    return DeviceTarget::FromGlobals();
}

// One device on another port than 161: "/I<address>:<port>".
DeviceTarget singleTarget(QStringList switches, const QString &configDirectory)
{
    static const QRegularExpression withPort(QStringLiteral("^(.*/I[^:]+):(\\d{1,5})$"));
    int port = 0;
    for (QString &s : switches)
        if (const auto m = withPort.match(s); m.hasMatch()) {
            port = m.captured(2).toInt();
            s = m.captured(1);
        }
    ApplyLaunchArguments(switches, configDirectory);
    if (port > 0 && port < 65536)
        g_SNMPDevice.port = uint16_t(port);
    return DeviceTarget::FromGlobals();
}

QList<FleetEntry> entriesFor(const CliOptions &o, const QString &configDirectory)
{
    QList<DeviceTarget> targets;
    if (o.devicesFile.isEmpty()) {
        targets << singleTarget(o.switches, configDirectory);
    } else {
        for (const FleetDevice &d : ReadFleetFile(o.devicesFile))
            targets << targetFor(d, o, configDirectory);
        if (targets.isEmpty())
            throw UsageError(QStringLiteral("%1 names no device").arg(o.devicesFile));
    }
    QSet<QString> addresses;
    QList<FleetEntry> entries;
    for (const DeviceTarget &t : targets) {
        // The TFTP server tells devices apart by address alone.
        if (o.command != DeviceCommand::Status && o.command != DeviceCommand::Get && o.command != DeviceCommand::Set
            && addresses.contains(t.device.address))
            throw UsageError(QStringLiteral("%1 is listed twice; file transfers need one device per address")
                                 .arg(t.device.address));
        addresses.insert(t.device.address);
        FleetEntry entry;
        entry.target = t;
        entry.label = t.Label();
        entry.order = orderFor(o, t.device.address, &entry.problem);
        entries << entry;
    }
    return entries;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qrt5150-cli"));
    // Standard error carries the progress and the warnings; QT_LOGGING_RULES shows more.
    if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    CliOptions options;
    try {
        options = ParseCliOptions(LaunchArguments(argc, argv));
    } catch (const UsageError &e) {
        std::fprintf(stderr, "qrt5150-cli: %s\nTry 'qrt5150-cli --help'.\n", e.what());
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(CliHelpText()), stdout);
        return 0;
    }

    const QString state = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(state);
    try {
        OpenSession(state);
    } catch (const VrSNMPException &e) {
        std::fprintf(stderr, "qrt5150-cli: %s\n", qPrintable(e.Message()));
        return 1;
    }
    const HostPaths host = ReadHostPaths();
    loadMessages(host);

    QList<FleetEntry> entries;
    try {
        entries = entriesFor(options, host.configDirectory);
    } catch (const std::exception &e) { // UsageError, VrConversionError, a bad devices file
        std::fprintf(stderr, "qrt5150-cli: %s\n", e.what());
        return 2;
    }
    FleetRunner runner(options, entries);
    return runner.Run();
}
