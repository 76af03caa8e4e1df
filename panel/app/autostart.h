// The autostart value "Orvane Sound" in the Run key: the program's full path,
// quoted (it holds a space, and unquoted Windows may run another program from
// a parent folder).
#pragma once

#include <string>

namespace panel {

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The value's data for a program path.
std::string AutostartData(const std::string& programPath);

// Writes the machine-wide value. A standard user may not write it (the key is
// never virtualised): then an existing machine-wide value is left as it is,
// and without one the value goes under the user's own Run key. True when a
// value that starts the program is in place.
bool WriteAutostart(const std::string& programPath);
// Removes the value from the machine-wide and the user's Run key, as far as
// the user may; true when no value of the program is left.
bool RemoveAutostart(const std::string& programPath);

}  // namespace panel
