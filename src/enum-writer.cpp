// SPDX-License-Identifier: MIT
#include "enum-writer.h"

#include <algorithm>
#include <unordered_set>

namespace {

void tell(OutputRun* run, OutputEvent::Kind kind, std::string_view path, std::string_view text) {
    ++run->changes;
    if (run->tell)
        run->tell(run->mode, {kind, path, text});
}

}  // namespace

bool writeOutput(const std::string& path, const std::string& text, OutputRun* run) {
    run->paths.push_back(path);
    std::string err;
    bool differs = false;
    const bool ok = run->mode == OutputMode::Check ? compareFile(path, text, &differs, &err, run->writing.missing)
                                                   : overwrite(path, text, &run->writing, &differs, &err);
    if (!ok) {
        run->errors.push_back(err);
        return false;
    }
    if (!differs)
        return true;
    if (run->mode == OutputMode::Check)
        tell(run, OutputEvent::Kind::OutOfDate, path, {});
    else
        tell(run, OutputEvent::Kind::Written, path, text);
    return true;
}

bool removeStaleOutputs(OutputRun* run) {
    std::vector<std::string> names;
    std::string err;
    if (!listFiles(run->dir, &names, &err)) {
        run->errors.push_back(err);
        return false;
    }
    std::sort(names.begin(), names.end());
    const std::unordered_set<std::string> outputs(run->paths.begin(), run->paths.end());
    bool ok = true;
    for (const std::string& name : names) {
        const std::string path = run->dir + name;
        if (!(name.ends_with(".hpp") || name.ends_with(".cpp")) || outputs.count(path))
            continue;
        if (run->mode == OutputMode::Check) {
            tell(run, OutputEvent::Kind::OutOfDate, path, {});
            continue;
        }
        bool removed = false;
        if (!removeFile(path, &removed, &err)) {
            run->errors.push_back(err);
            ok = false;
        } else if (removed) {
            tell(run, OutputEvent::Kind::Removed, path, {});
        }
    }
    return ok;
}
