#pragma once

#include <QString>
#include <optional>

// Read-only access to the host's string values under HKEY_LOCAL_MACHINE, kept
// in an ini file: each section is a key path (as in
// [SOFTWARE\Varnell\Netvane5.1\ExePath], with or without a leading "\") and
// each key a value name. The file is $QRT5150_REGISTRY, else
// /etc/qrt5150/registry.ini; a missing file has no keys.

QString VrRegistryFile();
// The value's text when the value is there, an empty one included; nothing
// when the key or the value is missing.
std::optional<QString> VrFindRegistryString(const QString &keyPath, const QString &valueName);
// The value's text; empty when the key or the value is missing.
QString VrReadRegistryString(const QString &keyPath, const QString &valueName);
