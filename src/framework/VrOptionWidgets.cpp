#include "VrOptionWidgets.h"

#include "VrOptionList.h"
#include "VrRadioGroup.h"

#include <QComboBox>
#include <QStringList>

namespace {
QStringList displayTexts(const VrOptionList &options)
{
    QStringList texts;
    for (int i = 0; i < options.Count(); ++i)
        texts.append(options.At(i).text);
    return texts;
}
} // namespace

void VrFillItems(const VrOptionList &options, QComboBox *combo)
{
    combo->clear();
    combo->addItems(displayTexts(options));
    combo->setCurrentIndex(-1);
}

void VrFillItems(const VrOptionList &options, VrRadioGroup *group)
{
    group->setItems(displayTexts(options));
}

int VrOptionIndex(const VrOptionList &options, const QString &text)
{
    const int byText = options.FindByText(text);
    return byText >= 0 ? byText : options.FindByValue(text);
}

void VrSelectIn(const VrOptionList &options, QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(VrOptionIndex(options, text));
}

void VrSelectIn(const VrOptionList &options, VrRadioGroup *group, const QString &text)
{
    group->setItemIndex(VrOptionIndex(options, text));
}
