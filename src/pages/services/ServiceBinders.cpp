#include "ServiceBinders.h"

#include "VrCommon.h"
#include "VrSNMPError.h"
#include "VrStatusBar.h"

#include <QStringList>

namespace services {

namespace {

template <class Call>
bool reported(VrSNMPRequest2Edits *binder, Call call)
{
    try {
        return call();
    } catch (const VrSNMPException &e) {
        binder->ShowStatus(e.Message());
    } catch (const VrCommonException &e) {
        binder->ShowStatus(e.Message());
    }
    return false;
}

} // namespace

bool Load(VrSNMPRequest2Edits *binder)
{
    return reported(binder, [binder] { return binder->Load(); });
}

bool Apply(VrSNMPRequest2Edits *binder, const QString &selection, const QStringList *values, bool readBack)
{
    return reported(binder, [&] { return binder->Apply(readBack, true, selection, values); });
}

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
