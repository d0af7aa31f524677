// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace solvena::testing {

// A fresh folder under the system's temporary folder, removed with all its
// contents when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

  private:
    std::string path_;
};

void WriteBytes(const std::string& path, std::string_view bytes);
// The names in a folder, "." and ".." left out, sorted; none when it cannot
// be read.
std::vector<std::string> FolderEntries(const std::string& folder);
std::string ReadBytes(const std::string& path);
bool RunningAsRoot();

}  // namespace solvena::testing
