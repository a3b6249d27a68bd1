#include "VrWaitGuard.h"

#include "SnmpEventProcessor.h"
#include "VrSNMPRequest2Controls.h"
#include "VrStatusBar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcWaitGuard, "qrt.framework.wait", QtInfoMsg)

namespace {

const char kLeaving[] = "vrLeaving";
const char kShown[] = "vrShown";
const char kWritten[] = "vrWritten";

qint64 nowMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

// A page's Cancel or Close button: leaving the page is what it is for.
bool isLeaveButton(const QWidget *widget)
{
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    if (!button)
        return false;
    const QString what = button->objectName() + QLatin1Char(' ') + QString(button->text()).remove(QLatin1Char('&'));
    return what.contains(QLatin1String("cancel"), Qt::CaseInsensitive)
        || what.contains(QLatin1String("close"), Qt::CaseInsensitive);
}

bool holdsLeaveButton(const QWidget *container)
{
    const auto buttons = container->findChildren<QAbstractButton *>();
    return std::any_of(buttons.begin(), buttons.end(), [](const QAbstractButton *b) { return isLeaveButton(b); });
}

bool isStatusBar(const QWidget *widget)
{
    return qobject_cast<const QStatusBar *>(widget) != nullptr;
}

// Disables what a user could change, leaving the way out and the status bar
// alone. Containers are disabled as a whole where they can be: enabling them
// again gives their fields back the states the page set meanwhile.
void lockFields(QWidget *container, std::vector<QPointer<QWidget>> &locked)
{
    for (QWidget *child : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || isStatusBar(child) || isLeaveButton(child) || !child->isEnabled())
            continue;
        if (holdsLeaveButton(child)) {
            lockFields(child, locked);
            continue;
        }
        child->setEnabled(false);
        locked.emplace_back(child);
    }
}

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

// Esc, or a Cancel or Close button clicked or pressed from the keyboard.
bool isLeaveRequest(QWidget *target, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape)
            return true;
        return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) && isLeaveButton(target);
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        for (QWidget *w = target; w && !w->isWindow(); w = w->parentWidget())
            if (isLeaveButton(w))
                return true;
    }
    return false;
}

} // namespace

VrWaitGuard &VrWaitGuard::Install()
{
    static VrWaitGuard *guard = nullptr;
    if (!guard) {
        guard = new VrWaitGuard; // lives to process end
        qApp->installEventFilter(guard);
        SnmpEventProcessor::WaitGuard hooks;
        hooks.began = [](const SnmpEventProcessor::Wait &wait) { return guard->began(wait.owner, wait.agent); };
        hooks.ended = [](const SnmpEventProcessor::Wait &) { guard->ended(); };
        SnmpEventProcessor::Global().SetWaitGuard(std::move(hooks));
    }
    return *guard;
}

VrWaitGuard::VrWaitGuard()
{
    m_showTimer.setSingleShot(true);
    connect(&m_showTimer, &QTimer::timeout, this, [this] {
        if (m_openingPage && !m_openingPage->property(kShown).toBool())
            showOpening(m_openingPage);
    });
    m_noticeTimer.setInterval(NoticeAfterMs);
    connect(&m_noticeTimer, &QTimer::timeout, this, [this] {
        if (m_notice)
            updateNotice();
        else
            showNotice();
    });
}

VrWaitGuard::Opening::Opening() { ++Install().m_opening; }
VrWaitGuard::Opening::~Opening() { --Install().m_opening; }

QString VrWaitGuard::WaitingText(const QString &agent, int seconds)
{
    const QString text = QStringLiteral("Waiting for %1 ...").arg(agent);
    return seconds < 0 ? text : text + QStringLiteral(" %1 s").arg(seconds);
}

QString VrWaitGuard::ReadingText()
{
    return QStringLiteral("Reading the device...");
}

QWidget *VrWaitGuard::pageOf(const QObject *owner) const
{
    for (const QObject *o = owner; o; o = o->parent())
        if (o->isWidgetType())
            return static_cast<const QWidget *>(o)->window();
    return m_pages.empty() ? nullptr : m_pages.back().data();
}

QDialog *VrWaitGuard::TopPage()
{
    const VrWaitGuard &guard = Install();
    return guard.m_pages.empty() ? nullptr : guard.m_pages.back().data();
}

bool VrWaitGuard::Leaving(const QWidget *widget)
{
    for (const QWidget *w = widget ? widget->window() : nullptr; w;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr)
        if (w->property(kLeaving).toBool())
            return true;
    return false;
}

bool VrWaitGuard::began(const QObject *owner, const QString &agent)
{
    QWidget *page = pageOf(owner);
    if (Leaving(page)) {
        qCDebug(lcWaitGuard) << "no wait for a page being left";
        return false;
    }
    m_waits.push_back({page, agent, nowMs()});
    if (m_waits.size() == 1) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        m_noticeTimer.start();
    }
    // Counted from the first wait of its opening reads: a page of many short
    // reads shows as soon as one that waits long.
    if (auto *dialog = qobject_cast<QDialog *>(page);
        m_opening > 0 && dialog && !dialog->property(kShown).toBool() && m_openingPage != dialog) {
        m_openingPage = dialog;
        m_showTimer.start(ShowOpeningAfterMs);
    }
    return true;
}

void VrWaitGuard::ended()
{
    m_waits.pop_back();
    if (!m_waits.empty())
        return;
    QApplication::restoreOverrideCursor();
    m_noticeTimer.stop();
    delete m_notice;
}

void VrWaitGuard::showOpening(QDialog *page)
{
    if (!m_reading.count(page))
        connect(page, &QObject::destroyed, this, [this, page] { m_reading.erase(page); });
    Reading &reading = m_reading[page];
    lockFields(page, reading.locked);
    if (auto *bar = page->findChild<VrStatusBar *>()) {
        reading.barWasSimple = bar->simplePanel();
        bar->setSimpleText(ReadingText());
    }
    page->setProperty(kShown, true);
    page->setModal(false);
    page->show();
    qCDebug(lcWaitGuard) << "showing" << page->metaObject()->className() << "while it reads";
}

void VrWaitGuard::endReading(QDialog *page)
{
    const auto it = m_reading.find(page);
    if (it == m_reading.end())
        return;
    for (const QPointer<QWidget> &w : it->second.locked)
        if (w)
            w->setEnabled(true);
    if (auto *bar = page->findChild<VrStatusBar *>(); bar && bar->simpleText() == ReadingText()) {
        bar->setSimpleText(QString());
        bar->setSimplePanel(it->second.barWasSimple);
    }
    m_reading.erase(it);
}

void VrWaitGuard::Run(QDialog &page)
{
    if (m_openingPage == &page)
        m_showTimer.stop();
    endReading(&page);
    page.setProperty(kShown, true);
    if (Leaving(&page) || SnmpEventProcessor::Global().Abandoned()) {
        page.hide();
        return;
    }
    page.setModal(false);
    QEventLoop loop;
    connect(&page, &QDialog::finished, &loop, &QEventLoop::quit);
    m_pages.emplace_back(&page);
    page.show();
    if (page.isVisible())
        loop.exec(QEventLoop::DialogExec);
    std::erase(m_pages, &page);
}

void VrWaitGuard::leave(QWidget *window)
{
    auto *page = qobject_cast<QDialog *>(window);
    if (!page)
        return;
    qCInfo(lcWaitGuard) << "leaving" << page->metaObject()->className() << "while it waits for the device";
    page->setProperty(kLeaving, true);
    SnmpEventProcessor::Global().CancelWaits();
    // Closed once the handler that waited has returned; a page that refuses
    // to close (it has something else running) is no longer being left.
    QTimer::singleShot(0, page, [page] {
        page->reject();
        if (page->isVisible())
            page->setProperty(kLeaving, false);
    });
}

void VrWaitGuard::showNotice()
{
    if (m_waits.empty())
        return;
    QWidget *host = m_waits.back().page;
    if (!host || !host->isVisible())
        host = m_pages.empty() ? QApplication::activeWindow() : m_pages.back().data();
    if (!host)
        return;
    m_notice = new QFrame(host);
    m_notice->setObjectName(QStringLiteral("WaitNotice"));
    m_notice->setFrameShape(QFrame::StyledPanel);
    m_notice->setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(m_notice);
    m_noticeText = new QLabel(m_notice);
    m_noticeText->setObjectName(QStringLiteral("WaitNoticeText"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), m_notice);
    cancel->setObjectName(QStringLiteral("WaitNoticeCancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, [] { SnmpEventProcessor::Global().CancelWaits(); });
    layout->addWidget(m_noticeText);
    layout->addWidget(cancel);
    updateNotice();
    m_notice->show();
    m_notice->raise();
}

void VrWaitGuard::updateNotice()
{
    if (m_waits.empty() || !m_notice)
        return;
    const WaitState &wait = m_waits.back();
    m_noticeText->setText(WaitingText(wait.agent, int((nowMs() - wait.startedMs) / 1000)));
    m_notice->adjustSize();
    const QWidget *host = m_notice->parentWidget();
    m_notice->move((host->width() - m_notice->width()) / 2, host->height() - m_notice->height() - 4);
}

bool VrWaitGuard::allowedWhilePageRuns(QWidget *window) const
{
    if (m_pages.empty() || window->testAttribute(Qt::WA_ShowModal))
        return true;
    for (QWidget *w = window; w; w = w->parentWidget())
        if (w == m_pages.back())
            return true;
    return false;
}

bool VrWaitGuard::eventFilter(QObject *watched, QEvent *event)
{
    const bool close = event->type() == QEvent::Close;
    if ((!close && !isInput(event->type())) || !watched->isWidgetType())
        return false;
    auto *target = static_cast<QWidget *>(watched);
    if (m_notice && (target == m_notice || m_notice->isAncestorOf(target)))
        return false;
    QWidget *window = target->window();

    if (!m_waits.empty()) {
        if (close) {
            // The main window's own close button ends the program.
            if (!event->spontaneous() || !qobject_cast<QDialog *>(window))
                return false;
            event->ignore();
            leave(window);
            return true;
        }
        if (isLeaveRequest(target, event))
            leave(window);
        return true; // nothing else while the device is waited for
    }

    if (!allowedWhilePageRuns(window)) {
        if (close && (!event->spontaneous() || !qobject_cast<QDialog *>(window)))
            return false;
        event->ignore();
        return true;
    }
    // The user acts on the page anew: a later cancelled Save reports only its own groups.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)
        window->setProperty(kWritten, QVariant());
    // A page may refuse to close while its exchanges run: once it has, they
    // are cancelled, and it closes when it has heard so.
    if (auto *page = qobject_cast<QDialog *>(window);
        page && (isLeaveRequest(target, event) || (close && event->spontaneous())))
        QTimer::singleShot(0, page, [this, page] { leaveBusy(page); });
    return false;
}

namespace {

QList<VrSNMPRequest2Controls *> busyBinders(const QDialog *page)
{
    QList<VrSNMPRequest2Controls *> busy;
    for (VrSNMPRequest2Controls *b : page->findChildren<VrSNMPRequest2Controls *>())
        if (b->Busy() || b->Request.Pending > 0)
            busy << b;
    return busy;
}

} // namespace

// The page refused to close while its exchanges run; it says what it waits
// for and offers to cancel them, after which it closes.
void VrWaitGuard::leaveBusy(QDialog *page)
{
    const QList<VrSNMPRequest2Controls *> busy = busyBinders(page);
    if (!page->isVisible() || busy.isEmpty() || page->findChild<QFrame *>(QStringLiteral("WaitNotice")))
        return;
    auto *notice = new QFrame(page);
    notice->setObjectName(QStringLiteral("WaitNotice"));
    notice->setFrameShape(QFrame::StyledPanel);
    notice->setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(notice);
    auto *text = new QLabel(WaitingText(busy.first()->Request.Address, -1), notice);
    text->setObjectName(QStringLiteral("WaitNoticeText"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), notice);
    cancel->setObjectName(QStringLiteral("WaitNoticeCancel"));
    cancel->setAutoDefault(false);
    layout->addWidget(text);
    layout->addWidget(cancel);
    notice->adjustSize();
    notice->move((page->width() - notice->width()) / 2, page->height() - notice->height() - 4);
    notice->show();
    notice->raise();
    // Gone by itself once the exchanges have ended.
    auto *watch = new QTimer(notice);
    connect(watch, &QTimer::timeout, notice, [page, notice] {
        if (busyBinders(page).isEmpty())
            notice->deleteLater();
    });
    watch->start(200);
    connect(cancel, &QPushButton::clicked, page, [page, notice] {
        qCInfo(lcWaitGuard) << "leaving" << page->metaObject()->className() << "with its exchanges cancelled";
        notice->deleteLater();
        page->setProperty(kLeaving, true);
        for (VrSNMPRequest2Controls *binder : page->findChildren<VrSNMPRequest2Controls *>())
            binder->Request.Cancel();
        // After the completions that say so.
        QTimer::singleShot(0, page, [page] {
            page->reject();
            if (page->isVisible())
                page->setProperty(kLeaving, false);
        });
    });
}

void VrWaitGuard::NoteWritten(QObject *owner, const QString &group)
{
    auto *page = qobject_cast<QWidget *>(owner);
    if (!page)
        return;
    QStringList written = page->window()->property(kWritten).toStringList();
    written << group;
    page->window()->setProperty(kWritten, written);
}

QStringList VrWaitGuard::Written(const QObject *owner)
{
    const auto *page = qobject_cast<const QWidget *>(owner);
    return page ? page->window()->property(kWritten).toStringList() : QStringList();
}

void VrRunPage(QDialog &page)
{
    VrWaitGuard::Install().Run(page);
}
