#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "earth_pressure_work.h"
#include "input_blocks.h"
#include "runtime/record_io.h"
#include "soil/soil_blocks.h"
#include "solver_work.h"

namespace velmor::engine {

// Engine file units; each names one open file at a time.
enum FileUnit : int {
    kConsole = 0,
    kRunControlUnit = 2,  // names.dat, later debug.dat and the scratch profile file while it is written
    kPlotUnit = 3,
    kMonitorUnit = 4,
    kInputUnit = 5,
    kReportUnit = 6,
    kReadBackUnit = 8,      // read-back of kstrut.001 and soildata
    kCurveScratchUnit = 9,  // soildata while the curve generator writes it
};

// Scratch and control files in the current directory: one name each, shared by writer and reader.
inline constexpr const char* kNamesFile = "names.dat";
inline constexpr const char* kSoilDataFile = "soildata";
inline constexpr const char* kProfileFile = "kstrut.001";
inline constexpr const char* kDebugFile = "debug.dat";

inline constexpr int kMaxIncrements = 407;

// A fixed-width character field of a data block, printed with A edit descriptors.
template <std::size_t N>
struct FixedText {
    std::array<char, N> chars;
    void assign(std::string_view text) {
        for (std::size_t i = 0; i < N; ++i) chars[i] = i < text.size() ? text[i] : ' ';
    }
    std::string_view view() const { return std::string_view(chars.data(), N); }
};

// Pieces of the report's unit labels for the current unit system.
struct UnitLabels {
    FixedText<3> lengthLong;
    FixedText<4> forceLong;
    FixedText<2> lengthShort;
    FixedText<3> forceShort;
    FixedText<1> slash;
    FixedText<1> dash;
    FixedText<2> power;
    FixedText<1> two;
    FixedText<3> three;
    FixedText<1> four;
    FixedText<3> radian;
};

// Items of the control and increments records and the driver's per-problem bookkeeping.
struct ProblemControl {
    int32_t unitSystem;
    int32_t nds;  // specified deflection/slope points
    int32_t nsr;  // stiffness rows
    int32_t npm;  // p-y modification factors
    int32_t earthPressureOption;
    int32_t pyOption;
    int32_t nuc;  // user p-y curves
    int32_t stageCount;
    int32_t meiCurveCount;

    // increments record
    int32_t ni;
    double h;
    double maxDeflection;
    double closureTolerance;
    double freeHeight;
    double twoH, hSquared, hCubed;

    int32_t generateEarthPressureEcho;
    int32_t generateCurvesEcho;
    int32_t problemCounter;
    int32_t endFlag;
    int32_t seriesCode;
    int32_t savedStageCount;
    int32_t unitLabelFlag;
    int32_t iterationLimit;
    int32_t unitCode;
};

// The solver's result rows by station, for the report and the plot-data results section.
struct NodalResults {
    static constexpr int kMaxRows = kPositions;
    int32_t rowCount;
    std::array<double, kMaxRows> depth;
    std::array<double, kMaxRows> deflection;
    std::array<double, kMaxRows> moment;
    std::array<double, kMaxRows> shear;
    std::array<double, kMaxRows> reaction;
};

// Every data block of the engine. Plain data only, all zero when cleared: every run starts from cleared
// blocks, so a run never depends on what an earlier run in the same process left behind.
struct EngineState {
    ProblemControl control;
    UnitLabels labels;
    StationGeometry geometry;
    RunControl run;
    WallStations stations;
    RestraintValues restraints;
    ConcentratedMoments moments;
    WallSoilInput wallSoil;
    UserPYCurves userCurves;
    PYCurveStore curves;
    MEICurveStore meiCurves;
    EarthPressureProfile profile;
    ExcavationLevelValues excavationLevel;
    EarthPressureWork earth;
    SoilModel soil;
    StationSoilValues stationSoil;
    SolverWork solver;
    NodalResults results;
};

// The process-wide blocks that the exported entry runs on.
EngineState& engineState();

// The process-wide blocks cleared for a run. Blocks nobody has handed out since the library was loaded are
// still zero storage and are not touched at all, so a freshly loaded library touches only the pages its
// run uses (in one large page where the system offers them, see rt::WorkBlock); otherwise ClearUsedBlocks
// clears them.
EngineState& FreshEngineState();

// Sets every byte of the blocks to zero that a run may have written: all of the small blocks, and the four
// large row stores (user curves, curve set, pressure profile, earth-pressure rows) up to their rowsWritten.
void ClearUsedBlocks(EngineState& st);

// The step quantities of the increments record in the one place they are derived: 2h, h squared and
// h cubed for the solver, and the copies of h, NI, the free height and the unit code (and the wall length
// NI x h) that the earth-pressure module and the curve generator read.
void DeriveStepQuantities(EngineState& st);

// What every phase of a run works on: the file units and the data blocks.
struct Engine {
    rt::RecordIO& io;
    EngineState& st;
};

}  // namespace velmor::engine
