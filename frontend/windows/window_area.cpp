#include "windows/window_area.h"

#include <QEvent>
#include <QWindowStateChangeEvent>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTimer>
#include <algorithm>

namespace velmor::windows {

namespace {

// Set on a child once it has been fitted after opening; later moves are the user's.
constexpr const char* kFittedProperty = "velmorFitted";

bool isNormal(const QMdiSubWindow* Child) {
    return Child->isVisible() && !Child->isMinimized() && !Child->isMaximized();
}

bool isFixedSize(const QMdiSubWindow* Child) {
    return Child->minimumSize() == Child->maximumSize();
}

// A resizable child that opened maximized goes back to the size it had before it was first shown, often
// no more than its title bar: too small to show anything in either direction.
bool lacksNormalSize(const QMdiSubWindow* Child, const QRect& Visible) {
    return isNormal(Child) && !isFixedSize(Child) && Child->width() < Visible.width() / 3 &&
           Child->height() < Visible.height() / 3;
}

}  // namespace

TWindowArea::TWindowArea(QWidget* Parent) : QMdiArea(Parent) {
    // Set before any child is added: the area lets its children lie outside only while it can scroll.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // A maximized child does not maximize the next one activated; resizable ones maximize themselves.
    setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    viewport()->installEventFilter(this);
}

QIcon TWindowArea::ProgramIcon() {
    return QIcon(":/dialogs/program_icon.svg");
}

int TWindowArea::titleBarHeight(const QMdiSubWindow* Child) const {
    QStyleOptionTitleBar option;
    option.initFrom(Child);
    const int height = Child->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, Child);
    return std::max(height, Child->contentsMargins().top());
}

bool TWindowArea::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == viewport() && Event->type() == QEvent::ChildAdded) {
        auto* child = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(Event)->child());
        if (child != nullptr) child->setWindowIcon(ProgramIcon());
    }
    const bool handled = QMdiArea::eventFilter(Watched, Event);
    auto* child = qobject_cast<QMdiSubWindow*>(Watched);
    if (child != nullptr && Event->type() == QEvent::Show && !child->property(kFittedProperty).toBool()) {
        child->setProperty(kFittedProperty, true);
        child->setWindowIcon(ProgramIcon());
        FitInside(child);
        // Windows that size themselves once shown (the table editors fit whole rows) are fitted again.
        QTimer::singleShot(0, this, [this, guarded = QPointer<QMdiSubWindow>(child)] {
            if (!guarded.isNull()) FitInside(guarded);
        });
    }
    if (child != nullptr && Event->type() == QEvent::WindowStateChange &&
        static_cast<QWindowStateChangeEvent*>(Event)->oldState().testFlag(Qt::WindowMaximized)) {
        // After the frame has taken back its normal geometry.
        QTimer::singleShot(0, this, [this, guarded = QPointer<QMdiSubWindow>(child)] {
            if (!guarded.isNull()) giveNormalSize(guarded);
        });
    }
    return handled;
}

void TWindowArea::giveNormalSize(QMdiSubWindow* Child) {
    const QRect visible = viewport()->rect();
    if (!lacksNormalSize(Child, visible)) return;
    const QSize least = Child->minimumSize();
    Child->resize(std::max(visible.width() * 2 / 3, least.width()), std::max(visible.height() * 2 / 3, least.height()));
    FitInside(Child);
}

void TWindowArea::FitInside(QMdiSubWindow* Child) {
    if (Child == nullptr || !isNormal(Child)) return;
    const QRect visible = viewport()->rect();
    QRect frame = Child->geometry();
    const QSize least = Child->minimumSize();
    if (frame.width() > visible.width()) frame.setWidth(std::max(visible.width(), least.width()));
    if (frame.height() > visible.height()) frame.setHeight(std::max(visible.height(), least.height()));
    frame.moveLeft(std::clamp(frame.left(), 0, std::max(0, visible.width() - frame.width())));
    frame.moveTop(std::clamp(frame.top(), 0, std::max(0, visible.height() - frame.height())));
    if (frame != Child->geometry()) Child->setGeometry(frame);
}

void TWindowArea::BringToFront(QMdiSubWindow* Child) {
    if (Child->isMinimized()) Child->showNormal();
    setActiveSubWindow(Child);
}

void TWindowArea::Cascade() {
    const QRect visible = viewport()->rect();
    int offset = 0;
    for (QMdiSubWindow* child : subWindowList(QMdiArea::CreationOrder)) {
        if (!child->isVisible() || child->isMinimized()) continue;
        if (child->isMaximized()) child->showNormal();
        giveNormalSize(child);
        const int step = titleBarHeight(child);
        if (offset > 0 && (offset + step > visible.height() || offset + step > visible.width())) offset = 0;
        QRect frame(QPoint(offset, offset), child->size());
        if (!isFixedSize(child)) {
            const QSize least = child->minimumSize();
            frame.setWidth(std::max(std::min(frame.width(), visible.width() - offset), least.width()));
            frame.setHeight(std::max(std::min(frame.height(), visible.height() - offset), least.height()));
        }
        child->setGeometry(frame);
        child->raise();
        offset += step;
    }
}

void TWindowArea::ArrangeIcons() {
    const QRect visible = viewport()->rect();
    int x = 0;
    int bottom = visible.height();
    int rowHeight = 0;
    for (QMdiSubWindow* child : subWindowList(QMdiArea::CreationOrder)) {
        if (!child->isMinimized()) continue;
        const QSize size = child->size();
        if (x > 0 && x + size.width() > visible.width()) {
            x = 0;
            bottom -= rowHeight;
            rowHeight = 0;
        }
        child->move(x, std::max(0, bottom - size.height()));
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
}

}  // namespace velmor::windows
