#include "run_driver.h"

#include <sys/stat.h>

#include <string>
#include <vector>

#include "curve_intake.h"
#include "earth_pressure.h"
#include "input_records.h"
#include "plot_file.h"
#include "runtime/run_errors.h"
#include "soil/soil_model.h"
#include "soil/unit_labels.h"
#include "velmor/version.h"
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

enum class RunControlStatus { Read, Missing, TooLong, SameFile };

// A run file's name and, when it exists, the file it leads to.
struct NamedFile {
    const std::string* name;
    bool exists;
    struct stat info;
};

// Whether two names lead to one file: the same text, or (when both exist) the same file by another path.
bool sameFile(const NamedFile& a, const NamedFile& b) {
    if (*a.name == *b.name) return true;
    return a.exists && b.exists && a.info.st_dev == b.info.st_dev && a.info.st_ino == b.info.st_ino;
}

// Reads the four lines of names.dat; trailing blanks are no part of a name. A missing file, fewer than
// four lines or an empty name give Missing: opening files under an empty name would write where nobody
// looks. A name longer than 255 characters gives TooLong rather than a cut name, and two lines naming one
// file give SameFile: the input would be truncated by opening it for writing, or two result files mixed.
RunControlStatus readRunControl(rt::RecordIO& io, RunFileNames& names, std::string& detail) {
    try {
        io.open(kRunControlUnit, kNamesFile, rt::Access::Read);
    } catch (const rt::RecordFault&) {
        return RunControlStatus::Missing;
    }
    std::string* fields[] = {&names.input, &names.report, &names.plot, &names.monitor};
    const char* what[] = {"INPUT", "REPORT", "PLOT-DATA", "MONITOR"};
    for (int i = 0; i < 4; ++i) {
        std::string line;
        if (!io.tryReadLine(kRunControlUnit, line)) return RunControlStatus::Missing;
        line = trimRight(line);
        if (line.size() > kNameLength) {
            detail = std::string(" THE ") + what[i] + " FILE PATH IN LINE " + std::to_string(i + 1) + " OF " +
                     kNamesFile + " IS " + std::to_string(line.size()) + " CHARACTERS LONG; AT MOST " +
                     std::to_string(kNameLength) + " ARE ALLOWED";
            return RunControlStatus::TooLong;
        }
        if (line.empty()) return RunControlStatus::Missing;
        *fields[i] = line;
    }
    io.close(kRunControlUnit);
    NamedFile files[4];
    for (int i = 0; i < 4; ++i) {
        files[i].name = fields[i];
        files[i].exists = ::stat(fields[i]->c_str(), &files[i].info) == 0;
    }
    for (int i = 1; i < 4; ++i) {
        for (int j = 0; j < i; ++j) {
            if (sameFile(files[i], files[j])) {
                detail = std::string(" THE ") + what[i] + " FILE AND THE " + what[j] +
                         " FILE ARE THE SAME FILE: " + *fields[i];
                return RunControlStatus::SameFile;
            }
        }
    }
    return RunControlStatus::Read;
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
               {std::string("VERSION ") + kVersion + " - ENGINE LIBRARY Velmor2013_DLL, PORTABLE BUILD"});
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
        // Any other unit system keeps the labels the run had (generic at its start).
        c.unitLabelFlag = UnitLabelFlag(c.unitSystem, c.unitLabelFlag);
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

// The last results section, then the plot-data and monitor files closed and checked before the report
// is finished, so that a file that could not be written (a full disk) is named in the report ahead of
// "END OF ANALYSIS". `reported` is the fault that ended the run, not repeated.
void finish(Engine& e, const std::string& reported) {
    std::vector<std::string> faults;
    auto note = [&](const rt::RecordFault& fault) {
        const std::string& m = fault.message();
        if (m != reported && (faults.empty() || faults.back() != m)) faults.push_back(m);
    };
    if (e.io.isOpen(kPlotUnit)) {
        try {
            WriteResultsSection(e);
        } catch (const rt::RecordFault& fault) {
            note(fault);
        }
    }
    for (int unit : {kPlotUnit, kMonitorUnit}) {
        try {
            e.io.close(unit);
        } catch (const rt::RecordFault& fault) {
            note(fault);
        }
    }
    for (const std::string& fault : faults) e.io.writeLines(kConsole, {" " + fault});
    if (e.io.isOpen(kReportUnit)) {
        for (const std::string& fault : faults) e.io.writeLines(kReportUnit, {"", "", "     " + fault});
        e.io.write(kReportUnit, "(/,/,/,'     END OF ANALYSIS                             ')");
    }
    for (int unit : {kReportUnit, kInputUnit, kRunControlUnit}) e.io.close(unit);
}

}  // namespace

void RunAnalysis(Engine& e) {
    // The program reads the plot-data file back with plain number parsing: no asterisks, no exponent
    // beyond 99 there.
    e.io.setFieldRange(kPlotUnit, rt::FieldRange::Readable);
    RunFileNames names;
    std::string detail;
    const RunControlStatus status = readRunControl(e.io, names, detail);
    if (status != RunControlStatus::Read) {
        e.io.closeAll();
        if (status == RunControlStatus::Missing) {
            e.io.write(kConsole,
                       "(' PLEASE CREATE AN INPUT DATA FILE AND SAVE IT',/,' BEFORE COMPUTATION.  TRY IT AGAIN!')");
        } else {
            e.io.writeLines(kConsole, {detail, " NO FILE WAS OPENED.  CORRECT THE FILE NAMES AND TRY IT AGAIN!"});
        }
        return;
    }
    e.st.control.seriesCode = 1;
    e.st.control.problemCounter = 0;
    std::string reported;
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
            reported = ended.message();
            ReportEndOfRun(e, ended);
        }
        finish(e, reported);
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
    EngineState& st = FreshEngineState();
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
