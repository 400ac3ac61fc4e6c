// SPDX-License-Identifier: MIT
// libFuzzer target: an enum list and a lock, "<list>\n%%\n<lock>", through the
// analysis in each lock mode. Besides crashes it aborts when a lock does not
// read back as it was written, or when the lock a run writes for a list does
// not hold that same list under --locked.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "enum-analysis.h"

namespace {

constexpr std::string_view kSeparator = "\n%%\n";

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "lock-fuzz: %s\n", what);
        std::abort();
    }
}

bool lockErrors(const ListMessages& messages) {
    for (const ListMessage& m : messages)
        if (m.kind == ListMessage::Kind::Error && (!m.file.empty() || !m.noteFile.empty()))
            return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find(kSeparator);
    const std::string_view list = input.substr(0, split);
    const std::string lock = split == std::string_view::npos ? std::string() : std::string(input.substr(split + 4));

    ListMessages ignored;
    const std::string once = formatLock(parseLock(lock, "app.lock", &ignored));
    ListMessages messages;
    check(formatLock(parseLock(once, "app.lock", &messages)) == once && messages.empty(),
          "a written lock reads back otherwise");

    for (LockMode mode : {LockMode::Extend, LockMode::Update, LockMode::Frozen}) {
        const ListAnalysis analysis =
            analyzeList(std::string(list), {kOutputDir, QmlNames::Unchecked, LockInput{"app.lock", lock, mode}});
        if (!analysis.lockText || hasErrors(analysis.messages))
            continue;
        const ListAnalysis again =
            analyzeList(std::string(list),
                        {kOutputDir, QmlNames::Unchecked, LockInput{"app.lock", *analysis.lockText, LockMode::Frozen}});
        check(!lockErrors(again.messages) && again.lockText == analysis.lockText,
              "the lock written for a list does not hold it under --locked");
    }
    return 0;
}
