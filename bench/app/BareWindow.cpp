// The peers of the start-up figures: a Qt Widgets main window that is shown
// and quits from the event loop's first turn; with --text, the same window
// with a menu bar and a status line, so that it loads the fonts as every
// window showing text must.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    if (QApplication::arguments().contains(QStringLiteral("--text"))) {
        for (const char *title : {"&Home", "&Advanced", "&Tools", "&Status", "He&lp"})
            window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("&Page"));
        window.statusBar()->showMessage(QStringLiteral("Ready"));
    }
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
