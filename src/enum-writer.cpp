#include "enum-writer.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

bool writeOutput(const std::string& path, std::string text, OutputRun* run) {
    run->paths.push_back(path);
    std::string err;
    bool differs = false;
    if (run->mode == OutputMode::Check)
        compareFile(path, text, &differs, &err, run->missing);
    else
        differs = overwrite(path, text, &err, run->missing);
    if (!err.empty()) {
        run->errors.push_back(err);
        return false;
    }
    if (!differs)
        return true;
    OutputEvent& event = run->events.emplace_back();
    event.kind = run->mode == OutputMode::Check ? OutputEvent::Kind::OutOfDate : OutputEvent::Kind::Written;
    event.path = path;
    if (run->mode == OutputMode::Write)
        event.text = std::move(text);
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
        std::string path = run->dir + name;
        if (!(name.ends_with(".hpp") || name.ends_with(".cpp")) || outputs.count(path))
            continue;
        if (run->mode == OutputMode::Check) {
            run->events.push_back({OutputEvent::Kind::OutOfDate, std::move(path), {}});
            continue;
        }
        bool removed = false;
        if (!removeFile(path, &removed, &err)) {
            run->errors.push_back(err);
            ok = false;
        } else if (removed) {
            run->events.push_back({OutputEvent::Kind::Removed, std::move(path), {}});
        }
    }
    return ok;
}
