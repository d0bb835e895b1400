// Twips to device pixels, text fitting and line drawing for the page renderer.
#include "reports/report_canvas.h"

#include "reports/twips.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace reports {

namespace {

// Fitted lines kept per font before the cache starts afresh: enough for the
// texts that repeat on a report, small beside the report itself.
constexpr qsizetype fittedCacheLimit = 8192;

// A cell shows one line: breaks would otherwise draw over the next row.
QString asSingleLine(const QString& text) {
    auto isBreak = [](QChar c) { return c == u'\n' || c == u'\r' || c == u'\t'; };
    if (std::none_of(text.begin(), text.end(), isBreak))
        return text; // shared, not copied
    QString line = text;
    std::replace_if(line.begin(), line.end(), isBreak, QChar(u' '));
    return line;
}

} // namespace

ReportCanvas::ReportCanvas(QPainter& painter, double shrink)
    : painter_(painter), shrink_(shrink),
      xScale_(painter.device()->logicalDpiX() * shrink / twipsPerInch),
      yScale_(painter.device()->logicalDpiY() * shrink / twipsPerInch) {}

ReportCanvas::DeviceFont& ReportCanvas::select(const QFont& font) {
    auto found = std::find_if(fonts_.begin(), fonts_.end(),
                              [&](const DeviceFont& f) { return f.requested == font; });
    if (found == fonts_.end()) {
        QFont scaled = font;
        if (font.pointSizeF() > 0)
            scaled.setPointSizeF(font.pointSizeF() * shrink_);
        fonts_.push_back({font, scaled, QFontMetricsF(scaled, painter_.device()), {}});
        found = fonts_.end() - 1;
    }
    const int index = int(found - fonts_.begin());
    if (index != current_) {
        painter_.setFont(found->scaled);
        current_ = index;
    }
    return *found;
}

const ReportCanvas::FittedLine& ReportCanvas::fit(DeviceFont& font, const QString& text,
                                                  int width) {
    const std::pair<QString, int> key(text, width);
    auto found = font.fitted.constFind(key);
    if (found != font.fitted.constEnd())
        return *found;
    if (font.fitted.size() >= fittedCacheLimit)
        font.fitted.clear();
    FittedLine line{text, font.metrics.horizontalAdvance(text)};
    if (line.width > width) {
        line.text = font.metrics.elidedText(text, Qt::ElideRight, width);
        line.width = font.metrics.horizontalAdvance(line.text);
    }
    return *font.fitted.insert(key, line);
}

void ReportCanvas::drawLineOfText(DeviceFont& font, const QString& text, const QRectF& box,
                                  qreal baseline, Qt::Alignment alignment) {
    const FittedLine& line = fit(font, text, int(box.width()));
    qreal x = box.left();
    if (alignment & Qt::AlignRight)
        x = box.right() - line.width;
    else if (alignment & Qt::AlignHCenter)
        x = box.left() + (box.width() - line.width) / 2;
    painter_.drawText(QPointF(x, baseline), line.text);
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
    DeviceFont& f = select(font);
    const QRectF r = toDevice(box);
    const qreal baseline = r.top() + (r.height() - f.metrics.height()) / 2 + f.metrics.ascent();
    drawLineOfText(f, asSingleLine(text), r, baseline, alignment);
}

void ReportCanvas::drawWrappedText(const QRect& box, const QString& text, const QFont& font,
                                   Qt::Alignment alignment) {
    DeviceFont& f = select(font);
    const QRectF r = toDevice(box);
    const QStringList words = asSingleLine(text).split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return;
    const qsizetype room = std::max<qsizetype>(
        1, qsizetype((r.height() - f.metrics.height()) / f.metrics.lineSpacing()) + 1);
    QStringList lines;
    for (const QString& word : words) {
        if (lines.size() < room && (lines.isEmpty() || f.metrics.horizontalAdvance(
                                                           lines.last() + u' ' + word) > r.width()))
            lines << word;
        else
            lines.last() += u' ' + word; // the last line is elided when it overflows
    }
    const qreal blockHeight =
        qreal(lines.size() - 1) * f.metrics.lineSpacing() + f.metrics.height();
    qreal top = r.top() + (r.height() - blockHeight) / 2;
    if (alignment & Qt::AlignTop)
        top = r.top();
    else if (alignment & Qt::AlignBottom)
        top = r.bottom() - blockHeight;
    for (qsizetype i = 0; i < lines.size(); ++i)
        drawLineOfText(f, lines[i], r,
                       top + qreal(i) * f.metrics.lineSpacing() + f.metrics.ascent(), alignment);
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
