#include "tests/support/tiff_builder.h"

#include <stdexcept>

#include "tests/support/byte_writer.h"

namespace velmora::test {

namespace {

constexpr uint16_t kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kUndefined = 7,
                   kSRational = 10;

uint32_t Even(uint32_t pos) { return pos + (pos & 1u); }

}  // namespace

std::vector<uint8_t> TiffBuilder::U16(uint16_t v) const {
    std::vector<uint8_t> b(2);
    PatchU16(b, 0, v, littleEndian_);
    return b;
}

std::vector<uint8_t> TiffBuilder::U32(uint32_t v) const {
    std::vector<uint8_t> b(4);
    PatchU32(b, 0, v, littleEndian_);
    return b;
}

int TiffBuilder::AddDirectory() {
    dirs_.push_back(DirSpec{});
    return int(dirs_.size()) - 1;
}

int TiffBuilder::AddDetachedDirectory() {
    DirSpec d;
    d.inChain = false;
    dirs_.push_back(d);
    return int(dirs_.size()) - 1;
}

int TiffBuilder::AddSubDirectory(int parent, uint16_t tag) {
    const int dir = AddDetachedDirectory();
    PointTo(parent, tag, {dir});
    return dir;
}

TiffBuilder& TiffBuilder::Add(int dir, EntrySpec entry) {
    if (dir < 0 || size_t(dir) >= dirs_.size()) throw std::out_of_range("TiffBuilder: no such directory");
    dirs_[size_t(dir)].entries.push_back(std::move(entry));
    return *this;
}

TiffBuilder& TiffBuilder::PointTo(int dir, uint16_t tag, const std::vector<int>& targets, uint16_t type) {
    EntrySpec e;
    e.tag = tag;
    e.type = type;
    e.count = uint32_t(targets.size());
    e.ref = Ref::Directories;
    e.targets = targets;
    return Add(dir, std::move(e));
}

TiffBuilder& TiffBuilder::Entry(int dir, uint16_t tag, uint16_t type, uint32_t count,
                                const std::vector<uint8_t>& data) {
    EntrySpec e;
    e.tag = tag;
    e.type = type;
    e.count = count;
    e.data = data;
    return Add(dir, std::move(e));
}

TiffBuilder& TiffBuilder::RawEntry(int dir, uint16_t tag, uint16_t type, uint32_t count, uint32_t valueField) {
    EntrySpec e;
    e.tag = tag;
    e.type = type;
    e.count = count;
    e.rawValue = valueField;
    return Add(dir, std::move(e));
}

TiffBuilder& TiffBuilder::Byte(int dir, uint16_t tag, const std::vector<uint8_t>& values) {
    return Entry(dir, tag, kByte, uint32_t(values.size()), values);
}

TiffBuilder& TiffBuilder::Undefined(int dir, uint16_t tag, const std::vector<uint8_t>& values) {
    return Entry(dir, tag, kUndefined, uint32_t(values.size()), values);
}

TiffBuilder& TiffBuilder::Ascii(int dir, uint16_t tag, const std::string& text, bool addZero) {
    std::vector<uint8_t> data(text.begin(), text.end());
    if (addZero) data.push_back(0);
    return Entry(dir, tag, kAscii, uint32_t(data.size()), data);
}

TiffBuilder& TiffBuilder::Short(int dir, uint16_t tag, const std::vector<uint16_t>& values) {
    std::vector<uint8_t> data;
    for (uint16_t v : values) {
        const auto b = U16(v);
        data.insert(data.end(), b.begin(), b.end());
    }
    return Entry(dir, tag, kShort, uint32_t(values.size()), data);
}

TiffBuilder& TiffBuilder::Long(int dir, uint16_t tag, const std::vector<uint32_t>& values) {
    std::vector<uint8_t> data;
    for (uint32_t v : values) {
        const auto b = U32(v);
        data.insert(data.end(), b.begin(), b.end());
    }
    return Entry(dir, tag, kLong, uint32_t(values.size()), data);
}

TiffBuilder& TiffBuilder::Rational(int dir, uint16_t tag,
                                   const std::vector<std::pair<uint32_t, uint32_t>>& values) {
    std::vector<uint8_t> data;
    for (const auto& [num, den] : values) {
        for (uint32_t v : {num, den}) {
            const auto b = U32(v);
            data.insert(data.end(), b.begin(), b.end());
        }
    }
    return Entry(dir, tag, kRational, uint32_t(values.size()), data);
}

TiffBuilder& TiffBuilder::SRational(int dir, uint16_t tag,
                                    const std::vector<std::pair<int32_t, int32_t>>& values) {
    std::vector<uint8_t> data;
    for (const auto& [num, den] : values) {
        for (int32_t v : {num, den}) {
            const auto b = U32(uint32_t(v));
            data.insert(data.end(), b.begin(), b.end());
        }
    }
    return Entry(dir, tag, kSRational, uint32_t(values.size()), data);
}

int TiffBuilder::AddBlob(const std::vector<uint8_t>& bytes) {
    blobs_.push_back(bytes);
    return int(blobs_.size()) - 1;
}

TiffBuilder& TiffBuilder::PointToBlob(int dir, uint16_t tag, int blob) {
    if (blob < 0 || size_t(blob) >= blobs_.size()) throw std::out_of_range("TiffBuilder: no such blob");
    EntrySpec e;
    e.tag = tag;
    e.type = kLong;
    e.count = 1;
    e.ref = Ref::Blob;
    e.targets = {blob};
    return Add(dir, std::move(e));
}

TiffBuilder& TiffBuilder::SetNext(int dir, uint32_t offset) {
    dirs_.at(size_t(dir)).nextLiteral = offset;
    dirs_.at(size_t(dir)).nextDir.reset();
    return *this;
}

TiffBuilder& TiffBuilder::LinkNext(int dir, int targetDir) {
    dirs_.at(size_t(targetDir));
    dirs_.at(size_t(dir)).nextDir = targetDir;
    dirs_.at(size_t(dir)).nextLiteral.reset();
    return *this;
}

TiffBuilder& TiffBuilder::SetFirstOffset(uint32_t offset) {
    firstOffset_ = offset;
    return *this;
}

TiffBuilder& TiffBuilder::SetMagic(uint16_t magic) {
    magic_ = magic;
    return *this;
}

uint32_t TiffBuilder::DataSize(const EntrySpec& e) {
    if (e.rawValue) return 0;
    if (e.ref == Ref::Directories) return uint32_t(4 * e.targets.size());
    if (e.ref == Ref::Blob) return 4;
    return uint32_t(e.data.size());
}

TiffBuilder::Layout TiffBuilder::ComputeLayout() const {
    Layout layout;
    uint32_t pos = 8;
    for (const DirSpec& d : dirs_) {
        pos = Even(pos);
        layout.dirOffsets.push_back(pos);
        pos += 2 + 12 * uint32_t(d.entries.size()) + 4;
        for (const EntrySpec& e : d.entries) {
            const uint32_t n = DataSize(e);
            if (n > 4) pos = Even(pos) + n;
        }
    }
    for (const auto& blob : blobs_) {
        pos = Even(pos);
        layout.blobOffsets.push_back(pos);
        pos += uint32_t(blob.size());
    }
    layout.size = pos;
    return layout;
}

uint32_t TiffBuilder::DirectoryOffset(int dir) const { return ComputeLayout().dirOffsets.at(size_t(dir)); }

uint32_t TiffBuilder::BlobOffset(int blob) const { return ComputeLayout().blobOffsets.at(size_t(blob)); }

std::vector<uint8_t> TiffBuilder::Build(bool exifPrefix) const {
    const Layout layout = ComputeLayout();
    const bool le = littleEndian_;
    std::vector<uint8_t> out(layout.size, 0);

    out[0] = out[1] = le ? 'I' : 'M';
    PatchU16(out, 2, magic_, le);
    std::optional<int> firstChain;
    for (size_t i = 0; i < dirs_.size(); ++i) {
        if (dirs_[i].inChain) {
            firstChain = int(i);
            break;
        }
    }
    PatchU32(out, 4, firstOffset_ ? *firstOffset_ : (firstChain ? layout.dirOffsets[size_t(*firstChain)] : 0), le);

    for (size_t i = 0; i < dirs_.size(); ++i) {
        const DirSpec& d = dirs_[i];
        uint32_t pos = layout.dirOffsets[i];
        PatchU16(out, pos, uint16_t(d.entries.size()), le);
        uint32_t dataPos = pos + 2 + 12 * uint32_t(d.entries.size()) + 4;
        for (size_t k = 0; k < d.entries.size(); ++k) {
            const EntrySpec& e = d.entries[k];
            const uint32_t at = pos + 2 + 12 * uint32_t(k);
            PatchU16(out, at, e.tag, le);
            PatchU16(out, at + 2, e.type, le);
            PatchU32(out, at + 4, e.count, le);

            std::vector<uint8_t> bytes;
            if (e.ref == Ref::Directories) {
                for (int t : e.targets) {
                    const auto b = U32(layout.dirOffsets.at(size_t(t)));
                    bytes.insert(bytes.end(), b.begin(), b.end());
                }
            } else if (e.ref == Ref::Blob) {
                bytes = U32(layout.blobOffsets.at(size_t(e.targets[0])));
            } else {
                bytes = e.data;
            }

            if (e.rawValue) {
                PatchU32(out, at + 8, *e.rawValue, le);
            } else if (bytes.size() <= 4) {
                for (size_t b = 0; b < bytes.size(); ++b) out[at + 8 + b] = bytes[b];
            } else {
                dataPos = Even(dataPos);
                PatchU32(out, at + 8, dataPos, le);
                for (size_t b = 0; b < bytes.size(); ++b) out[dataPos + b] = bytes[b];
                dataPos += uint32_t(bytes.size());
            }
        }

        uint32_t next = 0;
        if (d.nextLiteral) {
            next = *d.nextLiteral;
        } else if (d.nextDir) {
            next = layout.dirOffsets[size_t(*d.nextDir)];
        } else if (d.inChain) {
            for (size_t j = i + 1; j < dirs_.size(); ++j) {
                if (dirs_[j].inChain) {
                    next = layout.dirOffsets[j];
                    break;
                }
            }
        }
        PatchU32(out, pos + 2 + 12 * uint32_t(d.entries.size()), next, le);
    }

    for (size_t i = 0; i < blobs_.size(); ++i) {
        for (size_t b = 0; b < blobs_[i].size(); ++b) out[layout.blobOffsets[i] + b] = blobs_[i][b];
    }

    if (exifPrefix) {
        static const uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
        out.insert(out.begin(), kExif, kExif + 6);
    }
    return out;
}

}  // namespace velmora::test
