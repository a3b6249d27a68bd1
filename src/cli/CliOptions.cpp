#include "CliOptions.h"

#include "LaunchParameters.h"
#include "MaintenanceRules.h"
#include "ObjectInventory.h"

#include <QFileInfo>

namespace {

struct CommandName {
    const char *name;
    DeviceCommand command;
    int minArgs, maxArgs; // -1: any number
    const char *usage;
};

const CommandName kCommands[] = {
    {"status", DeviceCommand::Status, 0, 0, "status                 lamps and system texts"},
    {"get", DeviceCommand::Get, 1, -1, "get NAME...            read objects of the inventory by name"},
    {"set", DeviceCommand::Set, 1, -1, "set NAME=VALUE...      write objects, checked against the inventory"},
    {"backup", DeviceCommand::Backup, 0, 1, "backup FILE|--out DIR  save the configuration (.dcf; DIR/<address>.dcf)"},
    {"restore", DeviceCommand::Restore, 1, 1, "restore FILE|DIR       load a configuration (DIR: DIR/<address>.dcf)"},
    {"firmware", DeviceCommand::Firmware, 1, 1, "firmware IMAGE         install a firmware image (.bin, .tfp), then restart"},
    {"certificate", DeviceCommand::Certificate, 1, 1, "certificate FILE       install an SSL certificate (.pem, .der)"},
    {"key", DeviceCommand::Key, 1, 1, "key FILE               install the certificate's key (.pem, .der)"},
    {"restart", DeviceCommand::Restart, 0, 0, "restart                restart the device"},
};

int toInt(const QString &option, const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        throw UsageError(QStringLiteral("%1 needs a number from %2 to %3").arg(option).arg(low).arg(high));
    return value;
}

// Credentials a fleet's command line must not carry: others can read it.
bool carriesSecret(const QString &argument)
{
    for (const char *marker : {"/R", "/W", "/A", "/P"})
        if (argument.contains(QLatin1String(marker)))
            return true;
    return false;
}

void checkObjects(const CliOptions &o)
{
    for (const QString &argument : o.arguments) {
        if (o.command == DeviceCommand::Get) {
            if (!FindInventoryObject(argument))
                throw UsageError(QStringLiteral("no object named %1").arg(argument));
            continue;
        }
        const qsizetype eq = argument.indexOf(u'=');
        if (eq <= 0)
            throw UsageError(QStringLiteral("set needs NAME=VALUE, not %1").arg(argument));
        const auto object = FindInventoryObject(argument.left(eq));
        if (!object)
            throw UsageError(QStringLiteral("no object named %1").arg(argument.left(eq)));
        QString wire;
        if (const QString why = CheckInventoryValue(*object, argument.mid(eq + 1), &wire); !why.isEmpty())
            throw UsageError(why);
    }
}

} // namespace

QString CheckLocalFile(DeviceCommand command, const QString &path)
{
    switch (command) {
    case DeviceCommand::Restore:
        if (QFileInfo(path).isDir())
            return {};
        if (!QFileInfo(path).isFile() || !LooksLikeConfiguration(path) || !UnreadableFileReason(path).isEmpty())
            return QStringLiteral("File format error! Please try again!");
        return {};
    case DeviceCommand::Firmware:
        if (!LooksLikeFirmware(path) || !UnreadableFileReason(path).isEmpty())
            return QStringLiteral("Please put in valid firmware file & path.");
        return {};
    case DeviceCommand::Certificate:
    case DeviceCommand::Key:
        if (!LooksLikeCertificate(path))
            return QStringLiteral("File format error! Please try again.");
        if (!UnreadableFileReason(path).isEmpty())
            return QStringLiteral("Please put in valid pem file & path.");
        return {};
    default:
        return {};
    }
}

CliOptions ParseCliOptions(const QStringList &arguments)
{
    CliOptions o;
    bool haveCommand = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        const auto value = [&]() -> QString {
            if (i + 1 >= arguments.size())
                throw UsageError(QStringLiteral("%1 needs a value").arg(a));
            return arguments.at(++i);
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
            return o;
        }
        if (a == QLatin1String("--devices"))
            o.devicesFile = value();
        else if (a == QLatin1String("--jobs"))
            o.jobs = toInt(a, value(), 1, 256);
        else if (a == QLatin1String("--retry"))
            o.retry = toInt(a, value(), 0, 100);
        else if (a == QLatin1String("--timeout"))
            o.timeoutSeconds = toInt(a, value(), 1, 600);
        else if (a == QLatin1String("--out"))
            o.outDir = value();
        else if (a == QLatin1String("--json"))
            o.json = true;
        else if (a.startsWith(QLatin1String("--")))
            throw UsageError(QStringLiteral("unknown option %1").arg(a));
        else if (haveCommand)
            o.arguments << a;
        else if (a.startsWith(u'/'))
            o.switches << a; // before the command: the module's launch switches
        else {
            const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                         [&](const CommandName &c) { return a == QLatin1String(c.name); });
            if (it == std::end(kCommands))
                throw UsageError(QStringLiteral("unknown command %1").arg(a));
            o.command = it->command;
            o.commandName = a;
            haveCommand = true;
        }
    }
    if (!haveCommand)
        throw UsageError(QStringLiteral("no command given"));
    const auto &command = *std::find_if(std::begin(kCommands), std::end(kCommands),
                                        [&](const CommandName &c) { return c.command == o.command; });
    const int count = int(o.arguments.size());
    if (count < command.minArgs || (command.maxArgs >= 0 && count > command.maxArgs))
        throw UsageError(QStringLiteral("usage: %1").arg(QString::fromLatin1(command.usage).section(QStringLiteral("  "), 0, 0)));
    if (!o.devicesFile.isEmpty()) {
        if (std::any_of(o.switches.begin(), o.switches.end(), carriesSecret))
            throw UsageError(QStringLiteral("a fleet's communities and pass phrases belong in the devices file, "
                                            "not on the command line"));
        if (o.command == DeviceCommand::Backup && o.outDir.isEmpty())
            throw UsageError(QStringLiteral("backup of a fleet needs --out DIR"));
    } else if (!std::any_of(o.switches.begin(), o.switches.end(),
                            [](const QString &s) { return s.contains(QLatin1String("/I")); })) {
        throw UsageError(QStringLiteral("name the device with /I<address>, or a fleet with --devices FILE"));
    }
    if (o.command == DeviceCommand::Backup && o.outDir.isEmpty() && count == 0)
        throw UsageError(QStringLiteral("backup needs FILE or --out DIR"));
    if (o.command == DeviceCommand::Backup && !o.outDir.isEmpty() && !QFileInfo(o.outDir).isDir())
        throw UsageError(QStringLiteral("%1 is not a folder").arg(o.outDir));
    if (o.command == DeviceCommand::Get || o.command == DeviceCommand::Set)
        checkObjects(o);
    if (count == 1 && o.command != DeviceCommand::Backup && o.command != DeviceCommand::Get
        && o.command != DeviceCommand::Set) {
        if (const QString why = CheckLocalFile(o.command, o.arguments.first()); !why.isEmpty())
            throw UsageError(why);
    }
    return o;
}

QString CliHelpText()
{
    QString text = QStringLiteral(
        "Usage: qrt5150-cli [OPTIONS] /I<address>[:<port>] [SWITCHES] COMMAND [ARGS]\n"
        "       qrt5150-cli [OPTIONS] --devices FILE COMMAND [ARGS]\n"
        "Backs up, restores, updates and sets QRT-5150 access points over SNMP, the\n"
        "files going through a TFTP server in this program (UDP port 69, or the port\n"
        "QRT5150_TFTP_PORT names). One device takes the module's switches and .cfg\n"
        "file; a fleet comes from FILE, one device a line:\n"
        "  ADDRESS[:PORT] [read=COMMUNITY] [write=COMMUNITY] [cfg=FILE]\n"
        "a line \"* read=... write=...\" sets the communities of the lines after it,\n"
        "and \"#\" starts a comment.\n\nCommands:\n");
    for (const CommandName &c : kCommands)
        text += QStringLiteral("  %1\n").arg(QLatin1String(c.usage));
    text += QStringLiteral(
        "\nOptions:\n"
        "  --devices FILE   the fleet's devices (credentials stay in FILE)\n"
        "  --jobs N         devices at a time (default 4)\n"
        "  --out DIR        backup: write DIR/<address>.dcf\n"
        "  --retry N        run failed devices again, up to N times\n"
        "  --timeout S      seconds per SNMP try (default 5)\n"
        "  --json           one JSON object per device instead of the table\n"
        "  -h, --help       this text\n"
        "\nSwitches (before the command):\n");
    text += LaunchSwitchesHelp();
    text += QStringLiteral("\nExit status: 0 all devices succeeded, 1 a device refused or failed, 2 bad usage.\n");
    return text;
}
