#include "project/project_tables.h"

#include <algorithm>
#include <cctype>

#include "fields/exceptions.h"
#include "fields/number_text.h"
#include "project/soil_slots.h"
#include "tables/col_stream.h"

namespace velmor::project {

using components::EReadError;
using components::TColReader;

namespace {

const char* const kInterpolation =
    "Linear interpolation (when selected) is performed from START node of previous line to END node of the "
    "following line.";

bool sameName(const std::string& A, const std::string& B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

// The settings that the layout stores before a table's "Col" stream, in stored order.
template <class Table>
void readSettings(Table& table, TColReader& reader) {
    table.SetLoading(true);
    table.SetIdentifier(reader.ReadInteger());
    table.SetCaption(reader.ReadString());
    table.SetMinRows(reader.ReadInteger());
    table.SetMaxRows(reader.ReadInteger());
    table.SetHardwiredButton(reader.ReadBoolean());
    table.SetTopLeft(reader.ReadString());
    table.SetRowGroup(reader.ReadInteger());
}

template <class Table>
Table* find(const std::vector<Table*>& tables, const std::vector<std::string>& names, const std::string& name) {
    for (std::size_t i = 0; i < tables.size(); ++i)
        if (sameName(names[i], name)) return tables[i];
    return nullptr;
}

}  // namespace

TProjectTables::TProjectTables() : TProjectTables(ProjectTablesLayout()) {}

TProjectTables::TProjectTables(const std::string& Layout) {
    load(Layout);
    setCommentsAndPictures();
    setEntryChecks();
    setStoredForms();
}

TProjectTables::~TProjectTables() {
    // Sub-tables first go with their rows; the stored tables leave their spaces in reverse creation order.
    while (!chartOwned_.empty()) chartOwned_.pop_back();
    while (!plainOwned_.empty()) plainOwned_.pop_back();
}

void TProjectTables::load(const std::string& Layout) {
    TColReader reader(Layout);
    const int count = reader.ReadInteger();
    for (int i = 0; i < count; ++i) {
        const std::string name = reader.ReadString();
        if (reader.ReadBoolean()) {
            auto table = std::make_unique<TGridTableChart>(chartSpace_);
            readSettings(*table, reader);
            table->GetDataFromFile = reader.ReadBoolean();
            table->OKCancelButtons = reader.ReadBoolean();
            table->InvertedXAxis = reader.ReadBoolean();
            table->InvertedYAxis = reader.ReadBoolean();
            table->ReadColumns(reader);
            table->SetLoading(false);
            chart_.push_back(table.get());
            chartNames_.push_back(name);
            chartOwned_.push_back(std::move(table));
        } else {
            auto table = std::make_unique<TGridTable>(plainSpace_);
            readSettings(*table, reader);
            table->ReadColumns(reader);
            table->SetLoading(false);
            plain_.push_back(table.get());
            plainNames_.push_back(name);
            plainOwned_.push_back(std::move(table));
        }
    }
    if (!reader.AtEnd()) throw EReadError("Unexpected data after the last table of the layout");

    auto plain = [this](const char* name) {
        TGridTable* table = FindPlain(name);
        if (!table) throw EReadError(std::string("The layout has no table ") + name);
        return table;
    };
    auto chart = [this](const char* name) {
        TGridTableChart* table = FindChart(name);
        if (!table) throw EReadError(std::string("The layout has no table ") + name);
        return table;
    };
    pileSect_ = plain("PileSect");
    soillayer_ = plain("Soillayer");
    soilStrength_ = plain("SoilStrength");
    pyMod_ = plain("PYMod");
    distLoad_ = plain("DistLoad");
    boundCond_ = plain("BoundCond");
    longDist_ = plain("LongDist");
    tblSand1_ = plain("TblSand1");
    tblClay1_ = plain("TblClay1");
    newSoil_ = plain("NewSoil");
    tblSilt1_ = plain("TblSilt1");
    tblRock1_ = plain("TblRock1");
    tblRock2_ = plain("TblRock2");
    longSoil_ = plain("LongSoil");
    surchargeTable_ = plain("SurchargeTable");
    rows2_ = chart("Rows2");
    meiCurves2_ = chart("MEICurves2");
    pyCurves2_ = chart("PYCurves2");
    pyCurve2_ = chart("PYCurve2");
}

void TProjectTables::setCommentsAndPictures() {
    pileSect_->SetComments(std::string("The nodal number at the top of the wall is set to be 0.\r") +
                           "Values of Flexural Stiffness (EI) must be specified for all nodes of the wall.\r" +
                           kInterpolation);
    boundCond_->SetComments(std::string("The concentrated loads are applied at nodal points only (including the "
                                        "specified START and END nodes).\r") +
                            kInterpolation);
    soilStrength_->SetComments(std::string("The spring stiffnesses are applied at nodal points only (including the "
                                           "specified START and END nodes).\r") +
                               kInterpolation);
    tblRock2_->SetComments("* krm is a strain constant that seve to establish the overall stiffness of the curves");
    surchargeTable_->SetComments(
        "The unit for point load is lbs or kN \r"
        "The unit for line load is lbs/in. or kN/m \r"
        "The unit for strip load is lbs/in^2 or kN/m^2 ");
    pyCurve2_->SetComments(
        "* Use negative (-) values for deflections to the left (to backfill)\r"
        "     and positive (+) to the right (to excavation).\r"
        "Lateral movement (y) should start from negative deflection\r"
        "     (towards backfill) and gradually increase to positive\r"
        "     deflection (towards excavation) for the range of the response.\r"
        "Positive soil resistance (p) should correspond to the negative\r"
        "     soil movement (-y) and negative soil resistance (-p) should\r"
        "     correspond to the positive soil movement (y).");
    distLoad_->SetHelpPicture(kEarthPressurePicture);
    longDist_->SetHelpPicture(kEarthPressurePicture);
    soilStrength_->SetHelpPicture(kTiebackPicture);
}

void TProjectTables::setEntryChecks() {
    // The engine takes a layer as the soil between the bottom of the layer above (the top of the wall for
    // the first) and its own bottom, and stops the run on a layer that does not reach below its top.
    for (TGridTable* layers : {newSoil_, longSoil_}) {
        auto* bottom = dynamic_cast<components::TFloatColumn*>(layers->Columns(kLayerBottomColumn));
        if (bottom == nullptr) throw EReadError("The layout has no layer bottom column in " + layers->Caption());
        bottom->CheckEntry = [bottom](int Row, components::Extended Value) -> std::string {
            if (Row == 0) return Value > 0 ? "" : "Entry must be greater than 0.";
            const components::Extended above = bottom->AsFloat(Row - 1);
            if (Value > above) return "";
            return "Entry must be greater than " + components::formatGeneral(above, components::kCellDigits) +
                   ", the bottom of the layer above.";
        };
    }
}

void TProjectTables::setStoredForms() {
    const auto column = [](TGridTable* table, int index) {
        auto* found = dynamic_cast<components::TFloatColumn*>(table->Columns(index));
        if (found == nullptr)
            throw EReadError("The layout has no number column " + std::to_string(index + 1) + " in " +
                             table->Caption());
        return found;
    };
    // The columns the file writer converts, with its conversions.
    column(pyMod_, 0)->StoredForm = FileLength;
    for (TGridTable* pressure : {distLoad_, longDist_}) {
        column(pressure, 0)->StoredForm = FileLength;
        column(pressure, 1)->StoredForm = FilePerLength;
    }
    for (TGridTable* layers : {newSoil_, longSoil_}) {
        column(layers, kLayerBottomColumn)->StoredForm = FileLength;
        // The parameter templates, so every layer's parameter sub-table is cloned with the stored forms.
        auto* parameters = dynamic_cast<components::TTableColumn*>(layers->Columns(kLayerParametersColumn));
        if (parameters == nullptr) throw EReadError("The layout has no parameter column in " + layers->Caption());
        for (int type = 1; type <= 7; ++type) {
            TGridTable* parameterTemplate = parameters->Templates().Template(plainSpace_, type - 1);
            if (parameterTemplate == nullptr) continue;
            column(parameterTemplate, kSlotColumns[type - 1][0])->StoredForm = FilePerVolume;
            if (SlotIsCohesion(type, 1)) column(parameterTemplate, kSlotColumns[type - 1][1])->StoredForm = FilePerArea;
        }
    }
}

TGridTable* TProjectTables::FindPlain(const std::string& Name) const {
    return find(plain_, plainNames_, Name);
}

TGridTableChart* TProjectTables::FindChart(const std::string& Name) const {
    return find(chart_, chartNames_, Name);
}

bool TProjectTables::GetChanged() const {
    return std::any_of(plain_.begin(), plain_.end(), [](const TGridTable* t) { return t->GetChanged(); });
}

void TProjectTables::ClearChanged() {
    for (TGridTable* table : plain_) table->SetChanged(false);
}

void TProjectTables::ResetRows() {
    for (TGridTable* table : plain_) {
        table->SetRowCount(0);
        table->SetRowCount(table->MinRows());
    }
    for (TGridTableChart* table : chart_) table->SetRowCount(0);
}

void TProjectTables::FillEmptyTables() {
    for (TGridTable* table : plain_)
        if (table->RowCount() == 0) table->SetRowCount(table->MinRows());
}

namespace {

template <class Space>
void refreshEditors(Space& space) {
    // The editors first, then the refreshes: a refresh must not change the list being walked.
    std::vector<typename Space::Table*> shown;
    for (int i = 0; i < space.TableCount(); ++i)
        if (space.Tables(i)->EditorForm() != nullptr) shown.push_back(space.Tables(i));
    for (auto* table : shown) table->FireDataChanged();
}

}  // namespace

void TProjectTables::ShowRowsInEditors() {
    refreshEditors(plainSpace_);
    refreshEditors(chartSpace_);
}

}  // namespace velmor::project
