// Equalizer curves as text, in the forms other equalizer programs and
// headphone-correction databases publish them:
//
//   GraphicEQ: 20 -7.6; 21 -7.5; 22 -7.4; … 19871 -2.1
//   2.4, 0, -1.2, 0, 0, 0.6, 0, 0, 3, 6          (ten gains in dB, bands in order)
//   Preamp: -6.1 dB                              (Equalizer APO's filter lines)
//   Filter 1: ON PK Fc 31 Hz Gain 5.2 dB Q 1.41
//   Filter 2: ON LSC Fc 105 Hz Gain 5.5 dB Q 0.70
//
// A Preamp line adds its gain to everything else. Filter lines that are ten
// peaks at exactly the panel's ten centres give each band its filter's gain;
// any other filters count by their response (each one the audio-EQ-cookbook
// biquad at 48 kHz, their sum in dB), which, like a GraphicEQ curve (linear
// on a logarithmic frequency axis), is read at each band's centre. The ten
// gains are rounded to the panel's 0.6 dB steps; a curve whose span fits the
// panel's ±12 dB but whose level does not is moved by the least whole number
// of steps that makes it fit, and what still does not fit is clamped.
// Portable, and safe on any input: it is fed untrusted files.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "panel/effects/effects_math.h"

namespace effects {

// Centre frequencies of the ten bands, in Hz.
constexpr std::array<double, kBands> kBandFrequencies = {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
constexpr double kStepDb = 0.6;
// The rate the filters' responses are taken at.
constexpr double kFilterSampleRate = 48000;

// Why a text was refused.
enum class EqProblem {
    kNone,
    kNotText,
    kNoData,
    kUnknownLine,
    kPreampAlone,
    kSecondGraphicEq,
    kSecondTenGains,
    kMixedForms,
    kExpectedFrequency,
    kFrequencyNotPositive,
    kFilterFrequencyRange,
    kFrequenciesNotRising,
    kExpectedGain,
    kGainRange,
    kExpectedSemicolon,
    kNoPoints,
    kTooManyGains,
    kExpectedSeparator,
    kGainCount,
    kExpectedColon,
    kExpectedOnOff,
    kFilterType,
    kExpectedFc,
    kExpectedFilterGain,
    kExpectedQ,
    kQRange,
    kExpectedEnd,
    kNoResponse,
};

struct EqError {
    EqProblem problem = EqProblem::kNone;
    std::size_t line = 0;    // 1 …; 0 where no one line is to blame
    std::size_t column = 0;  // 1 …; 0 where the whole line is
    std::string detail;      // the filter type refused; the number of gains found
};

enum class EqForm { kGraphicEq, kTenGains, kTenBandFilters, kParametric };

struct EqImport {
    bool ok = false;
    EqError error;              // ok false
    EqForm form = EqForm::kGraphicEq;
    BandPositions positions{};  // slider positions (negative boosts), ok true
    int shiftSteps = 0;         // 0.6 dB steps added to every band to fit (negative: moved down)
    int clamped = 0;            // bands still beyond ±12 dB after that, clamped
};

// Reads the text of an equalizer file: UTF-8 (with or without its byte-order
// mark) or UTF-16 with its byte-order mark; CRLF or LF; blank lines and lines
// starting with '#' anywhere.
EqImport ParseEqualizerText(std::string_view bytes);

// Why a text was refused, naming its line and saying which forms are read;
// English or Chinese, in UTF-8.
std::string DescribeEqError(const EqError& error, bool chinese);
// What was done to fit the panel's range (moved, clamped), one sentence each;
// none when the curve fitted as it was. English or Chinese, in UTF-8.
std::vector<std::string> DescribeEqFit(const EqImport& import, bool chinese);

// The ten bands as one GraphicEQ line (no line break):
// "GraphicEQ: 31 g; 62 g; …; 16000 g", g = -0.6 × position in dB.
std::string FormatGraphicEq(const BandPositions& positions);

// One filter of Equalizer APO's filter lines.
enum class EqFilterType { kPeak, kLowShelf, kHighShelf };
struct EqFilter {
    EqFilterType type;
    double hz;  // centre (peak) or midpoint (shelf), below half the sample rate
    double db;
    double q;
};
// The filter's response in dB at a frequency, as the audio-EQ-cookbook biquad
// at kFilterSampleRate.
double FilterResponseDb(const EqFilter& filter, double hz);

}  // namespace effects
