#include "soil/equivalent_depth.h"

#include <algorithm>
#include <cmath>

#include "engine_errors.h"
#include "soil/soil_lookups.h"

namespace velmor::engine {

namespace {

[[noreturn]] void equivalentDepthNotFound(Engine& e, int layer) {
    EndRunWithReport(e,
                     "(/,/,5X,'INPUT SOIL LAYER',I3,': THE EQUIVALENT DEPTH OF THE LAYER TOP CANNOT BE FOUND',/,"
                     "5X,'(CHECK THE STRENGTH, WIDTH AND UNIT WEIGHT OF THE LAYER)',/,/)",
                     {e.st.soil.inputLayer[layer]});
}

// A divisor (or the integration step) that the station's values bring to zero or below: no depth of the
// layer's own soil can be found, and dividing on would give a negative or infinite depth.
void requirePositive(Engine& e, int layer, double value) {
    if (!(value > 0.0)) equivalentDepthNotFound(e, layer);
}

// The depth inside the step from x - dx to x at which the running integral passes R, by linear
// interpolation. With R between the integrals at the step's ends the depth lies inside the step; the bound
// keeps the rounding of the division from lifting it above the step (above the surface in the first step
// when nothing lies above the layer).
double depthInStep(double x, double dx, double integral, double previous, double resistance) {
    const double depth = x - (integral - resistance) * dx / (integral - previous);
    return resistance >= previous ? std::max(depth, x - dx) : depth;
}

// Soft clay (and stiff clay above the water table with its own transition depth): pu = 3cb + gamma b x +
// 0.5 c x grows with depth x until the flow-around limit 9cb; F is its integral from the surface to xt.
// Forces per length, lengths, so F is a force.
double clayEquivalentDepth(Engine& e, int layer, double resistance, double c, double b, double gamma, double xt) {
    const double atTransition = c * xt * xt / 4.0 + 3.0 * c * b * xt + b * gamma * xt * xt / 2.0;
    if (resistance > atTransition) return (resistance - atTransition) / (9.0 * c * b) + xt;
    const double a = 0.25 * c + 0.5 * gamma * b;
    requirePositive(e, layer, a);
    const double q = 3.0 * c * b;
    return (-q + std::sqrt(q * q + 4.0 * a * resistance)) * 0.5 / a;
}

double clayTransitionDivisor(const StationSoilValues& sv) {
    return 0.5 * sv.cohesion + sv.elementWidth * sv.unitWeight;
}

// Stiff clay below the water table: the residual resistance pc x F(As), integrated in 40 steps down to the
// depth where the wedge value reaches 11cb, then extended with the deep value.
double stiffClayEquivalentDepth(Engine& e, int layer, double resistance, const StationSoilValues& sv) {
    const EngineState& st = e.st;
    const double c = sv.cohesion;
    const double ca = sv.averageCohesion;
    const double b = sv.elementWidth;
    const double gamma = sv.unitWeight;
    const double divisor = double(2.83f) * ca + b * gamma;
    requirePositive(e, layer, divisor);
    const double xt = (11.0 * c * b - 2.0 * ca * b) / divisor;
    requirePositive(e, layer, xt);
    const double dx = xt / 40.0;
    double integral = 0.0;
    double residualRatio = 0.0;
    for (int i = 1; i <= 40; ++i) {
        const double x = i * dx;
        const double as = StiffClayStaticA(st, st.soil.top[1] + x);
        residualRatio = double(1.225f) * std::sqrt(as) - 0.75 * as - double(0.411f);
        const double previous = integral;
        integral += (double(2.83f) * ca * x + 2.0 * ca * b + b * gamma * x) * residualRatio * dx;
        if (integral > resistance) return depthInStep(x, dx, integral, previous, resistance);
    }
    const double deep = 11.0 * c * b * residualRatio;
    requirePositive(e, layer, deep);
    return (resistance - integral) / deep + xt;
}

// Sand (wedge resistance A x gamma b^2 ((x/b)^2 C1 + (x/b) C2) down to the depth where the flow value takes
// over) and silt (the same plus the cohesive part), integrated in `steps` steps, then extended with the
// deep (flow) value at the calling station's depth.
double frictionalEquivalentDepth(Engine& e, int layer, double resistance, const StationSoilValues& sv,
                                 bool withCohesion, int steps) {
    const double b = sv.elementWidth;
    const double c = sv.cohesion;
    const double gamma = sv.unitWeight;
    const double phi = sv.frictionAngle;
    requirePositive(e, layer, b);
    const double c1 =
        std::tan(sv.beta) *
        (sv.kp * std::tan(sv.alpha) +
         sv.k0 * (std::tan(phi) * std::sin(sv.beta) * (1.0 / std::cos(sv.alpha) + 1.0) - std::tan(sv.alpha)));
    requirePositive(e, layer, c1);
    const double c2 = sv.kp - sv.ka;
    const double c3 = sv.kp * sv.kp * (sv.kp + sv.k0 * std::tan(phi)) - sv.ka;
    const double xt = (c3 - c2) * b / c1;
    requirePositive(e, layer, xt);
    const double g = gamma * b * b;
    const double dx = xt / steps;
    double integral = 0.0;
    for (int i = 1; i <= steps; ++i) {
        const double x = i * dx;
        const double a = CoefficientAtDepthRatio(e.st, x, kEquivalentDepthSandA);
        const double previous = integral;
        if (withCohesion) integral += (0.5 * c * x + 3.0 * c * b + gamma * b * x) * dx;
        integral += ((x / b) * (x / b) * c1 + x * c2 / b) * g * a * dx;
        if (integral > resistance) return depthInStep(x, dx, integral, previous, resistance);
    }
    double deep = double(0.88f) * g * c3 * sv.depth / b;
    if (withCohesion) deep += 9.0 * c * b;
    requirePositive(e, layer, deep);
    return (resistance - integral) / deep + xt;
}

}  // namespace

void EquivalentDepthLayered(Engine& e, int layer) {
    SoilModel& soil = e.st.soil;
    if (layer < 1 || layer > kSoilLayerSlots) EndRunTooMuchData(e);
    const StationSoilValues& sv = e.st.stationSoil;
    double resistance = 0.0;
    for (int j = 1; j < layer; ++j) resistance += soil.layerResistance[j];

    double result = 0.0;
    switch (soil.soilType[layer]) {
        case 2:
            result = stiffClayEquivalentDepth(e, layer, resistance, sv);
            break;
        case 3: {
            requirePositive(e, layer, clayTransitionDivisor(sv));
            requirePositive(e, layer, 9.0 * sv.cohesion * sv.elementWidth);
            const double xt = (9.0 * sv.cohesion * sv.elementWidth - 3.0 * sv.averageCohesion * sv.elementWidth) /
                              clayTransitionDivisor(sv);
            result = clayEquivalentDepth(e, layer, resistance, sv.cohesion, sv.elementWidth, sv.unitWeight, xt);
            break;
        }
        case 4:
        case 7:
            result = frictionalEquivalentDepth(e, layer, resistance, sv, false, 100);
            break;
        case 5:
            result = frictionalEquivalentDepth(e, layer, resistance, sv, true, 50);
            break;
        default: {
            requirePositive(e, layer, clayTransitionDivisor(sv));
            requirePositive(e, layer, 9.0 * sv.cohesion * sv.elementWidth);
            const double xt = 6.0 * sv.cohesion * sv.elementWidth / clayTransitionDivisor(sv);
            result = clayEquivalentDepth(e, layer, resistance, sv.cohesion, sv.elementWidth, sv.unitWeight, xt);
            break;
        }
    }
    // A depth above the layer's own surface, or none at all, means the station's values do not describe a
    // soil whose resistance grows with depth.
    if (!std::isfinite(result) || result < 0.0) equivalentDepthNotFound(e, layer);
    soil.equivalentTopDepth[layer] = result;
}

}  // namespace velmor::engine
