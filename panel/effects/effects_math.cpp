#include "panel/effects/effects_math.h"

namespace effects {

int EngineToBand(int tenths) {
    // 0.008333334 is a shade above 1/120, so whole steps (multiples of 6
    // tenths) land just past their position and truncate onto it.
    return static_cast<int>(static_cast<double>(tenths) * -20.0 * 0.008333334);
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
        positions[band] = static_cast<int>(bits);
    }
    return positions;
}

}  // namespace effects
