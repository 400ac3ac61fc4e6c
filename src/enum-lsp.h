// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "enum-analysis.h"

// `enumgen --lsp`: a Language Server Protocol server for enum lists, over
// standard input and output. It reports the enum-list messages of the command
// line as diagnostics while the list is edited, shows what an enum or item
// line generates on hover, and lists the enums and items as document symbols.

// How a position's character counts: in bytes, UTF-16 code units (the
// protocol's default) or code points.
enum class PositionEncoding { Utf8, Utf16, Utf32 };

// An enum list open in the editor, as it last sent it, read and checked.
struct LspDocument {
    // The text, which the analysis keeps.
    std::string_view text;
    std::int64_t version = 0;
    ListAnalysis analysis{};
    // The lock the list is checked against, as its file holds it: hovers
    // show what it keeps of an item.
    Lock lock{};
    // Where each line starts: as the reader counts lines (after '\n'), and
    // as the editor does (after '\n', "\r\n" or a lone '\r').
    std::vector<size_t> listLines{}, editorLines{};
};

struct LspServer {
    enum class State { Starting, Running, ShutDown, Exited };
    State state = State::Starting;
    // The folder the command line writes to, named in hovers and messages.
    std::string outputDir = kOutputDir;
    QmlNames qml = QmlNames::Unchecked;
    // The lock every list is checked against, from the editor's
    // initializationOptions; empty for each list's own "<list>.lock".
    std::string lockPath;
    PositionEncoding encoding = PositionEncoding::Utf16;
    std::unordered_map<std::string, LspDocument> documents;
    // Bytes read and not yet handled.
    std::string input;
    // 0 when exit came after shutdown.
    int exitStatus = 1;
};

// What handling input gives: framed messages for the editor, and log lines
// for standard error about notifications that were ignored.
struct LspOutput {
    std::string messages;
    std::string log;
};

// Handles every whole message at the front of `server->input` and drops it
// from there. Returns how many more bytes the next message needs at least;
// none once the editor said exit.
size_t handleInput(LspServer* server, LspOutput* output);

// Serves the editor over standard input and output until it says exit or
// closes the input. The exit status: 0 after shutdown, 1 otherwise.
int runLanguageServer(LspServer server);
