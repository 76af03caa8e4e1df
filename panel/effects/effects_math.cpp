#include "panel/effects/effects_math.h"

#include <cmath>

namespace effects {

int EngineToBand(double tenths) {
    // The library reads a gain g as 200 × log10(1 + g): minus infinity at -1
    // and not a number below it, where no amplitude is left: the bottom.
    if (std::isnan(tenths)) return kBandMax;
    double position = tenths * -20.0 * 0.008333334;
    // Checked before the conversion to int, which is undefined out of range.
    if (position >= kBandMax) return kBandMax;
    if (position <= kBandMin) return kBandMin;
    // The factor's own margin above 1/120 is far smaller than the float
    // error of the engine's round trip; this one is far smaller than a step.
    position += position < 0 ? -1e-3 : 1e-3;
    return static_cast<int>(position);
}

int EngineToPercentSlider(std::uint32_t perMille) {
    if (perMille >= static_cast<std::uint32_t>(kPercentRange)) return 0;
    return kPercentRange - static_cast<int>(perMille);
}

int ParseEditNumber(std::wstring_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > 1000000) value = 1000000;  // far outside every range; keeps the sum bounded
    }
    return static_cast<int>(negative ? -value : value);
}

Clamped ClampBandEdit(int value) {
    if (value < kBandMin) return {kBandMin, true};
    if (value > kBandMax) return {kBandMax, true};
    return {value, false};
}

Clamped ClampPercentEdit(int value) {
    if (value < 0) return {0, true};
    if (value > 100) return {100, true};
    return {value, false};
}

PresetRecord EncodePreset(const BandPositions& positions) {
    PresetRecord record{};
    for (int band = 0; band < kBands; ++band) {
        const auto bits = static_cast<std::uint32_t>(positions[band]);
        for (int b = 0; b < 4; ++b) record[band * 4 + b] = static_cast<std::uint8_t>(bits >> (8 * b));
    }
    return record;
}

BandPositions DecodePreset(const PresetRecord& record) {
    BandPositions positions{};
    for (int band = 0; band < kBands; ++band) {
        std::uint32_t bits = 0;
        for (int b = 0; b < 4; ++b) bits |= static_cast<std::uint32_t>(record[band * 4 + b]) << (8 * b);
        const auto position = static_cast<std::int32_t>(bits);
        positions[band] = position < kBandMin ? kBandMin : position > kBandMax ? kBandMax : position;
    }
    return positions;
}

}  // namespace effects
