// SPDX-License-Identifier: MIT
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "enum-model.h"

// A place in a header, as compilers name it in their messages.
struct SourcePlace {
    std::string file;
    int line = 0;
    int column = 0;
};

// What the importer tells the user: what it could not read, and what the
// migration leaves for the user to change by hand.
struct ImportMessage {
    enum class Kind { Error, Warning, Note };
    Kind kind = Kind::Warning;
    // No file for a message tied to no place.
    SourcePlace place;
    std::string text;
};
using ImportMessages = std::vector<ImportMessage>;

// An error tied to no place in the headers.
ImportMessage placelessError(std::string text);

// Where an imported enum and its items come from.
struct EnumOrigin {
    SourcePlace place;
    // The enum's name as the code spells it, "Shape::Kind".
    std::string qualifiedName;
    std::vector<SourcePlace> items;
    // Items that only the compiler sees (#ifndef Q_MOC_RUN), so QMetaEnum
    // never knew them and no key of theirs was ever stored.
    std::vector<std::string> hiddenFromMoc;
};

// The enums of the headers as an enum list holds them, in the order of the
// headers and of their declarations, each with its origin.
struct ImportResult {
    std::vector<EnumType> enums;
    std::vector<EnumOrigin> origins;
    // The texts the items' views point into.
    std::deque<std::string> texts;
    ImportMessages messages;
};

enum class EnumSelection { Registered, All };

struct ImportRequest {
    std::vector<std::string> headers;
    // The folder of compile_commands.json; empty for none.
    std::string buildDir;
    // Compiler flags given on the command line, after those of the build.
    std::vector<std::string> flags;
    EnumSelection selection = EnumSelection::Registered;
};

// Parses every header as C++ with its compile flags and gathers the enums
// registered with Q_ENUM, Q_FLAG, Q_ENUM_NS, Q_FLAG_NS (Q_ENUMS, Q_FLAGS), or
// every enum the headers declare. Returns false, with the compiler's errors in
// `result->messages`, when a header cannot be parsed.
bool importHeaders(const ImportRequest& request, ImportResult* result);
