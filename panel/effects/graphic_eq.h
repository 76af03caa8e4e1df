// Equalizer curves as text, in the forms other equalizer programs and
// headphone-correction databases publish them:
//
//   GraphicEQ: 20 -7.6; 21 -7.5; 22 -7.4; … 19871 -2.1
//   2.4, 0, -1.2, 0, 0, 0.6, 0, 0, 3, 6          (ten gains in dB, bands in order)
//
// A curve is reduced to the panel's ten bands by linear interpolation on a
// logarithmic frequency axis, rounded to the panel's 0.6 dB steps and clamped
// to ±12 dB. Portable, and safe on any input: it is fed untrusted files.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "panel/effects/effects_math.h"

namespace effects {

// Centre frequencies of the ten bands, in Hz.
constexpr std::array<double, kBands> kBandFrequencies = {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
constexpr double kStepDb = 0.6;

struct EqImport {
    bool ok = false;
    std::string error;          // why the text was refused (ok false)
    BandPositions positions{};  // slider positions (negative boosts), ok true
    int clamped = 0;            // bands whose gain lay beyond ±12 dB
};

// Reads a GraphicEQ line or the ten-number form. The text may start with a
// UTF-8 byte-order mark, use CRLF or LF, and hold blank lines and lines
// starting with '#' around the one line of data.
EqImport ParseEqualizerText(std::string_view text);

// The ten bands as one GraphicEQ line (no line break):
// "GraphicEQ: 31 g; 62 g; …; 16000 g", g = -0.6 × position in dB.
std::string FormatGraphicEq(const BandPositions& positions);

// A gain in dB to a slider position: rounded to the 0.6 dB grid (halves away
// from zero) and clamped to ±12 dB; clamped tells whether the clamp acted.
int GainToPosition(double db, bool& clamped);

}  // namespace effects
