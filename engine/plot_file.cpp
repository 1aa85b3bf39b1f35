#include "plot_file.h"

namespace velmor::engine {

void WriteResultsSection(Engine& e) {
    const NodalResults& r = e.st.results;
    int32_t rows = r.rowCount < 0 ? 0 : (r.rowCount > NodalResults::kMaxRows ? NodalResults::kMaxRows : r.rowCount);
    e.io.writeList(kPlotUnit, {e.st.control.seriesCode, rows, e.st.control.unitCode});
    for (int32_t i = 0; i < rows; ++i) {
        std::size_t k = static_cast<std::size_t>(i);
        e.io.write(kPlotUnit, "(5(1X,E13.4))", {r.depth[k], r.deflection[k], r.moment[k], r.shear[k], r.reaction[k]});
    }
}

}  // namespace velmor::engine
