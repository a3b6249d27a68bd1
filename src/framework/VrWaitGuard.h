#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <map>
#include <vector>

class QDialog;
class QEventLoop;
class QFrame;
class QLabel;
class QWidget;

// Keeps the device from holding the user. Installed once (Install), it
//  - runs the pages: each is shown as a window of its own while input to
//    the windows below it is held back, so that the main window can always
//    be closed (a window the toolkit blocks for a modal dialog drops the
//    close request);
//  - shows a page whose opening reads wait for the device at once, its
//    fields disabled and a reading notice in its status bar until the reads
//    end;
//  - lets nothing but leaving into a synchronous exchange's wait: Esc, the
//    page's Cancel or Close button and its close button end the waits at
//    once (the exchanges end as "cancelled") and then close the page; the
//    main window's close button reaches the main window. After half a
//    second the waiting page shows what it waits for, for how long, and a
//    Cancel that ends the wait and leaves the page open;
//  - refuses every further wait of a page being left, so that a handler
//    that goes on after a cancelled exchange sends nothing more;
//  - offers a page that refused to close while its asynchronous exchanges
//    run a Cancel, which ends them (their completions hear "cancelled") and
//    then closes it.
class VrWaitGuard : public QObject
{
    Q_OBJECT

public:
    static constexpr int ShowOpeningAfterMs = 150;
    static constexpr int NoticeAfterMs = 500;

    // The guard, installed on first call.
    static VrWaitGuard &Install();

    // While one lives, a page whose constructor waits for the device is shown.
    class Opening
    {
    public:
        Opening();
        ~Opening();
        Opening(const Opening &) = delete;
        Opening &operator=(const Opening &) = delete;
    };

    // Runs a constructed page until it closes (returns at once when it was
    // left while it opened or the program is closing); ends its reading state.
    void Run(QDialog &page);

    // The page running on top (the one the user works with), or null.
    static QDialog *TopPage();

    // Whether the widget's page (or a page it belongs to) is being left.
    static bool Leaving(const QWidget *widget);

    // The groups a page wrote since the user last acted on it; the binders
    // report them when a Save is cancelled halfway.
    static void NoteWritten(QObject *owner, const QString &group);
    static QStringList Written(const QObject *owner);

    // The notice's text, e.g. "Waiting for 10.0.0.1 ... 12 s" (without the
    // seconds when they are negative: not counted).
    static QString WaitingText(const QString &agent, int seconds);
    // The status bar text of a page while its opening reads run.
    static QString ReadingText();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    VrWaitGuard();
    bool began(const QObject *owner, const QString &agent);
    void ended();
    void leave(QWidget *page);
    void leaveBusy(QDialog *page);
    void showOpening(QDialog *page);
    void endReading(QDialog *page);
    void showNotice();
    void updateNotice();
    QWidget *pageOf(const QObject *owner) const;
    bool allowedWhilePageRuns(QWidget *target) const;

    struct Reading {
        std::vector<QPointer<QWidget>> locked;
        bool barWasSimple = false;
    };
    struct WaitState {
        QPointer<QWidget> page;
        QString agent;
        qint64 startedMs = 0;
    };

    int m_opening = 0;
    std::vector<WaitState> m_waits;
    std::vector<QPointer<QDialog>> m_pages; // running, the top one last
    std::map<QDialog *, Reading> m_reading;
    QPointer<QDialog> m_openingPage; // the page whose opening reads began to wait
    QTimer m_showTimer;   // shows it
    QTimer m_noticeTimer; // shows, then refreshes, the waiting notice
    QPointer<QFrame> m_notice;
    QPointer<QLabel> m_noticeText;
};

// Runs a page as the menu does (VrWaitGuard::Run).
void VrRunPage(QDialog &page);
