// libFuzzer target: the ini reader behind the host registry and the device
// configuration files. The first byte picks the mode:
//  - even: the rest is a file as it comes; every key it names is looked up,
//    and the answer must be trimmed, bounded and one of the file's values;
//  - odd: the rest is a list of section/key/value entries (0x00 ends an
//    entry, 0x01 and 0x02 split it) that is written as a file and read back;
//    each lookup must give the value of the first matching entry.
// Both modes also check that bytes that are not UTF-8 survive the trip
// through text.

#include "VrIni.h"
#include "VrRawText.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(detail));
    std::abort();
}

const QString &fileName()
{
    static QTemporaryDir dir;
    static const QString name = dir.filePath(QStringLiteral("fuzz.ini"));
    return name;
}

void write(const QByteArray &bytes)
{
    QFile file(fileName());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write the ini file");
}

void checkRawText(const QByteArray &bytes)
{
    if (VrBytesFromText(VrTextFromBytes(bytes)) != bytes)
        fail("bytes changed through text", QString::fromLatin1(bytes.toHex()));
}

void checkAnswer(const std::optional<QString> &value)
{
    if (!value)
        return;
    if (value->size() > VrMaxIniValueLength)
        fail("value longer than the bound", *value);
    if (value->trimmed() != *value)
        fail("value not trimmed", *value);
}

void rawFile(const QByteArray &bytes)
{
    write(bytes);
    const VrIni ini(fileName());
    const QList<QByteArray> lines = bytes.split('\n');
    QString section;
    int lookups = 0;
    for (const QByteArray &raw : lines) {
        const QString line = VrTextFromBytes(raw).trimmed();
        if (line.startsWith(u'[')) {
            section = line.mid(1, line.indexOf(u']') < 0 ? -1 : line.indexOf(u']') - 1).trimmed();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || ++lookups > 32)
            continue;
        const QString key = line.left(equals);
        const std::optional<QString> value = ini.Find(section, key);
        checkAnswer(value);
        // The key is there, so a comment line is the only way to miss it.
        if (!value && !line.startsWith(u';') && !line.startsWith(u'#'))
            fail("key on a line of its own not found", line);
        const QString read = ini.ReadString(section, key, QStringLiteral("\x01"));
        if (read != QStringLiteral("\x01") && (!value || read != *value))
            fail("ReadString differs from Find", line);
    }
    checkAnswer(ini.Find(QString(), QStringLiteral("AgentPort")));
}

struct Entry {
    QString section, key, value;
};

// Texts that the file's syntax can carry in a field.
bool fits(const QByteArray &bytes, const char *forbidden)
{
    for (const char *c = forbidden; *c; ++c)
        if (bytes.contains(*c))
            return false;
    return !bytes.contains('\n') && !bytes.contains('\r');
}

void entryList(const QByteArray &bytes)
{
    QByteArray file;
    QList<Entry> entries;
    for (const QByteArray &record : bytes.split('\0')) {
        const QList<QByteArray> parts = record.split('\x01');
        if (parts.size() != 2)
            continue;
        const QList<QByteArray> keyValue = parts[1].split('\x02');
        if (keyValue.size() != 2)
            continue;
        const QByteArray &sectionBytes = parts[0], &keyBytes = keyValue[0], &valueBytes = keyValue[1];
        if (!fits(sectionBytes, "[]") || !fits(keyBytes, "=[;#") || !fits(valueBytes, ""))
            continue;
        const Entry entry{VrTextFromBytes(sectionBytes).trimmed(), VrTextFromBytes(keyBytes).trimmed(),
                          VrTextFromBytes(valueBytes)};
        if (entry.key.isEmpty() || entry.key.startsWith(u'[') || entry.key.startsWith(u';')
            || entry.key.startsWith(u'#'))
            continue;
        entries.append(entry);
        file += '[' + sectionBytes + "]\n" + keyBytes + '=' + valueBytes + (entries.size() % 2 ? "\r\n" : "\n");
    }
    if (entries.isEmpty())
        return;
    write(file);
    const VrIni ini(fileName());
    for (const Entry &wanted : entries) {
        const Entry *first = nullptr;
        for (const Entry &e : entries) {
            if (e.section.compare(wanted.section, Qt::CaseInsensitive) == 0
                && e.key.compare(wanted.key, Qt::CaseInsensitive) == 0) {
                first = &e;
                break;
            }
        }
        const QString expected = first->value.trimmed().left(VrMaxIniValueLength).trimmed();
        const std::optional<QString> value = ini.Find(wanted.section, wanted.key);
        checkAnswer(value);
        if (!value)
            fail("written key not found", wanted.section + u'/' + wanted.key);
        if (*value != expected)
            fail("not the first entry's value", wanted.section + u'/' + wanted.key + u'=' + *value);
        // Names match whatever their case and blanks around them, where a
        // change of case keeps the name the same without regard to case.
        const QString section = wanted.section.toUpper(), key = wanted.key.toLower();
        if (section.compare(wanted.section, Qt::CaseInsensitive) == 0
            && key.compare(wanted.key, Qt::CaseInsensitive) == 0
            && ini.Find(u' ' + section, key + u' ') != expected)
            fail("name matched with regard to case", wanted.section + u'/' + wanted.key);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    checkRawText(bytes);
    if (data[0] & 1)
        entryList(bytes);
    else
        rawFile(bytes);
    return 0;
}
