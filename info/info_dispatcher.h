// The info dispatcher: holds the current file, reacts to selection and folder changes,
// reads the selected file's parameters and runs the four info listers in order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "info/info_mode.h"
#include "info/info_session.h"
#include "params/image_io.h"

namespace velmora {

using InfoLister = void (*)(InfoSession& session, const std::string& path, InfoMode mode);

// The listers in the order they always run: Common, Special, Exif, IPTC.
const std::vector<InfoLister>& InfoListers();

// A file qualifies for the pages and the export when its extension is a readable known
// format or, whatever the registry says, ".AVI" in any case.
bool FileQualifies(const std::string& path);

// What a mouse move over an info list asks of the toolkit's hint.
struct HintUpdate {
    bool cancelShownHint = false;
    // The list's new hint text; empty shows no hint.
    std::string hintText;
};

class TInfoDispatcher {
public:
    explicit TInfoDispatcher(TImageIO& imageIO);
    TInfoDispatcher(const TInfoDispatcher&) = delete;
    TInfoDispatcher& operator=(const TInfoDispatcher&) = delete;

    InfoSession& Session() { return session_; }
    TImageIO& ImageIO() { return imageIO_; }
    TIOParamsVals& Params() { return imageIO_.Params; }

    const std::string& CurrentFile() const { return currentFile_; }
    void SetCurrentFile(std::string path) { currentFile_ = std::move(path); }
    int HintRowIndex() const { return hintRowIndex_; }

    // Fills the preview for the current file (the GUI sets it; may change the record).
    std::function<void(const std::string& path)> fillPreview;

    // An item of the file list changed its selected state. directory ends with a path
    // delimiter; selectedFile is the first selected item's name (empty when none).
    void FileListView1SelectItem(const std::string& directory, const std::string& selectedFile, bool selected);
    // The folder tree selected another folder: all four pages are emptied.
    void DirectoryTreeView1Change();
    // The mouse rests over row rowIndex (-1: no row) of one of the two info lists.
    HintUpdate InfoListMouseMove(const ReportList& list, int rowIndex);

    void RunListers(const std::string& path, InfoMode mode);

    void ClearCommonValues();
    void ClearSpecialList();
    void ClearExifEditor();
    void ClearIptcEditor();

private:
    TImageIO& imageIO_;
    InfoSession session_;
    std::string currentFile_;
    int hintRowIndex_ = 0;
};

}  // namespace velmora
