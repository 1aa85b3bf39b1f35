#pragma once

#include <string>
#include <vector>

#include "project/main_window_hooks.h"

namespace velmor::project {

// Records what the project asked of the main window.
class FakeHooks : public TMainWindowHooks {
  public:
    void CloseAllChildren() override { ++closed; }
    void SetModified(bool Value) override { modified.push_back(Value); }
    void ShowMessage(const std::string& Text) override { messages.push_back(Text); }
    void SetStatusText(const std::string& Text) override { status.push_back(Text); }

    int closed = 0;
    std::vector<bool> modified;
    std::vector<std::string> messages;
    std::vector<std::string> status;
};

}  // namespace velmor::project
