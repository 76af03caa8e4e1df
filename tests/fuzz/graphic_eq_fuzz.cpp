// The equalizer text importer: any bytes as a file a user chose. A curve
// that is accepted gives ten positions on the panel's scale, and what the
// exporter writes for them reads back as the same positions; a refusal can be
// told in both languages.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "panel/effects/graphic_eq.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const effects::EqImport result = effects::ParseEqualizerText(text);
    if (!result.ok) {
        FUZZ_CHECK(result.error.problem != effects::EqProblem::kNone);
        FUZZ_CHECK(!effects::DescribeEqError(result.error, false).empty());
        FUZZ_CHECK(!effects::DescribeEqError(result.error, true).empty());
        return 0;
    }
    FUZZ_CHECK(result.clamped >= 0 && result.clamped <= effects::kBands);
    // A curve is moved only when it then fits whole.
    FUZZ_CHECK(result.shiftSteps == 0 || result.clamped == 0);
    for (const int p : result.positions) FUZZ_CHECK(p >= -20 && p <= 20);
    const effects::EqImport again = effects::ParseEqualizerText(effects::FormatGraphicEq(result.positions));
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(again.positions == result.positions);
    FUZZ_CHECK(again.clamped == 0 && again.shiftSteps == 0);
    return 0;
}
