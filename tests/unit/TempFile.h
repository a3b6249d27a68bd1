#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A scratch directory for a test, removed with the object.
class ScratchDir
{
public:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString file = path(name);
        QFile f(file);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return file;
    }

private:
    QTemporaryDir m_dir;
};
