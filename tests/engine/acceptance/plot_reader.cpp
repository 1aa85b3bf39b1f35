#include "acceptance/plot_reader.h"

#include <charconv>
#include <sstream>
#include <stdexcept>

#include "support/test_support.h"

namespace velmor::test {

namespace {

class Words {
  public:
    explicit Words(const std::string& text) {
        std::istringstream in(text);
        std::string w;
        while (in >> w) words_.push_back(w);
    }
    bool atEnd() const { return next_ >= words_.size(); }
    double real() {
        const std::string& w = word();
        double v = 0.0;
        auto res = std::from_chars(w.data(), w.data() + w.size(), v);
        if (res.ec != std::errc() || res.ptr != w.data() + w.size())
            throw std::runtime_error("word " + std::to_string(next_) + " \"" + w + "\" is not a number");
        return v;
    }
    int integer() {
        const std::string& w = word();
        int v = 0;
        auto res = std::from_chars(w.data(), w.data() + w.size(), v);
        if (res.ec != std::errc() || res.ptr != w.data() + w.size())
            throw std::runtime_error("word " + std::to_string(next_) + " \"" + w + "\" is not an integer");
        return v;
    }

  private:
    const std::string& word() {
        if (atEnd()) throw std::runtime_error("file ends after word " + std::to_string(next_));
        return words_[next_++];
    }
    std::vector<std::string> words_;
    std::size_t next_ = 0;
};

std::vector<double> reals(Words& w, int n) {
    std::vector<double> row;
    for (int i = 0; i < n; ++i) row.push_back(w.real());
    return row;
}

}  // namespace

PlotFile readPlotFile(const std::string& path) {
    PlotFile file;
    try {
        Words w(readFile(path));
        int seriesTotal = 1;
        for (int k = 0; k < seriesTotal; ++k) {
            PlotSeries s;
            int rows = w.integer();
            for (int i = 0; i < rows; ++i) s.pressureRows.push_back(reals(w, 4));
            s.curveUnitCode = w.integer();
            int curves = w.integer();
            for (int c = 0; c < curves; ++c) {
                PlotSeries::Curve curve;
                curve.header = w.real();
                int n = w.integer();
                for (int i = 0; i < n; ++i) {
                    double y = w.real();
                    curve.points.emplace_back(y, w.real());
                }
                s.curves.push_back(curve);
            }
            s.seriesCode = w.integer();
            if (k == 0) seriesTotal = s.seriesCode > 1 ? s.seriesCode : 1;
            if (s.seriesCode > seriesTotal) seriesTotal = s.seriesCode;
            int resultRows = w.integer();
            s.resultUnitCode = w.integer();
            for (int i = 0; i < resultRows; ++i) s.resultRows.push_back(reals(w, 5));
            file.series.push_back(s);
        }
        file.complete = w.atEnd();
        if (!file.complete) file.error = "words left after the last series";
    } catch (const std::exception& fault) {
        file.error = fault.what();
    }
    return file;
}

}  // namespace velmor::test
