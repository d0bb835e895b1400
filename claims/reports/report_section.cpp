// Bands of a banded report and their controls.
#include "reports/report_section.h"

#include <algorithm>

namespace reports {

QFont reportFont(double pointSize, bool bold) {
    QFont font;
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

ReportSection& ReportSection::setName(const QString& name) {
    name_ = name;
    return *this;
}

ReportSection& ReportSection::setHeight(int twips) {
    height_ = std::max(twips, 0);
    return *this;
}

ReportLabel& ReportSection::addLabel(const QString& name, const QRect& box,
                                     const QString& caption) {
    ReportLabel& label = labels_.emplace_back();
    label.name = name;
    label.box = box;
    label.caption = caption;
    return label;
}

ReportTextBox& ReportSection::addTextBox(const QString& name, const QRect& box,
                                         const QString& field) {
    return textBoxes_.emplace_back(ReportTextBox{name, box, field});
}

ReportLine& ReportSection::addLine(const QString& name, const QLine& line) {
    return lines_.emplace_back(ReportLine{name, line});
}

ReportLabel* ReportSection::findLabel(const QString& name) {
    auto found = std::find_if(labels_.begin(), labels_.end(),
                              [&](const ReportLabel& label) { return label.name == name; });
    return found == labels_.end() ? nullptr : &*found;
}

int ReportSection::contentWidth() const {
    int width = 0;
    for (const ReportLabel& label : labels_)
        width = std::max(width, label.box.x() + label.box.width());
    for (const ReportTextBox& textBox : textBoxes_)
        width = std::max(width, textBox.box.x() + textBox.box.width());
    for (const ReportLine& line : lines_)
        width = std::max({width, line.line.x1(), line.line.x2()});
    return width;
}

} // namespace reports
