#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

// A launch switch or a configuration key that must be a decimal integer (that
// fits its field) is not one. Start-up shows the message and goes no further.
class VrConversionError : public std::runtime_error
{
public:
    explicit VrConversionError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &Message() const { return m_message; }

private:
    QString m_message;
};

// Applies the host's launch arguments, first to last, to the global target
// records. An argument holding "/I" sets the agent address. Any other argument
// first re-reads "<configDirectory><address>.cfg" (when it exists) and then
// applies the first switch it holds; the SNMPv3 switches count only while the
// version is 3. Throws VrConversionError and stops at the first bad number;
// its message names the switch, or the key and the file.
void ApplyLaunchArguments(const QStringList &arguments, const QString &configDirectory);

// Reads one device configuration file (the keys of "<address>.cfg") into the
// global target records; throws VrConversionError like the switches.
void ApplyConfigFile(const QString &fileName);

// The program's arguments (without the program name), each holding its bytes
// as VrTextFromBytes gives them: values that are not UTF-8, as communities and
// pass phrases may be, reach the agent unchanged.
QStringList LaunchArguments(int argc, const char *const *argv);

// The switches, one line each, for --help.
QString LaunchSwitchesHelp();
