// SPDX-License-Identifier: MIT
// libFuzzer target: arbitrary bytes as what an editor sends to enumgen --lsp.
// The first byte picks how the session starts: before initialize, or
// initialized with positions counted in UTF-8, UTF-16 or UTF-32; the rest is
// the input. Besides crashes and hangs it aborts when an answer is no framed
// JSON, or when the input read in the pieces the server asks for is answered
// otherwise than read at once.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "enum-lsp.h"
#include "lsp-messages.h"

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "lsp-fuzz: %s\n", what);
        std::abort();
    }
}

LspServer started(std::uint8_t how) {
    const char* encodings[] = {"utf-8", "utf-16", "utf-32"};
    LspServer server;
    if (how % 4 != 0) {
        server.input =
            framed(std::string(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{"capabilities":)") +
                   R"({"general":{"positionEncodings":[")" + encodings[how % 4 - 1] + "\"]}}}}");
        LspOutput ignored;
        handleInput(&server, &ignored);
    }
    return server;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

    LspServer whole = started(data[0]);
    whole.input = input;
    LspOutput atOnce;
    handleInput(&whole, &atOnce);

    LspServer pieces = started(data[0]);
    LspOutput inPieces;
    for (size_t at = 0, missing = 1; at < input.size() && missing > 0;) {
        const size_t take = std::min(missing, input.size() - at);
        pieces.input.append(input.substr(at, take));
        at += take;
        missing = handleInput(&pieces, &inPieces);
    }
    check(atOnce.messages == inPieces.messages && atOnce.log == inPieces.log, "input in pieces was answered otherwise");
    check(whole.state == pieces.state, "input in pieces ended in another state");

    for (std::string_view rest = atOnce.messages; !rest.empty();) {
        const Frame frame = nextFrame(rest);
        check(frame.kind == Frame::Kind::Message && nlohmann::json::accept(frame.body), "an answer is no framed JSON");
        rest.remove_prefix(frame.size);
    }
    return 0;
}
