#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class TfrmLineNames;
}

namespace velmor::components {

class TGraphPlot;

// "Legend": renames the curves. Works on a names list shared with the caller, one entry per curve of the
// graph's first curve set; the list's entries are copied back into it however the dialog closes.
class TfrmLineNames : public QDialog {
    Q_OBJECT

  public:
    TfrmLineNames(QStringList& Names, QWidget* parent = nullptr);
    ~TfrmLineNames() override;

    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void showEntry(int row);
    void commitEdit();

    std::unique_ptr<Ui::TfrmLineNames> ui_;
    QStringList& names_;
    bool committing_ = false;
};

// The "Edit Legend" command. True when the dialog ended with OK: every curve's Name is then its entry,
// and the caller gives the active curves' legend entries and menu items the new texts.
bool EditLegendNames(QWidget* parent, TGraphPlot& Plot);

}  // namespace velmor::components
