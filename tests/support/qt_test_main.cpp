#include <gtest/gtest.h>

#include <QApplication>

// Window tests run headless unless the caller chose a platform (the screenshot script runs them under Xvfb).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("VELMOR 2013");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
