// The program driven as an engineer uses it: the main window with its commands, the dialogs and the table
// editors, the real engine library for the runs, and the result graphs checked against the files the engine
// wrote (the report and the plot-data file, read here independently of the program's reader).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../../components/tables/widgets/editor_fixtures.h"
#include "acceptance/plot_reader.h"
#include "fields/widgets/data_edit_widget.h"
#include "program_fixture.h"
#include "project/stage_files.h"
#include "tables/widgets/cell_widgets.h"
#include "ui_dlg_csd.h"
#include "ui_dlg_prop.h"
#include "ui_dlg_title.h"

namespace velmor::windows {
namespace {

namespace fs = std::filesystem;
using components::TGridTable;
using components::TTableForm;

// One row of the report's final results table: depth and deflection (in), moment (lb-in), shear (lb).
struct ReportRow {
    double depth, deflection, moment, shear;
};

// Every results table of the report ("RESULTS -- ITERATION" with its station rows), in file order.
std::vector<std::vector<ReportRow>> readReportResults(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::vector<ReportRow>> tables;
    std::string line;
    bool inTable = false;
    while (std::getline(in, line)) {
        if (line.find("RESULTS -- ITERATION") != std::string::npos) {
            tables.emplace_back();
            inTable = false;
        } else if (!tables.empty() && line.find("------    ----") != std::string::npos) {
            inTable = true;
        } else if (inTable) {
            std::istringstream words(line);
            int station;
            double x, deflection, slope, moment, shear;
            if (words >> station >> x >> deflection >> slope >> moment >> shear)
                tables.back().push_back({x, deflection, moment, shear});
            else
                inTable = false;
        }
    }
    return tables;
}

// The report's table of active earth pressure on the wall: (depth in, pressure lb/in) rows.
std::vector<std::pair<double, double>> readReportActivePressure(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::pair<double, double>> rows;
    std::string line;
    int state = 0;  // 0 before the table, 1 in its heading, 2 in its rows
    while (std::getline(in, line)) {
        if (state == 0 && line.find("DEPTH         ACTIVE EARTH PRESSURE") != std::string::npos) {
            state = 1;
        } else if (state == 1 && line.find("--------") != std::string::npos) {
            state = 2;
        } else if (state == 2) {
            std::istringstream words(line);
            double depth, pressure;
            if (!(words >> depth >> pressure)) break;
            rows.emplace_back(depth, pressure);
        }
    }
    return rows;
}

// Relative agreement of two values with an absolute floor for values near zero.
::testing::AssertionResult near(double actual, double expected, double relative, double floor) {
    if (std::abs(actual - expected) <= relative * std::abs(expected) + floor) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " vs " << expected;
}

class AcceptanceTest : public ProgramTest {
  protected:
    TTableForm& tableEditor(TGridTable& table) {
        auto* editor = dynamic_cast<TTableForm*>(table.EditorForm());
        if (editor == nullptr) throw std::runtime_error("no editor open for " + table.Caption());
        return *editor;
    }
    // Types a text into a cell of an open table editor and commits it as leaving the cell does.
    static void typeCell(TTableForm& editor, int row, int column, const QString& text) {
        editor.grid()->moveCurrent(row, column);
        components::testing::typeIntoCurrentCell(editor, text);
        ASSERT_TRUE(editor.CommitEdit()) << text.toStdString();
    }

    // Opens the result graphs through the Graphics menu and checks every curve point against the plot-data
    // file: in English results depth in feet, moment in kip-inches and shear in kips.
    void expectGraphsHoldThePlotFile(const test::PlotFile& plot) {
        const project::TGraphPlot& def = openGraph("CompDef", &project::TResultGraphs::pltDef);
        const project::TGraphPlot& mom = openGraph("CompMom", &project::TResultGraphs::pltMom);
        const project::TGraphPlot& shear = openGraph("CompShear", &project::TResultGraphs::pltShear);
        const project::TGraphPlot& soil = openGraph("CompSoil", &project::TResultGraphs::pltSoil);
        const project::TGraphPlot& pressure = openGraph("CompLD", &project::TResultGraphs::pltLD);
        const project::TGraphPlot& py = openGraph("Comppy", &project::TResultGraphs::pltPY);
        const int series = static_cast<int>(plot.series.size());
        ASSERT_EQ(def.GetLineCount(), series);
        ASSERT_EQ(pressure.GetLineCount(), series);
        const bool english = plot.series.back().curveUnitCode == 1;
        const double feet = english ? 12 : 1, kips = english ? 1000 : 1;
        const auto same = [](long double shown, double expected) {
            return near(static_cast<double>(shown), expected, 1e-12, 1e-300);
        };
        for (int k = 0; k < series; ++k) {
            const test::PlotSeries& s = plot.series[static_cast<std::size_t>(k)];
            SCOPED_TRACE("series " + std::to_string(k + 1));
            for (std::size_t j = 0; j < s.resultRows.size(); ++j) {
                const auto& row = s.resultRows[j];
                const int i = static_cast<int>(j);
                EXPECT_TRUE(same(def.GetPoint(k, i)->Y, row[0] / feet)) << j;
                EXPECT_TRUE(same(def.GetPoint(k, i)->X, row[1])) << j;
                EXPECT_TRUE(same(mom.GetPoint(k, i)->X, row[2] / kips)) << j;
                EXPECT_TRUE(same(shear.GetPoint(k, i)->X, row[3] / kips)) << j;
                EXPECT_TRUE(same(soil.GetPoint(k, i)->X, row[4])) << j;
            }
            for (std::size_t j = 0; j < s.pressureRows.size(); ++j) {
                const auto& row = s.pressureRows[j];
                EXPECT_TRUE(same(pressure.GetPoint(k, static_cast<int>(j))->Y, row[0] / feet)) << j;
                EXPECT_TRUE(same(pressure.GetPoint(k, static_cast<int>(j))->X, row[1])) << j;
            }
        }
        const auto& curves = plot.series.back().curves;
        ASSERT_EQ(py.GetLineCount(), static_cast<int>(curves.size()));
        for (std::size_t c = 0; c < curves.size(); ++c) {
            for (std::size_t j = 0; j < curves[c].points.size(); ++j) {
                const auto* point = py.GetPoint(static_cast<int>(c), static_cast<int>(j));
                EXPECT_TRUE(same(point->X, curves[c].points[j].first)) << c << " " << j;
                EXPECT_TRUE(same(point->Y, curves[c].points[j].second)) << c << " " << j;
            }
        }
    }
};

// The cantilever sheet pile in sand (English units) entered through the dialogs and table editors of a new
// project: 30 ft wall in 60 increments of 6 in, 10 ft free height, EI 5.34E9 lb-in2, one sand layer to 40 ft
// (115 pcf, 32 degrees, k 90 pci), water table at 50 ft. Saved, it is the example project; run, its graphs
// are the report's results.
TEST_F(AcceptanceTest, NewCantileverInSandThroughDialogsAndTablesSavedRunAndGraphedAsReported) {
    form->FileNewClick();
    ASSERT_EQ(data().Units, 1);

    TdlgTitle& title = openDialog("DataTitle", commands->dlgTitle);
    type(title.Form().TitleMemo, "Cantilever sheet pile in sand, English units, 30 ft wall, 10 ft cut");
    ASSERT_TRUE(title.FormDeactivate());

    TDlgProp& prop = openDialog("DataProp", commands->dlgProp);
    type(prop.Form().deNI, "60");
    type(prop.Form().deXGS, "6");
    type(prop.Form().deXLN, "20");
    type(prop.Form().deSlope, "0.001");
    type(prop.Form().DeFH, "10");
    ASSERT_TRUE(prop.FormDeactivate());
    prop.Form().btnSect->click();
    TTableForm& section = tableEditor(data().Tables().PileSect());
    typeCell(section, 0, 0, "0");
    typeCell(section, 0, 1, "60");
    typeCell(section, 0, 3, "5.34E9");
    section.deactivate();

    TdlgCSD& csd = openDialog("DataCSD", commands->dlgCSD);
    type(csd.Form().deHL, "10");
    type(csd.Form().deWidth, "12");
    type(csd.Form().dePYW, "12");
    type(csd.Form().deHW, "50");
    type(csd.Form().DeHW2, "50");
    type(csd.Form().deGw, "1");
    type(csd.Form().beta, "0");
    type(csd.Form().deSP, "0");
    ASSERT_TRUE(csd.FormDeactivate());

    // A new project generates triangular earth pressure without being told: saved, it is the example.

    TGridTable& layers = data().Tables().NewSoil();
    commands->Item("DataAxLoads")->trigger();
    QApplication::processEvents();
    TTableForm& soil = tableEditor(layers);
    auto* type = static_cast<QComboBox*>(components::cellWidget(layers.Columns(0)->GetControl(0)));
    ASSERT_NE(type, nullptr);
    const int sand = type->findText("Sand");
    ASSERT_GE(sand, 0);
    type->setCurrentIndex(sand);
    emit type->activated(sand);
    typeCell(soil, 0, 1, "40");
    auto* parameters = static_cast<QPushButton*>(components::cellWidget(layers.Columns(2)->GetControl(0)));
    ASSERT_NE(parameters, nullptr);
    parameters->click();
    QApplication::processEvents();
    TGridTable* sandTable = layers.Columns(2)->AsTable(0);
    ASSERT_NE(sandTable, nullptr);
    TTableForm& sandEditor = tableEditor(*sandTable);
    typeCell(sandEditor, 0, 0, "115");
    typeCell(sandEditor, 0, 1, "32");
    typeCell(sandEditor, 0, 2, "90");
    typeCell(sandEditor, 1, 0, "115");
    typeCell(sandEditor, 1, 1, "32");
    typeCell(sandEditor, 1, 2, "90");
    sandEditor.deactivate();
    soil.deactivate();

    // Saved under a name of the user's choice, the project is the example's project.
    const std::string saved = (dir.path() / "my-wall.vm4d").string();
    dialogs.saveAnswers.push_back(QString::fromStdString(saved));
    ASSERT_TRUE(form->FileSaveAsClick());
    std::unique_ptr<project::TProgramData> example =
        project::TProgramData::CreateFromFile(copyExample("cantilever-sand-english.vm4d", "example.vm4d"), 1);
    std::unique_ptr<project::TProgramData> written = project::TProgramData::CreateFromFile(saved, 1);
    EXPECT_EQ(written->ProblemText(false), example->ProblemText(false));

    // Run: the deflection, moment and shear graphs hold the report's final results, in feet, inches,
    // kip-inches and kips; the report prints three digits.
    run();
    const auto report = readReportResults(resultFile(".vm4o"));
    ASSERT_FALSE(report.empty());
    const std::vector<ReportRow>& rows = report.back();
    ASSERT_EQ(rows.size(), 61u);
    const project::TGraphPlot& deflection = openGraph("CompDef", &project::TResultGraphs::pltDef);
    const project::TGraphPlot& moment = openGraph("CompMom", &project::TResultGraphs::pltMom);
    const project::TGraphPlot& shear = openGraph("CompShear", &project::TResultGraphs::pltShear);
    ASSERT_EQ(deflection.GetLineCount(), 1);
    ASSERT_EQ(deflection.GetPointCount(), 62);  // the plot-data file adds the station below the tip
    double maxMoment = 0, maxShear = 0;
    for (const ReportRow& r : rows) {
        maxMoment = std::max(maxMoment, std::abs(r.moment));
        maxShear = std::max(maxShear, std::abs(r.shear));
    }
    for (int j = 0; j < 61; ++j) {
        const ReportRow& r = rows[static_cast<std::size_t>(j)];
        SCOPED_TRACE(j);
        EXPECT_TRUE(near(static_cast<double>(deflection.GetPoint(0, j)->Y), r.depth / 12, 5e-3, 1e-9));
        EXPECT_TRUE(near(static_cast<double>(deflection.GetPoint(0, j)->X), r.deflection, 5e-3, 1e-5));
        EXPECT_TRUE(
            near(static_cast<double>(moment.GetPoint(0, j)->X), r.moment / 1000, 5e-3, 1e-3 * maxMoment / 1000));
        EXPECT_TRUE(near(static_cast<double>(shear.GetPoint(0, j)->X), r.shear / 1000, 5e-3, 1e-3 * maxShear / 1000));
    }
    // The wall tips the right way: the top moves towards the cut, the largest moment lies below the cut.
    EXPECT_GT(deflection.GetPoint(0, 0)->X, deflection.GetPoint(0, 20)->X);
    int largest = 0;
    for (int j = 0; j < 61; ++j)
        if (std::abs(moment.GetPoint(0, j)->X) > std::abs(moment.GetPoint(0, largest)->X)) largest = j;
    EXPECT_GT(largest, 20);
    // The pressure graph holds the report's active earth pressure down to the cut; at the cut it is the
    // Rankine value Ka x gamma x H x Wa = tan^2(45 - 32/2) x 115/1728 pci x 120 in x 12 in = 29.446 lb/in.
    const std::vector<std::pair<double, double>> active = readReportActivePressure(resultFile(".vm4o"));
    ASSERT_EQ(active.size(), 21u);
    const project::TGraphPlot& pressure = openGraph("CompLD", &project::TResultGraphs::pltLD);
    for (int j = 0; j < 21; ++j) {
        SCOPED_TRACE(j);
        EXPECT_TRUE(near(static_cast<double>(pressure.GetPoint(0, j)->Y), active[j].first / 12, 5e-3, 1e-9));
        EXPECT_TRUE(near(static_cast<double>(pressure.GetPoint(0, j)->X), active[j].second, 5e-3, 1e-6));
    }
    const double ka = std::pow(std::tan((45.0 - 16.0) * std::atan(1.0) / 45.0), 2);
    EXPECT_TRUE(near(static_cast<double>(pressure.GetPoint(0, 20)->X), ka * 115.0 / 1728.0 * 120 * 12, 2e-3, 0));
    // The pressure and p-y graphs hold the plot-data file.
    const test::PlotFile plot = test::readPlotFile(resultFile(".vm4p"));
    ASSERT_TRUE(plot.complete) << plot.error;
    expectGraphsHoldThePlotFile(plot);
    // Six graphs, each in one window: opening a graph again brings its window back.
    EXPECT_EQ(form->MdiArea()->subWindowList().size(), 6);
}

TEST_F(AcceptanceTest, EveryExampleOpensRunsAndItsGraphsHoldThePlotFile) {
    std::vector<fs::path> examples;
    for (const auto& entry : fs::directory_iterator(fs::path(VELMOR_SOURCE_DIR) / "examples"))
        if (entry.path().extension() == ".vm4d") examples.push_back(entry.path());
    std::sort(examples.begin(), examples.end());
    ASSERT_GE(examples.size(), 8u);
    for (const fs::path& example : examples) {
        SCOPED_TRACE(example.filename().string());
        openExample(example.filename().string());
        run();
        const test::PlotFile plot = test::readPlotFile(resultFile(".vm4p"));
        ASSERT_TRUE(plot.complete) << plot.error;
        expectGraphsHoldThePlotFile(plot);
        form->CloseAllChildren();
    }
}

// The staged example: stage 2 switched to and changed (a deeper cut) through the Wall Properties dialog, the
// change kept over switching stages, then one run gives one curve per stage; only stage 2 moved.
TEST_F(AcceptanceTest, ThreeStagesOneChangedGiveOneCurvePerStage) {
    openExample("three-stages.vm4d");
    ASSERT_EQ(form->Project().StageCount(), 3);
    run();
    const test::PlotFile before = test::readPlotFile(resultFile(".vm4p"));
    ASSERT_EQ(before.series.size(), 3u);

    form->SpeedButton(TMainForm::kStage2Button)->click();
    ASSERT_EQ(form->Project().CurrentStage(), 2);
    const components::Extended cut = data().FreeHeight;
    TDlgProp& prop = openDialog("DataProp", commands->dlgProp);
    type(prop.Form().DeFH, QString::number(static_cast<double>(cut / 12 + 2)));
    ASSERT_TRUE(prop.FormDeactivate());
    EXPECT_TRUE(form->GetModified());
    form->CloseAllChildren();
    form->SwitchStage(3);
    form->SwitchStage(2);
    EXPECT_NEAR(static_cast<double>(data().FreeHeight), static_cast<double>(cut + 24), 1e-9);
    EXPECT_TRUE(form->GetModified());

    run();
    const test::PlotFile after = test::readPlotFile(resultFile(".vm4p"));
    ASSERT_TRUE(after.complete) << after.error;
    ASSERT_EQ(after.series.size(), 3u);
    EXPECT_EQ(after.series[0].resultRows, before.series[0].resultRows);
    EXPECT_NE(after.series[1].resultRows, before.series[1].resultRows);
    expectGraphsHoldThePlotFile(after);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(form->Graphs().pltDef.GetLine(k)->GetName(), "Stage: " + std::to_string(k + 1));
    // The saved project holds the change: read again, stage 2 has the deeper cut.
    form->OpenFileName(form->Project().FileName(), 0);
    form->SwitchStage(2);
    EXPECT_NEAR(static_cast<double>(data().FreeHeight), static_cast<double>(cut + 24), 1e-6);
}

// Units chosen while stage 2 is edited convert every stage: one run gives every stage in SI, each stage's
// largest deflection the English one in metres. Within 5 %: the same wall analysed in the two systems
// agrees to a few per cent, while a stage left in English units would be off by a factor of 39.
TEST_F(AcceptanceTest, UnitsChosenInOneStageConvertEveryStage) {
    openExample("three-stages.vm4d");
    run();
    const test::PlotFile english = test::readPlotFile(resultFile(".vm4p"));
    form->SpeedButton(TMainForm::kStage2Button)->click();
    // A stage file that cannot be written stops the change, named; no stage file changes (72, 144, 192 in).
    const auto stage = [this](int k) { return project::StageFileName(form->Project().FileName(), k); };
    const auto files = [&] { return test::readFile(stage(1)) + test::readFile(stage(3)); };
    const std::string before = files();
    fs::create_directory(stage(3) + ".tmp~");
    form->SetModified(true);
    commands->Item("SIUnits")->trigger();
    EXPECT_NE(messages.shown.back().indexOf(QString::fromStdString(stage(3))), -1);
    EXPECT_EQ(files(), before);
    EXPECT_EQ(std::make_tuple(data().Units, data().FreeHeight, form->GetModified()), std::make_tuple(1, 144.0L, true));
    fs::remove(stage(3) + ".tmp~");
    commands->Item("SIUnits")->trigger();
    EXPECT_EQ(data().Units, 2);
    EXPECT_EQ(form->Project().CurrentStage(), 2);
    EXPECT_TRUE(form->GetModified());
    run();
    const test::PlotFile si = test::readPlotFile(resultFile(".vm4p"));
    ASSERT_EQ(si.series.size(), 3u);
    const auto largest = [](const test::PlotSeries& s) {
        double d = 0;
        for (const auto& row : s.resultRows) d = std::max(d, std::abs(row[1]));
        return d;
    };
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NE(si.series[k].resultUnitCode, english.series[k].resultUnitCode) << "stage " << k + 1;
        EXPECT_NEAR(largest(si.series[k]), largest(english.series[k]) * 0.0254, largest(si.series[k]) * 0.05)
            << "stage " << k + 1;
    }
}

// Short-term plus long-term: two curves named for the terms; switched off, one problem and one curve.
TEST_F(AcceptanceTest, ShortAndLongTermGiveTwoCurvesAndOneWhenSwitchedOff) {
    openExample("long-term-pair.vm4d");
    ASSERT_TRUE(data().ShortAndLongTerm);
    run();
    const test::PlotFile plot = test::readPlotFile(resultFile(".vm4p"));
    ASSERT_EQ(plot.series.size(), 2u);
    expectGraphsHoldThePlotFile(plot);
    EXPECT_EQ(form->Graphs().pltMom.GetLine(0)->GetName(), "Short-Term");
    EXPECT_EQ(form->Graphs().pltMom.GetLine(1)->GetName(), "Long-Term");

    emit commands->Menu("OptionsMenu")->aboutToShow();
    commands->Item("OptionsLong")->trigger();
    ASSERT_FALSE(data().ShortAndLongTerm);
    run();
    const test::PlotFile single = test::readPlotFile(resultFile(".vm4p"));
    ASSERT_EQ(single.series.size(), 1u);
    // The short-term problem alone gives the short-term results of the pair.
    EXPECT_EQ(single.series[0].resultRows, plot.series[0].resultRows);
    EXPECT_EQ(form->Graphs().pltMom.GetLineCount(), 1);
}

// Every value of a table and of its sub-tables, in order.
template <class F>
void collectValues(const components::BasicGridTable<F>& table, std::vector<long double>& values) {
    for (int r = 0; r < table.RowCount(); ++r)
        for (int c = 0; c < table.ColumnCount(); ++c) {
            const auto* column = table.Columns(c);
            if (dynamic_cast<const components::BasicFloatColumn<F>*>(column) != nullptr)
                values.push_back(table.Cell(c, r).AsFloat());
            else if (dynamic_cast<const components::BasicTableColumn<F>*>(column) != nullptr)
                collectValues(*table.Cell(c, r).AsTable(), values);
        }
}

std::vector<long double> projectValues(project::TProgramData& data) {
    std::vector<long double> values = {
        data.FreeHeight,           data.IncrementLength, data.Wa, data.Wp, data.WaterTableBackfill,
        data.WaterTableExcavation, data.SurchargeAtTop};
    for (const TGridTable* table : data.Tables().PlainTables()) collectValues(*table, values);
    for (const components::TGridTableChart* table : data.Tables().ChartTables()) collectValues(*table, values);
    return values;
}

// English to SI and back through the Options menu with every table filled and the Wall Properties dialog
// open: the dialog follows each switch, and every value comes back to within the factor pairs' mismatch
// (the pairs are not exact inverses: 0.0254 x 39.3701 = 1 + 5.4e-7 for lengths, 0.0044482 x 224.8089 =
// 1 - 1.9e-7 for forces, so a stress comes back 1.27e-6 low).
TEST_F(AcceptanceTest, UnitsSwitchedAndBackWithEveryTableFilledKeepEveryValue) {
    openExample("cantilever-sand-english.vm4d");
    project::TProjectTables& t = data().Tables();
    for (TGridTable* table : {&t.PileSect(), &t.Soillayer(), &t.SoilStrength(), &t.PYMod(), &t.DistLoad(),
                              &t.BoundCond(), &t.LongDist(), &t.NewSoil(), &t.LongSoil(), &t.SurchargeTable()})
        fillTable(*table, 4);
    fillTable(t.PYCurves2(), 3);
    fillTable(t.MEICurves2(), 3);
    const std::vector<long double> english = projectValues(data());
    TDlgProp& prop = openDialog("DataProp", commands->dlgProp);
    const components::Extended freeHeight = data().FreeHeight;

    emit commands->Menu("OptionsMenu")->aboutToShow();
    commands->Item("SIUnits")->trigger();
    EXPECT_EQ(data().Units, 2);
    EXPECT_NEAR(static_cast<double>(data().FreeHeight), static_cast<double>(freeHeight) * 0.0254, 1e-12);
    EXPECT_NEAR(static_cast<double>(prop.Form().DeFH->GetNumber()), static_cast<double>(freeHeight) * 0.0254, 1e-9);
    EXPECT_NE(projectValues(data()), english);

    emit commands->Menu("OptionsMenu")->aboutToShow();
    commands->Item("EnglishUnits")->trigger();
    EXPECT_EQ(data().Units, 1);
    EXPECT_NEAR(static_cast<double>(prop.Form().DeFH->GetNumber()), static_cast<double>(freeHeight) / 12, 1e-5);
    const std::vector<long double> back = projectValues(data());
    ASSERT_EQ(back.size(), english.size());
    for (std::size_t i = 0; i < back.size(); ++i)
        EXPECT_TRUE(near(static_cast<double>(back[i]), static_cast<double>(english[i]), 1.5e-6, 1e-12)) << i;
    EXPECT_TRUE(form->GetModified());
}

// A file dropped on the window is opened (the first of several); a modified project is asked about first.
TEST_F(AcceptanceTest, DroppedFileIsOpened) {
    const std::string first = copyExample("cantilever-sand-si.vm4d", "first.vm4d");
    const std::string second = copyExample("anchored-soft-clay.vm4d", "second.vm4d");
    form->SetModified(true);
    messages.answers.push_back(platform::MessageService::Answer::No);
    QMimeData mime;
    mime.setUrls(
        {QUrl::fromLocalFile(QString::fromStdString(first)), QUrl::fromLocalFile(QString::fromStdString(second))});
    const QPoint at(100, 100);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &drop);
    EXPECT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(form->Project().FileName(), first);
    EXPECT_EQ(data().Units, 2);
    EXPECT_FALSE(form->GetModified());
}

// A save that cannot be written and an open of a damaged file each say so and keep the project as it was:
// its name, its data and its unsaved change.
TEST_F(AcceptanceTest, FailedSaveAndFailedOpenKeepTheProject) {
    openExample("cantilever-sand-english.vm4d");
    const std::string name = form->Project().FileName();
    const std::string original = test::readFile(name);
    TdlgTitle& title = openDialog("DataTitle", commands->dlgTitle);
    type(title.Form().TitleMemo, "Changed title");
    ASSERT_TRUE(title.FormDeactivate());
    ASSERT_TRUE(form->GetModified());

    const struct {
        const char* name;
        std::function<void()> act;
    } cases[] = {
        {"save as into a missing directory",
         [&] {
             dialogs.saveAnswers.push_back(QString::fromStdString((dir.path() / "missing" / "x.vm4d").string()));
             form->FileMenu()->findChild<QAction*>("FileSaveAs")->trigger();
         }},
        {"save as onto a directory's name",
         [&] {
             fs::create_directories(dir.path() / "folder.vm4d");
             dialogs.saveAnswers.push_back(QString::fromStdString((dir.path() / "folder.vm4d").string()));
             form->FileMenu()->findChild<QAction*>("FileSaveAs")->trigger();
         }},
        {"open a damaged file",
         [&] {
             const fs::path damaged = dir.path() / "damaged.vm4d";
             test::writeFile(damaged.string(), "A title\r\n1 0 1 x\r\n");
             messages.answers.push_back(platform::MessageService::Answer::No);
             dialogs.openAnswers.push_back({QString::fromStdString(damaged.string()), 1});
             form->FileMenu()->findChild<QAction*>("FileOpen")->trigger();
         }},
        {"open a missing file",
         [&] {
             messages.answers.push_back(platform::MessageService::Answer::No);
             dialogs.openAnswers.push_back({QString::fromStdString((dir.path() / "none.vm4d").string()), 1});
             form->FileMenu()->findChild<QAction*>("FileOpen")->trigger();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        c.act();
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(form->Project().FileName(), name);
        EXPECT_EQ(data().Title, "Changed title");
        EXPECT_TRUE(form->GetModified());
        EXPECT_EQ(test::readFile(name), original);
    }
    // The project is still whole: saved now, it is the example with the new title.
    ASSERT_TRUE(form->FileSaveClick());
    const std::string saved = test::readFile(name);
    EXPECT_EQ(saved.substr(0, saved.find('\r')), "Changed title");
}

}  // namespace
}  // namespace velmor::windows
