// The desktop program on a large project: rebuilding the file list for 50,000 files (the
// model alone, and the whole list view with its column fitting), and counting a project
// through the desktop's count run compared with the console run's loop on one thread.
//
// With TW_DESKTOP_BENCH_LIST naming a list of files (one path a line; TW_DESKTOP_BENCH_MODE
// the mode letter, e by default), also that project counted by the console's loop and by the
// shown window's Count command, progress and live list refresh included, each on every
// processor: BM_ListedConsoleCount against BM_ListedDesktopCount/0 (folders and files) and /1
// (files only, the whole project in the list).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "SourceGenerator.h"
#include "cli/ConsoleCounting.h"
#include "engine/CountMode.h"
#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "engine/TextConversion.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"
#include "ui/CFileView.h"
#include "ui/CMainFrame.h"
#include "ui/CTallyweaverDoc.h"
#include "ui/CommandIds.h"
#include "ui/CountRun.h"
#include "ui/FileListModel.h"

namespace {

constexpr int kListFiles = 50000;

std::u16string number(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

/// A project of `files` counted records in folders of 1,000; the files need not exist.
void fillCountedProject(tw::ProjectFolder& root, int files) {
    for (int i = 0; i < files; ++i) {
        const std::u16string path =
            u"c:\\src\\module" + number(i / 1000) + u"\\file" + number(i) + u".cpp";
        tw::FileCount* record = root.AddFilePath(path);
        record->counted = true;
        record->code = 100 + static_cast<std::uint32_t>(i % 900);
        record->commentOwnLine = 20;
        record->blank = 30;
        record->commentWords = 250;
        record->countSeconds = 0.01;
    }
}

void BM_FileListModelRebuild(benchmark::State& state) {
    tw::ProjectFolder root;
    fillCountedProject(root, kListFiles);
    const tw::FailedCountTable noFailures;
    tw::ui::FileListModel model(noFailures);
    tw::ui::FileListLayout layout;
    layout.filesOnly = true;
    for (auto _ : state) {
        model.rebuild(root, root, layout, tw::CountMode::Physical);
        for (int column = 0; column < tw::ui::FileListColumnCount; ++column) {
            benchmark::DoNotOptimize(model.widestText(column));
        }
    }
    state.counters["rows"] = model.rowCount();
}
BENCHMARK(BM_FileListModelRebuild)->Unit(benchmark::kMillisecond);

void BM_FileViewRebuild(benchmark::State& state) {
    tw::ui::CTallyweaverDoc document;
    fillCountedProject(document.root(), kListFiles);
    tw::ui::CMainFrame frame(document);
    frame.resize(1400, 900);
    frame.show();
    QCoreApplication::processEvents();
    frame.action(tw::ui::ID_VIEW_FILES_ONLY)->trigger();
    tw::ui::CFileView* list = frame.fileView();
    for (auto _ : state) {
        list->rebuild(document.root());
        // Paint what is on screen, as the window would right after.
        list->viewport()->repaint();
    }
    state.counters["rows"] = list->model()->rowCount();
}
BENCHMARK(BM_FileViewRebuild)->Unit(benchmark::kMillisecond);

/// Generated sources on disk, written once: 200 files of 32 KiB.
class Corpus {
  public:
    Corpus() {
        for (int i = 0; i < 200; ++i) {
            const std::string path =
                dir_.filePath(QStringLiteral("part%1/file%2.cpp").arg(i % 10).arg(i)).toStdString();
            QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
            std::ofstream(path, std::ios::binary) << tw::bench::generateSource(
                tw::bench::GeneratedLanguage::Cpp, 32 * 1024, static_cast<std::uint32_t>(i));
            paths_.push_back(path);
        }
    }
    void fill(tw::ProjectFolder& root) const {
        for (const std::string& path : paths_) {
            root.AddFilePath(tw::utf16FromUtf8(path), path);
        }
    }
    std::size_t bytes() const { return paths_.size() * 32 * 1024; }

  private:
    QTemporaryDir dir_;
    std::vector<std::string> paths_;
};

const Corpus& corpus() {
    static const Corpus written;
    return written;
}

/// The console run's loop with `state.range(0)` threads (0: one per processor).
void BM_ConsoleLoop(benchmark::State& state) {
    tw::ProjectFolder root;
    corpus().fill(root);
    std::ostringstream progress;
    for (auto _ : state) {
        root.ResetAllCounts();
        tw::FailedCountTable failures;
        tw::ConsoleCount count(tw::countSettings(), false, true,
                               static_cast<unsigned>(state.range(0)), progress, progress, failures);
        count.finish(root);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(corpus().bytes() * state.iterations()));
}
BENCHMARK(BM_ConsoleLoop)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DesktopWorkerLoop(benchmark::State& state) {
    tw::ProjectFolder root;
    corpus().fill(root);
    tw::ui::CountRun::State run;
    for (auto _ : state) {
        root.ResetAllCounts();
        run.prepare(root);
        run.running = true;
        tw::ui::CountRun::walk(run, tw::countSettings(), tw::failedCountTable());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(corpus().bytes() * state.iterations()));
}
BENCHMARK(BM_DesktopWorkerLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DesktopCountCommand(benchmark::State& state) {
    tw::ui::CTallyweaverDoc document;
    corpus().fill(document.root());
    tw::ui::CMainFrame frame(document);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        document.root().ResetAllCounts();
        frame.updateCommandStates();
        QEventLoop loop;
        QObject::connect(&frame, &tw::ui::CMainFrame::countRunClosed, &loop, &QEventLoop::quit);
        frame.action(tw::ui::ID_ACTION_COUNT)->trigger();
        loop.exec();
    }
    document.setModifiedFlag(false);
    state.SetBytesProcessed(static_cast<std::int64_t>(corpus().bytes() * state.iterations()));
}
BENCHMARK(BM_DesktopCountCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The files of TW_DESKTOP_BENCH_LIST, read once, and the mode to count them in.
struct ListedProject {
    std::vector<std::string> paths;
    tw::CountMode mode = tw::CountMode::Executable;

    static const ListedProject& get() {
        static const ListedProject project = [] {
            ListedProject read;
            std::ifstream list(qEnvironmentVariable("TW_DESKTOP_BENCH_LIST").toStdString());
            for (std::string line; std::getline(list, line);) {
                if (!line.empty()) {
                    read.paths.push_back(line);
                }
            }
            const std::string letter = qEnvironmentVariable("TW_DESKTOP_BENCH_MODE").toStdString();
            if (!letter.empty()) {
                tw::countModeFromLetter(std::u16string(letter.begin(), letter.end()), read.mode);
            }
            return read;
        }();
        return project;
    }
    void fill(tw::ProjectFolder& root) const {
        for (const std::string& path : paths) {
            root.AddFilePath(tw::utf16FromUtf8(path), path);
        }
    }
};

void BM_ListedConsoleCount(benchmark::State& state) {
    const ListedProject& project = ListedProject::get();
    tw::ProjectFolder root;
    project.fill(root);
    tw::CountSettings settings = tw::countSettings();
    settings.mode = project.mode;
    std::ostringstream progress;
    for (auto _ : state) {
        root.ResetAllCounts();
        tw::FailedCountTable failures;
        tw::ConsoleCount count(settings, false, true, 0, progress, progress, failures);
        count.finish(root);
    }
    state.counters["files"] = static_cast<double>(project.paths.size());
}

void BM_ListedDesktopCount(benchmark::State& state) {
    const ListedProject& project = ListedProject::get();
    tw::ui::CTallyweaverDoc document;
    project.fill(document.root());
    document.settings().mode = project.mode;
    tw::ui::CMainFrame frame(document);
    frame.resize(1400, 900);
    frame.show();
    QCoreApplication::processEvents();
    frame
        .action(state.range(0) != 0 ? tw::ui::ID_VIEW_FILES_ONLY
                                    : tw::ui::ID_VIEW_FOLDERS_AND_FILES)
        ->trigger();
    QCoreApplication::processEvents();
    // Files of real code may fail to count: the dialog that lists them is closed as it opens.
    QTimer closeDialogs;
    QObject::connect(&closeDialogs, &QTimer::timeout, [] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->close();
        }
    });
    closeDialogs.start(100);
    for (auto _ : state) {
        document.root().ResetAllCounts();
        frame.updateCommandStates();
        QEventLoop loop;
        QObject::connect(&frame, &tw::ui::CMainFrame::countRunClosed, &loop, &QEventLoop::quit);
        frame.action(tw::ui::ID_ACTION_COUNT)->trigger();
        loop.exec();
    }
    document.setModifiedFlag(false);
    state.counters["files"] = static_cast<double>(project.paths.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    if (!qEnvironmentVariableIsEmpty("TW_DESKTOP_BENCH_LIST")) {
        benchmark::RegisterBenchmark("BM_ListedConsoleCount", BM_ListedConsoleCount)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark("BM_ListedDesktopCount", BM_ListedDesktopCount)
            ->Arg(0)
            ->Arg(1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
