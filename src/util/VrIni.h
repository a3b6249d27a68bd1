#pragma once

#include <QString>
#include <functional>
#include <optional>

// Longest value ReadString returns; longer values are cut there.
inline constexpr int VrMaxIniValueLength = 4095;

// Reads keys of an ini file: "[section]" lines, "key=value" lines, comment
// lines starting with ";" or "#". Parsed here rather than through QSettings,
// which treats "\" and "/" in section and key names as group separators;
// section names such as "SOFTWARE\Varnell\Netvane5.1\ExePath" are used as
// they are.
//  - Section and key names are compared without regard to case and with
//    blanks around them ignored.
//  - When a key occurs more than once in a section (or a section more than
//    once), the first occurrence in the file wins.
//  - Keys before the first section line belong to the section named "".
//  - Lines end with LF or CR LF; the last line needs no line end. Bytes are
//    read as VrTextFromBytes reads them (UTF-8, other bytes kept), so pass
//    phrases that are not UTF-8 survive.
//  - A ";" or "#" starts a comment only at the start of a line: after a value
//    it is part of the value (pass phrases may hold them).
// The file is read on every call, so changes to it are seen at once.
class VrIni
{
public:
    explicit VrIni(const QString &fileName) : m_fileName(fileName) {}

    const QString &FileName() const { return m_fileName; }

    using SectionMatch = std::function<bool(const QString &name)>;

    // The key's value, trimmed and cut as below, when the key is there (an
    // empty value included); nothing when the file, section or key is
    // missing. The second form looks in every section whose name (trimmed)
    // the function accepts.
    std::optional<QString> Find(const QString &section, const QString &key) const;
    std::optional<QString> Find(const SectionMatch &sectionMatches, const QString &key) const;

    // The key's value with blanks trimmed at both ends, at most
    // VrMaxIniValueLength characters; the default, as given, when the file,
    // section or key is missing or the value is empty.
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;

    // The file name alone for an empty directory. A directory that ends with
    // "\" or "/" gets the file name appended directly; otherwise the
    // directory's own separator is put between: "\" when it contains "\" and
    // no "/", else "/". A separator is never doubled.
    static QString JoinPath(const QString &directory, const QString &fileName);

private:
    QString m_fileName;
};
