#pragma once

#include <QDialog>
#include <memory>

class QString;

namespace Ui {
class TfrmGraphCaption;
}

namespace velmor::components {

class TGraphPlot;

// "Graph Caption": the graph's title and whether it stands above or below the plot.
class TfrmGraphCaption : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmGraphCaption(QWidget* parent = nullptr);
    ~TfrmGraphCaption() override;

    void setTitle(const QString& title, bool atTop);
    QString title() const;
    bool titleAtTop() const;

  private:
    std::unique_ptr<Ui::TfrmGraphCaption> ui_;
};

// The "Graph Title" command: edits the graph's title and its place. The edited values are taken however
// the dialog was closed (OK, Escape or the close button); the caller lays its window out again.
void EditGraphTitle(QWidget* parent, TGraphPlot& Plot);

}  // namespace velmor::components
