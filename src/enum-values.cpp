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

// The integer types a value's literals and operators give, as C++ types
// them: what the compiled enum holds follows from them (0xF0000000 is
// unsigned, so 0xF0000000 >> 28 is 15, not -1).
enum class IntType : std::uint8_t { Int, UInt, Long, ULong, LongLong, ULongLong, Unknown };

// A value's bits within its type's width, and its type; Unknown for a value
// enumgen cannot tell exactly. A plain struct rather than std::optional,
// which g++ passes through memory on every return: most values are short,
// and that was most of their cost (see docs/performance.md).
struct Number {
    std::uint64_t bits = 0;
    IntType type = IntType::Unknown;
};

// A value text being evaluated: a cursor over it, how deep the parentheses
// and operators nest (bounded to keep the stack small), the width of `long`
// (64 bits on Linux and macOS, 32 on Windows), and whether a `long` was met,
// so that a result that depends on it is found out.
struct Expression {
    std::string_view text;
    const ItemNumbers* names = nullptr;
    std::string_view enumName{};
    int longBits = 64;
    size_t pos = 0;
    int depth = 0;
    // Set by any step that meets a `long`, which the steps otherwise only read.
    mutable bool metLong = false;
};

constexpr int kMaxDepth = 64;
constexpr Number kUnknown{};

bool isSigned(IntType type) { return type == IntType::Int || type == IntType::Long || type == IntType::LongLong; }

int rank(IntType type) { return type <= IntType::UInt ? 1 : type <= IntType::ULong ? 2 : 3; }

int widthOf(const Expression& e, IntType type) {
    const int r = rank(type);
    return r == 1 ? 32 : r == 2 ? e.longBits : 64;
}

std::uint64_t maskOf(int width) { return width == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1; }

// The number a value of `type` with these bits stands for, sign-extended
// for a signed type.
std::int64_t signedOf(const Expression& e, Number n) {
    const int width = widthOf(e, n.type);
    if (width == 64 || !(n.bits >> (width - 1) & 1))
        return static_cast<std::int64_t>(n.bits);
    return static_cast<std::int64_t>(n.bits | ~maskOf(width));
}

Number make(const Expression& e, IntType type, std::uint64_t bits) {
    if (rank(type) == 2)
        e.metLong = true;
    return {bits & maskOf(widthOf(e, type)), type};
}

// A conversion, which C++20 defines modulo 2^width for every type.
Number convert(const Expression& e, Number n, IntType type) {
    const std::uint64_t bits = isSigned(n.type) ? static_cast<std::uint64_t>(signedOf(e, n)) : n.bits;
    return make(e, type, bits);
}

IntType unsignedOf(IntType type) { return isSigned(type) ? static_cast<IntType>(static_cast<int>(type) + 1) : type; }

// The usual arithmetic conversions of two operands, all of at least int's rank.
IntType common(const Expression& e, IntType a, IntType b) {
    if (a == b)
        return a;
    if (isSigned(a) == isSigned(b))
        return rank(a) >= rank(b) ? a : b;
    const IntType u = isSigned(a) ? b : a, s = isSigned(a) ? a : b;
    if (rank(u) >= rank(s))
        return u;
    return widthOf(e, s) > widthOf(e, u) ? s : unsignedOf(s);
}

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

// The type of an integer literal: the first of the types its base and
// suffix allow that holds its value.
Number typedLiteral(const Expression& e, std::uint64_t value, bool decimal, bool isUnsigned, int longs) {
    static constexpr IntType kAll[] = {IntType::Int,  IntType::UInt,     IntType::Long,
                                       IntType::ULong, IntType::LongLong, IntType::ULongLong};
    for (int i = longs == 0 ? 0 : longs == 1 ? 2 : 4; i < 6; ++i) {
        const IntType type = kAll[i];
        if ((decimal && !isUnsigned && !isSigned(type)) || (isUnsigned && isSigned(type)))
            continue;
        const int width = widthOf(e, type);
        const std::uint64_t max = isSigned(type) ? maskOf(width) >> 1 : maskOf(width);
        if (value <= max)
            return make(e, type, value);
    }
    return kUnknown;
}

// The suffix of a literal at the cursor: u, l, ll in either order; false
// for any other.
bool literalSuffix(Expression& e, bool* isUnsigned, int* longs) {
    const std::string_view text = e.text;
    size_t& pos = e.pos;
    for (int part = 0; part < 2 && pos < text.size(); ++part) {
        if ((text[pos] == 'u' || text[pos] == 'U') && !*isUnsigned) {
            *isUnsigned = true;
            ++pos;
        } else if ((text[pos] == 'l' || text[pos] == 'L') && *longs == 0) {
            *longs = pos + 1 < text.size() && text[pos + 1] == text[pos] ? 2 : 1;
            pos += static_cast<size_t>(*longs);
        }
    }
    // A float, a user-defined suffix or a digit past the base: not a value we know.
    return !(pos < text.size() && (isIdentifierByte(text[pos]) || text[pos] == '.'));
}

Number literal(Expression& e) {
    const std::string_view text = e.text;
    size_t& pos = e.pos;
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
    std::uint64_t value = 0;
    bool digits = false;
    for (; pos < text.size(); ++pos) {
        if (text[pos] == '\'' && digits)
            continue;
        const int digit = digitValue(text[pos]);
        if (digit >= base)
            break;
        if (value > (~std::uint64_t{0} - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base))
            return kUnknown;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        digits = true;
    }
    bool isUnsigned = false;
    int longs = 0;
    if (!digits || !literalSuffix(e, &isUnsigned, &longs))
        return kUnknown;
    return typedLiteral(e, value, base == 10, isUnsigned, longs);
}

// An earlier item of the enum, by its name or as `Enum::Name`: inside the
// enum's braces it is of the enum's type, int.
Number itemName(Expression& e) {
    const size_t start = e.pos;
    while (e.pos < e.text.size() && (isIdentifierByte(e.text[e.pos]) || e.text[e.pos] == ':'))
        ++e.pos;
    std::string_view name = e.text.substr(start, e.pos - start);
    // `::Red` names something outside the enum, `::Color::Red` the item.
    const bool global = name.starts_with("::");
    if (global)
        name.remove_prefix(2);
    if (name.size() > e.enumName.size() + 2 && name.starts_with(e.enumName) &&
        name.substr(e.enumName.size()).starts_with("::"))
        name.remove_prefix(e.enumName.size() + 2);
    else if (global)
        return kUnknown;
    if (!e.names)
        return kUnknown;
    const auto found = e.names->find(name);
    return found == e.names->end() ? kUnknown : make(e, IntType::Int, static_cast<std::uint32_t>(found->second));
}

Number binary(Expression& e, int minPrecedence);

Number negate(const Expression& e, Number n) {
    if (isSigned(n.type) && n.bits == (maskOf(widthOf(e, n.type)) >> 1) + 1)
        return kUnknown;  // the type's least value has no negative
    return make(e, n.type, ~n.bits + 1);
}

Number unary(Expression& e) {
    if (++e.depth > kMaxDepth)
        return kUnknown;
    Number result = kUnknown;
    skipSpace(e);
    if (take(e, "~")) {
        if ((result = unary(e)).type != IntType::Unknown)
            result = make(e, result.type, ~result.bits);
    } else if (take(e, "-")) {
        if ((result = unary(e)).type != IntType::Unknown)
            result = negate(e, result);
    } else if (take(e, "+")) {
        result = unary(e);
    } else if (take(e, "(")) {
        result = binary(e, 0);
        if (!take(e, ")"))
            result = kUnknown;
    } else if (e.pos < e.text.size() && isDigit(e.text[e.pos])) {
        result = literal(e);
    } else if (e.pos < e.text.size() && (isIdentifierByte(e.text[e.pos]) || e.text[e.pos] == ':')) {
        result = itemName(e);
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

// + - * in the operands' common type: an overflow of a signed type is no
// constant the compiler takes, an unsigned one wraps.
Number arithmetic(const Expression& e, char op, Number a, Number b) {
    if (!isSigned(a.type))
        return make(e, a.type, op == '+' ? a.bits + b.bits : op == '-' ? a.bits - b.bits : a.bits * b.bits);
    const int width = widthOf(e, a.type);
    const std::int64_t x = signedOf(e, a), y = signedOf(e, b);
    const std::int64_t max = static_cast<std::int64_t>(maskOf(width) >> 1), min = -max - 1;
    if ((op == '+' && ((y > 0 && x > max - y) || (y < 0 && x < min - y))) ||
        (op == '-' && ((y < 0 && x > max + y) || (y > 0 && x < min + y))))
        return kUnknown;
    if (op == '*' && x != 0 && y != 0) {
        const bool negative = (x < 0) != (y < 0);
        // |x| * |y| against the bound, in unsigned so that neither overflows.
        const std::uint64_t ux = x < 0 ? 0 - static_cast<std::uint64_t>(x) : static_cast<std::uint64_t>(x);
        const std::uint64_t uy = y < 0 ? 0 - static_cast<std::uint64_t>(y) : static_cast<std::uint64_t>(y);
        const std::uint64_t bound = static_cast<std::uint64_t>(max) + (negative ? 1 : 0);
        if (ux > bound / uy)
            return kUnknown;
        return make(e, a.type, negative ? 0 - ux * uy : ux * uy);
    }
    return make(e, a.type, static_cast<std::uint64_t>(op == '+' ? x + y : op == '-' ? x - y : x * y));
}

// A shift, of the left operand's type; a count past its width or below 0 is
// no constant the compiler takes.
Number shift(const Expression& e, bool left, Number a, Number b) {
    const std::int64_t count = isSigned(b.type) ? signedOf(e, b) : static_cast<std::int64_t>(std::min<std::uint64_t>(b.bits, 64));
    const int width = widthOf(e, a.type);
    if (count < 0 || count >= width)
        return kUnknown;
    if (left)
        return make(e, a.type, a.bits << count);
    if (isSigned(a.type))
        return make(e, a.type, static_cast<std::uint64_t>(signedOf(e, a) >> count));
    return make(e, a.type, a.bits >> count);
}

Number apply(const Expression& e, std::string_view op, Number a, Number b) {
    if (op == "<<" || op == ">>")
        return shift(e, op == "<<", a, b);
    const IntType type = common(e, a.type, b.type);
    a = convert(e, a, type);
    b = convert(e, b, type);
    switch (op[0]) {
        case '&':
            return make(e, type, a.bits & b.bits);
        case '^':
            return make(e, type, a.bits ^ b.bits);
        case '|':
            return make(e, type, a.bits | b.bits);
        default:
            return arithmetic(e, op[0], a, b);
    }
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
Number binary(Expression& e, int minPrecedence) {
    Number left = unary(e);
    while (left.type != IntType::Unknown) {
        const Operator* found = takeOperator(e, minPrecedence);
        if (!found)
            break;
        // "||", "->", "<<=", "--" and the like are not operators of a value
        // we know: the whole value is unknown, not just what follows them.
        if (e.pos < e.text.size() && isOneOf(e.text[e.pos], "|&<>=+-"))
            return kUnknown;
        ++e.depth;
        const Number right = binary(e, found->precedence + 1);
        --e.depth;
        left = right.type != IntType::Unknown ? apply(e, found->token, left, right) : kUnknown;
    }
    return left;
}

// The whole text's value as the enum's int holds it, with `long` as wide as
// `longBits`: results from -2^31 to 2^32 - 1 are taken modulo 2^32, as
// static_cast<int> takes them; anything else is unknown.
std::optional<std::int32_t> evaluateWith(Expression& e) {
    const Number value = binary(e, 0);
    skipSpace(e);
    if (e.pos != e.text.size() || value.type == IntType::Unknown)
        return std::nullopt;
    if (isSigned(value.type)) {
        const std::int64_t number = signedOf(e, value);
        if (number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
    } else if (value.bits > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value.bits));
}

}  // namespace

std::optional<std::int32_t> evaluateValue(std::string_view text, const ItemNumbers* names, std::string_view enumName) {
    // Most values are decimal numbers, counted on by one: they are read at
    // once rather than parsed as expressions. Nine digits fit an int.
    if (!text.empty() && text.size() <= 9 && text.front() != '0' && std::all_of(text.begin(), text.end(), isDigit)) {
        std::int32_t value = 0;
        for (char c : text)
            value = value * 10 + (c - '0');
        return value;
    }
    Expression e{text, names, enumName};
    const std::optional<std::int32_t> value = evaluateWith(e);
    if (!value || !e.metLong)
        return value;
    // A `long` is 32 bits wide on Windows: a value that comes out otherwise
    // there depends on the platform, and enumgen cannot tell which it is.
    Expression narrow{text, names, enumName, 32};
    return evaluateWith(narrow) == value ? value : std::nullopt;
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
    const std::optional<std::int32_t> number = evaluateValue(value);
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

}  // namespace

std::vector<std::optional<std::int32_t>> itemNumbers(const EnumType& type) {
    std::vector<std::optional<std::int32_t>> numbers(type.items.size());
    bool namesOthers = false;
    for (size_t i = 0; i < type.items.size(); ++i) {
        const std::string_view value = trimmed(type.items[i].value);
        numbers[i] = evaluateValue(value);
        namesOthers = namesOthers || (!numbers[i] && std::any_of(value.begin(), value.end(), [](char c) {
                                          return isIdentifierByte(c) && !isDigit(c);
                                      }));
    }
    if (!namesOthers)
        return numbers;
    // Some value names an item: each is looked up among those before it, as
    // the compiler does inside the enum's braces.
    ItemNumbers earlier;
    for (size_t i = 0; i < type.items.size(); ++i) {
        if (!numbers[i])
            numbers[i] = evaluateValue(trimmed(type.items[i].value), &earlier, type.name);
        if (numbers[i])
            earlier.emplace(type.items[i].name, *numbers[i]);
    }
    return numbers;
}

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
    const std::vector<std::optional<std::int32_t>> values = itemNumbers(type);
    for (size_t i = 0; i < count; ++i) {
        if (values[i])
            numbers.emplace_back(*values[i], i);
        else
            texts.push_back(i);
    }
    std::sort(numbers.begin(), numbers.end());
    for (size_t k = 1; k < numbers.size(); ++k)
        aliases[numbers[k].second] = numbers[k].first == numbers[k - 1].first;
    // Values enumgen cannot evaluate are equal where their texts are, or
    // where one names an earlier item whose value is no number either.
    std::unordered_map<std::string_view, size_t> byName, byText;
    for (size_t i : texts)
        byName.emplace(type.items[i].name, i);
    for (size_t i : texts) {
        std::string_view text = trimmed(type.items[i].value);
        const auto named = byName.find(text.substr(text.rfind(':') == std::string_view::npos ? 0 : text.rfind(':') + 1));
        aliases[i] = (named != byName.end() && named->second < i) || !byText.emplace(text, i).second;
    }
    for (size_t i = 0; i < count; ++i)
        enumType->items[i].alias = aliases[i];
}
