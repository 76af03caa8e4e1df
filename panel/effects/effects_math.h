// The effects window's unit conversions and the preset record, free of the
// platform so that they are tested natively.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace effects {

constexpr int kBands = 10;
constexpr int kBandMin = -20;  // slider position at the top: +12 dB
constexpr int kBandMax = 20;
constexpr int kPercentRange = 1000;  // intensity and spread sliders: 0 (top) … 1000

// Band slider positions in band order; negative positions boost.
using BandPositions = std::array<int, kBands>;

// Band slider position to the engine's value in tenths of a dB.
constexpr int BandToEngine(int position) { return position * -6; }
// The engine's value (as the library reports it, a float) to a slider
// position, truncated toward zero. Values within a thousandth of a step of a
// whole position take that position: the engine's gains come back through a
// logarithm, so -84 tenths is read as -83.99999. Values beyond ±12 dB take the
// end they lie beyond; not a number (a gain below -1) takes the bottom.
int EngineToBand(double tenths);
// Intensity or spread slider position to the engine's per mille, and back.
constexpr int PercentSliderToEngine(int position) { return kPercentRange - position; }
// The slider position of the engine's per mille; beyond 1000 is the top.
int EngineToPercentSlider(std::uint32_t perMille);
// What the percent edit shows for a slider position.
constexpr int PercentSliderToEdit(int position) { return 100 - position / 10; }
constexpr int PercentEditToSlider(int value) { return (100 - value) * 10; }

// An edit's text read as a decimal integer: an optional sign and digits, up
// to the first other character; no digits count as 0.
int ParseEditNumber(std::wstring_view text);

// The value an edit's number stands for once clamped, and whether the edit
// must be rewritten with it.
struct Clamped {
    int value;
    bool rewrite;
};
Clamped ClampBandEdit(int value);
Clamped ClampPercentEdit(int value);

// The 40-byte preset record: ten signed 32-bit little-endian positions.
constexpr std::size_t kPresetRecordSize = 40;
using PresetRecord = std::array<std::uint8_t, kPresetRecordSize>;
PresetRecord EncodePreset(const BandPositions& positions);
// Positions outside -20 … 20 (a record written by hand, checksum and all)
// are clamped into the range.
BandPositions DecodePreset(const PresetRecord& record);

}  // namespace effects
