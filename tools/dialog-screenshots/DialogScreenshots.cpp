// Shows each dialog filled with sample data and saves a picture of it, so the dialogs can be
// looked at without clicking through the program: dialog-screenshots OUTPUT_DIRECTORY.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/CountSettings.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/dialogs/CAddFolderDialog.h"
#include "ui/dialogs/CFailedCountsDlg.h"
#include "ui/dialogs/CReportDialog.h"
#include "ui/dialogs/CSettingsDialog.h"

namespace {

bool save(QWidget& dialog, const QDir& output, const QString& name) {
    dialog.show();
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
    const QString path = output.filePath(name + QStringLiteral(".png"));
    const bool saved = dialog.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    dialog.hide();
    return saved;
}

/// The whole screen while `dialog` shows where it opens by itself: whether it fits.
bool saveScreen(QWidget& dialog, const QDir& output, const QString& name) {
    dialog.show();
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
    const QString path = output.filePath(name + QStringLiteral(".png"));
    QScreen* screen = dialog.screen();
    const bool saved = screen != nullptr && screen->grabWindow(0).save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    dialog.hide();
    return saved;
}

/// The question before a changed project is closed, as the program asks it.
bool saveCloseQuestion(const QDir& output, const QString& name) {
    tw::ui::CTallyweaverDoc document;
    document.setModifiedFlag(true);
    bool saved = false;
    QTimer::singleShot(200, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            const QString path = output.filePath(name + QStringLiteral(".png"));
            saved = box->grab().save(path);
            std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
            box->close();
        }
    });
    document.askToSave(nullptr);
    document.setModifiedFlag(false);
    return saved;
}

template <typename T>
T* named(QWidget& dialog, const char* name) {
    return dialog.findChild<T*>(QString::fromLatin1(name));
}

void sampleProject(tw::ProjectFolder& root) {
    const char* const paths[] = {
        "/home/ada/tallyweaver/src/engine/FileCount.cpp",
        "/home/ada/tallyweaver/src/engine/FileCount.h",
        "/home/ada/tallyweaver/src/engine/LineClassifier.cpp",
        "/home/ada/tallyweaver/src/project/ProjectFolder.cpp",
        "/home/ada/tallyweaver/src/project/ProjectFolder.h",
        "/home/ada/tallyweaver/src/report/ReportWriter.cpp",
        "/home/ada/tallyweaver/res/tallyweaver.rc",
        "/home/ada/tallyweaver/java/Main.java",
    };
    for (const char* path : paths) {
        const std::string text = path;
        root.AddFilePath(std::u16string(text.begin(), text.end()), text);
    }
    std::vector<tw::FileCount*> records;
    root.CollectRecords(records);
    std::uint32_t seed = 7;
    for (std::size_t i = 0; i < records.size(); ++i) {
        tw::FileCount& record = *records[i];
        if (i == 6) {
            continue;  // one file not counted yet
        }
        seed = seed * 1103515245u + 12345u;
        record.counted = true;
        record.code = 120 + seed % 900;
        record.commentOwnLine = 10 + seed % 120;
        record.commentCodeLine = seed % 17;
        record.commentBanner = seed % 5;
        record.commentWords = 200 + seed % 2000;
        record.commentBlank = seed % 9;
        record.blank = 20 + seed % 150;
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    QDir output(QString::fromLocal8Bit(argv[1]));
    if (!output.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;

    {
        QTemporaryDir sources;
        tw::ui::CAddFolderDialog dialog;
        named<QLineEdit>(dialog, "directoryEdit")->setText(sources.path());
        named<QLineEdit>(dialog, "customExtensionEdit")->setText(QStringLiteral(".ipp"));
        auto* unused = named<QListWidget>(dialog, "unusedList");
        // A selection to show, whatever the default lists leave unused.
        for (int row = 1; row < unused->count() && row <= 3; row += 2) {
            unused->item(row)->setSelected(true);
        }
        ok = save(dialog, output, QStringLiteral("add-folder")) && ok;
    }
    {
        tw::countSettings().mode = tw::CountMode::Executable;
        tw::countSettings().allCapsFunctionsAsMacros = true;
        tw::ui::CSettingsDialog dialog;
        ok = save(dialog, output, QStringLiteral("project-settings")) && ok;
        tw::countSettings() = tw::CountSettings{};
        tw::ui::CSettingsDialog physical;
        ok = save(physical, output, QStringLiteral("project-settings-physical")) && ok;
    }
    {
        tw::ProjectFolder root;
        sampleProject(root);
        tw::ui::CReportDialog dialog(nullptr, root);
        named<QLineEdit>(dialog, "directoryEdit")->setText(QStringLiteral("/home/ada/reports"));
        ok = save(dialog, output, QStringLiteral("generate-report-list")) && ok;
        named<QAbstractButton>(dialog, "treeRadio")->click();
        ok = save(dialog, output, QStringLiteral("generate-report-tree")) && ok;
    }
    {
        tw::ProjectFolder root;
        sampleProject(root);
        tw::ui::CReportDialog dialog(nullptr, root);
        named<QLineEdit>(dialog, "directoryEdit")->setText(QStringLiteral("/home/ada/reports"));
        ok = saveScreen(dialog, output, QStringLiteral("generate-report-on-screen")) && ok;
    }
    { ok = saveCloseQuestion(output, QStringLiteral("close-question")) && ok; }
    {
        tw::failedCountTable()[u"home\\ada\\tallyweaver\\src\\engine\\filecount.cpp"] =
            u"Failed to open file.";
        tw::failedCountTable()[u"home\\ada\\tallyweaver\\src\\report\\reportwriter.cpp"] =
            u"Logical parser failure: Error parsing operators: unbalanced parentheses (line 214).";
        tw::failedCountTable()[u"home\\ada\\tallyweaver\\java\\main.java"] =
            u"Failed to open file.";
        tw::ui::CFailedCountsDlg dialog;
        auto* list = named<QTreeView>(dialog, "failedList");
        list->setCurrentIndex(list->model()->index(1, 0));
        ok = save(dialog, output, QStringLiteral("errors")) && ok;
    }
    return ok ? 0 : 1;
}
