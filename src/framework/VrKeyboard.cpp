#include "VrKeyboard.h"

#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace {

void noDefaultButtons(QDialog *page)
{
    for (QPushButton *button : page->findChildren<QPushButton *>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

class KeyboardGuard : public QObject
{
public:
    explicit KeyboardGuard(QDialog *page) : QObject(page), m_page(page) { page->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_page)
            return false;
        switch (event->type()) {
        case QEvent::Show:
            // QDialog makes the first auto-default button the default right
            // after this; buttons a page made since it last showed are covered.
            noDefaultButtons(m_page);
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                event->accept();
                return true;
            }
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    QDialog *m_page;
};

} // namespace

void VrKeyboardReady(QDialog *page)
{
    noDefaultButtons(page);
    // Marked on the page itself: a page opened again keeps its one guard.
    static const char *const kGuarded = "qrtKeyboardGuarded";
    if (!page->property(kGuarded).toBool()) {
        page->setProperty(kGuarded, true);
        new KeyboardGuard(page);
    }
}
