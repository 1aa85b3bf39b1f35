#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QToolButton>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "acceptance/plot_reader.h"
#include "engine_run_support.h"
#include "platform/dynamic_library.h"
#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "support/test_support.h"
#include "windows/main_commands.h"
#include "windows/main_form.h"
#include "windows/project_file_dialogs.h"

namespace velmor::windows {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::ScratchDir;
using test::writeFile;

const QString kCompleted = "Computations are completed. Please, check output file for results or error messages.";
const QString kInitFailed = "Attempt to initialize DLL failed";

// The engine stand-in of the fake library: returns `fakeResult` and keeps the run-control file it found;
// when it runs, it writes the report of a problem that finished and its plot-data file.
std::int32_t fakeResult = 0;
std::string runControlSeen;
std::int32_t fakeEngine(std::int32_t) {
    runControlSeen = readFile("names.dat");
    if (fakeResult == 1) return 1;
    const std::size_t report = runControlSeen.find("\r\n") + 2;
    writeFile(runControlSeen.substr(report, runControlSeen.find("\r\n", report) - report),
              " VELMOR - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES\n"
              "     RESULTS -- ITERATION  1\n     --------------------\n"
              "   STA I      X         DEFL.\n   ------    ----        ----\n"
              "     0   0.000E+00   0.737E+00\n\n\n\n     END OF ANALYSIS\n");
    const std::size_t plot = runControlSeen.find("\r\n", report) + 2;
    writeFile(runControlSeen.substr(plot, runControlSeen.find("\r\n", plot) - plot),
              " 0\n 2 0\n 1 1 2\n 0 0.7 0 0 0\n");
    return fakeResult;
}

// A project in a directory whose name holds a dot, run with the program's directory in a scratch folder.
class RunTest : public ::testing::Test {
  protected:
    RunTest() {
        fs::create_directories(dir.path() / "work.d");
        fs::create_directories(programDir);
        TMainForm::SetProgramDirectory(QString::fromStdString(programDir.string()));
        form.FormShow({});
    }
    ~RunTest() override { TMainForm::SetProgramDirectory(QString()); }

    // The example as wall.vm4d in the project directory, with `from` replaced by `to` in its text.
    std::string openExample(const std::string& example, const std::string& from = "", const std::string& to = "") {
        const std::string name = (dir.path() / "work.d" / "wall").string() + ".vm4d";
        std::string text = readFile(VELMOR_SOURCE_DIR "/examples/" + example);
        writeFile(name, text.replace(text.find(from), from.size(), to));
        form.OpenFileName(name, 0);
        messages.shown.clear();
        return name;
    }
    void installRealEngine() { installEngine(programDir); }
    std::string input() const { return (dir.path() / "work.d" / "wall.vm4d").string(); }
    std::string library() const { return (programDir / "Velmor2013_DLL.so").string(); }

    ScratchDir dir;
    fs::path programDir = dir.path() / "bin";
    platform::RecordingMessages messages;
    platform::MemorySettings settings;
    ScriptedProjectDialogs dialogs;
    TMainForm form;
};

TEST_F(RunTest, ExamplesRunThroughTheEngineAndFillTheGraphsFromThePlotFile) {
    installRealEngine();
    const struct {
        const char* example;
        std::vector<std::string> names;  // curve names of the result graphs, empty for the default names
    } cases[] = {
        {"cantilever-sand-english.vm4d", {}},
        {"three-stages.vm4d", {"Stage: 1", "Stage: 2", "Stage: 3"}},
        // A single problem after a staged one: its curve has the default name again.
        {"cantilever-sand-english.vm4d", {"Curve #1"}},
        {"long-term-pair.vm4d", {"Short-Term", "Long-Term"}},
    };
    for (const auto& c : cases) {
        const std::string input = openExample(c.example);
        form.CompRunClick();
        ASSERT_EQ(messages.shown, std::vector<QString>{kCompleted}) << c.example;
        EXPECT_TRUE(form.PlotLoaded());
        EXPECT_FALSE(fs::exists(programDir / "names.dat"));
        EXPECT_EQ(fs::path(QDir::currentPath().toStdString()), programDir);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);

        const test::PlotFile plot = test::readPlotFile(input.substr(0, input.size() - 5) + ".vm4p");
        ASSERT_TRUE(plot.complete) << plot.error;
        const project::TResultGraphs& g = form.Graphs();
        const int series = static_cast<int>(plot.series.size());
        std::size_t rows = 0, pressureRows = 0;
        for (const auto& s : plot.series) {
            rows = std::max(rows, s.resultRows.size());
            pressureRows = std::max(pressureRows, s.pressureRows.size());
        }
        ASSERT_EQ(g.pltDef.GetLineCount(), series) << c.example;
        EXPECT_EQ(g.pltMom.GetPointCount(), static_cast<int>(rows));
        EXPECT_EQ(g.pltLD.GetLineCount(), series);
        EXPECT_EQ(g.pltLD.GetPointCount(), static_cast<int>(pressureRows));
        EXPECT_EQ(g.pltPY.GetLineCount(), static_cast<int>(plot.series.back().curves.size()));
        // English results: depth in feet, moment in kip-inches (the reader divides by 12 and 1000).
        const auto& last = plot.series.back().resultRows.back();
        const double toFeet = plot.series.back().curveUnitCode == 1 ? 12.0 : 1.0;
        const double toKips = plot.series.back().curveUnitCode == 1 ? 1000.0 : 1.0;
        const int k = series - 1, j = static_cast<int>(plot.series.back().resultRows.size()) - 1;
        // Relative 1e-12: the file's 4-digit mantissas read into 80-bit values and divided once.
        EXPECT_NEAR(static_cast<double>(g.pltMom.GetPoint(k, j)->Y), last[0] / toFeet, 1e-12 * std::abs(last[0]));
        EXPECT_NEAR(static_cast<double>(g.pltMom.GetPoint(k, j)->X), last[2] / toKips, 1e-12 * std::abs(last[2]));
        for (std::size_t i = 0; i < c.names.size(); ++i)
            EXPECT_EQ(g.pltShear.GetLine(static_cast<int>(i))->GetName(), c.names[i]) << c.example;
        EXPECT_EQ(g.pltMom.XCaption, toKips == 1.0 ? "Bending Moment (m-kN)" : "Bending Moment (in-kips)");
        EXPECT_EQ(g.pltDMS.YCaption3, toFeet == 1.0 ? "Depth (m)" : "Depth (ft)");
        EXPECT_TRUE(form.SpeedButton(TMainForm::kDeflectionMomentShearButton)->isEnabled());
        EXPECT_TRUE(form.SpeedButton(TMainForm::kOutputButton)->isEnabled());
    }
}

TEST_F(RunTest, MissingLibraryFailsToInitializeAndTheNextRunWorks) {
    openExample("cantilever-sand-si.vm4d");
    form.CompRunClick();
    EXPECT_EQ(messages.shown, std::vector<QString>{kInitFailed});
    EXPECT_TRUE(fs::exists(programDir / "names.dat"));  // left in place after a refusal
    installRealEngine();
    form.CompRunClick();
    EXPECT_EQ(messages.shown.back(), kCompleted);
    EXPECT_FALSE(fs::exists(programDir / "names.dat"));
}

// Every way a run ends, through the Run button with the previous run's report, plot-data and monitor files
// in place and its results loaded: the message; whether the files are this call's or the previous ones (put
// back when the call wrote nothing whole of its own); the deflection button and its Graphics menu item,
// which follow the files as they stand; and velmor-run's exit status for the same project and library, which
// keeps the previous files too.
TEST_F(RunTest, EachKindOfRunSaysHowItEndedAndKeepsOnlyItsOwnResults) {
    auto* commands = new TMainCommands(form);
    const fs::path work = dir.path() / "work.d";
    const std::string report = (work / "wall.vm4o").string(), plotFile = (work / "wall.vm4p").string(),
                      monitor = (work / "wall.vm4r").string();
    const std::string oldReport = "the previous report\r\n",
                      oldPlot = " 0\r\n 2 0\r\n 1 2 2\r\n 0 0 0 0 0\r\n 12 1 2 3 4\r\n",
                      oldMonitor = "the previous monitor file\r\n";
    const QString notWhole = "The analysis could not write the output file " + QString::fromStdString(report) +
                             " whole.\rCANNOT WRITE FILE " + QString::fromStdString(report) +
                             ": No space left on device";
    const QString stopped = "The analysis stopped:\r%1\rPlease, check output file " + QString::fromStdString(report);
    const QString damaged = kInitFailed + "\r" + QString::fromStdString(library());
    const fs::path bin = QApplication::applicationDirPath().toStdString();
    const auto fake = [&bin](const char* name) {
        return (bin / ("fake_engine_" + std::string(name) + ".so")).string();
    };
    const std::string real = (bin / "Velmor2013_DLL.so").string();
    const struct {
        const char* name;
        std::string library;  // copied to the program's directory as the engine library
        std::uintmax_t keep;  // bytes of it kept (a copy cut short), 0 all
        const char* example;
        std::string from, to;   // an edit of the example's text
        QString message;        // ending in "*": how the message starts
        bool ran;               // the report and plot-data file are this call's
        bool deflection;        // the deflection graph can be shown afterwards
        int exitStatus;         // of velmor-run
        std::string crashed{};  // a library velmor-run dies in first, leaving the previous files aside
    } cases[] = {
        {"finished", real, 0, "cantilever-sand-english.vm4d", "", "", kCompleted, true, true, 0},
        // A 500 kN head load on the 9 m cantilever: the iterations end on the allowable deflection of 0.5 m.
        {"finished with warnings", real, 0, "cantilever-sand-si.vm4d", "50300\r\n0\r\n",
         "50300\r\n1\r\n1 0 0 500 0 0\r\n",
         kCompleted + "\r***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***   5  *** STATIONS *****"
                      "\r***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****",
         true, true, 0},
        {"stopped", real, 0, "cantilever-sand-english.vm4d", "\n60 6\t", "\n60 -6\t",
         stopped.arg("ERROR -- INCREMENT LENGTH MUST BE GREATER THAN ZERO"), true, false, 1},
        {"stopped in the soil", real, 0, "cantilever-sand-english.vm4d", "0.066550926 0.0  32 ", "0.066550926 0.0  0 ",
         stopped.arg("INPUT SOIL LAYER  1: THE FRICTION ANGLE MUST BE GREATER THAN ZERO"), true, false, 1},
        {"wrote nothing", fake("silent"), 0, "cantilever-sand-english.vm4d", "", "",
         "The analysis wrote no output file " + QString::fromStdString(report) + "\rFAKE ENGINE WROTE NOTHING", false,
         true, 2},
        {"wrote no plot-data file", fake("report_only"), 0, "cantilever-sand-english.vm4d", "", "",
         "The analysis wrote no plot-data file " + QString::fromStdString(plotFile), false, true, 2},
        {"wrote an empty report", fake("empty_report"), 0, "cantilever-sand-english.vm4d", "", "", notWhole, false,
         true, 2},
        {"wrote a cut report", fake("cut_report"), 0, "cantilever-sand-english.vm4d", "", "", notWhole, false, true, 2},
        {"wrote nothing after a run that never ended", fake("silent"), 0, "cantilever-sand-english.vm4d", "", "",
         "The analysis wrote no output file " + QString::fromStdString(report) + "\rFAKE ENGINE WROTE NOTHING", false,
         true, 2, fake("crashing")},
        {"refused", fake("refusing"), 0, "cantilever-sand-english.vm4d", "", "",
         "Computations can not be performed. Executable files are not consistent.\rYou may need to reinstall the "
         "program.\rIf problem persist please contact MORVEX support at\rsupport@morvex.com",
         false, true, 2},
        {"failed", fake("failing"), 0, "cantilever-sand-english.vm4d", "", "",
         "The analysis failed: the engine library returned 7.", false, true, 2},
        {"no entry", fake("without_entry"), 0, "cantilever-sand-english.vm4d", "", "", kInitFailed, false, true, 2},
        {"damaged library", real, 100000, "cantilever-sand-english.vm4d", "", "",
         damaged + " is cut short: it ends at byte 100000, but a segment reaches to byte *", false, true, 2},
        {"not a library", VELMOR_SOURCE_DIR "/README.md", 0, "cantilever-sand-english.vm4d", "", "",
         damaged + " is not a shared library for this machine.", false, true, 2},
    };
    fs::copy_file(VELMOR_RUN_TOOL, programDir / "velmor-run", fs::copy_options::overwrite_existing);
    const auto runTool = [this] {
        const std::string tool = "cd " + programDir.string() + " && ./velmor-run " + input() + " >/dev/null 2>&1";
        return std::system(tool.c_str());
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(report, oldReport);
        writeFile(plotFile, oldPlot);
        writeFile(monitor, oldMonitor);
        openExample(c.example, c.from, c.to);
        if (!c.crashed.empty()) {
            fs::copy_file(c.crashed, library(), fs::copy_options::overwrite_existing);
            runTool();
            ASSERT_TRUE(fs::exists(report + ".previous") && fs::exists(report));
        }
        fs::copy_file(c.library, library(), fs::copy_options::overwrite_existing);
        if (c.keep != 0) fs::resize_file(library(), c.keep);
        ASSERT_TRUE(form.SpeedButton(TMainForm::kDeflectionButton)->isEnabled());
        form.SpeedButton(TMainForm::kRunButton)->click();
        ASSERT_EQ(messages.shown.size(), 1u);
        if (c.message.endsWith('*'))
            EXPECT_TRUE(messages.shown[0].startsWith(c.message.chopped(1))) << messages.shown[0].toStdString();
        else
            EXPECT_EQ(messages.shown[0], c.message);
        const auto has = [](const std::string& file, const std::string& text) {
            return fs::exists(file) && readFile(file) == text;
        };
        const auto previousKept = [&] {
            return has(report, oldReport) && has(plotFile, oldPlot) && has(monitor, oldMonitor);
        };
        EXPECT_EQ(previousKept(), !c.ran);
        // The graphs of the earlier results stay when the call produced none of its own; every load is undone.
        if (!c.ran) {
            EXPECT_EQ(form.Graphs().pltDef.GetPointCount(), 2);
        }
        EXPECT_EQ(dlopen(library().c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
        EXPECT_EQ(fs::exists(report) && fs::exists(plotFile) && !has(report, oldReport) && !has(plotFile, oldPlot),
                  c.ran);
        for (const std::string& file : {report, plotFile, monitor}) EXPECT_FALSE(fs::exists(file + ".previous"));
        // "names.dat" is left after a library that did not load, deleted after every call.
        EXPECT_EQ(fs::exists(programDir / "names.dat"), c.message.startsWith(kInitFailed));
        EXPECT_EQ(form.SpeedButton(TMainForm::kDeflectionButton)->isEnabled(), c.deflection);
        emit commands->Menu("GraphicsMenu")->aboutToShow();
        EXPECT_EQ(commands->Item("CompDef")->isEnabled(), c.deflection);

        const int status = runTool();
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.exitStatus);
        EXPECT_TRUE(c.ran || previousKept());
    }
}

std::int32_t throwingEngine(std::int32_t) {
    throw std::runtime_error("engine fault");
}

TEST_F(RunTest, RunThatEndsInAnErrorStillUnloadsTheLibrary) {
    openExample("cantilever-sand-si.vm4d");
    platform::FakeLibraries libraries;
    libraries.libraries[library()]["_IVELMOR"] = reinterpret_cast<void*>(&throwingEngine);
    form.findChild<QAction*>("CompRun")->trigger();
    EXPECT_EQ(messages.shown, std::vector<QString>{"engine fault"});  // shown, not thrown into the event loop
    EXPECT_EQ(libraries.unloads, 1);
    EXPECT_FALSE(fs::exists(programDir / "names.dat"));
    libraries.libraries[library()]["_IVELMOR"] = reinterpret_cast<void*>(&fakeEngine);
    fakeResult = 0;
    form.CompRunClick();
    EXPECT_EQ(messages.shown.back(), kCompleted);  // not "Attempt to reinitialize DLL"
    const std::string input = form.Project().FileName(), stem = input.substr(0, input.size() - 5);
    EXPECT_EQ(runControlSeen, input + "\r\n" + stem + ".vm4o\r\n" + stem + ".vm4p\r\n" + stem + ".vm4r\r\n");
}

TEST_F(RunTest, UnsavedProjectAndOverlongPathsAreNotRun) {
    form.CompRunClick();  // a new project: Save As is cancelled, nothing else happens
    EXPECT_EQ(dialogs.saveTitles.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(fs::exists(programDir / "names.dat"));

    fs::path deep = dir.path();
    for (int i = 0; i < 3; ++i) deep /= std::string(90, 'd');
    fs::create_directories(deep);
    const std::string input = (deep / "wall.vm4d").string();
    fs::copy_file(fs::path(VELMOR_SOURCE_DIR) / "examples" / "cantilever-sand-si.vm4d", input);
    form.OpenFileName(input, 0);
    messages.shown.clear();
    form.CompRunClick();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].indexOf(QString::fromStdString(input)), -1);
    EXPECT_FALSE(fs::exists(programDir / "names.dat"));
}

}  // namespace
}  // namespace velmor::windows
