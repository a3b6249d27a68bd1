#pragma once

#include <QString>

// One module per device: a lock on a file named after the window caption, in
// the user's runtime directory. Only a module that is alive holds the lock
// (the system lets it go when the process ends), so an empty, unreadable or
// foreign file left there never blocks a start.
class SingleInstance
{
public:
    enum Result {
        Acquired,      // this process now holds the lock
        HeldElsewhere, // a running module holds it
        Failed         // the lock file could not be used; ErrorText() says why
    };

    explicit SingleInstance(const QString &caption);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    Result acquire();
    // What went wrong when acquire() gave Failed, naming the file.
    const QString &ErrorText() const { return m_error; }

    static QString lockFilePath(const QString &caption);

private:
    QString m_path;
    QString m_error;
    int m_fd = -1;
};
