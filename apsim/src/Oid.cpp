#include "Oid.h"

#include <charconv>

namespace apsim {

std::optional<Oid> parseOid(std::string_view text)
{
    if (!text.empty() && text.front() == '.')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    Oid oid;
    while (true) {
        const auto dot = text.find('.');
        const std::string_view arc = text.substr(0, dot);
        unsigned long value = 0;
        const auto [end, ec] = std::from_chars(arc.data(), arc.data() + arc.size(), value);
        if (arc.empty() || ec != std::errc() || end != arc.data() + arc.size())
            return std::nullopt;
        oid.push_back(value);
        if (dot == std::string_view::npos)
            return oid;
        text.remove_prefix(dot + 1);
    }
}

std::string formatOid(const Oid &oid)
{
    std::string text;
    for (const unsigned long arc : oid) {
        if (!text.empty())
            text += '.';
        text += std::to_string(arc);
    }
    return text;
}

bool isPrefix(const Oid &prefix, const Oid &oid)
{
    return prefix.size() <= oid.size() && std::equal(prefix.begin(), prefix.end(), oid.begin());
}

} // namespace apsim
