#pragma once
// The photo of a tilted horizon: dark straight lines on a light ground, turned
// counter-clockwise on screen by degrees about the middle.

#include <QImage>
#include <QPainter>

inline QImage TiltedLines(double degrees)
{
    QImage picture(480, 360, QImage::Format_RGB32);
    picture.fill(qRgb(235, 235, 235));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 20, 20), 3));
    painter.translate(240, 180);
    painter.rotate(-degrees);  // Qt turns clockwise on screen for positive angles
    for (int y = -300; y <= 300; y += 40) painter.drawLine(-400, y, 400, y);
    return picture;
}
