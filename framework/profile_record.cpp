#include "framework/profile_record.h"

#include <cctype>

namespace fw {

bool WellFormedProfileRecord(std::string_view text, std::size_t bytes) {
    if (text.size() != 2 * (bytes + 1)) return false;
    for (const char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace fw
