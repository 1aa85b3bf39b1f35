// The program's entry: the application, its main window with the project named on the command line, and
// the event loop until the main window closes.
#include <QApplication>
#include <QTimer>

#include "windows/main_commands.h"
#include "windows/main_form.h"
#include "windows/stages/stage_commands.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("VELMOR 2013");
    // No display name: the platform would append it to every window's caption.
    QApplication::setWindowIcon(velmor::windows::TWindowArea::ProgramIcon());
    QApplication::setOrganizationName("Morvex");

    velmor::windows::TMainForm mainForm;
    auto* commands = new velmor::windows::TMainCommands(mainForm);  // owned by the window
    new velmor::windows::TStageCommands(*commands, mainForm);       // owned by the window
    QStringList parameters = QApplication::arguments();
    parameters.removeFirst();
    mainForm.FormShow(parameters);
    mainForm.show();
    // The start-up benchmark times the program from process start to the shown window.
    if (qEnvironmentVariableIsSet("VELMOR_QUIT_WHEN_SHOWN")) QTimer::singleShot(0, &application, &QApplication::quit);
    return QApplication::exec();
}
