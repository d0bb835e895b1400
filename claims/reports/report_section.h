// One band of a banded report and the controls on it: labels with captions,
// text boxes bound to a field of the row, and lines. Positions and sizes are
// twips relative to the band's top left corner. Controls keep their address
// for the life of the section, so a reference returned by an add call stays
// valid while more controls are added.
#pragma once

#include "reports/value_format.h"

#include <QFont>
#include <QLine>
#include <QRect>
#include <QString>
#include <deque>
#include <functional>

namespace reports {

// Report text in the application's font family at a given size.
QFont reportFont(double pointSize, bool bold = false);

struct ReportLabel {
    QString name;
    QRect box;
    // "%p" prints as the page number and "%P" as the number of pages.
    QString caption;
    QFont font = reportFont(9);
    Qt::Alignment alignment = Qt::AlignLeft;
    bool wordWrap = false; // else one line, elided when too long
    bool whole = false;    // a figure: its font shrinks to fit rather than the text being elided
    // When set, gives the caption at painting instead: a total over a long selection is worked
    // out when the page that prints it is painted, not before the first page can show.
    std::function<QString()> deferred;

    void setCaption(const QString& text) { caption = text; }
};

// Shows the value of its field for the current row; it belongs in the detail
// band, the only one painted with a row.
struct ReportTextBox {
    QString name;
    QRect box;
    QString field;
    QFont font = reportFont(9);
    Qt::Alignment alignment = Qt::AlignLeft;
    ValueFormatter format = plainText;
    bool whole = false; // as for a label
};

struct ReportLine {
    QString name;
    QLine line;
    int penWidth = 15; // twips: three quarters of a point
};

class ReportSection {
public:
    ReportSection& setName(const QString& name);
    const QString& name() const { return name_; }
    ReportSection& setHeight(int twips);
    int height() const { return height_; }

    ReportLabel& addLabel(const QString& name, const QRect& box, const QString& caption = {});
    ReportTextBox& addTextBox(const QString& name, const QRect& box, const QString& field);
    ReportLine& addLine(const QString& name, const QLine& line);

    const std::deque<ReportLabel>& labels() const { return labels_; }
    const std::deque<ReportTextBox>& textBoxes() const { return textBoxes_; }
    const std::deque<ReportLine>& lines() const { return lines_; }

    // The label of that name, or null.
    ReportLabel* findLabel(const QString& name);
    // Right edge of the rightmost control, in twips.
    int contentWidth() const;

private:
    QString name_;
    int height_ = 0;
    std::deque<ReportLabel> labels_;
    std::deque<ReportTextBox> textBoxes_;
    std::deque<ReportLine> lines_;
};

} // namespace reports
