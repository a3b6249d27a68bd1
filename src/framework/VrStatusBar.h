#pragma once

#include <QStatusBar>
#include <QVector>

class QLabel;

// A status bar with numbered text panels and a "simple text" mode that hides
// the panels and shows one line across the whole bar.
class VrStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit VrStatusBar(QWidget *parent = nullptr);

    // Panel i, created (with those before it) on first use.
    QLabel *panel(int index);
    int panelCount() const { return int(m_panels.size()); }

    // Shows the text across the bar, hiding the panels until setSimplePanel(false).
    void setSimpleText(const QString &text);
    QString simpleText() const { return m_simpleText; }
    bool simplePanel() const { return m_simple; }
    void setSimplePanel(bool simple);

private:
    QVector<QLabel *> m_panels;
    QString m_simpleText;
    bool m_simple = false;
};
