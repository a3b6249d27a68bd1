#pragma once

#include <QString>
#include <optional>

// Joins a requested file name to the server's root directory. Both "/" and
// "\" separate path components. Names that could leave the root (absolute
// paths, drive prefixes, "..", empty names) give nullopt.
std::optional<QString> VrTFTPResolvePath(const QString &root, const QString &name);

// True when path, after following symbolic links, still lies inside root.
// For a file that does not exist yet its nearest existing directory counts.
bool VrTFTPInsideRoot(const QString &root, const QString &path);
