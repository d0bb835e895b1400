// Twips to device pixels, text fitting and line drawing for the page renderer.
#include "reports/report_canvas.h"

#include "reports/twips.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace reports {

namespace {

// A cell shows one line: breaks would otherwise draw over the next row.
QString asSingleLine(const QString& text) {
    QString line = text;
    for (QChar& c : line) {
        if (c == u'\n' || c == u'\r' || c == u'\t')
            c = u' ';
    }
    return line;
}

} // namespace

ReportCanvas::ReportCanvas(QPainter& painter, double shrink)
    : painter_(painter), shrink_(shrink),
      xScale_(painter.device()->logicalDpiX() * shrink / twipsPerInch),
      yScale_(painter.device()->logicalDpiY() * shrink / twipsPerInch) {}

const ReportCanvas::DeviceFont& ReportCanvas::select(const QFont& font) {
    auto found = std::find_if(fonts_.begin(), fonts_.end(),
                              [&](const DeviceFont& f) { return f.requested == font; });
    if (found == fonts_.end()) {
        QFont scaled = font;
        if (font.pointSizeF() > 0)
            scaled.setPointSizeF(font.pointSizeF() * shrink_);
        fonts_.push_back({font, scaled, QFontMetricsF(scaled, painter_.device())});
        found = fonts_.end() - 1;
    }
    const int index = int(found - fonts_.begin());
    if (index != current_) {
        painter_.setFont(found->scaled);
        current_ = index;
    }
    return *found;
}

QPointF ReportCanvas::toDevice(QPoint twips) const {
    return {(origin_.x() + twips.x()) * xScale_, (origin_.y() + twips.y()) * yScale_};
}

QRectF ReportCanvas::toDevice(const QRect& twips) const {
    return {toDevice(twips.topLeft()), QSizeF(twips.width() * xScale_, twips.height() * yScale_)};
}

void ReportCanvas::drawText(const QRect& box, const QString& text, const QFont& font,
                            Qt::Alignment alignment) {
    if (text.isEmpty())
        return;
    const DeviceFont& f = select(font);
    const QRectF r = toDevice(box);
    QString line = asSingleLine(text);
    qreal width = f.metrics.horizontalAdvance(line);
    if (width > r.width()) {
        line = f.metrics.elidedText(line, Qt::ElideRight, r.width());
        width = f.metrics.horizontalAdvance(line);
    }
    qreal x = r.left();
    if (alignment & Qt::AlignRight)
        x = r.right() - width;
    else if (alignment & Qt::AlignHCenter)
        x = r.left() + (r.width() - width) / 2;
    const qreal baseline = r.top() + (r.height() - f.metrics.height()) / 2 + f.metrics.ascent();
    painter_.drawText(QPointF(x, baseline), line);
}

void ReportCanvas::drawWrappedText(const QRect& box, const QString& text, const QFont& font,
                                   Qt::Alignment alignment) {
    if (text.isEmpty())
        return;
    select(font);
    const QRectF r = toDevice(box);
    painter_.save();
    painter_.setClipRect(r, Qt::IntersectClip);
    painter_.drawText(r, int(alignment) | Qt::TextWordWrap, text);
    painter_.restore();
}

void ReportCanvas::drawLine(const QLine& twips, int penWidthTwips) {
    // Below one device pixel the pen becomes cosmetic: a hairline, never invisible.
    const qreal width = penWidthTwips * yScale_;
    QPen pen(Qt::black, width < 1.0 ? 0.0 : width);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
    painter_.drawLine(toDevice(twips.p1()), toDevice(twips.p2()));
}

} // namespace reports
