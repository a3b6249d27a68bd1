#include "Value.h"

#include "Oid.h"

#include <charconv>
#include <cstdio>

namespace apsim {

WireType wireTypeOf(Syntax syntax)
{
    switch (syntax) {
    case Syntax::Integer: return WireType::Integer;
    case Syntax::Text:
    case Syntax::Mac: return WireType::OctetString;
    case Syntax::IpAddress: return WireType::IpAddress;
    case Syntax::TimeTicks: return WireType::TimeTicks;
    case Syntax::ObjectId: return WireType::ObjectId;
    }
    return WireType::OctetString;
}

const char *syntaxName(Syntax syntax)
{
    switch (syntax) {
    case Syntax::Integer: return "INTEGER";
    case Syntax::Text: return "DisplayString";
    case Syntax::Mac: return "MAC";
    case Syntax::IpAddress: return "IpAddress";
    case Syntax::TimeTicks: return "TimeTicks";
    case Syntax::ObjectId: return "OBJECT IDENTIFIER";
    }
    return "?";
}

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> unescape(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'x': {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int hi = hexDigit(text[i + 1]), lo = hexDigit(text[i + 2]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
            break;
        }
        default: return std::nullopt;
        }
    }
    return out;
}

std::string escape(const std::string &text)
{
    std::string out;
    for (const unsigned char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c < 0x20 || c >= 0x7f) {
            char buf[5];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        } else out += static_cast<char>(c);
    }
    return out;
}

std::optional<long> parseNumber(std::string_view text)
{
    long n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return n;
}

} // namespace

std::optional<std::string> bytesFromHex(std::string_view text)
{
    if (text.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = hexDigit(text[i]), lo = hexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes += static_cast<char>(hi * 16 + lo);
    }
    return bytes;
}

std::string hexFromBytes(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

std::optional<Value> valueFromText(Syntax syntax, std::string_view text, bool escaped)
{
    Value v;
    switch (syntax) {
    case Syntax::Integer:
    case Syntax::TimeTicks: {
        const auto n = parseNumber(text);
        if (!n || (syntax == Syntax::TimeTicks && (*n < 0 || *n > 0xffffffffL)))
            return std::nullopt;
        v.number = *n;
        return v;
    }
    case Syntax::Text: {
        if (!escaped) {
            v.bytes = std::string(text);
            return v;
        }
        const auto s = unescape(text);
        if (!s)
            return std::nullopt;
        v.bytes = *s;
        return v;
    }
    case Syntax::Mac: {
        auto bytes = text.size() == 12 ? bytesFromHex(text) : std::nullopt;
        if (!bytes)
            return std::nullopt;
        v.bytes = std::move(*bytes);
        return v;
    }
    case Syntax::IpAddress: {
        const auto arcs = parseOid(text);
        if (!arcs || arcs->size() != 4 || text.front() == '.')
            return std::nullopt;
        for (const unsigned long a : *arcs) {
            if (a > 255)
                return std::nullopt;
            v.bytes += static_cast<char>(a);
        }
        return v;
    }
    case Syntax::ObjectId: {
        const auto arcs = parseOid(text);
        if (!arcs)
            return std::nullopt;
        v.bytes = formatOid(*arcs);
        return v;
    }
    }
    return std::nullopt;
}

std::string valueToText(Syntax syntax, const Value &value, bool escaped)
{
    switch (syntax) {
    case Syntax::Integer:
    case Syntax::TimeTicks: return std::to_string(value.number);
    case Syntax::Text: return escaped ? escape(value.bytes) : value.bytes;
    case Syntax::Mac: return hexFromBytes(value.bytes);
    case Syntax::IpAddress: {
        std::string out;
        for (const unsigned char c : value.bytes) {
            if (!out.empty()) out += '.';
            out += std::to_string(c);
        }
        return out;
    }
    case Syntax::ObjectId: return value.bytes;
    }
    return {};
}

Value zeroValue(Syntax syntax)
{
    Value v;
    if (syntax == Syntax::Mac) v.bytes.assign(6, '\0');
    else if (syntax == Syntax::IpAddress) v.bytes.assign(4, '\0');
    else if (syntax == Syntax::ObjectId) v.bytes = "0.0";
    return v;
}

} // namespace apsim
