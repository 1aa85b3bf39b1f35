#pragma once

#include <array>
#include <cstdint>

namespace velmor::engine {

// The earth-pressure module's work block: up to 10 layers split into at most 21 sublayers. Arrays are
// 1-based; the sublayer arrays have one more entry for the bottom of the last sublayer (ztop and stress
// at N+1). Lengths and stresses are in the problem's units (inches and psi, or metres and kPa).
struct EarthPressureWork {
    static constexpr int kMaxLayers = 10;
    static constexpr int kMaxSublayers = 21;
    static constexpr int kMaxRows = 5000;  // profile rows, the run driver's read-back capacity

    using LayerReals = std::array<double, kMaxLayers + 1>;
    using SublayerReals = std::array<double, kMaxSublayers + 2>;
    using SublayerFlags = std::array<bool, kMaxSublayers + 2>;
    using RowReals = std::array<double, kMaxRows + 1>;

    double tolerance;  // for every depth comparison of the module
    double gammaWater;
    double freeHeight;
    double wa, wp;
    double waterTableBackfill;
    double waterTableExcavation;
    double activeModification;
    double backfillSlope;  // degrees
    // Wall record item 7; set to 1 when the backfill water table lies above the excavation level.
    int32_t waterFlag;

    // The surcharge record: uniform surface pressure and one surcharge of each kind at one distance.
    double uniformPressure;
    double distance;
    double pointLoad;
    double lineLoad;
    double stripLoad;
    double stripWidth;

    LayerReals layerThickness;  // -1.0 ends the layer list
    LayerReals layerCohesion;
    LayerReals layerPhi;  // degrees
    LayerReals layerUnitWeight;
    std::array<bool, kMaxLayers + 1> layerDrained;

    int32_t sublayerCount;
    int32_t excavationSublayer;  // sublayer whose top is the free height; 0 when none
    int32_t waterTableSublayer;  // sublayer whose top is the backfill water table; 0 when none
    bool overflow;

    SublayerReals ztop;
    SublayerReals thickness;
    SublayerReals cohesion;
    SublayerReals phi;
    SublayerReals unitWeight;
    SublayerFlags drained;
    SublayerReals modification;  // active-pressure modification factor
    SublayerReals secondFactor;

    SublayerFlags belowWater;
    SublayerReals sigmaV;  // effective vertical stress at the sublayer top, retained side
    SublayerReals sqrtKa, ka, sqrtKp, kp;
    SublayerReals pa1, pa2, pa3, pa4;  // active forces per unit width of wall
    SublayerReals z1, z2, z3;          // depths at which PA1 (and PA3), PA2 and PA4 act
    SublayerReals zc;                  // compressed part of a cracked sublayer
    SublayerReals pw1, pw2;            // water forces, stored negative
    std::array<std::array<double, kMaxSublayers + 2>, 3> depthMarker;
    SublayerReals spareField;
    double resultant;

    // The pressure profile down to the excavation level, as written to the scratch profile file.
    int32_t rowCount;
    int32_t rowsWritten;  // highest profile row written since the blocks were cleared: the clearing stops there
    RowReals rowDepth;
    RowReals rowTotal;
    RowReals rowSoil;
    RowReals rowSurcharge;
};

}  // namespace velmor::engine
