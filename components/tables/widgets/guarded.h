#pragma once

#include <QString>
#include <QWidget>
#include <exception>

#include "platform/message_service.h"

namespace velmor::components {

// Shows a message as the program shows every message: an information box with one OK button.
inline void showMessage(QWidget* parent, const std::string& text) {
    platform::messages().get().information(parent, QString::fromStdString(text));
}

// Runs a command of a window so that no exception reaches Qt's event loop: an error is shown as a message
// and the window stays usable. Answers false when the command failed.
template <class Command>
bool guarded(QWidget* parent, Command&& command) {
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        showMessage(parent, e.what());
    } catch (...) {
        showMessage(parent, "Unexpected error");
    }
    return false;
}

}  // namespace velmor::components
