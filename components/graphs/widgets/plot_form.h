#pragma once

#include <QImage>
#include <QPageLayout>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "graphs/graph_plot.h"
#include "graphs/plot_geometry.h"
#include "graphs/widgets/plot_painter.h"

class QAction;
class QMenu;
class QMenuBar;
class QPrinter;

namespace velmor::components {

class TPlotLegend;
class TPageSetupDialog;

// The dialogs the Plot menu opens. The window calls them through these hooks so that tests can answer
// them; the defaults are the graph dialogs.
struct TPlotDialogs {
    // "Graph Title": edits the graph's title and its place, however the dialog is closed.
    std::function<void(QWidget* parent, TGraphPlot& plot)> EditTitle;
    // "Edit Legend": True when the curves' names were changed (OK).
    std::function<bool(QWidget* parent, TGraphPlot& plot)> EditLegendNames;
    // "Active Curves": True when the curves' Active flags were changed (OK).
    std::function<bool(QWidget* parent, TGraphPlot& plot)> EditActiveCurves;
    // "Save Attributes": sizes the bitmap; QDialog::Accepted, QDialog::Rejected or TdlgFormat::kOutOfMemory.
    std::function<int(QWidget* parent, QImage& bitmap)> SaveAttributes;
    // The file the bitmap is saved to; empty when cancelled.
    std::function<QString(QWidget* parent)> SaveFileName;
    // Chooses where to print (ChoosePrintTarget by default); False when cancelled.
    std::function<bool(QWidget* parent, QPrinter& printer)> Print;
    static TPlotDialogs& Defaults();
};

// The window of one graph: axes with automatic ranges, dotted grid, captions, curves with markers, a
// draggable legend, the soil strip with the wall and the three-panel view. Drag a rectangle to zoom in,
// right-click to zoom out; the caption shows the data under the mouse. It frees itself when closed.
class TPlotForm : public QWidget, public TGraphWindow {
    Q_OBJECT

  public:
    explicit TPlotForm(TGraphPlot& Plot, QWidget* parent = nullptr);
    ~TPlotForm() override;

    // Installs the factory that lets every graph's Show open one of these windows.
    static void InstallAsGraphWindow();

    void ShowWindow() override;
    void FreeWindow() override;

    TGraphPlot& Plot() const { return plot_; }
    QMenu* PlotMenu() const { return plotMenu_; }
    TPlotLegend* Legend() const { return legend_; }
    QWidget* ClientArea() const { return client_; }
    TPageSetupDialog& PageSetup() { return *pageSetup_; }
    // Paper size and orientation chosen in Page Setup; none before, and Print takes the printer's own.
    const std::optional<QPageLayout>& PageLayout() const { return pageLayout_; }
    TPlotDialogs& Dialogs() { return dialogs_; }

    const TPlotLayout& Layout() const { return layout_; }
    const TPlotRange& Range(int Panel) const { return ranges_[static_cast<std::size_t>(Panel)]; }
    const TPlotRange& FullRange(int Panel) const { return full_[static_cast<std::size_t>(Panel)]; }

    // Lays the window out; with ResetLegend the legend's bottom-right corner goes to the plot's.
    void FormResize(bool ResetLegend);
    // The canvas of a target: its layout for the page, the current ranges and the legend box.
    TPlotCanvas PictureCanvas(TLayoutTarget Target, const TPixelRect& Page, int DpiX, int DpiY) const {
        return canvasFor(Target, Page, DpiX, DpiY);
    }
    // Refreshes the Plot menu's checks and visibility as when it opens.
    void RefreshPlotMenu();
    // Prints the graph on `Printer` as one page inside the page-setup margins.
    void PrintOn(QPrinter& Printer);
    // Draws the graph into `Bitmap` at the screen's resolution and writes it as a Windows bitmap file.
    bool SaveBitmap(const QString& FileName, QImage& Bitmap);

    // The Plot menu's commands.
    void PlotPrintClick();
    void PlotPageClick();
    void PlotSaveClick();
    void SetSizeFont(int Value);
    void ToggleCurve(int Curve);

  private:
    friend class TPlotClient;
    void buildMenu();
    void rebuildCurves(bool AtCreation);
    QString legendText(int Curve, bool AtCreation) const;
    // The canvas of one target: its layout for the page, the current ranges and the legend box.
    TPlotCanvas canvasFor(TLayoutTarget Target, const TPixelRect& Page, int DpiX, int DpiY) const;
    void paintClient(QPainter& Painter);
    void mousePress(QMouseEvent* Event);
    void mouseMove(QMouseEvent* Event);
    void mouseRelease(QMouseEvent* Event);
    int panelAt(int X) const;
    QPoint heldInside(QPoint At) const;
    // Draws the picture afresh on the next paint.
    void redraw();
    std::size_t pictureKey() const;
    void showLegendList();
    // Sizes the legend to its entries; `Before` is where it stood.
    void refitLegend(const QRect& Before);
    void applyPageLayout(QPrinter& Printer) const;

    TGraphPlot& plot_;
    TPlotDialogs dialogs_;
    QMenuBar* menuBar_ = nullptr;
    QMenu* plotMenu_ = nullptr;
    QMenu* markersMenu_ = nullptr;
    QAction* showLegend_ = nullptr;
    QAction* showLayers_ = nullptr;
    QAction* showWall_ = nullptr;
    QAction* fontSize_ = nullptr;
    QAction* lineWidth_ = nullptr;
    QAction* print_ = nullptr;
    QAction* pageSetupItem_ = nullptr;
    QWidget* client_ = nullptr;
    TPlotLegend* legend_ = nullptr;
    std::unique_ptr<TPageSetupDialog> pageSetup_;

    std::array<TPlotRange, 3> ranges_, full_;
    TPlotLayout layout_;
    QImage picture_;  // the client area's picture, drawn again only after a change
    bool pictureValid_ = false;
    std::size_t pictureKey_ = 0;
    std::optional<QPageLayout> pageLayout_;
    bool legendPlaced_ = false;
    // The legend's place in the plot frame as fractions of the room it can move in (1, 1: the bottom-right
    // corner), kept through resizes, and where the window last put it; a move since then was the user's.
    QPointF legendAt_{1, 1};
    QPoint legendPutAt_{-1, -1};
    bool dragging_ = false;
    QPoint anchor_, corner_;
    bool freedByGraph_ = false;
    bool shownOnce_ = false;
};

}  // namespace velmor::components
