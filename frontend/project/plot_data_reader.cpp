#include "project/plot_data_reader.h"

#include <algorithm>

#include "fields/exceptions.h"
#include "fields/utilities.h"
#include "project/program_data.h"
#include "tables/word_reader.h"

namespace velmor::project {

using components::EInOutError;
using components::TFloatPoint;
using components::TLine;
using components::TWordReader;

namespace {

const char* const kFloatExpected = "A floating point number was expected but not found.";
const char* const kIntegerExpected = "An integer was expected but not found.";

// Values that the engine writes as exactly zero padding: a point after the first whose X and Y are both
// below this (signed) repeats the point before it.
constexpr Extended kPadLimit = 1e-7L;

// Words of the plot-data file in order, with the count of words still unread, so that every count is
// checked against what the rest of the file can hold before it sizes a graph.
class PlotWords {
  public:
    explicit PlotWords(const std::string& FileName) : reader_(FileName) {
        const auto& lines = reader_.Lines();
        wordsFrom_.assign(static_cast<std::size_t>(lines.Count()) + 1, 0);
        for (int i = lines.Count() - 1; i >= 0; --i)
            wordsFrom_[static_cast<std::size_t>(i)] =
                wordsFrom_[static_cast<std::size_t>(i) + 1] + lines.Items(i)->Count();
    }

    Extended Real() {
        std::string word;
        reader_.ReadWord(word, kFloatExpected);
        Extended value = 0;
        if (!ParsePlotNumber(word, value)) fail(kFloatExpected);
        return value;
    }

    int Integer() {
        std::string word;
        reader_.ReadWord(word, kIntegerExpected);
        Extended value = 0;
        if (!ParsePlotNumber(word, value) || !components::IsIntegral(value)) fail(kIntegerExpected);
        return static_cast<int>(value);
    }

    // A count of records of `WordsEach` words that must still be in the file; a negative count reads as 0.
    int Count(int WordsEach, long long WordsAfter = 0) {
        const int count = std::max(Integer(), 0);
        if (static_cast<long long>(count) * WordsEach + WordsAfter > Remaining())
            fail("The count is larger than the rest of the file holds.");
        return count;
    }

    long long Remaining() const {
        const int line = reader_.CurrentLine();
        if (line >= reader_.Lines().Count()) return 0;
        return wordsFrom_[static_cast<std::size_t>(line)] - reader_.CurrentItem();
    }

  private:
    [[noreturn]] void fail(const char* expected) const {
        throw EInOutError("Error on Line " + std::to_string(reader_.CurrentLine() + 1) + " Item " +
                          std::to_string(reader_.CurrentItem()) + '\r' + expected);
    }

    TWordReader reader_;
    std::vector<long long> wordsFrom_;  // words from the start of each line to the end of the file
};

void setPoint(TFloatPoint* Point, Extended X, Extended Y) {
    Point->X = X;
    Point->Y = Y;
}

// A shorter curve continues with its last point: zero points after the first repeat the one before.
void padLine(TLine* Line) {
    for (int j = 1; j < Line->GetPointCount(); ++j) {
        TFloatPoint* p = Line->GetPoint(j);
        if (p->X < kPadLimit && p->Y < kPadLimit) *p = *Line->GetPoint(j - 1);
    }
}

void padSet(const components::TObjectList<TLine>& Set) {
    for (int i = 0; i < Set.Count(); ++i) padLine(Set.Items(i));
}

using PlotArray = TPlotArrays::Array;

// Each column is tested against the values as read, so padding one column does not change the test of
// the next.
void padArray(PlotArray& Values, const PlotArray& Other, int Series) {
    const auto read = Other[Series];
    auto& values = Values[Series];
    for (int j = 1; j < TPlotArrays::kPoints; ++j) {
        if (values[j] < kPadLimit && read[j] < kPadLimit) values[j] = values[j - 1];
    }
}

void padArrays(TPlotArrays& A, int Series) {
    const PlotArray pressureDepth = A.PressureDepth;
    padArray(A.PressureDepth, A.TotalPressure, Series);
    padArray(A.TotalPressure, pressureDepth, Series);
    const PlotArray resultDepth = A.ResultDepth;
    padArray(A.ResultDepth, A.Deflection, Series);
    for (PlotArray* values : {&A.Deflection, &A.Moment, &A.Shear, &A.SoilReaction})
        padArray(*values, resultDepth, Series);
}

void store(PlotArray& Values, int Series, int Point, Extended Value) {
    if (Series < TPlotArrays::kSeries && Point < TPlotArrays::kPoints) Values[Series][Point] = Value;
}

std::string layerName(int SoilType, Extended& Pattern) {
    switch (SoilType) {
        case 1:
        case 2:
        case 3:
            Pattern = 1.0;
            return " CLAY ";
        case 4:
            Pattern = 7.0;
            return " SAND ";
        case 5:
            Pattern = 8.0;
            return " SILT ";
        case 6:
            Pattern = 9.0;
            return "STRONG ROCK";
        case 7:
            Pattern = 10.0;
            return "WEAK ROCK";
        default:
            return std::string();
    }
}

void fillLayerStrip(TGraphPlot& Dms, const TPlotProject& Project) {
    const int layers = static_cast<int>(Project.Layers.size());
    Dms.SetLayerCount(layers);
    Dms.SetLayerPointCount(1);
    for (int i = 0; i < layers; ++i) {
        TLine* line = Dms.GetLayerLine(i);
        line->Name = "LAYER " + std::to_string(i + 1);
        Extended pattern = 0;
        const std::string name = layerName(Project.Layers[static_cast<std::size_t>(i)].SoilType, pattern);
        if (!name.empty()) line->Name = name;
        setPoint(line->GetPoint(0), pattern, Project.Layers[static_cast<std::size_t>(i)].BottomDepth);
    }
    Dms.WallLineCount = layers;
    // The wall is drawn against the layer depths, so in English units it is converted to feet as they are.
    const Extended toShown = Project.Units == 1 ? 12.0L : 1.0L;
    Dms.SetLayerCount(layers + 2);
    for (int i = layers; i < layers + 2; ++i) {
        TLine* line = Dms.GetLayerLine(i);
        line->Name = "PILE";
        line->SetPointCount(1);
        setPoint(line->GetPoint(0), 0, (i == layers ? Project.WallLength : Project.FreeHeight) / toShown);
    }
}

std::string seriesName(int Series, int EndFlag) {
    if (EndFlag == 9 && Series < 2) return Series == 0 ? "Short-Term" : "Long-Term";
    return "Stage: " + std::to_string(Series + 1);
}

void setCaptions(TResultGraphs& G, int UnitCode) {
    const bool english = UnitCode == 1;
    const std::string moment = english ? "(in-kips)" : "(m-kN)";
    const std::string force = english ? "(kips)" : "(kN)";
    const std::string depth = english ? "Depth (ft)" : "Depth (m)";
    G.pltMomEi.XCaption = "Moment " + moment;
    G.pltMomEi.YCaption = english ? "EI (kips-in^2)" : "EI (kN-m^2)";
    G.pltMomCurv.YCaption = "Moment " + moment;
    G.pltInter.XCaption = "Bending Moment " + moment;
    G.pltInter.YCaption = "Axial Load " + force;
    for (TGraphPlot* g : {&G.pltDef, &G.pltMom, &G.pltShear, &G.pltSoil, &G.pltLD}) g->YCaption = depth;
    G.pltMom.XCaption = "Bending Moment " + moment;
    G.pltShear.XCaption = "Shear " + force;
    G.pltLM.XCaption = "Maximum Moment " + moment;
    G.pltLM.YCaption = "Lateral Load " + force;

    G.pltDMS.XCaption = G.pltDef.XCaption;
    G.pltDMS.YCaption = G.pltDef.YCaption;
    G.pltDMS.XUnits = G.pltDef.XUnits;
    G.pltDMS.XCaption2 = G.pltMom.XCaption;
    G.pltDMS.YCaption2 = G.pltMom.YCaption;
    G.pltDMS.XUnits2 = G.pltMom.XUnits;
    G.pltDMS.XCaption3 = G.pltShear.XCaption;
    G.pltDMS.YCaption3 = G.pltShear.YCaption;
    G.pltDMS.XUnits3 = G.pltShear.XUnits;
}

}  // namespace

bool ParsePlotNumber(std::string_view Word, Extended& Value) {
    if (components::tryParseDecimal(Word, Value)) return true;
    // A three-digit exponent leaves no room for the letter: "0.100+100" is 0.100E+100.
    const std::size_t sign = Word.find_last_of("+-");
    if (sign == std::string_view::npos || sign == 0 || sign + 1 == Word.size()) return false;
    const char before = Word[sign - 1];
    if (before != '.' && (before < '0' || before > '9')) return false;
    for (std::size_t i = sign + 1; i < Word.size(); ++i) {
        if (Word[i] < '0' || Word[i] > '9') return false;
    }
    std::string text(Word.substr(0, sign));
    text += 'E';
    text += Word.substr(sign);
    return components::tryParseDecimal(text, Value);
}

TResultGraphs::TResultGraphs() {
    const auto depthPlot = [](TGraphPlot& g, const char* caption, const char* x, const char* xUnits) {
        g.Caption = caption;
        g.XCaption = x;
        g.XUnits = xUnits;
        g.YCaption = "Depth";
        g.XOnTop = true;
    };
    depthPlot(pltLD, "Earth Pressure Distribution", "Earth Pressure", "F/L");
    depthPlot(PltCombine, "Earth Pressure Combined", "Earth Pressure", "F/L");
    PltCombine.YUnits = "L2";
    depthPlot(pltDef, "Deflection vs Depth", "Deflection", "L");
    depthPlot(pltMom, "Moment vs Depth", "Bending Moment", "");
    depthPlot(pltShear, "Shear vs Depth", "Shear", "");
    // The engine writes the net soil reaction of each station, a force (the report's "NET REACT/STA").
    depthPlot(pltSoil, "Soil Reaction vs Depth", "Net Soil Reaction per Station", "F");
    depthPlot(pltDMS, "Deflection, Moment and Shear", "Deflection", "L");
    pltDMS.ShowLayers = true;
    pltDMS.ShowWall = true;

    const auto xyPlot = [](TGraphPlot& g, const char* caption, const char* x, const char* xUnits, const char* y,
                           const char* yUnits) {
        g.Caption = caption;
        g.XCaption = x;
        g.XUnits = xUnits;
        g.YCaption = y;
        g.YUnits = yUnits;
        g.XOnTop = false;
    };
    xyPlot(pltPY, "p-y Curves", "y", "L", "p", "F/L");
    pltPY.CurveName = "Depth ";
    xyPlot(pltInter, "Interaction Diagram", "Bending Moment", "", "Axial Load", "");
    xyPlot(pltMomEi, "Moment vs EI", "Moment", "", "EI", "");
    xyPlot(pltMomCurv, "Moment vs Curvature", "Curvature", "1/L", "Moment", "");
    xyPlot(pltLM, "Lateral Load vs Maximum Moment", "Maximum Moment", "", "Lateral Load", "");
    // Captions that name their units are completed by the plot-data reader for the unit system read.
    setCaptions(*this, 1);
}

std::array<TGraphPlot*, 12> TResultGraphs::All() {
    return {&pltLD,   &PltCombine, &pltPY,    &pltDef,   &pltMom,     &pltShear,
            &pltSoil, &pltDMS,     &pltInter, &pltMomEi, &pltMomCurv, &pltLM};
}

void ReadPlotData(const std::string& FileName, TResultGraphs& G, const TPlotProject& Project, TPlotArrays& Arrays,
                  int& PlotPointCount) {
    for (TGraphPlot* g : G.All()) g->SetPointCount(0);
    G.pltInter.SetLineCount(1);

    PlotWords words(FileName);
    const std::array<TGraphPlot*, 4> results{&G.pltDef, &G.pltMom, &G.pltShear, &G.pltSoil};
    int seriesTotal = 1;
    int curveUnit = 0;
    int resultRows = 0;  // largest result row count so far
    for (PlotArray* values : {&Arrays.TotalPressure, &Arrays.PressureDepth, &Arrays.ResultDepth, &Arrays.Deflection,
                              &Arrays.Moment, &Arrays.Shear, &Arrays.SoilReaction})
        for (auto& series : *values) series.fill(0);
    PlotPointCount = 0;

    for (int k = 0; k < seriesTotal; ++k) {
        // Earth pressure: (depth, total, from soils, from surcharges) per row.
        const int pressureRows = words.Count(4);
        G.pltLD.SetLineCount(k + 1);
        G.pltLD.SetPointCount(std::max(PlotPointCount, pressureRows));
        if (k == 0) {
            G.PltCombine.SetLineCount(3);
            G.PltCombine.GetLine(0)->Name = "Total Earth Pressure";
            G.PltCombine.GetLine(1)->Name = "from Soils ";
            G.PltCombine.GetLine(2)->Name = "from Surcharge Loads";
            G.PltCombine.SetPointCount(pressureRows);
        }
        PlotPointCount = std::max(PlotPointCount, pressureRows);
        TLine* pressure = G.pltLD.GetLine(k);
        const Extended combineDepth = Project.Units == 1 ? 12.0L : 1.0L;
        for (int j = 0; j < pressureRows; ++j) {
            const Extended depth = words.Real();
            const Extended total = words.Real();
            const Extended soils = words.Real();
            const Extended surcharges = words.Real();
            setPoint(pressure->GetPoint(j), total, depth);
            if (k == 0) {
                setPoint(G.PltCombine.GetPoint(0, j), total, depth / combineDepth);
                setPoint(G.PltCombine.GetPoint(1, j), soils, depth / combineDepth);
                setPoint(G.PltCombine.GetPoint(2, j), surcharges, depth / combineDepth);
            }
            store(Arrays.TotalPressure, k, j, total);
            store(Arrays.PressureDepth, k, j, depth);
        }

        // p-y curves: a fresh set per series; each curve a header value, a count and (y, p) pairs.
        curveUnit = words.Integer();
        if (curveUnit == 1) {
            for (int j = 0; j < pressureRows; ++j) pressure->GetPoint(j)->Y /= 12;
        }
        const int curves = words.Count(2);
        G.pltPY.SetLineCount(0);
        G.pltPY.SetLineCount(curves);
        int longest = 0;
        for (int c = 0; c < curves; ++c) {
            TLine* curve = G.pltPY.GetLine(c);
            curve->Value = words.Real();
            const int points = words.Count(2, 2LL * (curves - c - 1));
            curve->SetPointCount(points);
            for (int j = 0; j < points; ++j) {
                const Extended y = words.Real();
                setPoint(curve->GetPoint(j), y, words.Real());
            }
            longest = std::max(longest, points);
        }
        // Shorter curves repeat their last point; a curve without points stays at zero.
        for (int c = 0; c < curves; ++c) {
            TLine* curve = G.pltPY.GetLine(c);
            const int points = curve->GetPointCount();
            curve->SetPointCount(longest);
            for (int j = std::max(points, 1); j < longest && points > 0; ++j)
                *curve->GetPoint(j) = *curve->GetPoint(j - 1);
        }

        // Results: series code, row count, unit code, then (depth, deflection, moment, shear, reaction).
        const int seriesCode = words.Integer();
        if (seriesCode > seriesTotal || (k == 0 && seriesCode > 1)) {
            if (static_cast<long long>(seriesCode - k - 1) * 6 > words.Remaining())
                throw EInOutError("The series count is larger than the rest of the file holds.");
            seriesTotal = seriesCode;
        }
        for (TGraphPlot* g : results) g->SetLineCount(seriesTotal);
        G.pltDMS.SetLineCount(seriesTotal);
        G.pltDMS.SetLineCount2(seriesTotal);
        G.pltDMS.SetLineCount3(seriesTotal);
        const int rows = words.Count(5, 1);
        resultRows = std::max(resultRows, rows);
        for (TGraphPlot* g : results) g->SetPointCount(resultRows);
        G.pltDMS.SetPointCount(resultRows);
        G.pltDMS.SetPointCount2(resultRows);
        G.pltDMS.SetPointCount3(resultRows);
        words.Integer();  // unit code of the results: the p-y section's code decides the conversion
        G.pltDMS.ShowThree = true;
        // Every read names the curves anew (a series code raised by a later series renames the earlier
        // ones): a single problem's curves keep the default name, whatever an earlier file named them.
        for (int i = 0; i <= k; ++i) {
            const std::string name = seriesTotal > 1 ? seriesName(i, Project.EndFlag) : std::string();
            for (TGraphPlot* g : {&G.pltLD, &G.pltDef, &G.pltMom, &G.pltShear, &G.pltSoil}) g->GetLine(i)->Name = name;
            G.pltDMS.GetLine(i)->Name = name;
            G.pltDMS.GetLine2(i)->Name = name;
            G.pltDMS.GetLine3(i)->Name = name;
        }
        for (int j = 0; j < rows; ++j) {
            Extended depth = words.Real();
            const Extended deflection = words.Real();
            Extended moment = words.Real();
            Extended shear = words.Real();
            const Extended reaction = words.Real();
            if (curveUnit == 1) {
                depth /= 12;     // in to ft
                moment /= 1000;  // lb-in to kip-in
                shear /= 1000;   // lb to kips
            }
            setPoint(G.pltDef.GetPoint(k, j), deflection, depth);
            setPoint(G.pltMom.GetPoint(k, j), moment, depth);
            setPoint(G.pltShear.GetPoint(k, j), shear, depth);
            setPoint(G.pltSoil.GetPoint(k, j), reaction, depth);
            setPoint(G.pltDMS.GetPoint(k, j), deflection, depth);
            setPoint(G.pltDMS.GetPoint2(k, j), moment, depth);
            setPoint(G.pltDMS.GetPoint3(k, j), shear, depth);
            store(Arrays.ResultDepth, k, j, depth);
            store(Arrays.Deflection, k, j, deflection);
            store(Arrays.Moment, k, j, moment);
            store(Arrays.Shear, k, j, shear);
            store(Arrays.SoilReaction, k, j, reaction);
        }
        if (k == 0 && G.pltDMS.GetLineCount() > 0 && G.pltDMS.GetPointCount() > 0) fillLayerStrip(G.pltDMS, Project);
    }

    G.pltLD.SetLineCount(seriesTotal);
    G.pltLD.SetPointCount(PlotPointCount);
    for (TGraphPlot* g : {&G.pltLD, &G.pltDef, &G.pltMom, &G.pltShear, &G.pltSoil}) padSet(g->Lines());
    for (int panel = 1; panel <= 3; ++panel) padSet(G.pltDMS.PanelLines(panel));
    for (int s = 0; s < std::min(seriesTotal, TPlotArrays::kSeries); ++s) padArrays(Arrays, s);

    setCaptions(G, curveUnit);
    for (TGraphPlot* g : G.All()) g->SetUnits(curveUnit);
}

}  // namespace velmor::project
