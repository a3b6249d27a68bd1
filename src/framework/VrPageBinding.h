#pragma once

#include "VrSNMPRequest2Edits.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <vector>

class QWidget;
struct VrSNMPVarDef;

// How a page makes and runs the binder of one group of its objects, the same
// way on every page: the request set up from the group's definition table,
// the exchange's errors shown in the page's status target, and the binding
// layer's exceptions (a value the controls cannot take, a bad address) shown
// there too instead of escaping into the event loop.
//
//   // In the page's constructor, after setupUi; the binder dies with the page.
//   m_basic = VrMakePageBinder(this, kBasicVars, VrListInstance, ScaledTimeout(1000),
//                              QStringLiteral("Wireless"), ui->StatusBar1, &m_lastError);
//   m_basic->BindComboBox(0, ui->CB_Band);
//   ...
//   VrLoadShowingErrors(m_basic);                  // false when anything failed
//   VrApplyShowingErrors(m_basic, false);          // on Save, without read-back

// The request of binder for one group: the table's items as a list of the
// kind (with one key for a table, none for an instance list, unless keyCount
// says otherwise), the description errors name, the time-out in hundredths of
// a second as given (scale it first where the page follows the time scale),
// synchronous.
void VrSetUpBinder(VrSNMPRequest2Controls *binder, const VrSNMPVarDef *table, int kind, unsigned timeout,
                   const QString &description, int keyCount = -1);

// The exchange's errors of binder shown in statusTarget (a success shows
// nothing); with lastError, the code of each reported result is kept there.
void VrReportErrorsTo(VrSNMPRequest2Controls *binder, QWidget *statusTarget, int *lastError = nullptr);

// A synchronous binder of page for one group, set up and reporting as above.
template <class Binder = VrSNMPRequest2Edits>
Binder *VrMakePageBinder(QWidget *page, const VrSNMPVarDef *table, int kind, unsigned timeout,
                         const QString &description, QWidget *statusTarget, int *lastError = nullptr)
{
    auto *binder = new Binder(page);
    VrSetUpBinder(binder, table, kind, timeout, description);
    VrReportErrorsTo(binder, statusTarget, lastError);
    return binder;
}

// Load and Apply that show the binding layer's exceptions in the binder's
// status target; false when the exchange failed or an exception was shown.
bool VrLoadShowingErrors(VrSNMPRequest2Controls *binder);
bool VrApplyShowingErrors(VrSNMPRequest2Controls *binder, bool readBack = true, const QString &selection = QString(),
                          const QStringList *values = nullptr);

// Sends the first reads of groups that do not depend on one another at once,
// so that a page costs one round trip for them instead of one per group. The
// page then loads them one after the other as before and each Load takes its
// own answer: fields, lists and messages come out in the page's order, and a
// failed read is reported by its Load as if it had just been asked. A group
// whose read needs an earlier answer (a value that picks the next object, a
// count that sizes a walk) stays out, or its Load asks again when its list
// changed meanwhile. Writes never go ahead. Answers no Load took are dropped
// when the scope ends.
//
//   VrReadTogether together{m_mode, m_band, m_rates};
//   VrLoadShowingErrors(m_mode); ...
class VrReadTogether
{
public:
    VrReadTogether(std::initializer_list<VrSNMPRequest2Controls *> binders);
    ~VrReadTogether();
    VrReadTogether(const VrReadTogether &) = delete;
    VrReadTogether &operator=(const VrReadTogether &) = delete;

private:
    std::vector<QPointer<VrSNMPRequest2Controls>> m_binders;
};
