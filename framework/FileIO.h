// Whole-file reading and writing for the framework (INI files, pictures).
// Paths are GBK strings; on Windows they are converted to UTF-16 so that
// Chinese folder names work whatever the system code page is.
#pragma once

#include <string>

namespace fw {

// What reading a whole file came to: its bytes, no such file (nor its
// folder), or a file that is there but cannot be read (no permission,
// held by another program, an I/O error).
enum class TReadResult { Read, Missing, Unreadable };
TReadResult ReadFileBytes(const std::string& path, std::string& data);
// True when the file was read (ReadFileBytes gave Read).
bool LoadFileBytes(const std::string& path, std::string& data);
// Writes through a temporary file beside the target that then replaces
// it, so a failed write leaves the old file whole; the contents are on the
// disk before the rename. A read-only file is not replaced: false.
bool SaveFileBytes(const std::string& path, const std::string& data);
bool FileExists(const std::string& path);

}  // namespace fw
