// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A mistake at one line of the enum list. An error stops the run before any
// output is touched; a warning is reported and the run goes on; a note tells
// what the run did there.
struct ListMessage {
    enum class Kind { Error, Warning, Note };
    int line = 0;
    Kind kind = Kind::Error;
    std::string text;
    // 1-based byte column and length of what the message is about; 0 when it
    // is about the whole line.
    int column = 0;
    int length = 0;
    // The other place a clash involves, what to say of it, and how many
    // bytes it spans.
    int noteLine = 0;
    int noteColumn = 0;
    std::string note{};
    int noteLength = 0;
    // The file the note's place is in, when it is not the list (the lock).
    std::string noteFile{};
    // Set for a message about another file than the list (the lock).
    std::string file{};
    // Where `text` names the note's line (" on line 3"), and how many bytes
    // that takes; readers that show the note's place otherwise leave it out.
    size_t noteLineAt = 0;
    size_t noteLineLength = 0;

    bool operator==(const ListMessage&) const = default;
};
using ListMessages = std::vector<ListMessage>;

// What a message or its note is about: a line, and the 1-based byte column
// and length of the bytes in it; a column of 0 for the whole line.
struct ListPlace {
    int line = 0;
    int column = 0;
    int length = 0;
};

// A message's text that names the line its note is about.
struct TextNamingLine {
    std::string text;
    size_t lineAt = 0;
    size_t lineLength = 0;
};

// "<before><lead><line><after>", knowing where "<lead><line>" is.
TextNamingLine namingLine(std::string before, std::string_view lead, int line, std::string_view after = {});

// A message about `at`.
ListMessage messageAt(ListPlace at, ListMessage::Kind kind, std::string text);
ListMessage messageAt(ListPlace at, ListMessage::Kind kind, TextNamingLine text);

// The message's text without the line of its note it names.
std::string withoutNoteLine(const ListMessage& m);

// Gives `m` a note about `at`.
void noteAt(ListMessage* m, ListPlace at, std::string note);

bool hasErrors(const ListMessages& messages);

// Puts messages in line order, as a reader goes through the list; those of
// one line keep their order.
void sortByLine(ListMessages* messages);

// The messages as compilers write theirs, so IDEs take each to its line:
// "<list>:<line>:<column>: error: <text>", each followed by its note.
std::string formatMessages(const std::string& list, const ListMessages& messages);
