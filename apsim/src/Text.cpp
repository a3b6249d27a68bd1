#include "Text.h"

namespace apsim {

std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t at = text.find(separator, start);
        fields.emplace_back(text.substr(start, at - start));
        if (at == std::string_view::npos)
            return fields;
        start = at + 1;
    }
}

} // namespace apsim
