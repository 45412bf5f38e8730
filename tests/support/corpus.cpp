#include "tests/support/corpus.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace velmora::test {

std::string CorpusDir() {
#ifdef VELMORA_CORPUS_DIR
    const std::filesystem::path dir(VELMORA_CORPUS_DIR);
    std::error_code ec;
    if (std::filesystem::is_directory(dir, ec)) return dir.lexically_normal().string();
#endif
    return {};
}

std::string CorpusFile(const std::string& name) {
    const std::string dir = CorpusDir();
    if (dir.empty()) return {};
    return (std::filesystem::path(dir) / name).string();
}

std::vector<std::filesystem::path> CorpusFiles() {
    std::vector<std::filesystem::path> files;
    const std::string dir = CorpusDir();
    if (dir.empty()) return files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename() != "README.md") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace velmora::test
