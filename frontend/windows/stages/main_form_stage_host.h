#pragma once

#include <QAction>
#include <QMenu>

#include "stages/stage_switching.h"
#include "windows/main_form.h"

namespace velmor::windows {

// The main window as stage switching and the stage dialog see it. Header only, so that the stage windows
// need not link the main window; whoever includes it does.
class TMainFormStageHost : public stages::TStageHost {
  public:
    explicit TMainFormStageHost(TMainForm& Form) : form_(Form) {}

    bool GetModified() const override { return form_.GetModified(); }
    void SetModified(bool Value) override { form_.SetModified(Value); }
    void SetStatusText(const std::string& Text) override { form_.SetStatusText(Text); }
    void SetStageMenuVisible(bool Visible) override { form_.StageMenu()->menuAction()->setVisible(Visible); }
    void UpdateStageButtons() override { form_.UpdateStageButtons(); }

  private:
    TMainForm& form_;
};

}  // namespace velmor::windows
