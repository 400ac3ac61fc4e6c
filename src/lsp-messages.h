// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// The message layer of the Language Server Protocol: JSON-RPC messages, each
// framed by a header block of "Name: value" lines, one of them
// "Content-Length: <bytes>", and an empty line before its JSON body.

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

// JSON-RPC error codes, and the protocol's own.
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kServerNotInitialized = -32002;

// Append a framed answer, error answer or notification to `out`.
void sendReply(std::string* out, const nlohmann::json& id, nlohmann::json result);
void sendError(std::string* out, const nlohmann::json& id, int code, const std::string& text);
void sendNotification(std::string* out, const char* method, nlohmann::json params);

// The member `name` of `value`; null when `value` is no object or lacks it.
const nlohmann::json& member(const nlohmann::json& value, const char* name);

// Parameters that are not as the protocol has them, thrown by stringAt and
// numberAt and answered with kInvalidParams.
struct BadParams {
    std::string text;
};

const std::string& stringAt(const nlohmann::json& value, const char* name);
std::int64_t numberAt(const nlohmann::json& value, const char* name);
