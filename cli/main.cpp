// velmora-info: the info pages, the CSV export and the record's fields of image files, headless.
#include <clocale>
#include <cstring>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/page_printer.h"
#include "info/csv_export.h"
#include "info/info_dispatcher.h"
#include "params/image_io.h"

namespace velmora {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: velmora-info FILE                      all pages of FILE\n"
    "       velmora-info --page NAME FILE          one page: common or special\n"
    "       velmora-info --csv OUT [--delimiter ,|;] FILE...   CSV export of many files\n"
    "       velmora-info --properties FILE         every keyed field of the record, KEY=VALUE a line\n";

int UsageError(const std::string& message) {
    if (!message.empty()) std::cerr << "velmora-info: " << message << '\n';
    std::cerr << kUsage;
    return kExitUsage;
}

// Splits a path into the folder (ending with its delimiter) and the file name, as the file
// list hands them to the dispatcher.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
    const auto cut = path.find_last_of('/');
    if (cut == std::string::npos) return {"", path};
    return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

// Selects the file as the file list would and reports whether its parameters could be read.
int SelectFile(TInfoDispatcher& dispatcher, const std::string& path) {
    if (!FileQualifies(path)) {
        std::cerr << "velmora-info: " << path << ": not a known image format\n";
        return kExitFailed;
    }
    const auto [directory, name] = SplitPath(path);
    dispatcher.FileListView1SelectItem(directory, name, true);
    if (dispatcher.Params().FileType == 0) {
        std::cerr << "velmora-info: " << path << ": the file could not be read\n";
        return kExitFailed;
    }
    return kExitOk;
}

int PrintPages(const std::string& path, const std::vector<const PageDescriptor*>& pages) {
    TImageIO imageIO;
    TInfoDispatcher dispatcher(imageIO);
    // There is no preview here, so the pages show the stored sizes. A file whose parameters
    // could not be read (a movie, whose parameters come only from the full load) gets the
    // parameter side of the full load, as the window's preview would give it.
    dispatcher.fillPreview = [&imageIO](const std::string& file) {
        if (imageIO.Params.FileType == 0) imageIO.LoadFromFile(file);
    };
    const int status = SelectFile(dispatcher, path);
    if (status != kExitOk && dispatcher.Params().FileName.empty()) return status;
    const bool headings = pages.size() > 1;
    for (const PageDescriptor* page : pages) {
        if (headings) std::cout << page->title << '\n';
        page->print(dispatcher.Session(), std::cout);
    }
    return status;
}

int PrintProperties(const std::string& path) {
    TImageIO imageIO;
    imageIO.ParamsFromFile(path);
    for (const std::string& key : TIOParamsVals::PropertyKeys()) {
        std::cout << key << '=' << EscapeLineFeeds(imageIO.Params.GetProperty(key)) << '\n';
    }
    if (imageIO.Params.FileType == 0) {
        std::cerr << "velmora-info: " << path << ": the file could not be read\n";
        return kExitFailed;
    }
    return kExitOk;
}

int ExportCsvFiles(const std::string& output, int cellDelim, const std::vector<std::string>& files) {
    TImageIO imageIO;
    TInfoDispatcher dispatcher(imageIO);
    try {
        ExportCsv(dispatcher, output, cellDelim, files);
    } catch (const std::exception& e) {
        std::cerr << "velmora-info: " << e.what() << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty()) return UsageError("");
    const std::string& first = args[0];
    if (first == "--help" || first == "-h") {
        std::cout << kUsage;
        return kExitOk;
    }
    if (first == "--page") {
        if (args.size() != 3) return UsageError("--page takes a page name and one file");
        const PageDescriptor* page = FindPage(args[1]);
        if (!page) return UsageError("unknown page \"" + args[1] + "\"");
        return PrintPages(args[2], {page});
    }
    if (first == "--properties") {
        if (args.size() != 2) return UsageError("--properties takes one file");
        return PrintProperties(args[1]);
    }
    if (first == "--csv") {
        if (args.size() < 2) return UsageError("--csv needs an output file");
        size_t next = 2;
        int cellDelim = 0;
        if (next < args.size() && args[next] == "--delimiter") {
            if (next + 1 >= args.size()) return UsageError("--delimiter needs , or ;");
            const std::string& d = args[next + 1];
            if (d != "," && d != ";") return UsageError("--delimiter takes , or ;");
            cellDelim = d == ";" ? 1 : 0;
            next += 2;
        }
        return ExportCsvFiles(args[1], cellDelim, {args.begin() + static_cast<long>(next), args.end()});
    }
    if (first.rfind("--", 0) == 0) return UsageError("unknown option \"" + first + "\"");
    if (args.size() != 1) return UsageError("one file at a time");
    std::vector<const PageDescriptor*> all;
    for (const auto& page : Pages()) all.push_back(&page);
    return PrintPages(first, all);
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    // Numbers and dates on the pages follow the user's locale.
    std::setlocale(LC_ALL, "");
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return velmora::Run(args);
    } catch (const std::exception& e) {
        std::cerr << "velmora-info: " << e.what() << '\n';
        return 1;
    }
}
