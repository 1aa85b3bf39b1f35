#include "run_driver.h"

#include <string>
#include <vector>

#include "curve_intake.h"
#include "earth_pressure.h"
#include "input_records.h"
#include "plot_file.h"
#include "runtime/run_errors.h"
#include "soil/soil_model.h"
#include "soil/unit_labels.h"
#include "wall_solver.h"

namespace velmor::engine {

namespace {

constexpr std::size_t kNameLength = 255;
constexpr int kTitleWidth = 70;

struct RunFileNames {
    std::string input, report, plot, monitor;
    std::string currentTitle, firstTitle;
};

std::string trimRight(std::string s) {
    std::size_t end = s.find_last_not_of(' ');
    s.erase(end == std::string::npos ? 0 : end + 1);
    return s;
}

// Reads the four lines of names.dat. A missing file, fewer than four lines or a line longer than a name
// can hold all give false: opening files under an empty or cut name would write where nobody looks.
bool readRunControl(rt::RecordIO& io, RunFileNames& names) {
    try {
        io.open(kRunControlUnit, kNamesFile, rt::Access::Read);
    } catch (const rt::RecordFault&) {
        return false;
    }
    std::string* fields[] = {&names.input, &names.report, &names.plot, &names.monitor};
    for (std::string* field : fields) {
        std::string line;
        if (!io.tryReadText(kRunControlUnit, static_cast<int>(kNameLength), line, kNameLength)) return false;
        *field = trimRight(line);
        if (field->empty()) return false;
    }
    io.close(kRunControlUnit);
    return true;
}

void writeTitleLine(Engine& e, const RunFileNames& names) {
    const ProblemControl& c = e.st.control;
    if (c.stageCount > 1) {
        e.io.write(kReportUnit, "(/,6X,'Stage No :',I2,2X,A70)", {c.problemCounter, names.firstTitle});
    } else if (c.problemCounter == 1) {
        e.io.write(kReportUnit, "(/,6X,A70)", {names.currentTitle});
    } else {
        e.io.write(kReportUnit, "(/,6X,'Long Term :',2X,A70)", {names.firstTitle});
    }
}

void writeBanner(Engine& e) {
    e.io.write(kReportUnit, "(' VELMOR - A PROGRAM FOR THE ANALYSIS OF',' FLEXIBLE RETAINING STRUCTURES',/,1X,A,/,/)",
               {"VERSION 2013.4.14 - ENGINE LIBRARY Velmor2013_DLL, PORTABLE BUILD"});
}

void runProblems(Engine& e, RunFileNames& names) {
    ProblemControl& c = e.st.control;
    for (;;) {
        // A problem that fails before its solution writes no rows, not the previous problem's.
        e.st.results.rowCount = 0;
        names.currentTitle = e.io.readText(kInputUnit, kTitleWidth);
        ++c.problemCounter;
        if (c.problemCounter == 1) names.firstTitle = names.currentTitle;

        c.endFlag = 0;
        c.iterationLimit = 100;
        c.unitCode = 1;
        e.st.userCurves.pMultiplier = 1.0;
        e.st.userCurves.yMultiplier = 1.0;

        ReadControlRecord(e);
        if (c.problemCounter >= 2) e.io.write(kReportUnit, "(/)");
        writeBanner(e);
        writeTitleLine(e, names);

        c.unitCode = c.unitSystem;
        c.savedStageCount = c.stageCount;
        if (c.unitSystem == 2) {
            c.unitLabelFlag = -1;
        } else if (c.unitSystem == 1) {
            c.unitLabelFlag = 1;
        }
        SetUnitLabels(e.st.labels, c.unitLabelFlag);

        PrepareProblem(e);

        writeTitleLine(e, names);
        e.io.write(kMonitorUnit, "(/,/,/,'     ITERATION MONITOR DATA',/,'     ----------------------',/,/,20X)");

        SolveWall(e);

        e.io.readList(kInputUnit, {c.endFlag});
        if (c.endFlag == c.stageCount) c.endFlag = 0;
        if (c.endFlag == 0) return;
        c.seriesCode = c.endFlag == 9 ? 2 : c.savedStageCount;
        WriteResultsSection(e);
    }
}

std::vector<std::string> splitMessage(const std::string& message) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find('\n', start);
        if (end == std::string::npos) end = message.size();
        lines.push_back(message.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

void EarthPressurePhase(Engine& e) {
    const ProblemControl& c = e.st.control;
    const int32_t option = c.earthPressureOption;
    if (option == 0) WriteEarthPressureSection(e);
    if (option == 1) ReadSpecifiedPressure(e);
    if (option >= 2 || c.pyOption == 2) ReadWallAndSoil(e);
    if (option >= 2) {
        ComputeEarthPressure(e);
        TakeInGeneratedProfile(e);
    }
    if (option == 1 && e.st.wallSoil.surchargeCount >= 1) AddSurchargeToSpecifiedProfile(e);
    if (option >= 1) WriteEarthPressureSection(e);
}

void CurvePhase(Engine& e) {
    const ProblemControl& c = e.st.control;
    // A problem that takes in no curve runs without soil curves, as its plot-data section says, rather
    // than on curves an earlier problem of the run left in the store.
    e.st.curves.count = 0;
    if (c.pyOption == 2) {
        if (c.nuc > 0) ReadUserCurvesAhead(e);
        SetUpSoilModel(e);
        ReadScratchCurves(e, c.nuc, c.nuc == 0);
    } else if (c.nuc > 0) {
        ReadUserCurvesOnly(e);
    } else if (c.pyOption == 0) {
        WriteCurveCountRecord(e, 0);
    }
}

void PrepareProblem(Engine& e) {
    EchoControlParameters(e);
    ReadIncrements(e);
    DeriveStepQuantities(e.st);
    ReadRestraints(e);
    if (ReadStationTables(e)) {
        ReadModificationFactors(e);
        EarthPressurePhase(e);
        ApplyEarthPressureLoads(e);
        CheckTablesBeyondEnd(e);
    }
    CurvePhase(e);
    ReadMEICurves(e);
}

void ReportEndOfRun(Engine& e, const rt::EndRun& ended) {
    std::vector<std::string> console;
    std::vector<std::string> report = {"", ""};
    if (const auto* stop = dynamic_cast<const rt::StopRun*>(&ended)) {
        if (!stop->message().empty()) {
            console = splitMessage(stop->message());
            report.insert(report.end(), console.begin(), console.end());
        }
        std::string line =
            stop->code().empty() ? "     RUN STOPPED" : "     RUN STOPPED WITH STOP CODE " + stop->code();
        console.push_back(line);
        report.push_back(line);
    } else if (!ended.message().empty()) {
        for (const std::string& line : splitMessage(ended.message())) {
            console.push_back(" " + line);
            report.push_back("     " + line);
        }
    } else {
        return;  // the phase already wrote its own message to the report
    }
    e.io.writeLines(kConsole, console);
    if (e.io.isOpen(kReportUnit)) e.io.writeLines(kReportUnit, report);
}

namespace {

void finish(Engine& e) {
    if (e.io.isOpen(kReportUnit))
        e.io.write(kReportUnit, "(/,/,/,'     END OF ANALYSIS                             ')");
    if (e.io.isOpen(kPlotUnit)) WriteResultsSection(e);
    for (int unit : {kReportUnit, kInputUnit, kPlotUnit, kRunControlUnit, kMonitorUnit}) e.io.close(unit);
}

}  // namespace

void RunAnalysis(Engine& e) {
    RunFileNames names;
    if (!readRunControl(e.io, names)) {
        e.io.closeAll();
        e.io.write(kConsole,
                   "(' PLEASE CREATE AN INPUT DATA FILE AND SAVE IT',/,' BEFORE COMPUTATION.  TRY IT AGAIN!')");
        return;
    }
    e.st.control.seriesCode = 1;
    e.st.control.problemCounter = 0;
    try {
        try {
            // A missing input file still truncates the result files, so no earlier run's results can be
            // taken for this one's; the fault then goes into the new report.
            std::string openFault;
            try {
                e.io.open(kInputUnit, names.input, rt::Access::Read);
            } catch (const rt::RecordFault& fault) {
                openFault = fault.message();
            }
            e.io.open(kReportUnit, names.report, rt::Access::Write);
            e.io.open(kPlotUnit, names.plot, rt::Access::Write);
            e.io.open(kMonitorUnit, names.monitor, rt::Access::Write);
            if (!openFault.empty()) throw rt::RecordFault(openFault);
            runProblems(e, names);
        } catch (const rt::EndRun& ended) {
            ReportEndOfRun(e, ended);
        }
        finish(e);
    } catch (const rt::EndRun& ended) {
        // Writing the report itself failed: say so on the console and release every file.
        try {
            e.io.writeLines(kConsole, {" " + ended.message()});
        } catch (...) {
        }
        e.io.closeAll();
    }
}

int32_t RunEntry(int32_t interfaceNumber, std::FILE* console) {
    if (interfaceNumber != kInterfaceNumber) return 1;
    // Copy from a zero block in static storage: the blocks are close to a megabyte, too large for a
    // temporary on the stack of a host thread.
    static const EngineState kInitialState{};
    EngineState& st = engineState();
    st = kInitialState;
    try {
        rt::RecordIO io;
        io.setConsole(console);
        Engine e{io, st};
        RunAnalysis(e);
    } catch (...) {
        // Nothing may leave the exported entry; a fault this late has already been reported where possible.
    }
    return 0;
}

}  // namespace velmor::engine
