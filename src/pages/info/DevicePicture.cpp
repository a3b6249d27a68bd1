#include "DevicePicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int BodyLeft = 60;
constexpr int BodyTop = 62;
constexpr int BodyWidth = 300;
constexpr int BodyHeight = 62;
constexpr int PanelLeft = 200;
constexpr int LampSpacing = 50;
constexpr int LampRow = BodyTop + 28;

const char *const LampLabels[DevicePicture::LampCount] = {"Power", "LAN", "WLAN"};

void drawAntenna(QPainter &p, int x)
{
    QLinearGradient shade(x - 5, 0, x + 5, 0);
    shade.setColorAt(0, QColor(40, 40, 40));
    shade.setColorAt(0.5, QColor(90, 90, 90));
    shade.setColorAt(1, QColor(30, 30, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(x - 5, 8, 10, BodyTop - 4), 5, 5);
    p.setBrush(QColor(55, 55, 55));
    p.drawRect(QRectF(x - 8, BodyTop - 8, 16, 10));
}

} // namespace

DevicePicture::DevicePicture(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(Width, Height);
}

QPoint DevicePicture::lampCentre(Lamp lamp)
{
    return {PanelLeft + LampSpacing * int(lamp), LampRow};
}

void DevicePicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, Height);
    sky.setColorAt(0, QColor(226, 234, 244));
    sky.setColorAt(1, QColor(196, 208, 224));
    p.fillRect(rect(), sky);

    // Shadow under the unit.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QRectF(BodyLeft + 10, BodyTop + BodyHeight - 4, BodyWidth - 20, 14));

    drawAntenna(p, BodyLeft + 30);
    drawAntenna(p, BodyLeft + BodyWidth - 30);

    const QRectF body(BodyLeft, BodyTop, BodyWidth, BodyHeight);
    QLinearGradient casing(0, body.top(), 0, body.bottom());
    casing.setColorAt(0, QColor(250, 250, 250));
    casing.setColorAt(0.55, QColor(228, 230, 234));
    casing.setColorAt(1, QColor(178, 182, 190));
    p.setPen(QPen(QColor(120, 124, 132), 1.2));
    p.setBrush(casing);
    p.drawRoundedRect(body, 12, 12);

    // Front strip that carries the lamps.
    const QRectF strip(BodyLeft + 14, LampRow - 12, BodyWidth - 28, 38);
    p.setPen(QPen(QColor(150, 154, 162), 1));
    p.setBrush(QColor(64, 70, 82));
    p.drawRoundedRect(strip, 6, 6);

    // Vent slots on the left of the strip.
    p.setPen(QPen(QColor(110, 118, 132), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 6; ++i) {
        const qreal x = strip.left() + 14 + i * 9;
        p.drawLine(QPointF(x, strip.top() + 9), QPointF(x, strip.bottom() - 9));
    }

    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    for (int lamp = 0; lamp < LampCount; ++lamp) {
        const QPoint c = lampCentre(Lamp(lamp));
        p.setPen(QPen(QColor(30, 30, 30), 1));
        p.setBrush(QColor(40, 44, 52));
        p.drawEllipse(QPointF(c), 9, 9); // the bezel the lamp sits in
        p.setPen(QColor(220, 224, 232));
        p.drawText(QRectF(c.x() - 24, c.y() + 10, 48, 12), Qt::AlignCenter,
                   QString::fromLatin1(LampLabels[lamp]));
    }

    p.setPen(QColor(90, 96, 108));
    font.setPixelSize(11);
    p.setFont(font);
    p.drawText(QRectF(BodyLeft + 16, BodyTop + 2, 160, 13), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("QRT-5150"));
}
