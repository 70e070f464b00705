#include "ui/CTallyweaverDoc.h"

#include <QFile>
#include <QFileInfo>

#include "engine/CountSettings.h"
#include "project/ProjectFile.h"
#include "ui/CommandIds.h"
#include "ui/FileChooser.h"
#include "ui/RecentProjects.h"
#include "ui/common/MessageBox.h"

namespace tw::ui {
namespace {

QString qstring(const std::u16string& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

void showFailure(QWidget* window, const std::u16string& message) {
    MessageBox::show(window, qstring(message), QString(), QMessageBox::Ok, QMessageBox::Warning);
}

}  // namespace

CTallyweaverDoc::CTallyweaverDoc(RecentProjects* recentProjects, QObject* parent)
    : QObject(parent), recentProjects_(recentProjects) {}

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

void CTallyweaverDoc::setPathName(const QString& path) {
    pathName_ = path;
    if (recentProjects_ != nullptr && !path.isEmpty()) {
        recentProjects_->add(path);
    }
    emit stateChanged();
}

void CTallyweaverDoc::updateAllViews(QObject* sender, int hint, ProjectFolder* folder) {
    emit viewsUpdate(sender, hint, folder);
}

void CTallyweaverDoc::deleteContents() {
    emit treeAboutToBeReplaced();
    root_.DeleteAllRecords();
    root_.DeleteAllSubfolders();
    updateAllViews(nullptr, HINT_SHOW_FOLDER, &root_);
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
        ProjectFile::open(QFile::encodeName(path).toStdString(), loaded, countSettings());
    if (result.status == ProjectLoadStatus::Loaded ||
        result.status == ProjectLoadStatus::EmptyFile) {
        emit treeAboutToBeReplaced();
        root_.TakeContentsOf(loaded);
    }
    switch (result.status) {
        case ProjectLoadStatus::Unreadable:
            // The project in the window stays as it was.
            showFailure(window, result.message);
            return OpenOutcome::Failed;
        case ProjectLoadStatus::Damaged:
            // What was read is gone; the program goes on with an empty, untitled project.
            showFailure(window, result.message);
            becomeNewProject();
            return OpenOutcome::Failed;
        case ProjectLoadStatus::EmptyFile:
            modified_ = false;
            setPathName(path);
            updateAllViews(nullptr, HINT_SHOW_FOLDER, &root_);
            return OpenOutcome::Opened;
        case ProjectLoadStatus::Loaded:
            break;
    }
    countedFilesAtSave_ = static_cast<int>(root_.CountedRecords(true));
    modified_ = false;
    setPathName(path);
    emit recreateViewRequested();
    updateAllViews(nullptr, HINT_SHOW_FOLDER, &root_);
    return OpenOutcome::Opened;
}

bool CTallyweaverDoc::writeProject(const QString& path, QWidget* window) {
    const ProjectSaveResult result =
        ProjectFile::save(QFile::encodeName(path).toStdString(), root_, countSettings());
    if (result.status != ProjectSaveStatus::Saved) {
        showFailure(window, result.message);
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
        target = FileChooser::saveProject(window, suggested);
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
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                            QMessageBox::Warning);
}

bool CTallyweaverDoc::saveModified(QWidget* window) {
    if (!modified_) {
        return true;
    }
    switch (askToSave(window)) {
        case QMessageBox::Yes:
            return saveProject(window);
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

}  // namespace tw::ui
