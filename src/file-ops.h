#pragma once

#include <string>

enum class MissingFile { ReadsEmpty, IsError };

// "path: cannot <action>: <reason of errnum>", the one shape of file errors.
std::string fileError(const std::string& path, const char* action, int errnum);

// Reads the whole file at `path` into `text`. A file that does not exist reads
// as empty unless `missing` says it is an error; every other failure fills
// `err` and returns false.
bool readAll(const std::string& path, std::string* text, std::string* err,
             MissingFile missing = MissingFile::ReadsEmpty);

// Makes the file at `path` hold exactly `text`, writing only when it does not
// already, so an unchanged output keeps its time stamp. A missing file counts
// as empty. The new text goes to a temporary file beside `path` that is renamed
// over it, so a failed write leaves the old file as it was; an existing file
// keeps its mode. A rewritten file is announced on standard output with
// "Write to <path>" and echoed in full. Returns true when the content differed
// from `text`; a failure fills `err` (and nothing is announced).
bool overwrite(const std::string& path, const std::string& text, std::string* err);

// True when both paths name the same existing directory.
bool sameDirectory(const std::string& a, const std::string& b);
