#include "ui/FileListSortModel.h"

#include "ui/FileListModel.h"

namespace tw::ui {

FileListSortModel::FileListSortModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(FileListModel::SortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

bool FileListSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const auto* list = qobject_cast<const FileListModel*>(sourceModel());
    const bool leftFile = list != nullptr && list->isFileRow(left.row());
    const bool rightFile = list != nullptr && list->isFileRow(right.row());
    if (!leftFile || !rightFile) {
        // A descending sort asks the opposite question, so the answer turns with it.
        const bool descending = sortOrder() == Qt::DescendingOrder;
        if (leftFile != rightFile) {
            return leftFile != descending;
        }
        return (left.row() < right.row()) != descending;
    }
    const QVariant leftValue = left.data(sortRole());
    const QVariant rightValue = right.data(sortRole());
    if (leftValue.typeId() == QMetaType::QString && rightValue.typeId() == QMetaType::QString) {
        return natural_.less(leftValue.toString(), rightValue.toString());
    }
    return QSortFilterProxyModel::lessThan(left, right);
}

}  // namespace tw::ui
