#include "tables/column_kinds.h"

#include <gtest/gtest.h>

#include "table_test_support.h"

namespace velmor::components {
namespace {

using testing::addEnum;
using testing::addFloat;
using testing::addInt;
using testing::FakeEditor;

// The message of the error that `call` raises, or "" when it raises none.
template <class Call>
std::string errorOf(Call call) {
    try {
        call();
    } catch (const Exception& e) {
        return e.what();
    }
    return "";
}

TEST(ColumnEntries, TextIsEvaluatedAndCheckedByKind) {
    struct Case {
        const char* text;
        int column;  // 0 item, 1 integer 0..2147483647, 2 float
        bool editorOpen;
        const char* message;  // "" when accepted
        const char* shown;    // GetText after the entry (the old text after an error)
    };
    const Case cases[] = {
        {"2*3", 0, false, "", "6"},
        {"2.5", 0, false, "Value must be an integer.", "1"},
        {"1e10", 0, false, "Value must be an integer.", "1"},
        {"-1", 1, true, "Entry must be between 0 and 2147483647.", "5"},
        {"-1", 1, false, "", "-1"},
        {"4.00000000001", 1, true, "", "4"},
        {"4.5", 1, true, "Entry must be an integer.", "5"},
        {"-4.5", 1, true, "Entry must be an integer.", "5"},
        {"4.5", 1, false, "", "4"},  // rounded half to even without the editor
        {"5.5", 1, false, "", "6"},
        {"1e12", 1, false, "Entry must be between -2147483648 and 2147483647.", "5"},
        {"1/3", 2, false, "", "0.33333333"},
        {"1e20*3", 2, false, "", "3E20"},
        {"", 2, false, "Entry could not be evaluated:\rentry cannot be blank", "2.5"},
    };
    for (const auto& c : cases) {
        TTableSpace space;
        TGridTable table(space);
        addEnum(table, "Case", {"a", "b"});
        addInt(table, "Node", 0, 0, 2147483647);
        addFloat(table, "Depth");
        table.SetRowCount(1);
        table.Cell(1, 0).SetInteger(5);
        table.Cell(2, 0).SetFloat(2.5);
        FakeEditor editor;
        if (c.editorOpen) table.SetEditorForm(&editor);
        EXPECT_EQ(errorOf([&] { table.Cell(c.column, 0).SetText(c.text); }), c.message) << c.text;
        EXPECT_EQ(table.Cell(c.column, 0).GetText(), c.shown) << c.text;
        table.SetEditorForm(nullptr);
    }
}

TEST(ColumnEntries, StringColumnKeepsTextAsTyped) {
    TTableSpace space;
    TGridTable table(space);
    auto column = std::make_unique<TStringColumn>(&table);
    column->Default = "none";
    table.AddColumn(std::move(column));
    table.SetRowCount(2);
    table.Cell(0, 1).SetText(" 2*3 ");
    EXPECT_EQ(table.Cell(0, 0).GetText(), "none");
    EXPECT_EQ(table.Cell(0, 1).GetText(), " 2*3 ");
}

TEST(ColumnPerGroup, ValueGoesToEveryRowOfItsGroup) {
    TTableSpace space;
    TGridTable table(space);
    table.SetRowGroup(3);
    addInt(table, "n").PerGroup = true;
    addFloat(table, "x").PerGroup = true;
    addEnum(table, "e", {"a", "b"});
    table.SetRowCount(6);
    std::vector<std::pair<int, int>> changes;
    table.OnCellChanged = [&](int c, int r) { changes.emplace_back(c, r); };
    table.Cell(0, 4).SetInteger(7);
    table.Cell(1, 3).SetText("2.5");
    table.Cell(2, 4).SetInteger(2);  // not per group: one row
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(table.Cell(0, r).AsInteger(), r >= 3 ? 7 : 0) << r;
        EXPECT_EQ(table.Cell(1, r).AsFloat(), r >= 3 ? 2.5L : 0) << r;
        EXPECT_EQ(table.Cell(2, r).AsInteger(), r == 4 ? 2 : 1) << r;
    }
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{0, 3}, {0, 4}, {0, 5}, {1, 3}, {1, 4}, {1, 5}, {2, 4}}));
    changes.clear();
    table.Cell(2, 4).SetInteger(2);  // the same item again: nothing happens
    EXPECT_TRUE(changes.empty());
}

// Layers as top and bottom depth: column 0 is the top of each row, column 1 its bottom.
struct Layers {
    TTableSpace space;
    TGridTable table{space};
    Layers(std::vector<std::pair<int, int>> rows) {
        addFloat(table, "Top", "L2", 0, true);
        addFloat(table, "Bottom", "L2");
        table.SetRowCount(static_cast<int>(rows.size()));
        for (int r = 0; r < table.RowCount(); ++r) {
            table.Columns(0)->SetFloat(r, rows[r].first);
            table.Columns(1)->SetFloat(r, rows[r].second);
        }
    }
    std::vector<std::pair<int, int>> rows() const {
        std::vector<std::pair<int, int>> out;
        for (int r = 0; r < table.RowCount(); ++r) {
            out.emplace_back(static_cast<int>(table.Cell(0, r).AsFloat()),
                             static_cast<int>(table.Cell(1, r).AsFloat()));
        }
        return out;
    }
};

TEST(ColumnTopDepth, InsertDeleteAndSetKeepLayersJoined) {
    {
        Layers l({{0, 5}, {5, 10}});
        l.table.InsertRowGroup(1);
        EXPECT_EQ(l.rows(), (std::vector<std::pair<int, int>>{{0, 5}, {5, 5}, {5, 10}}));
    }
    {
        Layers l({{0, 5}, {5, 10}, {10, 15}});
        l.table.DeleteRowGroup(1);  // the row after the gap starts where the row before ends
        EXPECT_EQ(l.rows(), (std::vector<std::pair<int, int>>{{0, 5}, {5, 15}}));
    }
    {
        Layers l({{0, 5}, {5, 10}, {10, 15}});
        std::vector<std::pair<int, int>> changes;
        l.table.OnCellChanged = [&](int c, int r) { changes.emplace_back(c, r); };
        l.table.Cell(0, 2).SetFloat(12);  // new top of row 2 moves the bottom of row 1
        l.table.Cell(1, 0).SetFloat(4);   // new bottom of row 0 moves the top of row 1
        EXPECT_EQ(l.rows(), (std::vector<std::pair<int, int>>{{0, 4}, {4, 12}, {12, 15}}));
        EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{1, 1}, {0, 2}, {0, 1}, {1, 0}}));
    }
    {
        TTableSpace space;
        TGridTable table(space);
        addFloat(table, "Top", "", 0, true);
        addInt(table, "n");
        EXPECT_EQ(errorOf([&] { table.SetRowCount(1); }),
                  "If column if a topdepth then the next column must be a float column");
    }
}

TEST(ColumnUnits, FloatValuesRescaleAndReturn) {
    struct Case {
        const char* code;
        Extended si;
        Extended english;  // by hand: value x factor
    };
    const Case cases[] = {
        {"L2", 10, 32.80839895L},
        {"", 10, 10},
        {"SEE NOTES", 3, 3},
        {"F/L", 1, 224.8089237L / 39.37007874L},
    };
    for (const auto& c : cases) {
        TTableSpace space;
        TGridTable table(space);
        table.SetUnits(2);
        addFloat(table, "v", c.code, 1);
        table.SetRowCount(1);
        table.Cell(0, 0).SetFloat(c.si);
        table.SetUnits(1);
        // Factors have 10 significant digits; products and quotients of them are exact to long double.
        EXPECT_NEAR(static_cast<double>(table.Cell(0, 0).AsFloat()), static_cast<double>(c.english),
                    1e-12 * static_cast<double>(c.english))
            << c.code;
        table.SetUnits(2);
        EXPECT_NEAR(static_cast<double>(table.Cell(0, 0).AsFloat()), static_cast<double>(c.si), 1e-12) << c.code;
        EXPECT_EQ(static_cast<TFloatColumn*>(table.Columns(0))->Default, 1) << c.code;
    }
}

}  // namespace
}  // namespace velmor::components

namespace velmor::components {
namespace {

TEST(ColumnWidth, HeaderOrTheKindsMinimum) {
    // 7 pixels per character, 96 pixels per inch.
    struct Measure : TTextMeasure {
        int TextWidth(const std::string& AText) const override { return 7 * static_cast<int>(AText.size()); }
        int PixelsPerInch() const override { return 96; }
    } measure;
    TTableSpace space;
    TGridTable table(space);
    testing::addEnum(table, "Soil", {"a"});
    testing::addInt(table, "From Node No. (Start)");
    testing::addFloat(table, "");
    testing::addTables(table, "Edit", {});
    auto text = std::make_unique<TStringColumn>(&table);
    text->Width = 1.26L;
    table.AddColumn(std::move(text));
    const int expected[] = {144, (21 + 2) * 7, 48, 192, 121};
    for (int c = 0; c < table.ColumnCount(); ++c) EXPECT_EQ(table.Columns(c)->GetWidth(measure), expected[c]) << c;
}

}  // namespace
}  // namespace velmor::components
