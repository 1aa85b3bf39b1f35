#pragma once

#include <array>
#include <memory>
#include <string>

#include "fields/number_text.h"
#include "project/main_window_hooks.h"
#include "project/project_tables.h"

namespace velmor::project {

using components::Extended;

// Layouts of the input file that the reader knows.
enum TFormatVersion { kFormatCurrent = 1, kFormat30 = 2, kFormat20 = 3 };

// Results of the last plot-data file by series (problem or stage, 0..10) and point (0..300).
struct TPlotArrays {
    static constexpr int kSeries = 11;
    static constexpr int kPoints = 301;
    using Array = std::array<std::array<Extended, kPoints>, kSeries>;
    Array TotalPressure{};
    Array PressureDepth{};
    Array ResultDepth{};
    Array Deflection{};
    Array Moment{};
    Array Shear{};
    Array SoilReaction{};
};

// One project: its scalar data, its nineteen tables (with their table spaces) and the working arrays of the
// plot-data reader. The program owns it (the main window holds the current one); nothing is global, so a
// project can be read while another is still shown and replaced only when the read succeeded.
//
// Units of the stored values: inches, pounds and pounds per square inch in unit system 1; metres,
// kilonewtons and kilonewtons per square metre in system 2. Tables show feet and per-foot values in system 1
// where their unit codes say so; the input file holds the values above.
class TProgramData {
  public:
    // A new default project ("NewWall.vm4d", "New Wall"): child windows closed, every plain table at its
    // MinRows rows of defaults, the chart tables empty, the modified state cleared.
    explicit TProgramData(TMainWindowHooks& Hooks = TMainWindowHooks::None());
    TProgramData(const TProgramData&) = delete;
    TProgramData& operator=(const TProgramData&) = delete;
    ~TProgramData();

    // Reads a project from an input file in the layout `FormatVersion` (1 current, 2 the older layout 3.0,
    // anything else 2.0) into a new object. Errors raise EInOutError with the reader's message; the caller
    // keeps its previous project then. The hooks' child windows are closed only after a successful read.
    static std::unique_ptr<TProgramData> CreateFromFile(const std::string& FileName, int FormatVersion,
                                                        TMainWindowHooks& Hooks = TMainWindowHooks::None());

    // Writes the project (one construction stage, with its long-term problem when there is one) to
    // FileName; then the modified state is cleared and FullFormat set. A failed write leaves the previous
    // file intact, raises EInOutError and keeps the modified state.
    void SaveToFile();
    // Writes the current stage to StageFileName (stage 2 or more titled " Stage No : " and the stage, end
    // flag the stage number); then as SaveToFile.
    void SaveStageFile();
    // The text of the file that SaveToFile and SaveStageFile write (the same changes to the project).
    std::string ProblemText(bool Stage);

    // Switches the unit system (clamped to 1..3), converting the stored values between 1 and 2 and every
    // table by its unit codes; the surcharge magnitudes are converted row by row by load type. A change that
    // would give a value the analysis cannot read raises EMathError naming it, and changes nothing.
    void SetUnits(int U);

    TProjectTables& Tables() { return *tables_; }
    const TProjectTables& Tables() const { return *tables_; }
    TMainWindowHooks& Hooks() { return *hooks_; }
    // Clears the changed state of every plain table and the window's modified flag.
    void ClearModified();
    // True when a plain table reports a change (the window adds its own flag).
    bool TablesChanged() const { return tables_->GetChanged(); }

    int Units = 1;
    std::string FileName = "NewWall.vm4d";
    std::string StageFileName;
    std::string CombinedFileName;
    std::string PreviousFileName;
    std::string Title = "New Wall";  // at most 80 characters in the title dialog; kept byte for byte
    int PressureColumns = 4;
    int EarthPressureOption = 0;  // as last written or read: 0 none, 1 user, 2 triangular, 3 trapezoidal
    int PYOption = 0;             // as last written or read: 0 none, 1 user curves only, 2 generated
    int MEICurveCount = 0;
    int PlotPointCount = 0;
    std::unique_ptr<TPlotArrays> PlotArrays;
    int NumIncrements = 0;
    Extended IncrementLength = 0;
    Extended MaxDeflection = 100.0;
    Extended ClosureTolerance = 0.00001L;
    Extended FreeHeight = 0;
    Extended SurchargeAtTop = 0;
    Extended WaterTableBackfill = 0;
    Extended WaterTableExcavation = 0;
    Extended ActivePressureFactor = 1.0;
    // Surcharges of the older layouts: distance X, point load, line load, strip load, strip width W.
    Extended SurchargeDistance = 0;
    Extended PointSurcharge = 0;
    Extended LineSurcharge = 0;
    Extended StripSurcharge = 0;
    Extended StripWidth = 0;
    bool UseExternalPYCurves = false;
    bool UseMEICurves = false;
    bool UsePYModification = false;
    bool UseUserEarthPressure = false;
    bool UseConcentratedLoads = false;
    bool UseSprings = false;
    bool UseSurcharges = false;
    int WallRecordCode = 1;  // seventh item of the wall record, passed through unchanged
    bool UseRestraints = false;
    bool ShortAndLongTerm = false;
    // A new project analyses generated, triangular earth pressure; a file read sets both from its option.
    int GenerateEarthPressure = 1;  // 1 on, 0 off
    int EarthPressureMethod = 2;    // Earth-Pressure menu choice: 1 user, 2 triangular, 3 trapezoidal
    int GeneratePYCurves = 1;       // 1 on, 0 off
    int StageCount = 1;
    int EndFlag = 0;  // last end flag written or read: 0, 9 or a stage number
    int CurrentStage = 1;
    Extended BackfillSlope = 0;  // degrees
    Extended Wa = 0;             // wall width for earth pressure
    Extended Wp = 0;             // wall width for soil resistance
    bool FullFormat = true;      // stage files are read in the current layout

  private:
    // SetUnits, checked or not: the reader switches to the unit system of the file whose values then replace
    // what was converted.
    void setUnits(int U, bool Check);
    friend class TInputFileReader;

    struct NoReset {};
    // A project with default fields and fresh, empty tables; nothing else (the reader's start).
    TProgramData(TMainWindowHooks& Hooks, NoReset);

    TMainWindowHooks* hooks_;
    std::unique_ptr<TProjectTables> tables_;
};

// The writers' real-number text: general format with 8 significant digits, "." as decimal point.
std::string FloatToText(Extended Value);

}  // namespace velmor::project
