#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace korvex {

namespace {

constexpr int kSide = 24;

const QColor kInk(0x20, 0x30, 0x50);
const QColor kPaper(0xfb, 0xfb, 0xf4);
const QColor kBlue(0x2a, 0x62, 0xb8);
const QColor kGreen(0x2e, 0x8b, 0x3e);
const QColor kRed(0xc0, 0x39, 0x2b);
const QColor kAmber(0xe0, 0xa0, 0x20);

template <class Draw>
QIcon Paint(Draw draw) {
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1.4));
    draw(p);
    p.end();
    return QIcon(pixmap);
}

void DrawFile(QPainter& p) {
    // A floppy disk: the project file and the module's memory.
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 3.5, 10, 6));
    p.setBrush(kInk);
    p.drawRect(QRectF(13, 4.5, 2.5, 4));
    p.setBrush(kPaper);
    p.drawRect(QRectF(6.5, 13, 11, 7.5));
}

void DrawPhones(QPainter& p) {
    // A handset.
    QPainterPath handset;
    handset.moveTo(6, 4);
    handset.lineTo(9.5, 4);
    handset.lineTo(10.5, 8.5);
    handset.lineTo(8.5, 10);
    handset.cubicTo(9.5, 12.5, 11.5, 14.5, 14, 15.5);
    handset.lineTo(15.5, 13.5);
    handset.lineTo(20, 14.5);
    handset.lineTo(20, 18);
    handset.cubicTo(20, 19.5, 18.5, 20.5, 17, 20.3);
    handset.cubicTo(10, 19.5, 4.5, 14, 3.7, 7);
    handset.cubicTo(3.5, 5.5, 4.5, 4, 6, 4);
    p.setBrush(kGreen);
    p.drawPath(handset);
}

void DrawMessages(QPainter& p) {
    // An envelope.
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 6.5, 19, 12));
    p.drawPolyline(QPolygonF({QPointF(2.5, 6.5), QPointF(12, 13.5), QPointF(21.5, 6.5)}));
}

void DrawZones(QPainter& p) {
    // A shield with the three zone lamps.
    QPainterPath shield;
    shield.moveTo(12, 2.5);
    shield.lineTo(20.5, 5.5);
    shield.cubicTo(20.5, 13, 17, 18.5, 12, 21.5);
    shield.cubicTo(7, 18.5, 3.5, 13, 3.5, 5.5);
    shield.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(shield);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(8.5, 9.5), 2, 2);
    p.setBrush(kAmber);
    p.drawEllipse(QPointF(15.5, 9.5), 2, 2);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(12, 15), 2, 2);
}

void DrawProperties(QPainter& p) {
    // A gear.
    p.setBrush(QColor(0x70, 0x78, 0x88));
    QPainterPath gear;
    const QPointF c(12, 12);
    for (int i = 0; i < 8; ++i) {
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(i * 45.0);
        gear.addPolygon(t.map(QPolygonF(QRectF(-2, -10, 4, 5))));
    }
    gear.addEllipse(c, 7, 7);
    gear.setFillRule(Qt::WindingFill);
    p.drawPath(gear.simplified());
    p.setBrush(kPaper);
    p.drawEllipse(c, 2.8, 2.8);
}

void DrawCommunicator(QPainter& p) {
    // A mast sending waves.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 1.6));
    p.drawLine(QPointF(12, 9), QPointF(7.5, 21.5));
    p.drawLine(QPointF(12, 9), QPointF(16.5, 21.5));
    p.drawLine(QPointF(9.3, 16.5), QPointF(14.7, 16.5));
    p.setPen(QPen(kBlue, 1.6));
    p.drawArc(QRectF(7, 4, 10, 10), 30 * 16, 120 * 16);
    p.drawArc(QRectF(3.5, 0.5, 17, 17), 35 * 16, 110 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(12, 9), 1.8, 1.8);
}

void DrawNames(QPainter& p) {
    // A label on a string.
    QPainterPath tag;
    tag.moveTo(3.5, 8);
    tag.lineTo(8, 3.5);
    tag.lineTo(20.5, 3.5);
    tag.lineTo(20.5, 12.5);
    tag.lineTo(8, 12.5);
    tag.closeSubpath();
    p.setBrush(kAmber);
    p.drawPath(tag);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(8, 8), 1.5, 1.5);
    p.setPen(QPen(kInk, 1.2));
    p.drawLine(QPointF(11, 6.5), QPointF(18, 6.5));
    p.drawLine(QPointF(11, 9.5), QPointF(16, 9.5));
    p.drawLine(QPointF(4, 16), QPointF(20, 16));
    p.drawLine(QPointF(4, 20), QPointF(16, 20));
}

void DrawLog(QPainter& p) {
    // A ring-bound journal.
    p.setBrush(kPaper);
    p.drawRect(QRectF(5.5, 2.5, 14, 19));
    p.setPen(QPen(kInk, 1.2));
    for (double y : {7.0, 10.5, 14.0, 17.5}) p.drawLine(QPointF(9, y), QPointF(17, y));
    p.setPen(QPen(kRed, 1.4));
    for (double y : {5.0, 12.0, 19.0}) p.drawLine(QPointF(3.5, y), QPointF(7, y));
}

}  // namespace

QIcon PageIcon(PageId id) {
    switch (id) {
        case PageId::File: return Paint(DrawFile);
        case PageId::Properties: return Paint(DrawProperties);
        case PageId::Messages: return Paint(DrawMessages);
        case PageId::Phones: return Paint(DrawPhones);
        case PageId::Zones: return Paint(DrawZones);
        case PageId::Log: return Paint(DrawLog);
        case PageId::Names: return Paint(DrawNames);
        case PageId::Communicator: return Paint(DrawCommunicator);
    }
    return {};
}

QIcon AboutIcon() {
    return Paint([](QPainter& p) {
        p.setBrush(kBlue);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(15);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 0, kSide, kSide), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QIcon ApplicationIcon() {
    return Paint([](QPainter& p) {
        // The module: a box with its antenna and a lamp.
        p.setBrush(QColor(0x3a, 0x44, 0x58));
        p.drawRoundedRect(QRectF(3.5, 8.5, 17, 13), 2, 2);
        p.setPen(QPen(kInk, 2));
        p.drawLine(QPointF(16, 8.5), QPointF(16, 2));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawEllipse(QPointF(8, 13), 1.8, 1.8);
        p.setBrush(kPaper);
        p.drawRect(QRectF(6, 17, 12, 2));
    });
}

}  // namespace korvex
