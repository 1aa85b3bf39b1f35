#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace velmor::test {

// Runs `act` on the modal dialog of type Dialog as soon as the event loop of its exec() runs; `act` must
// end the dialog.
template <class Dialog>
void whenShown(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no modal dialog of the expected type";
        act(*dialog);
    });
}

// Shows `window`, writes its picture to screenshots/<name>.png in the build tree for a person to look at,
// and hides it again.
inline void saveScreenshot(QWidget& window, const QString& name) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QString dir = QString(VELMOR_BINARY_DIR) + "/screenshots";
    QDir().mkpath(dir);
    EXPECT_TRUE(window.grab().save(dir + "/" + name + ".png"));
    window.hide();
}

}  // namespace velmor::test
