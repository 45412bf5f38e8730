// TImageIO: the image input/output component that owns one parameter record.
#pragma once

#include <string>

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

class TImageIO {
public:
    TImageIO();
    TImageIO(const TImageIO&) = delete;
    TImageIO& operator=(const TImageIO&) = delete;

    TIOParamsVals Params;
    // Pixels of the last full load.
    TImageBitmap Bitmap;
    // Set by a reader that failed; cleared before each read.
    bool Aborting = false;

    // Detects the format by content and extension, resets the record and reads its parameters.
    void ParamsFromFile(const std::string& fileName);
    void ParamsFromFileFormat(const std::string& fileName, int32_t fileType);
    void ParamsFromStream(TStream& stream);
    void ParamsFromStreamFormat(TStream& stream, int32_t fileType);
    // The full load: the format by the extension alone (".avi" files as movies), the record reset
    // and read by the format's reader. Sets Aborting when the file cannot be loaded.
    void LoadFromFile(const std::string& fileName);

    // A progress record whose abort flag is this component's Aborting.
    TProgressRec MakeProgress();

private:
    // Runs the reader of fileType on the stream; parametersOnly reads no pixels.
    void RunReader(TStream& stream, int32_t fileType, bool parametersOnly);
};

}  // namespace velmora
