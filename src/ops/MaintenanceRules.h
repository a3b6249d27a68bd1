#pragma once

#include <QString>
#include <optional>

// Rules of the maintenance pages that need no widgets.

// A local path cut at its last "/" or "\" into the folder the TFTP server
// serves and the bare file name the device asks for; nullopt when there is
// no folder part.
struct SplitFilePath {
    QString folder;
    QString name;
};
std::optional<SplitFilePath> SplitLocalPath(const QString &path);

// Extension tests as the device's file kinds need them. Firmware and
// certificates are tested case-sensitively anywhere in the path, a
// configuration in any letter case.
bool LooksLikeFirmware(const QString &path);
bool LooksLikeCertificate(const QString &path);
bool LooksLikeConfiguration(const QString &path);
// The name a backup is stored under: ".dcf" appended unless present.
QString BackupFileName(const QString &name);

// Why a file cannot be offered to the device; empty when it can.
QString UnreadableFileReason(const QString &path);

// One line of the device log: time|[type]message. A missing separator
// removes nothing and leaves the field before it empty; the message is the rest.
struct LogLine {
    QString time;
    QString type;
    QString message;
};
LogLine ParseLogLine(const QString &line);

// A name that is safe as one folder name, for a device address or host name.
QString DeviceFolderName(const QString &device);
