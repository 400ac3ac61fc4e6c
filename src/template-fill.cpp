// SPDX-License-Identifier: MIT
#include "template-fill.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>
#include <vector>

#include "text-ops.h"

namespace {

using namespace std::string_view_literals;

constexpr char kIndexedLookup[] = "return 0 <= e && e < size() ? &info[(int)e] : nullptr;";
constexpr char kSearchedLookup[] =
    "\n"
    "    auto it = std::find_if(info.cbegin(), info.cend(),\n"
    "                            [e] (const Item &info)\n"
    "                            { return info.value == e; });\n"
    "    return it != info.cend() ? &(*it) : nullptr;\n";
// The same lookups for code that compiles without warnings under -Wshadow,
// -Wold-style-cast and -Wsign-conversion.
constexpr char kIndexedCastLookup[] =
    "return 0 <= e && e < size() ? &info[static_cast<std::size_t>(e.value)] : nullptr;";
constexpr char kSearchedCastLookup[] =
    "auto it = std::find_if(info.cbegin(), info.cend(), [e](const Item &i) { return i.value == e; });\n"
    "        return it != info.cend() ? &(*it) : nullptr;";

// What a placeholder is filled with.
enum class TemplateField {
    Name,
    Key,
    Desc,
    Default,
    DataType,
    HeaderContents,
    FooterContents,
    Uppers,
    Lowers,
    IsFlag,
    FlagsName,
    Values,
    Count,
    DescriptionCases,
    ItemLookup,
    Infos,
    TranslatedCases,
    FormerTexts,
    RetiredTexts,
    Aliases,
    Enumerators,
    CastLookup,
    ItemRows,
    FullName,
    OpenNamespace,
    CloseNamespace,
    TranslatedItemCases,
    FormerValues,
};

constexpr std::string_view kPlaceholders[] = {
    "__ENUM_NAME",
    "__ENUM_KEY",
    "__ENUM_DESC",
    "__ENUM_DEFAULT",
    "__ENUM_DATA_TYPE",
    "__ENUM_HEADER_CONTENTS",
    "__ENUM_FOOTER_CONTENTS",
    "__ENUM_UPPERS",
    "__ENUM_LOWERS",
    "__ENUM_IS_FLAG",
    "__ENUM_FLAGS_NAME",
    "__ENUM_VALUES",
    "__ENUM_COUNT",
    "__ENUM_FUNC_DESC_CASES",
    "__ENUM_FUNC_ITEM",
    "__ENUM_INFOS",
    "__ENUM_TR_CASES",
    "__ENUM_FORMER_TEXTS",
    "__ENUM_RETIRED_TEXTS",
    "__ENUM_ALIASES",
    "__ENUM_ENUMERATORS",
    "__ENUM_LOOKUP",
    "__ENUM_ITEM_ROWS",
    "__ENUM_FULL_NAME",
    "__ENUM_OPEN_NAMESPACE",
    "__ENUM_CLOSE_NAMESPACE",
    "__ENUM_TR_ITEM_CASES",
    "__ENUM_FORMER_VALUES",
};

// The fields of each template in the order they are filled: a placeholder
// inside an inserted field is filled only by a replacement that comes later.
// Fields added later come last, so templates without them fill as before.
constexpr TemplateField kHeaderFields[] = {
    TemplateField::Name,           TemplateField::Key,
    TemplateField::Desc,           TemplateField::Default,
    TemplateField::DataType,       TemplateField::HeaderContents,
    TemplateField::FooterContents, TemplateField::Uppers,
    TemplateField::Lowers,         TemplateField::IsFlag,
    TemplateField::FlagsName,      TemplateField::Values,
    TemplateField::Count,          TemplateField::DescriptionCases,
    TemplateField::ItemLookup,     TemplateField::TranslatedCases,
    TemplateField::Enumerators,    TemplateField::CastLookup,
    TemplateField::FullName,       TemplateField::OpenNamespace,
    TemplateField::CloseNamespace, TemplateField::TranslatedItemCases,
};
constexpr TemplateField kSourceFields[] = {
    TemplateField::Name,        TemplateField::Count,        TemplateField::Infos,         TemplateField::Lowers,
    TemplateField::FormerTexts, TemplateField::RetiredTexts, TemplateField::Aliases,       TemplateField::ItemRows,
    TemplateField::FullName,    TemplateField::OpenNamespace, TemplateField::CloseNamespace, TemplateField::FormerValues};

template <size_t N>
constexpr std::array<std::string_view, N> placeholdersOf(const TemplateField (&fields)[N]) {
    std::array<std::string_view, N> placeholders;
    for (size_t i = 0; i < N; ++i)
        placeholders[i] = kPlaceholders[static_cast<size_t>(fields[i])];
    return placeholders;
}
constexpr auto kHeaderPlaceholders = placeholdersOf(kHeaderFields);
constexpr auto kSourcePlaceholders = placeholdersOf(kSourceFields);
static_assert(findableInOnePass(kHeaderPlaceholders) && findableInOnePass(kSourcePlaceholders));

// The fields that are texts of the list or fixed ones.
std::string_view plainField(const EnumType& type, TemplateField field) {
    switch (field) {
        case TemplateField::Name:
            return type.name;
        case TemplateField::Key:
            return type.key;
        case TemplateField::Desc:
            return type.desc;
        case TemplateField::Default:
            // An enum without items has no default item to name.
            return type.defaultIndex >= 0 && static_cast<size_t>(type.defaultIndex) < type.items.size()
                       ? std::string_view(type.items[static_cast<size_t>(type.defaultIndex)].name)
                       : std::string_view();
        case TemplateField::DataType:
            return type.dataType;
        case TemplateField::HeaderContents:
            return type.headerContents;
        case TemplateField::FooterContents:
            return type.footerContents;
        case TemplateField::IsFlag:
            return type.flagsName.empty() ? "0" : "1";
        case TemplateField::FlagsName:
            return type.flagsName;
        case TemplateField::ItemLookup:
            return type.sequential ? kIndexedLookup : kSearchedLookup;
        case TemplateField::CastLookup:
            return type.sequential ? kIndexedCastLookup : kSearchedCastLookup;
        default:
            return {};
    }
}

// At least the size of the field, so an output is reserved once, even for an
// enum of a million items.
size_t sizeBound(const EnumType& type, std::string_view scope, TemplateField field) {
    size_t size = 0;
    switch (field) {
        case TemplateField::Values:
            for (const EnumType::Item& item : type.items)
                size += item.name.size() + item.value.size() + 14;
            return size;
        case TemplateField::Enumerators:
            for (const EnumType::Item& item : type.items)
                size += item.name.size() + item.value.size() + 35;
            return size;
        case TemplateField::ItemRows:
            for (const EnumType::Item& item : type.items)
                size += 2 * type.name.size() + 3 * item.name.size() + item.key.size() + item.data.size() + 45;
            return size;
        case TemplateField::FullName:
        case TemplateField::OpenNamespace:
        case TemplateField::CloseNamespace:
            return type.name.size() + scope.size() + 16;
        case TemplateField::DescriptionCases:
            size = 34;
            for (const EnumType::Item& item : type.items)
                size += item.name.size() + item.desc.size() + 61;
            return size;
        case TemplateField::Infos:
            for (const EnumType::Item& item : type.items)
                size += type.name.size() + 2 * item.name.size() + item.key.size() + item.data.size() + 26;
            return size;
        case TemplateField::TranslatedCases:
        case TemplateField::TranslatedItemCases:
            size = 34;
            for (const EnumType::Item& item : type.items)
                size += type.name.size() + item.name.size() + item.desc.size() + 61;
            return size;
        case TemplateField::FormerTexts:
            for (const EnumType::Item& item : type.items)
                for (const std::string& text : formerTexts(item))
                    size += type.name.size() + item.name.size() + text.size() + 20;
            return size;
        case TemplateField::RetiredTexts:
            for (const std::string& text : type.retiredTexts)
                size += text.size() + 12;
            return size;
        case TemplateField::FormerValues:
            for (const EnumType::Item& item : type.items)
                for (const std::string& value : formerValues(item))
                    size += type.name.size() + item.name.size() + value.size() + 12;
            return size;
        case TemplateField::Aliases:
            // An index of at most 10 digits and ", ".
            return type.sequential ? 0 : 12 * type.items.size();
        case TemplateField::Uppers:
        case TemplateField::Lowers:
            return type.name.size();
        case TemplateField::Count:
            return 20;
        default:
            return plainField(type, field).size();
    }
}

// Whether a list of cases ends with a default one, for values of no item;
// a switch that returns after it needs none, which clang's
// -Wcovered-switch-default asks for.
enum class DefaultCase { Written, Left };

// The cases of description() without the aliases, whose values the first
// item of each has: each description translated in the context of its enum,
// so that two enums can translate the same text apart.
void appendTranslatedCases(std::string& out, const EnumType& type, DefaultCase defaultCase) {
    bool first = true;
    for (const EnumType::Item& item : type.items) {
        if (item.alias)
            continue;
        out.append(first ? ""sv : "\n"sv).append("        case Enum::"sv).append(item.name);
        out.append(": return qApp->translate(\""sv).append(type.name);
        out.append("\", \""sv).append(item.desc).append("\");"sv);
        first = false;
    }
    if (defaultCase == DefaultCase::Written)
        out.append(first ? ""sv : "\n"sv).append("        default: return QString();"sv);
}

// Whether a value text is a decimal number that an int holds whatever its
// digits, which the enumerator can then show as it is.
bool isSmallDecimal(std::string_view value) {
    if (value.starts_with('-'))
        value.remove_prefix(1);
    return !value.empty() && value.size() <= 9 &&
           std::all_of(value.begin(), value.end(), isDigit);
}

// The enumerators as C++ compiles them to the numbers the checks evaluate:
// any other value text is converted to the enum's int as a whole, after C++
// has worked it out in its own type, so 0x80000000 and 1 << 31 are the same
// int and 0xF0000000 >> 28 is 15. Adding it to 0LL first keeps the cast from
// being a useless one (-Wuseless-cast) whatever the text's type.
void appendEnumerators(std::string& out, const EnumType& type) {
    bool first = true;
    for (const EnumType::Item& item : type.items) {
        out.append(first ? "    "sv : ",\n    "sv).append(item.name).append(" = "sv);
        if (isSmallDecimal(item.value))
            out.append(item.value);
        else
            out.append("static_cast<int>(0LL + ("sv).append(item.value).append("))"sv);
        first = false;
    }
}

// The item table with the value of an item without data as its data, converted
// from the enumerator rather than written as the value text again.
void appendItemRows(std::string& out, const EnumType& type) {
    bool first = true;
    for (const EnumType::Item& item : type.items) {
        out.append(first ? "    {"sv : ",\n    {"sv).append(type.name).append("::"sv).append(item.name);
        out.append(", u\""sv).append(item.name).append("\"_q, u\""sv).append(item.key).append("\"_q, "sv);
        if (item.data.size() == kValueAsData.size() + item.value.size() && item.data.starts_with(kValueAsData) &&
            item.data.ends_with(item.value))
            out.append("static_cast<int>("sv).append(type.name).append("::"sv).append(item.name).append(")"sv);
        else
            out.append(item.data);
        out.append("}"sv);
        first = false;
    }
}

// A row "{Enum::Item, <open><former><close>}" for each former text or value
// that `part` gives of an item.
void appendFormerRows(std::string& out, const EnumType& type,
                      std::span<const std::string> (*part)(const EnumType::Item&), std::string_view open,
                      std::string_view close) {
    bool first = true;
    for (const EnumType::Item& item : type.items) {
        for (const std::string& former : part(item)) {
            out.append(first ? "    {"sv : ",\n    {"sv).append(type.name).append("::"sv).append(item.name);
            out.append(open).append(former).append(close);
            first = false;
        }
    }
}

// The fields that name the namespace the enums are generated in, empty or
// unqualified without one.
void appendScoped(std::string& out, const EnumType& type, std::string_view scope, TemplateField field) {
    if (field == TemplateField::FullName)
        out.append(scope).append(scope.empty() ? ""sv : "::"sv).append(type.name);
    else
        out += field == TemplateField::OpenNamespace ? openNamespace(scope) : closeNamespace(scope);
}

// Appends the field to `out`: the texts built from the items go straight to
// where they stand in the output.
void appendField(std::string& out, const EnumType& type, std::string_view scope, TemplateField field) {
    bool first = true;
    switch (field) {
        case TemplateField::Enumerators:
            appendEnumerators(out, type);
            return;
        case TemplateField::ItemRows:
            appendItemRows(out, type);
            return;
        case TemplateField::FullName:
        case TemplateField::OpenNamespace:
        case TemplateField::CloseNamespace:
            appendScoped(out, type, scope, field);
            return;
        case TemplateField::Values:
            for (const EnumType::Item& item : type.items) {
                out.append(first ? "    "sv : ",\n    "sv).append(item.name).append(" = (int)"sv).append(item.value);
                first = false;
            }
            return;
        case TemplateField::DescriptionCases:
            // An alias would repeat the label of the item whose value it has.
            for (const EnumType::Item& item : type.items) {
                if (item.alias)
                    continue;
                out.append("        case Enum::"sv).append(item.name);
                out.append(": return qApp->translate(\"EnumInfo\", \""sv).append(item.desc).append("\");\n"sv);
            }
            out.append("        default: return QString();"sv);
            return;
        case TemplateField::Infos:
            for (const EnumType::Item& item : type.items) {
                out.append(first ? "    {"sv : ",\n    {"sv).append(type.name).append("::"sv).append(item.name);
                out.append(", u\""sv).append(item.name).append("\"_q, u\""sv).append(item.key).append("\"_q, "sv);
                out.append(item.data).append("}"sv);
                first = false;
            }
            return;
        case TemplateField::TranslatedCases:
            appendTranslatedCases(out, type, DefaultCase::Written);
            return;
        case TemplateField::TranslatedItemCases:
            appendTranslatedCases(out, type, DefaultCase::Left);
            return;
        case TemplateField::FormerTexts:
            appendFormerRows(out, type, formerTexts, ", u\""sv, "\"_q}"sv);
            return;
        case TemplateField::FormerValues:
            appendFormerRows(out, type, formerValues, ", "sv, "}"sv);
            return;
        case TemplateField::RetiredTexts:
            for (const std::string& text : type.retiredTexts) {
                out.append(first ? "    u\""sv : ",\n    u\""sv).append(text).append("\"_q"sv);
                first = false;
            }
            return;
        case TemplateField::Aliases: {
            for (size_t i = 0; i < type.items.size(); ++i) {
                if (type.items[i].alias) {
                    out.append(first ? ""sv : ", "sv).append(toString(static_cast<std::int64_t>(i)));
                    first = false;
                }
            }
            return;
        }
        case TemplateField::Uppers:
            out += toUpper(type.name);
            return;
        case TemplateField::Lowers:
            out += toLower(type.name);
            return;
        case TemplateField::Count:
            out += toString(static_cast<std::int64_t>(type.items.size()));
            return;
        default:
            out += plainField(type, field);
    }
}

// The start of every placeholder, which a text without it cannot hold.
constexpr std::string_view kPlaceholderStart = "__ENUM_";
static_assert(std::all_of(std::begin(kPlaceholders), std::end(kPlaceholders),
                          [](std::string_view placeholder) { return placeholder.starts_with(kPlaceholderStart); }));

// Whether an inserted text brings a placeholder: one within the bytes from
// `begin` to `end` of `out`, or across either end of them. The template's
// own text around them holds none, or it would have been found there.
bool bringsPlaceholder(std::string_view out, size_t begin, size_t end, std::span<const std::string_view> placeholders) {
    constexpr size_t kLongest =
        std::max_element(std::begin(kPlaceholders), std::end(kPlaceholders),
                         [](std::string_view a, std::string_view b) { return a.size() < b.size(); })
            ->size();
    begin -= std::min(begin, kLongest - 1);
    end = std::min(out.size(), end + kLongest - 1);
    const std::string_view around = out.substr(begin, end - begin);
    return around.find(kPlaceholderStart) != std::string_view::npos && !findEach(around, placeholders).empty();
}

// Fills `templ`, whose placeholders stand where `found` says, into `text`
// with `fields` in turn, each in place of its placeholder, as replaceWithin
// does step by step. The placeholders cannot overlap, so the steps differ
// from one pass only where an inserted text brings a placeholder, which would
// then stand in the one-pass result: in nearly every fill the output is built
// in one pass, each field where it goes. No step's text is longer than the
// template and every field it receives together, so when they fit in
// `maxSize`, every step does. False when a step would outgrow `maxSize`, with
// `text` partly filled.
bool fill(const EnumType& type, std::string_view scope, std::span<const TemplateField> fields, std::span<const std::string_view> placeholders,
          std::string_view templ, const std::vector<std::pair<size_t, size_t>>& found, std::string* text,
          size_t maxSize) {
    size_t bound = templ.size();
    for (auto [at, i] : found)
        bound += sizeBound(type, scope, fields[i]);
    if (bound <= maxSize) {
        // The buffer of the last output is reused.
        text->clear();
        text->reserve(bound);
        std::vector<std::pair<size_t, size_t>> inserted;
        size_t copied = 0;
        for (auto [at, i] : found) {
            text->append(templ.substr(copied, at - copied));
            const size_t begin = text->size();
            appendField(*text, type, scope, fields[i]);
            inserted.emplace_back(begin, text->size());
            copied = at + placeholders[i].size();
        }
        text->append(templ.substr(copied));
        if (std::none_of(inserted.begin(), inserted.end(), [&](std::pair<size_t, size_t> range) {
                return bringsPlaceholder(*text, range.first, range.second, placeholders);
            }))
            return true;
    }
    std::string field, scratch;
    text->assign(templ);
    for (size_t i = 0; i < fields.size(); ++i) {
        field.clear();
        appendField(field, type, scope, fields[i]);
        if (!replaceWithin(*text, placeholders[i], field, maxSize, scratch))
            return false;
    }
    return true;
}

}  // namespace

std::string openNamespace(std::string_view scope) {
    return scope.empty() ? std::string() : "namespace " + std::string(scope) + " {";
}

std::string closeNamespace(std::string_view scope) {
    return scope.empty() ? std::string() : "} // namespace " + std::string(scope);
}

bool fillHeader(const EnumType& type, std::string* text, size_t maxSize) {
    const std::string templ = std::move(*text);
    return fill(type, {}, kHeaderFields, kHeaderPlaceholders, templ, findEach(templ, kHeaderPlaceholders), text, maxSize);
}

bool fillSource(const EnumType& type, std::string* text, size_t maxSize) {
    const std::string templ = std::move(*text);
    return fill(type, {}, kSourceFields, kSourcePlaceholders, templ, findEach(templ, kSourcePlaceholders), text, maxSize);
}

TemplatePlaces findPlaces(const EnumTemplates& templates) {
    return {findEach(templates.header, kHeaderPlaceholders), findEach(templates.source, kSourcePlaceholders)};
}

bool fillEnumFile(const EnumType& type, const EnumTemplates& templates, const TemplatePlaces& places, EnumFile file,
                  std::string* text) {
    if (file == EnumFile::Header)
        return fill(type, templates.enumNamespace, kHeaderFields, kHeaderPlaceholders, templates.header, places.header, text,
                    templates.maxOutputSize);
    return fill(type, templates.enumNamespace, kSourceFields, kSourcePlaceholders, templates.source, places.source, text,
                templates.maxOutputSize);
}

std::string includedHeader(const EnumType& type, std::string_view header) {
    const std::string macro = "ENUMGEN_SOURCE_" + type.name;
    std::string included;
    included.reserve(header.size());
    auto lineEnd = [header](size_t pos) {
        const size_t newline = header.find('\n', pos);
        return newline == std::string_view::npos ? header.size() : newline + 1;
    };
    size_t pos = 0;
    while (pos < header.size()) {
        size_t end = lineEnd(pos);
        const auto [name, rest] = preprocessorDirective(header.substr(pos, end - pos));
        if (name == "ifdef" && rest == macro) {
            // Up to the part's #endif; a part that cannot be left out is
            // kept whole, and the search goes on after it, so each line is
            // looked at once.
            int depth = 1;
            bool whole = false;
            while (end < header.size() && !whole) {
                const size_t next = lineEnd(end);
                const std::string_view inner = preprocessorDirective(header.substr(end, next - end)).name;
                if (inner == "if" || inner == "ifdef" || inner == "ifndef")
                    ++depth;
                else if (inner == "endif")
                    whole = --depth == 0;
                else if (depth == 1 && inner.starts_with("el"))
                    break;
                end = next;
            }
            if (whole) {
                pos = end;
                continue;
            }
        }
        included.append(header.substr(pos, end - pos));
        pos = end;
    }
    return included;
}
