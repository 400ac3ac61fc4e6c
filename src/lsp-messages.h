#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The framing of Language Server Protocol messages: a header block of
// "Name: value" lines, one of them "Content-Length: <bytes>", an empty line,
// then a JSON body of that many bytes.

// A message body past this size is refused rather than buffered.
inline constexpr size_t kMaxMessageSize = size_t(1) << 30;

// What the front of the input holds.
struct Frame {
    enum class Kind {
        Message,    // a whole message; `body` is its JSON text
        BadHeader,  // a header block without a usable Content-Length, answered with a parse error
        Garbage,    // bytes before the next "Content-Length:", after a broken message; dropped silently
        Incomplete  // not enough input yet: at least `missing` more bytes are needed
    };
    Kind kind = Kind::Incomplete;
    // Bytes of the input this frame takes, to drop before the next one.
    size_t size = 0;
    size_t missing = 0;
    std::string_view body{};
    std::string error{};
};

// Takes the frame at the front of `input`. Linear in the bytes it looks at.
Frame nextFrame(std::string_view input);

// `body` with its header, ready to write.
std::string framed(std::string_view body);
