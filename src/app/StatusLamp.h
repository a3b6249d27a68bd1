#pragma once

#include <QColor>
#include <QWidget>

// One status lamp of the device picture: a filled circle, white when off and
// lime green when lit.
class StatusLamp : public QWidget
{
    Q_OBJECT
public:
    static constexpr QColor OffColor{255, 255, 255};
    static constexpr QColor OnColor{0, 255, 0};

    explicit StatusLamp(QWidget *parent = nullptr);

    bool isLit() const { return m_lit; }
    void setLit(bool lit);
    void toggle() { setLit(!m_lit); }
    QColor color() const { return m_lit ? OnColor : OffColor; }

    QSize sizeHint() const override { return {14, 14}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_lit = false;
};
