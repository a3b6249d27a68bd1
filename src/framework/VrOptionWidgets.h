#pragma once

#include <QString>

class QComboBox;
class VrOptionList;
class VrRadioGroup;

// Replaces the control's items by the option list's display texts, in entry order.
void VrFillItems(const VrOptionList &options, QComboBox *combo);
void VrFillItems(const VrOptionList &options, VrRadioGroup *group);

// Selects the entry whose display text matches, else the one whose value
// matches, else nothing (index -1).
void VrSelectIn(const VrOptionList &options, QComboBox *combo, const QString &text);
void VrSelectIn(const VrOptionList &options, VrRadioGroup *group, const QString &text);

// The position VrSelectIn selects for a text (-1 when nothing matches).
int VrOptionIndex(const VrOptionList &options, const QString &text);
