// Takes the pictures of the program's windows for a person to look at: nothing is compared.
//   velmor_screenshots FOLDER [GoogleTest options]
// writes them as PNG files into FOLDER. Each picture is one GoogleTest case, so --gtest_filter picks some.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QTest>
#include <cstdio>

#include "screenshots/shots.h"

namespace velmor::shots {

QString& Folder() {
    static QString folder;
    return folder;
}

bool Save(QWidget& Window, const QString& Name) {
    Window.show();
    if (!QTest::qWaitForWindowExposed(&Window)) return false;
    const bool saved = Window.grab().save(Path(Name + ".png"));
    Window.hide();
    return saved;
}

}  // namespace velmor::shots

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: %s FOLDER [GoogleTest options]\n", argv[0]);
        return 2;
    }
    velmor::shots::Folder() = QString::fromLocal8Bit(argv[1]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("VELMOR 2013");
    // As the program sets it: windows shown on their own carry the program's icon too.
    QApplication::setWindowIcon(QIcon(":/dialogs/program_icon.svg"));
    return RUN_ALL_TESTS();
}
