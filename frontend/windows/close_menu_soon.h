#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace velmor::windows {

// A menu whose opening found a refused entry closes again at once, so that none of its commands runs
// before the entry is corrected (the refusal's message has been shown). A menu reached from the keyboard
// leaves the menu bar holding the keys: they go back to the entry, so that what is typed next corrects it.
inline void CloseMenuSoon(QMenu* Menu) {
    QMetaObject::invokeMethod(
        Menu,
        [Menu] {
            Menu->hide();
            auto* bar = qobject_cast<QMenuBar*>(Menu->parentWidget());
            if (bar == nullptr || bar->window()->focusWidget() != bar) return;
            QKeyEvent leave(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(bar, &leave);
            auto* area = bar->window()->findChild<QMdiArea*>();
            QMdiSubWindow* child = area ? area->activeSubWindow() : nullptr;
            QWidget* entry = child && child->widget() ? child->widget()->focusWidget() : nullptr;
            if (entry != nullptr) entry->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

}  // namespace velmor::windows
