// A card's saved state: any bytes as a file a user gives `corractl state
// restore` (or the program's settings file). A refused text says why and
// names a line it has; an accepted one, written out again, reads back as the
// same settings.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "panel/state/card_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const bool emptyIsState : {false, true}) {
        const cardstate::Parsed parsed = cardstate::Parse(text, emptyIsState);
        if (!parsed.state) {
            FUZZ_CHECK(!parsed.error.empty());
            FUZZ_CHECK(parsed.line <= static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
            continue;
        }
        const cardstate::Parsed again = cardstate::Parse(cardstate::Format(*parsed.state));
        FUZZ_CHECK(again.state.has_value());
        FUZZ_CHECK(cardstate::Settings(*again.state) == cardstate::Settings(*parsed.state));
        FUZZ_CHECK(cardstate::Empty(cardstate::Differing(*parsed.state, *again.state)));
    }
    return 0;
}
