// Copying a maker-note directory into the normalised block of the tag store.
#pragma once

#include <cstdint>

#include "params/stream.h"
#include "params/tags_handler.h"
#include "params/tiff_env.h"

namespace velmora {

// Replaces the handler's block with a little-endian copy of the maker-note directory that
// entry (tag 37500 of an EXIF directory, or nullptr) points at, and re-reads its table.
void LoadMakerNote(TStream& stream, bool littleEndian, int64_t streamBase, const TIFFTag* entry,
                   TTagsHandler& handler);

}  // namespace velmora
