#include "fields/exceptions.h"
#include "project/program_data.h"
#include "project/soil_slots.h"
#include "project/text_file.h"

namespace velmor::project {

using components::EInOutError;

namespace {

const char kTab = '\t';

// Builds the text of one input or stage file from a project, record by record.
class TInputFileWriter {
  public:
    explicit TInputFileWriter(TProgramData& Data) : d_(Data), t_(Data.Tables()), units_(Data.Units) {}

    std::string Write(bool Stage) {
        const std::string title =
            Stage && d_.CurrentStage >= 2 ? " Stage No : " + std::to_string(d_.CurrentStage) : d_.Title;
        problem(title, Stage ? 2 : d_.EarthPressureMethod, t_.DistLoad(), t_.NewSoil());
        if (Stage) {
            d_.EndFlag = d_.CurrentStage;
        } else {
            d_.EndFlag = d_.ShortAndLongTerm ? 9 : 0;
        }
        line(std::to_string(d_.EndFlag));
        if (!Stage && d_.ShortAndLongTerm) {
            // The long-term problem: the same records, with the triangular method and its own pressure
            // and layer tables.
            problem(d_.Title, 2, t_.LongDist(), t_.LongSoil());
            line("0");
        }
        return out_;
    }

  private:
    void line(const std::string& S) {
        out_ += S;
        out_ += kLineEnd;
    }
    static std::string f(Extended Value) { return FloatToText(Value); }
    template <class Table>
    static std::string fc(const Table& T, int Col, int Row) {
        return f(T.Cell(Col, Row).AsFloat());
    }
    template <class Table>
    static std::string ic(const Table& T, int Col, int Row) {
        return std::to_string(T.Cell(Col, Row).AsInteger());
    }

    void problem(const std::string& Title, int Method, TGridTable& Pressure, TGridTable& Layers) {
        line(Title);

        // A table whose option is off is emptied in the project too, so the file holds no rows for it.
        if (!d_.UseConcentratedLoads) t_.BoundCond().SetRowCount(0);
        if (!d_.UseRestraints) t_.Soillayer().SetRowCount(0);
        if (!d_.UseExternalPYCurves) t_.PYCurves2().SetRowCount(0);
        if (!d_.UsePYModification) t_.PYMod().SetRowCount(0);

        if (d_.UseUserEarthPressure) {
            d_.EarthPressureOption = 1;
            d_.GenerateEarthPressure = 0;
        } else if (d_.GenerateEarthPressure != 0 || d_.GeneratePYCurves != 0) {
            d_.EarthPressureOption = Method;
        } else {
            d_.EarthPressureOption = 0;
        }
        // Option 1 without a curve would make the engine write no p-y section, and the plot-data file
        // would then be read out of step: without curves the option is 0.
        if (d_.GeneratePYCurves != 0) {
            d_.PYOption = 2;
        } else if (d_.UseExternalPYCurves && t_.PYCurves2().RowCount() > 0) {
            d_.PYOption = 1;
        } else {
            d_.PYOption = 0;
        }
        d_.MEICurveCount = d_.UseMEICurves ? t_.MEICurves2().RowCount() : 0;

        line(std::to_string(d_.Units) + " " + std::to_string(t_.Soillayer().RowCount()) + kTab +
             std::to_string(t_.PileSect().RowCount()) + kTab + std::to_string(t_.PYMod().RowCount()) + kTab +
             std::to_string(d_.EarthPressureOption) + kTab + std::to_string(d_.PYOption) + " " +
             std::to_string(t_.PYCurves2().RowCount()) + " " + std::to_string(d_.StageCount) + " " +
             std::to_string(d_.MEICurveCount));
        line(std::to_string(d_.NumIncrements) + " " + f(d_.IncrementLength) + kTab + f(d_.MaxDeflection) + kTab +
             f(d_.ClosureTolerance) + kTab + f(d_.FreeHeight));

        const TGridTable& restraints = t_.Soillayer();
        for (int r = 0; r < restraints.RowCount(); ++r)
            line(ic(restraints, 0, r) + kTab + ic(restraints, 1, r) + kTab + fc(restraints, 2, r) + kTab +
                 fc(restraints, 3, r));

        // The last stiffness line has no next line to interpolate to.
        TGridTable& stiffness = t_.PileSect();
        if (stiffness.RowCount() > 0) stiffness.Cell(2, stiffness.RowCount() - 1).SetInteger(1);
        for (int r = 0; r < stiffness.RowCount(); ++r)
            line(ic(stiffness, 0, r) + kTab + ic(stiffness, 1, r) + kTab + ic(stiffness, 2, r) + kTab +
                 fc(stiffness, 3, r));

        const TGridTable& loads = t_.BoundCond();
        line(std::to_string(loads.RowCount()));
        for (int r = 0; r < loads.RowCount(); ++r)
            line(ic(loads, 0, r) + kTab + ic(loads, 1, r) + kTab + ic(loads, 2, r) + kTab + fc(loads, 3, r) + kTab +
                 fc(loads, 4, r) + kTab + fc(loads, 5, r));

        if (!d_.UseSprings) t_.SoilStrength().SetRowCount(0);
        const TGridTable& springs = t_.SoilStrength();
        line(std::to_string(springs.RowCount()));
        for (int r = 0; r < springs.RowCount(); ++r)
            line(ic(springs, 1, r) + kTab + ic(springs, 2, r) + kTab + ic(springs, 0, r) + kTab + fc(springs, 3, r) +
                 kTab + fc(springs, 4, r));

        const TGridTable& factors = t_.PYMod();
        for (int r = 0; r < factors.RowCount(); ++r)
            line(f(FileLength(units_, factors.Cell(0, r).AsFloat())) + kTab + fc(factors, 1, r) + kTab +
                 fc(factors, 2, r));

        if (d_.EarthPressureOption == 1) {
            line(std::to_string(Pressure.RowCount()));
            for (int r = 0; r < Pressure.RowCount(); ++r) {
                line(f(FileLength(units_, Pressure.Cell(0, r).AsFloat())) + kTab +
                     f(FilePerLength(units_, Pressure.Cell(1, r).AsFloat())));
            }
        }

        if (d_.EarthPressureOption >= 2 || d_.PYOption == 2) wallAndSoil(Layers);

        const TGridTableChart& curves = t_.PYCurves2();
        for (int r = 0; r < curves.RowCount(); ++r) {
            const TGridTableChart* points = curves.Cell(1, r).AsTable();
            const int count = points ? points->RowCount() : 0;
            line(ic(curves, 0, r) + kTab + std::to_string(count) + kTab + fc(curves, 2, r) + kTab + fc(curves, 3, r));
            for (int p = 0; p < count; ++p) line(fc(*points, 0, p) + kTab + fc(*points, 1, p));
        }

        if (d_.UseMEICurves) {
            const TGridTableChart& sets = t_.MEICurves2();
            for (int r = 0; r < sets.RowCount(); ++r) {
                const TGridTableChart* points = sets.Cell(2, r).AsTable();
                const int count = points ? points->RowCount() : 0;
                line(ic(sets, 0, r) + kTab + ic(sets, 1, r) + kTab + std::to_string(count));
                for (int p = 0; p < count; ++p) line(fc(*points, 0, p) + kTab + fc(*points, 1, p));
            }
        }
    }

    void wallAndSoil(const TGridTable& Layers) {
        // The engine reads three lines for every layer; a type outside 1..7 would put it out of step.
        for (int r = 0; r < Layers.RowCount(); ++r) {
            const int type = Layers.Cell(0, r).AsInteger();
            if (!IsSoilType(type))
                throw EInOutError("Soil layer " + std::to_string(r + 1) + " has the soil type " + std::to_string(type) +
                                  "; a soil type must be between 1 and 7.");
        }

        line(f(d_.FreeHeight) + kTab + f(d_.Wa) + kTab + f(d_.Wp) + kTab + f(d_.WaterTableBackfill) + kTab +
             f(d_.WaterTableExcavation) + kTab + f(d_.ActivePressureFactor) + kTab + std::to_string(d_.WallRecordCode) +
             kTab + f(d_.BackfillSlope));
        line(f(d_.SurchargeAtTop) + kTab + f(d_.SurchargeDistance) + kTab + f(d_.PointSurcharge) + kTab +
             f(d_.LineSurcharge) + kTab + f(d_.StripSurcharge) + kTab + f(d_.StripWidth));

        if (!d_.UseSurcharges) t_.SurchargeTable().SetRowCount(0);
        const TGridTable& surcharges = t_.SurchargeTable();
        line(std::to_string(surcharges.RowCount()));
        for (int r = 0; r < surcharges.RowCount(); ++r)
            line(ic(surcharges, 0, r) + kTab + fc(surcharges, 1, r) + kTab + fc(surcharges, 2, r) + kTab +
                 fc(surcharges, 3, r));

        line(std::to_string(Layers.RowCount()));
        for (int r = 0; r < Layers.RowCount(); ++r) {
            const int type = Layers.Cell(0, r).AsInteger();
            line(std::to_string(type) + " " + f(FileLength(units_, Layers.Cell(1, r).AsFloat())) + " ");
            const TGridTable* parameters = Layers.Cell(2, r).AsTable();
            for (int row = 0; row < 2; ++row) line(slots(type, parameters, row));
        }
    }

    std::string slots(int Type, const TGridTable* Parameters, int Row) const {
        std::string text;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const int column = kSlotColumns[Type - 1][slot];
            if (column < 0 || !Parameters || column >= Parameters->ColumnCount() || Row >= Parameters->RowCount()) {
                text += "0.0  ";
                continue;
            }
            Extended value = Parameters->Cell(column, Row).AsFloat();
            if (slot == 0) value = FilePerVolume(units_, value);
            if (SlotIsCohesion(Type, slot)) value = FilePerArea(units_, value);
            text += f(value) + " ";
        }
        return text;
    }

    TProgramData& d_;
    TProjectTables& t_;
    int units_;
    std::string out_;
};

}  // namespace

std::string TProgramData::ProblemText(bool Stage) {
    return TInputFileWriter(*this).Write(Stage);
}

void TProgramData::SaveToFile() {
    WriteFileReplacing(FileName, ProblemText(false));
    ClearModified();
    FullFormat = true;
}

void TProgramData::SaveStageFile() {
    WriteFileReplacing(StageFileName, ProblemText(true));
    ClearModified();
    FullFormat = true;
}

}  // namespace velmor::project
