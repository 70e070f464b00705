// tallyweaver-test-driver: the program as it ships, plus the command interpreter that the
// smoke test, the package check and the screenshot script drive its window with (the commands
// of TALLYWEAVER_TEST_COMMANDS, run once the window is shown). It is built with the tests and
// never installed; the shipped program holds no way to be driven. It links the desktop's
// libraries itself instead of opening the desktop module.

#include "app/TallyweaverApp.h"
#include "driver/DesktopTestCommands.h"
#include "ui/CMainFrame.h"
#include "ui/Desktop.h"

int main(int argc, char** argv) {
    tw::CTallyweaverApp app;
    app.setDesktopEntry([](int count, char** arguments, const std::string& projectFile) {
        return tw::runDesktop(count, arguments, projectFile, [](tw::ui::CMainFrame& frame) {
            const QStringList commands = tw::test::DesktopTestCommands::fromEnvironment();
            if (!commands.isEmpty()) {
                // Owned by the window.
                (new tw::test::DesktopTestCommands(frame, commands))->start();
            }
        });
    });
    return app.run(argc, argv);
}
