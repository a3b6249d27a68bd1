#pragma once
// Splitting of the tab- and colon-separated texts the simulator reads.
#include <string>
#include <string_view>
#include <vector>

namespace apsim {

// Every field, empty ones included: "a::b" split at ':' is {"a", "", "b"}.
std::vector<std::string> split(std::string_view text, char separator);

} // namespace apsim
