// Layout of the consolidated report, its header captions and its rows.
#include "reports/DRPendancy.h"

#include "format_date.h"
#include "recordset.h"
#include "reports/report_preview.h"

namespace {

using reports::reportFont;
using reports::ReportSection;
using reports::SectionKind;

const QStringList kFields{"sno", "distname", "tc", "sc", "rc", "pc"};

// The columns shared by the page-header labels and the detail text boxes.
struct Column {
    const char* label;
    const char* caption;
    const char* textBox;
    int left;
    int labelWidth;
    int textBoxWidth;
    Qt::Alignment alignment;
};

constexpr Column kColumns[] = {
    {"Label1", "Sr. No.", "txtsno", 288, 1140, 1140, Qt::AlignHCenter},
    {"Label2", "District Name", "txtdistname", 1584, 2304, 3168, Qt::AlignLeft},
    {"Label3", "Total", "txttc", 4752, 1305, 1290, Qt::AlignHCenter},
    {"Label4", "Sanctioned", "txtsc", 6336, 1290, 1290, Qt::AlignHCenter},
    {"Label5", "Rejected", "txtrc", 7920, 1290, 1290, Qt::AlignHCenter},
    {"Label6", "Pending", "txtpc", 9360, 1161, 1146, Qt::AlignHCenter},
};

constexpr int kColumnHeight = 240;
// Rules run from the title's left edge to the print date's right edge.
constexpr int kRuleLeft = 144;
constexpr int kRuleRight = 7776 + 2745;

void layOutReportHeader(ReportSection& header) {
    header.setName("Section4").setHeight(1260);
    auto& title = header.addLabel("Label7", {144, 144, 10365, 420},
                                  "Consolidated Report (Medical Reimbursement Cases)");
    title.font = reportFont(14, true);
    title.alignment = Qt::AlignHCenter;
    // The period line's boxes are narrow: a smaller font keeps every text whole.
    const QFont period = reportFont(8);
    header.addLabel("Label9", {144, 720, 1440, 285}, "Period From : ").font = period;
    header.addLabel("lblFrom", {1584, 720, 1296, 285}).font = period;
    header.addLabel("Label11", {2880, 720, 435, 285}, "To").font = period;
    header.addLabel("lblTo", {3312, 720, 1152, 285}).font = period;
    auto& date = header.addLabel("lblDate", {7776, 720, 2745, 420});
    date.font = reportFont(10);
    date.alignment = Qt::AlignRight;
    header.addLine("Line4", {kRuleLeft, 1185, kRuleRight, 1185}).penWidth = 20;
}

void layOutPageHeader(ReportSection& section) {
    section.setName("Section2").setHeight(540);
    for (const Column& column : kColumns) {
        auto& label = section.addLabel(
            column.label, {column.left, 144, column.labelWidth, kColumnHeight}, column.caption);
        label.font = reportFont(9, true);
        label.alignment = column.alignment;
    }
    section.addLine("Line1", {kRuleLeft, 60, kRuleRight, 60});
    section.addLine("Line2", {kRuleLeft, 465, kRuleRight, 465});
}

void layOutDetail(ReportSection& section) {
    section.setName("Section1").setHeight(300);
    for (const Column& column : kColumns) {
        // Field names are the text boxes' names without their prefix.
        const QString name = column.textBox;
        section.addTextBox(name, {column.left, 0, column.textBoxWidth, kColumnHeight}, name.mid(3))
            .alignment = column.alignment;
    }
    section.addLine("Line3", {kRuleLeft, 285, kRuleRight, 285}).penWidth = 5;
}

} // namespace

DRPendancy::DRPendancy() {
    layOutReportHeader(section(SectionKind::ReportHeader));
    layOutPageHeader(section(SectionKind::PageHeader));
    layOutDetail(section(SectionKind::Detail));
    section(SectionKind::PageFooter).setName("Section3").setHeight(75);
    section(SectionKind::ReportFooter).setName("Section5").setHeight(30);
    setData(kFields, {});
}

void DRPendancy::DataReport_Initialize(const QDate& from, const QDate& to) {
    label("lblDate").setCaption(platform::FormatDate(QDate::currentDate(), "dd-MMM-yyyy"));
    label("lblFrom").setCaption(platform::FormatDate(from, "dd-MM-yyyy"));
    label("lblTo").setCaption(platform::FormatDate(to, "dd-MM-yyyy"));
}

void DRPendancy::takeRows(store::Recordset& pendancy) {
    QList<QVariantList> rows;
    for (pendancy.MoveFirst(); !pendancy.Eof(); pendancy.MoveNext()) {
        QVariantList row;
        for (const QString& field : kFields)
            row.append(pendancy.Fields(field).text());
        rows.append(row);
    }
    setData(kFields, rows);
}

void DRPendancy::Show(QWidget* parent) {
    reports::ReportPreviewDialog dialog(*this, kCaption, parent);
    dialog.resize(900, 700);
    dialog.exec();
}
