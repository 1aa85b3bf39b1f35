#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class TfrmActiveLines;
}

namespace velmor::components {

class TGraphPlot;

// "Active Curves": switches curves in and out of the legend. Works on a flags list shared with the caller,
// parallel to the names list, each entry kActiveFlag or kInactiveFlag.
class TfrmActiveLines : public QDialog {
    Q_OBJECT

  public:
    static const QString kActiveFlag;    // " yes : "
    static const QString kInactiveFlag;  // " no  : "

    TfrmActiveLines(const QStringList& Names, QStringList& Flags, QWidget* parent = nullptr);
    ~TfrmActiveLines() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void toggle(int row);
    void setAll(bool active);
    void toggleSelected();
    void showEntry(int row);

    std::unique_ptr<Ui::TfrmActiveLines> ui_;
    const QStringList names_;
    QStringList& flags_;
};

// The "Active Curves" command. True when the dialog ended with OK: every curve's Active flag is then set,
// and the caller rebuilds its legend and the curve items of its menu.
bool EditActiveCurves(QWidget* parent, TGraphPlot& Plot);

}  // namespace velmor::components
