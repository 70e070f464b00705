#include "ui/CTallyweaverDoc.h"

#include <QFile>
#include <QFileInfo>

#include <set>
#include <utility>

#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "engine/TextConversion.h"
#include "project/DiskPaths.h"
#include "project/ProjectFile.h"
#include "ui/FileChooser.h"
#include "ui/RecentProjects.h"
#include "ui/common/MessageBox.h"
#include "ui/common/PathProblem.h"

namespace tw::ui {
namespace {

QString qstring(const std::u16string& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

QString diskPathText(const std::string& diskPath) {
    return QFile::decodeName(QByteArray::fromStdString(diskPath));
}

/// A project file that could not be read or written: the message, then the file and the
/// system's reason beneath it.
void showFailure(QWidget* window, const std::u16string& message, const QString& path,
                 const std::string& reason) {
    MessageBox::show(window,
                     withPathAndReason(qstring(message), path, QString::fromLocal8Bit(reason)),
                     QString(), QMessageBox::Ok, QMessageBox::Warning);
}

}  // namespace

CTallyweaverDoc::CTallyweaverDoc(RecentProjects* recentProjects, QObject* parent)
    : CTallyweaverDoc(countSettings(), failedCountTable(), recentProjects, parent) {}

CTallyweaverDoc::CTallyweaverDoc(CountSettings& settings, FailedCountTable& failures,
                                 RecentProjects* recentProjects, QObject* parent)
    : QObject(parent), settings_(settings), failures_(failures), recentProjects_(recentProjects) {}

CTallyweaverDoc::~CTallyweaverDoc() = default;

void CTallyweaverDoc::setModifiedFlag(bool modified) {
    if (modified_ != modified) {
        modified_ = modified;
        emit stateChanged();
    }
}

QString CTallyweaverDoc::title() const {
    return pathName_.isEmpty() ? QStringLiteral("Untitled")
                               : printableInMessage(QFileInfo(pathName_).fileName());
}

QString CTallyweaverDoc::projectFolder() const {
    QString file = pathName_;
    if (file.isEmpty() && recentProjects_ != nullptr) {
        file = recentProjects_->entries().value(0);
    }
    return file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
}

void CTallyweaverDoc::setPathName(const QString& path) {
    pathName_ = path;
    if (recentProjects_ != nullptr && !path.isEmpty()) {
        recentProjects_->add(path);
    }
    emit stateChanged();
}

void CTallyweaverDoc::showFolder(ProjectFolder* folder, QObject* origin) {
    emit folderChanged(folder, origin);
}

void CTallyweaverDoc::deleteContents() {
    emit treeAboutToBeReplaced();
    failures_.clear();
    root_.DeleteAllRecords();
    root_.DeleteAllSubfolders();
    showFolder(&root_);
}

void CTallyweaverDoc::becomeNewProject() {
    deleteContents();
    countedFilesAtSave_ = 0;
    pathName_.clear();
    modified_ = false;
    emit stateChanged();
}

bool CTallyweaverDoc::newProject(QWidget* window) {
    if (!saveModified(window)) {
        return false;
    }
    becomeNewProject();
    return true;
}

CTallyweaverDoc::OpenOutcome CTallyweaverDoc::openProject(const QString& path, QWidget* window) {
    if (!saveModified(window)) {
        return OpenOutcome::Cancelled;
    }
    // Loaded beside the project in the window, which stays as it is until the file has been
    // read.
    ProjectFolder loaded;
    const ProjectLoadResult result =
        ProjectFile::open(QFile::encodeName(path).toStdString(), loaded, settings_);
    if (result.status == ProjectLoadStatus::Loaded ||
        result.status == ProjectLoadStatus::EmptyFile) {
        emit treeAboutToBeReplaced();
        root_.TakeContentsOf(loaded);
        // The failures are those of the loaded project, saved on its records, so that the
        // Errors dialog lists them as the list shows them.
        failures_.clear();
        std::vector<const FileCount*> records;
        std::as_const(root_).CollectRecords(records);
        for (const FileCount* record : records) {
            if (record->failed) {
                failures_.insert_or_assign(record->path, record->remarks);
            }
        }
    }
    switch (result.status) {
        case ProjectLoadStatus::Unreadable:
            // The project in the window stays as it was.
            showFailure(window, result.message, path, result.systemReason);
            return OpenOutcome::Failed;
        case ProjectLoadStatus::Damaged:
            // What was read is gone; the program goes on with an empty, untitled project.
            showFailure(window, result.message, path, result.systemReason);
            becomeNewProject();
            return OpenOutcome::Failed;
        case ProjectLoadStatus::EmptyFile:
            modified_ = false;
            setPathName(path);
            showFolder(&root_);
            return OpenOutcome::Opened;
        case ProjectLoadStatus::Loaded:
            break;
    }
    countedFilesAtSave_ = static_cast<int>(root_.CountedRecords(true));
    modified_ = false;
    setPathName(path);
    emit recreateViewRequested();
    showFolder(&root_);
    return OpenOutcome::Opened;
}

// ---- Edits ---------------------------------------------------------------------------------

ProjectFolder* CTallyweaverDoc::rememberedFolder() {
    if (rememberedFolderPath_.isEmpty()) {
        return &root_;
    }
    return root_.FindFolder(rememberedFolderPath_.toStdU16String());
}

FileCount* CTallyweaverDoc::addFile(const std::u16string& path, const std::string& diskPath) {
    FileCount* record = root_.AddFilePath(path, diskPath);
    if (record != nullptr) {
        setModifiedFlag();
    }
    return record;
}

void CTallyweaverDoc::addFiles(const QStringList& paths) {
    rememberedFolderPath_.clear();
    if (paths.isEmpty()) {
        return;
    }
    for (const QString& path : paths) {
        const FileCount* record =
            addFile(path.toStdU16String(), QFile::encodeName(path).toStdString());
        if (record == nullptr) {
            continue;
        }
        if (ProjectFolder* folder = root_.FindFolder(folderPathOf(record->path))) {
            folder->SetExpanded(true);
            rememberedFolderPath_ = QString::fromStdU16String(folder->FullPath());
        }
    }
    if (ProjectFolder* shown = rememberedFolder()) {
        showFolder(shown);
    }
}

void CTallyweaverDoc::addFoundFiles(const std::vector<std::string>& found,
                                    const QString& searched) {
    if (found.empty()) {
        return;
    }
    bool added = false;
    for (const std::string& diskPath : found) {
        const std::u16string path = utf16FromUtf8(diskPath);
        emit statusMessage(QStringLiteral("Adding file to project: ") +
                           QString::fromStdU16String(path));
        if (const FileCount* record = addFile(path, diskPath)) {
            rememberedFolderPath_ = QString::fromStdU16String(folderPathOf(record->path));
            added = true;
        }
    }
    // The folder the user chose, rather than the deepest folder of the last file.
    if (added && !searched.isEmpty()) {
        const std::u16string chosen =
            folderPathOf(recordPathOf((searched + QStringLiteral("/_")).toStdU16String()));
        if (!chosen.empty() && root_.FindFolder(chosen) != nullptr) {
            rememberedFolderPath_ = QString::fromStdU16String(chosen);
        }
    }
    emit statusMessage(QStringLiteral("Ready"));
    if (ProjectFolder* shown = rememberedFolder()) {
        showFolder(shown);
    }
}

ProjectFolder& CTallyweaverDoc::pruneFolder(ProjectFolder& folder) {
    emit foldersAboutToBeRemoved(&root_.RemovalTop(folder));
    ProjectFolder& stays = root_.RemoveFolderAndEmptyParents(folder);
    emit foldersRemoved();
    return stays;
}

void CTallyweaverDoc::removeFolder(ProjectFolder& folder) {
    ProjectFolder& stays = pruneFolder(folder);
    setModifiedFlag();
    rememberedFolderPath_ = QString::fromStdU16String(stays.FullPath());
    emit filesRemoved(&stays);
}

std::vector<std::u16string> CTallyweaverDoc::removeFiles(const std::vector<std::u16string>& paths) {
    std::vector<std::u16string> missing;
    for (const std::u16string& path : paths) {
        const ProjectFolder::FoundFile found = root_.FindFile(path);
        if (found.record == nullptr) {
            missing.push_back(path);
            continue;
        }
        found.folder->RemoveRecordByFileName(std::u16string(found.record->fileName()));
        setModifiedFlag();
        if (found.folder->IsEmpty()) {
            rememberedFolderPath_ =
                QString::fromStdU16String(pruneFolder(*found.folder).FullPath());
        }
    }
    ProjectFolder* shown = rememberedFolder();
    emit filesRemoved(shown != nullptr ? shown : &root_);
    return missing;
}

void CTallyweaverDoc::resetCounts() {
    if (root_.HasCounted()) {
        setModifiedFlag();
    }
    root_.ResetAllCounts();
    failures_.clear();
    emit countsChanged();
}

void CTallyweaverDoc::countRunEnded() {
    if (static_cast<int>(root_.CountedRecords(true)) != countedFilesAtSave_) {
        setModifiedFlag();
    }
    emit countsChanged();
}

QStringList CTallyweaverDoc::diskFiles(const std::vector<std::u16string>& paths) const {
    QStringList files;
    for (const std::u16string& path : paths) {
        files.append(diskPathText(diskPathOfFile(root_, path)));
    }
    return files;
}

QStringList CTallyweaverDoc::diskFolders(const std::vector<std::u16string>& paths) const {
    QStringList folders;
    std::set<std::u16string> taken;
    for (const std::u16string& path : paths) {
        if (taken.emplace(folderPathOf(path)).second) {
            folders.append(QFileInfo(diskPathText(diskPathOfFile(root_, path))).path());
        }
    }
    return folders;
}

QString CTallyweaverDoc::diskFolder(const ProjectFolder& folder) {
    return diskPathText(diskPathOfFolder(folder));
}

// ---- Project file --------------------------------------------------------------------------

bool CTallyweaverDoc::writeProject(const QString& path, QWidget* window) {
    const ProjectSaveResult result =
        ProjectFile::save(QFile::encodeName(path).toStdString(), root_, settings_);
    if (result.status != ProjectSaveStatus::Saved) {
        showFailure(window, result.message, path, result.systemReason);
        return false;
    }
    countedFilesAtSave_ = static_cast<int>(root_.CountedRecords(true));
    modified_ = false;
    setPathName(path);
    return true;
}

bool CTallyweaverDoc::doSave(const QString& path, QWidget* window) {
    QString target = path;
    if (target.isEmpty()) {
        QString suggested = pathName_;
        if (suggested.isEmpty()) {
            suggested = title() + QStringLiteral(".tyx");
        }
        target = FileChooser::saveProject(window, suggested, projectFolder());
        if (target.isEmpty()) {
            return false;
        }
    }
    return writeProject(target, window);
}

bool CTallyweaverDoc::saveProject(QWidget* window) {
    return doSave(pathName_, window);
}

bool CTallyweaverDoc::saveProjectAs(QWidget* window) {
    return doSave(QString(), window);
}

QMessageBox::StandardButton CTallyweaverDoc::askToSave(QWidget* window) const {
    return MessageBox::show(window, QStringLiteral("Save changes to %1?").arg(title()), QString(),
                            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                            QMessageBox::Warning);
}

bool CTallyweaverDoc::saveModified(QWidget* window) {
    if (!modified_) {
        return true;
    }
    switch (askToSave(window)) {
        case QMessageBox::Save:
            return saveProject(window);
        case QMessageBox::Discard:
            return true;
        default:
            return false;
    }
}

}  // namespace tw::ui
