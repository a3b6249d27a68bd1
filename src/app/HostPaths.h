#pragma once

#include <QString>
#include <optional>

// Where the host installation keeps what this module reads: the base of its
// message directory and the directory of the per-device configuration files.
// Both come from the host's registry entries; a missing entry gives the empty
// text, which makes paths relative to the working directory.
struct HostPaths {
    QString messageBase;
    QString configDirectory;
};

// Reads the host's entries through the registry layer.
HostPaths ReadHostPaths();

// The message base is the help path without its last 12 characters (the help
// file's name).
QString MessageBaseFromHelpPath(const QString &helpPath);
// The host's "Conf/MBF" folder next to its program directory; a MibFile path,
// when there is one (an empty one too), replaces it.
QString ConfigDirectoryFrom(const QString &exePath, const std::optional<QString> &mibFilePath);
// The folder of the program's own message files: an "errmsg" entry (any
// letter case) beside the executable, else the installed data folder
// "<exe dir>/../share/qrt5150/errmsg", when that exists.
QString ProgramMessageDirectory(const QString &exeDirectory);
// "<directory><address>.cfg".
QString ConfigFilePath(const QString &configDirectory, const QString &address);

// A host path as this system spells it: "\" and "/" both separate, "." and
// ".." are resolved in the text, and a non-empty directory ends with a
// separator.
QString LocalDirectory(const QString &hostPath);
