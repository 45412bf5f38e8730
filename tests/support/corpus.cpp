#include "tests/support/corpus.h"

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

}  // namespace velmora::test
