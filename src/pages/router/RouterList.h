#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

#include <QLabel>
#include <QTreeWidget>
class QWidget;
class VrSNMPRequest2Controls;
class VrSNMPRequest2Edits;
#include "VrStatusBar.h"
struct VrSNMPError;
struct VrSNMPVarDef;

// A binder of a router page, made as every page makes its binders: time-out
// in hundredths of a second (scaled for tests), synchronous ones showing
// their errors in statusTarget, asynchronous ones leaving them to their
// completions.
VrSNMPRequest2Edits *MakeRouterBinder(QWidget *page, const VrSNMPVarDef *table, int kind, unsigned timeout,
                                      const QString &description, QWidget *statusTarget);
VrSNMPRequest2Edits *MakeAsyncRouterBinder(QWidget *page, const VrSNMPVarDef *table, int kind, unsigned timeout,
                                           const QString &description);

namespace Router {
struct Refusal;
}
// Tells the user why an input is refused (a box with OK), empties the
// control when the refusal says so and puts the focus on it.
void ShowRefusal(QWidget *page, const Router::Refusal &refusal);

// A list the device keeps in a fixed-size table, as the router pages edit it.
// The whole table is walked into a hidden list view whose selected row fills
// the bound controls; the rows in use are shown in a visible list, one line
// each. Rows are added and deleted through asynchronous writes (an add or
// delete object, or the table's own row); a write the device accepted is
// followed by a fresh walk, one it refused leaves its text in the status bar.
class RouterList : public QObject
{
    Q_OBJECT

public:
    RouterList(QWidget *page, const VrSNMPVarDef *table, unsigned timeout, const QString &description,
               QTreeWidget *hidden, QTreeWidget *visible, VrStatusBar *status);

    VrSNMPRequest2Edits *Table() const { return m_table; }
    QTreeWidget *Hidden() const { return m_hidden; }
    QTreeWidget *Visible() const { return m_visible; }

    // Whether a table row (its item texts) is in use, and its line in the visible list.
    std::function<bool(const QStringList &row)> IsUsed;
    std::function<QStringList(const QStringList &row)> Texts;
    // After each walk, the visible list rebuilt; ok is false when the walk failed.
    std::function<void(bool ok)> Loaded;
    // A write the device refused or that could not be sent.
    std::function<void()> Refused;
    // While a walk or a write is under way the page takes no other change.
    std::function<void(bool busy)> BusyChanged;

    // Walks the table again; "Get OK!" or the error when it is in.
    void Reload();
    bool Busy() const { return m_busy; }

    // Item texts of table row `row` (all items, in the table's order).
    QStringList Row(int row) const;
    int RowCount() const;
    int UsedCount() const;
    // One item's texts over the rows in use.
    QStringList UsedColumn(int item) const;
    // The table row shown at a position of the visible list, or -1.
    int TableRowOf(int visiblePosition) const;
    int SelectedVisible() const;

    // Selects a table row, which fills the bound controls. The first free row
    // is where a new entry goes; false when every row is in use.
    bool SelectRow(int row);
    bool SelectFree();
    // The rule picked in the visible list; picking any other than the edited
    // rule leaves edit mode.
    bool SelectVisible(int visiblePosition);

    // Edit mode: the rule picked in the visible list is shown in the controls
    // and a write goes back to its row. False when no rule is picked.
    bool EnterEditMode();
    void LeaveEditMode() { m_editRow = -1; }
    bool Editing() const { return m_editRow >= 0; }
    // The row a write of the table goes to: the edited one, else the first
    // free row; -1 when there is none.
    int TargetRow() const;
    // Selects the row without showing it, so that the controls keep what was
    // typed, and puts its index into the control bound to the key.
    void TakeRow(int row, QLabel *indexLabel);

    // An asynchronous binder for an add or delete object.
    VrSNMPRequest2Edits *ChangeBinder(const VrSNMPVarDef *table, const QString &description);
    // Starts a write of the binder (controls gathered). Once the device took
    // it, `done` goes to the second status panel and the table is walked
    // again; otherwise `failed` goes there and the device's text to the first.
    // False when the write could not be sent.
    bool Send(VrSNMPRequest2Edits *binder, const QString &done, const QString &failed,
              const QString &selection = QString(), const QStringList *values = nullptr);

    QLabel *Result() const;  // first panel: outcome of the last exchange
    QLabel *Changes() const; // second panel: the last change the device took

private:
    void loaded(const VrSNMPError &result);
    void written(const QString &done, const QString &failedText, const VrSNMPError &result);
    void setBusy(bool busy);
    void failed(const QString &message, const QString &failedText);

    QPointer<QWidget> m_page;
    VrSNMPRequest2Edits *m_table = nullptr;
    QPointer<QTreeWidget> m_hidden;
    QPointer<QTreeWidget> m_visible;
    QPointer<VrStatusBar> m_status;
    std::vector<int> m_columns; // hidden-view column of each item
    bool m_busy = false;
    int m_editRow = -1;
};
