#include <gtest/gtest.h>

#include <filesystem>

#include "fake_hooks.h"
#include "fields/exceptions.h"
#include "fill_tables.h"
#include "project/program_data.h"
#include "support/test_support.h"
#include "tables/column_kinds.h"

namespace velmor::project {
namespace {

using components::EInOutError;
using test::readFile;
using test::sameText;
using test::ScratchDir;
using test::writeFile;

std::string crlf(const std::string& Text) {
    std::string out;
    for (char c : Text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

template <class T>
void setFloats(T& Table, int Row, std::initializer_list<long double> Values, int FirstColumn = 0) {
    int column = FirstColumn;
    for (long double v : Values) Table.Cell(column++, Row).SetFloat(v);
}

void setLayer(TGridTable& Layers, int Row, int Type, long double Bottom, std::initializer_list<long double> Values) {
    Layers.Cell(0, Row).SetInteger(Type);
    Layers.Cell(1, Row).SetFloat(Bottom);
    TGridTable* parameters = Layers.Cell(2, Row).AsTable();
    setFloats(*parameters, 0, Values);
    setFloats(*parameters, 1, Values);
}

// An English project with every record: user earth pressure and generated curves, feet in the tables.
void fillEnglish(TProgramData& D) {
    TProjectTables& t = D.Tables();
    D.Title = "Golden wall";
    D.NumIncrements = 40;
    D.IncrementLength = 6;
    D.MaxDeflection = 20;
    D.ClosureTolerance = 0.001L;
    D.FreeHeight = 120;
    D.Wa = D.Wp = 12;
    D.WaterTableBackfill = D.WaterTableExcavation = 600;
    D.UseRestraints = D.UseConcentratedLoads = D.UseSprings = D.UsePYModification = true;
    D.UseUserEarthPressure = D.UseSurcharges = D.UseExternalPYCurves = D.UseMEICurves = true;
    t.Soillayer().Cell(0, 0).SetInteger(2);
    t.Soillayer().Cell(3, 0).SetFloat(0.001L);
    t.PileSect().Cell(1, 0).SetInteger(40);
    t.PileSect().Cell(2, 0).SetInteger(2);  // the last line is always written as constant
    t.PileSect().Cell(3, 0).SetFloat(5.34e9L);
    t.BoundCond().Cell(2, 0).SetInteger(0);
    t.BoundCond().Cell(3, 0).SetFloat(1000);
    t.SoilStrength().Cell(1, 0).SetInteger(4);
    t.SoilStrength().Cell(2, 0).SetInteger(4);
    t.SoilStrength().Cell(3, 0).SetFloat(50000);
    t.PYMod().SetRowCount(1);
    setFloats(t.PYMod(), 0, {10, 0.5L, 1});  // depth in ft
    setFloats(t.DistLoad(), 1, {10, 1200});  // ft, lb/ft
    setFloats(t.SurchargeTable(), 0, {1.5L, 60, 120}, 1);
    t.SurchargeTable().Cell(0, 0).SetInteger(3);
    t.NewSoil().SetRowCount(2);
    setLayer(t.NewSoil(), 0, 4, 20, {120, 32, 90});           // sand: pcf, degrees, pci
    setLayer(t.NewSoil(), 1, 1, 40, {110, 1440, 0.01L, 30});  // soft clay: pcf, psf, E50, pci
    t.PYCurves2().SetRowCount(1);
    t.PYCurves2().Cell(0, 0).SetInteger(10);
    setFloats(*t.PYCurves2().Cell(1, 0).AsTable(), 0, {-1, 40});
    setFloats(*t.PYCurves2().Cell(1, 0).AsTable(), 1, {1, -40});
    t.MEICurves2().SetRowCount(1);
    t.MEICurves2().Cell(1, 0).SetInteger(40);
    TGridTableChart* points = t.MEICurves2().Cell(2, 0).AsTable();
    points->SetRowCount(2);
    setFloats(*points, 0, {0, 5.34e9L});
    setFloats(*points, 1, {1e6L, 4e9L});
}

// Checked by hand against the record layouts: feet x 12, per foot / 12, pcf / 1728, psf / 144.
const char* const kEnglishGolden =
    "Golden wall\n"
    "1 1\t1\t1\t1\t2 1 1 1\n"
    "40 6\t20\t0.001\t120\n"
    "2\t0\t0\t0.001\n"
    "0\t40\t1\t5.34E9\n"
    "1\n"
    "1\t0\t0\t1000\t0\t0\n"
    "1\n"
    "4\t4\t1\t50000\t0\n"
    "120\t0.5\t1\n"
    "2\n"
    "0\t0\n"
    "120\t100\n"
    "120\t12\t12\t600\t600\t1\t1\t0\n"
    "0\t0\t0\t0\t0\t0\n"
    "1\n"
    "3\t1.5\t60\t120\n"
    "2\n"
    "4 240 \n"
    "0.069444444 0.0  32 0.0  90 0.0  \n"
    "0.069444444 0.0  32 0.0  90 0.0  \n"
    "1 480 \n"
    "0.063657407 10 0.0  0.01 30 0.0  \n"
    "0.063657407 10 0.0  0.01 30 0.0  \n"
    "10\t2\t1\t1\n"
    "-1\t40\n"
    "1\t-40\n"
    "0\t40\t2\n"
    "0\t5.34E9\n"
    "1000000\t4E9\n"
    "0\n";

// An SI project with a trapezoidal earth pressure, a silt layer and a long-term problem on sand.
void fillSI(TProgramData& D) {
    TProjectTables& t = D.Tables();
    D.SetUnits(2);
    D.Title = "Golden wall SI";
    D.NumIncrements = 60;
    D.IncrementLength = 0.15L;
    D.MaxDeflection = 0.5L;
    D.ClosureTolerance = 0.00003L;
    D.FreeHeight = 3;
    D.Wa = D.Wp = 1;
    D.WaterTableBackfill = D.WaterTableExcavation = 20;
    D.SurchargeAtTop = 10;
    D.EarthPressureMethod = 3;
    D.GenerateEarthPressure = 1;
    D.UseSurcharges = D.ShortAndLongTerm = true;
    t.PileSect().Cell(1, 0).SetInteger(60);
    t.PileSect().Cell(3, 0).SetFloat(50300);
    setFloats(t.SurchargeTable(), 0, {50, 2000, 0}, 1);
    t.SurchargeTable().Cell(0, 0).SetInteger(1);
    setLayer(t.NewSoil(), 0, 5, 12, {18, 28, 10, 0.01L, 24400});  // silt: unit weight, phi, c, E50, k
    setLayer(t.LongSoil(), 0, 4, 12, {18, 30, 24400});
}

const char* const kSIProblem =
    "2 0\t1\t0\t%EP%\t2 0 1 0\n"
    "60 0.15\t0.5\t3E-5\t3\n"
    "0\t60\t1\t50300\n"
    "0\n"
    "0\n"
    "3\t1\t1\t20\t20\t1\t1\t0\n"
    "10\t0\t0\t0\t0\t0\n"
    "1\n"
    "1\t50\t2000\t0\n"
    "1\n";

std::string siGolden() {
    std::string first = kSIProblem, second = kSIProblem;
    first.replace(first.find("%EP%"), 4, "3");
    second.replace(second.find("%EP%"), 4, "2");
    return "Golden wall SI\n" + first + "5 12 \n18 10 28 0.01 24400 0.0  \n18 10 28 0.01 24400 0.0  \n9\n" +
           "Golden wall SI\n" + second + "4 12 \n18 0.0  30 0.0  24400 0.0  \n18 0.0  30 0.0  24400 0.0  \n0\n";
}

std::string saved(TProgramData& D, const std::string& Name = "wall.vm4d") {
    D.FileName = Name;
    D.SaveToFile();
    return readFile(Name);
}

TEST(InputFile, WriterGivesTheRecordLayoutInEnglishAndSIAndReadsItBackToTheSameBytes) {
    struct Case {
        void (*fill)(TProgramData&);
        std::string golden;
    };
    const Case cases[] = {{fillEnglish, crlf(kEnglishGolden)}, {fillSI, crlf(siGolden())}};
    for (const Case& c : cases) {
        ScratchDir dir;
        FakeHooks hooks;
        TProgramData data(hooks);
        c.fill(data);
        const std::string text = saved(data);
        EXPECT_EQ(text, c.golden) << sameText(c.golden, text).message();
        EXPECT_EQ(hooks.modified.back(), false);

        auto back = TProgramData::CreateFromFile("wall.vm4d", kFormatCurrent);
        EXPECT_EQ(saved(*back, "again.vm4d"), c.golden);
    }
}

TEST(InputFile, ProjectWithEveryTableAtItsLimitWritesReadsAndWritesTheSameBytes) {
    for (int units : {1, 2}) {
        ScratchDir dir;
        TProgramData data;
        data.SetUnits(units);
        data.UseRestraints = data.UseConcentratedLoads = data.UseSprings = data.UsePYModification = true;
        data.UseUserEarthPressure = data.UseSurcharges = data.UseExternalPYCurves = data.UseMEICurves = true;
        data.ShortAndLongTerm = true;
        TProjectTables& t = data.Tables();
        for (TGridTable* table : {&t.PileSect(), &t.Soillayer(), &t.SoilStrength(), &t.PYMod(), &t.DistLoad(),
                                  &t.BoundCond(), &t.SurchargeTable()})
            test::fillAll(*table, table->MaxRows());
        test::fillAll(t.LongDist(), 150);
        for (TGridTable* layers : {&t.NewSoil(), &t.LongSoil()}) {
            test::fillAll(*layers, 10);
            for (int r = 0; r < 10; ++r) test::fillAll(*layers->Cell(2, r).AsTable(), 2);
        }
        test::fillAll(t.PYCurves2(), 30);
        for (int r = 0; r < 30; ++r) test::fillAll(*t.PYCurves2().Cell(1, r).AsTable(), 17);
        test::fillAll(t.MEICurves2(), 20);
        for (int r = 0; r < 20; ++r) test::fillAll(*t.MEICurves2().Cell(2, r).AsTable(), 100);

        const std::string text = saved(data);
        auto back = TProgramData::CreateFromFile("wall.vm4d", kFormatCurrent);
        EXPECT_EQ(saved(*back, "again.vm4d"), text) << sameText(text, readFile("again.vm4d")).message();
        EXPECT_EQ(back->Tables().MEICurves2().Cell(2, 19).AsTable()->RowCount(), 100);
        EXPECT_EQ(back->Tables().LongDist().RowCount(), 150);
    }
}

TEST(InputFile, EnglishValuesComeBackInTheTablesUnitsWithEightDigitsKept) {
    ScratchDir dir;
    TProgramData data;
    fillEnglish(data);
    saved(data);
    auto back = TProgramData::CreateFromFile("wall.vm4d", kFormatCurrent);
    const TProjectTables& t = back->Tables();
    EXPECT_EQ(t.NewSoil().Cell(1, 0).AsFloat(), 20.0L);     // 240 in
    EXPECT_EQ(t.PYMod().Cell(0, 0).AsFloat(), 10.0L);       // 120 in
    EXPECT_EQ(t.DistLoad().Cell(1, 1).AsFloat(), 1200.0L);  // 100 lb/in
    const TGridTable& sand = *t.NewSoil().Cell(2, 0).AsTable();
    const TGridTable& clay = *t.NewSoil().Cell(2, 1).AsTable();
    // 0.069444444 x 1728: the file kept 8 digits of 120 / 1728.
    EXPECT_NEAR(sand.Cell(0, 1).AsFloat(), 119.999999232L, 1e-9L);
    EXPECT_EQ(sand.Cell(1, 0).AsFloat(), 32.0L);
    EXPECT_EQ(clay.Cell(1, 1).AsFloat(), 1440.0L);
    EXPECT_EQ(clay.Caption(), "Clay");
    EXPECT_EQ(clay.Number(), 2);
    EXPECT_EQ(back->EarthPressureMethod, 1);
    EXPECT_TRUE(back->UseUserEarthPressure && back->UseMEICurves && back->UseSurcharges && back->UseSprings);
    EXPECT_EQ(back->GenerateEarthPressure, 0);
    EXPECT_EQ(back->GeneratePYCurves, 1);
}

TEST(InputFile, LongTermProblemKeepsTheFirstProblemsOptionsWhenRead) {
    ScratchDir dir;
    TProgramData data;
    fillSI(data);
    saved(data);
    auto back = TProgramData::CreateFromFile("wall.vm4d", kFormatCurrent);
    EXPECT_TRUE(back->ShortAndLongTerm);
    EXPECT_EQ(back->EndFlag, 9);
    EXPECT_EQ(back->EarthPressureMethod, 3);
    EXPECT_EQ(back->GenerateEarthPressure, 1);
    EXPECT_EQ(back->Tables().LongSoil().Cell(0, 0).AsInteger(), 4);
    EXPECT_EQ(back->Tables().NewSoil().Cell(0, 0).AsInteger(), 5);
    // Empty tables are filled back to their minimum rows; the file holds none.
    EXPECT_EQ(back->Tables().PYMod().RowCount(), 2);
}

TEST(InputFile, NewProjectKeepsCurveGenerationWhenSavedAndReopened) {
    ScratchDir dir;
    TProgramData data;
    const std::string text = saved(data);
    EXPECT_EQ(test::splitLines(text)[1], "1 0\t1\t0\t2\t2 0 1 0");  // generated triangular earth pressure
    auto back = TProgramData::CreateFromFile("wall.vm4d", kFormatCurrent);
    EXPECT_EQ(back->GeneratePYCurves, 1);
    EXPECT_EQ(saved(*back, "again.vm4d"), text);
}

TEST(InputFile, OptionsThatAreOffEmptyTheirTablesAndUserCurvesWithoutACurveGiveOptionZero) {
    ScratchDir dir;
    TProgramData data;
    data.GeneratePYCurves = 0;
    data.GenerateEarthPressure = 0;
    data.UseExternalPYCurves = true;  // but no curve set
    data.Tables().BoundCond().SetRowCount(3);
    const std::vector<std::string> lines = test::splitLines(saved(data));
    EXPECT_EQ(lines[1], "1 0\t1\t0\t0\t0 0 1 0");
    EXPECT_EQ(lines[4], "0");  // record 6: no concentrated loads
    EXPECT_EQ(data.Tables().BoundCond().RowCount(), 0);
    EXPECT_EQ(lines.size(), 7u);  // title, control, increments, stiffness, loads, springs, end flag
}

TEST(InputFile, WriterRefusesASoilTypeOutsideOneToSevenAndKeepsThePreviousFile) {
    ScratchDir dir;
    writeFile("wall.vm4d", "previous");
    TProgramData data;
    data.Tables().NewSoil().SetRowCount(2);
    data.Tables().NewSoil().Cell(0, 1).SetInteger(8);
    data.FileName = "wall.vm4d";
    try {
        data.SaveToFile();
        FAIL() << "saved a layer of type 8";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.message(), "Soil layer 2 has the soil type 8; a soil type must be between 1 and 7.");
    }
    EXPECT_EQ(readFile("wall.vm4d"), "previous");
}

TEST(InputFile, FailedSaveLeavesThePreviousFileAndTheModifiedState) {
    ScratchDir dir;
    writeFile("wall.vm4d", "previous");
    std::filesystem::create_directory("wall.vm4d.tmp~");  // the temporary file cannot be created
    FakeHooks hooks;
    TProgramData data(hooks);
    data.Tables().PileSect().SetChanged(true);
    data.FileName = "wall.vm4d";
    hooks.modified.clear();
    EXPECT_THROW(data.SaveToFile(), EInOutError);
    EXPECT_EQ(readFile("wall.vm4d"), "previous");
    EXPECT_TRUE(data.TablesChanged());
    EXPECT_TRUE(hooks.modified.empty());
}

TEST(InputFile, ReaderAcceptsEveryLineEndAndKeepsTitleBytes) {
    const std::string golden = crlf(kEnglishGolden);
    std::string lf = kEnglishGolden, cr = kEnglishGolden;
    for (char& c : cr)
        if (c == '\n') c = '\r';
    const std::string noLastEnd = lf.substr(0, lf.size() - 1);
    for (const std::string& text : {lf, cr, noLastEnd}) {
        ScratchDir dir;
        writeFile("in.vm4d", text);
        auto data = TProgramData::CreateFromFile("in.vm4d", kFormatCurrent);
        EXPECT_EQ(saved(*data), golden);
    }
    ScratchDir dir;
    // A Latin-1 title with leading blanks comes back byte for byte.
    const std::string title = "  Spundwand \xE4\xF6\xFC\xDF 45\xB0";
    writeFile("in.vm4d", title + "\r\n" + golden.substr(golden.find('\n') + 1));
    auto data = TProgramData::CreateFromFile("in.vm4d", kFormatCurrent);
    EXPECT_EQ(data->Title, title);
}

TEST(InputFile, DamagedFilesEndTheReadWithLineAndItem) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"T\n1 0 1 0 0 0 0 1 0\n40 6 x 0.001 120\n",
         "Error on Line 3 Item 3\rA floating point number was expected but not found."},
        {"T\n1 100000000 1 0 0 0 0 1 0\n",
         "Error on Line 2 Item 2\rThe count is negative or larger than the rest of the file can hold."},
        {"T\n1 0 1 0 0 0 0 6 0\n",
         "Error on Line 2 Item 8\rThe number of construction stages must be between 1 and 5."},
        {"T\n1 0 1 0 0 0 0 1 0\n40 6 20 0.001 120\n0 1 1 1\n-1\n",
         "Error on Line 5 Item 1\rThe count is negative or larger than the rest of the file can hold."},
        {"T\n1 0 1 0 0 0 0 1 0\n", "This file either invalid or incomplete."},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeFile("bad.vm4d", c.text);
        FakeHooks hooks;
        try {
            TProgramData::CreateFromFile("bad.vm4d", kFormatCurrent, hooks);
            ADD_FAILURE() << "read " << c.text;
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_EQ(hooks.closed, 0);  // the shown project stays as it was
    }
    EXPECT_THROW(TProgramData::CreateFromFile("/nonexistent/wall.vm4d", kFormatCurrent), EInOutError);
}

// A problem in the older layouts: control record, increments, one stiffness line, no loads or springs, the
// wall record with `factor`, the surcharge line, then `layers`.
std::string olderFile(int Format, const std::string& Factor, const std::string& Surcharges, const std::string& Layers) {
    const std::string control = Format == kFormat30 ? "2 0 1 0 2 2 0 1\n" : "2 0 1 0 2 2 0\n";
    return "Old wall\n" + control + "60 0.15 0.5 3E-5 3\n0 60 1 50300\n0\n0\n3 1 1 20 20 " + Factor + " 1 0\n" +
           Surcharges + "\n" + Layers + (Format == kFormat30 ? "0\n" : "");
}

TEST(InputFile, OlderLayoutsBecomeTablesOfTheCurrentOne) {
    ScratchDir dir;
    // 2.0: thicknesses 5, 10 and 5 give bottoms 5, 15 and 20; one value set for the top and the bottom row.
    writeFile("old20.vmd", olderFile(kFormat20, "0.036", "10 0 0 0 0 0",
                                     "3\n4 5 18 0 30 0 24400\n1 10 17 25 0 0.02 100\n6 5 22 5000 0 0 0\n"));
    auto old20 = TProgramData::CreateFromFile("old20.vmd", kFormat20);
    const TGridTable& layers = old20->Tables().NewSoil();
    const long double bottoms[] = {5, 15, 20};
    for (int r = 0; r < 3; ++r) EXPECT_EQ(layers.Cell(1, r).AsFloat(), bottoms[r]);
    EXPECT_EQ(layers.Cell(2, 0).AsTable()->Cell(1, 1).AsFloat(), 30.0L);  // sand friction angle
    EXPECT_EQ(layers.Cell(2, 1).AsTable()->Cell(2, 0).AsFloat(), 0.02L);  // clay E50
    EXPECT_EQ(layers.Cell(2, 2).AsTable()->Cell(1, 1).AsFloat(), 5000.0L);
    EXPECT_EQ(old20->ActivePressureFactor, 1.0L);  // 0.036 reads as 1
    EXPECT_EQ(old20->StageCount, 1);

    // 3.0 in SI: the single surcharges become three rows, metres turned into the table's millimetres.
    struct Case {
        const char* surcharges;
        int rows;
    };
    for (const Case& c : {Case{"0 0 10 20 30 0", 0}, Case{"0 3 10 20 30 2", 3}}) {
        writeFile("old30.vmd",
                  olderFile(kFormat30, "0.5", c.surcharges, "1\n4 12 \n18 0 30 0 24400 0\n18 0 30 0 24400 0\n"));
        auto old30 = TProgramData::CreateFromFile("old30.vmd", kFormat30);
        const TGridTable& surcharges = old30->Tables().SurchargeTable();
        ASSERT_EQ(surcharges.RowCount(), c.rows == 0 ? 1 : 3);  // an empty table is filled to MinRows
        EXPECT_EQ(old30->UseSurcharges, c.rows > 0);
        EXPECT_EQ(old30->ActivePressureFactor, 0.5L);
        for (int r = 0; r < c.rows; ++r) {
            EXPECT_EQ(surcharges.Cell(0, r).AsInteger(), r + 1);
            EXPECT_EQ(surcharges.Cell(1, r).AsFloat(), 10.0L * (r + 1));
            EXPECT_EQ(surcharges.Cell(2, r).AsFloat(), 3000.0L);
            EXPECT_EQ(surcharges.Cell(3, r).AsFloat(), 2000.0L);
        }
    }
}

TEST(InputFile, LayerOfUnknownTypeIsReadAsItsTypeAndDepthLineOnly) {
    ScratchDir dir;
    writeFile("odd.vm4d",
              "T\n2 0\t1\t0\t2\t2 0 1 0\n60 0.15 0.5 3E-5 3\n0 60 1 50300\n0\n0\n3 1 1 20 20 1 1 0\n"
              "0 0 0 0 0 0\n0\n2\n9 6 \n4 12 \n18 0.0  30 0.0  24400 0.0  \n18 0.0  30 0.0  24400 0.0  \n0\n");
    auto data = TProgramData::CreateFromFile("odd.vm4d", kFormatCurrent);
    EXPECT_EQ(data->Tables().NewSoil().Cell(0, 0).AsInteger(), 9);
    EXPECT_EQ(data->Tables().NewSoil().Cell(1, 1).AsFloat(), 12.0L);
    EXPECT_EQ(data->Tables().NewSoil().Cell(2, 1).AsTable()->Cell(1, 0).AsFloat(), 30.0L);
}

}  // namespace
}  // namespace velmor::project
