#include "tables/col_stream.h"

#include <gtest/gtest.h>

#include "table_test_support.h"

namespace velmor::components {
namespace {

using testing::addEnum;
using testing::addFloat;
using testing::addInt;
using testing::addTables;

std::string written(const TGridTable& table) {
    TColWriter writer;
    table.WriteColumns(writer);
    return writer.Text();
}

TEST(ColStream, TypedValuesRoundTrip) {
    TColWriter writer;
    writer.WriteInteger(-2147483647 - 1);
    writer.WriteBoolean(true);
    writer.WriteString("a \"q\" \\ \t\r\n\x01 \xE9");
    writer.WriteListBegin();
    writer.WriteFloat(0.1L);
    writer.WriteFloat(-2.5e-300L);
    writer.WriteListEnd();
    writer.WriteFloat(3);
    TColReader reader(writer.Text());
    EXPECT_EQ(reader.ReadInteger(), -2147483647 - 1);
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_EQ(reader.ReadString(), "a \"q\" \\ \t\r\n\x01 \xE9");
    reader.ReadListBegin();
    const Extended tenth = reader.ReadFloat();
    EXPECT_EQ(formatGeneral(tenth, kFieldDigits), "0.1");
    EXPECT_EQ(reader.ReadFloat(), -2.5e-300L);
    EXPECT_TRUE(reader.EndOfList());
    reader.ReadListEnd();
    EXPECT_EQ(reader.ReadFloat(), 3);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ColStream, ReaderAcceptsCommentsBlankLinesAndEveryLineEnd) {
    TColReader reader("# layout\r\n\r\n  Int 4\rBool False\n\tStr \"x\"");
    EXPECT_EQ(reader.ReadInteger(), 4);
    EXPECT_FALSE(reader.ReadBoolean());
    EXPECT_EQ(reader.ReadString(), "x");
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ColStream, BadValuesRaiseReadErrors) {
    const char* streams[] = {
        "Int",         "Int 3x",  "Int 99999999999", "Bool yes", "Str \"open", "Str \"a\" b", "Str \"\\q\"",
        "Float 1.2.3", "Thing 4", "List 3",          ""};
    for (const char* text : streams) {
        TColReader reader(text);
        EXPECT_THROW(
            {
                if (std::string(text).rfind("Str", 0) == 0) {
                    reader.ReadString();
                } else if (std::string(text).rfind("Float", 0) == 0) {
                    reader.ReadFloat();
                } else if (std::string(text).rfind("Bool", 0) == 0) {
                    reader.ReadBoolean();
                } else {
                    reader.ReadInteger();
                }
            },
            EReadError)
            << text;
    }
    TColReader typed("Str \"1\"");
    EXPECT_THROW(typed.ReadInteger(), EReadError);
    EXPECT_EQ(typed.ReadString(), "1");  // the reader stays at the offending value
}

// Every kind with settings that differ from the defaults.
struct AllKinds {
    TTableSpace space;
    TGridTable clay{space};
    TGridTable sand{space};
    TGridTable table{space};
    AllKinds() {
        auto& items = addEnum(table, "Soil", {"Clay", "Sand", "Rock"});
        items.Header.push_back("Type ");
        items.PerGroup = true;
        auto& ints = addInt(table, "Node", 3, -5, 2147483600);
        ints.Visible = false;
        addFloat(table, "Top", "F/L2^3", 0.1L, true);
        addFloat(table, "Bottom", "");
        addTables(table, "Edit", {clay.Identifier(), sand.Identifier(), -1});
        auto text = std::make_unique<TStringColumn>(&table);
        text->Default = "n/a";
        text->Width = 1.25L;
        table.AddColumn(std::move(text));
    }
};

TEST(ColStream, EveryKindWritesReadsAndWritesTheSameStream) {
    AllKinds source;
    const std::string first = written(source.table);
    TGridTable copy(source.space);
    TColReader reader(first);
    copy.ReadColumns(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(written(copy), first);
    ASSERT_EQ(copy.ColumnCount(), 6);
    EXPECT_EQ(copy.Columns(0)->Header, (std::vector<std::string>{"Soil", "Type "}));
    EXPECT_TRUE(copy.Columns(0)->PerGroup);
    EXPECT_FALSE(copy.Columns(1)->Visible);
    EXPECT_EQ(static_cast<TIntColumn*>(copy.Columns(1))->MaxValue, 2147483600);
    EXPECT_TRUE(static_cast<TFloatColumn*>(copy.Columns(2))->TopDepth);
    EXPECT_EQ(static_cast<TFloatColumn*>(copy.Columns(2))->Default, 0.1L);
    EXPECT_EQ(static_cast<TStringColumn*>(copy.Columns(5))->Width, 1.25L);
    copy.SetRowCount(1);
    copy.Cell(0, 0).SetInteger(2);
    EXPECT_EQ(copy.Cell(4, 0).AsTable()->ClonedFrom(), &source.sand);
}

TEST(ColStream, TemplateListsFollowTheItemsOfColumnZero) {
    AllKinds s;
    auto* items = static_cast<TEnumColumn*>(s.table.Columns(0));
    auto* tables = static_cast<TTableColumn*>(s.table.Columns(4));
    items->SetItems({"Clay"});
    EXPECT_EQ(tables->Templates().Count(), 1);
    items->SetItems({"Clay", "Sand", "Rock", "Silt"});
    ASSERT_EQ(tables->Templates().Count(), 4);
    EXPECT_EQ(tables->Templates().Resolve(s.space, 3), -1);
    // A written reference names the template's identifier, or -1 when it resolves to none.
    EXPECT_NE(
        written(s.table).find("  Int " + std::to_string(s.clay.Identifier()) + "\n  Int -1\n  Int -1\n  Int -1\nEnd"),
        std::string::npos);
}

TEST(ColStream, OlderFormsReadIntoTheNewerColumns) {
    TTableSpace space;
    TGridTable t0(space), t1(space), t2(space);  // identifiers 0, 1, 2 at positions 0, 1, 2
    t2.SetIdentifier(7);
    const std::string itemHeader =
        "Int 2\nInt 0\nList\nStr \"Soil\"\nEnd\nBool True\nBool False\n"
        "List\nStr \"a\"\nStr \"b\"\nEnd\n";
    const std::string oldTable = "Int 3\nList\nEnd\nBool True\nBool False\nStr \"FLEXCOLUMN\"\nInt 2\n";
    struct Case {
        const char* name;
        bool hardwired;
        std::string stream;
        std::vector<int> identifiers;  // written back
    };
    const Case cases[] = {
        {"position for every item", true, itemHeader + oldTable, {7, 7}},
        {"identifier i for item i", false, itemHeader + oldTable, {1, -1}},  // nobody holds identifier 2
        {"no item column", false, "Int 1\n" + oldTable, {7}},
    };
    for (const auto& c : cases) {
        TGridTable table(space);
        table.SetHardwiredButton(c.hardwired);
        TColReader reader(c.stream);
        table.ReadColumns(reader);
        auto* tables = static_cast<TTableColumn*>(table.Columns(table.ColumnCount() - 1));
        std::vector<int> ids;
        for (int i = 0; i < tables->Templates().Count(); ++i) {
            const TGridTable* t = tables->Templates().Template(space, i);
            ids.push_back(t != nullptr ? t->Identifier() : -1);
        }
        EXPECT_EQ(ids, c.identifiers) << c.name;
    }
    TGridTable floats(space);
    TColReader reader("Int 1\nInt 2\nList\nStr \"Depth\"\nEnd\nBool True\nBool False\nBool False\nStr \"L2\"\n");
    floats.ReadColumns(reader);
    auto* depth = static_cast<TFloatColumn*>(floats.Columns(0));
    EXPECT_EQ(depth->UnitString, "L2");
    EXPECT_EQ(depth->Default, 0);
    EXPECT_NE(written(floats).find("Str \"FLOATCOLUMN2\"\nStr \"L2\"\nFloat 0\n"), std::string::npos);
}

TEST(ColStream, LoadingErrorsLeaveOnlyWholeColumns) {
    const std::string intColumn = "Int 1\nList\nEnd\nBool True\nBool False\nInt 0\nInt 0\nInt 9\n";
    struct Case {
        std::string stream;
        const char* message;
        int columns;
    };
    const Case cases[] = {
        {"Str \"2\"", "Error reading column count", 0},
        {"Int 2\n" + intColumn + "Int 8\n", "Error Column Class not defined", 1},
        {"Int 2\n" + intColumn + "Int 1\nList\nEnd\nBool True\n",
         "Error occured when creating column 1: Layout line 14: Boolean expected, end of stream found", 1},
        {"Int 2000000000\n" + intColumn,
         "Error occured when creating column 1: Layout line 10: Integer expected, end of stream found", 1},
    };
    for (const auto& c : cases) {
        TTableSpace space;
        TGridTable table(space);
        TColReader reader(c.stream);
        try {
            table.ReadColumns(reader);
            ADD_FAILURE() << c.message;
        } catch (const EReadError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(table.ColumnCount(), c.columns) << c.message;
    }
}

}  // namespace
}  // namespace velmor::components
