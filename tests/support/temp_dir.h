// A temporary folder for tests, removed with everything in it when the object goes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path, ending with "/".
    const std::string& Path() const { return path_; }
    // Writes bytes into a file of the folder and returns its full path.
    std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const;
    std::string WriteFile(const std::string& name, const std::string& text) const;

private:
    std::string path_;
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);

}  // namespace velmora::test
