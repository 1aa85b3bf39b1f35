#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "components/comma_locale.h"
#include "table_test_support.h"
#include "tables/col_stream.h"
#include "tables/grid_table_chart.h"
#include "tables/number_import.h"

namespace velmor::components {
namespace {

using testing::addFloat;
using testing::addTables;

TEST(ChartTables, FamiliesHaveSeparateIdentifiersAndTemplates) {
    TTableSpace plain;
    TTableSpaceChart charts;
    TGridTable soil(plain);
    TGridTableChart rows(charts);
    EXPECT_EQ(soil.Identifier(), 0);
    EXPECT_EQ(rows.Identifier(), 0);
    EXPECT_EQ(plain.TableCount(), 1);
    EXPECT_EQ(charts.TableCount(), 1);
    EXPECT_EQ(charts.Tables(0), &rows);
}

TEST(ChartTables, GraphParametersTravelInColAndInClones) {
    TTableSpaceChart space;
    TGridTableChart points(space);
    points.SetCaption("External p-y Curve");
    points.SetMinRows(2);
    addFloat(points, "y", "L1");
    addFloat(points, "p", "F1/L1");
    points.ShowGraph = true;
    points.XColumn = 0;
    points.YColumn = 1;
    points.Y2Column = 3;
    points.GetDataFromFile = true;
    points.InvertedYAxis = true;
    TColWriter writer;
    points.WriteColumns(writer);
    EXPECT_NE(writer.Text().find("Bool True\nBool False\nInt 0\nInt 1\nInt 0\nInt 3\n"), std::string::npos);

    TGridTableChart copy(space);
    TColReader reader(writer.Text());
    copy.ReadColumns(reader);
    EXPECT_TRUE(copy.ShowGraph);
    EXPECT_EQ(copy.Y2Column, 3);
    EXPECT_FALSE(copy.GetDataFromFile);  // published, not in "Col"

    TGridTableChart sets(space);
    addTables(sets, "Curve", {points.Identifier()});
    sets.SetRowCount(1);
    TGridTableChart* curve = sets.Cell(0, 0).AsTable();
    ASSERT_NE(curve, nullptr);
    EXPECT_TRUE(curve->ShowGraph && curve->GetDataFromFile && curve->InvertedYAxis);
    EXPECT_EQ(curve->Y2Column, 3);
    EXPECT_EQ(curve->RowCount(), 2);

    std::string truncated = writer.Text();
    truncated.resize(truncated.rfind("Int 0\nInt 3"));
    TGridTableChart damaged(space);
    TColReader bad(truncated);
    try {
        damaged.ReadColumns(bad);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Error reading graphic parameters");
    }
}

TEST(ChartTables, RecreatedSubTableKeepsRowsAndValues) {
    TTableSpaceChart space;
    TGridTableChart narrow(space), wide(space);
    addFloat(narrow, "y");
    addFloat(wide, "y");
    addFloat(wide, "p", "", 7);
    TGridTableChart sets(space);
    auto kind = std::make_unique<TEnumColumnChart>(&sets);
    kind->SetItems({"narrow", "wide"});
    sets.AddColumn(std::move(kind));
    addTables(sets, "Curve", {narrow.Identifier(), wide.Identifier()});
    sets.SetRowCount(1);
    TGridTableChart* before = sets.Cell(1, 0).AsTable();
    before->SetRowCount(3);
    for (int r = 0; r < 3; ++r) before->Cell(0, r).SetFloat(r + 0.5L);
    sets.Cell(0, 0).SetInteger(2);
    TGridTableChart* after = sets.Cell(1, 0).AsTable();
    ASSERT_EQ(after->ColumnCount(), 2);
    ASSERT_EQ(after->RowCount(), 3);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(after->Cell(0, r).AsFloat(), r + 0.5L);
        EXPECT_EQ(after->Cell(1, r).AsFloat(), 7);  // a column the old table lacked keeps its default
    }
    EXPECT_EQ(wide.RowCount(), 0);  // the template itself is left alone
}

TEST(ChartTables, UnitsUseTheChartFactors) {
    TTableSpaceChart space;
    TGridTableChart table(space);
    addFloat(table, "p", "F1/L1");
    table.SetRowCount(1);
    table.SetUnits(2);
    table.Cell(0, 0).SetFloat(1);  // kN/mm
    table.SetUnits(1);
    // 0.2248089237 kips/kN over 0.03937007874 in/mm = 5.710146662 kips/in per kN/mm (by hand).
    EXPECT_NEAR(static_cast<double>(table.Cell(0, 0).AsFloat()), 5.710146662, 1e-9);
    EXPECT_EQ(table.Columns(0)->GetHeaderLine(0), "p (kips/in)  ");
}

TEST(NumberImport, ParseNumbers) {
    struct Case {
        const char* line;
        std::vector<double> numbers;
    };
    const Case cases[] = {
        {"1.5, 2.0", {1.5, 2.0}},
        {"1.5 abc 3", {1.5}},
        {"\t 1e3\t-2 ", {1000, -2}},
        {"3.25\r", {3.25}},
        {"1,,2", {1}},
        {"", {}},
        {"7 x", {7}},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"1,5", {1, 5}},  // the decimal point is always "."
    };
    for (const auto& c : cases) {
        std::vector<Extended> numbers;
        const int count = ParseNumbers(c.line, numbers);
        ASSERT_EQ(count, static_cast<int>(c.numbers.size())) << c.line;
        for (int i = 0; i < count; ++i) EXPECT_EQ(static_cast<double>(numbers[i]), c.numbers[i]) << c.line;
    }
}

TEST(NumberImport, DecimalPointIgnoresACommaLocale) {
    const test::CommaLocale comma;
    std::vector<Extended> numbers;
    EXPECT_EQ(ParseNumbers("2.5 1", numbers), 2);
    EXPECT_EQ(numbers[0], 2.5L);
    TColWriter writer;
    writer.WriteFloat(2.5L);
    EXPECT_EQ(writer.Text(), "Float 2.5\n");
    EXPECT_EQ(TColReader(writer.Text()).ReadFloat(), 2.5L);
}

TEST(NumberImport, LinesBecomeRows) {
    std::string twelve;
    for (int i = 1; i <= 12; ++i) twelve += std::to_string(i) + " " + std::to_string(i * 10) + "\r\n";
    const std::string three = "1 2\n2 4\n3 6\n";
    struct Case {
        const char* name;
        std::string text;
        int rowsBefore;
        int maxRows;
        int rowsAfter;
        double lastX;  // column 0 of the last row
        int imported = -1, leftOut = 0, minRows = 1, rowGroup = 1;
        bool refused = false;
    };
    const Case cases[] = {
        {"12 lines into 1 row", twelve, 1, 100, 12, 12},
        {"3 lines into 10 rows", "1 2\n3 4\n5 6\n", 10, 100, 3, 5},
        {"MaxRows stops the import", twelve, 1, 5, 5, 5, 5, 7},
        {"MaxRows 0 means no limit", twelve, 1, 0, 12, 12},
        {"last line without a break counts", "1 2\r3 4", 1, 0, 2, 3},
        {"lines that do not fit are skipped", "1 2 3\n# x\n8 9\n1.5 abc\n", 4, 0, 1, 8},
        {"nothing fits: rows stay", "a b\n", 4, 0, 4, 0},
        // Rows in groups of two: the group that holds the last imported row stays whole.
        {"groups: 3 lines into 6 rows", three, 6, 0, 4, 0, 3, 0, 1, 2},
        {"groups: 3 lines into 2 rows", three, 2, 0, 4, 0, 3, 0, 1, 2},
        {"groups: a group beyond MaxRows is not added", "1 2\n2 4\n3 6\n4 8\n5 10\n", 2, 5, 4, 4, 4, 1, 1, 2},
        {"groups: fewer rows than MinRows are refused", "1 2\n", 6, 0, 6, 0, 0, 0, 4, 2, true},
    };
    for (const auto& c : cases) {
        TTableSpaceChart space;
        TGridTableChart table(space);
        table.SetMaxRows(c.maxRows);
        table.SetMinRows(c.minRows);
        table.SetRowGroup(c.rowGroup);
        addFloat(table, "M");
        addFloat(table, "EI");
        table.SetRowCount(c.rowsBefore);
        const TImportResult result = ImportNumberLines(SplitLines(c.text), table);
        EXPECT_EQ(table.RowCount(), c.rowsAfter) << c.name;
        EXPECT_EQ(static_cast<double>(table.Cell(0, table.RowCount() - 1).AsFloat()), c.lastX) << c.name;
        if (c.imported >= 0) {
            EXPECT_EQ(result.Imported, c.imported) << c.name;
            EXPECT_EQ(result.LeftOut, c.leftOut) << c.name;
            EXPECT_EQ(result.Refused, c.refused) << c.name;
        }
        for (int r = 0; r < result.Imported && c.rowGroup > 1; ++r)
            EXPECT_EQ(static_cast<double>(table.Cell(0, r).AsFloat()), r + 1) << c.name;
    }
}

TEST(NumberImport, FileLinesAndMissingFile) {
    const std::string path = ::testing::TempDir() + "chart_import.txt";
    {
        std::ofstream file(path, std::ios::binary);
        file << "1 2\r\n3 4";
    }
    EXPECT_EQ(ReadTextLines(path), (std::vector<std::string>{"1 2", "3 4"}));
    std::remove(path.c_str());
    EXPECT_THROW(ReadTextLines(path), EInOutError);
    EXPECT_EQ(SplitLines("a\n\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
}  // namespace velmor::components
