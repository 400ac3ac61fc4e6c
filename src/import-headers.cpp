// SPDX-License-Identifier: MIT
#include "import-headers.h"

#include <clang-c/Index.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>
#include <thread>
#include <tuple>

#include "enum-reader.h"
#include "file-ops.h"
#include "import-flags.h"
#include "text-ops.h"

namespace {

// "common.h", not "./common.h" as clang names a file found by a quoted #include.
std::string fileName(CXFile file) {
    return std::filesystem::path(fromClang(clang_getFileName(file))).lexically_normal().string();
}

// Where `location` is in the file the compiler read, and its byte offset there.
SourcePlace placeOf(CXSourceLocation location, unsigned* offset = nullptr) {
    CXFile file = nullptr;
    unsigned line = 0, column = 0, at = 0;
    clang_getExpansionLocation(location, &file, &line, &column, &at);
    if (offset)
        *offset = at;
    return {file ? fileName(file) : "", static_cast<int>(line), static_cast<int>(column)};
}

unsigned offsetOf(CXSourceLocation location) {
    unsigned offset = 0;
    placeOf(location, &offset);
    return offset;
}

// A class or namespace of the header, and where its braces enclose.
struct Scope {
    std::string usr;
    std::string name;
    unsigned begin = 0, end = 0;
};

// A Q_ENUM, Q_FLAG, ... or QML_NAMED_ELEMENT the header writes, with the names
// it was given.
struct MacroUse {
    std::string macro;
    std::vector<std::string> names;
    unsigned offset = 0;
    SourcePlace place;
};

// A QFlags type: Q_DECLARE_FLAGS, or a typedef or alias written by hand.
struct FlagsType {
    std::string name, scopeUsr, enumUsr;
};

struct FoundEnum {
    CXCursor cursor;
    std::string usr, name, scopeUsr;
};

// What one header declares and registers, in the order it does.
struct HeaderScan {
    CXTranslationUnit tu = nullptr;
    CXFile file = nullptr;
    // The header's text, as the compiler read it.
    std::string_view text;
    std::vector<Scope> scopes;
    std::vector<MacroUse> macros;
    std::vector<FlagsType> flags;
    std::vector<FoundEnum> enums;
};

constexpr std::string_view kRegistering[] = {"Q_ENUM", "Q_FLAG", "Q_ENUM_NS", "Q_FLAG_NS", "Q_ENUMS", "Q_FLAGS"};

bool isRegistering(std::string_view macro) {
    return std::find(std::begin(kRegistering), std::end(kRegistering), macro) != std::end(kRegistering);
}

// The names a macro is given, as the code writes them ("Shape::Kind").
std::vector<std::string> macroNames(CXTranslationUnit tu, CXCursor use) {
    CXToken* tokens = nullptr;
    unsigned count = 0;
    clang_tokenize(tu, clang_getCursorExtent(use), &tokens, &count);
    std::vector<std::string> names;
    bool qualifies = false;
    for (unsigned i = 1; i < count; ++i) {
        const std::string token = fromClang(clang_getTokenSpelling(tu, tokens[i]));
        if (token == "::")
            qualifies = !names.empty();
        else if (clang_getTokenKind(tokens[i]) != CXToken_Identifier)
            qualifies = false;
        else if (qualifies) {
            names.back().append("::").append(token);
            qualifies = false;
        } else {
            names.push_back(token);
        }
    }
    clang_disposeTokens(tu, tokens, count);
    return names;
}

// The enum a QFlags<Enum> type holds; empty for any other type.
std::string flagsEnumUsr(CXType type) {
    const CXType canonical = clang_getCanonicalType(type);
    if (fromClang(clang_getCursorSpelling(clang_getTypeDeclaration(canonical))) != "QFlags" ||
        clang_Type_getNumTemplateArguments(canonical) != 1)
        return "";
    const CXType argument = clang_getCanonicalType(clang_Type_getTemplateArgumentAsType(canonical, 0));
    if (argument.kind != CXType_Enum)
        return "";
    return fromClang(clang_getCursorUSR(clang_getTypeDeclaration(argument)));
}

CXChildVisitResult scanCursor(CXCursor cursor, CXCursor, CXClientData data) {
    HeaderScan& scan = *static_cast<HeaderScan*>(data);
    // Where a macro such as Q_DECLARE_FLAGS was used, not where it is defined.
    CXFile file = nullptr;
    clang_getExpansionLocation(clang_getCursorLocation(cursor), &file, nullptr, nullptr, nullptr);
    if (!file || !clang_File_isEqual(file, scan.file))
        return CXChildVisit_Continue;
    const std::string name = fromClang(clang_getCursorSpelling(cursor));
    switch (clang_getCursorKind(cursor)) {
        case CXCursor_MacroExpansion:
            if (isRegistering(name) || name == "QML_NAMED_ELEMENT")
                scan.macros.push_back({name, macroNames(scan.tu, cursor), offsetOf(clang_getCursorLocation(cursor)),
                                       placeOf(clang_getCursorLocation(cursor))});
            return CXChildVisit_Continue;
        case CXCursor_Namespace:
        case CXCursor_ClassDecl:
        case CXCursor_StructDecl:
        case CXCursor_ClassTemplate: {
            const CXSourceRange extent = clang_getCursorExtent(cursor);
            scan.scopes.push_back({fromClang(clang_getCursorUSR(cursor)), name, offsetOf(clang_getRangeStart(extent)),
                                   offsetOf(clang_getRangeEnd(extent))});
            return CXChildVisit_Recurse;
        }
        case CXCursor_LinkageSpec:
            return CXChildVisit_Recurse;
        case CXCursor_EnumDecl:
            if (clang_isCursorDefinition(cursor))
                scan.enums.push_back({cursor, fromClang(clang_getCursorUSR(cursor)), name,
                                      fromClang(clang_getCursorUSR(clang_getCursorSemanticParent(cursor)))});
            return CXChildVisit_Continue;
        case CXCursor_TypedefDecl:
        case CXCursor_TypeAliasDecl:
            if (std::string usr = flagsEnumUsr(clang_getTypedefDeclUnderlyingType(cursor)); !usr.empty())
                scan.flags.push_back({name, fromClang(clang_getCursorUSR(clang_getCursorSemanticParent(cursor))), usr});
            return CXChildVisit_Continue;
        default:
            return CXChildVisit_Continue;
    }
}

// The innermost class or namespace around `offset`; null at file scope.
const Scope* scopeAt(const HeaderScan& scan, unsigned offset) {
    const Scope* inner = nullptr;
    for (const Scope& scope : scan.scopes)
        if (scope.begin <= offset && offset < scope.end && (!inner || scope.begin >= inner->begin))
            inner = &scope;
    return inner;
}

// How an enum was registered with moc.
enum class Registration { None, Enum, Flag };

struct Registered {
    Registration how = Registration::None;
    // The name QML knew the enum's values by ("AppSettings" of
    // AppSettings.Dark).
    std::string qmlScope;
};

// Resolves each registering macro to the enum it names in its class or
// namespace; warns of a name that is no enum there.
std::map<std::string, Registered> resolveRegistrations(const HeaderScan& scan, ImportMessages* messages) {
    std::map<std::string, Registered> registered;
    for (const MacroUse& use : scan.macros) {
        const Scope* scope = scopeAt(scan, use.offset);
        if (!isRegistering(use.macro) || !scope)
            continue;
        std::string qmlScope = scope->name;
        for (const MacroUse& named : scan.macros)
            if (named.macro == "QML_NAMED_ELEMENT" && scopeAt(scan, named.offset) == scope && !named.names.empty())
                qmlScope = named.names.front();
        for (const std::string& written : use.names) {
            // Only a name of the scope's own can be found here; another, as
            // Qt::DayOfWeek, is named as written.
            const std::string name =
                written.starts_with(scope->name + "::") ? written.substr(scope->name.size() + 2) : written;
            std::string usr;
            for (const FoundEnum& found : scan.enums)
                if (found.scopeUsr == scope->usr && found.name == name)
                    usr = found.usr;
            for (const FlagsType& flags : scan.flags)
                if (usr.empty() && flags.scopeUsr == scope->usr && flags.name == name)
                    usr = flags.enumUsr;
            if (usr.empty()) {
                messages->push_back({ImportMessage::Kind::Warning, use.place,
                                     use.macro + " names '" + written + "', which is no enum or QFlags type that '" +
                                         scope->name + "' declares here, so nothing is imported for it"});
                continue;
            }
            Registered& entry = registered[usr];
            if (entry.how != Registration::Flag)
                entry.how = use.macro.find("FLAG") != std::string::npos ? Registration::Flag : Registration::Enum;
            entry.qmlScope = qmlScope;
        }
    }
    return registered;
}

// Whether the conditional `directive` is true when moc reads the header (1),
// false then (-1), or does not ask (0).
int mocSense(const PreprocessorDirective& directive) {
    const bool defined = directive.rest.find("Q_MOC_RUN") != std::string_view::npos;
    if (!defined)
        return 0;
    if (directive.name == "ifndef" || directive.rest.find('!') != std::string_view::npos)
        return -1;
    return 1;
}

// The names of the items between `begin` and `end` of `text` that a
// `#ifndef Q_MOC_RUN` (or its like) hides from moc.
std::vector<std::string> itemsHiddenFromMoc(std::string_view text, unsigned begin, unsigned end,
                                            const std::vector<std::pair<unsigned, std::string>>& items) {
    struct Conditional {
        int sense = 0;
        bool inElse = false;
    };
    std::vector<Conditional> conditionals;
    std::vector<std::string> hidden;
    size_t next = 0;
    for (size_t at = begin; at < end && at < text.size();) {
        const size_t lineEnd = std::min(text.find('\n', at), text.size());
        const PreprocessorDirective directive = preprocessorDirective(text.substr(at, lineEnd - at));
        if (directive.name == "if" || directive.name == "ifdef" || directive.name == "ifndef")
            conditionals.push_back({mocSense(directive), false});
        else if (directive.name.starts_with("el") && !conditionals.empty())
            conditionals.back().inElse = true;
        else if (directive.name == "endif" && !conditionals.empty())
            conditionals.pop_back();
        const bool hides = std::any_of(conditionals.begin(), conditionals.end(), [](const Conditional& f) {
            return (f.sense < 0 && !f.inElse) || (f.sense > 0 && f.inElse);
        });
        for (; next < items.size() && items[next].first < lineEnd; ++next)
            if (hides && items[next].first >= at)
                hidden.push_back(items[next].second);
        at = lineEnd + 1;
    }
    return hidden;
}

// Warns of each registering macro in a block the preprocessor skipped with
// these flags (a Windows-only Q_ENUM parsed on Linux): its enum is not
// imported, and nothing else would say so.
void warnOfSkippedRegistrations(const HeaderScan& scan, ImportMessages* messages) {
    CXSourceRangeList* skipped = clang_getSkippedRanges(scan.tu, scan.file);
    for (unsigned r = 0; skipped && r < skipped->count; ++r) {
        const unsigned end = std::min<unsigned>(offsetOf(clang_getRangeEnd(skipped->ranges[r])), scan.text.size());
        for (size_t at = offsetOf(clang_getRangeStart(skipped->ranges[r])); at < end;) {
            const size_t lineEnd = std::min<size_t>(scan.text.find('\n', at), end);
            const std::string_view line = scan.text.substr(at, lineEnd - at);
            const std::string_view code = trim(line);
            for (size_t word = 0; !code.starts_with('#') && !code.starts_with("//") && word < line.size();) {
                const size_t begin = line.find_first_of("_ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", word);
                if (begin == std::string_view::npos)
                    break;
                word = std::min(
                    line.find_first_not_of("_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", begin),
                    line.size());
                const size_t close = line.find(')', word);
                if (!isRegistering(line.substr(begin, word - begin)) || close == std::string_view::npos ||
                    trim(line.substr(word)).front() != '(')
                    continue;
                const std::string use(line.substr(begin, close + 1 - begin));
                messages->push_back(
                    {ImportMessage::Kind::Warning,
                     placeOf(clang_getLocationForOffset(scan.tu, scan.file, static_cast<unsigned>(at + begin))),
                     use + " is in a block that these compile flags leave out, so it is not imported; give the flags "
                           "that keep the block (-D...) to import it"});
            }
            at = lineEnd + 1;
        }
    }
    clang_disposeSourceRangeList(skipped);
}

}  // namespace

namespace {

// An enum as the list will hold it, with what the messages about it need.
struct Imported {
    EnumType type;
    EnumOrigin origin;
    std::string usr;
    // The class or namespace around the enum, "Shape"; empty at file scope.
    std::string scope;
    bool scoped = true;
    Registered registered;
    // What the items leave to the user, said after what the enum does.
    ImportMessages itemMessages;
};

// The scope the code names `cursor` in, "app::Shape": an inline namespace
// (a library's version or a trick to give Q_ENUM_NS a namespace of its own)
// and an unnamed one are no part of the names the code writes.
std::string codeScope(CXCursor cursor) {
    std::string scope;
    for (CXCursor parent = clang_getCursorSemanticParent(cursor);
         !clang_Cursor_isNull(parent) && clang_getCursorKind(parent) != CXCursor_TranslationUnit;
         parent = clang_getCursorSemanticParent(parent))
        if (const std::string name = fromClang(clang_getCursorSpelling(parent));
            !name.empty() && !clang_Cursor_isInlineNamespace(parent))
            scope = scope.empty() ? name : name + "::" + scope;
    return scope;
}

std::string qualifiedName(CXCursor cursor) {
    const std::string scope = codeScope(cursor);
    return (scope.empty() ? "" : scope + "::") + fromClang(clang_getCursorSpelling(cursor));
}

// Whether the enum's values depend on a template parameter, which leaves
// them unknown until the template is instantiated.
bool insideTemplate(CXCursor cursor) {
    for (CXCursor parent = clang_getCursorSemanticParent(cursor);
         !clang_Cursor_isNull(parent) && clang_getCursorKind(parent) != CXCursor_TranslationUnit;
         parent = clang_getCursorSemanticParent(parent)) {
        const CXCursorKind kind = clang_getCursorKind(parent);
        if (kind == CXCursor_ClassTemplate || kind == CXCursor_ClassTemplatePartialSpecialization ||
            kind == CXCursor_FunctionTemplate)
            return true;
    }
    return false;
}

bool isUnsigned(CXType type) {
    switch (clang_getCanonicalType(type).kind) {
        case CXType_Bool:
        case CXType_Char_U:
        case CXType_UChar:
        case CXType_UShort:
        case CXType_UInt:
        case CXType_ULong:
        case CXType_ULongLong:
        case CXType_UInt128:
            return true;
        default:
            return false;
    }
}

// A description as the list holds it: its whitespace runs made one space,
// and a backslash or quote, which would end its string literal, or a '[' or
// '-]' that the list would read as a marker, escaped.
std::string listDescription(std::string_view text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
            if (!result.empty() && result.back() != ' ')
                result += ' ';
        } else if (c == '\\' || c == '"') {
            result.append("\\").append(1, c);
        } else if (c == '[' && std::string_view("[=-:~").find(next) != std::string_view::npos) {
            result += "\\133";
        } else if (c == '-' && next == ']') {
            result += "-\\135";
            ++i;
        } else {
            result += c;
        }
    }
    if (!result.empty() && result.back() == ' ')
        result.pop_back();
    return result;
}

// The documentation comment of a declaration, as the list's description.
// clang gives an enumerator the comment before the one above it too, since
// only a ',' stands between them, so a comment counts only where nothing
// but space parts it from the declaration, or, after it, a ','.
std::string documentation(const HeaderScan& scan, CXCursor cursor) {
    const CXSourceRange comment = clang_Cursor_getCommentRange(cursor);
    if (clang_Range_isNull(comment))
        return "";
    const CXSourceRange extent = clang_getCursorExtent(cursor);
    const unsigned commentBegin = offsetOf(clang_getRangeStart(comment));
    const unsigned commentEnd = offsetOf(clang_getRangeEnd(comment));
    const unsigned declBegin = offsetOf(clang_getRangeStart(extent));
    const unsigned declEnd = offsetOf(clang_getRangeEnd(extent));
    std::string_view between;
    if (commentEnd <= declBegin && declBegin <= scan.text.size())
        between = scan.text.substr(commentEnd, declBegin - commentEnd);
    else if (declEnd <= commentBegin && commentBegin + 4 <= scan.text.size() && scan.text[commentBegin + 3] == '<')
        between = scan.text.substr(declEnd, commentBegin - declEnd);
    else
        return "";
    if (between.find_first_not_of(" \t\r\n,") != std::string_view::npos ||
        (commentEnd <= declBegin && between.find(',') != std::string_view::npos))
        return "";
    return listDescription(fromClang(clang_Cursor_getBriefCommentText(cursor)));
}

// The text of an enumerator's initializer, for a value that cannot be evaluated.
std::string initializerText(CXTranslationUnit tu, CXCursor constant) {
    CXToken* tokens = nullptr;
    unsigned count = 0;
    clang_tokenize(tu, clang_getCursorExtent(constant), &tokens, &count);
    std::string text;
    for (unsigned i = 2; i < count; ++i)
        text.append(text.empty() ? "" : " ").append(fromClang(clang_getTokenSpelling(tu, tokens[i])));
    clang_disposeTokens(tu, tokens, count);
    return text;
}

struct ItemVisit {
    std::vector<CXCursor> constants;
};

CXChildVisitResult collectConstant(CXCursor cursor, CXCursor, CXClientData data) {
    if (clang_getCursorKind(cursor) == CXCursor_EnumConstantDecl)
        static_cast<ItemVisit*>(data)->constants.push_back(cursor);
    return CXChildVisit_Continue;
}

// The value of an enumerator as the list gives it: decimal, or hexadecimal
// for the bits of a flags enum.
std::string valueText(CXCursor constant, bool unsignedType, bool flags, Imported* imported, const std::string& name) {
    const long long value = clang_getEnumConstantDeclValue(constant);
    const unsigned long long bits = clang_getEnumConstantDeclUnsignedValue(constant);
    const SourcePlace place = placeOf(clang_getCursorLocation(constant));
    const std::string text = unsignedType ? std::to_string(bits) : std::to_string(value);
    if (unsignedType ? bits > UINT32_MAX : value < INT32_MIN || value > INT32_MAX)
        imported->itemMessages.push_back(
            {ImportMessage::Kind::Warning, place,
             "the value of '" + name + "', " + text + ", does not fit in the 32 bits of enumgen's enums (int)"});
    if (flags && (unsignedType || value > 0) && bits != 0) {
        char hex[24];
        std::snprintf(hex, sizeof hex, "0x%llx", bits);
        return hex;
    }
    return text;
}

// Notes the items that only the compiler sees, for the list and the user.
void markHiddenFromMoc(const HeaderScan& scan, CXCursor cursor,
                       const std::vector<std::pair<unsigned, std::string>>& offsets, Imported* imported) {
    const CXSourceRange extent = clang_getCursorExtent(cursor);
    imported->origin.hiddenFromMoc = itemsHiddenFromMoc(scan.text, offsetOf(clang_getRangeStart(extent)),
                                                        offsetOf(clang_getRangeEnd(extent)), offsets);
    for (const std::string& name : imported->origin.hiddenFromMoc)
        for (size_t i = 0; i < imported->type.items.size(); ++i)
            if (imported->type.items[i].name == name)
                imported->itemMessages.push_back(
                    {ImportMessage::Kind::Warning, imported->origin.items[i],
                     "'" + name +
                         "' is hidden from moc by #ifndef Q_MOC_RUN, so QMetaEnum never knew it and no "
                         "stored text holds its key"});
}

void importItems(const HeaderScan& scan, CXCursor cursor, TextStore* texts, Imported* imported) {
    ItemVisit visit;
    clang_visitChildren(cursor, collectConstant, &visit);
    const bool unsignedType = isUnsigned(clang_getEnumDeclIntegerType(cursor));
    const bool dependent = insideTemplate(cursor);
    std::vector<std::pair<unsigned, std::string>> offsets;
    std::string previous;
    for (CXCursor constant : visit.constants) {
        const StoredText name = texts->keep(fromClang(clang_getCursorSpelling(constant)));
        EnumType::Item& item = imported->type.items.emplace_back();
        item.name = item.key = name;
        const SourcePlace place = placeOf(clang_getCursorLocation(constant));
        item.desc = texts->keep(documentation(scan, constant));
        if (!dependent) {
            item.value =
                valueText(constant, unsignedType, !imported->type.flagsName.empty(), imported, std::string(name));
        } else {
            // Written as the compiler counts on, which enumgen's counting
            // on from the text would not do ("N * 2" gives "N * 3").
            item.value = initializerText(scan.tu, constant);
            if (item.value.empty())
                item.value = imported->type.items.size() == 1 ? "0" : "(" + previous + ") + 1";
            imported->itemMessages.push_back({ImportMessage::Kind::Warning, place,
                                              "the value of '" + std::string(name) +
                                                  "' depends on a template parameter, so it cannot be evaluated; "
                                                  "the list gives it the text '" +
                                                  excerpt(item.value) + "'"});
        }
        previous = item.value;
        imported->origin.items.push_back(place);
        offsets.emplace_back(offsetOf(clang_getCursorLocation(constant)), std::string(name));
    }
    markHiddenFromMoc(scan, cursor, offsets, imported);
}

Imported importEnum(const HeaderScan& scan, const FoundEnum& found, const Registered& registered, TextStore* texts) {
    Imported imported;
    imported.usr = found.usr;
    imported.registered = registered;
    imported.scoped = clang_EnumDecl_isScoped(found.cursor);
    imported.origin.place = placeOf(clang_getCursorLocation(found.cursor));
    imported.origin.qualifiedName = qualifiedName(found.cursor);
    imported.scope = codeScope(found.cursor);
    EnumType& type = imported.type;
    type.name = found.name;
    type.dataType = "QVariant";
    type.sequential = false;
    type.desc = documentation(scan, found.cursor);
    for (const FlagsType& flags : scan.flags)
        if (flags.enumUsr == found.usr && type.flagsName.empty())
            type.flagsName = flags.name;
    importItems(scan, found.cursor, texts, &imported);
    return imported;
}

}  // namespace

namespace {

// Enums of one name in different scopes would write the same files: each is
// named after its scope as well ("ShapeKind"), and each is reported.
void renameClashes(std::vector<Imported>* imported, ImportMessages* messages) {
    std::map<std::string, std::vector<size_t>> byName;
    for (size_t i = 0; i < imported->size(); ++i)
        byName[toLower((*imported)[i].type.name)].push_back(i);
    for (const auto& [name, indexes] : byName) {
        if (indexes.size() < 2)
            continue;
        for (size_t i : indexes) {
            Imported& clashing = (*imported)[i];
            std::string renamed = clashing.origin.qualifiedName;
            renamed.erase(std::remove(renamed.begin(), renamed.end(), ':'), renamed.end());
            const Imported& other = (*imported)[indexes[indexes[0] == i ? 1 : 0]];
            messages->push_back({ImportMessage::Kind::Warning, clashing.origin.place,
                                 "enum '" + clashing.origin.qualifiedName + "' has the name of enum '" +
                                     other.origin.qualifiedName + "', and the list's enums share one scope: it is '" +
                                     renamed + "' in the list"});
            messages->push_back({ImportMessage::Kind::Note, other.origin.place,
                                 "enum '" + other.origin.qualifiedName + "' is declared here"});
            clashing.type.name = renamed;
        }
    }
}

// What the user must change by hand: enumgen's enums are enum classes at
// global scope, known to QML by their own name.
void addMigrationMessages(const Imported& imported, ImportMessages* messages) {
    const EnumType& type = imported.type;
    const SourcePlace& place = imported.origin.place;
    const std::string& old = imported.origin.qualifiedName;
    if (!imported.scope.empty() || old != type.name) {
        std::string text = "'" + old + "' becomes the enum '" + type.name + "' at global scope: write '" + type.name +
                           "' where the code names '" + old + "'";
        if (!type.flagsName.empty() && !imported.scope.empty())
            text += ", and '" + type.flagsName + "' for '" + imported.scope + "::" + type.flagsName + "'";
        messages->push_back({ImportMessage::Kind::Warning, place, text});
    }
    if (!imported.scope.empty()) {
        // The old spelling keeps compiling through aliases in the old scope,
        // which spares most of the edits.
        const std::string name = old.substr(imported.scope.size() + 2);
        std::string text = "to keep the code's '" + old + "' compiling unchanged, write in '" + imported.scope +
                           "': using " + name + " = ::" + type.name + ";";
        if (!type.flagsName.empty())
            text += " using " + type.flagsName + " = ::" + type.flagsName + ";";
        if (!imported.scoped)
            text += " using enum ::" + type.name + ";";
        messages->push_back({ImportMessage::Kind::Note, place, text});
    }
    const std::string first = type.items.empty() ? "Item" : std::string(type.items.front().name);
    if (!imported.scoped)
        messages->push_back({ImportMessage::Kind::Warning, place,
                             "unscoped enum '" + old + "' becomes an enum class: write '" + type.name + "::" + first +
                                 "' for '" + (imported.scope.empty() ? "" : imported.scope + "::") + first +
                                 "', and cast where a value was used as an int"});
    if (imported.registered.how != Registration::None && !imported.registered.qmlScope.empty() &&
        imported.registered.qmlScope != type.name)
        messages->push_back({ImportMessage::Kind::Warning, place,
                             "in QML, '" + imported.registered.qmlScope + "." + first + "' becomes '" + type.name +
                                 "." + first + "' (enumgen_generate with QML)"});
    if (imported.registered.how == Registration::Flag && type.flagsName.empty())
        messages->push_back({ImportMessage::Kind::Warning, place,
                             "'" + old +
                                 "' is registered as flags but has no QFlags type (Q_DECLARE_FLAGS), so "
                                 "the list makes it no flags enum"});
    messages->insert(messages->end(), imported.itemMessages.begin(), imported.itemMessages.end());
}

struct TranslationUnit {
    CXTranslationUnit tu = nullptr;
    ~TranslationUnit() {
        if (tu)
            clang_disposeTranslationUnit(tu);
    }
};

// What the parse of one header gives.
struct HeaderImport {
    bool parsed = false;
    std::vector<Imported> imported;
    TextStore texts;
    ImportMessages messages;
};

// An error of the header `order` of the command line, at no place in it.
ImportMessage headerError(std::string text, int order) {
    ImportMessage message = placelessError(std::move(text));
    message.header = order;
    return message;
}

// Notes where the header includes, itself or through others, `file`.
void noteInclusion(CXFile file, CXSourceLocation* stack, unsigned depth, CXClientData data) {
    if (depth > 0)
        (*static_cast<std::map<std::string, SourcePlace>*>(data))[fileName(file)] = placeOf(stack[depth - 1]);
}

// Adds the errors of the parse of `header`, `order` of the command line, each
// once, with the #include through which it met an error in another file.
bool addParseErrors(CXTranslationUnit tu, const std::string& header, int order, ImportMessages* messages) {
    std::map<std::string, SourcePlace> includes;
    std::set<std::tuple<std::string, int, int, std::string>> seen;
    bool parsed = true;
    for (unsigned i = 0; i < clang_getNumDiagnostics(tu); ++i) {
        CXDiagnostic diagnostic = clang_getDiagnostic(tu, i);
        ImportMessage error{ImportMessage::Kind::Error, placeOf(clang_getDiagnosticLocation(diagnostic)),
                            fromClang(clang_getDiagnosticSpelling(diagnostic)), order};
        const bool isError = clang_getDiagnosticSeverity(diagnostic) >= CXDiagnostic_Error;
        clang_disposeDiagnostic(diagnostic);
        if (!isError || !seen.insert({error.place.file, error.place.line, error.place.column, error.text}).second)
            continue;
        parsed = false;
        if (error.place.file.empty())
            error.text = header + ": " + error.text;
        messages->push_back(error);
        if (includes.empty())
            clang_getInclusions(tu, noteInclusion, &includes);
        if (const auto include = includes.find(error.place.file); include != includes.end())
            messages->push_back({ImportMessage::Kind::Note, include->second, "in the file included here", order});
    }
    return parsed;
}

// Parses `header`; false, with the compiler's errors, when it has any.
bool parseHeader(CXIndex index, const std::string& header, const std::vector<std::string>& flags, int order,
                 TranslationUnit* unit, ImportMessages* messages) {
    std::string text, err;
    if (!readAll(header, &text, &err, MissingFile::IsError)) {
        messages->push_back(headerError(err, order));
        return false;
    }
    std::vector<const char*> args;
    for (const std::string& flag : flags)
        args.push_back(flag.c_str());
    const CXErrorCode code = clang_parseTranslationUnit2(
        index, header.c_str(), args.data(), static_cast<int>(args.size()), nullptr, 0,
        CXTranslationUnit_DetailedPreprocessingRecord | CXTranslationUnit_SkipFunctionBodies, &unit->tu);
    if (code != CXError_Success || !unit->tu) {
        messages->push_back(headerError(header + ": cannot be parsed (see its compile flags)", order));
        return false;
    }
    return addParseErrors(unit->tu, header, order, messages);
}

// Whether `wanted`, as --enum gives it ("Kind", "Shape::Kind"), names the
// enum the code names `qualified`.
bool namedBy(const std::string& qualified, std::string_view wanted) {
    if (wanted.starts_with("::"))
        wanted.remove_prefix(2);
    return qualified == wanted || (qualified.size() > wanted.size() + 2 && qualified.ends_with(wanted) &&
                                   qualified.compare(qualified.size() - wanted.size() - 2, 2, "::") == 0);
}

// The enums `header` registers, declares or `request.enums` names.
void scanHeader(CXTranslationUnit tu, const ImportRequest& request, HeaderImport* header) {
    HeaderScan scan;
    scan.tu = tu;
    scan.file = clang_getFile(tu, fromClang(clang_getTranslationUnitSpelling(tu)).c_str());
    size_t size = 0;
    if (const char* contents = clang_getFileContents(tu, scan.file, &size))
        scan.text = std::string_view(contents, size);
    clang_visitChildren(clang_getTranslationUnitCursor(tu), scanCursor, &scan);
    const std::map<std::string, Registered> registered = resolveRegistrations(scan, &header->messages);
    warnOfSkippedRegistrations(scan, &header->messages);
    for (const FoundEnum& found : scan.enums) {
        const auto entry = registered.find(found.usr);
        const bool wanted = request.enums.empty()
                                ? request.selection == EnumSelection::All || entry != registered.end()
                                : std::any_of(request.enums.begin(), request.enums.end(), [&](const std::string& name) {
                                      return namedBy(qualifiedName(found.cursor), name);
                                  });
        if (!wanted)
            continue;
        if (clang_Cursor_isAnonymous(found.cursor) || found.name.empty() || found.name.starts_with('(')) {
            header->messages.push_back({ImportMessage::Kind::Warning, placeOf(clang_getCursorLocation(found.cursor)),
                                        "an unnamed enum is left out, as every enum of a list needs a name"});
            continue;
        }
        header->imported.push_back(
            importEnum(scan, found, entry == registered.end() ? Registered{} : entry->second, &header->texts));
    }
}

// libclang 14 takes -working-directory, which a build's flags end with, by
// moving the whole process there; the other headers, the list and the lock
// are named from where enumgen-import was started, so it goes back there.
struct WorkingDirectoryKept {
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::current_path(error);
    ~WorkingDirectoryKept() {
        if (!error)
            std::filesystem::current_path(dir, error);
    }
};

// The folder that `flags` has libclang work in; empty for where it is.
std::string workingDirectory(const std::vector<std::string>& flags) {
    const auto at = std::find(flags.begin(), flags.end(), "-working-directory");
    return at == flags.end() || at + 1 == flags.end() ? "" : *(at + 1);
}

// Parses and scans the headers on `request.jobs` threads, each with an index
// of its own. As libclang moves the whole process to a header's working
// folder, the headers of each folder are parsed together from there, so that
// it never moves while a parse runs. With OnFailure::Stop, no header after
// the first that fails is started.
void importAll(const ImportRequest& request, const std::vector<std::string>& paths,
               const std::vector<std::vector<std::string>>& flags, std::vector<HeaderImport>* headers) {
    std::map<std::string, std::vector<size_t>> byFolder;
    for (size_t i = 0; i < paths.size(); ++i)
        byFolder[workingDirectory(flags[i])].push_back(i);
    const WorkingDirectoryKept kept;
    std::atomic<size_t> firstFailed = paths.size();
    for (const auto& [folder, headersThere] : byFolder) {
        std::error_code error;
        if (!folder.empty())
            std::filesystem::current_path(folder, error);
        // clang 14 lets no lambda capture a structured binding.
        const std::vector<size_t>& group = headersThere;
        std::atomic<size_t> next = 0;
        const auto work = [&](CXIndex index) {
            for (size_t g = next++; g < group.size(); g = next++) {
                const size_t i = group[g];
                if (request.onFailure == OnFailure::Stop && i > firstFailed)
                    continue;
                HeaderImport& header = (*headers)[i];
                TranslationUnit unit;
                header.parsed = parseHeader(index, paths[i], flags[i], static_cast<int>(i), &unit, &header.messages);
                if (header.parsed)
                    scanHeader(unit.tu, request, &header);
                for (size_t first = firstFailed; !header.parsed && i < first;)
                    firstFailed.compare_exchange_weak(first, i);
            }
            clang_disposeIndex(index);
        };
        std::vector<std::thread> threads;
        const size_t count = std::clamp<size_t>(request.jobs, 1, group.size());
        // libclang sets itself up on the first index, which is no work for threads.
        std::vector<CXIndex> indexes;
        for (size_t t = 0; t < count; ++t)
            indexes.push_back(clang_createIndex(0, 0));
        for (size_t t = 1; t < count; ++t)
            threads.emplace_back(work, indexes[t]);
        work(indexes[0]);
        for (std::thread& thread : threads)
            thread.join();
    }
}

// Adds an error for each name of --enum that no enum of the headers has;
// false if there is one.
bool checkNamesFound(const std::vector<std::string>& names, const std::vector<Imported>& imported,
                     ImportMessages* messages) {
    bool found = true;
    for (const std::string& name : names)
        if (std::none_of(imported.begin(), imported.end(),
                         [&](const Imported& i) { return namedBy(i.origin.qualifiedName, name); })) {
            messages->push_back(placelessError("--enum " + name + ": no enum of that name in the headers parsed"));
            found = false;
        }
    return found;
}

}  // namespace

ImportMessage placelessError(std::string text) {
    ImportMessage message;
    message.kind = ImportMessage::Kind::Error;
    message.text = std::move(text);
    return message;
}

bool importHeaders(const ImportRequest& request, ImportResult* result) {
    std::vector<std::vector<std::string>> flags;
    std::string err;
    if (!headerFlags(request.buildDir, request.headers, request.flags, &flags, &err)) {
        result->messages.push_back(placelessError(err));
        return false;
    }
    // A build's flags hold paths relative to its folder, so clang works there
    // and the header is named from here.
    std::vector<std::string> paths = request.headers;
    if (!request.buildDir.empty())
        for (std::string& path : paths)
            path = std::filesystem::absolute(path).lexically_normal().string();
    std::vector<HeaderImport> headers(paths.size());
    importAll(request, paths, flags, &headers);

    bool complete = true;
    std::vector<Imported> imported;
    std::set<std::string> seen;
    for (size_t i = 0; i < headers.size() && (complete || request.onFailure == OnFailure::KeepGoing); ++i) {
        HeaderImport& header = headers[i];
        result->messages.insert(result->messages.end(), header.messages.begin(), header.messages.end());
        if (!header.parsed) {
            complete = false;
            result->messages.push_back(headerError(
                request.headers[i] + (request.onFailure == OnFailure::Stop
                                          ? ": cannot be parsed, so no list is written (--keep-going writes that "
                                            "of the headers that can be)"
                                          : ": cannot be parsed, so the list leaves its enums out"),
                static_cast<int>(i)));
            continue;
        }
        // A header given twice, or by two paths, gives its enums once.
        for (Imported& enumType : header.imported)
            if (seen.insert(enumType.usr).second)
                imported.push_back(std::move(enumType));
        result->texts.adopt(std::move(header.texts));
    }
    complete = checkNamesFound(request.enums, imported, &result->messages) && complete;
    if (!complete && request.onFailure == OnFailure::Stop)
        return false;
    renameClashes(&imported, &result->messages);
    for (Imported& enumType : imported) {
        enumType.type.key = toLower(enumType.type.name);
        addMigrationMessages(enumType, &result->messages);
        result->enums.push_back(std::move(enumType.type));
        result->origins.push_back(std::move(enumType.origin));
    }
    return complete;
}
