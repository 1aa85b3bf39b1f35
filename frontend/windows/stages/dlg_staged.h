#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "project/program_data.h"
#include "stages/stage_switching.h"

namespace Ui {
class TDlgStaged;
}

namespace velmor::windows {

// "Staged Construction Options": whether the project is analysed in stages and how many (2 to 5). OK
// applies the count to the project and its stage files; Cancel closes without change. The dialog frees
// itself when closed.
class TDlgStaged : public QDialog {
    Q_OBJECT

  public:
    // `Project` answers the project being edited when asked (the window may have replaced it).
    TDlgStaged(std::function<project::TProgramData&()> Project, stages::TStageHost& Host, QWidget* Parent = nullptr);
    ~TDlgStaged() override;

    // Shows the project's stage count.
    void FormActivate();
    void StagedClick();
    void UpClick();
    void DownClick();
    void OKClick();

    Ui::TDlgStaged& Form() { return *ui_; }

  protected:
    bool event(QEvent* Event) override;

  private:
    std::unique_ptr<Ui::TDlgStaged> ui_;
    std::function<project::TProgramData&()> project_;
    stages::TStageHost& host_;
};

}  // namespace velmor::windows
