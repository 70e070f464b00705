#pragma once

#include <QDockWidget>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QTableView;

namespace tw::ui {

class CTallyweaverDoc;
class FunctionListModel;
class ViewHost;

/// The Functions pane: the functions of the files selected in the file list (of every file of
/// the project when none is selected) with their file, line, length and cyclomatic complexity,
/// the most complex first; any column's header sorts by it. A double-click opens the
/// function's file in the text editor. Functions are found in the Cyclomatic Complexity mode
/// only; in the others, and before a count, the pane says why it is empty.
class CFunctionsPane : public QDockWidget {
    Q_OBJECT
  public:
    /// `selectedFiles` gives the project paths of the files selected in the file list, in the
    /// project's order.
    using SelectedFiles = std::function<std::vector<std::u16string>()>;

    CFunctionsPane(ViewHost& host, CTallyweaverDoc& document, SelectedFiles selectedFiles,
                   QWidget* parent = nullptr);

    /// Lists the functions again once the event loop runs, and only while the pane is shown;
    /// many calls in a row list them once.
    void scheduleRefresh();
    /// Lists the functions of the files now.
    void refresh();

    const FunctionListModel& functions() const { return *model_; }
    QTableView& table() const { return *table_; }
    /// What the list shows, or why it is empty.
    QString caption() const;

  private:
    void openInEditor(const QModelIndex& index);

    ViewHost& host_;
    CTallyweaverDoc& document_;
    SelectedFiles selectedFiles_;
    FunctionListModel* model_;
    QTableView* table_;
    QLabel* caption_;
    bool refreshQueued_ = false;
};

}  // namespace tw::ui
