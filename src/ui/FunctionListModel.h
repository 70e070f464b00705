#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tw {
class FileCount;
}

namespace tw::ui {

/// The rows of the Functions pane: one per function of the files given, copied out of their
/// records so that the model never reads a record afterwards. Rows stand in the files' order,
/// then in each file's order; a view sorts them by `SortRole`.
class FunctionListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column : int { ColumnName = 0, ColumnFile, ColumnLine, ColumnLines, ColumnComplexity };
    static constexpr int kColumnCount = 5;
    /// Numbers for the number columns, the shown text for the others.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit FunctionListModel(QObject* parent = nullptr);

    /// Lists the functions of `records`, in their order.
    void rebuild(std::span<const FileCount* const> records);
    void clear();

    /// The project path of the file of `row`; empty outside the rows.
    std::u16string filePath(int row) const;
    /// The line where the function of `row` is named; 0 outside the rows.
    int line(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    struct Row {
        QString name;
        /// Index into `files_`.
        std::size_t file = 0;
        std::uint32_t line = 0;
        std::uint32_t lines = 0;
        std::uint32_t complexity = 0;
    };
    struct File {
        std::u16string path;
        QString name;
        QString shownPath;
    };

    std::vector<File> files_;
    std::vector<Row> rows_;
};

}  // namespace tw::ui
