// SPDX-License-Identifier: MIT
#include "list-message.h"

#include <algorithm>

namespace {

// "<file>:<line>[:<column>]: ", a message's place.
std::string place(const std::string& file, int line, int column) {
    std::string text = file + ":" + std::to_string(line);
    if (column > 0)
        text.append(":").append(std::to_string(column));
    return text.append(": ");
}

}  // namespace

ListMessage messageAt(ListPlace at, ListMessage::Kind kind, std::string text) {
    return {at.line, kind, std::move(text), at.column, at.length};
}

void noteAt(ListMessage* m, ListPlace at, std::string note) {
    m->noteLine = at.line;
    m->noteColumn = at.column;
    m->noteLength = at.length;
    m->note = std::move(note);
}

TextNamingLine namingLine(std::string before, std::string_view lead, int line, std::string_view after) {
    TextNamingLine named{std::move(before)};
    named.lineAt = named.text.size();
    named.text.append(lead).append(std::to_string(line));
    named.lineLength = named.text.size() - named.lineAt;
    named.text.append(after);
    return named;
}

ListMessage messageAt(ListPlace at, ListMessage::Kind kind, TextNamingLine text) {
    ListMessage m = messageAt(at, kind, std::move(text.text));
    m.noteLineAt = text.lineAt;
    m.noteLineLength = text.lineLength;
    return m;
}

std::string withoutNoteLine(const ListMessage& m) {
    return std::string(m.text).erase(m.noteLineAt, m.noteLineLength);
}

bool hasErrors(const ListMessages& messages) {
    return std::any_of(messages.begin(), messages.end(),
                       [](const ListMessage& m) { return m.kind == ListMessage::Kind::Error; });
}

void sortByLine(ListMessages* messages) {
    std::stable_sort(messages->begin(), messages->end(),
                     [](const ListMessage& a, const ListMessage& b) { return a.line < b.line; });
}

std::string formatMessages(const std::string& list, const ListMessages& messages) {
    std::string text;
    for (const ListMessage& m : messages) {
        text.append(place(m.file.empty() ? list : m.file, m.line, m.column))
            .append(m.kind == ListMessage::Kind::Error     ? "error: "
                    : m.kind == ListMessage::Kind::Warning ? "warning: "
                                                           : "note: ")
            .append(m.text)
            .push_back('\n');
        if (m.noteLine > 0)
            text.append(place(m.noteFile.empty() ? list : m.noteFile, m.noteLine, m.noteColumn))
                .append("note: ")
                .append(m.note)
                .push_back('\n');
    }
    return text;
}
