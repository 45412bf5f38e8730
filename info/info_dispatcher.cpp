#include "info/info_dispatcher.h"

#include "info/common_info.h"
#include "info/special_info.h"
#include "params/file_name.h"
#include "params/format_detection.h"

namespace velmora {

const std::vector<InfoLister>& InfoListers() {
    static const std::vector<InfoLister> listers{
        &ListCommonInfo,
        &ListSpecialInfo,
    };
    return listers;
}

bool FileQualifies(const std::string& path) {
    return IsKnownFormat(path) || HasFileExt(path, ".AVI");
}

TInfoDispatcher::TInfoDispatcher(TImageIO& imageIO) : imageIO_(imageIO), session_(imageIO.Params) {
    CreateCommonInfoRows(session_.CommonInfoList);
}

void TInfoDispatcher::FileListView1SelectItem(const std::string& directory, const std::string& selectedFile,
                                              bool selected) {
    if (!selected) return;
    const std::string path = directory + selectedFile;
    if (path == currentFile_) return;
    currentFile_ = path;
    if (!FileQualifies(currentFile_)) return;
    imageIO_.ParamsFromFile(currentFile_);
    if (fillPreview) fillPreview(currentFile_);
    RunListers(currentFile_, InfoMode::List);
}

void TInfoDispatcher::DirectoryTreeView1Change() {
    ClearCommonValues();
    ClearSpecialList();
    ClearExifEditor();
    ClearIptcEditor();
}

HintUpdate TInfoDispatcher::InfoListMouseMove(const ReportList& list, int rowIndex) {
    HintUpdate update;
    const bool noRow = rowIndex < 0 || rowIndex >= list.RowCount();
    if (noRow || list.Row(rowIndex).subItems.size() < 2) {
        hintRowIndex_ = -1;
        update.cancelShownHint = true;
        return update;
    }
    if (rowIndex != hintRowIndex_) update.cancelShownHint = true;
    hintRowIndex_ = rowIndex;
    update.hintText = list.Row(rowIndex).SubItem(1);
    return update;
}

void TInfoDispatcher::RunListers(const std::string& path, InfoMode mode) {
    for (InfoLister lister : InfoListers()) lister(session_, path, mode);
}

void TInfoDispatcher::ClearCommonValues() {
    ReportList& list = session_.CommonInfoList;
    for (int row = 0; row < list.RowCount(); ++row) list.SetSubItem(row, 0, "");
}

void TInfoDispatcher::ClearSpecialList() {
    session_.SpecialInfoList.Clear();
}

void TInfoDispatcher::ClearExifEditor() {
    session_.ExifValueListEditor.ClearKeyedRows();
}

void TInfoDispatcher::ClearIptcEditor() {
    session_.IptcValueListEditor.ClearKeyedRows();
}

}  // namespace velmora
