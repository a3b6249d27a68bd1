#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A framed group of radio buttons chosen by index, laid out in columns that
// are filled top to bottom. At most one item is selected; index -1 selects
// none.
class VrRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit VrRadioGroup(QWidget *parent = nullptr);

    QStringList items() const { return m_items; }
    // Replaces every button; the selection is cleared.
    void setItems(const QStringList &items);

    int itemIndex() const;
    // Selects an item without emitting clicked(); -1 or an index outside the
    // items clears the selection.
    void setItemIndex(int index);

    int columns() const { return m_columns; }
    void setColumns(int columns);

    // The button of an item, for tests and for pages that disable one choice.
    QRadioButton *button(int index) const;

signals:
    // The user clicked an item (not emitted for setItemIndex).
    void clicked(int index);

private:
    void relayout();

    QStringList m_items;
    int m_columns = 1;
    QButtonGroup *m_group;
    QGridLayout *m_layout;
};
