// libFuzzer target: the device's configuration file and the launch switches
// as the host passes them. Input: the file's bytes, then 0x00 and the
// arguments, separated by 0x00, as raw bytes. The device is "dev" unless an
// argument names another. Checks: arguments keep their bytes through the
// text they become; a refused number names its switch or its key and file;
// every text taken from an argument or the file is a piece of it (nothing
// made up, nothing longer than given); numbers keep their ranges.

#include "LaunchParameters.h"
#include "VrIni.h"
#include "VrRawText.h"
#include "VrSNMPTarget.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void fail(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(detail));
    std::abort();
}

// A text the program holds must come from somewhere: the defaults, an
// argument, or the file.
void checkFrom(const char *what, const QString &value, const QStringList &sources,
               const QString &fallback)
{
    if (value == fallback || value.isEmpty())
        return;
    for (const QString &source : sources)
        if (source.contains(value))
            return;
    fail(what, value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const QString configDirectory = dir.path() + u'/';
    if (size > 8192)
        return 0;

    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> parts = input.split('\0');
    const QByteArray cfg = parts.takeFirst();
    if (parts.size() > 16)
        return 0;
    QFile file(configDirectory + QStringLiteral("dev.cfg"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(cfg) != cfg.size())
        fail("cannot write the device file");
    file.close();

    std::vector<QByteArray> storage(parts.begin(), parts.end());
    std::vector<const char *> argv{"qrt5150"};
    for (QByteArray &arg : storage)
        argv.push_back(arg.constData());
    const QStringList arguments = LaunchArguments(int(argv.size()), argv.data());
    for (qsizetype k = 0; k < arguments.size(); ++k)
        if (VrBytesFromText(arguments[k]) != parts[k])
            fail("argument bytes changed", arguments[k]);

    VrSNMPResetTargetDefaults();
    g_SNMPDevice.address = QStringLiteral("dev");
    try {
        ApplyLaunchArguments(arguments, configDirectory);
    } catch (const VrConversionError &e) {
        const QString &message = e.Message();
        if (!message.startsWith(u'\'') || !message.contains(QLatin1String(" for ")))
            fail("refusal does not say what and where", message);
        const QString source = message.mid(message.lastIndexOf(QLatin1String(" for ")) + 5);
        if (!source.startsWith(u'/') && !source.contains(QLatin1String(".cfg")))
            fail("refusal names neither a switch nor a file", message);
    }

    // Every key value, as the file holds it, is a possible source too.
    QStringList sources = arguments;
    sources << VrTextFromBytes(cfg);
    const VrSNMPSecurity defaults;
    checkFrom("read community made up", g_SNMPSecurity.readCommunity, sources, defaults.readCommunity);
    checkFrom("write community made up", g_SNMPSecurity.writeCommunity, sources, defaults.writeCommunity);
    checkFrom("user name made up", g_SNMPSecurity.securityName, sources, QString());
    checkFrom("auth pass phrase made up", g_SNMPSecurity.authPassword, sources, QString());
    checkFrom("priv pass phrase made up", g_SNMPSecurity.privPassword, sources, QString());
    checkFrom("context name made up", g_SNMPScope.contextName, sources, QString());
    checkFrom("address made up", g_SNMPDevice.address, sources, QStringLiteral("dev"));
    // Longer than a file value may be: must have come from an argument.
    for (const QString *value : {&g_SNMPSecurity.securityName, &g_SNMPScope.contextName,
                                 &g_SNMPSecurity.authPassword, &g_SNMPSecurity.privPassword})
        if (value->size() > VrMaxIniValueLength)
            checkFrom("file value past the bound", *value, arguments, QString());
    // Engine IDs are octets: one character each, at most as many as given.
    for (QChar c : g_SNMPScope.contextEngineId)
        if (c.unicode() > 0xff)
            fail("engine ID holds more than octets", g_SNMPScope.contextEngineId);
    if (g_SNMPScope.contextEngineId.size() > qsizetype(size))
        fail("engine ID longer than the input", g_SNMPScope.contextEngineId);
    return 0;
}
