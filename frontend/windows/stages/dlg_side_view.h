#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "sideview/side_view_geometry.h"

class QLabel;
class QPrinter;
class QPushButton;

namespace velmor::windows {

// "Side View": a schematic of the project's wall and soil (label "Wall Profile") that follows the project
// each time the window becomes active. Moving the pointer over it shows the depth below the ground in the
// caption; "Print" prints it on one landscape page. The window frees itself when closed.
class TDlgSideView : public QWidget {
    Q_OBJECT

  public:
    // `Project` describes the current project when asked.
    explicit TDlgSideView(std::function<sideview::TSideViewProject()> Project, QWidget* Parent = nullptr);
    ~TDlgSideView() override;

    // Rebuilds the outlines and the world from the project and repaints.
    void FormActivate();
    // Rebuilds as FormActivate does once the current command has finished (several changes in one
    // command rebuild once, from the data as the command left it).
    void FollowProject();
    // Prints where the user chooses: a printer, or a PDF file when the machine has no printer.
    void PrintClick();
    // Prints the picture on one landscape page of `Printer`.
    void PrintOn(QPrinter& Printer);

    const sideview::TBox& World() const { return world_; }
    const std::vector<sideview::TOutline>& Outlines() const { return outlines_; }
    // The mapping of the drawing area as it is now.
    sideview::TMapping ScreenMapping() const;
    // The drawing area, which the mouse moves over.
    QWidget* Canvas() const { return canvas_; }

  protected:
    bool event(QEvent* Event) override;

  private:
    class TCanvas;
    void paintCanvas(QPainter& Painter);
    void mouseMovedTo(int Y);

    std::function<sideview::TSideViewProject()> source_;
    sideview::TSideViewProject project_;
    std::vector<sideview::TOutline> outlines_;
    sideview::TBox world_;
    QLabel* label_ = nullptr;
    QPushButton* print_ = nullptr;
    QWidget* canvas_ = nullptr;
    bool followPending_ = false;
};

}  // namespace velmor::windows
