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
// shown as a message on `parent`, after `heading` and a line break when there is one, and the window stays
// usable. Answers false when the command failed. The one guard of the components and the program.
template <class Command>
bool guarded(QWidget* parent, Command&& command, const std::string& heading = {}) {
    const auto show = [&](const std::string& text) {
        showMessage(parent, heading.empty() ? text : heading + '\r' + text);
    };
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        show(e.what());
    } catch (...) {
        show("An unexpected error occurred.");
    }
    return false;
}

}  // namespace velmor::components
