#include "graphs/graph_plot.h"

#include <algorithm>

namespace velmor::components {

namespace {
TGraphPlot::TWindowFactory& defaultFactory() {
    static TGraphPlot::TWindowFactory factory;
    return factory;
}

// Curve values are short decimal numbers (a count, a depth): 15 digits show them without binary noise.
constexpr int kValueDigits = 15;
}  // namespace

TLine::TLine(TGraphPlot* Owner) : Plot(Owner) {
    if (Owner != nullptr) {
        Value = Owner->GetLineCount() + 1;
        SetPointCount(Owner->GetLineCount() > 0 ? Owner->GetLine(0)->GetPointCount() : 0);
    }
}

void TLine::SetPointCount(int N) {
    N = std::max(N, 0);
    while (Points.Count() > N) Points.Delete(Points.Count() - 1);
    while (Points.Count() < N) Points.Add(new TFloatPoint);
}

std::string TLine::GetName() const {
    if (!Name.empty()) return Name;
    return (Plot != nullptr ? Plot->CurveName : std::string()) + formatGeneral(Value, kValueDigits);
}

TGraphPlot::TGraphPlot() = default;

TGraphPlot::~TGraphPlot() {
    if (window_ != nullptr) {
        TGraphWindow* window = window_;
        window_ = nullptr;
        window->FreeWindow();
    }
}

void TGraphPlot::SetUnits(int Value) {
    units_ = std::clamp(Value, 1, 3);
}

const TObjectList<TLine>& TGraphPlot::PanelLines(int Panel) const {
    switch (Panel) {
        case 2:
            return lines2_;
        case 3:
            return lines3_;
        default:
            return lines_;
    }
}

void TGraphPlot::Show() {
    if (window_ == nullptr) {
        const TWindowFactory& factory = factory_ ? factory_ : defaultFactory();
        if (!factory) return;
        window_ = factory(*this);
    }
    if (window_ != nullptr) window_->ShowWindow();
}

void TGraphPlot::SetDefaultWindowFactory(TWindowFactory Factory) {
    defaultFactory() = std::move(Factory);
}

void TGraphPlot::resizeSet(TObjectList<TLine>& Set, int N) {
    N = std::max(N, 0);
    while (Set.Count() > N) Set.Delete(Set.Count() - 1);
    while (Set.Count() < N) Set.Add(new TLine(this));
}

int TGraphPlot::pointCount(const TObjectList<TLine>& Set) {
    return Set.Count() > 0 ? Set.Items(0)->GetPointCount() : 0;
}

void TGraphPlot::resizePoints(TObjectList<TLine>& Set, int N) {
    for (int i = 0; i < Set.Count(); ++i) Set.Items(i)->SetPointCount(N);
}

}  // namespace velmor::components
