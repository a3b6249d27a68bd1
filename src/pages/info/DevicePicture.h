#pragma once

#include <QWidget>

// The picture of the access point: a desktop unit seen from the front with two
// antennas and a lamp panel. Painted rather than loaded so that it scales
// cleanly and needs no image plug-in.
class DevicePicture : public QWidget
{
    Q_OBJECT
public:
    enum Lamp { Power, Lan, Wlan, LampCount };

    explicit DevicePicture(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {Width, Height}; }
    // Where the centre of a lamp sits, in this widget's coordinates.
    static QPoint lampCentre(Lamp lamp);

    static constexpr int Width = 420;
    static constexpr int Height = 148;

protected:
    void paintEvent(QPaintEvent *event) override;
};
