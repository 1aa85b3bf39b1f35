#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "engine_state.h"
#include "run_driver.h"
#include "runtime/record_io.h"
#include "runtime/run_errors.h"
#include "soil/unit_labels.h"
#include "support/test_support.h"

namespace velmor::engine::testing {

// Runs single engine steps in a fresh scratch directory: the input text on unit 5, the report, the
// plot-data file and the console in files there, and a value-initialised EngineState with the unit labels
// of the chosen unit system. Tests set the control fields the step reads before they call it.
class StepRun {
  public:
    explicit StepRun(const std::string& input = "", int32_t unitSystem = 1)
        : state_(std::make_unique<EngineState>()), engine_{io_, *state_} {
        test::writeFile("input.txt", input);
        io_.open(kInputUnit, "input.txt", rt::Access::Read);
        io_.open(kReportUnit, "report.txt", rt::Access::Write);
        io_.open(kPlotUnit, "plot.txt", rt::Access::Write);
        console_ = std::fopen("console.txt", "w+b");
        io_.setConsole(console_);
        ProblemControl& c = state_->control;
        c.unitSystem = unitSystem;
        c.unitCode = unitSystem;
        SetUnitLabels(state_->labels, unitSystem == 2 ? -1 : (unitSystem == 1 ? 1 : 0));
    }
    ~StepRun() { close(); }

    Engine& e() { return engine_; }
    EngineState& st() { return *state_; }
    ProblemControl& control() { return state_->control; }

    // Sets the increments as the increments record would.
    void increments(int32_t ni, double h, double freeHeight = 0.0) {
        ProblemControl& c = state_->control;
        c.ni = ni;
        c.h = h;
        c.freeHeight = freeHeight;
        DeriveStepQuantities(*state_);
    }

    // Runs a step; returns the report message of an input error that ended the run ("" when the step
    // went through). A record fault gives its own message.
    std::string run(const std::function<void(Engine&)>& step) {
        try {
            step(engine_);
        } catch (const rt::RecordFault& fault) {
            return "RECORD FAULT: " + fault.message();
        } catch (const rt::EndRun&) {
            close();
            // The message block: what follows the last two empty lines, without the trailing ones.
            std::string text = test::readFile("report.txt");
            text.erase(text.find_last_not_of('\n') + 1);
            std::size_t start = text.rfind("\n\n");
            return start == std::string::npos ? std::string("(no message)") : text.substr(start + 2);
        }
        return "";
    }

    // Closes the files; the texts can then be read.
    void close() {
        if (closed_) return;
        closed_ = true;
        io_.closeAll();
        std::fclose(console_);
    }
    std::string report() {
        close();
        return test::readFile("report.txt");
    }
    std::string plot() {
        close();
        return test::readFile("plot.txt");
    }
    std::string console() {
        close();
        return test::readFile("console.txt");
    }

  private:
    test::ScratchDir dir_;
    std::unique_ptr<EngineState> state_;
    rt::RecordIO io_;
    Engine engine_;
    std::FILE* console_ = nullptr;
    bool closed_ = false;
};

// The files of one whole run of the entry on an input file.
struct WholeRun {
    std::string report, plot, monitor, console;
};

inline WholeRun RunWhole(const std::string& input) {
    test::ScratchDir dir;
    test::writeFile("names.dat", "wall.vm4d\r\nwall.vm4o\r\nwall.vm4p\r\nwall.vm4r\r\n");
    test::writeFile("wall.vm4d", input);
    std::FILE* sink = std::fopen("console.txt", "w+b");
    RunEntry(14, sink);
    std::fclose(sink);
    return {test::readFile("wall.vm4o"), test::readFile("wall.vm4p"), test::readFile("wall.vm4r"),
            test::readFile("console.txt")};
}

inline const std::string kEndOfAnalysis = "\n\n\n     END OF ANALYSIS                             \n";

}  // namespace velmor::engine::testing
