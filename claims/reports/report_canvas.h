// Paints report geometry given in twips onto a QPainter that is active on a
// paged device, converting at the device's own resolution. Fonts are measured
// on that same device, so a text fitted to its box here stays inside it on the
// page: every line of text that is too wide is elided ("…") to the box's
// width, and wrapped text keeps to the lines the box has room for.
// Coordinates are relative to the origin, the top of the band being painted.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
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
    // line breaks and tabs count as blanks. A `whole` text too wide for the box
    // is drawn in a font small enough to fit instead of being elided: figures
    // such as amounts and totals must never lose digits.
    void drawText(const QRect& box, const QString& text, const QFont& font, Qt::Alignment alignment,
                  bool whole = false);
    // Broken into lines at blanks, as many as the box has room for (at least
    // one), the block placed in the box by `alignment`.
    void drawWrappedText(const QRect& box, const QString& text, const QFont& font,
                         Qt::Alignment alignment);
    void drawLine(const QLine& twips, int penWidthTwips);

private:
    // A line of text as it fits a width in device pixels.
    struct FittedLine {
        QString text;
        qreal width;
    };
    struct DeviceFont {
        QFont requested;
        QFont scaled;
        QFontMetricsF metrics;
        // Reports repeat texts (names, dates, statuses); measuring is the costly part.
        QHash<std::pair<QString, int>, FittedLine> fitted;
    };
    // The font resolved for the device and made current on the painter.
    DeviceFont& select(const QFont& font);
    const FittedLine& fit(DeviceFont& font, const QString& text, int width);
    void drawLineOfText(DeviceFont& font, const QString& text, const QRectF& box, qreal baseline,
                        Qt::Alignment alignment);
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
