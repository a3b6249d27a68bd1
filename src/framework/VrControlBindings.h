#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "VrEditConstraint.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class VrOptionList;
class VrSNMPVarList;

// One bind call: a variable (or a part of its raw value) and its controls.
struct VrControlBinding {
    int varIndex = 0;
    int byteOffset = 0;
    int partSyntax = 0;
    const VrOptionList *options = nullptr; // the part's own list, not owned
    std::vector<int> bitIndices;           // check boxes bound to bits
    std::vector<QPointer<QWidget>> controls;
};

// The bindings between the items of a variable list and the controls of a
// page, and the moves of values between them: ShowValues puts item texts into
// the controls, CollectValues builds item texts from them. Several controls
// may make up one variable (an address in four edits, flags in the bits of an
// octet string, a prefix chosen in a combo box and the rest typed in an edit).
//
// Supported controls: QLabel, QCheckBox, QComboBox, VrRadioGroup, QLineEdit.
// Failures are raised as VrSNMPException with the binding codes -511 and
// -517 .. -522 (VrCommonException -12 for a variable position outside the
// list, -2 for a bad constraint format).
class VrControlBindings
{
public:
    // Constraint messages are parented to the owner, which also takes the
    // focus moves; the last accepted text of each edit is remembered.
    VrControlBindings(VrSNMPVarList &list, QWidget *constraintOwner);
    virtual ~VrControlBindings();
    VrControlBindings(const VrControlBindings &) = delete;
    VrControlBindings &operator=(const VrControlBindings &) = delete;

    void BindControl(int var, QWidget *control);
    void BindCheckBox(int var, QCheckBox *box);
    // Makes the combo box a drop-down list without free typing.
    void BindComboBox(int var, QComboBox *combo);
    // A part at a byte offset of the raw value, shown in the part syntax. A
    // combo box or radio group needs an option list (the part's own, or the
    // variable's for a whole binding) and gets its items from it; a combo box
    // with a prefix list needs the second control for the rest of the text.
    void BindPart(int var, int byteOffset, int partSyntax, const VrOptionList *options,
                  QWidget *control, QWidget *second = nullptr);
    void BindControls(int var, int byteOffset, int partSyntax, const VrOptionList *options,
                      const QList<QWidget *> &controls);
    // Edits with input constraints, one per conversion of the format. The
    // edits' maximum length follows the constraint; set another one after.
    void BindFormat(int var, const QString &format, const QList<QLineEdit *> &edits);
    // Check box k shows bit number k of the comma-separated list; bit 0 is the
    // most significant bit of the first byte.
    void BindBits(int var, const QString &bitList, const QList<QCheckBox *> &boxes);
    void Unbind(int var);

    // var -1: every variable.
    void ShowValues(int var = -1);
    void CollectValues(int var = -1);
    void EnableControls(bool enable);

    const std::vector<std::unique_ptr<VrControlBinding>> &Bindings() const { return m_bindings; }
    VrEditConstraint &Constraints() { return m_constraints; }
    void SetConstraintOwner(QWidget *owner) { m_constraints.SetOwner(owner); }

private:
    VrSNMPVarList &m_list;
    VrEditConstraint m_constraints;

    void checkVar(int var) const;
    bool isWhole(const VrControlBinding &b) const;
    const VrOptionList *optionsOf(const VrControlBinding &b) const;
    void add(std::unique_ptr<VrControlBinding> binding);
    void show(const VrControlBinding &b);
    QString collect(const VrControlBinding &b, QByteArray *bitPart) const;

    std::vector<std::unique_ptr<VrControlBinding>> m_bindings;
};
