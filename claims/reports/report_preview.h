// The on-screen viewer of a report: a print preview filling the widget under
// a toolbar to page through (first, previous, page N of M, next, last), zoom
// (in, out, fit width, fit page), print through the system's print dialog and
// export to PDF or to further formats that the owner adds. The preview,
// printing and PDF share the one page renderer. Every dialog it opens goes
// through `Dialogs`, which tests replace so that nothing waits for a user.
//
// The report is laid out once, from its row count, and a page is painted only
// when it comes into view; the few pages last painted are kept. Printing and
// exports go page by page (or a stretch of rows at a time) under a progress
// dialog that appears once the work has taken half a second and offers Cancel;
// the window keeps answering meanwhile. A cancelled export leaves no file.
#pragma once

#include "reports/progress.h"

#include <QDialog>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QPrinter;
class QSpinBox;
class QToolBar;

namespace reports {

class PagedReport;

class ReportPreview : public QWidget {
    Q_OBJECT
public:
    struct Dialogs {
        // The path to write to, or an empty string when the user cancels.
        std::function<QString(QWidget* parent, const QString& caption, const QString& filter)>
            saveFileName;
        // Lets the user choose printer, page range and paper; false when cancelled.
        std::function<bool(QWidget* parent, QPrinter& printer, int pageCount)> setUpPrinter;
        std::function<void(QWidget* parent, const QString& title, const QString& message)>
            showError;
    };
    static Dialogs systemDialogs();

    // Writes the report to `path`; on failure returns false and says why in `error`.
    using ExportFunction = std::function<bool(const QString& path, QString* error)>;
    // The same, telling `progress` how far it got; stopped by it, returns false with no error.
    using StreamedExport =
        std::function<bool(const QString& path, QString* error, const Progress& progress)>;

    // The report must outlive the preview.
    explicit ReportPreview(PagedReport& report, QWidget* parent = nullptr);
    ~ReportPreview() override;

    // Members left empty keep the system's dialog.
    void setDialogs(Dialogs dialogs);

    // A toolbar action (named "actionExport" + the suffix, capitalised) that
    // asks for a file name, gives it the extension `suffix` when typed without
    // one, and writes the export there. "Export PDF" is always present.
    QAction* addExport(const QString& text, const QString& fileType, const QString& suffix,
                       ExportFunction write);
    // The same for a long export, run under the progress dialog.
    QAction* addExport(const QString& text, const QString& fileType, const QString& suffix,
                       StreamedExport write);

    // Renders onto a printer that is already set up, honouring its page range, under the
    // progress dialog; false when it failed or was cancelled.
    bool print(QPrinter& printer);
    // Lays the report out and renders it again, after its data changed.
    void refresh();

    int pageCount() const;
    int currentPage() const;

    class PageView;

private:
    void printWithDialog();
    void exportWithDialog(const QString& caption, const QString& fileType, const QString& suffix,
                          const StreamedExport& write);
    // Runs `work` under the progress dialog, the preview's pages frozen meanwhile (the work lays
    // the report out for its own device); false when it failed or was cancelled.
    bool withProgress(const QString& caption, const std::function<bool(const Progress&)>& work,
                      bool* cancelled = nullptr);
    void showPage(int page);
    void updatePageControls();

    PagedReport& report_;
    Dialogs dialogs_;
    QToolBar* toolBar_ = nullptr;
    PageView* preview_ = nullptr;
    QSpinBox* pageNumber_ = nullptr;
    QLabel* pageCountLabel_ = nullptr;
    QAction* firstPage_ = nullptr;
    QAction* previousPage_ = nullptr;
    QAction* nextPage_ = nullptr;
    QAction* lastPage_ = nullptr;
};

// A resizable window holding only a ReportPreview, which fills it.
class ReportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    ReportPreviewDialog(PagedReport& report, const QString& caption, QWidget* parent = nullptr);
    ReportPreview* preview() const { return preview_; }

private:
    ReportPreview* preview_;
};

} // namespace reports
