#include "VrTFTPPath.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// "..", and the forms Windows treats the same ("...", ".. ", ". ."), climb.
bool climbsUp(const QString &component)
{
    bool dots = false;
    for (QChar c : component) {
        if (c != u'.' && c != u' ')
            return false;
        dots = dots || c == u'.';
    }
    return dots && component != u".";
}

bool hasDrivePrefix(const QString &name)
{
    return name.size() >= 2 && name.at(1) == u':' && name.at(0).isLetter();
}

} // namespace

std::optional<QString> VrTFTPResolvePath(const QString &root, const QString &name)
{
    QString relative = name;
    relative.replace(u'\\', u'/');
    if (relative.isEmpty() || relative.startsWith(u'/') || hasDrivePrefix(relative))
        return std::nullopt;
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return std::nullopt;
    for (const QString &part : parts) {
        if (climbsUp(part) || part.contains(u':'))
            return std::nullopt;
    }
    return root + parts.join(u'/');
}

bool VrTFTPInsideRoot(const QString &root, const QString &path)
{
    const QString canonicalRoot = QFileInfo(root.isEmpty() ? QStringLiteral(".") : root)
                                      .canonicalFilePath();
    if (canonicalRoot.isEmpty())
        return false;
    // A dangling link would be followed when the file is created, so judge
    // where it points; otherwise judge the nearest part of the path that
    // exists, links resolved.
    QFileInfo info(path);
    for (int hops = 0; info.isSymLink() && !info.exists(); ++hops) {
        if (hops == 8)
            return false;
        info = QFileInfo(info.symLinkTarget());
    }
    while (!info.exists()) {
        const QFileInfo parent(info.absolutePath());
        if (parent.absoluteFilePath() == info.absoluteFilePath())
            return false;
        info = parent;
    }
    const QString target = info.canonicalFilePath();
    const QString prefix = canonicalRoot.endsWith(u'/') ? canonicalRoot : canonicalRoot + u'/';
    return target == canonicalRoot || target.startsWith(prefix);
}
