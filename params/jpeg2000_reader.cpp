#include "params/jpeg2000_reader.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "params/header_reader_support.h"

namespace velmora {

namespace {

// Boxes a header may nest and a file may hold before its code stream; real files have a few dozen.
constexpr int kMaxBoxes = 4096;
constexpr uint32_t kMaxComponents = 16384;

constexpr uint32_t BoxType(const char (&name)[5]) {
    return uint32_t(uint8_t(name[0])) << 24 | uint32_t(uint8_t(name[1])) << 16 | uint32_t(uint8_t(name[2])) << 8 |
           uint32_t(uint8_t(name[3]));
}

uint64_t Be64(const uint8_t* p) { return uint64_t(Be32(p)) << 32 | Be32(p + 4); }

// Reads up to count bytes of [pos, limit); the box contents a reader needs are small.
std::vector<uint8_t> ReadSpan(TStream& stream, int64_t pos, int64_t limit, size_t count) {
    if (limit - pos < int64_t(count)) count = limit > pos ? size_t(limit - pos) : 0;
    std::vector<uint8_t> bytes(count);
    stream.Seek(pos);
    bytes.resize(stream.Read(bytes.data(), count));
    return bytes;
}

enum class ColourFamily { Grey, RGB, YCbCr, Unknown };

struct Component {
    int32_t precision = 0;
};

struct CodeStreamHeader {
    int64_t width = 0;
    int64_t height = 0;
    std::vector<Component> components;
};

// The SIZ marker right after SOC. False when it is missing, cut short or inconsistent.
bool ReadCodeStreamHeader(TStream& stream, int64_t pos, int64_t limit, CodeStreamHeader& header) {
    uint8_t fixed[42];
    if (!ReadWithin(stream, pos, limit, fixed, sizeof fixed)) return false;
    if (Be16(fixed) != 0xFF4F || Be16(fixed + 2) != 0xFF51) return false;
    const uint32_t markerLength = Be16(fixed + 4);
    const uint32_t width = Be32(fixed + 8);
    const uint32_t height = Be32(fixed + 12);
    const uint32_t left = Be32(fixed + 16);
    const uint32_t top = Be32(fixed + 20);
    const uint32_t tileWidth = Be32(fixed + 24);
    const uint32_t tileHeight = Be32(fixed + 28);
    const uint32_t count = Be16(fixed + 40);
    if (count == 0 || count > kMaxComponents || markerLength < 38 + 3 * count) return false;
    if (width <= left || height <= top || tileWidth == 0 || tileHeight == 0) return false;
    if (width - left > 0x7FFFFFFFu || height - top > 0x7FFFFFFFu) return false;

    std::vector<uint8_t> table(size_t(count) * 3);
    if (!ReadWithin(stream, pos + sizeof fixed, limit, table.data(), table.size())) return false;
    header.components.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = &table[size_t(i) * 3];
        const int32_t precision = (entry[0] & 0x7F) + 1;
        if (precision > 38 || entry[1] == 0 || entry[2] == 0) return false;
        header.components[i].precision = precision;
    }
    header.width = width - left;
    header.height = height - top;
    return true;
}

struct Box {
    uint32_t type = 0;
    int64_t start = 0;
    int64_t dataStart = 0;
    int64_t end = 0;
    // The box claims more bytes than its container holds; end is clipped to the container.
    bool cut = false;
};

// Reads the box header at pos inside [pos, limit). A length of 0 means "to the end of the
// container", 1 a 64-bit length after the type. False for a header that cannot be read or
// a length shorter than the header.
bool ReadBoxHeader(TStream& stream, int64_t pos, int64_t limit, Box& box) {
    uint8_t header[16];
    if (!ReadWithin(stream, pos, limit, header, 8)) return false;
    const uint32_t length = Be32(header);
    box.type = Be32(header + 4);
    box.start = pos;
    uint64_t total = length;
    int64_t headerSize = 8;
    if (length == 1) {
        if (!ReadWithin(stream, pos + 8, limit, header + 8, 8)) return false;
        total = Be64(header + 8);
        headerSize = 16;
    } else if (length == 0) {
        total = uint64_t(limit - pos);
    }
    if (total < uint64_t(headerSize)) return false;
    box.dataStart = pos + headerSize;
    box.cut = total > uint64_t(limit - pos);
    box.end = box.cut ? limit : pos + int64_t(total);
    return true;
}

struct Jp2Header {
    bool hasImageHeader = false;
    uint32_t componentCount = 0;
    uint8_t compression = 0;
    // From the first colour specification box.
    bool hasColour = false;
    uint8_t colourMethod = 0;
    uint32_t enumeratedColourSpace = 0;
    uint32_t iccColourSpace = 0;
    bool iccReadable = false;
    // Palette column depths and the channel mapping.
    bool hasPalette = false;
    std::vector<int32_t> paletteDepths;
    struct Mapping {
        uint16_t component = 0;
        uint8_t type = 0;
        uint8_t column = 0;
    };
    std::vector<Mapping> mappings;
    // Channel that carries the first colour (grey, red or luminance) per the channel definitions.
    std::optional<uint16_t> firstColourChannel;
    bool hasChannelDefinitions = false;
};

bool ReadHeaderBox(TStream& stream, const Box& box, Jp2Header& header) {
    const int64_t size = box.end - box.dataStart;
    switch (box.type) {
        case BoxType("ihdr"): {
            if (header.hasImageHeader) return true;
            uint8_t data[14];
            if (!ReadWithin(stream, box.dataStart, box.end, data, sizeof data)) return false;
            header.hasImageHeader = true;
            header.componentCount = Be16(data + 8);
            header.compression = data[11];
            return true;
        }
        case BoxType("colr"): {
            if (header.hasColour) return true;
            uint8_t data[3 + 20];
            if (!ReadWithin(stream, box.dataStart, box.end, data, 3)) return false;
            header.hasColour = true;
            header.colourMethod = data[0];
            if (data[0] == 1) {
                if (!ReadWithin(stream, box.dataStart + 3, box.end, data + 3, 4)) return false;
                header.enumeratedColourSpace = Be32(data + 3);
            } else if (data[0] == 2) {
                // The colour space signature sits at byte 16 of the profile's 128-byte header.
                header.iccReadable = size - 3 >= 128 && ReadWithin(stream, box.dataStart + 3, box.end, data + 3, 20);
                if (header.iccReadable) header.iccColourSpace = Be32(data + 3 + 16);
            }
            return true;
        }
        case BoxType("pclr"): {
            uint8_t counts[3];
            if (!ReadWithin(stream, box.dataStart, box.end, counts, 3)) return false;
            const std::vector<uint8_t> depths = ReadSpan(stream, box.dataStart + 3, box.end, counts[2]);
            if (depths.size() != counts[2]) return false;
            header.hasPalette = true;
            header.paletteDepths.clear();
            for (uint8_t depth : depths) header.paletteDepths.push_back((depth & 0x7F) + 1);
            return true;
        }
        case BoxType("cmap"): {
            const std::vector<uint8_t> data = ReadSpan(stream, box.dataStart, box.end, size_t(size));
            header.mappings.clear();
            for (size_t i = 0; i + 4 <= data.size(); i += 4) {
                header.mappings.push_back({Be16(&data[i]), data[i + 2], data[i + 3]});
            }
            return true;
        }
        case BoxType("cdef"): {
            uint8_t countBytes[2];
            if (!ReadWithin(stream, box.dataStart, box.end, countBytes, 2)) return false;
            const uint16_t count = Be16(countBytes);
            const std::vector<uint8_t> data = ReadSpan(stream, box.dataStart + 2, box.end, size_t(count) * 6);
            header.hasChannelDefinitions = true;
            for (size_t i = 0; i + 6 <= data.size(); i += 6) {
                const uint16_t channel = Be16(&data[i]);
                const uint16_t type = Be16(&data[i + 2]);
                const uint16_t association = Be16(&data[i + 4]);
                if (type == 0 && association == 1 && !header.firstColourChannel) header.firstColourChannel = channel;
            }
            return true;
        }
        default:
            return true;
    }
}

ColourFamily FamilyOf(const Jp2Header& header, size_t componentCount) {
    const ColourFamily byCount = componentCount >= 3 ? ColourFamily::RGB : ColourFamily::Grey;
    if (!header.hasColour) return byCount;
    if (header.colourMethod == 1) {
        switch (header.enumeratedColourSpace) {
            case 16:  // sRGB
                return ColourFamily::RGB;
            case 17:  // greyscale
                return ColourFamily::Grey;
            case 18:  // sYCC
                return ColourFamily::YCbCr;
            default:
                return ColourFamily::Unknown;
        }
    }
    if (header.colourMethod == 2) {
        if (!header.iccReadable) return ColourFamily::Unknown;
        switch (header.iccColourSpace) {
            case BoxType("RGB "):
                return ColourFamily::RGB;
            case BoxType("GRAY"):
                return ColourFamily::Grey;
            case BoxType("YCbr"):
                return ColourFamily::YCbCr;
            default:
                return ColourFamily::Unknown;
        }
    }
    return byCount;
}

// Precision of the channel that carries the first colour: through the palette when the
// channel is mapped to a palette column, else of the code-stream component itself.
int32_t FirstColourPrecision(const Jp2Header& header, const CodeStreamHeader& codeStream) {
    const auto& components = codeStream.components;
    uint32_t channel = 0;
    if (header.hasChannelDefinitions) {
        if (!header.firstColourChannel) return components[0].precision;
        channel = *header.firstColourChannel;
    }
    if (header.hasPalette && channel < header.mappings.size()) {
        const auto& mapping = header.mappings[channel];
        if (mapping.type == 1 && mapping.column < header.paletteDepths.size()) {
            return header.paletteDepths[mapping.column];
        }
        if (mapping.component < components.size()) return components[mapping.component].precision;
    }
    return channel < components.size() ? components[channel].precision : components[0].precision;
}

void SetParameters(TIOParamsVals& params, const CodeStreamHeader& codeStream, ColourFamily family,
                   int32_t bitsPerSample) {
    params.Width = static_cast<int32_t>(codeStream.width);
    params.Height = static_cast<int32_t>(codeStream.height);
    params.SamplesPerPixel = family == ColourFamily::Grey ? 1 : 3;
    params.BitsPerSample = bitsPerSample;
    SetDefaultResolution(params);
    params.FreeColorMap();
}

// The boxes after the signature: the file type box first, then the header boxes (inside jp2h,
// or loose) up to the contiguous code stream box, whose SIZ marker gives the geometry.
bool ReadJp2(TStream& stream, int64_t pos, int64_t end, TIOParamsVals& params) {
    Jp2Header header;
    bool first = true;
    // Containers being walked: the file, and the jp2h box while inside it.
    int64_t limit = end;
    int64_t outerResume = -1;
    for (int boxes = 0; boxes < kMaxBoxes; ++boxes) {
        if (pos >= limit) {
            if (outerResume < 0) return false;  // no code stream
            pos = outerResume;
            limit = end;
            outerResume = -1;
            continue;
        }
        Box box;
        if (!ReadBoxHeader(stream, pos, limit, box)) return false;
        if (first) {
            if (box.type != BoxType("ftyp") || box.cut) return false;
            first = false;
            pos = box.end;
            continue;
        }
        if (box.type == BoxType("jp2c")) {
            CodeStreamHeader codeStream;
            if (!ReadCodeStreamHeader(stream, box.dataStart, box.end, codeStream)) return false;
            if (!header.hasImageHeader || header.compression != 7) return false;
            const ColourFamily family = FamilyOf(header, codeStream.components.size());
            if (family == ColourFamily::Unknown) return false;
            SetParameters(params, codeStream, family, FirstColourPrecision(header, codeStream));
            return true;
        }
        if (box.cut) return false;
        if (box.type == BoxType("jp2h") && outerResume < 0) {
            outerResume = box.end;
            limit = box.end;
            pos = box.dataStart;
            continue;
        }
        if (!ReadHeaderBox(stream, box, header)) return false;
        pos = box.end;
    }
    return false;
}

bool ReadBareCodeStream(TStream& stream, int64_t pos, int64_t end, TIOParamsVals& params) {
    CodeStreamHeader codeStream;
    if (!ReadCodeStreamHeader(stream, pos, end, codeStream)) return false;
    const ColourFamily family = codeStream.components.size() >= 3 ? ColourFamily::RGB : ColourFamily::Grey;
    SetParameters(params, codeStream, family, codeStream.components[0].precision);
    return true;
}

}  // namespace

void J2KReadStream(TStream& stream, TImageBitmap* /*bitmap*/, TIOParamsVals& params, TProgressRec& progress,
                   bool /*parametersOnly*/) {
    RunHeaderRead(progress, [&] {
        const int64_t start = stream.Position();
        const int64_t end = stream.Size();
        uint8_t signature[12];
        bool done = false;
        if (ReadWithin(stream, start, end, signature, 12) && Be32(signature) == 12 &&
            Be32(signature + 4) == 0x6A502020 && Be32(signature + 8) == 0x0D0A870A) {
            done = ReadJp2(stream, start + 12, end, params);
        } else if (ReadWithin(stream, start, end, signature, 4) && Be16(signature) == 0xFF4F &&
                   Be16(signature + 2) == 0xFF51) {
            done = ReadBareCodeStream(stream, start, end, params);
        }
        if (!done) progress.SetAborting();
    });
}

}  // namespace velmora
