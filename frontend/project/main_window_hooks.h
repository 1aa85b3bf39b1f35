#pragma once

#include <string>

namespace velmor::project {

// What the project asks of the main window. The window layer implements it; tests fake it. Every
// operation does nothing by default, so a project without a window (a test, a tool) needs no hooks.
class TMainWindowHooks {
  public:
    virtual ~TMainWindowHooks() = default;

    // Closes every child window (table editors, graph windows, dialogs).
    virtual void CloseAllChildren() {}
    // The window's own modified flag (the tables keep theirs). The project passes false after a load or a
    // save.
    virtual void SetModified(bool /*Value*/) {}
    // An information box with one OK button.
    virtual void ShowMessage(const std::string& /*Text*/) {}
    // The text of the status bar ("Construction Stage Number: 2").
    virtual void SetStatusText(const std::string& /*Text*/) {}

    // The hooks of a project without a window.
    static TMainWindowHooks& None();
};

}  // namespace velmor::project
