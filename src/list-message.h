// SPDX-License-Identifier: MIT
#pragma once

#include <string>
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

// A message about `at`.
ListMessage messageAt(ListPlace at, ListMessage::Kind kind, std::string text);

// Gives `m` a note about `at`.
void noteAt(ListMessage* m, ListPlace at, std::string note);

bool hasErrors(const ListMessages& messages);

// Puts messages in line order, as a reader goes through the list; those of
// one line keep their order.
void sortByLine(ListMessages* messages);

// The messages as compilers write theirs, so IDEs take each to its line:
// "<list>:<line>:<column>: error: <text>", each followed by its note.
std::string formatMessages(const std::string& list, const ListMessages& messages);
