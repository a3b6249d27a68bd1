#include "ServiceBinders.h"

#include "VrStatusBar.h"

#include <QStringList>

namespace services {

QString Selection(const QList<int> &items)
{
    QStringList parts;
    for (int i : items)
        parts << QString::number(i);
    return parts.join(u',');
}

QLabel *ResultPanel(VrStatusBar *bar)
{
    QLabel *panel = bar->panel(0);
    panel->setMinimumWidth(110);
    return panel;
}

QLabel *ExchangePanel(VrStatusBar *bar)
{
    // A long error line must not widen the page.
    QLabel *panel = bar->panel(1);
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return panel;
}

} // namespace services
