// SPDX-License-Identifier: MIT
#include "lsp-messages.h"

#include <algorithm>

#include "text-ops.h"

namespace {

constexpr std::string_view kLengthHeader = "Content-Length:";
// A header block is a line or two; one that runs on is broken, not slow.
constexpr size_t kMaxHeaderSize = 8192;

bool isTokenByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
           });
}

// Reads a Content-Length value; false for anything but a decimal byte count
// up to kMaxMessageSize.
bool readLength(std::string_view text, size_t* length) {
    if (text.empty())
        return false;
    *length = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        *length = *length * 10 + static_cast<size_t>(c - '0');
        if (*length > kMaxMessageSize)
            return false;
    }
    return true;
}

// Bytes that are no header, such as the rest of a message whose header was
// broken: dropped line by line, or up to a Content-Length header that follows
// them on their line. Decided on the first kMaxHeaderSize bytes alone, so
// input that arrives in pieces is cut where it would be as a whole.
Frame skipToNextHeader(std::string_view input) {
    const std::string_view window = input.substr(0, kMaxHeaderSize);
    const size_t next = window.find(kLengthHeader, 1);
    const size_t end = window.find('\n');
    if (next != std::string_view::npos && next < end)
        return {Frame::Kind::Garbage, next};
    if (end != std::string_view::npos)
        return {Frame::Kind::Garbage, end + 1};
    if (input.size() < kMaxHeaderSize)
        return {Frame::Kind::Incomplete, 0, 1};
    // A line that runs on: its end may start the next header.
    return {Frame::Kind::Garbage, kMaxHeaderSize - (kLengthHeader.size() - 1)};
}

}  // namespace

Frame nextFrame(std::string_view input) {
    bool hasLength = false;
    size_t length = 0;
    std::string error;
    size_t pos = 0;
    for (;;) {
        const size_t end = input.find('\n', pos);
        // What does not start like a header is no message at all, as soon
        // as a byte no header name holds comes before the colon.
        if (pos == 0) {
            const std::string_view start = input.substr(0, std::min(end, kMaxHeaderSize));
            const size_t nameEnd =
                static_cast<size_t>(std::find_if_not(start.begin(), start.end(), isTokenByte) - start.begin());
            if (nameEnd < start.size() && (nameEnd == 0 || start[nameEnd] != ':'))
                return skipToNextHeader(input);
        }
        if (end == std::string_view::npos && input.size() <= kMaxHeaderSize)
            return {Frame::Kind::Incomplete, 0, 1};
        if (end == std::string_view::npos || end >= kMaxHeaderSize)
            return {Frame::Kind::BadHeader,
                    pos > 0 ? pos : kMaxHeaderSize,
                    0,
                    {},
                    "header block longer than " + toString(static_cast<std::int64_t>(kMaxHeaderSize)) + " bytes"};
        std::string_view line = input.substr(pos, end - pos);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty() && pos > 0) {
            pos = end + 1;
            break;
        }
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0 ||
            !std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(colon), isTokenByte)) {
            if (pos == 0)
                return skipToNextHeader(input);
            return {Frame::Kind::BadHeader, pos, 0, {}, "header line '" + excerpt(line) + "' is no 'Name: value'"};
        }
        pos = end + 1;
        if (!equalsIgnoringCase(line.substr(0, colon + 1), kLengthHeader))
            continue;
        std::string_view value = line.substr(colon + 1);
        value.remove_prefix(std::min(value.find_first_not_of(" \t"), value.size()));
        value.remove_suffix(value.size() - std::min(value.find_last_not_of(" \t") + 1, value.size()));
        hasLength = readLength(value, &length);
        if (!hasLength)
            error = "Content-Length '" + excerpt(value) + "' is no byte count up to " +
                    toString(static_cast<std::int64_t>(kMaxMessageSize));
    }
    if (!hasLength)
        return {Frame::Kind::BadHeader, pos, 0, {}, error.empty() ? "header without Content-Length" : error};
    if (input.size() - pos < length)
        return {Frame::Kind::Incomplete, 0, pos + length - input.size()};
    return {Frame::Kind::Message, pos + length, 0, input.substr(pos, length)};
}

std::string framed(std::string_view body) {
    std::string text = "Content-Length: " + toString(static_cast<std::int64_t>(body.size())) + "\r\n\r\n";
    return text.append(body);
}

namespace {

// Texts quoted from the list may be cut inside a UTF-8 sequence; such bytes
// become U+FFFD rather than an exception.
void send(std::string* out, nlohmann::json message) {
    message["jsonrpc"] = "2.0";
    out->append(framed(message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)));
}

}  // namespace

void sendReply(std::string* out, const nlohmann::json& id, nlohmann::json result) {
    send(out, {{"id", id}, {"result", std::move(result)}});
}

void sendError(std::string* out, const nlohmann::json& id, int code, const std::string& text) {
    send(out, {{"id", id}, {"error", {{"code", code}, {"message", text}}}});
}

void sendNotification(std::string* out, const char* method, nlohmann::json params) {
    send(out, {{"method", method}, {"params", std::move(params)}});
}

const nlohmann::json& member(const nlohmann::json& value, const char* name) {
    static const nlohmann::json none;
    if (!value.is_object())
        return none;
    const auto found = value.find(name);
    return found == value.end() ? none : *found;
}

const std::string& stringAt(const nlohmann::json& value, const char* name) {
    const nlohmann::json& found = member(value, name);
    if (!found.is_string())
        throw BadParams{std::string("'") + name + "' is not a string"};
    return found.get_ref<const std::string&>();
}

std::int64_t numberAt(const nlohmann::json& value, const char* name) {
    const nlohmann::json& found = member(value, name);
    if (!found.is_number_integer())
        throw BadParams{std::string("'") + name + "' is not an integer"};
    return found.get<std::int64_t>();
}
