#include "params/pxm_reader.h"

#include <algorithm>
#include <string>
#include <vector>

#include "params/header_reader_support.h"

namespace velmora {

namespace {

// The header is looked for within this many bytes and tokens (comments count as tokens).
constexpr int64_t kMaxHeaderBytes = 1 << 20;
constexpr int kMaxTokens = 501;
// Longer tokens are no numbers or magics the header can hold.
constexpr size_t kMaxTokenLength = 32;
constexpr size_t kMaxCommentLength = 4096;
constexpr int64_t kMaxSampleValue = 65535;

bool IsTokenChar(int c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Splits the header into tokens: runs of ASCII letters and digits; "#" starts a comment that
// runs to the end of the line; every other byte separates tokens.
class HeaderTokens {
public:
    HeaderTokens(TStream& stream, std::vector<std::string>& comments) : stream_(stream), comments_(comments) {}

    // The next token that is no comment; false at the end of the data or of the budget.
    bool Next(std::string& token) {
        while (tokens_ < kMaxTokens) {
            int c = Get();
            while (c >= 0 && c != '#' && !IsTokenChar(c)) c = Get();
            if (c < 0) return false;
            ++tokens_;
            if (c == '#') {
                ReadComment();
                continue;
            }
            token.clear();
            bool tooLong = false;
            while (c >= 0 && IsTokenChar(c)) {
                if (token.size() < kMaxTokenLength) {
                    token.push_back(char(c));
                } else {
                    tooLong = true;
                }
                c = Get();
            }
            if (c == '#') Unget();
            if (tooLong) token = "?";
            return true;
        }
        return false;
    }

private:
    void ReadComment() {
        std::string text;
        int c = Get();
        while (c >= 0 && c != '\n' && c != '\r') {
            if (text.size() < kMaxCommentLength) text.push_back(char(c));
            c = Get();
        }
        const auto blank = [](unsigned char ch) { return ch <= ' '; };
        const auto first = std::find_if_not(text.begin(), text.end(), blank);
        const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
        comments_.push_back(first < last ? std::string(first, last) : std::string());
    }

    int Get() {
        if (pos_ >= length_) {
            if (consumed_ >= kMaxHeaderBytes) return -1;
            length_ = stream_.Read(buffer_, sizeof buffer_);
            pos_ = 0;
            if (length_ == 0) return -1;
        }
        ++consumed_;
        return buffer_[pos_++];
    }
    void Unget() {
        --pos_;
        --consumed_;
    }

    TStream& stream_;
    std::vector<std::string>& comments_;
    uint8_t buffer_[4096];
    size_t length_ = 0;
    size_t pos_ = 0;
    int64_t consumed_ = 0;
    int tokens_ = 0;
};

// A decimal token, or -1 when the token is no number.
int64_t NumberOf(const std::string& token) {
    if (token.empty()) return -1;
    int64_t value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') return -1;
        value = std::min<int64_t>(value * 10 + (c - '0'), int64_t(1) << 40);
    }
    return value;
}

void ReadPxm(TStream& stream, TIOParamsVals& params, TProgressRec& progress) {
    params.PXM_Comments.clear();
    HeaderTokens tokens(stream, params.PXM_Comments);
    std::string magic, token;
    if (!tokens.Next(magic) || magic.size() != 2 || magic[0] != 'P' || magic[1] < '1' || magic[1] > '6') {
        progress.SetAborting();
        return;
    }
    const int64_t width = tokens.Next(token) ? NumberOf(token) : -1;
    const int64_t height = tokens.Next(token) ? NumberOf(token) : -1;
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) {
        progress.SetAborting();
        return;
    }
    const bool bitmap = magic[1] == '1' || magic[1] == '4';
    const int64_t maxValue = !bitmap && tokens.Next(token) ? NumberOf(token) : -1;

    params.Width = int32_t(width);
    params.Height = int32_t(height);
    SetDefaultResolution(params);
    params.FreeColorMap();
    if (bitmap) {
        params.BitsPerSample = 1;
        params.SamplesPerPixel = 1;
        return;
    }
    // Samples above 255 take two bytes (16 bits) in every grey and colour variant.
    if (maxValue > kMaxSampleValue) {
        progress.SetAborting();
        return;
    }
    params.BitsPerSample = maxValue < 256 ? 8 : 16;
    params.SamplesPerPixel = (magic[1] == '3' || magic[1] == '6') ? 3 : 1;
}

}  // namespace

void PXMReadStream(TStream& stream, TImageBitmap*, TIOParamsVals& params, TProgressRec& progress, bool) {
    RunHeaderRead(progress, [&] { ReadPxm(stream, params, progress); });
}

}  // namespace velmora
