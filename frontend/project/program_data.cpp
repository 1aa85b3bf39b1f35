#include "project/program_data.h"

#include <algorithm>

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
    IncrementLength *= length;
    MaxDeflection *= length;
    ClosureTolerance *= length;
    FreeHeight *= length;
    WaterTableBackfill *= length;
    WaterTableExcavation *= length;
    Wa *= length;
    Wp *= length;
    SurchargeDistance *= length;
    StripWidth *= length;
    SurchargeAtTop *= stress;
    StripSurcharge *= stress;
    PointSurcharge *= force;
    LineSurcharge *= perLength;
    Units = U;

    for (TGridTable* table : tables_->PlainTables()) table->SetUnits(U);
    // The chart tables carry unit codes too; unconverted curve points would be read in the wrong units.
    for (TGridTableChart* table : tables_->ChartTables()) table->SetUnits(U);

    // The magnitude column has no unit code of its own ("SEE NOTES"): its unit depends on the load type.
    TGridTable& surcharges = tables_->SurchargeTable();
    for (int row = 0; row < surcharges.RowCount(); ++row) {
        Extended factor = 1;
        switch (surcharges.Cell(0, row).AsInteger()) {
            case 1:
                factor = force;
                break;
            case 2:
                factor = perLength;
                break;
            case 3:
                factor = stress;
                break;
            default:
                break;
        }
        if (factor != 1) surcharges.Cell(1, row).SetFloat(surcharges.Cell(1, row).AsFloat() * factor);
    }
}

}  // namespace velmor::project
