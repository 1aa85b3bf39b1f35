#pragma once

#include <array>
#include <cstdint>

namespace velmor::engine {

// Capacities of the curve generator's blocks. The slots allow 15 layers, but the depth tables hold two
// points for each of at most 10 layers; a model with more layers ends the run.
inline constexpr int kSoilLayerSlots = 15;
inline constexpr int kMaxSoilModelLayers = 10;
inline constexpr int kStrengthTablePoints = 2 * kMaxSoilModelLayers;
// Two points per layer and the two points that a water table inside one layer adds.
inline constexpr int kUnitWeightTablePoints = 2 * kMaxSoilModelLayers + 2;
inline constexpr int kStationsPerLayer = 5;
inline constexpr int kStationSlots = kStationsPerLayer * kSoilLayerSlots;
inline constexpr int kStationRecordValues = 20;
inline constexpr int kCoefficientPoints = 10;

// Column of the station record that holds the station depth (the generators' side index).
inline constexpr int kStationDepthColumn = 1;

using LayerReals = std::array<double, kSoilLayerSlots + 1>;
using LayerInts = std::array<int32_t, kSoilLayerSlots + 1>;
using StrengthColumn = std::array<double, kStrengthTablePoints + 1>;
using UnitWeightColumn = std::array<double, kUnitWeightTablePoints + 1>;
// An x/b column or a coefficient column of the sand criterion, 1-based.
using CoefficientColumn = std::array<double, kCoefficientPoints + 1>;

// The curve generator's layers, depth tables and p-y stations, rebuilt by SetUpSoilModel for every problem
// that generates curves. All arrays are 1-based. Depths are below the excavation-side soil surface, which
// lies the free height below the top of the wall.
struct SoilModel {
    int32_t layerCount;
    LayerInts soilType;    // 1..7
    LayerInts inputLayer;  // row of the input layer table the layer comes from
    LayerReals top;
    LayerReals bottom;
    LayerReals fifthValue;  // fifth soil value at the layer top: k, ks or Er by soil type

    // Strength table, two points per layer (2k-1 at the top of layer k, 2k at its bottom); equal
    // neighbouring depths mark a layer boundary.
    int32_t strengthCount;
    StrengthColumn depth;
    StrengthColumn cohesion;       // c, or the rock strength
    StrengthColumn frictionAngle;  // radians once the set-up has converted it
    StrengthColumn e50;            // E50, or krm of weak rock
    StrengthColumn sixthValue;     // RQD of weak rock

    // Effective unit weight against depth; its own depth column.
    int32_t unitWeightCount;
    UnitWeightColumn unitWeightDepth;
    UnitWeightColumn unitWeight;

    // p-y stations, five per layer (5k-4 .. 5k belong to layer k); value 1 of a record is the station depth,
    // the other values are the generators' own.
    int32_t stationCount;
    std::array<std::array<double, kStationRecordValues + 1>, kStationSlots + 1> station;
    // Stations whose depth lies inside each layer; an empty range has last < first.
    LayerInts firstStation;
    LayerInts lastStation;

    double spacingRatio;           // max(WA / WP, 1.0)
    double referenceDepth;         // depth the stiff-clay A lookups measure from: the top of layer 1
    CoefficientColumn depthRatio;  // x/b breakpoints of CoefficientAtDepthRatio

    // Shared constants, reset at every set-up; generators change the threshold and pi for the rest of it.
    double threshold;
    double oneMillionth;
    double oneHundredThousandth;
    double pi;

    // LayerResistance(L): excavation-side integral of the ultimate resistance over layer L.
    LayerReals layerResistance;
    // EquivalentTopDepth(L): depth in layer L's own soil that supplies the resistance of the layers above.
    LayerReals equivalentTopDepth;

    // Curves the generators have written to soildata during this set-up, checked against the count line;
    // the layer being generated and the depth of the curve being written, for messages.
    int32_t curvesWritten;
    int32_t currentLayer;
    double currentCurveDepth;  // below the top of the wall
};

// Values of the station being processed by a curve generator; EquivalentDepthLayered reads them.
struct StationSoilValues {
    double elementWidth;     // b
    double cohesion;         // c
    double averageCohesion;  // ca
    double unitWeight;       // mean effective unit weight from the top of layer 1
    double frictionAngle;    // phi, radians
    double alpha;            // phi / 2
    double beta;             // pi/4 + phi/2
    double k0;
    double ka;
    double kp;
    double depth;  // Z, below the side's soil surface
};

}  // namespace velmor::engine
