// Whole-file reading and writing for the framework (INI files, pictures).
// Paths are GBK strings; on Windows they are converted to UTF-16 so that
// Chinese folder names work whatever the system code page is.
#pragma once

#include <string>

namespace fw {

bool LoadFileBytes(const std::string& path, std::string& data);
// Writes through a temporary file beside the target that then replaces
// it, so a failed write leaves the old file whole; the contents are on the
// disk before the rename. A read-only file is not replaced: false.
bool SaveFileBytes(const std::string& path, const std::string& data);
bool FileExists(const std::string& path);

}  // namespace fw
