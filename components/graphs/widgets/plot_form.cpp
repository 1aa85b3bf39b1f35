#include "graphs/widgets/plot_form.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QShortcut>
#include <QVBoxLayout>

#include "fields/widgets/guarded.h"
#include "graphs/widgets/dlg_format.h"
#include "graphs/widgets/frm_active_lines.h"
#include "graphs/widgets/frm_graph_caption.h"
#include "graphs/widgets/frm_line_names.h"
#include "graphs/widgets/page_setup_dialog.h"
#include "graphs/widgets/plot_legend.h"
#include "graphs/widgets/print_target.h"
#include "platform/message_service.h"

namespace velmor::components {

namespace {

// The window font: 14 pixels at 96 pixels per inch, scaled to the canvas's resolution.
constexpr int kFontHeightAt96 = 14;
constexpr int kFixedItems = 14;  // Plot menu items before the curve items, separators included
constexpr int kMaxActiveCurves = 20;
constexpr int kCaptionDigits = 5;

int fontHeightAt(int dpiY) {
    return kFontHeightAt96 * dpiY / 96;
}

}  // namespace

// The client area: paints the graph and takes the mouse.
class TPlotClient : public QWidget {
  public:
    explicit TPlotClient(TPlotForm& form) : QWidget(&form), form_(form) {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::CrossCursor);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        form_.paintClient(painter);
    }
    void resizeEvent(QResizeEvent*) override { form_.FormResize(false); }
    void mousePressEvent(QMouseEvent* e) override {
        guarded(this, [&] { form_.mousePress(e); });
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        guarded(this, [&] { form_.mouseMove(e); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        guarded(this, [&] { form_.mouseRelease(e); });
    }

  private:
    TPlotForm& form_;
};

TPlotDialogs& TPlotDialogs::Defaults() {
    static TPlotDialogs dialogs{
        [](QWidget* parent, TGraphPlot& plot) { ::velmor::components::EditGraphTitle(parent, plot); },
        [](QWidget* parent, TGraphPlot& plot) { return ::velmor::components::EditLegendNames(parent, plot); },
        [](QWidget* parent, TGraphPlot& plot) { return ::velmor::components::EditActiveCurves(parent, plot); },
        [](QWidget* parent, QImage& bitmap) {
            TdlgFormat dialog(bitmap, parent);
            return dialog.exec();
        },
        [](QWidget* parent) {
            QFileDialog dialog(parent);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setNameFilter(QStringLiteral("Bitmap (*.bmp)"));
            dialog.setDefaultSuffix(QStringLiteral("bmp"));
            return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                       ? dialog.selectedFiles().first()
                       : QString();
        },
        [](QWidget* parent, QPrinter& printer) { return ChoosePrintTarget(parent, printer); },
    };
    return dialogs;
}

TPlotForm::TPlotForm(TGraphPlot& Plot, QWidget* parent)
    : QWidget(parent, Qt::Window), plot_(Plot), dialogs_(TPlotDialogs::Defaults()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("PlotForm"));
    setFont(PlotFont(kFontHeightAt96, false));
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    menuBar_ = new QMenuBar(this);
    box->setMenuBar(menuBar_);
    client_ = new TPlotClient(*this);
    box->addWidget(client_);
    legend_ = new TPlotLegend(plot_, client_);
    legend_->hide();
    connect(legend_, &TPlotLegend::curveToggled, this, [this](int curve) { ToggleCurve(curve); });

    pageSetup_ = std::make_unique<TPageSetupDialog>();
    pageSetup_->SetOptions({TPageSetupFlag::poDefaultMinMargins, TPageSetupFlag::poThousandthsOfInches});
    buildMenu();
    resize(800, 600);

    // The ranges reflect the data at creation; zooming stays inside them.
    for (int panel = 0; panel < 3; ++panel) {
        ranges_[static_cast<std::size_t>(panel)] = ComputeRange(plot_.PanelLines(panel + 1));
    }
    full_ = ranges_;
    for (int i = 0; i < plot_.GetLineCount(); ++i) plot_.GetLine(i)->Active = i < kMaxActiveCurves;
    rebuildCurves(true);
    plot_.LegendFont = 11;  // the legend list's font, points
    const TLegendMetrics metrics = LegendMetrics(plot_.SizeFont, plot_.LegendFont);
    legend_->SetMetrics(metrics.FontPoints, metrics.ItemHeight);
    showLegendList();
    // Offered whenever there are curves, so a hidden legend can be shown again.
    showLegend_->setVisible(plot_.GetLineCount() > 0);

    // Print and Page Setup are always offered: without a printer the graph prints to a PDF file.
    pageSetup_->SetMarginLeft(1000);
    pageSetup_->SetMarginTop(1000);
    pageSetup_->SetMarginRight(1000);
    pageSetup_->SetMarginBottom(1000);
    FormResize(true);
}

TPlotForm::~TPlotForm() {
    if (!freedByGraph_) plot_.WindowClosed();
}

void TPlotForm::InstallAsGraphWindow() {
    TGraphPlot::SetDefaultWindowFactory([](TGraphPlot& plot) { return new TPlotForm(plot); });
}

void TPlotForm::ShowWindow() {
    // Inside the main window's window area the frame is the sub-window; standing alone, this window.
    auto* child = qobject_cast<QMdiSubWindow*>(parentWidget());
    QWidget* frame = child != nullptr ? static_cast<QWidget*>(child) : this;
    if (!shownOnce_) {
        shownOnce_ = true;
        frame->showMaximized();
    } else if (frame->isMinimized()) {
        frame->showNormal();
    } else if (frame->isHidden()) {
        frame->show();
    }
    if (child != nullptr && child->mdiArea() != nullptr) {
        child->mdiArea()->setActiveSubWindow(child);
    } else {
        raise();
        activateWindow();
    }
}

void TPlotForm::showLegendList() {
    legend_->setVisible(plot_.ShowLegend && !legend_->Entries().empty());
}

void TPlotForm::refitLegend(const QRect& before) {
    // A legend that stood inside the plot frame stays inside it as its entries change, where it fits.
    const QRect frame(QPoint(layout_.Plot.Left, layout_.Plot.Top),
                      QPoint(layout_.Plot.Right - 1, layout_.Plot.Bottom - 1));
    legend_->FitToEntries();
    QRect box = legend_->geometry();
    if (frame.contains(before)) {
        if (box.right() > frame.right()) box.moveRight(frame.right());
        if (box.left() < frame.left()) box.moveLeft(frame.left());
        if (box.bottom() > frame.bottom()) box.moveBottom(frame.bottom());
        if (box.top() < frame.top()) box.moveTop(frame.top());
        legend_->move(box.topLeft());
    }
    legend_->KeepInside();
    showLegendList();
}

void TPlotForm::FreeWindow() {
    freedByGraph_ = true;
    delete this;
}

void TPlotForm::buildMenu() {
    plotMenu_ = menuBar_->addMenu(QStringLiteral("&Plot"));
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
    connect(shortcut, &QShortcut::activated, this, [this] { menuBar_->setActiveAction(plotMenu_->menuAction()); });
    connect(plotMenu_, &QMenu::aboutToShow, this, &TPlotForm::RefreshPlotMenu);

    showLegend_ = plotMenu_->addAction(QStringLiteral("Show &Legend"), this, [this] {
        plot_.ShowLegend = !plot_.ShowLegend;
        showLegendList();
    });
    showLegend_->setCheckable(true);
    showLayers_ = plotMenu_->addAction(QStringLiteral("Show &Soil Layer"), this, [this] {
        plot_.ShowLayers = !plot_.ShowLayers;
        FormResize(true);
    });
    showLayers_->setCheckable(true);
    showWall_ = plotMenu_->addAction(QStringLiteral("Show &Wall Geometry"), this, [this] {
        plot_.ShowWall = !plot_.ShowWall;
        FormResize(true);
    });
    showWall_->setCheckable(true);

    markersMenu_ = plotMenu_->addMenu(QStringLiteral("Show &Markers"));
    const std::pair<const char*, int> markers[] = {{"&Never", 0},
                                                   {"Every &Increment", 1},
                                                   {"Every &2 Increments", 2},
                                                   {"Every &3 Incrments", 3},
                                                   {"Every &5 Increments", 5},
                                                   {"Every &10 Incements", 10}};
    auto* markerGroup = new QActionGroup(markersMenu_);
    for (const auto& [caption, every] : markers) {
        QAction* item = markersMenu_->addAction(QString::fromLatin1(caption), this, [this, n = every] {
            plot_.Markers = n;
            redraw();
        });
        item->setCheckable(true);
        item->setData(every);
        markerGroup->addAction(item);
    }
    connect(markersMenu_, &QMenu::aboutToShow, this, [this] {
        for (QAction* item : markersMenu_->actions()) item->setChecked(item->data().toInt() == plot_.Markers);
    });

    QMenu* fonts = plotMenu_->addMenu(QStringLiteral("&Font Size"));
    fontSize_ = fonts->menuAction();
    const std::pair<const char*, int> sizes[] = {{"&Default", 10},      {"1.5 * Default", 15}, {"2 * Default", 20},
                                                 {"2.5 * Default", 25}, {"3 * Default", 30},   {"4 * Default", 40}};
    for (const auto& [caption, size] : sizes) {
        fonts->addAction(QString::fromLatin1(caption), this, [this, n = size] { SetSizeFont(n); });
    }
    QMenu* widths = plotMenu_->addMenu(QStringLiteral("&Line Width"));
    lineWidth_ = widths->menuAction();
    const std::pair<const char*, int> pens[] = {
        {"&Default", 1}, {"2 * Default", 2}, {"4 * Default", 4}, {"6 * Default", 6}, {"10 * Default", 10}};
    for (const auto& [caption, width] : pens) {
        widths->addAction(QString::fromLatin1(caption), this, [this, n = width] {
            plot_.WidthLine = n;
            redraw();
        });
    }

    plotMenu_->addAction(QStringLiteral("&Graph Title"), this, [this] {
        guarded(this, [this] {
            if (dialogs_.EditTitle) dialogs_.EditTitle(this, plot_);
            FormResize(false);
        });
    });
    plotMenu_->addAction(QStringLiteral("&Edit Legend"), this, [this] {
        guarded(this, [this] {
            if (!dialogs_.EditLegendNames || !dialogs_.EditLegendNames(this, plot_)) return;
            const QRect before = legend_->geometry();
            int row = 0;
            const QList<QAction*> items = plotMenu_->actions();
            for (int i = 0; i < plot_.GetLineCount(); ++i) {
                if (!plot_.GetLine(i)->Active) continue;
                const QString name = QString::fromStdString(plot_.GetLine(i)->GetName());
                legend_->SetEntryText(row, name);
                if (kFixedItems + row < items.size()) items[kFixedItems + row]->setText(name);
                ++row;
            }
            refitLegend(before);
            redraw();
        });
    });
    plotMenu_->addAction(QStringLiteral("&Active Curves"), this, [this] {
        guarded(this, [this] {
            if (!dialogs_.EditActiveCurves || !dialogs_.EditActiveCurves(this, plot_)) return;
            rebuildCurves(false);
            redraw();
        });
    });
    plotMenu_->addSeparator();
    print_ = plotMenu_->addAction(QStringLiteral("&Print..."), this,
                                  [this] { guarded(this, [this] { PlotPrintClick(); }); });
    pageSetupItem_ = plotMenu_->addAction(QStringLiteral("P&age Setup"), this,
                                          [this] { guarded(this, [this] { PlotPageClick(); }); });
    plotMenu_->addAction(QStringLiteral("&Save To Disk..."), this,
                         [this] { guarded(this, [this] { PlotSaveClick(); }); });
    plotMenu_->addSeparator();
}

QString TPlotForm::legendText(int Curve, bool AtCreation) const {
    std::string text = plot_.GetLine(Curve)->GetName();
    if (AtCreation && plot_.onGetCaption) plot_.onGetCaption(Curve, text);
    return QString::fromStdString(text);
}

void TPlotForm::rebuildCurves(bool AtCreation) {
    std::vector<TPlotLegend::Entry> entries;
    for (int i = 0; i < plot_.GetLineCount(); ++i) {
        if (plot_.GetLine(i)->Active) entries.push_back({legendText(i, AtCreation), i});
    }
    QList<QAction*> items = plotMenu_->actions().mid(kFixedItems);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        QAction* item;
        if (k < static_cast<std::size_t>(items.size())) {
            item = items[static_cast<int>(k)];
        } else {
            item = plotMenu_->addAction(QString());
            item->setCheckable(true);
            item->setChecked(plot_.GetLine(entries[k].Curve)->Visible);
            connect(item, &QAction::triggered, this, [this, item] { ToggleCurve(item->data().toInt()); });
        }
        item->setText(entries[k].Text);
        item->setData(entries[k].Curve);
    }
    for (int k = items.size() - 1; k >= static_cast<int>(entries.size()); --k) {
        plotMenu_->removeAction(items[k]);
        delete items[k];
    }
    const QRect before = legend_->geometry();
    legend_->SetEntries(std::move(entries));
    if (!AtCreation) refitLegend(before);
}

void TPlotForm::RefreshPlotMenu() {
    showLegend_->setChecked(plot_.ShowLegend);
    showLayers_->setChecked(plot_.ShowLayers);
    showLayers_->setVisible(plot_.GetLayerCount() > 0);
    showWall_->setVisible(plot_.WallLineCount > 0);
    showWall_->setEnabled(plot_.ShowLayers);
    showWall_->setChecked(plot_.ShowWall);
    fontSize_->setVisible(plot_.ShowFontWidth);
    lineWidth_->setVisible(plot_.ShowFontWidth);
    const QList<QAction*> items = plotMenu_->actions().mid(kFixedItems);
    for (QAction* item : items) {
        const int curve = item->data().toInt();
        if (curve >= 0 && curve < plot_.GetLineCount()) item->setChecked(plot_.GetLine(curve)->Visible);
    }
}

void TPlotForm::ToggleCurve(int Curve) {
    if (Curve < 0 || Curve >= plot_.GetLineCount()) return;
    TLine* line = plot_.GetLine(Curve);
    line->Visible = !line->Visible;
    legend_->update();
    redraw();
}

void TPlotForm::SetSizeFont(int Value) {
    plot_.SizeFont = Value;
    const TLegendMetrics metrics = LegendMetrics(plot_.SizeFont, plot_.LegendFont);
    legend_->SetMetrics(metrics.FontPoints, metrics.ItemHeight);
    FormResize(false);
}

void TPlotForm::FormResize(bool ResetLegend) {
    // Until the window is first painted its client area has no final size yet: the legend keeps to the
    // plot's corner until then. Afterwards it keeps its relative place in the plot frame, so a window that
    // passes through a small size (restored, cascaded) does not leave it pushed into a corner over the axes.
    const auto room = [this](int from, int to, int size) { return to - from - size; };
    if (ResetLegend || !legendPlaced_) {
        legendAt_ = {1, 1};
    } else if (legend_->pos() != legendPutAt_) {
        const TPixelRect& a = layout_.Plot;
        const int w = room(a.Left, a.Right, legend_->width()), h = room(a.Top, a.Bottom, legend_->height());
        if (w > 0) legendAt_.setX(double(legend_->x() - a.Left) / w);
        if (h > 0) legendAt_.setY(double(legend_->y() - a.Top) / h);
    }
    layout_ = canvasFor(TLayoutTarget::Screen, {0, 0, client_->width(), client_->height()}, client_->logicalDpiX(),
                        client_->logicalDpiY())
                  .Layout;
    const TPixelRect& a = layout_.Plot;
    legend_->move(a.Left + qRound(legendAt_.x() * room(a.Left, a.Right, legend_->width())),
                  a.Top + qRound(legendAt_.y() * room(a.Top, a.Bottom, legend_->height())));
    legend_->KeepInside();
    legendPutAt_ = legend_->pos();
    dragging_ = false;
    redraw();
}

void TPlotForm::redraw() {
    pictureValid_ = false;
    client_->update();
}

std::size_t TPlotForm::pictureKey() const {
    // Everything the window's picture is drawn from; a change that bypassed redraw() still shows.
    std::size_t key = 1469598103934665603u;
    const auto mix = [&key](auto value) { key = (key ^ std::hash<decltype(value)>{}(value)) * 1099511628211u; };
    mix(client_->width());
    mix(client_->height());
    mix(client_->devicePixelRatioF());
    for (const TPlotRange& r : ranges_) {
        for (const Extended v : {r.Xmin, r.Xmax, r.Ymin, r.Ymax}) mix(static_cast<double>(v));
    }
    for (const int v : {plot_.Markers, plot_.SizeFont, plot_.WidthLine, plot_.GetUnits(), plot_.WallLineCount}) mix(v);
    for (const bool v : {plot_.ShowLayers, plot_.ShowWall, plot_.ShowThree, plot_.XOnTop, plot_.GetTitleAtTop()})
        mix(v);
    for (const std::string* text : std::initializer_list<const std::string*>{
             &plot_.GetTitle(), &plot_.CurveName, &plot_.XCaption, &plot_.XUnits, &plot_.YCaption, &plot_.YUnits,
             &plot_.XCaption2, &plot_.XUnits2, &plot_.YCaption2, &plot_.YUnits2, &plot_.XCaption3, &plot_.XUnits3,
             &plot_.YCaption3, &plot_.YUnits3})
        mix(*text);
    for (int panel = 0; panel <= 3; ++panel) {
        const TObjectList<TLine>& set = panel == 0 ? plot_.Layers() : plot_.PanelLines(panel);
        mix(set.Count());
        for (int i = 0; i < set.Count(); ++i) {
            const TLine& line = *set.Items(i);
            mix(line.Visible);
            mix(line.Active);
            mix(line.Name);
            mix(static_cast<double>(line.Value));
            mix(line.GetPointCount());
            for (int j = 0; j < line.GetPointCount(); ++j) {
                mix(static_cast<double>(line.GetPoint(j)->X));
                mix(static_cast<double>(line.GetPoint(j)->Y));
            }
        }
    }
    return key;
}

TPlotCanvas TPlotForm::canvasFor(TLayoutTarget Target, const TPixelRect& Page, int DpiX, int DpiY) const {
    TPlotCanvas canvas;
    canvas.Target = Target;
    canvas.DpiX = DpiX;
    canvas.DpiY = DpiY;
    canvas.FontHeight = fontHeightAt(DpiY);
    canvas.Ranges = ranges_;
    TLayoutInput in;
    in.Target = Target;
    in.Page = Page;
    in.H = canvas.ScaledFontHeight(plot_.SizeFont);
    in.DpiX = DpiX;
    in.DpiY = DpiY;
    in.XOnTop = plot_.XOnTop;
    in.HasTitle = !plot_.GetTitle().empty();
    in.TitleAtTop = plot_.GetTitleAtTop();
    in.ShowLayers = plot_.ShowLayers;
    in.ShowThree = plot_.ShowThree;
    canvas.Layout = ComputeLayout(in);
    // Printed and saved pictures place the legend box where the list stands in the window.
    canvas.DrawLegendBox = Target != TLayoutTarget::Screen && legend_->isVisibleTo(client_);
    const QRect box = legend_->geometry();
    canvas.LegendAt =
        LegendPlace({box.left(), box.top(), box.left() + box.width(), box.top() + box.height()}, layout_.Plot);
    for (const TPlotLegend::Entry& e : legend_->Entries()) canvas.LegendEntries.emplace_back(e.Text, e.Curve);
    return canvas;
}

void TPlotForm::paintClient(QPainter& Painter) {
    // The picture is drawn into an image once per change and then only copied: dragging the legend or a
    // zoom rectangle repaints without drawing the curves again.
    const qreal ratio = client_->devicePixelRatioF();
    const QSize pixels = client_->size() * ratio;
    const std::size_t key = pictureKey();
    if (!pictureValid_ || picture_.size() != pixels || key != pictureKey_) {
        picture_ = QImage(pixels, QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(Qt::white);
        const TPlotCanvas canvas = canvasFor(TLayoutTarget::Screen, {0, 0, client_->width(), client_->height()},
                                             client_->logicalDpiX(), client_->logicalDpiY());
        QPainter painter(&picture_);
        PaintPlot(painter, plot_, canvas);
        pictureValid_ = true;
        pictureKey_ = key;
    }
    legendPlaced_ = true;
    Painter.drawImage(0, 0, picture_);
    if (dragging_) {
        Painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        Painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        Painter.setBrush(Qt::NoBrush);
        Painter.drawRect(QRect(anchor_, corner_).normalized());
    }
}

QPoint TPlotForm::heldInside(QPoint At) const {
    const TPixelRect& a = layout_.Plot;
    return {std::clamp(At.x(), a.Left, std::max(a.Left, a.Right)),
            std::clamp(At.y(), std::min(a.Top, a.Bottom), std::max(a.Top, a.Bottom))};
}

int TPlotForm::panelAt(int X) const {
    if (!plot_.ShowThree) return 0;
    for (int panel = 0; panel < 3; ++panel) {
        const TPixelRect& a = layout_.Panels[static_cast<std::size_t>(panel)];
        if (X >= a.Left && X <= a.Right) return panel;
    }
    return 0;
}

void TPlotForm::mousePress(QMouseEvent* Event) {
    const QPoint at = Event->position().toPoint();
    const TPixelRect& a = layout_.Plot;
    const bool inside = at.x() >= a.Left && at.x() <= a.Right && at.y() >= a.Top && at.y() <= a.Bottom;
    if (!inside || plot_.ShowThree) return;
    if (Event->button() == Qt::LeftButton) {
        dragging_ = true;
        anchor_ = corner_ = at;
    } else if (Event->button() == Qt::RightButton) {
        TPlotRange& r = ranges_[0];
        const TPlotRange& f = full_[0];
        const TFloatPoint d = ScreenToData(r, a, plot_.XOnTop, at.x(), at.y());
        std::tie(r.Xmin, r.Xmax) = ZoomAxisOut(r.Xmin, r.Xmax, f.Xmin, f.Xmax, d.X);
        std::tie(r.Ymin, r.Ymax) = ZoomAxisOut(r.Ymin, r.Ymax, f.Ymin, f.Ymax, d.Y);
        redraw();
    }
}

void TPlotForm::mouseMove(QMouseEvent* Event) {
    const QPoint at = heldInside(Event->position().toPoint());
    if (dragging_) {
        corner_ = at;
        client_->update();
    }
    const int panel = panelAt(at.x());
    const TPixelRect& a = plot_.ShowThree ? layout_.Panels[static_cast<std::size_t>(panel)] : layout_.Plot;
    const TFloatPoint d = ScreenToData(ranges_[static_cast<std::size_t>(panel)], a, plot_.XOnTop, at.x(), at.y());
    setWindowTitle(QString::fromStdString(plot_.Caption + " X: " + formatGeneral(d.X, kCaptionDigits) +
                                          " Y: " + formatGeneral(d.Y, kCaptionDigits)));
}

void TPlotForm::mouseRelease(QMouseEvent* Event) {
    if (!dragging_ || Event->button() != Qt::LeftButton) return;
    dragging_ = false;
    const QPoint at = heldInside(Event->position().toPoint());
    if (at.x() != anchor_.x() && at.y() != anchor_.y()) {
        TPlotRange& r = ranges_[0];
        const TPlotRange& f = full_[0];
        const TFloatPoint a = ScreenToData(r, layout_.Plot, plot_.XOnTop, anchor_.x(), anchor_.y());
        const TFloatPoint b = ScreenToData(r, layout_.Plot, plot_.XOnTop, at.x(), at.y());
        std::tie(r.Xmin, r.Xmax) = ZoomAxisIn(f.Xmin, f.Xmax, a.X, b.X);
        std::tie(r.Ymin, r.Ymax) = ZoomAxisIn(f.Ymin, f.Ymax, a.Y, b.Y);
    }
    redraw();
}

void TPlotForm::PrintOn(QPrinter& Printer) {
    Printer.setDocName(QString::fromStdString(plot_.Caption));
    QPainter painter;
    if (!painter.begin(&Printer)) throw Exception("The printer cannot be started.");
    const int dpiX = Printer.logicalDpiX(), dpiY = Printer.logicalDpiY();
    const QRect paint = Printer.pageLayout().paintRectPixels(Printer.resolution());
    const QRect full = Printer.pageLayout().fullRectPixels(Printer.resolution());
    const TPixelRect page = PrintPage(paint.width(), paint.height(), paint.left() - full.left(),
                                      paint.top() - full.top(), dpiX, dpiY, pageSetup_->MarginLeft(),
                                      pageSetup_->MarginTop(), pageSetup_->MarginRight(), pageSetup_->MarginBottom());
    PaintPlot(painter, plot_, canvasFor(TLayoutTarget::Printer, page, dpiX, dpiY));
    painter.end();
    redraw();
}

bool TPlotForm::SaveBitmap(const QString& FileName, QImage& Bitmap) {
    const int dpiX = client_->logicalDpiX(), dpiY = client_->logicalDpiY();
    Bitmap.setDotsPerMeterX(qRound(dpiX / 0.0254));
    Bitmap.setDotsPerMeterY(qRound(dpiY / 0.0254));
    {
        QPainter painter(&Bitmap);
        PaintPlot(painter, plot_,
                  canvasFor(TLayoutTarget::Bitmap, {0, 0, Bitmap.width(), Bitmap.height()}, dpiX, dpiY));
    }
    return Bitmap.save(FileName, "BMP");
}

void TPlotForm::applyPageLayout(QPrinter& Printer) const {
    if (!pageLayout_) return;
    Printer.setPageSize(pageLayout_->pageSize());
    Printer.setPageOrientation(pageLayout_->orientation());
}

void TPlotForm::PlotPrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    applyPageLayout(printer);
    if (dialogs_.Print && !dialogs_.Print(this, printer)) return;
    PrintOn(printer);
}

void TPlotForm::PlotPageClick() {
    // The window's own page: what Page Setup chooses is what Print uses.
    QPrinter printer(QPrinter::HighResolution);
    applyPageLayout(printer);
    if (pageSetup_->Execute(this, &printer)) pageLayout_ = printer.pageLayout();
}

void TPlotForm::PlotSaveClick() {
    const QString file = dialogs_.SaveFileName ? dialogs_.SaveFileName(this) : QString();
    if (file.isEmpty()) return;
    QImage bitmap;
    const int result = dialogs_.SaveAttributes ? dialogs_.SaveAttributes(this, bitmap) : QDialog::Rejected;
    if (result == TdlgFormat::kOutOfMemory) {
        platform::messages().get().information(this,
                                               QStringLiteral("There is not enough memory to complete this task."));
    } else if (result == QDialog::Accepted && !bitmap.isNull()) {
        if (!SaveBitmap(file, bitmap)) {
            platform::messages().get().information(this, QStringLiteral("Cannot create file \"%1\".").arg(file));
        }
    }
}

}  // namespace velmor::components
