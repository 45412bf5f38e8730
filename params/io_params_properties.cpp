// Access to the record's fields by key: GetProperty, SetProperty, PropertyKeys.
#include <charconv>
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "params/ascii_text.h"
#include "params/code_page.h"
#include "params/io_params.h"
#include "params/user_locale.h"

namespace velmora {
namespace {

constexpr std::string_view kInvalidProperty = "INVALID PROPERTY";
constexpr std::string_view kFileTypeStrKey = "FILETYPESTR";
constexpr std::string_view kColorMapItemKey = "COLORMAPITEM";

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string WithoutControlChars(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (uint8_t(c) >= 32 && uint8_t(c) != 127) out += c;
    return out;
}

// A decimal integer with an optional sign, blanks around it ignored; false when it is none
// or does not fit in 32 bits.
bool ParseInt32(std::string_view text, int32_t& value) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    int32_t result = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    value = result;
    return true;
}

// Read in the user's locale; failing that, once more with the first "," turned into "."
// (or, without a ",", the first "." into ","); failing that, 0.
double ParseDoubleText(const std::string& text) {
    double value = 0;
    if (ParseReal(text, value)) return value;
    std::string retry = text;
    if (size_t comma = retry.find(','); comma != std::string::npos)
        retry[comma] = '.';
    else if (size_t dot = retry.find('.'); dot != std::string::npos)
        retry[dot] = ',';
    else
        return 0;
    return ParseReal(retry, value) ? value : 0;
}

std::string ShortestDoubleText(double value) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::string ColorText(const TRGB& c) {
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

// "r,g,b": each part trimmed and read as an integer (0 when it is no number, held within
// 0..255); fewer than three parts give black.
TRGB ParseColorText(std::string_view text) {
    int32_t parts[3] = {0, 0, 0};
    int count = 0;
    while (count < 3) {
        const size_t comma = text.find(',');
        int32_t v = 0;
        if (!ParseInt32(text.substr(0, comma), v)) v = 0;
        parts[count++] = v < 0 ? 0 : v > 255 ? 255 : v;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (count < 3) return kBlack;
    TRGB c;
    c.r = uint8_t(parts[0]);
    c.g = uint8_t(parts[1]);
    c.b = uint8_t(parts[2]);
    return c;
}

template <PropertyForm F, class T>
std::string FieldText(const T& v) {
    if constexpr (F == PropertyForm::Int) {
        return std::to_string(v);
    } else if constexpr (F == PropertyForm::Enum) {
        return std::to_string(int(v));
    } else if constexpr (F == PropertyForm::Bool) {
        return v ? "1" : "0";
    } else if constexpr (F == PropertyForm::Color) {
        return ColorText(v);
    } else if constexpr (F == PropertyForm::Double) {
        return ShortestDoubleText(v);
    } else if constexpr (F == PropertyForm::String) {
        return v;
    } else if constexpr (F == PropertyForm::Wide) {
        return WideToCodePage(v);
    } else if constexpr (F == PropertyForm::Date) {
        return FormatShortDate(v);
    } else {
        return {};
    }
}

template <PropertyForm F, class T>
void FieldFromText(T& field, const std::string& text, int32_t fallback) {
    if constexpr (F == PropertyForm::Int) {
        if (!ParseInt32(text, field)) field = fallback;
    } else if constexpr (F == PropertyForm::Enum) {
        // Enumerations are bytes: a number outside 0..255 counts as unreadable.
        int32_t v = 0;
        if (!ParseInt32(text, v) || v < 0 || v > 255) v = fallback;
        field = static_cast<T>(v);
    } else if constexpr (F == PropertyForm::Bool) {
        const std::string upper = UpperAscii(text);
        field = upper == "1" || upper == "TRUE" || upper == "T";
    } else if constexpr (F == PropertyForm::Color) {
        field = ParseColorText(text);
    } else if constexpr (F == PropertyForm::Double) {
        field = ParseDoubleText(text);
    } else if constexpr (F == PropertyForm::String) {
        field = text;
    } else if constexpr (F == PropertyForm::Wide) {
        field = CodePageToWide(text);
    } else if constexpr (F == PropertyForm::Date) {
        TDateTime date = 0;
        if (ParseShortDate(text, date)) field = date;
    }
}

struct PropertyField {
    const char* key;  // nullptr: the field has no key
    PropertyAccess access;
    std::string (*get)(const TIOParamsVals&);
    void (*set)(TIOParamsVals&, const std::string&);
};

#define VELMORA_PROPERTY_FIELD(type, name, def, key, form, access, fallback)                 \
    PropertyField{key, PropertyAccess::access,                                              \
                  [](const TIOParamsVals& p) { return FieldText<PropertyForm::form>(p.name); }, \
                  [](TIOParamsVals& p, const std::string& v) {                              \
                      FieldFromText<PropertyForm::form>(p.name, v, fallback);               \
                  }},

const PropertyField kAllFields[] = {
    VELMORA_GENERAL_FIELDS(VELMORA_PROPERTY_FIELD)
    VELMORA_EXIF_FIELDS(VELMORA_PROPERTY_FIELD)
};

#undef VELMORA_PROPERTY_FIELD

// Keys whose fields are kept together with others: after the text is stored, the field's
// setter runs with the stored value.
struct SetterRoute {
    std::string_view key;
    void (*apply)(TIOParamsVals&);
};

const SetterRoute kSetterRoutes[] = {
    {"DPIX", [](TIOParamsVals& p) { p.SetDpiX(p.DpiX); }},
    {"DPIY", [](TIOParamsVals& p) { p.SetDpiY(p.DpiY); }},
    {"IMAGEINDEX", [](TIOParamsVals& p) { p.SetImageIndex(p.ImageIndex); }},
    {"TIFF_IMAGEINDEX", [](TIOParamsVals& p) { p.SetImageIndex(p.TIFF_ImageIndex); }},
    {"DCX_IMAGEINDEX", [](TIOParamsVals& p) { p.SetImageIndex(p.DCX_ImageIndex); }},
    {"GIF_IMAGEINDEX", [](TIOParamsVals& p) { p.SetImageIndex(p.GIF_ImageIndex); }},
    {"ICO_IMAGEINDEX", [](TIOParamsVals& p) { p.SetImageIndex(p.ICO_ImageIndex); }},
    {"CUR_IMAGEINDEX", [](TIOParamsVals& p) { p.SetImageIndex(p.CUR_ImageIndex); }},
    {"IMAGECOUNT", [](TIOParamsVals& p) { p.SetImageCount(p.ImageCount); }},
    {"TIFF_ORIENTATION", [](TIOParamsVals& p) { p.SetTIFF_Orientation(p.TIFF_Orientation); }},
    {"EXIF_ORIENTATION", [](TIOParamsVals& p) { p.SetEXIF_Orientation(p.EXIF_Orientation); }},
    {"EXIF_XRESOLUTION", [](TIOParamsVals& p) { p.SetEXIF_XResolution(p.EXIF_XResolution); }},
    {"EXIF_YRESOLUTION", [](TIOParamsVals& p) { p.SetEXIF_YResolution(p.EXIF_YResolution); }},
    {"GETTHUMBNAIL", [](TIOParamsVals& p) { p.SetGetThumbnail(p.GetThumbnail); }},
    {"JPEG_GETEXIFTHUMBNAIL", [](TIOParamsVals& p) { p.SetJPEG_GetExifThumbnail(p.JPEG_GetExifThumbnail); }},
    {"RAW_GETEXIFTHUMBNAIL", [](TIOParamsVals& p) { p.SetRAW_GetExifThumbnail(p.RAW_GetExifThumbnail); }},
};

const std::unordered_map<std::string_view, const PropertyField*>& FieldsByKey() {
    static const auto map = [] {
        std::unordered_map<std::string_view, const PropertyField*> m;
        for (const PropertyField& f : kAllFields)
            if (f.key) m.emplace(f.key, &f);
        return m;
    }();
    return map;
}

const PropertyField* FindField(const std::string& key) {
    const auto& map = FieldsByKey();
    const auto it = map.find(key);
    return it == map.end() ? nullptr : it->second;
}

// The palette index of a "COLORMAPITEMn" key, or -1 when key is not one or n is not below
// the palette size.
int64_t ColorMapIndex(const std::string& key, const TIOParamsVals& p) {
    if (key.size() <= kColorMapItemKey.size() || !key.starts_with(kColorMapItemKey)) return -1;
    const std::string_view digits = std::string_view(key).substr(kColorMapItemKey.size());
    if (digits.size() > 9) return -1;
    int64_t index = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        index = index * 10 + (c - '0');
    }
    const int64_t count = std::min<int64_t>(p.ColorMapCount, int64_t(p.ColorMap.size()));
    return index < count ? index : -1;
}

std::string CleanKey(const std::string& name) { return UpperAscii(WithoutControlChars(name)); }

}  // namespace

std::string TIOParamsVals::GetProperty(const std::string& name) const {
    const std::string key = CleanKey(name);
    if (key == kFileTypeStrKey) return GetFileTypeStr();
    if (const PropertyField* field = FindField(key)) return field->get(*this);
    if (const int64_t index = ColorMapIndex(key, *this); index >= 0)
        return ColorText(ColorMap[size_t(index)]);
    return std::string(kInvalidProperty);
}

void TIOParamsVals::SetProperty(const std::string& name, const std::string& value) {
    const std::string key = CleanKey(name);
    const std::string text = WithoutControlChars(value);
    if (const PropertyField* field = FindField(key)) {
        if (field->access == PropertyAccess::RO) return;
        field->set(*this, text);
        for (const SetterRoute& route : kSetterRoutes)
            if (route.key == key) route.apply(*this);
        return;
    }
    if (const int64_t index = ColorMapIndex(key, *this); index >= 0)
        ColorMap[size_t(index)] = ParseColorText(text);
}

const std::vector<std::string>& TIOParamsVals::PropertyKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> list;
        for (const PropertyField& f : kAllFields) {
            if (!f.key) continue;
            list.emplace_back(f.key);
            if (list.back() == "FILETYPE") list.emplace_back(kFileTypeStrKey);
        }
        return list;
    }();
    return keys;
}

}  // namespace velmora
