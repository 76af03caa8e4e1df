// The text the profile functions store for a record of bytes: each byte as two
// hexadecimal digits, then two digits of their sum modulo 256.
#pragma once

#include <cstddef>
#include <string_view>

namespace fw {

// True when the text has exactly the digits of a record of `bytes` bytes.
// Wine's GetPrivateProfileStruct also takes longer text and characters that
// are not hexadecimal digits, which Windows refuses; callers check the text
// first, so that a hand-edited key reads as absent everywhere.
bool WellFormedProfileRecord(std::string_view text, std::size_t bytes);

}  // namespace fw
