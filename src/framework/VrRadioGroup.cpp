#include "VrRadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

VrRadioGroup::VrRadioGroup(QWidget *parent)
    : QGroupBox(parent), m_group(new QButtonGroup(this)), m_layout(new QGridLayout(this))
{
    connect(m_group, &QButtonGroup::idClicked, this, &VrRadioGroup::clicked);
}

void VrRadioGroup::setItems(const QStringList &items)
{
    for (QAbstractButton *b : m_group->buttons()) {
        m_group->removeButton(b);
        delete b;
    }
    m_items = items;
    for (int i = 0; i < m_items.size(); ++i)
        m_group->addButton(new QRadioButton(m_items[i], this), i);
    relayout();
}

int VrRadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

void VrRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *b = m_group->button(index)) {
        b->setChecked(true);
        return;
    }
    // An exclusive group refuses to uncheck its checked button.
    if (QAbstractButton *checked = m_group->checkedButton()) {
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
}

void VrRadioGroup::setColumns(int columns)
{
    m_columns = std::max(1, columns);
    relayout();
}

QRadioButton *VrRadioGroup::button(int index) const
{
    return qobject_cast<QRadioButton *>(m_group->button(index));
}

void VrRadioGroup::relayout()
{
    const QList<QAbstractButton *> buttons = m_group->buttons();
    for (QAbstractButton *b : buttons)
        m_layout->removeWidget(b);
    const int rows = (int(m_items.size()) + m_columns - 1) / m_columns;
    for (int i = 0; i < m_items.size(); ++i)
        m_layout->addWidget(m_group->button(i), rows ? i % rows : 0, rows ? i / rows : 0);
}
