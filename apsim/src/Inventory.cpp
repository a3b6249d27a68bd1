#include "Inventory.h"

#include "Text.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <stdexcept>

namespace apsim {

const Oid &productRoot()
{
    static const Oid root{1, 3, 6, 1, 4, 1, 48213, 10, 37, 37};
    return root;
}

bool Check::accepts(long n) const
{
    if (ranged)
        return n >= min && n <= max;
    return allowed.empty() || std::find(allowed.begin(), allowed.end(), n) != allowed.end();
}

namespace {

struct Row {
    int line = 0;
    std::vector<std::string> f; // name wire written kind entry syntax access values free parts notes
    const std::string &name() const { return f[0]; }
    const std::string &wire() const { return f[1]; }
    const std::string &kind() const { return f[3]; }
    const std::string &entry() const { return f[4]; }
    const std::string &syntax() const { return f[5]; }
    const std::string &access() const { return f[6]; }
    const std::string &values() const { return f[7]; }
    const std::string &notes() const { return f[10]; }
};

template <typename F> void forEachLine(std::string_view text, F f)
{
    int number = 0;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        f(++number, line);
        if (nl == std::string_view::npos)
            break;
        text.remove_prefix(nl + 1);
    }
}

[[noreturn]] void fail(const char *what, int line, const std::string &detail)
{
    throw std::runtime_error(std::string(what) + " line " + std::to_string(line) + ": " + detail);
}

// "P.2.1" stands for the product root followed by 2.1.
std::optional<Oid> parseDataOid(const std::string &text)
{
    if (text.rfind("P.", 0) == 0) {
        auto tail = parseOid(text.substr(2));
        if (!tail)
            return std::nullopt;
        Oid oid = productRoot();
        oid.insert(oid.end(), tail->begin(), tail->end());
        return oid;
    }
    return parseOid(text);
}

std::optional<Syntax> syntaxFromText(const std::string &text)
{
    static const std::map<std::string, Syntax> names{
        {"INTEGER", Syntax::Integer},     {"DisplayString", Syntax::Text},
        {"OCTET STRING", Syntax::Text},   {"MAC", Syntax::Mac},
        {"IpAddress", Syntax::IpAddress}, {"TimeTicks", Syntax::TimeTicks},
        {"OBJECT IDENTIFIER", Syntax::ObjectId}};
    const auto it = names.find(text);
    return it == names.end() ? std::nullopt : std::optional(it->second);
}

struct Number {
    long value;
    size_t begin, end;
};

std::vector<Number> numbersIn(const std::string &text)
{
    std::vector<Number> out;
    for (size_t i = 0; i < text.size();) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        const size_t begin = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        out.push_back({std::stol(text.substr(begin, i - begin)), begin, i});
    }
    return out;
}

// "N=" at the start of the text or of a list item ("a, 2=b", "(2=b", ": 2=b").
bool isItem(const std::string &text, const Number &n)
{
    if (n.end >= text.size() || text[n.end] != '=')
        return false;
    size_t i = n.begin;
    while (i > 0 && text[i - 1] == ' ')
        --i;
    return i == 0 || std::string_view(",:;(.").find(text[i - 1]) != std::string_view::npos;
}

// Reads the checks the inventory's value texts state: "0=Disable,1=Enable",
// "25..500", "1=Jan..12=Dec" (a range written with labels), "at most 32 characters".
Check checkFromValues(Syntax syntax, const std::string &values)
{
    Check check;
    const auto numbers = numbersIn(values);
    std::vector<std::pair<long, long>> ranges;
    std::vector<long> items;
    bool labelledRange = false;
    for (size_t i = 0; i < numbers.size(); ++i) {
        const Number &n = numbers[i];
        if (i + 1 < numbers.size() && values.compare(n.end, 2, "..") == 0 && numbers[i + 1].begin == n.end + 2)
            ranges.emplace_back(n.value, numbers[i + 1].value);
        if (isItem(values, n)) {
            items.push_back(n.value);
            labelledRange = labelledRange || (n.begin >= 2 && values.compare(n.begin - 2, 2, "..") == 0);
        }
    }
    if (syntax == Syntax::Text) {
        const auto atMost = values.find("at most ");
        if (atMost != std::string::npos && atMost + 8 < values.size() && std::isdigit(static_cast<unsigned char>(values[atMost + 8])))
            check.maxLength = std::stoul(values.substr(atMost + 8));
        else if (!ranges.empty() && values.find("character") != std::string::npos)
            check.maxLength = static_cast<size_t>(ranges.front().second);
        return check;
    }
    if (syntax != Syntax::Integer)
        return check;
    if (labelledRange && !items.empty()) {
        check.ranged = true;
        check.min = *std::min_element(items.begin(), items.end());
        check.max = *std::max_element(items.begin(), items.end());
        return check;
    }
    for (const auto &[lo, hi] : ranges) {
        check.min = check.ranged ? std::min(check.min, lo) : lo;
        check.max = check.ranged ? std::max(check.max, hi) : hi;
        check.ranged = true;
    }
    if (!check.ranged)
        check.allowed = items;
    return check;
}

struct Override {
    int line;
    std::string field, value;
};

std::multimap<std::string, Override> parseDeviceData(std::string_view text)
{
    std::multimap<std::string, Override> out;
    forEachLine(text, [&](int number, std::string_view line) {
        if (line.empty() || line.front() == '#')
            return;
        const auto f = split(line, '\t');
        if (f.size() != 3)
            fail("device data", number, "expected key, field and value separated by tabs");
        std::string key = f[0];
        if (const auto oid = parseDataOid(key))
            key = formatOid(*oid);
        out.emplace(key, Override{number, f[1], f[2]});
    });
    return out;
}

void applyOverride(ObjectDef &def, const Override &o, std::vector<std::pair<Oid, Oid>> &shares)
{
    if (o.field == "syntax") {
        const auto s = syntaxFromText(o.value);
        if (!s)
            fail("device data", o.line, "unknown syntax " + o.value);
        def.syntax = *s;
    } else if (o.field == "range") {
        const auto dots = o.value.find("..");
        if (dots == std::string::npos)
            fail("device data", o.line, "range needs MIN..MAX");
        def.check.ranged = true;
        def.check.allowed.clear();
        def.check.min = std::stol(o.value.substr(0, dots));
        def.check.max = std::stol(o.value.substr(dots + 2));
    } else if (o.field == "maxlen") {
        def.check.maxLength = std::stoul(o.value);
    } else if (o.field == "masked") {
        def.masked = o.value == "yes";
    } else if (o.field == "share") {
        const auto target = parseDataOid(o.value);
        if (!target)
            fail("device data", o.line, "bad OID " + o.value);
        shares.emplace_back(def.oid, *target);
    } else if (o.field != "default" && o.field != "table" && o.field != "survey") {
        fail("device data", o.line, "unknown field " + o.field);
    }
}

Access accessFromText(const Row &row)
{
    if (row.access() == "read-write") return Access::ReadWrite;
    if (row.access() == "write-trigger") return Access::Trigger;
    if (row.access() == "write-command") return Access::Command;
    if (row.access() == "read-only") return Access::ReadOnly;
    fail("inventory", row.line, "unknown access " + row.access());
}

Value defaultValue(const ObjectDef &def)
{
    Value v = zeroValue(def.syntax);
    if (def.syntax == Syntax::Integer) {
        if (def.check.ranged) v.number = def.check.min;
        else if (!def.check.allowed.empty()) v.number = def.check.allowed.front();
    }
    return v;
}

ObjectDef defFromRow(const Row &row, const std::multimap<std::string, Override> &data,
                     std::vector<std::pair<Oid, Oid>> &shares)
{
    ObjectDef def;
    def.name = row.name();
    const auto oid = parseOid(row.wire());
    if (!oid)
        fail("inventory", row.line, "bad wire OID " + row.wire());
    def.oid = *oid;
    def.access = accessFromText(row);
    def.column = row.kind() == "column3";
    def.key = row.notes().find("KEY column") != std::string::npos;
    if (def.column) {
        def.entry = Oid(def.oid.begin(), def.oid.end() - 1);
    }
    std::vector<const Override *> overrides;
    for (const std::string &key : {row.name(), formatOid(def.oid)}) {
        const auto [lo, hi] = data.equal_range(key);
        for (auto it = lo; it != hi; ++it)
            overrides.push_back(&it->second);
    }
    const auto syntax = syntaxFromText(row.syntax());
    const auto syntaxOverride = std::find_if(overrides.begin(), overrides.end(),
                                             [](const Override *o) { return o->field == "syntax"; });
    if (!syntax && syntaxOverride == overrides.end())
        fail("inventory", row.line, row.name() + " has no syntax; the device data must choose one");
    def.syntax = syntax.value_or(Syntax::Integer);
    if (syntaxOverride != overrides.end())
        applyOverride(def, **syntaxOverride, shares);
    def.check = checkFromValues(def.syntax, row.values());
    def.masked = row.name().find("WepKey") != std::string::npos && def.syntax == Syntax::Text;
    for (const Override *o : overrides)
        if (o->field != "syntax")
            applyOverride(def, *o, shares);
    def.factory = defaultValue(def);
    for (const Override *o : overrides) {
        if (o->field != "default")
            continue;
        const auto v = valueFromText(def.syntax, o->value, true);
        if (!v)
            fail("device data", o->line, "default does not fit " + std::string(syntaxName(def.syntax)));
        def.factory = *v;
    }
    return def;
}

std::vector<Row> parseInventory(std::string_view text)
{
    std::vector<Row> rows;
    forEachLine(text, [&](int number, std::string_view line) {
        if (number == 1 || line.empty())
            return;
        Row row{number, split(line, '\t')};
        if (row.f.size() != 11)
            fail("inventory", number, "expected 11 columns");
        rows.push_back(std::move(row));
    });
    return rows;
}

bool servesOid(const ObjectDef &d, const Oid &oid)
{
    const auto in = [&](const std::vector<Oid> &v) { return std::find(v.begin(), v.end(), oid) != v.end(); };
    return d.oid == oid || in(d.aliases) || in(d.readOnlyAliases);
}

bool hasOid(const std::vector<ObjectDef> &defs, const Oid &oid)
{
    return std::any_of(defs.begin(), defs.end(), [&](const ObjectDef &d) { return servesOid(d, oid); });
}

ObjectDef *findByOid(std::vector<ObjectDef> &defs, const Oid &oid)
{
    for (ObjectDef &d : defs)
        if (servesOid(d, oid))
            return &d;
    return nullptr;
}

// One object sent as X by one page and as X.0 or X.1 by another is one value;
// an object written without an instance arc is served with ".0" as well.
std::vector<ObjectDef> mergeForms(std::vector<ObjectDef> defs, const std::vector<bool> &ambiguous)
{
    std::vector<bool> merged(defs.size(), false);
    for (size_t i = 0; i < defs.size(); ++i) {
        for (size_t j = 0; j < defs.size(); ++j) {
            if (i == j || merged[i] || merged[j] || defs[i].column || defs[j].column || defs[i].name != defs[j].name)
                continue;
            const Oid &a = defs[i].oid, &b = defs[j].oid;
            if (b.size() == a.size() + 1 && isPrefix(a, b) && b.back() <= 1) {
                defs[i].aliases.push_back(b);
                if (defs[j].access == Access::ReadWrite)
                    defs[i].access = Access::ReadWrite;
                merged[j] = true;
            }
        }
    }
    for (size_t i = 0; i < defs.size(); ++i) {
        if (merged[i] || !ambiguous[i])
            continue;
        Oid dotZero = defs[i].oid;
        dotZero.push_back(0);
        if (!hasOid(defs, dotZero))
            defs[i].aliases.push_back(dotZero);
    }
    std::vector<ObjectDef> out;
    for (size_t i = 0; i < defs.size(); ++i)
        if (!merged[i])
            out.push_back(std::move(defs[i]));
    return out;
}

// The device data may serve an object's OID as another object's value.
void applyShares(std::vector<ObjectDef> &defs, const std::vector<std::pair<Oid, Oid>> &shares)
{
    for (const auto &[from, to] : shares) {
        ObjectDef *target = findByOid(defs, to);
        const auto source = std::find_if(defs.begin(), defs.end(), [&](const ObjectDef &d) { return d.oid == from; });
        if (!target || source == defs.end() || &*source == target)
            throw std::runtime_error("device data: cannot share " + formatOid(from) + " with " + formatOid(to));
        if (source->access == Access::ReadOnly)
            target->readOnlyAliases.push_back(from);
        else
            target->aliases.push_back(from);
        defs.erase(source);
    }
}

std::vector<TableLayout> tableLayouts(const std::set<Oid> &entries, const std::multimap<std::string, Override> &data)
{
    std::vector<TableLayout> layouts;
    for (const Oid &entry : entries) {
        TableLayout layout{entry};
        const auto [lo, hi] = data.equal_range(formatOid(entry));
        for (auto it = lo; it != hi; ++it) {
            if (it->second.field != "table" && it->second.field != "survey")
                continue;
            layout.survey = it->second.field == "survey";
            layout.capacity = std::stoi(it->second.value);
        }
        if (layout.capacity <= 0)
            throw std::runtime_error("device data: no row count for table " + formatOid(entry));
        layouts.push_back(layout);
    }
    return layouts;
}

} // namespace

Inventory loadInventory(std::string_view inventoryTsv, std::string_view deviceTsv)
{
    const auto rows = parseInventory(inventoryTsv);
    const auto data = parseDeviceData(deviceTsv);
    std::vector<std::pair<Oid, Oid>> shares;

    std::set<Oid> entries, columns;
    for (const Row &row : rows) {
        if (row.kind() != "column3")
            continue;
        const auto entry = parseOid(row.entry()), column = parseOid(row.wire());
        if (!entry || !column)
            fail("inventory", row.line, "bad column or table entry OID");
        entries.insert(*entry);
        columns.insert(*column);
    }

    std::vector<ObjectDef> defs;
    std::vector<bool> ambiguous;
    for (const Row &row : rows) {
        // Rows such as the rule states ".2.<k>" are cells of a walked table.
        if (row.wire().find('<') != std::string::npos)
            continue;
        ObjectDef def = defFromRow(row, data, shares);
        if (hasOid(defs, def.oid))
            continue; // one OID under two names: the first name serves it
        // An instance of a walked table's column is that table's cell; the
        // column comes from its own row, or from this one if it has none.
        if (!def.column && def.oid.size() >= 2 && entries.count(Oid(def.oid.begin(), def.oid.end() - 2))) {
            const Oid column(def.oid.begin(), def.oid.end() - 1);
            if (hasOid(defs, column) || columns.count(column))
                continue;
            def.entry = Oid(def.oid.begin(), def.oid.end() - 2);
            def.oid = column;
            def.column = true;
        }
        defs.push_back(std::move(def));
        ambiguous.push_back(row.notes().find("AMBIGUOUS wire OID") != std::string::npos);
    }

    std::vector<ObjectDef> out = mergeForms(std::move(defs), ambiguous);
    applyShares(out, shares);
    return {std::move(out), tableLayouts(entries, data)};
}

} // namespace apsim
