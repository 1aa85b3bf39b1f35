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

// Runs a command of a window, a menu or a button so that no exception reaches Qt's event loop: an error is
// shown as a message on `parent` and the window stays usable. Answers false when the command failed. The one
// guard of the components and the program.
template <class Command>
bool guarded(QWidget* parent, Command&& command) {
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        showMessage(parent, e.what());
    } catch (...) {
        showMessage(parent, "An unexpected error occurred.");
    }
    return false;
}

}  // namespace velmor::components
