#include "project/input_file_reader.h"

#include "fields/exceptions.h"
#include "project/soil_slots.h"

namespace velmor::project {

using components::EInOutError;

namespace {

// An active-pressure factor of exactly 0.036 (the unit weight of water in lb/in^3, written there by older
// versions) means the factor 1.
constexpr Extended kOldWaterWeightFactor = 0.036L;

}  // namespace

TInputFileReader::TInputFileReader(TProgramData& Data, const std::string& FileName)
    : d_(Data), t_(Data.Tables()), reader_(FileName) {
    const auto& lines = reader_.Lines();
    wordsFrom_.assign(lines.Count() + 1, 0);
    for (int i = lines.Count() - 1; i >= 0; --i) wordsFrom_[i] = wordsFrom_[i + 1] + lines.Items(i)->Count();
}

long long TInputFileReader::wordsLeft() const {
    const int line = reader_.CurrentLine();
    if (line >= static_cast<int>(wordsFrom_.size()) - 1) return 0;
    return wordsFrom_[line] - reader_.CurrentItem();
}

void TInputFileReader::itemError(const std::string& Text) const {
    throw EInOutError("Error on Line " + std::to_string(reader_.CurrentLine() + 1) + " Item " +
                      std::to_string(reader_.CurrentItem()) + "\r" + Text);
}

int TInputFileReader::readCount(int WordsPerRow) {
    const int count = readInt();
    if (count < 0 || static_cast<long long>(count) * WordsPerRow > wordsLeft())
        itemError("The count is negative or larger than the rest of the file can hold.");
    return count;
}

void TInputFileReader::ReadProject(int FormatVersion) {
    const int format = FormatVersion == kFormatCurrent || FormatVersion == kFormat30 ? FormatVersion : kFormat20;
    reader_.ReadLine(d_.Title);
    problem(Pass::First, format, t_.DistLoad(), t_.NewSoil());
    if (format == kFormat20) return;
    d_.EndFlag = readInt();
    if (d_.EndFlag != 9) return;
    // A long-term problem follows. It keeps the options and flags of the first problem: reading them again
    // would switch the long-term analysis off and the next save would drop it.
    d_.ShortAndLongTerm = true;
    std::string rest;
    reader_.ReadLine(rest);
    reader_.ReadLine(rest);
    problem(Pass::LongTerm, format, t_.LongDist(), t_.LongSoil());
    readInt();
}

void TInputFileReader::ReadStage() {
    reader_.ReadLine(d_.Title);
    d_.UseRestraints = false;
    d_.UseConcentratedLoads = false;
    problem(Pass::Stage, d_.FullFormat ? kFormatCurrent : kFormat30, t_.DistLoad(), t_.NewSoil());
    d_.EndFlag = readInt();
    d_.ShortAndLongTerm = d_.EndFlag == 9;
}

void TInputFileReader::problem(Pass APass, int Format, TGridTable& Pressure, TGridTable& Layers) {
    const bool first = APass != Pass::LongTerm;
    const int units = readInt();
    // The long-term problem is read in the unit system of the first.
    if (first) d_.setUnits(units, false);
    english_ = t_.NewSoil().Units() == 1;

    const int restraints = readCount(4);
    t_.Soillayer().SetRowCount(restraints);
    const int stiffness = readCount(4);
    t_.PileSect().SetRowCount(stiffness);
    const int factors = readCount(3);
    t_.PYMod().SetRowCount(factors);
    const int ep = readInt();
    const int py = readInt();
    const int curves = readCount(2);
    t_.PYCurves2().SetRowCount(curves);
    if (Format != kFormat20) {
        const int stages = readInt();
        if (stages < 1 || stages > 5) itemError("The number of construction stages must be between 1 and 5.");
        if (first) d_.StageCount = stages;
    }
    int sets = 0;
    if (Format == kFormatCurrent) {
        sets = readCount(3);
        t_.MEICurves2().SetRowCount(sets);
    }
    if (first) {
        d_.EarthPressureOption = ep;
        // Stage files hold 2 for generated pressure of either distribution: the project keeps a trapezoidal
        // method for when it is no longer staged.
        if (!(APass == Pass::Stage && ep == 2 && d_.EarthPressureMethod == 3)) d_.EarthPressureMethod = ep;
        d_.PYOption = py;
        if (APass == Pass::Stage) {
            if (ep == 2) d_.GenerateEarthPressure = 1;
            if (ep == 0 || ep == 1) d_.GenerateEarthPressure = 0;
            if (py == 2) d_.GeneratePYCurves = 1;
            if (py < 2) d_.GeneratePYCurves = 0;
        } else {
            d_.GenerateEarthPressure = ep > 1 ? 1 : 0;
            // Generation follows the p-y option alone, so a new project saved and reopened keeps it.
            d_.GeneratePYCurves = py == 2 ? 1 : 0;
            d_.ShortAndLongTerm = false;
            d_.EndFlag = 0;
        }
        d_.UseRestraints = restraints > 0;
        d_.UseUserEarthPressure = ep == 1;
        d_.UseExternalPYCurves = curves > 0;
        d_.UsePYModification = factors > 0;
        d_.UseMEICurves = sets > 0;
        d_.MEICurveCount = sets;
    }

    d_.NumIncrements = readInt();
    d_.IncrementLength = readFloat();
    d_.MaxDeflection = readFloat();
    d_.ClosureTolerance = readFloat();
    d_.FreeHeight = readFloat();

    TGridTable& restraintTable = t_.Soillayer();
    for (int r = 0; r < restraints; ++r) {
        restraintTable.Cell(0, r).SetInteger(readInt());
        restraintTable.Cell(1, r).SetInteger(readInt());
        restraintTable.Cell(2, r).SetFloat(readFloat());
        restraintTable.Cell(3, r).SetFloat(readFloat());
    }
    TGridTable& stiffnessTable = t_.PileSect();
    for (int r = 0; r < stiffness; ++r) {
        stiffnessTable.Cell(0, r).SetInteger(readInt());
        stiffnessTable.Cell(1, r).SetInteger(readInt());
        stiffnessTable.Cell(2, r).SetInteger(readInt());
        stiffnessTable.Cell(3, r).SetFloat(readFloat());
    }
    const int loads = readCount(6);
    TGridTable& loadTable = t_.BoundCond();
    loadTable.SetRowCount(loads);
    if (first) d_.UseConcentratedLoads = loads > 0;
    for (int r = 0; r < loads; ++r) {
        for (int c = 0; c < 3; ++c) loadTable.Cell(c, r).SetInteger(readInt());
        for (int c = 3; c < 6; ++c) loadTable.Cell(c, r).SetFloat(readFloat());
    }
    const int springs = readCount(5);
    TGridTable& springTable = t_.SoilStrength();
    springTable.SetRowCount(springs);
    if (first) d_.UseSprings = springs > 0;
    for (int r = 0; r < springs; ++r) {
        springTable.Cell(1, r).SetInteger(readInt());
        springTable.Cell(2, r).SetInteger(readInt());
        springTable.Cell(0, r).SetInteger(readInt());
        springTable.Cell(3, r).SetFloat(readFloat());
        springTable.Cell(4, r).SetFloat(readFloat());
    }
    TGridTable& factorTable = t_.PYMod();
    for (int r = 0; r < factors; ++r) {
        factorTable.Cell(0, r).SetFloat(fromFeet(readFloat()));
        factorTable.Cell(1, r).SetFloat(readFloat());
        factorTable.Cell(2, r).SetFloat(readFloat());
    }

    if (ep == 1) {
        const int rows = readCount(2);
        Pressure.SetRowCount(rows);
        for (int r = 0; r < rows; ++r) {
            Pressure.Cell(0, r).SetFloat(fromFeet(readFloat()));
            const Extended load = readFloat();
            Pressure.Cell(1, r).SetFloat(english_ ? load * kFeetToInches : load);
        }
        if (first) {
            d_.UseUserEarthPressure = rows > 0;
            d_.EarthPressureMethod = 1;
        }
    }

    if (ep > 1 || py > 1) wallAndSoil(APass, Format, Layers);

    TGridTableChart& curveSets = t_.PYCurves2();
    for (int r = 0; r < curves; ++r) {
        curveSets.Cell(0, r).SetInteger(readInt());
        const int points = readCount(2);
        TGridTableChart* curve = curveSets.Cell(1, r).AsTable();
        if (curve) curve->SetRowCount(points);
        curveSets.Cell(2, r).SetFloat(1.0);
        curveSets.Cell(3, r).SetFloat(1.0);
        if (Format == kFormatCurrent) {
            curveSets.Cell(2, r).SetFloat(readFloat());
            curveSets.Cell(3, r).SetFloat(readFloat());
        }
        for (int p = 0; p < points; ++p) {
            const Extended y = readFloat();
            const Extended pValue = readFloat();
            if (curve) {
                curve->Cell(0, p).SetFloat(y);
                curve->Cell(1, p).SetFloat(pValue);
            }
        }
    }

    TGridTableChart& meiSets = t_.MEICurves2();
    for (int r = 0; r < sets; ++r) {
        meiSets.Cell(0, r).SetInteger(readInt());
        meiSets.Cell(1, r).SetInteger(readInt());
        const int points = readCount(2);
        TGridTableChart* curve = meiSets.Cell(2, r).AsTable();
        if (curve) curve->SetRowCount(points);
        for (int p = 0; p < points; ++p) {
            const Extended moment = readFloat();
            const Extended rigidity = readFloat();
            if (curve) {
                curve->Cell(0, p).SetFloat(moment);
                curve->Cell(1, p).SetFloat(rigidity);
            }
        }
    }
}

void TInputFileReader::wallAndSoil(Pass APass, int Format, TGridTable& Layers) {
    const bool first = APass != Pass::LongTerm;
    d_.FreeHeight = readFloat();
    d_.Wa = readFloat();
    d_.Wp = readFloat();
    d_.WaterTableBackfill = readFloat();
    d_.WaterTableExcavation = readFloat();
    d_.ActivePressureFactor = readFloat();
    if (d_.ActivePressureFactor == kOldWaterWeightFactor) d_.ActivePressureFactor = 1.0;
    d_.WallRecordCode = readInt();
    d_.BackfillSlope = readFloat();
    d_.SurchargeAtTop = readFloat();
    d_.SurchargeDistance = readFloat();
    d_.PointSurcharge = readFloat();
    d_.LineSurcharge = readFloat();
    d_.StripSurcharge = readFloat();
    d_.StripWidth = readFloat();

    TGridTable& surcharges = t_.SurchargeTable();
    if (Format == kFormatCurrent) {
        const int rows = readCount(4);
        surcharges.SetRowCount(rows);
        if (first) d_.UseSurcharges = rows > 0;
        for (int r = 0; r < rows; ++r) {
            surcharges.Cell(0, r).SetInteger(readInt());
            for (int c = 1; c < 4; ++c) surcharges.Cell(c, r).SetFloat(readFloat());
        }
    } else if (first) {
        // The single surcharges of the older layouts become one row per load type. Distance and width are
        // metres in an SI file and the table shows millimetres.
        const Extended toTable = d_.Units == 2 ? 1000 : 1;
        const bool any = d_.SurchargeDistance > 0;
        surcharges.SetRowCount(any ? 3 : 0);
        d_.UseSurcharges = any;
        const Extended magnitudes[3] = {d_.PointSurcharge, d_.LineSurcharge, d_.StripSurcharge};
        for (int r = 0; any && r < 3; ++r) {
            surcharges.Cell(0, r).SetInteger(r + 1);
            surcharges.Cell(1, r).SetFloat(magnitudes[r]);
            surcharges.Cell(2, r).SetFloat(d_.SurchargeDistance * toTable);
            surcharges.Cell(3, r).SetFloat(d_.StripWidth * toTable);
        }
    }

    if (Format == kFormat20) {
        layers20(Layers);
        return;
    }
    const int layers = readCount(2);
    Layers.SetRowCount(layers);
    for (int r = 0; r < layers; ++r) {
        const int type = readInt();
        Layers.Cell(0, r).SetInteger(type);
        Layers.Cell(1, r).SetFloat(fromFeet(readFloat()));
        if (!IsSoilType(type)) continue;
        TGridTable* parameters = Layers.Cell(2, r).AsTable();
        if (parameters) {
            parameters->SetNumber(r + 1);
            parameters->SetRowCount(parameters->MinRows());
        }
        slotLines(type, parameters);
    }
}

void TInputFileReader::slotLines(int Type, TGridTable* Parameters) {
    for (int row = 0; row < 2; ++row) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            Extended value = readFloat();
            const int column = kSlotColumns[Type - 1][slot];
            if (column < 0 || !Parameters || column >= Parameters->ColumnCount() || row >= Parameters->RowCount())
                continue;
            if (english_ && slot == 0) value *= kCubicFeetToInches;
            if (english_ && SlotIsCohesion(Type, slot)) value *= kSquareFeetToInches;
            Parameters->Cell(column, row).SetFloat(value);
        }
    }
}

void TInputFileReader::layers20(TGridTable& Layers) {
    // One line per layer: type, thickness and five values for the whole layer (unit weight, cohesive or
    // compressive strength, friction angle, E50, k), in the file's units as they are.
    static const int kColumns20[6][5] = {
        {0, 1, -1, 2, 3}, {0, 1, -1, 2, 3}, {0, 1, -1, 2, 3}, {0, -1, 1, -1, 2}, {0, 2, 1, 3, 4}, {0, 1, -1, -1, -1},
    };
    const int layers = readCount(2);
    Layers.SetRowCount(layers);
    Extended bottom = 0;
    for (int r = 0; r < layers; ++r) {
        const int type = readInt();
        bottom += readFloat();
        Layers.Cell(0, r).SetInteger(type);
        Layers.Cell(1, r).SetFloat(bottom);
        if (type < 1 || type > 6) continue;
        Extended values[5];
        for (Extended& value : values) value = readFloat();
        TGridTable* parameters = Layers.Cell(2, r).AsTable();
        if (!parameters) continue;
        parameters->SetNumber(r + 1);
        parameters->SetRowCount(parameters->MinRows());
        for (int i = 0; i < 5; ++i) {
            const int column = kColumns20[type - 1][i];
            if (column < 0 || column >= parameters->ColumnCount()) continue;
            for (int row = 0; row < 2 && row < parameters->RowCount(); ++row)
                parameters->Cell(column, row).SetFloat(values[i]);
        }
    }
}

}  // namespace velmor::project
