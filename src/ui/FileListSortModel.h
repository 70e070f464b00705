#pragma once

#include <QSortFilterProxyModel>

#include "ui/NaturalOrder.h"

namespace tw::ui {

/// The order the user gave the file list by clicking a column's header: the file rows by that
/// column's value (`FileListModel::SortRole`), ties in the project's order, and the summary
/// rows below them in their own order, whichever way the files go. Texts (names, folders,
/// types) go in natural order, numbers by value. The project and the
/// `FileListModel` keep their order; only the view's changes.
class FileListSortModel : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit FileListSortModel(QObject* parent = nullptr);

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    NaturalOrder natural_;
};

}  // namespace tw::ui
