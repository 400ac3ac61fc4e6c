#include "enum-check.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "text-ops.h"

namespace {

using Kind = ListMessage::Kind;

// C++20 keywords and alternative tokens, sorted for a binary search.
constexpr std::array<std::string_view, 92> kKeywords = {
    "alignas",     "alignof",  "and",        "and_eq",    "asm",       "auto",         "bitand",
    "bitor",       "bool",     "break",      "case",      "catch",     "char",         "char16_t",
    "char32_t",    "char8_t",  "class",      "co_await",  "co_return", "co_yield",     "compl",
    "concept",     "const",    "const_cast", "consteval", "constexpr", "constinit",    "continue",
    "decltype",    "default",  "delete",     "do",        "double",    "dynamic_cast", "else",
    "enum",        "explicit", "export",     "extern",    "false",     "float",        "for",
    "friend",      "goto",     "if",         "inline",    "int",       "long",         "mutable",
    "namespace",   "new",      "noexcept",   "not",       "not_eq",    "nullptr",      "operator",
    "or",          "or_eq",    "private",    "protected", "public",    "register",     "reinterpret_cast",
    "requires",    "return",   "short",      "signed",    "sizeof",    "static",       "static_assert",
    "static_cast", "struct",   "switch",     "template",  "this",      "thread_local", "throw",
    "true",        "try",      "typedef",    "typeid",    "typename",  "union",        "unsigned",
    "using",       "virtual",  "void",       "volatile",  "wchar_t",   "while",        "xor",
    "xor_eq"};
static_assert(std::is_sorted(kKeywords.begin(), kKeywords.end()));

// Qt's keyword macros: a name spelled like one is replaced by the
// preprocessor wherever Qt's headers define it.
constexpr std::array<std::string_view, 12> kQtMacros = {"Q_EMIT",    "Q_FOREACH", "Q_FOREVER", "Q_SIGNAL",
                                                        "Q_SIGNALS", "Q_SLOT",    "Q_SLOTS",   "emit",
                                                        "foreach",   "forever",   "signals",   "slots"};
static_assert(std::is_sorted(kQtMacros.begin(), kQtMacros.end()));

// C++ keywords and Qt's keyword macros all start with a lower-case letter or
// "Q_", so most names, such as Red, need no search of either table.
constexpr bool mayBeReserved(std::string_view name) {
    return (name.front() >= 'a' && name.front() <= 'z') || name.starts_with("Q_");
}
static_assert(std::all_of(kKeywords.begin(), kKeywords.end(), mayBeReserved));
static_assert(std::all_of(kQtMacros.begin(), kQtMacros.end(), mayBeReserved));

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes from 0x80 up are let through: they are how UTF-8 identifiers are written.
bool isIdentifierByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || c == '_' || isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// What is wrong with `name` as the C++ identifier the generated code makes of
// it, or nothing.
std::optional<std::string> nameProblem(std::string_view name) {
    if (name.empty())
        return std::string("has no name");
    if (std::all_of(name.begin(), name.end(), isIdentifierByte) && !isDigit(name.front())) {
        if (mayBeReserved(name) && std::binary_search(kKeywords.begin(), kKeywords.end(), name))
            return "name '" + excerpt(name) + "' is a C++ keyword";
        return std::nullopt;
    }
    std::string problem = "name '" + excerpt(name) + "' is not a C++ identifier";
    // A space before the first marker is the usual slip; say how to mend it.
    if (name.back() == ' ')
        return problem + ": remove the space between the name and the first marker";
    if (name.front() == ' ')
        return problem + ": remove the space before the name";
    return problem + " (letters, digits and '_', not starting with a digit)";
}

// Reports a name problem; true when the name is sound.
bool checkName(std::string_view name, const char* what, int line, int column, ListMessages* messages) {
    const int length = static_cast<int>(name.size());
    std::optional<std::string> problem = nameProblem(name);
    if (problem)
        messages->push_back({line, Kind::Error, what + std::string(" ") + *problem, column, length});
    else if (mayBeReserved(name) && std::binary_search(kQtMacros.begin(), kQtMacros.end(), name))
        messages->push_back({line, Kind::Warning,
                             what + std::string(" name '") + excerpt(name) +
                                 "' is one of Qt's keyword macros, so the generated header does not compile where "
                                 "Qt defines it (Qt's keywords are on by default); rename the " +
                                 what,
                             column, length});
    return !problem;
}

// For each key, the index of the first earlier key equal to it, or -1. The
// keys are spread by hash over groups small enough for the cache, each group
// searched in a small table of its own, so a million keys cost a few passes
// over arrays rather than a cache miss each.
template <class Key>
std::vector<std::int32_t> firstEqual(const std::vector<Key>& keys) {
    const size_t count = keys.size();
    std::vector<std::uint64_t> hashes(count);
    for (size_t i = 0; i < count; ++i) {
        // Spread over all bits: std::hash of an integer is the integer.
        hashes[i] = std::hash<Key>{}(keys[i]) * 0x9E3779B97F4A7C15ull;
    }
    int groupBits = 0;
    while ((count >> groupBits) > 4096)
        ++groupBits;
    auto groupOf = [&](size_t i) { return groupBits == 0 ? 0 : size_t(hashes[i] >> (64 - groupBits)); };
    // The indices sorted by group, in their order within each group.
    std::vector<std::uint32_t> begin((size_t{1} << groupBits) + 1), order(count);
    for (size_t i = 0; i < count; ++i)
        ++begin[groupOf(i) + 1];
    for (size_t group = 1; group < begin.size(); ++group)
        begin[group] += begin[group - 1];
    std::vector<std::uint32_t> next(begin.begin(), begin.end() - 1);
    for (size_t i = 0; i < count; ++i)
        order[next[groupOf(i)]++] = static_cast<std::uint32_t>(i);

    std::vector<std::int32_t> first(count, -1);
    // A slot holds a part of a key's hash and the key's index + 1 (0: empty).
    std::vector<std::pair<std::uint32_t, std::uint32_t>> slots;
    for (size_t group = 0; group + 1 < begin.size(); ++group) {
        size_t size = 16;
        while (size < 2 * size_t(begin[group + 1] - begin[group]))
            size <<= 1;
        slots.assign(size, {0, 0});
        for (size_t k = begin[group]; k < begin[group + 1]; ++k) {
            const std::uint32_t i = order[k];
            const auto tag = static_cast<std::uint32_t>(hashes[i] >> 32);
            for (size_t at = hashes[i] & (size - 1);; at = (at + 1) & (size - 1)) {
                auto& [slotTag, slotIndex] = slots[at];
                if (slotIndex == 0) {
                    slots[at] = {tag, i + 1};
                    break;
                }
                if (slotTag == tag && keys[slotIndex - 1] == keys[i]) {
                    first[i] = static_cast<std::int32_t>(slotIndex - 1);
                    break;
                }
            }
        }
    }
    return first;
}

// Which of `take` (item indices) come after an equal key: sets `sameAs` of
// such an item to the index of the first item with that key.
template <class Key>
void markEqual(const std::vector<std::uint32_t>& take, const std::vector<Key>& keys,
               std::vector<std::int32_t>* sameAs) {
    const std::vector<std::int32_t> first = firstEqual(keys);
    for (size_t k = 0; k < take.size(); ++k) {
        if (first[k] >= 0)
            (*sameAs)[take[k]] = static_cast<std::int32_t>(take[static_cast<size_t>(first[k])]);
    }
}

void checkItems(const EnumType& type, ListMessages* messages) {
    using Item = EnumType::Item;
    const std::vector<Item>& items = type.items;
    // Each comparison takes part of the items, in their order: equal names
    // among the soundly named; keys and values among those named once. The
    // names and keys are gathered in one pass: a million items are more than
    // the cache holds, and each pass over them costs a miss per item.
    std::vector<std::uint32_t> take, named;
    std::vector<std::string_view> texts, keys;
    take.reserve(items.size());
    texts.reserve(items.size());
    keys.reserve(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        if (checkName(items[i].name, "item", items[i].line, items[i].column, messages)) {
            take.push_back(static_cast<std::uint32_t>(i));
            texts.push_back(items[i].name);
            keys.push_back(items[i].key);
        }
    }
    std::vector<std::int32_t> sameName(items.size(), -1), sameKey(items.size(), -1), sameValue(items.size(), -1);
    markEqual(take, texts, &sameName);
    named.swap(take);
    take.clear();
    texts.clear();
    for (size_t k = 0; k < named.size(); ++k) {
        if (sameName[named[k]] < 0 && !keys[k].empty()) {
            take.push_back(named[k]);
            texts.push_back(keys[k]);
        }
    }
    markEqual(take, texts, &sameKey);
    // Values counted on from 0 alone never meet.
    std::vector<std::int64_t> valueOf(type.sequential ? 0 : items.size()), values;
    take.clear();
    for (std::uint32_t i : type.sequential ? std::vector<std::uint32_t>() : named) {
        if (std::optional<std::int64_t> value = sameName[i] < 0 ? evaluateValue(items[i].value) : std::nullopt) {
            take.push_back(i);
            values.push_back(valueOf[i] = *value);
        }
    }
    markEqual(take, values, &sameValue);

    for (std::uint32_t i : named) {
        if (sameName[i] < 0 && sameKey[i] < 0 && sameValue[i] < 0)
            continue;
        const Item& item = items[i];
        auto quoted = [&item] { return "item '" + excerpt(item.name) + "'"; };
        const int length = static_cast<int>(item.name.size());
        if (sameName[i] >= 0) {
            // The same item twice is one mistake: its key and value are not compared again.
            const Item& first = items[static_cast<size_t>(sameName[i])];
            messages->push_back(
                {item.line, Kind::Error,
                 quoted() + " is already an item of enum '" + excerpt(type.name) + "', on line " + toString(first.line),
                 item.column, length, first.line, first.column, quoted() + " is first defined here", length});
            continue;
        }
        if (sameKey[i] >= 0) {
            const Item& first = items[static_cast<size_t>(sameKey[i])];
            messages->push_back({item.line, Kind::Warning,
                                 quoted() + " has the key '" + excerpt(item.key) + "' of item '" + excerpt(first.name) +
                                     "' on line " + toString(first.line) + "; fromKey finds only the first",
                                 item.keyColumn, static_cast<int>(item.key.size()) + 4, first.line, first.keyColumn,
                                 "item '" + excerpt(first.name) + "' has the key here",
                                 static_cast<int>(first.key.size()) + 4});
        }
        if (sameValue[i] >= 0) {
            const Item& first = items[static_cast<size_t>(sameValue[i])];
            const std::string value = toString(valueOf[i]);
            messages->push_back(
                {item.line, Kind::Warning,
                 quoted() + " has the value " + value + " of item '" + excerpt(first.name) + "' on line " +
                     toString(first.line) +
                     "; the bundled templates' description() switch does not compile with two equal values",
                 item.valueColumn ? item.valueColumn : item.column,
                 item.valueColumn ? static_cast<int>(item.value.size()) + 4 : length, first.line,
                 first.valueColumn ? first.valueColumn : first.column,
                 "item '" + excerpt(first.name) + "' has the value " + value + " here",
                 first.valueColumn ? static_cast<int>(first.value.size()) + 4 : static_cast<int>(first.name.size())});
        }
    }
}

// A value text being evaluated: a cursor over it and how deep the
// parentheses and operators nest, which is bounded to keep the stack small.
struct Expression {
    std::string_view text;
    size_t pos = 0;
    int depth = 0;
};

// Values and every intermediate result stay within +-2^32, which holds every
// enumerator an `int` enum can have and keeps each operation from overflowing.
constexpr std::int64_t kLimit = std::int64_t{1} << 32;
constexpr int kMaxDepth = 64;

using Value = std::optional<std::int64_t>;

Value within(std::int64_t value) { return value >= -kLimit && value <= kLimit ? Value(value) : std::nullopt; }

void skipSpace(Expression& e) {
    while (e.pos < e.text.size() && (e.text[e.pos] == ' ' || e.text[e.pos] == '\t'))
        ++e.pos;
}

bool take(Expression& e, std::string_view token) {
    skipSpace(e);
    if (e.text.substr(e.pos, token.size()) != token)
        return false;
    e.pos += token.size();
    return true;
}

int digitValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

Value literal(Expression& e) {
    skipSpace(e);
    const std::string_view text = e.text;
    size_t& pos = e.pos;
    if (pos >= text.size() || !isDigit(text[pos]))
        return std::nullopt;
    int base = 10;
    if (text[pos] == '0' && pos + 1 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    } else if (text[pos] == '0' && pos + 1 < text.size() && (text[pos + 1] == 'b' || text[pos + 1] == 'B')) {
        base = 2;
        pos += 2;
    } else if (text[pos] == '0') {
        base = 8;
    }
    std::int64_t value = 0;
    bool digits = false;
    for (; pos < text.size(); ++pos) {
        if (text[pos] == '\'' && digits)
            continue;
        const int digit = digitValue(text[pos]);
        if (digit >= base)
            break;
        value = value * base + digit;
        if (value > kLimit)
            return std::nullopt;
        digits = true;
    }
    while (pos < text.size() && std::string_view("uUlLzZ").find(text[pos]) != std::string_view::npos)
        ++pos;
    // A float, a user-defined suffix or a digit past the base: not a value we know.
    if (!digits || (pos < text.size() && (isIdentifierByte(text[pos]) || text[pos] == '.')))
        return std::nullopt;
    return value;
}

Value binary(Expression& e, int minPrecedence);

Value unary(Expression& e) {
    if (++e.depth > kMaxDepth)
        return std::nullopt;
    Value result;
    if (take(e, "~")) {
        if ((result = unary(e)))
            result = ~*result;
    } else if (take(e, "-")) {
        if ((result = unary(e)))
            result = -*result;
    } else if (take(e, "+")) {
        result = unary(e);
    } else if (take(e, "(")) {
        result = binary(e, 0);
        if (!take(e, ")"))
            result = std::nullopt;
    } else {
        result = literal(e);
    }
    --e.depth;
    return result;
}

struct Operator {
    std::string_view token;
    int precedence;
};
// C++'s precedence; shifts come first so "<<" is not taken for another token.
constexpr std::array<Operator, 8> kOperators = {
    {{"<<", 4}, {">>", 4}, {"*", 6}, {"+", 5}, {"-", 5}, {"&", 3}, {"^", 2}, {"|", 1}}};

Value apply(std::string_view op, std::int64_t a, std::int64_t b) {
    if (op == "+")
        return within(a + b);
    if (op == "-")
        return within(a - b);
    if (op == "*")
        return b != 0 && (a < 0 ? -a : a) > kLimit / (b < 0 ? -b : b) ? std::nullopt : within(a * b);
    if (op == "<<")
        return a < 0 || b < 0 || b > 32 || a > (kLimit >> b) ? std::nullopt : Value(a << b);
    if (op == ">>")
        return b < 0 || b > 32 ? std::nullopt : Value(a >> b);
    if (op == "&")
        return a & b;
    if (op == "^")
        return within(a ^ b);
    return within(a | b);
}

// Operators of at least `minPrecedence`, left to right.
Value binary(Expression& e, int minPrecedence) {
    Value left = unary(e);
    while (left) {
        const Operator* found = nullptr;
        for (const Operator& op : kOperators) {
            const size_t at = e.pos;
            if (op.precedence >= minPrecedence && take(e, op.token)) {
                found = &op;
                break;
            }
            e.pos = at;
        }
        // "||", "->", "<<=", "--" and the like are not operators of a value we know.
        if (!found ||
            (e.pos < e.text.size() && std::string_view("|&<>=+-").find(e.text[e.pos]) != std::string_view::npos))
            break;
        ++e.depth;
        Value right = binary(e, found->precedence + 1);
        --e.depth;
        left = right ? apply(found->token, *left, *right) : std::nullopt;
    }
    return left;
}

}  // namespace

Value evaluateValue(std::string_view text) {
    Expression e{text};
    Value value = binary(e, 0);
    skipSpace(e);
    return e.pos == text.size() ? value : std::nullopt;
}

void checkEnums(const std::vector<EnumType>& enums, ListMessages* messages) {
    std::vector<std::uint32_t> keyed;
    std::vector<std::string_view> keys;
    for (size_t e = 0; e < enums.size(); ++e) {
        if (!enums[e].key.empty()) {
            keyed.push_back(static_cast<std::uint32_t>(e));
            keys.push_back(enums[e].key);
        }
    }
    std::vector<std::int32_t> sameKey(enums.size(), -1);
    markEqual(keyed, keys, &sameKey);
    for (size_t e = 0; e < enums.size(); ++e) {
        const EnumType& type = enums[e];
        // A '/' or NUL byte in an enum name is reported with the enum's files.
        if (type.name.find_first_of(std::string_view("/\0", 2)) == std::string::npos)
            checkName(type.name, "enum", type.line, type.column, messages);
        if (sameKey[e] >= 0) {
            const EnumType& first = enums[static_cast<size_t>(sameKey[e])];
            messages->push_back({type.line, Kind::Warning,
                                 "enum '" + excerpt(type.name) + "' has the key '" + excerpt(type.key) + "' of enum '" +
                                     excerpt(first.name) + "' on line " + toString(first.line),
                                 type.keyColumn, static_cast<int>(type.key.size()) + 4, first.line, first.keyColumn,
                                 "enum '" + excerpt(first.name) + "' has the key here",
                                 static_cast<int>(first.key.size()) + 4});
        }
        checkItems(type, messages);
    }
}
