// libFuzzer target: edit-box formats and what a user types into the boxes.
// Input: the first line is a format (one or more conversions); every further
// line is typed into the next box, or, when it starts with 0x01, makes that
// box lose the focus. Checks, on the format alone: cutting a format into
// pieces keeps every character; a format either parses or is refused as a
// bad format; removing the first refused character over and over ends with
// an allowed text; an accepted text keeps its length and count limits; a
// refusal's message has its placeholders filled. And through the boxes: what
// is left in a box after typing is allowed as typed, and after the focus
// leaves a box holds an accepted text or the last accepted one.

#include "VrBeep.h"
#include "VrCommon.h"
#include "VrConstraintFormat.h"
#include "VrEditConstraint.h"
#include "VrMessageBox.h"
#include "VrNumList.h"
#include "VrSNMPError.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QWidget>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

[[noreturn]] void fail(const char *what, const QString &format, const QString &text)
{
    std::fprintf(stderr, "%s: format \"%s\", text \"%s\"\n", what, qPrintable(format), qPrintable(text));
    std::abort();
}

bool isMarker(const QString &text)
{
    return text == QLatin1String("(NOTDONE)") || text == QLatin1String("(NULL)");
}

void checkText(const VrConstraintFormat &f, const QString &piece, const QString &text)
{
    const int bad = f.FirstDisallowed(text);
    if (bad < -1 || bad >= text.size())
        fail("refused position outside the text", piece, text);
    QString filtered = text;
    for (int steps = 0; filtered.size() > 0; ++steps) {
        const int at = f.FirstDisallowed(filtered);
        if (at < 0)
            break;
        if (steps > text.size())
            fail("filtering does not end", piece, text);
        filtered.remove(at, 1);
    }

    const VrConstraintResult result = f.CheckExit(text);
    if (!result.accepted()) {
        if (result.code > VrCommonEmptyValue || result.code < VrCommonNumbersRange)
            fail("unexpected refusal code", piece, text);
        if (result.message.isEmpty())
            fail("refusal without a message", piece, text);
        if (f.delimiter != u'[' && f.delimiter != u']') {
            for (const char *placeholder :
                 {"[MIN]", "[MAX]", "[LEN]", "[MAXLEN]", "[DELIMITER]", "[COUNT]", "[MAXCOUNT]"})
                if (result.message.contains(QLatin1String(placeholder)))
                    fail("placeholder left in the message", piece, result.message);
        }
        return;
    }
    if (isMarker(text) || text.isEmpty())
        return;
    const QChar c = f.conversion;
    if ((c == u's' || c == u'h') && f.length > 0) {
        if ((f.flags & VrConstraintFormat::FixedLength) ? text.size() != f.length : text.size() > f.length)
            fail("accepted text breaks the length", piece, text);
    } else if (c == u'n' && f.length > 0) {
        const int count = VrUNumList(text, f.delimiter).Count();
        if ((f.flags & VrConstraintFormat::FixedLength) ? count != f.length : count > f.length)
            fail("accepted list breaks the count", piece, text);
    }
}

struct Fixture {
    Fixture()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "edit_constraint_fuzzer";
        static char *argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    QApplication *app;
    VrBeepCounter beeps;
    VrMessageBoxRecorder boxes;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Fixture fx;
    if (size > 4096)
        return 0;
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(u'\n');
    const QString &format = lines.first();

    const QStringList pieces = VrConstraintFormat::Split(format);
    if (pieces.join(QString()) != format)
        fail("pieces do not make the format", format, QString());
    std::vector<VrConstraintFormat> formats;
    for (const QString &piece : pieces) {
        if (&piece != &pieces.first() && !piece.startsWith(u'%'))
            fail("piece does not start a conversion", format, piece);
        try {
            formats.push_back(VrConstraintFormat::Parse(piece));
        } catch (const VrCommonException &e) {
            if (e.Code() != VrCommonBadFormat)
                fail("unexpected parse code", piece, QString());
            return 0;
        }
        if (!QStringLiteral("shiufn").contains(formats.back().conversion))
            fail("unknown conversion accepted", piece, QString());
    }
    if (formats.empty() || formats.size() > 4)
        return 0;
    for (qsizetype k = 1; k < lines.size(); ++k)
        checkText(formats[size_t(k - 1) % formats.size()], pieces[(k - 1) % pieces.size()], lines[k]);

    // The same through edit boxes.
    QWidget owner;
    std::vector<QLineEdit *> edits;
    for (size_t k = 0; k < formats.size(); ++k)
        edits.push_back(new QLineEdit(&owner));
    VrEditConstraint constraint(&owner, true);
    try {
        constraint.AddConstraints(format, QList<QLineEdit *>(edits.begin(), edits.end()));
    } catch (const VrCommonException &) {
        fail("edit layer refused a format that parses", format, QString());
    } catch (const VrSNMPException &) {
        fail("edit layer counted the boxes wrongly", format, QString());
    }
    for (qsizetype k = 1; k < lines.size(); ++k) {
        const size_t box = size_t(k - 1) % edits.size();
        QLineEdit *edit = edits[box];
        const VrConstraintFormat &f = formats[box];
        const QString &piece = pieces[qsizetype(box)];
        if (lines[k].startsWith(u'\x01')) {
            const int before = fx.boxes.count();
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(edit, &out);
            const QString text = edit->text();
            if (fx.boxes.count() != before && text != constraint.LastValidText(edit))
                fail("refused text left in the box", piece, text);
            const QString last = constraint.LastValidText(edit);
            if (!last.isEmpty() && !f.CheckExit(last).accepted())
                fail("a refused text became the last accepted one", piece, last);
        } else {
            edit->insert(lines[k]);
            const QString text = edit->text();
            if (!isMarker(text) && f.FirstDisallowed(text) >= 0)
                fail("refused character left in the box", piece, text);
            if (!f.exitChar.isNull() && !isMarker(text) && text.contains(f.exitChar))
                fail("exit character left in the box", piece, text);
        }
    }
    QCoreApplication::processEvents();
    fx.boxes.clear();
    return 0;
}
