// The parameters of PCX files and of the pages of multipage PCX (DCX) files.
#pragma once

#include <cstdint>

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Reads the 128-byte header at the stream's position: size, depth, planes, resolution,
// version and palette. Pixels are not decoded here: bitmap and parametersOnly only keep the
// signature every reader shares. A bad header sets the abort flag.
void ReadPcxStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly);
// Reads the page params.DCX_ImageIndex (held within the page table) of a DCX file at the
// stream's position; every image index of the record becomes that page's number.
void DCXReadStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly);

// The header of a PCX image of length bytes at start (the 256-colour palette is taken from
// the end of those bytes); false for a bad header.
bool ReadPcxHeaderAt(TStream& stream, int64_t start, int64_t length, TIOParamsVals& params);

}  // namespace velmora
