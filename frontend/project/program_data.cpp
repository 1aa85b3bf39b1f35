#include "project/program_data.h"

#include <algorithm>
#include <functional>

#include "fields/exceptions.h"
#include "fields/expression_evaluator.h"
#include "project/input_file_reader.h"

namespace velmor::project {

TMainWindowHooks& TMainWindowHooks::None() {
    static TMainWindowHooks none;
    return none;
}

TProgramData::TProgramData(TMainWindowHooks& Hooks, NoReset)
    : PlotArrays(std::make_unique<TPlotArrays>()), hooks_(&Hooks), tables_(std::make_unique<TProjectTables>()) {}

TProgramData::TProgramData(TMainWindowHooks& Hooks) : TProgramData(Hooks, NoReset{}) {
    hooks_->CloseAllChildren();
    SetUnits(1);
    tables_->ResetRows();
    ClearModified();
    FullFormat = true;
}

TProgramData::~TProgramData() = default;

std::unique_ptr<TProgramData> TProgramData::CreateFromFile(const std::string& FileName, int FormatVersion,
                                                           TMainWindowHooks& Hooks) {
    // Read into a project of its own, without the window's hooks, so that a failed read leaves the
    // window and its current project as they were.
    std::unique_ptr<TProgramData> data(new TProgramData(TMainWindowHooks::None(), NoReset{}));
    data->FileName = FileName;
    TInputFileReader(*data, FileName).ReadProject(FormatVersion);
    data->tables_->FillEmptyTables();
    data->hooks_ = &Hooks;
    Hooks.CloseAllChildren();
    data->ClearModified();
    data->FullFormat = true;
    return data;
}

void TProgramData::ClearModified() {
    tables_->ClearChanged();
    hooks_->SetModified(false);
}

void TProgramData::SetUnits(int U) {
    setUnits(U, true);
}

void TProgramData::setUnits(int U, bool Check) {
    U = std::clamp(U, 1, 3);
    // The two pairs of factors are not exact inverses (0.0254 x 39.3701 = 1.00000054); stored files and
    // the dialogs rely on these values.
    Extended length = 1;
    Extended force = 1;
    if (Units == 1 && U == 2) {
        length = 0.0254L;
        force = 0.004448222468060650624L;
    } else if (Units == 2 && U == 1) {
        length = 39.3701L;
        force = 224.8089L;
    }
    const Extended stress = force / (length * length);
    const Extended perLength = force / length;
    const struct {
        const char* name;  // as the dialogs show it
        Extended TProgramData::*value;
        Extended factor;
    } scalars[] = {
        {"the Increment Length", &TProgramData::IncrementLength, length},
        {"the Maximum Allowable Deflection", &TProgramData::MaxDeflection, length},
        {"the Deflection Closure Tolerance", &TProgramData::ClosureTolerance, length},
        {"the Free Height of Wall", &TProgramData::FreeHeight, length},
        {"the Depth to the Water Table in backfill side", &TProgramData::WaterTableBackfill, length},
        {"the Depth to the Water Table in excavation side", &TProgramData::WaterTableExcavation, length},
        {"the Width for Active Earth Press. Calculation", &TProgramData::Wa, length},
        {"the Width for Generating p-y Soil Resistance", &TProgramData::Wp, length},
        {"the surcharge distance", &TProgramData::SurchargeDistance, length},
        {"the strip width", &TProgramData::StripWidth, length},
        {"the Uniform Distributed Load at the top of backfill side", &TProgramData::SurchargeAtTop, stress},
        {"the strip surcharge", &TProgramData::StripSurcharge, stress},
        {"the point surcharge", &TProgramData::PointSurcharge, force},
        {"the line surcharge", &TProgramData::LineSurcharge, perLength},
    };
    // The magnitude column has no unit code of its own ("SEE NOTES"): its unit depends on the load type.
    TGridTable& surcharges = tables_->SurchargeTable();
    const auto surchargeFactor = [&](int Row) {
        switch (surcharges.Cell(0, Row).AsInteger()) {
            case 1:
                return force;
            case 2:
                return perLength;
            case 3:
                return stress;
            default:
                return Extended(1);
        }
    };

    // A value that the analysis could not read in the new units (the file would hold a number beyond the
    // double range, or one that reads as lost) stops the change before anything is converted.
    const auto check = [](const std::string& What, const std::function<void()>& Check) {
        try {
            Check();
        } catch (const components::EMathError& error) {
            throw components::EMathError("The units cannot be changed: in the new units " + What +
                                         " would be a number the analysis cannot read (" + error.message() + ").");
        }
    };
    if (Check && U != Units) {
        for (const auto& scalar : scalars)
            check(scalar.name, [&] { components::CheckEntryRange(this->*scalar.value * scalar.factor); });
        for (const TGridTable* table : tables_->PlainTables())
            check("a value of the table " + table->Caption(), [&] { table->CheckUnits(U); });
        for (const TGridTableChart* table : tables_->ChartTables())
            check("a value of the table " + table->Caption(), [&] { table->CheckUnits(U); });
        for (int row = 0; row < surcharges.RowCount(); ++row)
            check("a load of the table " + surcharges.Caption(),
                  [&] { components::CheckEntryRange(surcharges.Cell(1, row).AsFloat() * surchargeFactor(row)); });
    }

    for (const auto& scalar : scalars) this->*scalar.value *= scalar.factor;
    Units = U;

    for (TGridTable* table : tables_->PlainTables()) table->SetUnits(U);
    // The chart tables carry unit codes too; unconverted curve points would be read in the wrong units.
    for (TGridTableChart* table : tables_->ChartTables()) table->SetUnits(U);

    for (int row = 0; row < surcharges.RowCount(); ++row) {
        const Extended factor = surchargeFactor(row);
        if (factor != 1) surcharges.Cell(1, row).SetFloat(surcharges.Cell(1, row).AsFloat() * factor);
    }
}

}  // namespace velmor::project
