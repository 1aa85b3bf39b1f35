#pragma once

#include <QMenu>
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

// A menu whose opening found a refused entry closes again at once, so that none of its commands runs
// before the entry is corrected (the refusal's message has been shown).
inline void CloseMenuSoon(QMenu* Menu) {
    QMetaObject::invokeMethod(
        Menu, [Menu] { Menu->hide(); }, Qt::QueuedConnection);
}

}  // namespace velmor::windows
