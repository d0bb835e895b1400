// Paints report geometry given in twips onto a QPainter that is active on a
// paged device, converting at the device's own resolution. Fonts are measured
// on that same device, so a text fitted to its box here stays inside it on the
// page: a single line is elided to the box's width, wrapped text is clipped to
// the box. Coordinates are relative to the origin, the top of the band being
// painted.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QLine>
#include <QRect>
#include <vector>

class QPainter;

namespace reports {

class ReportCanvas {
public:
    // `shrink` (at most 1) scales geometry and fonts alike, for pages narrower
    // than the report.
    explicit ReportCanvas(QPainter& painter, double shrink = 1.0);

    void setOrigin(QPoint twips) { origin_ = twips; }

    // One line, centred vertically, placed horizontally by `alignment`;
    // line breaks and tabs count as blanks.
    void drawText(const QRect& box, const QString& text, const QFont& font,
                  Qt::Alignment alignment);
    // Broken into lines at word boundaries, placed in the box by `alignment`.
    void drawWrappedText(const QRect& box, const QString& text, const QFont& font,
                         Qt::Alignment alignment);
    void drawLine(const QLine& twips, int penWidthTwips);

private:
    struct DeviceFont {
        QFont requested;
        QFont scaled;
        QFontMetricsF metrics;
    };
    // The font resolved for the device and made current on the painter.
    const DeviceFont& select(const QFont& font);
    QRectF toDevice(const QRect& twips) const;
    QPointF toDevice(QPoint twips) const;

    QPainter& painter_;
    double shrink_;
    double xScale_; // device pixels per twip, shrink included
    double yScale_;
    QPoint origin_;
    std::vector<DeviceFont> fonts_; // the few fonts of a report, resolved once
    int current_ = -1;              // index into fonts_ of the painter's font
};

} // namespace reports
