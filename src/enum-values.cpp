// SPDX-License-Identifier: MIT
#include "enum-values.h"

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "text-ops.h"

namespace {

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

// What the steps below give for a value they do not know, far outside those
// bounds. A plain number rather than std::optional, which g++ passes through
// memory on every return: most values are short, and that was most of their
// cost (see docs/performance.md).
constexpr std::int64_t kUnknown = std::numeric_limits<std::int64_t>::min();

std::int64_t within(std::int64_t value) { return value >= -kLimit && value <= kLimit ? value : kUnknown; }

void skipSpace(Expression& e) {
    while (e.pos < e.text.size() && (e.text[e.pos] == ' ' || e.text[e.pos] == '\t'))
        ++e.pos;
}

// Whether `token` stands at the cursor. Tokens are one or two bytes:
// comparing them in place saves a call to memcmp for each token tried.
bool startsAt(const Expression& e, std::string_view token) {
    if (e.text.size() - e.pos < token.size())
        return false;
    for (size_t i = 0; i < token.size(); ++i) {
        if (e.text[e.pos + i] != token[i])
            return false;
    }
    return true;
}

bool take(Expression& e, std::string_view token) {
    skipSpace(e);
    if (!startsAt(e, token))
        return false;
    e.pos += token.size();
    return true;
}

// Whether `c` is one of `chars`, compared in place rather than by a call to
// memchr.
bool isOneOf(char c, std::string_view chars) {
    return std::any_of(chars.begin(), chars.end(), [c](char x) { return x == c; });
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

std::int64_t literal(Expression& e) {
    skipSpace(e);
    const std::string_view text = e.text;
    size_t& pos = e.pos;
    if (pos >= text.size() || !isDigit(text[pos]))
        return kUnknown;
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
            return kUnknown;
        digits = true;
    }
    while (pos < text.size() && isOneOf(text[pos], "uUlLzZ"))
        ++pos;
    // A float, a user-defined suffix or a digit past the base: not a value we know.
    if (!digits || (pos < text.size() && (isIdentifierByte(text[pos]) || text[pos] == '.')))
        return kUnknown;
    return value;
}

std::int64_t binary(Expression& e, int minPrecedence);

std::int64_t unary(Expression& e) {
    if (++e.depth > kMaxDepth)
        return kUnknown;
    std::int64_t result;
    if (take(e, "~")) {
        if ((result = unary(e)) != kUnknown)
            result = ~result;
    } else if (take(e, "-")) {
        if ((result = unary(e)) != kUnknown)
            result = -result;
    } else if (take(e, "+")) {
        result = unary(e);
    } else if (take(e, "(")) {
        result = binary(e, 0);
        if (!take(e, ")"))
            result = kUnknown;
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

std::int64_t apply(std::string_view op, std::int64_t a, std::int64_t b) {
    if (op == "+")
        return within(a + b);
    if (op == "-")
        return within(a - b);
    if (op == "*")
        return b != 0 && (a < 0 ? -a : a) > kLimit / (b < 0 ? -b : b) ? kUnknown : within(a * b);
    if (op == "<<")
        return a < 0 || b < 0 || b > 32 || a > (kLimit >> b) ? kUnknown : a << b;
    if (op == ">>")
        return b < 0 || b > 32 ? kUnknown : a >> b;
    if (op == "&")
        return a & b;
    if (op == "^")
        return within(a ^ b);
    return within(a | b);
}

// The operator after the cursor and its spaces, if it has at least
// `minPrecedence`; the cursor is then past it.
const Operator* takeOperator(Expression& e, int minPrecedence) {
    skipSpace(e);
    for (const Operator& op : kOperators) {
        if (op.precedence >= minPrecedence && startsAt(e, op.token)) {
            e.pos += op.token.size();
            return &op;
        }
    }
    return nullptr;
}

// Operators of at least `minPrecedence`, left to right.
std::int64_t binary(Expression& e, int minPrecedence) {
    std::int64_t left = unary(e);
    while (left != kUnknown) {
        const Operator* found = takeOperator(e, minPrecedence);
        if (!found)
            break;
        // "||", "->", "<<=", "--" and the like are not operators of a value
        // we know: the whole value is unknown, not just what follows them.
        if (e.pos < e.text.size() && isOneOf(e.text[e.pos], "|&<>=+-"))
            return kUnknown;
        ++e.depth;
        const std::int64_t right = binary(e, found->precedence + 1);
        --e.depth;
        left = right != kUnknown ? apply(found->token, left, right) : kUnknown;
    }
    return left;
}

}  // namespace

std::optional<std::int64_t> evaluateValue(std::string_view text) {
    // Most values are decimal numbers, counted on by one: they are read at
    // once rather than parsed as expressions. Ten digits stay far from
    // overflowing.
    if (!text.empty() && text.size() <= 10 && text.front() != '0' && std::all_of(text.begin(), text.end(), isDigit)) {
        std::int64_t value = 0;
        for (char c : text)
            value = value * 10 + (c - '0');
        return value <= kLimit ? std::optional(value) : std::nullopt;
    }
    Expression e{text};
    const std::int64_t value = binary(e, 0);
    skipSpace(e);
    return e.pos == text.size() && value != kUnknown ? std::optional(value) : std::nullopt;
}

std::optional<std::string> addOne(std::string_view value) {
    size_t runStart = value.size();
    while (runStart > 0 && isDigit(value[runStart - 1]))
        --runStart;
    if (runStart == value.size())
        return std::nullopt;
    // Counted in decimal on the digits themselves, so a run of any length
    // counts on exactly; leading zeros go, as they would through an int.
    size_t digitsStart = runStart;
    while (digitsStart + 1 < value.size() && value[digitsStart] == '0')
        ++digitsStart;
    std::string result;
    result.reserve(value.size() + 1);
    result.append(value.substr(0, runStart)).append(value.substr(digitsStart));
    size_t i = result.size();
    while (i > runStart && result[i - 1] == '9')
        result[--i] = '0';
    if (i == runStart)
        result.insert(runStart, 1, '1');
    else
        ++result[i - 1];
    return result;
}

CountingHazard countingHazard(std::string_view previous, std::string_view next) {
    size_t start = previous.size();
    while (start > 0 && isDigit(previous[start - 1]))
        --start;
    // Back to the start of the literal the digits end, over the bytes a
    // number literal can hold; one that starts with a letter is a name.
    while (start > 0 && (isIdentifierByte(previous[start - 1]) || previous[start - 1] == '\''))
        --start;
    const std::string_view literal = previous.substr(start);
    if (literal.empty() || !isDigit(literal.front()))
        return CountingHazard::None;
    const bool decimal = literal.size() == 1 || literal.front() != '0';
    while (start > 0 && (previous[start - 1] == ' ' || previous[start - 1] == '\t'))
        --start;
    const bool afterMinus = start > 0 && previous[start - 1] == '-';
    // A decimal literal counts on as its number does.
    if (decimal && !afterMinus)
        return CountingHazard::None;
    const std::optional<std::int64_t> before = evaluateValue(previous), after = evaluateValue(next);
    if (before && after && *after == *before + 1)
        return CountingHazard::None;
    return afterMinus ? CountingHazard::Downward : CountingHazard::NotDecimal;
}

std::string valueWithNumber(std::string_view value) {
    const std::optional<std::int64_t> number = evaluateValue(value);
    if (!number)
        return std::string(value) + " (no number)";
    const std::string digits = toString(*number);
    return digits == value ? digits : std::string(value) + " (" + digits + ")";
}

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The item a value text names, `Red` or `Color::Red`, without the enum.
std::string_view unqualified(const EnumType& type, std::string_view text) {
    const std::string_view rest = text.starts_with("::") ? text.substr(2) : text;
    if (rest.starts_with(type.name) && rest.substr(type.name.size()).starts_with("::"))
        return rest.substr(type.name.size() + 2);
    return text;
}

}  // namespace

void markAliases(EnumType* enumType) {
    const EnumType& type = *enumType;
    const size_t count = type.items.size();
    // Values counted on from 0 alone never meet.
    if (type.sequential)
        return;
    std::vector<bool> aliases(count, false);
    // Equal numbers are found by sorting, which a million items take in a
    // fraction of the time a hash table of them would.
    std::vector<std::pair<std::int32_t, size_t>> numbers;
    std::vector<size_t> texts;
    numbers.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        if (const std::optional<std::int64_t> number = evaluateValue(trimmed(type.items[i].value)))
            numbers.emplace_back(static_cast<std::int32_t>(*number), i);
        else
            texts.push_back(i);
    }
    std::sort(numbers.begin(), numbers.end());
    for (size_t k = 1; k < numbers.size(); ++k)
        aliases[numbers[k].second] = numbers[k].first == numbers[k - 1].first;
    std::unordered_map<std::string_view, size_t> byName, byText;
    for (size_t i = 0; i < count; ++i)
        byName.emplace(type.items[i].name, i);
    for (size_t i : texts) {
        const std::string_view text = trimmed(type.items[i].value);
        const auto named = byName.find(unqualified(type, text));
        aliases[i] = (named != byName.end() && named->second < i) || !byText.emplace(text, i).second;
    }
    for (size_t i = 0; i < count; ++i)
        enumType->items[i].alias = aliases[i];
}
