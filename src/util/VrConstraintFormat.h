#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <cstdint>

// The outcome of checking an edit's text: code 0 (VrCommonOk) when accepted,
// else a VrCommon code with its message, placeholders filled in.
struct VrConstraintResult {
    int code = 0;
    QString message;
    bool accepted() const { return code == 0; }
};

// What an edit box accepts, parsed from a one-conversion format such as
// "%u{n1x4094}", "%s{l5fn}", "%n.{n0x255l4f}" or "%h". The edit-box layer keeps
// one per edit and calls, on each change of the text:
//   1. if ExitChar is set and occurs in the text: remove its first occurrence
//      and move the focus on;
//   2. FirstDisallowed(text): when >= 0, remove that character and beep;
//   3. the edit's own change handler, then AutoAdvances(text) to move on;
// and when the focus leaves: CheckExit(text), showing the message and
// restoring the last accepted text when it is refused. The special texts
// "(NOTDONE)" and "(NULL)" are never filtered nor checked.
struct VrConstraintFormat {
    enum Flag : uint16_t { AutoAdvance = 1, FixedLength = 2, NotEmpty = 4 };

    QChar conversion;           // s, h, i, u, f or n
    QChar delimiter;            // conversion n: the character between numbers
    double minimum = 0;
    double maximum = 0;
    int length = 0;             // maximum or fixed length, or count of numbers; 0 = none
    uint16_t flags = 0;
    int width = 0;              // edit box width in pixels; 0 = leave it
    QChar exitChar;             // null = none

    // Parses one conversion; raises VrCommonException -2 for a bad format.
    static VrConstraintFormat Parse(const QString &format);
    // Cuts a multi-conversion format ("%u{n1x65535}%h") before every "%" that
    // is not its first character: piece k is for edit box k.
    static QStringList Split(const QString &formats);

    // 0-based position of the first character the conversion does not allow
    // as typed, or -1 when all are allowed.
    int FirstDisallowed(const QString &text) const;
    // True when the text has just reached the length of an auto-advancing edit.
    bool AutoAdvances(const QString &text) const;
    // Checks done when the focus leaves the edit.
    VrConstraintResult CheckExit(const QString &text) const;
};
