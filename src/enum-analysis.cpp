// SPDX-License-Identifier: MIT
#include "enum-analysis.h"

#include "enum-reader.h"
#include "enum-values.h"

namespace {

// The lock the list makes, or none when the lock file is damaged or, under
// LockMode::Frozen, missing; its own mistakes go to `lockMessages`.
std::optional<std::string> checkLock(const LockInput& input, std::vector<EnumType>* enums, ListMessages* messages,
                                     ListMessages* lockMessages) {
    Lock old;
    if (input.text) {
        old = parseLock(*input.text, input.path, lockMessages);
    } else if (input.mode == LockMode::Frozen) {
        ListMessage m{1, ListMessage::Kind::Error, "there is no lock yet; a run without --locked makes it"};
        m.file = input.path;
        lockMessages->push_back(std::move(m));
    }
    if (hasErrors(*lockMessages))
        return std::nullopt;
    return formatLock(relock(enums, old, input.mode, input.path, messages));
}

}  // namespace

ListAnalysis analyzeList(std::string text, const AnalysisOptions& options) {
    ListAnalysis analysis;
    analysis.text = analysis.texts.keep(std::move(text));
    parseEnumList(analysis.text, &analysis.enums, &analysis.messages);
    checkEnums(analysis.enums, options.qml, &analysis.messages);
    for (EnumType& type : analysis.enums)
        markAliases(&type);
    checkOutputPaths(analysis.enums, options.outputDir, &analysis.messages);
    ListMessages lockMessages;
    if (options.lock)
        analysis.lockText = checkLock(*options.lock, &analysis.enums, &analysis.messages, &lockMessages);
    sortByLine(&analysis.messages);
    analysis.messages.insert(analysis.messages.end(), lockMessages.begin(), lockMessages.end());
    return analysis;
}
