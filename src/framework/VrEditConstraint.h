#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QLineEdit;
class QWidget;

// Name of the dynamic property a page sets to -1 in its own exit handler to
// make an edit go back to its last accepted text.
inline constexpr char VrTagProperty[] = "tag";

// Watches edit boxes while the user types and when the focus leaves them:
// filters characters (with a beep), moves the focus on at the exit character
// or when a fixed length is reached, and refuses out-of-range input with a
// message, putting back the last accepted text.
//
// A page that wants to act on an accepted exit or a filtered change connects
// to Exited / Changed instead of to the edit: they run at the point where the
// edit's own handler belongs (after filtering, before the checks' outcome is
// remembered).
class VrEditConstraint : public QObject
{
    Q_OBJECT

public:
    VrEditConstraint(QWidget *owner, bool rememberValid, QObject *parent = nullptr);
    ~VrEditConstraint() override;

    // One edit per conversion of the format ("%u{n1x4094}%s"). Raises
    // VrCommonException -2 for a bad format, VrSNMPException -522 when the
    // edits are fewer than the conversions.
    void AddConstraints(const QString &format, const QList<QLineEdit *> &edits);
    // One conversion for one edit; replaces an earlier constraint of the edit.
    void AddConstraint(const QString &format, QLineEdit *edit);
    void RemoveConstraint(QLineEdit *edit);
    bool HasConstraint(QLineEdit *edit) const;

    // Takes the edit's current text as its last accepted text.
    void RememberText(QLineEdit *edit);
    QString LastValidText(QLineEdit *edit) const;

    QWidget *Owner() const { return m_owner; }
    void SetOwner(QWidget *owner) { m_owner = owner; }

    bool RememberValid;

signals:
    void Changed(QLineEdit *edit);
    void Exited(QLineEdit *edit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Record;

    void editChange(QLineEdit *edit);
    void editExit(QLineEdit *edit);
    void focusNext();

    QPointer<QWidget> m_owner;
    QHash<QLineEdit *, Record *> m_records;
    bool m_inExit = false;
};
