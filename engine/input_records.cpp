#include "input_records.h"

namespace velmor::engine {

void ReadControlRecord(Engine& e) {
    ProblemControl& c = e.st.control;
    e.io.readList(kInputUnit, {c.unitSystem, c.nds, c.nsr, c.npm, c.earthPressureOption, c.pyOption, c.nuc,
                               c.stageCount, c.meiCurveCount});
}

void ReadProblemRecords(Engine&) {}

}  // namespace velmor::engine
