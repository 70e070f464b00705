#include "project/ProjectFolder.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace tw {

std::vector<std::u16string_view> folderNamesOf(std::u16string_view path,
                                               std::u16string_view& fileName) {
    std::vector<std::u16string_view> names;
    if (!path.empty() && path.front() == u'/') {
        names.push_back(path.substr(0, 1));
        path.remove_prefix(1);
    }
    for (std::size_t separator = path.find(u'/'); separator != std::u16string_view::npos;
         separator = path.find(u'/')) {
        if (separator > 0) {
            names.push_back(path.substr(0, separator));
        }
        path.remove_prefix(separator + 1);
    }
    fileName = path;
    return names;
}

std::u16string folderPathOf(std::u16string_view recordPath) {
    const std::size_t separator = recordPath.rfind(u'/');
    if (separator == std::u16string_view::npos) {
        return {};
    }
    return std::u16string(recordPath.substr(0, separator == 0 ? 1 : separator));
}

void appendPathComponent(std::u16string& path, std::u16string_view component) {
    if (!path.empty() && path.back() != u'/') {
        path.push_back(u'/');
    }
    path.append(component);
}

std::u16string recordPathOf(std::u16string_view path) {
    std::u16string_view fileName;
    const std::vector<std::u16string_view> folders = folderNamesOf(path, fileName);
    if (fileName.empty() || folders.size() > ProjectFolder::kMaxDepth) {
        return {};
    }
    std::u16string recordPath;
    for (const std::u16string_view folder : folders) {
        appendPathComponent(recordPath, folder);
    }
    appendPathComponent(recordPath, fileName);
    return recordPath;
}

ProjectFolder::ProjectFolder(std::u16string_view name, ProjectFolder* parent)
    : parent_(parent), name_(name) {}

std::size_t ProjectFolder::depthBelowRoot() const {
    std::size_t depth = 0;
    for (const ProjectFolder* folder = parent_; folder != nullptr; folder = folder->parent_) {
        ++depth;
    }
    return depth;
}

FileCount* ProjectFolder::AddFilePath(std::u16string_view path) {
    return AddFilePath(path, diskPathOfPath(path));
}

FileCount* ProjectFolder::AddFilePath(std::u16string_view path, std::string diskPath,
                                      FileCount::Measure measure, FolderBudget* folderBudget) {
    std::u16string_view fileName;
    const std::vector<std::u16string_view> names = folderNamesOf(path, fileName);
    // An empty path, or one ending in '/', names no file: no folder is made for it either, so
    // a refused path leaves the tree as it was.
    if (fileName.empty() || depthBelowRoot() + names.size() > kMaxDepth) {
        return nullptr;
    }
    ProjectFolder* folder = folderAlong(names, folderBudget);
    if (folder == nullptr) {
        return nullptr;
    }
    std::u16string full = folder->FullPath();
    appendPathComponent(full, fileName);
    auto record = std::make_unique<FileCount>(full, std::move(diskPath), measure);
    FileCount* added = record.get();
    return folder->AddFile(std::move(record)) ? added : nullptr;
}

ProjectFolder* ProjectFolder::folderAlong(const std::vector<std::u16string_view>& names,
                                          FolderBudget* budget) {
    ProjectFolder* folder = this;
    for (const std::u16string_view name : names) {
        const std::u16string key(name);
        const auto existing = folder->subfolderByName_.find(key);
        if (existing != folder->subfolderByName_.end()) {
            folder = existing->second;
            continue;
        }
        if (budget != nullptr) {
            if (budget->left == 0) {
                budget->exceeded = true;
                return nullptr;
            }
            --budget->left;
        }
        auto created = std::make_unique<ProjectFolder>(name, folder);
        ProjectFolder* next = created.get();
        folder->subfolders_.push_back(std::move(created));
        folder->subfolderByName_.emplace(key, next);
        folder = next;
    }
    return folder;
}

namespace {

/// Calls `visit` with each byte of a disk path, a run of separators taken as one.
template <typename Visit>
void forEachDiskPathByte(const std::string& diskPath, Visit&& visit) {
    char previous = '\0';
    for (const char c : diskPath) {
        if (c != '/' || previous != '/') {
            visit(c);
        }
        previous = c;
    }
}

}  // namespace

std::size_t ProjectFolder::RecordIdentity::operator()(const FileCount* record) const {
    // FNV-1a over the disk path as the file system reads it, then the path's hash.
    std::size_t hash = 14695981039346656037ull;
    forEachDiskPathByte(record->diskPath, [&hash](char c) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    });
    return hash ^ (std::hash<std::u16string>()(record->path) * 31);
}

bool ProjectFolder::RecordIdentity::operator()(const FileCount* left,
                                               const FileCount* right) const {
    if (left->path != right->path) {
        return false;
    }
    if (left->diskPath == right->diskPath) {
        return true;
    }
    std::string leftDisk;
    std::string rightDisk;
    forEachDiskPathByte(left->diskPath, [&leftDisk](char c) { leftDisk.push_back(c); });
    forEachDiskPathByte(right->diskPath, [&rightDisk](char c) { rightDisk.push_back(c); });
    return leftDisk == rightDisk;
}

bool ProjectFolder::AddFile(std::unique_ptr<FileCount> record) {
    if (!record || !records_.insert(record.get()).second) {
        return false;
    }
    files_.push_back(std::move(record));
    return true;
}

std::u16string ProjectFolder::FullPath() const {
    std::vector<const std::u16string*> names;
    for (const ProjectFolder* folder = this; folder != nullptr; folder = folder->parent_) {
        if (!folder->name_.empty()) {
            names.push_back(&folder->name_);
        }
    }
    std::u16string result;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        appendPathComponent(result, **name);
    }
    return result;
}

const ProjectFolder* ProjectFolder::findFolderFrom(std::u16string_view fullPath,
                                                   std::u16string_view ownPath) const {
    if (ownPath == fullPath) {
        return this;
    }
    std::u16string childPath(ownPath);
    const std::size_t childPrefix = childPath.size();
    for (const auto& subfolder : subfolders_) {
        childPath.resize(childPrefix);
        appendPathComponent(childPath, subfolder->name_);
        // Every path below a folder begins with the folder's own path.
        if (fullPath.substr(0, childPath.size()) != childPath) {
            continue;
        }
        if (const ProjectFolder* found = subfolder->findFolderFrom(fullPath, childPath)) {
            return found;
        }
    }
    return nullptr;
}

const ProjectFolder* ProjectFolder::FindFolder(std::u16string_view fullPath) const {
    return findFolderFrom(fullPath, FullPath());
}

ProjectFolder* ProjectFolder::FindFolder(std::u16string_view fullPath) {
    return const_cast<ProjectFolder*>(std::as_const(*this).FindFolder(fullPath));
}

ProjectFolder::FoundFile ProjectFolder::FindFile(std::u16string_view path) const {
    for (const auto& file : files_) {
        if (file->path == path) {
            return {file.get(), const_cast<ProjectFolder*>(this)};
        }
    }
    for (const auto& subfolder : subfolders_) {
        if (const FoundFile found = subfolder->FindFile(path); found.record != nullptr) {
            return found;
        }
    }
    return {};
}

void ProjectFolder::SetExpanded(bool expanded) {
    expanded_ = expanded;
    if (expanded) {
        for (ProjectFolder* folder = parent_; folder != nullptr; folder = folder->parent_) {
            folder->expanded_ = true;
        }
    }
}

namespace {

/// The records of `folder` whose `flag` is `value`; those of every folder below it too when
/// `recursive`.
std::uint32_t recordsWhere(const ProjectFolder& folder, bool FileCount::*flag, bool value,
                           bool recursive) {
    std::uint32_t found = 0;
    for (const auto& file : folder.files()) {
        found += (*file).*flag == value ? 1 : 0;
    }
    if (recursive) {
        for (const auto& subfolder : folder.subfolders()) {
            found += recordsWhere(*subfolder, flag, value, true);
        }
    }
    return found;
}

}  // namespace

std::uint32_t ProjectFolder::TotalRecords() const {
    auto total = static_cast<std::uint32_t>(files_.size());
    for (const auto& subfolder : subfolders_) {
        total += subfolder->TotalRecords();
    }
    return total;
}

std::uint32_t ProjectFolder::CountedRecords(bool recursive) const {
    return recordsWhere(*this, &FileCount::counted, true, recursive);
}

std::uint32_t ProjectFolder::UncountedRecords() const {
    return recordsWhere(*this, &FileCount::counted, false, true);
}

std::uint32_t ProjectFolder::FailedRecords(bool recursive) const {
    return recordsWhere(*this, &FileCount::failed, true, recursive);
}

bool ProjectFolder::HasCounted() const {
    for (const auto& file : files_) {
        if (file->counted) {
            return true;
        }
    }
    return std::any_of(subfolders_.begin(), subfolders_.end(),
                       [](const auto& subfolder) { return subfolder->HasCounted(); });
}

bool ProjectFolder::HasUncounted() const {
    for (const auto& file : files_) {
        if (!file->counted) {
            return true;
        }
    }
    return std::any_of(subfolders_.begin(), subfolders_.end(),
                       [](const auto& subfolder) { return subfolder->HasUncounted(); });
}

std::uint32_t ProjectFolder::Sum(std::uint32_t FileCount::*counter, bool recursive) const {
    std::uint32_t sum = 0;
    for (const auto& file : files_) {
        if (file->counted) {
            sum += (*file).*counter;
        }
    }
    if (recursive) {
        for (const auto& subfolder : subfolders_) {
            sum += subfolder->Sum(counter, true);
        }
    }
    return sum;
}

CountValues ProjectFolder::Sums(bool recursive) const {
    CountValues sums;
    for (const auto& file : files_) {
        if (file->counted) {
            sums += CountValues::of(*file);
        }
    }
    if (recursive) {
        for (const auto& subfolder : subfolders_) {
            sums += subfolder->Sums(true);
        }
    }
    return sums;
}

void ProjectFolder::CollectRecords(std::vector<FileCount*>& records) {
    for (const auto& file : files_) {
        records.push_back(file.get());
    }
    for (const auto& subfolder : subfolders_) {
        subfolder->CollectRecords(records);
    }
}

void ProjectFolder::CollectRecords(std::vector<const FileCount*>& records) const {
    for (const auto& file : files_) {
        records.push_back(file.get());
    }
    for (const auto& subfolder : subfolders_) {
        std::as_const(*subfolder).CollectRecords(records);
    }
}

std::size_t ProjectFolder::WidestTreeLabel(std::size_t startWidth, std::size_t depth,
                                           std::size_t indentation, std::size_t maxIndent) const {
    const std::size_t indent = std::min(depth * indentation, maxIndent);
    std::size_t widest = startWidth;
    for (const auto& file : files_) {
        widest = std::max(widest, file->fileName().size() + indent);
    }
    for (const auto& subfolder : subfolders_) {
        widest = std::max(widest, subfolder->name_.size() + indent);
        widest = subfolder->WidestTreeLabel(widest, depth + 1, indentation, maxIndent);
    }
    return widest;
}

std::size_t ProjectFolder::LongestPath(bool fullPath) const {
    std::size_t longest = 0;
    for (const auto& file : files_) {
        longest = std::max(longest, fullPath ? file->path.size() : file->fileName().size());
    }
    for (const auto& subfolder : subfolders_) {
        longest = std::max(longest, subfolder->LongestPath(fullPath));
    }
    return longest;
}

void ProjectFolder::ResetAllCounts() {
    for (const auto& file : files_) {
        file->reset();
    }
    for (const auto& subfolder : subfolders_) {
        subfolder->ResetAllCounts();
    }
}

void ProjectFolder::DeleteAllRecords() {
    files_.clear();
    records_.clear();
}

void ProjectFolder::DeleteAllSubfolders() {
    subfolders_.clear();
    subfolderByName_.clear();
}

bool ProjectFolder::RemoveRecordByFileName(std::u16string_view fileName) {
    const auto found = std::find_if(files_.begin(), files_.end(), [fileName](const auto& file) {
        return file->fileName() == fileName;
    });
    if (found == files_.end()) {
        return false;
    }
    records_.erase(found->get());
    files_.erase(found);
    return true;
}

bool ProjectFolder::RemoveSubfolderByName(std::u16string_view name) {
    const auto found =
        std::find_if(subfolders_.begin(), subfolders_.end(),
                     [name](const auto& subfolder) { return subfolder->name_ == name; });
    if (found == subfolders_.end()) {
        return false;
    }
    removeSubfolder(found);
    return true;
}

void ProjectFolder::removeSubfolder(FolderList::iterator subfolder) {
    subfolderByName_.erase((*subfolder)->name_);
    subfolders_.erase(subfolder);
}

bool ProjectFolder::IsEmpty() const {
    return files_.empty() && subfolders_.empty();
}

bool ProjectFolder::holdsBelow(const ProjectFolder& folder) const {
    for (const ProjectFolder* above = folder.parent_; above != nullptr; above = above->parent_) {
        if (above == this) {
            return true;
        }
    }
    return false;
}

ProjectFolder& ProjectFolder::RemovalTop(ProjectFolder& folder) {
    if (!holdsBelow(folder)) {
        return folder;
    }
    ProjectFolder* top = &folder;
    while (top->parent_ != this && top->parent_->files_.empty() &&
           top->parent_->subfolders_.size() == 1) {
        top = top->parent_;
    }
    return *top;
}

ProjectFolder& ProjectFolder::RemoveFolderAndEmptyParents(ProjectFolder& folder) {
    if (!holdsBelow(folder)) {
        return folder;
    }
    ProjectFolder& top = RemovalTop(folder);
    ProjectFolder& kept = *top.parent_;
    kept.removeSubfolder(
        std::find_if(kept.subfolders_.begin(), kept.subfolders_.end(),
                     [&top](const auto& subfolder) { return subfolder.get() == &top; }));
    return kept;
}

void ProjectFolder::TakeContentsOf(ProjectFolder& other) {
    DeleteAllRecords();
    DeleteAllSubfolders();
    files_.swap(other.files_);
    records_.swap(other.records_);
    subfolders_.swap(other.subfolders_);
    subfolderByName_.swap(other.subfolderByName_);
    for (const auto& subfolder : subfolders_) {
        subfolder->parent_ = this;
    }
}

}  // namespace tw
