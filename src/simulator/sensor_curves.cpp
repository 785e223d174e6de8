#include "simulator/sensor_curves.h"

#include <array>
#include <cmath>
#include <span>

namespace sim {

namespace {

// Callendar–Van Dusen: R(t) = R0 [1 + A t + B t² + C (t − 100) t³], C only below 0 °C.
struct PlatinumCoefficients {
    double a;
    double b;
    double c;
};
// IEC 60751 (α = 0.00385).
constexpr PlatinumCoefficients kPlatinum385{3.9083e-3, -5.775e-7, -4.183e-12};
// GOST 6651-2009 (α = 0.00391).
constexpr PlatinumCoefficients kPlatinum391{3.9690e-3, -5.841e-7, -4.330e-12};

double PlatinumRatio(const PlatinumCoefficients& k, double t)
{
    const double low = t < 0.0 ? k.c * (t - 100.0) * t * t * t : 0.0;
    return 1.0 + k.a * t + k.b * t * t + low;
}

// GOST 6651-2009, copper α = 0.00428: R0 (1 + A t) above 0 °C, and below
// R0 [1 + A t + B t (t + 6.7) + C t³].
double Copper428Ratio(double t)
{
    constexpr double kA = 4.28e-3;
    constexpr double kB = -6.2032e-7;
    constexpr double kC = 8.5154e-10;
    if (t >= 0.0) return 1.0 + kA * t;
    return 1.0 + kA * t + kB * t * (t + 6.7) + kC * t * t * t;
}

// Copper α = 0.00426 (GOST 6651-94): linear, R0 (1 + 4.26e-3 t).
double Copper426Ratio(double t) { return 1.0 + 4.26e-3 * t; }

// IEC 60584-1 reference functions (the ITS-90 functions of NIST Monograph 175), mV from °C:
// E = Σ cᵢ tⁱ on each sub-range, type K above 0 °C plus a₀ exp(a₁ (t − a₂)²).
struct Piece {
    double upTo;  // °C; the piece serves temperatures below this (the last one all above)
    std::span<const double> c;
};

constexpr double kTypeB1[] = {0.0,
                              -0.246508183460e-03,
                              0.590404211710e-05,
                              -0.132579316360e-08,
                              0.156682919010e-11,
                              -0.169445292400e-14,
                              0.629903470940e-18};
constexpr double kTypeB2[] = {-0.389381686210e+01, 0.285717474700e-01,  -0.848851047850e-04,
                              0.157852801640e-06,  -0.168353448640e-09, 0.111097940130e-12,
                              -0.445154310330e-16, 0.989756408210e-20,  -0.937913302890e-24};
constexpr Piece kTypeB[] = {{630.615, kTypeB1}, {1e9, kTypeB2}};

constexpr double kTypeE1[] = {0.0,
                              0.586655087080e-01,
                              0.454109771240e-04,
                              -0.779980486860e-06,
                              -0.258001608430e-07,
                              -0.594525830570e-09,
                              -0.932140586670e-11,
                              -0.102876055340e-12,
                              -0.803701236210e-15,
                              -0.439794973910e-17,
                              -0.164147763550e-19,
                              -0.396736195160e-22,
                              -0.558273287210e-25,
                              -0.346578420130e-28};
constexpr double kTypeE2[] = {0.0,
                              0.586655087100e-01,
                              0.450322755820e-04,
                              0.289084072120e-07,
                              -0.330568966520e-09,
                              0.650244032700e-12,
                              -0.191974955040e-15,
                              -0.125366004970e-17,
                              0.214892175690e-20,
                              -0.143880417820e-23,
                              0.359608994810e-27};
constexpr Piece kTypeE[] = {{0.0, kTypeE1}, {1e9, kTypeE2}};

constexpr double kTypeJ1[] = {0.0,
                              0.503811878150e-01,
                              0.304758369300e-04,
                              -0.856810657200e-07,
                              0.132281952950e-09,
                              -0.170529583370e-12,
                              0.209480906970e-15,
                              -0.125383953360e-18,
                              0.156317256970e-22};
constexpr double kTypeJ2[] = {0.296456256810e+03,  -0.149761277860e+01, 0.317871039240e-02,
                              -0.318476867010e-05, 0.157208190040e-08,  -0.306913690560e-12};
constexpr Piece kTypeJ[] = {{760.0, kTypeJ1}, {1e9, kTypeJ2}};

constexpr double kTypeK1[] = {0.0,
                              0.394501280250e-01,
                              0.236223735980e-04,
                              -0.328589067840e-06,
                              -0.499048287770e-08,
                              -0.675090591730e-10,
                              -0.574103274280e-12,
                              -0.310888728940e-14,
                              -0.104516093650e-16,
                              -0.198892668780e-19,
                              -0.163226974860e-22};
constexpr double kTypeK2[] = {-0.176004136860e-01, 0.389212049750e-01,  0.185587700320e-04,
                              -0.994575928740e-07, 0.318409457190e-09,  -0.560728448890e-12,
                              0.560750590590e-15,  -0.320207200030e-18, 0.971511471520e-22,
                              -0.121047212750e-25};
constexpr Piece kTypeK[] = {{0.0, kTypeK1}, {1e9, kTypeK2}};
// The exponential term of type K above 0 °C: a₀, a₁, a₂.
constexpr double kTypeKA0 = 0.118597600000e+00;
constexpr double kTypeKA1 = -0.118343200000e-03;
constexpr double kTypeKA2 = 0.126968600000e+03;

constexpr double kTypeN1[] = {0.0,
                              0.261591059620e-01,
                              0.109574842280e-04,
                              -0.938411115540e-07,
                              -0.464120397590e-10,
                              -0.263033577160e-11,
                              -0.226534380030e-13,
                              -0.760893007910e-16,
                              -0.934196678350e-19};
constexpr double kTypeN2[] = {0.0,
                              0.259293946010e-01,
                              0.157101418800e-04,
                              0.438256272370e-07,
                              -0.252611697940e-09,
                              0.643118193390e-12,
                              -0.100634715190e-14,
                              0.997453389920e-18,
                              -0.608632456070e-21,
                              0.208492293390e-24,
                              -0.306821961510e-28};
constexpr Piece kTypeN[] = {{0.0, kTypeN1}, {1e9, kTypeN2}};

constexpr double kTypeR1[] = {0.0,
                              0.528961729765e-02,
                              0.139166589782e-04,
                              -0.238855693017e-07,
                              0.356916001063e-10,
                              -0.462347666298e-13,
                              0.500777441034e-16,
                              -0.373105886191e-19,
                              0.157716482367e-22,
                              -0.281038625251e-26};
constexpr double kTypeR2[] = {0.295157925316e+01,  -0.252061251332e-02, 0.159564501865e-04,
                              -0.764085947576e-08, 0.205305291024e-11,  -0.293359668173e-15};
constexpr double kTypeR3[] = {0.152232118209e+03, -0.268819888545e+00, 0.171280280471e-03,
                              -0.345895706453e-07, -0.934633971046e-14};
constexpr Piece kTypeR[] = {{1064.18, kTypeR1}, {1664.5, kTypeR2}, {1e9, kTypeR3}};

constexpr double kTypeS1[] = {0.0,
                              0.540313308631e-02,
                              0.125934289740e-04,
                              -0.232477968689e-07,
                              0.322028823036e-10,
                              -0.331465196389e-13,
                              0.255744251786e-16,
                              -0.125068871393e-19,
                              0.271443176145e-23};
constexpr double kTypeS2[] = {0.132900444085e+01, 0.334509311344e-02, 0.654805192818e-05,
                              -0.164856259209e-08, 0.129989605174e-13};
constexpr double kTypeS3[] = {0.146628232636e+03, -0.258430516752e+00, 0.163693574641e-03,
                              -0.330439046987e-07, -0.943223690612e-14};
constexpr Piece kTypeS[] = {{1064.18, kTypeS1}, {1664.5, kTypeS2}, {1e9, kTypeS3}};

constexpr double kTypeT1[] = {0.0,
                              0.387481063640e-01,
                              0.441944343470e-04,
                              0.118443231050e-06,
                              0.200329735540e-07,
                              0.901380195590e-09,
                              0.226511565930e-10,
                              0.360711542050e-12,
                              0.384939398830e-14,
                              0.282135219250e-16,
                              0.142515947790e-18,
                              0.487686622860e-21,
                              0.107955392700e-23,
                              0.139450270620e-26,
                              0.797951539270e-30};
constexpr double kTypeT2[] = {0.0,
                              0.387481063640e-01,
                              0.332922278800e-04,
                              0.206182434040e-06,
                              -0.218822568460e-08,
                              0.109968809280e-10,
                              -0.308157587720e-13,
                              0.454791352900e-16,
                              -0.275129016730e-19};
constexpr Piece kTypeT[] = {{0.0, kTypeT1}, {1e9, kTypeT2}};

double Polynomial(std::span<const double> c, double t)
{
    double sum = 0.0;
    for (std::size_t i = c.size(); i-- > 0;) sum = sum * t + c[i];
    return sum;
}

double Piecewise(std::span<const Piece> pieces, double t)
{
    for (const Piece& piece : pieces) {
        if (t < piece.upTo) return Polynomial(piece.c, t);
    }
    return Polynomial(pieces.back().c, t);
}

double TypeK(double t)
{
    double e = Piecewise(kTypeK, t);
    if (t >= 0.0) e += kTypeKA0 * std::exp(kTypeKA1 * (t - kTypeKA2) * (t - kTypeKA2));
    return e;
}

// Type L (chromel–copel) is not in IEC 60584; its nominal table of GOST R 8.585-2001, every
// 100 °C, joined by cubic Hermite pieces with central-difference slopes.
constexpr std::array<double, 11> kTypeLTable{-9.488, -5.641, 0.0,    6.862,  14.560, 22.843,
                                             31.492, 40.299, 49.108, 57.859, 66.466};
constexpr double kTypeLFirstCelsius = -200.0;
constexpr double kTypeLStep = 100.0;

double TypeL(double t)
{
    const auto& e = kTypeLTable;
    const std::size_t last = e.size() - 1;
    const auto slope = [&](std::size_t i) {
        const std::size_t lo = i == 0 ? 0 : i - 1;
        const std::size_t hi = i == last ? last : i + 1;
        return (e[hi] - e[lo]) / static_cast<double>(hi - lo);  // per step
    };
    const double position = (t - kTypeLFirstCelsius) / kTypeLStep;
    if (position <= 0.0) return e[0] + slope(0) * position;
    if (position >= static_cast<double>(last))
        return e[last] + slope(last) * (position - static_cast<double>(last));
    const auto i = static_cast<std::size_t>(position);
    const double u = position - static_cast<double>(i);
    const double h00 = 2 * u * u * u - 3 * u * u + 1;
    const double h10 = u * u * u - 2 * u * u + u;
    const double h01 = -2 * u * u * u + 3 * u * u;
    const double h11 = u * u * u - u * u;
    return h00 * e[i] + h10 * slope(i) + h01 * e[i + 1] + h11 * slope(i + 1);
}

}  // namespace

double ElectricalAtCelsius(const SensorModel& sensor, double t)
{
    const double r0 = sensor.nominalOhm;
    switch (sensor.curve) {
    case SensorCurve::Platinum385: return r0 * PlatinumRatio(kPlatinum385, t);
    case SensorCurve::Platinum391: return r0 * PlatinumRatio(kPlatinum391, t);
    case SensorCurve::Copper428: return r0 * Copper428Ratio(t);
    case SensorCurve::Copper426: return r0 * Copper426Ratio(t);
    case SensorCurve::TypeB: return Piecewise(kTypeB, t);
    case SensorCurve::TypeE: return Piecewise(kTypeE, t);
    case SensorCurve::TypeJ: return Piecewise(kTypeJ, t);
    case SensorCurve::TypeK: return TypeK(t);
    case SensorCurve::TypeN: return Piecewise(kTypeN, t);
    case SensorCurve::TypeR: return Piecewise(kTypeR, t);
    case SensorCurve::TypeS: return Piecewise(kTypeS, t);
    case SensorCurve::TypeT: return Piecewise(kTypeT, t);
    case SensorCurve::TypeL: return TypeL(t);
    case SensorCurve::None: break;
    }
    return t;
}

double CelsiusAtElectrical(const SensorModel& sensor, double electrical)
{
    if (sensor.curve == SensorCurve::None) return electrical;
    double lo = sensor.lowerCelsius;
    double hi = sensor.upperCelsius;
    const double atLo = ElectricalAtCelsius(sensor, lo);
    const double atHi = ElectricalAtCelsius(sensor, hi);
    constexpr double kStepC = 1.0;
    if (electrical <= atLo) {
        const double slope = (ElectricalAtCelsius(sensor, lo + kStepC) - atLo) / kStepC;
        return lo + (electrical - atLo) / slope;
    }
    if (electrical >= atHi) {
        const double slope = (atHi - ElectricalAtCelsius(sensor, hi - kStepC)) / kStepC;
        return hi + (electrical - atHi) / slope;
    }
    // Bisection to far below single precision.
    for (int i = 0; i < 60; ++i) {
        const double middle = (lo + hi) / 2;
        (ElectricalAtCelsius(sensor, middle) < electrical ? lo : hi) = middle;
    }
    return (lo + hi) / 2;
}

}  // namespace sim
