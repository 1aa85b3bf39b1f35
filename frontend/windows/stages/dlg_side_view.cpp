#include "windows/stages/dlg_side_view.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "fields/widgets/guarded.h"
#include "graphs/widgets/print_target.h"
#include "windows/stages/side_view_painter.h"

namespace velmor::windows {

using namespace sideview;

class TDlgSideView::TCanvas : public QWidget {
  public:
    explicit TCanvas(TDlgSideView& View) : QWidget(&View), view_(View) {
        setMouseTracking(true);
        setAutoFillBackground(false);
        setMinimumSize(200, 150);
    }

    // The size the drawing opens at: as a child window the view is sized from its layout's hint, and the
    // minimum alone would leave the labels overlapping.
    QSize sizeHint() const override { return {500, 480}; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        view_.paintCanvas(painter);
    }
    void mouseMoveEvent(QMouseEvent* Event) override { view_.mouseMovedTo(Event->position().toPoint().y()); }

  private:
    TDlgSideView& view_;
};

TDlgSideView::TDlgSideView(std::function<TSideViewProject()> Project, QWidget* Parent)
    : QWidget(Parent), source_(std::move(Project)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("DlgSideView");
    setWindowTitle("Side View");
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout();
    label_ = new QLabel("Wall Profile", this);
    label_->setObjectName("Label1");
    print_ = new QPushButton("Print", this);
    print_->setObjectName("btnPrint");
    bar->addWidget(label_);
    bar->addStretch();
    bar->addWidget(print_);
    layout->addLayout(bar);
    canvas_ = new TCanvas(*this);
    layout->addWidget(canvas_, 1);
    connect(print_, &QPushButton::clicked, this, &TDlgSideView::PrintClick);
    resize(520, 560);
    FormActivate();
}

TDlgSideView::~TDlgSideView() = default;

bool TDlgSideView::event(QEvent* Event) {
    if (Event->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(Event);
}

void TDlgSideView::FormActivate() {
    // A project that cannot be drawn is said so, and the view is emptied.
    if (!components::guarded(this, [this] { project_ = source_ ? source_() : TSideViewProject(); }))
        project_ = TSideViewProject();
    outlines_ = WallOutlines(project_);
    world_ = WorldFor(outlines_);
    canvas_->update();
}

void TDlgSideView::FollowProject() {
    if (followPending_) return;
    followPending_ = true;
    QTimer::singleShot(0, this, [this] {
        followPending_ = false;
        FormActivate();
    });
}

TMapping TDlgSideView::ScreenMapping() const {
    return TMapping::Screen(world_, canvas_->width(), canvas_->height());
}

void TDlgSideView::paintCanvas(QPainter& Painter) {
    Painter.fillRect(canvas_->rect(), palette().color(QPalette::Base));
    const TMapping mapping = ScreenMapping();
    if (!mapping.Usable()) return;
    Painter.setFont(label_->font());
    TPictureTarget target;
    target.Width = canvas_->width();
    target.Height = canvas_->height();
    const QFontMetrics metrics(Painter.font());
    target.TextHeight = metrics.height();
    const auto textWidth = [metrics](const std::string& Text) {
        return metrics.horizontalAdvance(QString::fromStdString(Text));
    };
    PaintSideView(Painter, SideViewPicture(project_, outlines_, mapping, target, textWidth),
                  palette().color(QPalette::Text));
}

void TDlgSideView::mouseMovedTo(int Y) {
    const std::string caption = DepthCaption(project_, ScreenMapping(), Y);
    if (!caption.empty()) setWindowTitle(QString::fromStdString(caption));
}

void TDlgSideView::PrintClick() {
    components::guarded(this, [this] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        if (components::ChoosePrintTarget(this, printer)) PrintOn(printer);
    });
}

void TDlgSideView::PrintOn(QPrinter& Printer) {
    Printer.setPageOrientation(QPageLayout::Landscape);
    Printer.setDocName("Soil-Pile Profile");
    QPainter painter;
    if (!painter.begin(&Printer)) throw std::runtime_error("The printer cannot be started.");
    const int pageWidth = Printer.width();
    const int pageHeight = Printer.height();
    const auto [dpiX, dpiY] = EstimatePrinterResolution(pageWidth, pageHeight, true);
    // The label's font as "Arial" of the same size, scaled to the printer's vertical resolution.
    QFont font("Arial");
    const qreal points = label_->font().pointSizeF() > 0 ? label_->font().pointSizeF() : 9;
    font.setPixelSize(std::max(1, qRound(points * dpiY / 72)));
    painter.setFont(font);
    TPictureTarget target;
    target.Printer = true;
    target.Width = pageWidth;
    target.Height = pageHeight;
    target.TextHeight = QFontMetrics(font, &Printer).height();
    // Thin lines a hundredth of an inch wide, as a window's one-pixel lines look on the screen.
    target.PenWidth = std::max(1, dpiX / 100);
    const TMapping mapping = TMapping::Page(world_, pageWidth, pageHeight);
    PaintSideView(painter, SideViewPicture(project_, outlines_, mapping, target), Qt::black);
    painter.end();
}

}  // namespace velmor::windows
