#pragma once

#include <gtest/gtest.h>

#include <QApplication>
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

}  // namespace velmor::test
