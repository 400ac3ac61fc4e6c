// SPDX-License-Identifier: MIT
#include "enum-lsp.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "enum-reader.h"
#include "enum-values.h"
#include "file-ops.h"
#include "lsp-messages.h"
#include "text-ops.h"

namespace {

using json = nlohmann::json;

// Protocol constants.
constexpr int kSeverityError = 1;
constexpr int kSeverityWarning = 2;
constexpr int kSeverityInformation = 3;
constexpr int kSymbolEnum = 10;
constexpr int kSymbolEnumMember = 22;
constexpr int kSyncFull = 1;

// Texts longer than this are cut in hovers and symbols.
constexpr size_t kMaxShown = 500;

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Code units of the encoding in `text`. Bytes that are no UTF-8 count as
// one character each, as an editor shows them.
size_t unitsIn(std::string_view text, PositionEncoding encoding) {
    if (encoding == PositionEncoding::Utf8)
        return text.size();
    size_t units = 0;
    for (char c : text) {
        if (!isContinuationByte(c))
            units += encoding == PositionEncoding::Utf16 && static_cast<unsigned char>(c) >= 0xF0 ? 2 : 1;
    }
    return units;
}

// The byte offset in `line` of the character `units` code units in; the end
// of the line past its last character.
size_t offsetIn(std::string_view line, std::int64_t units, PositionEncoding encoding) {
    if (encoding == PositionEncoding::Utf8)
        return static_cast<size_t>(std::min<std::int64_t>(std::max<std::int64_t>(units, 0), line.size()));
    size_t at = 0;
    for (std::int64_t counted = 0; at < line.size() && counted < units;) {
        counted += encoding == PositionEncoding::Utf16 && static_cast<unsigned char>(line[at]) >= 0xF0 ? 2 : 1;
        for (++at; at < line.size() && isContinuationByte(line[at]);)
            ++at;
    }
    return at;
}

void indexLines(LspDocument* doc) {
    const std::string_view text = doc->text;
    doc->listLines.assign(1, 0);
    doc->editorLines.assign(1, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            doc->listLines.push_back(i + 1);
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            doc->editorLines.push_back(i + 1);
    }
}

// The text of a line between its start and its line end.
std::string_view lineText(std::string_view text, const std::vector<size_t>& starts, size_t index) {
    const size_t start = starts[index];
    size_t end = index + 1 < starts.size() ? starts[index + 1] - 1 : text.size();
    if (end > start && text[end - 1] == '\r')
        --end;
    return text.substr(start, end - start);
}

json position(const LspDocument& doc, size_t offset, PositionEncoding encoding) {
    const size_t line = static_cast<size_t>(std::upper_bound(doc.editorLines.begin(), doc.editorLines.end(), offset) -
                                            doc.editorLines.begin()) -
                        1;
    const size_t start = doc.editorLines[line];
    return {{"line", line}, {"character", unitsIn(doc.text.substr(start, offset - start), encoding)}};
}

json range(const LspDocument& doc, size_t begin, size_t end, PositionEncoding encoding) {
    return {{"start", position(doc, begin, encoding)}, {"end", position(doc, end, encoding)}};
}

std::string_view listLine(const LspDocument& doc, int line) {
    return lineText(doc.text, doc.listLines, static_cast<size_t>(line - 1));
}

// From the start of list line `first` to the end of list line `last`.
json linesRange(const LspDocument& doc, int first, int last, PositionEncoding encoding) {
    const std::string_view end = listLine(doc, last);
    return range(doc, static_cast<size_t>(listLine(doc, first).data() - doc.text.data()),
                 static_cast<size_t>(end.data() + end.size() - doc.text.data()), encoding);
}

// The bytes `length` long from the 1-based byte `column` of list line
// `line`, kept inside the line; the whole line for a column or length of 0.
json listRange(const LspDocument& doc, int line, int column, size_t length, PositionEncoding encoding) {
    if (column <= 0 || length == 0)
        return linesRange(doc, line, line, encoding);
    const std::string_view text = listLine(doc, line);
    const size_t start = static_cast<size_t>(text.data() - doc.text.data());
    const size_t begin = std::min(static_cast<size_t>(column - 1), text.size());
    return range(doc, start + begin, start + std::min(begin + length, text.size()), encoding);
}

// A position from the editor as a byte offset in the text; none past the
// last line.
std::optional<size_t> offsetOf(const LspDocument& doc, const json& where, PositionEncoding encoding) {
    const std::int64_t line = numberAt(where, "line");
    if (line < 0 || static_cast<std::uint64_t>(line) >= doc.editorLines.size())
        return std::nullopt;
    const std::string_view text = lineText(doc.text, doc.editorLines, static_cast<size_t>(line));
    return static_cast<size_t>(text.data() - doc.text.data()) + offsetIn(text, numberAt(where, "character"), encoding);
}

// The file a "file:" URI names, with its %-escapes decoded; empty for any
// other URI.
std::string pathOf(std::string_view uri) {
    constexpr std::string_view kScheme = "file://";
    if (!uri.starts_with(kScheme))
        return {};
    std::string path;
    for (size_t i = kScheme.size(); i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && std::isxdigit(static_cast<unsigned char>(uri[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(uri[i + 2]))) {
            path.push_back(static_cast<char>(std::stoi(std::string(uri.substr(i + 1, 2)), nullptr, 16)));
            i += 2;
        } else {
            path.push_back(uri[i]);
        }
    }
    return path;
}

// The "file:" URI of an absolute path, with '/' between names ("C:/x" on
// Windows gives "file:///C:/x").
std::string uriOf(std::string_view path) {
    std::string uri = path.starts_with('/') ? "file://" : "file:///";
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || std::string_view("/-._~:").find(c) != std::string_view::npos) {
            uri.push_back(c);
        } else {
            constexpr char kHex[] = "0123456789ABCDEF";
            uri.append({'%', kHex[byte >> 4], kHex[byte & 15]});
        }
    }
    return uri;
}

// The lock of the list at `uri`, when there is one: the server's, else the
// file "<list>.lock" beside the list.
std::optional<LockInput> lockOf(const LspServer& server, const std::string& uri) {
    std::string path = server.lockPath;
    if (path.empty()) {
        const std::string list = pathOf(uri);
        if (list.empty())
            return std::nullopt;
        path = list + ".lock";
    }
    std::optional<std::string> text;
    std::string err;
    // The editor shows the list, not the lock: a lock it cannot read is none.
    if (!readLockFile(path, &text, &err) || !text)
        return std::nullopt;
    // Related information names the lock by a URI, for which a path from
    // the editor's options is made absolute.
    if (!server.lockPath.empty())
        path = std::filesystem::absolute(path).generic_string();
    return LockInput{path, std::move(text), LockMode::Extend};
}

void readDocument(LspDocument* doc, std::string text, const LspServer& server, const std::string& uri) {
    std::optional<LockInput> lock = lockOf(server, uri);
    if (lock) {
        ListMessages ignored;
        doc->lock = parseLock(*lock->text, lock->path, &ignored);
    }
    doc->analysis = analyzeList(std::move(text), {server.outputDir, server.qml, std::move(lock)});
    doc->text = doc->analysis.text;
    indexLines(doc);
}

void publishDiagnostics(LspOutput* output, const LspServer& server, const std::string& uri, const LspDocument& doc) {
    json diagnostics = json::array();
    for (const ListMessage& m : doc.analysis.messages) {
        // A mistake of the lock file itself is shown on the list's first line.
        const bool inList = m.file.empty();
        json diagnostic = {{"range", inList ? listRange(doc, m.line, m.column,
                                                        static_cast<size_t>(std::max(m.length, 0)), server.encoding)
                                            : linesRange(doc, 1, 1, server.encoding)},
                           {"severity", m.kind == ListMessage::Kind::Error     ? kSeverityError
                                        : m.kind == ListMessage::Kind::Warning ? kSeverityWarning
                                                                               : kSeverityInformation},
                           {"source", "enumgen"},
                           {"message", inList ? m.text : m.file + ":" + toString(m.line) + ": " + m.text}};
        if (m.noteLine > 0) {
            // The lock's lines are not known here: the note spans its line.
            const json where = m.noteFile.empty()
                                   ? listRange(doc, m.noteLine, m.noteColumn,
                                               static_cast<size_t>(std::max(m.noteLength, 0)), server.encoding)
                                   : json{{"start", {{"line", m.noteLine - 1}, {"character", 0}}},
                                          {"end", {{"line", m.noteLine}, {"character", 0}}}};
            diagnostic["relatedInformation"] = {
                {{"location", {{"uri", m.noteFile.empty() ? uri : uriOf(m.noteFile)}, {"range", where}}},
                 {"message", m.note}}};
        }
        diagnostics.push_back(std::move(diagnostic));
    }
    sendNotification(&output->messages, "textDocument/publishDiagnostics",
                     {{"uri", uri}, {"version", doc.version}, {"diagnostics", std::move(diagnostics)}});
}

// Applies one entry of a didChange's contentChanges: the whole new text, or
// a range and its replacement.
// Applies `change` to `text`; `doc` is where its positions are counted.
void applyChange(LspDocument* doc, std::string* text, const json& change, PositionEncoding encoding) {
    const std::string& changed = stringAt(change, "text");
    const json& where = member(change, "range");
    if (where.is_null()) {
        *text = changed;
        return;
    }
    doc->text = *text;
    indexLines(doc);
    const size_t size = text->size();
    const size_t begin = offsetOf(*doc, member(where, "start"), encoding).value_or(size);
    const size_t end = std::max(begin, offsetOf(*doc, member(where, "end"), encoding).value_or(size));
    text->replace(begin, end - begin, changed);
}

LspDocument& openDocument(LspServer* server, const std::string& uri) {
    const auto found = server->documents.find(uri);
    if (found == server->documents.end())
        throw BadParams{"the document " + excerpt(uri) + " is not open"};
    return found->second;
}

// `text` as Markdown code, fenced by more backticks than it holds in a row.
std::string code(std::string_view text) {
    if (text.size() > kMaxShown) {
        size_t cut = kMaxShown;
        while (cut > 0 && isContinuationByte(text[cut]))
            --cut;
        return code(text.substr(0, cut)) + "...";
    }
    size_t longest = 0;
    for (size_t i = 0, run = 0; i < text.size(); ++i)
        longest = std::max(longest, run = text[i] == '`' ? run + 1 : 0);
    const std::string fence(longest + 1, '`');
    const char* pad = !text.empty() && (text.front() == '`' || text.back() == '`') ? " " : "";
    return fence + pad + std::string(text) + pad + fence;
}

std::string codeOrNone(std::string_view text) { return text.empty() ? "none" : code(text); }

// " = <number>" after an item's value when the value is an expression of
// literals, so its number is not plain to see.
std::string numberOf(std::string_view value) {
    if (const std::optional<std::int32_t> number = evaluateValue(value); number && toString(*number) != value)
        return " = " + toString(*number);
    return "";
}

std::string valueText(std::string_view value) { return code(value) + numberOf(value); }

std::string enumHover(const EnumType& type, const std::string& outputDir) {
    std::string text = "**enum** " + code(type.name) + "\n\n";
    text += "- files: " + code(outputPath(outputDir, type, ".hpp")) + ", " + code(outputPath(outputDir, type, ".cpp")) +
            "\n";
    text += "- key: " + codeOrNone(type.key) + "\n";
    text += "- description: " + codeOrNone(type.desc) + "\n";
    text += "- items: " + toString(static_cast<std::int64_t>(type.items.size())) + "\n";
    text += "- data type: " + code(type.dataType) + "\n";
    return text + "- flags: " + codeOrNone(type.flagsName) + "\n";
}

// What the lock keeps of an item: the value and key stored data may hold,
// and the keys and names it had before.
std::string lockedHover(const Lock& lock, const EnumType& type, const EnumType::Item& item) {
    for (const LockEnum& locked : lock.enums) {
        if (locked.name != type.name)
            continue;
        for (const LockItem& entry : locked.items) {
            if (entry.name != item.name)
                continue;
            std::string text = "- locked: value " + code(entry.value) + ", key " + codeOrNone(entry.key) + "\n";
            for (const auto& [what, former] :
                 {std::pair{"keys", &entry.formerKeys}, std::pair{"names", &entry.formerNames}}) {
                if (former->empty())
                    continue;
                text.append("- former ").append(what).append(": ");
                for (size_t i = 0; i < former->size(); ++i)
                    text.append(i ? ", " : "").append(code((*former)[i]));
                text.push_back('\n');
            }
            return text;
        }
    }
    return lock.enums.empty() ? "" : "- locked: not yet\n";
}

std::string itemHover(const EnumType& type, size_t index, const Lock& lock) {
    const EnumType::Item& item = type.items[index];
    std::string text = "**item** " + code(item.name) + " of enum " + code(type.name) + "\n\n- value: ";
    if (item.value.empty())
        text += "none: there is no value to count on from";
    else if (item.valueColumn > 0)
        text += valueText(item.value);
    else if (index == 0)
        text += valueText(item.value) + ", as the first item";
    else
        text += valueText(item.value) + ", counted on from " + code(type.items[index - 1].name);
    text += "\n- key: " + codeOrNone(item.key) + "\n";
    text += "- description: " + codeOrNone(item.desc) + "\n";
    text += "- data: " + codeOrNone(item.data) + "\n";
    const bool isDefault = static_cast<size_t>(type.defaultIndex) == index;
    return text + "- default: " + (isDefault ? "yes" : "no") + "\n" + lockedHover(lock, type, item);
}

// The enum whose "+" line is `line`, or that the item on `line` belongs to.
const EnumType* enumAt(const std::vector<EnumType>& enums, int line) {
    const auto after =
        std::upper_bound(enums.begin(), enums.end(), line, [](int l, const EnumType& type) { return l < type.line; });
    return after == enums.begin() ? nullptr : &*(after - 1);
}

const EnumType::Item* itemAt(const EnumType& type, int line) {
    const auto after = std::upper_bound(type.items.begin(), type.items.end(), line,
                                        [](int l, const EnumType::Item& item) { return l < item.line; });
    return after == type.items.begin() || (after - 1)->line != line ? nullptr : &*(after - 1);
}

json hover(const LspServer& server, const LspDocument& doc, const json& params) {
    const std::optional<size_t> offset = offsetOf(doc, member(params, "position"), server.encoding);
    if (!offset)
        return nullptr;
    const int line =
        static_cast<int>(std::upper_bound(doc.listLines.begin(), doc.listLines.end(), *offset) - doc.listLines.begin());
    const EnumType* type = enumAt(doc.analysis.enums, line);
    if (!type)
        return nullptr;
    const EnumType::Item* item = itemAt(*type, line);
    if (type->line != line && !item)
        return nullptr;
    const std::string_view name = item ? item->name : std::string_view(type->name);
    const std::string text = item ? itemHover(*type, static_cast<size_t>(item - type->items.data()), doc.lock)
                                  : enumHover(*type, server.outputDir);
    return {{"contents", {{"kind", "markdown"}, {"value", text}}},
            {"range", listRange(doc, line, item ? item->column : type->column, name.size(), server.encoding)}};
}

std::string symbolName(std::string_view name) {
    const std::string_view shown = trim(name);
    return shown.empty() ? "(no name)" : excerpt(shown);
}

json symbols(const LspServer& server, const LspDocument& doc) {
    const PositionEncoding encoding = server.encoding;
    json result = json::array();
    for (const EnumType& type : doc.analysis.enums) {
        json children = json::array();
        for (const EnumType::Item& item : type.items) {
            children.push_back(
                {{"name", symbolName(item.name)},
                 {"detail", excerpt(item.value) + numberOf(item.value)},
                 {"kind", kSymbolEnumMember},
                 {"range", listRange(doc, item.line, 0, 0, encoding)},
                 {"selectionRange", listRange(doc, item.line, item.column, item.name.size(), encoding)}});
        }
        // An enum spans its lines down to its last item.
        const int last = type.items.empty() ? type.line : type.items.back().line;
        result.push_back({{"name", symbolName(type.name)},
                          {"detail", excerpt(type.desc)},
                          {"kind", kSymbolEnum},
                          {"range", linesRange(doc, type.line, last, encoding)},
                          {"selectionRange", listRange(doc, type.line, type.column, type.name.size(), encoding)},
                          {"children", std::move(children)}});
    }
    return result;
}

// The encoding the editor prefers among those it offers; UTF-16 when it
// offers none.
PositionEncoding chooseEncoding(const json& params) {
    const json& offered = member(member(member(params, "capabilities"), "general"), "positionEncodings");
    if (offered.is_array()) {
        for (const json& name : offered) {
            if (name == "utf-8")
                return PositionEncoding::Utf8;
            if (name == "utf-16")
                return PositionEncoding::Utf16;
            if (name == "utf-32")
                return PositionEncoding::Utf32;
        }
    }
    return PositionEncoding::Utf16;
}

json initialize(LspServer* server, const json& params) {
    server->encoding = chooseEncoding(params);
    if (const json& lock = member(member(params, "initializationOptions"), "lock"); lock.is_string())
        server->lockPath = lock.get<std::string>();
    server->state = LspServer::State::Running;
    const char* encodings[] = {"utf-8", "utf-16", "utf-32"};
    return {{"capabilities",
             {{"positionEncoding", encodings[static_cast<int>(server->encoding)]},
              {"textDocumentSync", {{"openClose", true}, {"change", kSyncFull}}},
              {"hoverProvider", true},
              {"documentSymbolProvider", true}}},
            {"serverInfo", {{"name", "enumgen"}, {"version", ENUMGEN_VERSION}}}};
}

void handleRequest(LspServer* server, const std::string& method, const json& id, const json& params,
                   LspOutput* output) {
    using State = LspServer::State;
    if (method == "initialize" && server->state == State::Starting)
        return sendReply(&output->messages, id, initialize(server, params));
    if (server->state == State::Starting)
        return sendError(&output->messages, id, kServerNotInitialized, "the server is not initialized yet");
    if (server->state == State::ShutDown)
        return sendError(&output->messages, id, kInvalidRequest, "the server is shut down");
    if (method == "initialize")
        return sendError(&output->messages, id, kInvalidRequest, "the server is initialized already");
    if (method == "shutdown") {
        server->state = State::ShutDown;
        return sendReply(&output->messages, id, nullptr);
    }
    if (method == "textDocument/hover") {
        const LspDocument& doc = openDocument(server, stringAt(member(params, "textDocument"), "uri"));
        return sendReply(&output->messages, id, hover(*server, doc, params));
    }
    if (method == "textDocument/documentSymbol") {
        const LspDocument& doc = openDocument(server, stringAt(member(params, "textDocument"), "uri"));
        return sendReply(&output->messages, id, symbols(*server, doc));
    }
    sendError(&output->messages, id, kMethodNotFound, "unknown method '" + excerpt(method) + "'");
}

void handleNotification(LspServer* server, const std::string& method, const json& params, LspOutput* output) {
    using State = LspServer::State;
    if (method == "exit") {
        server->exitStatus = server->state == State::ShutDown ? 0 : 1;
        server->state = State::Exited;
        return;
    }
    if (server->state != State::Running)
        return;
    const json& document = member(params, "textDocument");
    if (method == "textDocument/didOpen") {
        const std::string& uri = stringAt(document, "uri");
        std::string text = stringAt(document, "text");
        LspDocument& doc = server->documents[uri] = LspDocument{{}, numberAt(document, "version")};
        readDocument(&doc, std::move(text), *server, uri);
        publishDiagnostics(output, *server, uri, doc);
    } else if (method == "textDocument/didChange") {
        const std::string& uri = stringAt(document, "uri");
        LspDocument& doc = openDocument(server, uri);
        const json& changes = member(params, "contentChanges");
        if (!changes.is_array())
            throw BadParams{"'contentChanges' is not an array"};
        // Applied to a copy, so a broken change leaves the document as it was.
        LspDocument changed{doc.text, numberAt(document, "version")};
        std::string text(doc.text);
        for (const json& change : changes)
            applyChange(&changed, &text, change, server->encoding);
        doc = std::move(changed);
        readDocument(&doc, std::move(text), *server, uri);
        publishDiagnostics(output, *server, uri, doc);
    } else if (method == "textDocument/didClose") {
        const std::string& uri = stringAt(document, "uri");
        if (server->documents.erase(uri))
            sendNotification(&output->messages, "textDocument/publishDiagnostics",
                             {{"uri", uri}, {"diagnostics", json::array()}});
    }
}

void handleMessage(LspServer* server, std::string_view body, LspOutput* output) {
    const json message = json::parse(body, nullptr, false);
    if (message.is_discarded())
        return sendError(&output->messages, nullptr, kParseError, "the message is no JSON");
    const json& id = member(message, "id");
    const json& method = member(message, "method");
    const bool validId = id.is_null() || id.is_string() || id.is_number_integer();
    const bool isRequest = message.is_object() && message.contains("id");
    // An answer to a request of ours; this server sends none.
    if (isRequest && validId && method.is_null() && (message.contains("result") || message.contains("error")))
        return;
    if (!message.is_object() || !method.is_string() || !validId)
        return sendError(&output->messages, validId ? id : json(), kInvalidRequest,
                         "the message is no JSON-RPC request or notification");
    const std::string& name = method.get_ref<const std::string&>();
    const json& params = member(message, "params");
    try {
        if (isRequest)
            handleRequest(server, name, id, params, output);
        else
            handleNotification(server, name, params, output);
    } catch (const BadParams& bad) {
        if (isRequest)
            sendError(&output->messages, id, kInvalidParams, bad.text);
        else
            output->log += "enumgen: warning: ignored " + excerpt(name) + ": " + bad.text + "\n";
    }
}

}  // namespace

size_t handleInput(LspServer* server, LspOutput* output) {
    const std::string_view input = server->input;
    size_t used = 0;
    while (server->state != LspServer::State::Exited) {
        const Frame frame = nextFrame(input.substr(used));
        used += frame.size;
        if (frame.kind == Frame::Kind::Incomplete) {
            server->input.erase(0, used);
            return frame.missing;
        }
        if (frame.kind == Frame::Kind::BadHeader)
            sendError(&output->messages, nullptr, kParseError, frame.error);
        else if (frame.kind == Frame::Kind::Message)
            handleMessage(server, frame.body, output);
    }
    server->input.clear();
    return 0;
}

int runLanguageServer(LspServer server) {
    readStandardInputAsBytes();
    // Only what the next message needs is read, so a read never waits for
    // bytes the editor has not sent.
    constexpr size_t kChunk = 1 << 16;
    static char chunk[kChunk];
    LspOutput output;
    for (size_t missing = 1; missing > 0;) {
        const size_t read = std::fread(chunk, 1, std::min(missing, kChunk), stdin);
        if (read == 0)
            break;
        server.input.append(chunk, read);
        missing = handleInput(&server, &output);
        std::fputs(output.log.c_str(), stderr);
        if (std::fwrite(output.messages.data(), 1, output.messages.size(), stdout) != output.messages.size() ||
            std::fflush(stdout) != 0)
            return 1;
        output = {};
    }
    // An editor that closes the input after shutdown has done no wrong.
    return server.state == LspServer::State::Exited     ? server.exitStatus
           : server.state == LspServer::State::ShutDown ? 0
                                                        : 1;
}
