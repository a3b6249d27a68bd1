#pragma once
// The command line of qrt5150-cli.
#include "DeviceJob.h"

#include <QString>
#include <QStringList>
#include <stdexcept>

// Bad usage: the message is shown with a hint at --help, exit status 2.
class UsageError : public std::runtime_error
{
public:
    explicit UsageError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

struct CliOptions {
    bool help = false;
    QStringList switches; // the module's launch switches (one device)
    QString devicesFile;  // a fleet
    DeviceCommand command = DeviceCommand::Status;
    QString commandName;
    QStringList arguments; // the command's own
    QString outDir;        // backup --out
    int jobs = 4;
    int retry = 0;
    bool json = false;
    double timeoutSeconds = 5; // per SNMP try
};

// Throws UsageError.
CliOptions ParseCliOptions(const QStringList &arguments);
QString CliHelpText();

// The text a page shows for a file it will not send (empty when fine); the
// same checks as the pages' before anything is sent.
QString CheckLocalFile(DeviceCommand command, const QString &path);
