// Report viewer: toolbar over a view that paints pages as they come into sight, printing and
// exports under a progress dialog.
#include "reports/report_preview.h"

#include "reports/page_renderer.h"
#include "reports/paged_report.h"
#include "reports/report_canvas.h"
#include "reports/wait_cursor.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <deque>
#include <exception>

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

// Pages of paper one under the other on a dark ground, at a zoom that fits the width, the whole
// page or a chosen scale. The report is laid out once; a page is painted into an image of the
// screen's resolution when it first comes into view, and only the last few images are kept, so
// the view holds a few pages whatever the length of the report.
class ReportPreview::PageView : public QAbstractScrollArea {
public:
    enum class Fit { Width, Page, None };

    PageView(PagedReport& report, QWidget* parent) : QAbstractScrollArea(parent), report_(report) {
        viewport()->setBackgroundRole(QPalette::Dark);
        viewport()->setAutoFillBackground(true);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
            if (!scrolling_)
                followScroll();
        });
    }

    // Told when the current page changes.
    std::function<void()> pageChanged;

    // Lays the report out afresh, after its data changed, and shows its first page.
    void refresh() {
        layOut();
        images_.clear();
        current_ = 1;
        rescale();
    }
    // While frozen, only the pages already painted show: a print or export is laying the report
    // out for its own paper. Thawed, the view lays it out for the screen again before painting.
    void setFrozen(bool frozen) {
        frozen_ = frozen;
        if (!frozen)
            laidOut_ = false;
        viewport()->update();
    }
    int pageCount() const { return pageCount_; }
    int currentPage() const { return pageCount_ > 0 ? current_ : 0; }
    void setCurrentPage(int page) {
        if (pageCount_ == 0)
            return;
        current_ = std::clamp(page, 1, pageCount_);
        scrollToCurrent();
        if (pageChanged)
            pageChanged();
    }
    void zoomBy(double factor) {
        zoom_ = std::clamp(scale() * factor, 0.1, 8.0);
        fit_ = Fit::None;
        rescale();
    }
    void fit(Fit fit) {
        fit_ = fit;
        rescale();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QAbstractScrollArea::resizeEvent(event);
        rescale();
    }

    void paintEvent(QPaintEvent*) override {
        if (pageCount_ == 0)
            return;
        QPainter painter(viewport());
        const QSize size = pageSize();
        const int step = size.height() + gap;
        const int top = verticalScrollBar()->value();
        const int left = size.width() + 2 * gap <= viewport()->width()
                             ? (viewport()->width() - size.width()) / 2
                             : gap - horizontalScrollBar()->value();
        const int first = std::max(0, (top - gap) / step);
        const int last = std::min(pageCount_ - 1, (top + viewport()->height()) / step);
        for (int index = first; index <= last; ++index) {
            const QRect target(QPoint(left, gap + index * step - top), size);
            if (const QImage* image = pageImage(index))
                painter.drawImage(target, *image);
            else
                painter.fillRect(target, Qt::white);
        }
    }

private:
    static constexpr int gap = 10;          // pixels around and between pages
    static constexpr size_t keptImages = 4; // a screen shows two or three pages at most

    void layOut() {
        layout_ = report_.pageLayout();
        const PageGeometry geometry = pageGeometry(report_, layout_);
        shrink_ = geometry.shrink;
        pageCount_ = report_.paginate(geometry.pageTwips);
        laidOut_ = true;
    }

    // Screen pixels per point of paper.
    double scale() const {
        const QSizeF paper = layout_.fullRect(QPageLayout::Point).size();
        const double width = (viewport()->width() - 2 * gap) / std::max(paper.width(), 1.0);
        const double height = (viewport()->height() - 2 * gap) / std::max(paper.height(), 1.0);
        const double fitted = fit_ == Fit::Width  ? width
                              : fit_ == Fit::Page ? std::min(width, height)
                                                  : zoom_;
        return std::max(fitted, 0.05);
    }
    // Dots per inch of a page's image, in device pixels: whole, since images measure in whole dots.
    int dotsPerInch() const { return std::max(1, qRound(scale() * 72 * devicePixelRatioF())); }
    QSize imageSize() const {
        const QSizeF inches = layout_.fullRect(QPageLayout::Inch).size();
        return {qRound(inches.width() * dotsPerInch()), qRound(inches.height() * dotsPerInch())};
    }
    QSize pageSize() const { return (QSizeF(imageSize()) / devicePixelRatioF()).toSize(); }

    // The page painted, or null while frozen before it was.
    const QImage* pageImage(int index) {
        for (const auto& [page, image] : images_) {
            if (page == index)
                return &image;
        }
        if (frozen_)
            return nullptr;
        if (!laidOut_)
            layOut();
        QImage image(imageSize(), QImage::Format_RGB32);
        const int dpi = dotsPerInch();
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::TextAntialiasing);
            const QPointF margin = layout_.paintRect(QPageLayout::Inch).topLeft() * dpi;
            painter.translate(margin);
            ReportCanvas canvas(painter, shrink_);
            try {
                report_.paintPage(canvas, index);
            } catch (const std::exception& e) {
                // A page whose rows cannot be read says so; the others still show.
                painter.resetTransform();
                painter.drawText(image.rect().adjusted(dpi / 2, dpi / 2, 0, 0),
                                 tr("This page could not be read: %1").arg(e.what()));
            }
        }
        image.setDevicePixelRatio(devicePixelRatioF());
        if (images_.size() >= keptImages)
            images_.pop_front();
        images_.emplace_back(index, std::move(image));
        return &images_.back().second;
    }

    void rescale() {
        images_.clear();
        const QSize size = pageSize();
        const int height = gap + pageCount_ * (size.height() + gap);
        verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
        verticalScrollBar()->setPageStep(viewport()->height());
        verticalScrollBar()->setSingleStep(std::max(1, size.height() / 20));
        horizontalScrollBar()->setRange(0,
                                        std::max(0, size.width() + 2 * gap - viewport()->width()));
        horizontalScrollBar()->setPageStep(viewport()->width());
        scrollToCurrent();
        viewport()->update();
    }

    void scrollToCurrent() {
        scrolling_ = true;
        verticalScrollBar()->setValue((current_ - 1) * (pageSize().height() + gap));
        scrolling_ = false;
        viewport()->update();
    }

    // The page filling the top half of the view is the current one.
    void followScroll() {
        const int step = pageSize().height() + gap;
        const int page =
            std::clamp((verticalScrollBar()->value() + step / 2) / step + 1, 1, pageCount_);
        if (page != current_) {
            current_ = page;
            if (pageChanged)
                pageChanged();
        }
    }

    PagedReport& report_;
    QPageLayout layout_;
    double shrink_ = 1.0;
    int pageCount_ = 0;
    int current_ = 1;
    Fit fit_ = Fit::Width;
    double zoom_ = 1.0;
    bool laidOut_ = false;
    bool frozen_ = false;
    bool scrolling_ = false;
    std::deque<std::pair<int, QImage>> images_;
};

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
    : QWidget(parent), report_(report), dialogs_(systemDialogs()) {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName("previewToolBar");
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    preview_ = new PageView(report_, this);
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
        preview_->zoomBy(1.25);
    })->setShortcut(QKeySequence::ZoomIn);
    addToolAction(toolBar_, "actionZoomOut", tr("Zoom out"), "zoom-out", [this] {
        preview_->zoomBy(0.8);
    })->setShortcut(QKeySequence::ZoomOut);
    addToolAction(toolBar_, "actionFitWidth", tr("Fit width"), "zoom-fit-width",
                  [this] { preview_->fit(PageView::Fit::Width); });
    addToolAction(toolBar_, "actionFitPage", tr("Fit page"), "zoom-fit-best",
                  [this] { preview_->fit(PageView::Fit::Page); });
    toolBar_->addSeparator();
    addToolAction(toolBar_, "actionPrint", tr("Print"), "document-print", [this] {
        printWithDialog();
    })->setShortcut(QKeySequence::Print);
    addExport(tr("Export PDF"), tr("PDF documents"), "pdf",
              [this](const QString& path, QString* error, const Progress& progress) {
                  return exportPdf(report_, path, error, progress);
              });

    connect(pageNumber_, &QSpinBox::valueChanged, this, &ReportPreview::showPage);
    preview_->pageChanged = [this] { updatePageControls(); };
    refresh();
}

ReportPreview::~ReportPreview() = default;

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
    return addExport(text, fileType, suffix,
                     [write = std::move(write)](const QString& path, QString* error,
                                                const Progress&) { return write(path, error); });
}

QAction* ReportPreview::addExport(const QString& text, const QString& fileType,
                                  const QString& suffix, StreamedExport write) {
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
    return withProgress(tr("Print"), [&](const Progress& progress) {
        return renderReport(report_, printer, range, progress);
    });
}

void ReportPreview::refresh() {
    WaitCursor wait;
    preview_->refresh();
    updatePageControls();
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
    QString reason;
    bool cancelled = false;
    try {
        if (print(printer))
            return;
        cancelled = printer.printerState() == QPrinter::Aborted;
    } catch (const std::exception& e) {
        reason = QString::fromUtf8(e.what());
    }
    if (!cancelled)
        dialogs_.showError(this, tr("Print"),
                           reason.isEmpty()
                               ? tr("The report could not be printed.")
                               : tr("The report could not be printed: %1").arg(reason));
}

void ReportPreview::exportWithDialog(const QString& caption, const QString& fileType,
                                     const QString& suffix, const StreamedExport& write) {
    QString path = dialogs_.saveFileName(this, caption, fileType + " (*." + suffix + ")");
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += "." + suffix;
    QString error;
    bool cancelled = false;
    bool written = false;
    try {
        written = withProgress(
            caption, [&](const Progress& progress) { return write(path, &error, progress); },
            &cancelled);
    } catch (const std::exception& e) {
        // Rows that cannot be read: the export has left no file, as for any other failure.
        error = QString::fromUtf8(e.what());
    }
    if (!written && !cancelled)
        dialogs_.showError(
            this, caption,
            tr("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), error));
}

bool ReportPreview::withProgress(const QString& caption,
                                 const std::function<bool(const Progress&)>& work,
                                 bool* cancelled) {
    QProgressDialog dialog(caption, tr("Cancel"), 0, 0, this);
    dialog.setObjectName("progress");
    dialog.setWindowTitle(caption);
    // Events are handled between pages: nothing else may start meanwhile.
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(500);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    dialog.setValue(0); // the half second starts now
    WaitCursor wait;
    preview_->setFrozen(true);
    const auto thaw = qScopeGuard([this] { preview_->setFrozen(false); });
    // The dialog is brought up to date, and the window's events handled, a few times a second:
    // after every page it would cost as much as the pages.
    QElapsedTimer sinceUpdate;
    sinceUpdate.start();
    const bool done = work([&](qint64 finished, qint64 total) {
        if (sinceUpdate.elapsed() >= 50 || finished == total) {
            sinceUpdate.restart();
            dialog.setMaximum(int(std::min<qint64>(total, INT_MAX)));
            dialog.setLabelText(tr("%1: %2 of %3").arg(caption).arg(finished).arg(total));
            dialog.setValue(int(std::min<qint64>(finished, INT_MAX)));
        }
        return !dialog.wasCanceled();
    });
    if (cancelled)
        *cancelled = dialog.wasCanceled();
    return done;
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
