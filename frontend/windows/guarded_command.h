#pragma once

#include <QString>
#include <QWidget>
#include <exception>
#include <functional>

#include "platform/message_service.h"

namespace velmor::windows {

// Runs a menu or button command so that no exception reaches the event loop: its message is shown on
// AParent instead.
inline void RunGuarded(QWidget* AParent, const std::function<void()>& Command) {
    try {
        Command();
    } catch (const std::exception& fault) {
        platform::messages().get().information(AParent, QString::fromStdString(fault.what()));
    } catch (...) {
        platform::messages().get().information(AParent, "An unexpected error occurred.");
    }
}

}  // namespace velmor::windows
