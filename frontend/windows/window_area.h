#pragma once

#include <QMdiArea>

class QMdiSubWindow;

namespace velmor::windows {

// The main window's area of child windows. It keeps every child within reach: scroll bars appear when a
// child lies partly outside the visible area, a child opens inside the visible area (smaller than it asks
// where it would not fit), Cascade and Arrange Icons leave every title bar inside, and a child of fixed
// size keeps its own size when it opens after a maximized one. A child that opened maximized gets a size
// of its own when it is restored or cascaded. Every child carries the program's icon.
class TWindowArea : public QMdiArea {
    Q_OBJECT

  public:
    explicit TWindowArea(QWidget* Parent = nullptr);

    // Overlaps the normal child windows from the area's top left, one title bar's height apart, each
    // shrunk where it would reach past the visible area; the row starts again at the top left when the
    // next title bar would fall below it.
    void Cascade();
    // Lines the minimized child windows up along the bottom edge, in rows upwards from there.
    void ArrangeIcons();
    // Moves `Child` inside the visible area, shrinking it (not below its minimum) where it is larger.
    void FitInside(QMdiSubWindow* Child);
    // Makes `Child` the active window, restoring it first when it is minimized.
    void BringToFront(QMdiSubWindow* Child);

    // The program's icon, which every child window shows in its title bar.
    static QIcon ProgramIcon();

  protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

  private:
    int titleBarHeight(const QMdiSubWindow* Child) const;
    // Gives a child that came back from maximized with hardly any size two thirds of the visible area.
    void giveNormalSize(QMdiSubWindow* Child);
};

}  // namespace velmor::windows
