#pragma once

#include <functional>
#include <string>

#include "fields/number_text.h"
#include "fields/object_list.h"

namespace velmor::components {

class TGraphPlot;

// One point of a curve, in the graph's data units.
class TFloatPoint {
  public:
    Extended X = 0;
    Extended Y = 0;
};

// One curve of a graph: its points in order, owned by the line, and its legend settings.
class TLine {
  public:
    explicit TLine(TGraphPlot* Owner);
    TLine(const TLine&) = delete;
    TLine& operator=(const TLine&) = delete;

    TObjectList<TFloatPoint> Points;
    Extended Value = 0;  // the front end keeps the depth of a p-y curve here
    std::string Name;
    bool Visible = true;  // drawn
    bool Active = true;   // listed in the legend and given a colour
    TGraphPlot* Plot = nullptr;

    int GetPointCount() const { return Points.Count(); }
    // An index outside 0..GetPointCount()-1 raises EListError.
    TFloatPoint* GetPoint(int J) const { return Points.Items(J); }
    // Exactly N points afterwards (N below 0 counts as 0): surplus freed from the end, new ones zeroed.
    void SetPointCount(int N);
    // `Name` when set, else the graph's `CurveName` followed by `Value` ("Curve #3").
    std::string GetName() const;
};

// The window that shows a graph. The graph creates it through a factory (the Qt layer supplies one), so this
// class stays free of any window library.
class TGraphWindow {
  public:
    virtual ~TGraphWindow() = default;
    // Shows the window, restores it when minimized and brings it to the front.
    virtual void ShowWindow() = 0;
    // Frees the window without telling the graph (the graph is being destroyed).
    virtual void FreeWindow() = 0;
};

// One result graph: four curve sets and the display settings of its window.
//   set 1: curves of the single view, or of the first panel of the three-panel view
//   set 2: soil-layer lines, then the wall lines from index WallLineCount on
//   set 3 and set 4: curves of the second and third panels
class TGraphPlot {
  public:
    using TGetCaptionEvent = std::function<void(int Index, std::string& Value)>;
    using TWindowFactory = std::function<TGraphWindow*(TGraphPlot& Plot)>;

    TGraphPlot();
    ~TGraphPlot();
    TGraphPlot(const TGraphPlot&) = delete;
    TGraphPlot& operator=(const TGraphPlot&) = delete;

    // Stored settings, in the order the stored layout writes them.
    std::string CurveName = "Curve #";
    std::string Caption;
    bool ShowLegend = true;
    bool ShowLayers = false;
    bool ShowWall = false;
    bool ShowThree = false;
    bool ShowFontWidth = true;
    int WallLineCount = 0;  // index in set 2 of the first wall line
    int Markers = 1;        // a marker at point 0 and every n-th point; 0 none
    int SizeFont = 10;      // axis and caption text size, tenths of the window font's height
    int LegendFont = 11;    // points
    int WidthLine = 1;      // curve pen width multiplier
    int GetUnits() const { return units_; }
    void SetUnits(int Value);  // 1 English, 2 SI, 3 as written; clamped to 1..3
    std::string XCaption, XUnits;
    bool XOnTop = true;  // X axis at the top, Y growing downward (depth plots)
    std::string YCaption, YUnits;
    std::string XCaption2, XUnits2, YCaption2, YUnits2;
    std::string XCaption3, XUnits3, YCaption3, YUnits3;
    TGetCaptionEvent onGetCaption;

    // Set 1.
    int GetLineCount() const { return lines_.Count(); }
    void SetLineCount(int N) { resizeSet(lines_, N); }
    int GetPointCount() const { return pointCount(lines_); }
    void SetPointCount(int N) { resizePoints(lines_, N); }
    TLine* GetLine(int I) const { return lines_.Items(I); }
    TFloatPoint* GetPoint(int I, int J) const { return lines_.Items(I)->GetPoint(J); }

    // Set 2.
    int GetLayerCount() const { return layers_.Count(); }
    void SetLayerCount(int N) { resizeSet(layers_, N); }
    int GetLayerPointCount() const { return pointCount(layers_); }
    void SetLayerPointCount(int N) { resizePoints(layers_, N); }
    TLine* GetLayerLine(int I) const { return layers_.Items(I); }
    TFloatPoint* GetLayerPoint(int I, int J) const { return layers_.Items(I)->GetPoint(J); }

    // Set 3.
    int GetLineCount2() const { return lines2_.Count(); }
    void SetLineCount2(int N) { resizeSet(lines2_, N); }
    int GetPointCount2() const { return pointCount(lines2_); }
    void SetPointCount2(int N) { resizePoints(lines2_, N); }
    TLine* GetLine2(int I) const { return lines2_.Items(I); }
    TFloatPoint* GetPoint2(int I, int J) const { return lines2_.Items(I)->GetPoint(J); }

    // Set 4.
    int GetLineCount3() const { return lines3_.Count(); }
    void SetLineCount3(int N) { resizeSet(lines3_, N); }
    int GetPointCount3() const { return pointCount(lines3_); }
    void SetPointCount3(int N) { resizePoints(lines3_, N); }
    TLine* GetLine3(int I) const { return lines3_.Items(I); }
    TFloatPoint* GetPoint3(int I, int J) const { return lines3_.Items(I)->GetPoint(J); }

    // Whole sets, for the window's drawing and ranges. Panel 1..3 give sets 1, 3 and 4.
    const TObjectList<TLine>& Lines() const { return lines_; }
    const TObjectList<TLine>& Layers() const { return layers_; }
    const TObjectList<TLine>& PanelLines(int Panel) const;

    // The graph title, edited in the window; kept for the next window.
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& Value) { title_ = Value; }
    bool GetTitleAtTop() const { return titleAtTop_; }
    void SetTitleAtTop(bool Value) { titleAtTop_ = Value; }

    // Creates the window once through the factory, then shows it (restored and in front).
    void Show();
    bool WindowExists() const { return window_ != nullptr; }
    TGraphWindow* Window() const { return window_; }
    // Called by the window when it frees itself on close.
    void WindowClosed() { window_ = nullptr; }

    // The factory used by Show: this graph's own when set, else the program-wide default.
    void SetWindowFactory(TWindowFactory Factory) { factory_ = std::move(Factory); }
    static void SetDefaultWindowFactory(TWindowFactory Factory);

  private:
    void resizeSet(TObjectList<TLine>& Set, int N);
    static int pointCount(const TObjectList<TLine>& Set);
    static void resizePoints(TObjectList<TLine>& Set, int N);

    TObjectList<TLine> lines_, layers_, lines2_, lines3_;
    int units_ = 1;
    std::string title_;
    bool titleAtTop_ = false;
    TGraphWindow* window_ = nullptr;
    TWindowFactory factory_;
};

}  // namespace velmor::components
