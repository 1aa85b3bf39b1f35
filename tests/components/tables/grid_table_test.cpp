#include "tables/grid_table.h"

#include <gtest/gtest.h>

#include "table_test_support.h"

namespace velmor::components {
namespace {

using testing::addEnum;
using testing::addFloat;
using testing::addInt;
using testing::addTables;
using testing::FakeButton;
using testing::FakeCombo;
using testing::FakeEditor;
using testing::FakeHost;

// Values of column 0 as integers, row by row.
std::vector<int> column0(const TGridTable& table) {
    std::vector<int> values;
    for (int r = 0; r < table.RowCount(); ++r) values.push_back(table.Cell(0, r).AsInteger());
    return values;
}

// A table of one integer column holding 0, 1, 2, ... n - 1.
void numbered(TGridTable& table, int n) {
    table.SetRowCount(n);
    for (int r = 0; r < n; ++r) table.Cell(0, r).SetInteger(r);
}

TEST(GridTableRows, SetRowCountClampsAtZeroAndKeepsTheFirstRows) {
    TTableSpace space;
    TGridTable table(space);
    addInt(table, "n", 7);
    numbered(table, 5);
    table.SetRowCount(3);
    EXPECT_EQ(column0(table), (std::vector<int>{0, 1, 2}));
    table.SetRowCount(4);
    EXPECT_EQ(column0(table), (std::vector<int>{0, 1, 2, 7}));  // new rows take the default
    table.SetRowCount(-5);
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_EQ(table.Columns(0)->RowCount(), 0);
}

TEST(GridTableRows, RowGroupsInsertAndDeleteWholeGroups) {
    struct Case {
        const char* name;
        bool insert;
        int row;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"delete group of row 3", false, 3, {0, 1, 4, 5}},
        {"delete group of row 2", false, 2, {0, 1, 4, 5}},
        {"insert before group of row 3", true, 3, {0, 1, -1, -1, 2, 3, 4, 5}},
        {"insert before group of row 0", true, 0, {-1, -1, 0, 1, 2, 3, 4, 5}},
        {"insert at the end", true, 6, {0, 1, 2, 3, 4, 5, -1, -1}},
    };
    for (const auto& c : cases) {
        TTableSpace space;
        TGridTable table(space);
        table.SetRowGroup(2);
        addInt(table, "n", -1);
        numbered(table, 6);
        int fired = 0;
        table.OnDataChanged = [&] { ++fired; };
        if (c.insert) {
            table.InsertRowGroup(c.row);
        } else {
            table.DeleteRowGroup(c.row);
        }
        EXPECT_EQ(column0(table), c.expected) << c.name;
        EXPECT_EQ(fired, 1) << c.name;
    }
}

TEST(GridTableRows, RowCountNotAMultipleOfTheGroupGivesExactlyThatManyRows) {
    TTableSpace space;
    TGridTable table(space);
    table.SetRowGroup(2);
    addInt(table, "n");
    table.SetRowCount(3);
    EXPECT_EQ(table.Columns(0)->RowCount(), 3);
    table.DeleteRowGroup(2);  // the last, partial group
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.Columns(0)->RowCount(), 2);
}

TEST(GridTableRows, CellAccessorFollowsItsRow) {
    TTableSpace space;
    TGridTable table(space);
    addInt(table, "n");
    numbered(table, 4);
    TData& third = table.Cell(0, 2);
    table.InsertRowGroup(0);
    EXPECT_EQ(third.Row(), 3);
    EXPECT_EQ(third.AsInteger(), 2);
    table.DeleteRowGroup(0);
    table.DeleteRowGroup(0);
    EXPECT_EQ(third.Row(), 1);
    EXPECT_EQ(&table.Cell(0, 1), &third);
}

TEST(GridTableAccess, ContractErrors) {
    TTableSpace space;
    TGridTable table(space);
    addInt(table, "n");
    table.Columns(0)->Visible = false;
    addFloat(table, "x");
    table.SetRowCount(1);
    EXPECT_THROW(table.Cell(2, 0), EListError);
    EXPECT_THROW(table.Cell(0, 1), EListError);
    EXPECT_EQ(table.VisibleColumnCount(), 1);
    EXPECT_EQ(table.VisibleColumns(0), table.Columns(1));
    EXPECT_EQ(table.VisibleIndexOf(table.Columns(0)), -1);
    try {
        table.VisibleColumns(1);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "Index out of bounds");
    }
    try {
        table.Cell(0, 0).AsFloat();
        FAIL();
    } catch (const EInvalidCast& e) {
        EXPECT_STREQ(e.what(), "Data of wrong type");
    }
    EXPECT_THROW(table.Cell(1, 0).AsTable(), EInvalidCast);
    EXPECT_THROW(table.Cell(1, 0).SetInteger(1), EInvalidCast);
    EXPECT_TRUE(table.IsValidCell(1, 0));
    EXPECT_FALSE(table.IsValidCell(1, 1));
}

TEST(GridTableProperties, MinRowsAndRowGroupSetters) {
    TTableSpace space;
    TGridTable table(space);
    try {
        table.SetMinRows(0);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Value must be greater than 0");
    }
    table.SetLoading(true);
    table.SetMinRows(-3);
    EXPECT_EQ(table.MinRows(), 1);
    table.SetRowGroup(0);
    EXPECT_EQ(table.RowGroup(), 1);
}

TEST(GridTableIdentifiers, SetIdentifierSwapsWithTheTableHoldingTheValue) {
    TTableSpace space;
    std::vector<std::unique_ptr<TGridTable>> tables;
    for (int i = 0; i < 20; ++i) tables.push_back(std::make_unique<TGridTable>(space));
    EXPECT_EQ(tables[19]->Identifier(), 19);
    tables[3]->SetIdentifier(40);  // a stored table claims 40
    auto latest = std::make_unique<TGridTable>(space);
    EXPECT_EQ(latest->Identifier(), 20);
    latest->SetIdentifier(40);
    EXPECT_EQ(latest->Identifier(), 40);
    EXPECT_EQ(tables[3]->Identifier(), 20);  // the other table takes the new table's previous identifier
    latest->SetIdentifier(-1);
    EXPECT_EQ(latest->Identifier(), 40);
    EXPECT_EQ(space.PositionOfIdentifier(40), 20);
    latest.reset();
    EXPECT_EQ(space.TableCount(), 20);
    EXPECT_EQ(space.PositionOfIdentifier(40), -1);
}

TEST(GridTableRegistry, StandardKindsAndTheProgramEndCheck) {
    TTableSpace space;
    EXPECT_EQ(space.ColumnClassOf(2), &TFloatColumn::Class());
    EXPECT_EQ(space.TypeCodeOf(TTableColumn::Class()), 3);
    EXPECT_EQ(space.ColumnClassOf(5), nullptr);
    TTableSpaceChart charts;
    EXPECT_EQ(charts.TypeCodeOf(TFloatColumnChart::Class()), 2);

    space.RegisterColumnType(TFloatColumn::Class(), 7);
    space.UnregisterStandardTypes();  // every entry of the class goes, whatever its code
    EXPECT_EQ(space.ColumnTypeCount(), 0);

    TTableSpace other;
    static const TColumnClass<PlainFamily> stray{"TStray", nullptr};
    other.RegisterColumnType(stray, 9);
    try {
        other.UnregisterStandardTypes();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Column Type list not empty");
    }
}

// A soil-layer table: item column, bottom depth, and a sub-table column whose templates are chosen by the
// item (Clay for items 1 and 2, Sand for item 3, none for item 4).
struct SoilTables {
    TTableSpace space;
    TGridTable clay{space};
    TGridTable sand{space};
    TGridTable layers{space};

    SoilTables() {
        clay.SetCaption("Clay");
        clay.SetMinRows(2);
        addFloat(clay, "Unit weight", "F/L2^3", 0.5L);
        sand.SetCaption("Sand");
        sand.SetMinRows(2);
        addFloat(sand, "Friction", "", 30);
        addFloat(sand, "k", "F/L^3", 0);
        addEnum(layers, "Soil", {"Soft Clay", "Stiff Clay", "Sand", "Other"});
        addFloat(layers, "Bottom", "L2");
        addTables(layers, "Edit", {clay.Identifier(), clay.Identifier(), sand.Identifier(), -1});
        layers.SetRowCount(2);
    }
};

TEST(GridTableSubTables, RowsHoldClonesOfTheTemplateOfTheirItem) {
    SoilTables s;
    TGridTable* first = s.layers.Cell(2, 0).AsTable();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Caption(), "Clay");
    EXPECT_EQ(first->RowCount(), 2);
    EXPECT_EQ(first->Number(), 1);
    EXPECT_EQ(first->Cell(0, 1).AsFloat(), 0.5L);
    EXPECT_NE(first->Identifier(), s.clay.Identifier());

    s.layers.Cell(2, 1).AsTable()->Cell(0, 0).SetFloat(99);
    s.layers.Cell(0, 1).SetInteger(3);  // Sand: a fresh clone with default values
    TGridTable* second = s.layers.Cell(2, 1).AsTable();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Caption(), "Sand");
    EXPECT_EQ(second->Number(), 2);
    EXPECT_EQ(second->ColumnCount(), 2);
    EXPECT_EQ(second->Cell(0, 0).AsFloat(), 30);

    auto* tables = static_cast<TTableColumn*>(s.layers.Columns(2));
    EXPECT_EQ(tables->ButtonCaption(0), "1: Clay");
    s.layers.Cell(0, 1).SetInteger(4);  // reference -1: no object
    EXPECT_EQ(s.layers.Cell(2, 1).AsObject(), nullptr);
    EXPECT_EQ(tables->ButtonCaption(1), "2: ");
    s.layers.Cell(0, 1).SetInteger(9);  // outside the items: kept, no object
    EXPECT_EQ(s.layers.Cell(0, 1).AsInteger(), 9);
    EXPECT_EQ(s.layers.Cell(2, 1).AsObject(), nullptr);
}

TEST(GridTableSubTables, InsertAndDeleteRenumberTheSubTables) {
    SoilTables s;
    TGridTable* second = s.layers.Cell(2, 1).AsTable();
    FakeEditor editor;
    second->SetEditorForm(&editor);
    s.layers.InsertRowGroup(0);
    EXPECT_EQ(second->Number(), 3);
    EXPECT_EQ(editor.title, "Clay  3");
    s.layers.DeleteRowGroup(1);
    EXPECT_EQ(second->Number(), 2);
    EXPECT_EQ(s.layers.Cell(2, 0).AsTable()->Number(), 1);
    second->SetEditorForm(nullptr);

    // Caption numbers chain through the owners: a sub-table of a numbered sub-table.
    TGridTable inner(s.space, second);
    inner.SetNumber(4);
    EXPECT_EQ(inner.GetNumbers(), " 2 4");
}

TEST(GridTableSubTables, ChangedStatePassesThroughSubTables) {
    SoilTables s;
    EXPECT_FALSE(s.layers.GetChanged());
    s.layers.Cell(2, 1).AsTable()->SetChanged(true);
    EXPECT_TRUE(s.layers.GetChanged());
    s.layers.SetChanged(false);
    EXPECT_FALSE(s.layers.GetChanged());
    EXPECT_FALSE(s.layers.Cell(2, 1).AsTable()->GetChanged());
}

TEST(GridTableSubTables, UnitsReachTheSubTables) {
    SoilTables s;
    s.layers.SetUnits(2);
    int fired = 0;
    s.layers.OnDataChanged = [&] { ++fired; };
    s.layers.Cell(1, 0).SetFloat(10);                        // metres
    s.layers.Cell(2, 0).AsTable()->Cell(0, 0).SetFloat(20);  // kN/m^3
    s.layers.SetUnits(2);
    EXPECT_EQ(fired, 0);
    s.layers.SetUnits(1);
    EXPECT_EQ(fired, 1);
    // 10 m is 32.80839895 ft; 20 kN/m^3 is 20 x 224.8089237 / 3.280839895^3 = 127.3176 lbs/ft^3. The factors
    // are given to 10 digits, so the tolerance is relative 1e-9.
    EXPECT_NEAR(static_cast<double>(s.layers.Cell(1, 0).AsFloat()), 32.80839895, 32.8 * 1e-9);
    EXPECT_NEAR(static_cast<double>(s.layers.Cell(2, 0).AsTable()->Cell(0, 0).AsFloat()), 127.317596, 1e-4);
    EXPECT_EQ(s.layers.Cell(2, 0).AsTable()->Units(), 1);
    s.layers.SetUnits(2);
    EXPECT_NEAR(static_cast<double>(s.layers.Cell(1, 0).AsFloat()), 10.0, 1e-15);
    EXPECT_EQ(s.layers.Columns(1)->GetHeaderLine(0), "Bottom (m)  ");
}

TEST(GridTableSubTables, SelfReferringTemplateMakesNoObject) {
    TTableSpace space;
    TGridTable table(space);
    addTables(table, "Self", {table.Identifier()});
    table.SetRowCount(2);
    EXPECT_EQ(table.Cell(0, 0).AsObject(), nullptr);
}

TEST(GridTableSubTables, ObjectsMadeByTheOwnerGetTheirEvents) {
    struct Thing : TRowObject {
        int row = -1;
        bool changed = false;
    };
    TTableSpace space;
    TGridTable table(space);
    addTables(table, "Things", {-1});
    std::vector<std::string> log;
    table.OnInitRow = [&](TGridTable&, int col, int row, int item, std::unique_ptr<TRowObject>& data) {
        log.push_back("init " + std::to_string(col) + " " + std::to_string(row) + " " + std::to_string(item));
        data = std::make_unique<Thing>();
    };
    table.OnSetRow = [&](TGridTable&, int, TRowObject* data, int row) { static_cast<Thing*>(data)->row = row; };
    table.OnGetChanged = [&](TGridTable&, int, int, TRowObject* data, bool& changed) {
        changed = static_cast<Thing*>(data)->changed;
    };
    table.OnResetChanged = [&](TGridTable&, int, int, TRowObject* data) { static_cast<Thing*>(data)->changed = false; };
    table.OnGetButtonCaption = [&](TGridTable&, int, int row, TRowObject*, std::string& caption) {
        caption = "thing " + std::to_string(row);
    };
    table.SetRowCount(2);
    table.InsertRowGroup(0);
    EXPECT_EQ(log, (std::vector<std::string>{"init 0 0 1", "init 0 1 1", "init 0 0 1"}));
    EXPECT_EQ(static_cast<Thing*>(table.Cell(0, 2).AsObject())->row, 2);
    EXPECT_EQ(table.Cell(0, 2).AsTable(), nullptr);
    static_cast<Thing*>(table.Cell(0, 1).AsObject())->changed = true;
    EXPECT_TRUE(table.GetChanged());
    table.SetChanged(false);
    EXPECT_FALSE(table.GetChanged());
    EXPECT_EQ(static_cast<TTableColumn*>(table.Columns(0))->ButtonCaption(1), "2: thing 1");
}

TEST(GridTableEditor, HooksControlsAndRelease) {
    SoilTables s;
    s.layers.SetRowCount(3);
    FakeEditor editor;
    editor.shownRows = 2;
    editor.topRow = 1;
    FakeHost host;
    s.layers.SetEditorForm(&editor);
    std::vector<std::pair<int, int>> changes;
    s.layers.AttachEditor(
        &host, [&](int c, int r) { changes.emplace_back(c, r); }, [] {});
    auto* items = static_cast<TEnumColumn*>(s.layers.Columns(0));
    auto* tables = static_cast<TTableColumn*>(s.layers.Columns(2));
    ASSERT_EQ(items->ControlCount(), 2);
    auto* combo = static_cast<FakeCombo*>(items->GetControl(1));
    EXPECT_EQ(combo->Tag, 2);
    EXPECT_EQ(combo->itemIndex, 0);
    EXPECT_TRUE(combo->hidden);
    combo->choose(2);  // the user picks "Sand" for row 2
    EXPECT_EQ(s.layers.Cell(0, 2).AsInteger(), 3);
    EXPECT_EQ(s.layers.Cell(2, 2).AsTable()->Caption(), "Sand");
    EXPECT_EQ(static_cast<FakeButton*>(tables->GetControl(1))->caption, "3: Sand");
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{0, 2}}));
    s.layers.Cell(0, 2).SetInteger(1);  // a stored change shows in the list
    EXPECT_EQ(combo->itemIndex, 0);
    combo->focus();
    EXPECT_EQ(editor.selectedCol, 1);
    EXPECT_EQ(editor.selectedRow, 1 + 2);

    int launched = 0;
    s.space.EditorLauncher = [&](TGridTable&, bool modal) { launched += modal ? 10 : 1; };
    static_cast<FakeButton*>(tables->GetControl(0))->click();
    editor.modal = true;
    static_cast<FakeButton*>(tables->GetControl(0))->click();
    EXPECT_EQ(launched, 11);

    s.layers.HideForm();
    EXPECT_EQ(editor.released, 1);
    EXPECT_EQ(s.layers.EditorForm(), nullptr);
    EXPECT_EQ(items->ControlCount(), 0);
    EXPECT_FALSE(items->HasControls());
}

TEST(GridTableEditor, ControlContractMessages) {
    SoilTables s;
    FakeHost host, other;
    auto* items = static_cast<TEnumColumn*>(s.layers.Columns(0));
    auto* tables = static_cast<TTableColumn*>(s.layers.Columns(2));
    struct Case {
        std::function<void()> call;
        const char* message;
    };
    const Case cases[] = {
        {[&] { items->CreateControls(nullptr, 0, 1); }, "null parent"},
        {[&] { tables->CreateControls(&host, 2, 1); }, "ATopRow 2"},
        {[&] { tables->CreateControls(&host, -1, 1); }, "ATopRow -1"},
        {[&] { tables->CreateControls(&host, 1, 2); }, "ACount 2"},
        {[&] { tables->CreateControls(&host, 0, 0); }, "ACount 0"},
        {[&] {
             items->CreateControls(&host, 0, 1);
             items->CreateControls(&other, 0, 1);
         },
         "Error attempt to change parent with controls already allocated"},
        {[&] {
             tables->CreateControls(&host, 0, 1);
             tables->CreateControls(&other, 0, 1);
         },
         "Attempt to change parent with controls already allocated"},
        {[&] {
             items->ClearControls();
             items->CreateControls(&host, -1, 1);
             static_cast<FakeCombo*>(items->GetControl(0))->choose(0);
         },
         "Unexpected row for combobox"},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.message;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(GridTableEditor, ShowNeedsAVisibleColumnAndDestructionTellsTheEditor) {
    TTableSpace space;
    int launched = 0;
    space.EditorLauncher = [&](TGridTable&, bool) { ++launched; };
    FakeEditor editor;
    {
        TGridTable table(space);
        table.Show();
        EXPECT_EQ(launched, 0);
        addInt(table, "n");
        table.Show();
        EXPECT_EQ(launched, 1);
        table.SetEditorForm(&editor);
    }
    EXPECT_TRUE(editor.tableGone);
}

}  // namespace
}  // namespace velmor::components
