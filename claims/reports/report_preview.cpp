// Report viewer: toolbar over QPrintPreviewWidget, printing and exports.
#include "reports/report_preview.h"

#include "reports/page_renderer.h"
#include "reports/paged_report.h"
#include "reports/wait_cursor.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSettings>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

namespace reports {

namespace {

template <typename Slot>
QAction* addToolAction(QToolBar* toolBar, const QString& objectName, const QString& text,
                       const QString& iconName, Slot slot) {
    QAction* action = toolBar->addAction(QIcon::fromTheme(iconName), text);
    action->setObjectName(objectName);
    QObject::connect(action, &QAction::triggered, toolBar, slot);
    return action;
}

} // namespace

ReportPreview::Dialogs ReportPreview::systemDialogs() {
    Dialogs dialogs;
    // The dialog opens in the folder of the last export, remembered per user.
    dialogs.saveFileName = [](QWidget* parent, const QString& caption, const QString& filter) {
        QSettings settings;
        const QString path = QFileDialog::getSaveFileName(
            parent, caption, settings.value("export/folder").toString(), filter);
        if (!path.isEmpty())
            settings.setValue("export/folder", QFileInfo(path).absolutePath());
        return path;
    };
    dialogs.setUpPrinter = [](QWidget* parent, QPrinter& printer, int pageCount) {
        QPrintDialog dialog(&printer, parent);
        dialog.setMinMax(1, pageCount);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage);
        return dialog.exec() == QDialog::Accepted;
    };
    dialogs.showError = [](QWidget* parent, const QString& title, const QString& message) {
        QMessageBox::warning(parent, title, message);
    };
    return dialogs;
}

ReportPreview::ReportPreview(PagedReport& report, QWidget* parent)
    : QWidget(parent), report_(report), dialogs_(systemDialogs()),
      previewPrinter_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    previewPrinter_->setPageLayout(report_.pageLayout());

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName("previewToolBar");
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    preview_ = new QPrintPreviewWidget(previewPrinter_.get(), this);
    preview_->setObjectName("previewPages");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(preview_, 1);

    firstPage_ = addToolAction(toolBar_, "actionFirstPage", tr("First"), "go-first",
                               [this] { showPage(1); });
    previousPage_ = addToolAction(toolBar_, "actionPreviousPage", tr("Previous"), "go-previous",
                                  [this] { showPage(currentPage() - 1); });
    pageNumber_ = new QSpinBox(toolBar_);
    pageNumber_->setObjectName("pageNumber");
    pageNumber_->setKeyboardTracking(false);
    toolBar_->addWidget(pageNumber_);
    pageCountLabel_ = new QLabel(toolBar_);
    pageCountLabel_->setObjectName("pageCount");
    pageCountLabel_->setContentsMargins(6, 0, 6, 0);
    toolBar_->addWidget(pageCountLabel_);
    nextPage_ = addToolAction(toolBar_, "actionNextPage", tr("Next"), "go-next",
                              [this] { showPage(currentPage() + 1); });
    lastPage_ = addToolAction(toolBar_, "actionLastPage", tr("Last"), "go-last",
                              [this] { showPage(pageCount()); });
    toolBar_->addSeparator();
    addToolAction(toolBar_, "actionZoomIn", tr("Zoom in"), "zoom-in", [this] {
        preview_->zoomIn();
    })->setShortcut(QKeySequence::ZoomIn);
    addToolAction(toolBar_, "actionZoomOut", tr("Zoom out"), "zoom-out", [this] {
        preview_->zoomOut();
    })->setShortcut(QKeySequence::ZoomOut);
    addToolAction(toolBar_, "actionFitWidth", tr("Fit width"), "zoom-fit-width",
                  [this] { preview_->fitToWidth(); });
    addToolAction(toolBar_, "actionFitPage", tr("Fit page"), "zoom-fit-best",
                  [this] { preview_->fitInView(); });
    toolBar_->addSeparator();
    addToolAction(toolBar_, "actionPrint", tr("Print"), "document-print", [this] {
        printWithDialog();
    })->setShortcut(QKeySequence::Print);
    addExport(
        tr("Export PDF"), tr("PDF documents"), "pdf",
        [this](const QString& path, QString* error) { return exportPdf(report_, path, error); });

    connect(pageNumber_, &QSpinBox::valueChanged, this, &ReportPreview::showPage);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &ReportPreview::renderPreview);
    connect(preview_, &QPrintPreviewWidget::previewChanged, this,
            &ReportPreview::updatePageControls);
    updatePageControls();
}

ReportPreview::~ReportPreview() {
    // The preview refers to its printer: it goes first.
    delete preview_;
}

void ReportPreview::setDialogs(Dialogs dialogs) {
    if (dialogs.saveFileName)
        dialogs_.saveFileName = std::move(dialogs.saveFileName);
    if (dialogs.setUpPrinter)
        dialogs_.setUpPrinter = std::move(dialogs.setUpPrinter);
    if (dialogs.showError)
        dialogs_.showError = std::move(dialogs.showError);
}

QAction* ReportPreview::addExport(const QString& text, const QString& fileType,
                                  const QString& suffix, ExportFunction write) {
    const QString name = "actionExport" + suffix.left(1).toUpper() + suffix.mid(1).toLower();
    return addToolAction(toolBar_, name, text, "document-save-as",
                         [this, text, fileType, suffix, write = std::move(write)] {
                             exportWithDialog(text, fileType, suffix, write);
                         });
}

bool ReportPreview::print(QPrinter& printer) {
    PageRange range;
    if (printer.printRange() == QPrinter::PageRange)
        range = {printer.fromPage(), printer.toPage()};
    else if (printer.printRange() == QPrinter::CurrentPage)
        range = {currentPage(), currentPage()};
    WaitCursor wait;
    return renderReport(report_, printer, range);
}

void ReportPreview::refresh() {
    previewPrinter_->setPageLayout(report_.pageLayout());
    preview_->updatePreview();
}

int ReportPreview::pageCount() const {
    return preview_->pageCount();
}

int ReportPreview::currentPage() const {
    return preview_->currentPage();
}

void ReportPreview::printWithDialog() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(report_.pageLayout());
    printer.setDocName(window()->windowTitle());
    if (!dialogs_.setUpPrinter(this, printer, pageCount()))
        return;
    if (!print(printer))
        dialogs_.showError(this, tr("Print"), tr("The report could not be printed."));
}

void ReportPreview::exportWithDialog(const QString& caption, const QString& fileType,
                                     const QString& suffix, const ExportFunction& write) {
    QString path = dialogs_.saveFileName(this, caption, fileType + " (*." + suffix + ")");
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += "." + suffix;
    QString error;
    bool written = false;
    {
        WaitCursor wait;
        written = write(path, &error);
    }
    if (!written)
        dialogs_.showError(
            this, caption,
            tr("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), error));
}

void ReportPreview::renderPreview(QPrinter* printer) {
    WaitCursor wait;
    renderReport(report_, *printer);
}

void ReportPreview::showPage(int page) {
    preview_->setCurrentPage(page);
    updatePageControls();
}

void ReportPreview::updatePageControls() {
    const int count = pageCount();
    const int current = currentPage();
    {
        const QSignalBlocker blocker(pageNumber_);
        pageNumber_->setRange(count > 0 ? 1 : 0, count);
        pageNumber_->setValue(current);
    }
    pageCountLabel_->setText(tr("of %1").arg(count));
    firstPage_->setEnabled(current > 1);
    previousPage_->setEnabled(current > 1);
    nextPage_->setEnabled(current < count);
    lastPage_->setEnabled(current < count);
}

ReportPreviewDialog::ReportPreviewDialog(PagedReport& report, const QString& caption,
                                         QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      preview_(new ReportPreview(report, this)) {
    setObjectName("ReportPreviewDialog");
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(preview_);
}

} // namespace reports
