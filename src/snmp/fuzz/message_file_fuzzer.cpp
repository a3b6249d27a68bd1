// libFuzzer target: a message file as a user may supply it, loaded as every
// message family and used as the status-line templates. Checks: each loaded
// text is one non-blank line within the line bound, entries past the file
// keep their built-in texts, a file of short UTF-8 lines comes back line for
// line, and the status line fills its tags in one pass (inserted texts are
// never expanded again).

#include "VrCommon.h"
#include "VrMessageTable.h"
#include "VrSNMPError.h"
#include "VrTextUtil.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringDecoder>
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

struct Fixture {
    QTemporaryDir dir;
    // The built-in texts before any file was loaded, per family.
    QList<QStringList> builtIn;
    QList<VrMessageTable *> tables{&VrSNMPMessages(),     &VrSNMPv3Messages(),    &VrSNMPUsmMessages(),
                                   &VrSNMPClassMessages(), &VrSNMPLayerMessages(), &VrSNMPStatusTemplates(),
                                   &VrCommonMessages()};
    Fixture()
    {
        for (VrMessageTable *t : tables) {
            QStringList texts;
            for (int k = 0; k < t->size(); ++k)
                texts << t->text(k);
            builtIn << texts;
        }
    }
};

// The lines the loader must give for a file whose lines are all valid UTF-8
// and short; nothing for a file where the bound or decoding decides.
std::optional<QStringList> expectedLines(const QByteArray &bytes)
{
    QStringList lines;
    QList<QByteArray> raw = bytes.split('\n');
    if (bytes.endsWith('\n'))
        raw.removeLast();
    for (QByteArray line : raw) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > 255)
            return std::nullopt;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(line);
        if (utf8.hasError())
            return std::nullopt;
        if (!text.trimmed().isEmpty())
            lines << text;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Fixture fx;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // One file per family, under names of mixed case as Windows installations
    // leave them.
    for (const char *name : {"SNMP.err", "snmpV3.err", "snmpusm.ERR", "snmpclass.err", "VrSnmp.err",
                             "snmp.msg", "Common.err"}) {
        QFile file(fx.dir.filePath(QString::fromLatin1(name)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            fail("cannot write a message file");
    }
    for (VrMessageTable *t : fx.tables)
        t->reset();
    VrLoadMessageFiles(fx.dir.path());

    const std::optional<QStringList> expected = expectedLines(bytes);
    for (qsizetype f = 0; f < fx.tables.size(); ++f) {
        const VrMessageTable &table = *fx.tables[f];
        for (int k = 0; k < table.size() + 2; ++k) {
            const QString text = table.text(k);
            if (k >= table.size()) {
                // A longer file makes a longer table; past it there is no text.
                if (!text.isEmpty() && expected && (k >= expected->size() || text != expected->at(k)))
                    fail("text for an entry outside the table", text);
                continue;
            }
            if (text.trimmed().isEmpty())
                fail("an entry without a text");
            // Built-in texts may span lines; a loaded one is one line.
            if (text != fx.builtIn[f].at(k) && (text.size() > VrMaxLineLength || text.contains(u'\n')))
                fail("loaded text is not one line within the bound", text);
            if (expected) {
                const QString want = k < expected->size() ? expected->at(k) : fx.builtIn[f].at(k);
                if (text != want)
                    fail("loaded text differs from the file", text + QLatin1String(" / ") + want);
            }
        }
    }

    // Status lines from the loaded templates. The inserted texts hold no "[",
    // so with a description the result is the template with each tag replaced.
    const QString error = QStringLiteral("\x01" "e"), list = QStringLiteral("\x02" "d"),
                  time = QStringLiteral("\x03" "t");
    for (bool write : {false, true}) {
        const QString templ = VrSNMPStatusTemplates().text(write ? 1 : 0);
        const QString full = VrSNMPStatusLine(write, error, list, time);
        QString want = ReplaceAll(templ, QStringLiteral("[ERROR]"), error);
        want = ReplaceAll(want, QStringLiteral("[VARLIST]"), list);
        want = ReplaceAll(want, QStringLiteral("[TIME]"), time);
        if (full != want)
            fail("status line is not the filled template", templ + QLatin1String(" -> ") + full);
        // Tags in the inserted texts stay as they are.
        const QString tags = QStringLiteral("[ERROR][VARLIST][TIME]");
        const QString literal = VrSNMPStatusLine(write, tags, tags, tags);
        if (literal.size() > templ.size() + 3 * templ.count(u'[') * tags.size())
            fail("inserted texts were expanded", literal);
        const QString bare = VrSNMPStatusLine(write, error, QString(), time);
        if (bare.contains(list))
            fail("description shown although there is none", bare);
    }
    return 0;
}
