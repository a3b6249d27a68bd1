// Writes the module's built-in message texts as the seven message files the
// package installs, so that an administrator has files to edit or translate
// that match the program exactly. Run at build time:
//   qrt5150-message-files <directory>
// Each entry is one line. The file format has no way to keep a line break
// inside an entry, so the few two-line texts are written on one line, their
// lines joined by a blank. The files are read back with the program's own
// loader and compared entry by entry before the tool reports success.
#include "VrCommon.h"
#include "VrMessageTable.h"
#include "VrSNMPError.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cstdio>

namespace {

struct Family {
    const char *file;
    VrMessageTable &(*table)();
};

const Family Families[] = {
    {"snmp.err", VrSNMPMessages},        {"snmpv3.err", VrSNMPv3Messages},
    {"snmpusm.err", VrSNMPUsmMessages},  {"snmpclass.err", VrSNMPClassMessages},
    {"vrsnmp.err", VrSNMPLayerMessages}, {"snmp.msg", VrSNMPStatusTemplates},
    {"common.err", VrCommonMessages},
};

QString asLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "qrt5150-message-files: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2)
        return fail(QStringLiteral("usage: qrt5150-message-files <directory>"));
    const QString directory = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(directory))
        return fail(QStringLiteral("cannot make %1").arg(directory));

    // The built-in texts, before any file is loaded.
    QList<QStringList> expected;
    for (const Family &family : Families) {
        QStringList lines;
        const VrMessageTable &table = family.table();
        for (int entry = 0; entry < table.size(); ++entry) {
            const QString line = asLine(table.text(entry));
            if (line.trimmed().isEmpty())
                return fail(QStringLiteral("%1 entry %2 is blank and would shift the later entries")
                                .arg(QLatin1String(family.file)).arg(entry));
            lines.append(line);
        }
        expected.append(lines);

        QFile file(QDir(directory).filePath(QLatin1String(family.file)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fail(QStringLiteral("cannot write %1").arg(file.fileName()));
        const QByteArray bytes = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
        if (file.write(bytes) != bytes.size() || !file.flush())
            return fail(QStringLiteral("cannot write %1").arg(file.fileName()));
    }

    // Read back as the program reads them.
    VrLoadMessageFiles(directory);
    for (qsizetype f = 0; f < qsizetype(std::size(Families)); ++f) {
        const VrMessageTable &table = Families[f].table();
        for (int entry = 0; entry < table.size(); ++entry)
            if (table.text(entry) != expected.at(f).at(entry))
                return fail(QStringLiteral("%1 entry %2 reads back as \"%3\"")
                                .arg(QLatin1String(Families[f].file)).arg(entry).arg(table.text(entry)));
    }
    return 0;
}
