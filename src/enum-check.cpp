#include "enum-check.h"

#include <algorithm>
#include <array>
#include <string>
#include <functional>
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
constexpr std::array<std::string_view, 12> kQtMacros = {"Q_EMIT",   "Q_FOREACH", "Q_FOREVER", "Q_SIGNAL",
                                                       "Q_SIGNALS", "Q_SLOT",    "Q_SLOTS",   "emit",
                                                       "foreach",  "forever",   "signals",   "slots"};
static_assert(std::is_sorted(kQtMacros.begin(), kQtMacros.end()));

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
        if (std::binary_search(kKeywords.begin(), kKeywords.end(), name))
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
    else if (std::binary_search(kQtMacros.begin(), kQtMacros.end(), name))
        messages->push_back({line, Kind::Warning,
                             what + std::string(" name '") + excerpt(name) +
                                 "' is one of Qt's keyword macros, so the generated header does not compile where "
                                 "Qt defines it (Qt's keywords are on by default); rename the " +
                                 what,
                             column, length});
    return !problem;
}

// The first holder of each key seen so far, by open addressing in one array:
// no allocation per entry, and a key's hash is kept beside it, so a probe
// compares texts only when the hashes agree.
template <class Key, class Holder>
struct FirstSeen {
    struct Slot {
        size_t hash = 0;
        Key key{};
        const Holder* holder = nullptr;
    };
    std::vector<Slot> slots;
};

template <class Key, class Holder>
FirstSeen<Key, Holder> firstSeenFor(size_t count) {
    size_t size = 16;
    while (size < 2 * count)
        size <<= 1;
    return {std::vector<typename FirstSeen<Key, Holder>::Slot>(size)};
}

// Records `holder` under `key`; the earlier holder when there is one.
template <class Key, class Holder>
const Holder* seen(FirstSeen<Key, Holder>& table, Key key, const Holder* holder) {
    // Spread the hash over the high bits: std::hash of an integer is the integer.
    const size_t hash = std::hash<Key>{}(key) * 0x9E3779B97F4A7C15ull;
    const size_t mask = table.slots.size() - 1;
    for (size_t at = (hash >> 20) & mask;; at = (at + 1) & mask) {
        auto& slot = table.slots[at];
        if (!slot.holder) {
            slot = {hash, key, holder};
            return nullptr;
        }
        if (slot.hash == hash && slot.key == key)
            return slot.holder;
    }
}

void checkItems(const EnumType& type, ListMessages* messages) {
    using Item = EnumType::Item;
    auto names = firstSeenFor<std::string_view, Item>(type.items.size());
    auto keys = firstSeenFor<std::string_view, Item>(type.items.size());
    auto values = firstSeenFor<std::int64_t, Item>(type.sequential ? 0 : type.items.size());
    for (const EnumType::Item& item : type.items) {
        if (!checkName(item.name, "item", item.line, item.column, messages))
            continue;
        auto quoted = [&item] { return "item '" + excerpt(item.name) + "'"; };
        const int length = static_cast<int>(item.name.size());
        if (const Item* other = seen<std::string_view>(names, item.name, &item)) {
            // The same item twice is one mistake: its key and value are not compared again.
            const EnumType::Item& first = *other;
            messages->push_back({item.line, Kind::Error,
                                 quoted() + " is already an item of enum '" + excerpt(type.name) + "', on line " +
                                     toString(first.line),
                                 item.column, length, first.line, first.column, quoted() + " is first defined here"});
            continue;
        }
        if (!item.key.empty()) {
            if (const Item* other = seen<std::string_view>(keys, item.key, &item)) {
                const EnumType::Item& first = *other;
                messages->push_back({item.line, Kind::Warning,
                                     quoted() + " has the key '" + excerpt(item.key) + "' of item '" +
                                         excerpt(first.name) + "' on line " + toString(first.line) +
                                         "; fromKey finds only the first",
                                     item.keyColumn, static_cast<int>(item.key.size()) + 4, first.line,
                                     first.keyColumn, "item '" + excerpt(first.name) + "' has the key here"});
            }
        }
        // Values counted on from 0 alone never meet.
        if (type.sequential)
            continue;
        if (std::optional<std::int64_t> value = evaluateValue(item.value)) {
            if (const Item* other = seen(values, *value, &item)) {
                const EnumType::Item& first = *other;
                messages->push_back(
                    {item.line, Kind::Warning,
                     quoted() + " has the value " + toString(*value) + " of item '" + excerpt(first.name) +
                         "' on line " + toString(first.line) +
                         "; the bundled templates' description() switch does not compile with two equal values",
                     item.valueColumn ? item.valueColumn : item.column,
                     item.valueColumn ? static_cast<int>(item.value.size()) + 4 : length, first.line,
                     first.valueColumn ? first.valueColumn : first.column,
                     "item '" + excerpt(first.name) + "' has the value " + toString(*value) + " here"});
            }
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
    auto keys = firstSeenFor<std::string_view, EnumType>(enums.size());
    for (const EnumType& type : enums) {
        // A '/' or NUL byte in an enum name is reported with the enum's files.
        if (type.name.find_first_of(std::string_view("/\0", 2)) == std::string::npos)
            checkName(type.name, "enum", type.line, type.column, messages);
        if (!type.key.empty()) {
            if (const EnumType* other = seen<std::string_view>(keys, type.key, &type)) {
                const EnumType& first = *other;
                messages->push_back({type.line, Kind::Warning,
                                     "enum '" + excerpt(type.name) + "' has the key '" + excerpt(type.key) +
                                         "' of enum '" + excerpt(first.name) + "' on line " + toString(first.line),
                                     type.keyColumn, static_cast<int>(type.key.size()) + 4, first.line,
                                     first.keyColumn, "enum '" + excerpt(first.name) + "' has the key here"});
            }
        }
        checkItems(type, messages);
    }
}
