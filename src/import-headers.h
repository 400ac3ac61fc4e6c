// SPDX-License-Identifier: MIT
#pragma once

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
    // For what the parse of a header said: the header's index, which orders
    // the message among those of the other headers, in the compiler's order;
    // -1 for a message ordered by its place.
    int header = -1;
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
    // Keeps the items' texts.
    TextStore texts;
    ImportMessages messages;
};

enum class EnumSelection { Registered, All };
enum class OnFailure { Stop, KeepGoing };

struct ImportRequest {
    std::vector<std::string> headers;
    // The folder of compile_commands.json; empty for none.
    std::string buildDir;
    // Compiler flags given on the command line, after those of the build.
    std::vector<std::string> flags;
    EnumSelection selection = EnumSelection::Registered;
    // Only the enums of these names ("Kind" or "Shape::Kind"), registered
    // or not; empty for all that `selection` takes.
    std::vector<std::string> enums;
    // How many headers are parsed at once.
    unsigned jobs = 1;
    // Stop at the first header that cannot be parsed, or import those that can.
    OnFailure onFailure = OnFailure::Stop;
};

// Parses every header as C++ with its compile flags and gathers the enums
// registered with Q_ENUM, Q_FLAG, Q_ENUM_NS, Q_FLAG_NS (Q_ENUMS, Q_FLAGS), or
// every enum the headers declare, or those `request.enums` names. Returns
// false, with the compiler's errors in `result->messages`, when a header
// cannot be parsed or a name of `request.enums` is no enum of the headers;
// `result` then holds, with OnFailure::KeepGoing, the enums of the headers
// that could be parsed, and nothing with OnFailure::Stop. The result is the
// same whatever `request.jobs`.
bool importHeaders(const ImportRequest& request, ImportResult* result);
