#include "params/jpeg_lib_glue.h"

#include <cstring>

namespace velmora {

namespace {

void ErrorExit(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    manager->fatalCode = manager->pub.msg_code == 0 ? -1 : manager->pub.msg_code;
    std::longjmp(manager->jump, 1);
}

void EmitMessage(j_common_ptr cinfo, int msgLevel) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    if (msgLevel < 0) {
        ++manager->pub.num_warnings;
        ++manager->warningCount;
        manager->lastWarningCode = manager->pub.msg_code;
    }
}

void OutputMessage(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager) {
    std::memset(&manager, 0, sizeof manager);
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = ErrorExit;
    manager.pub.emit_message = EmitMessage;
    manager.pub.output_message = OutputMessage;
    return &manager.pub;
}

void ConvertJpegRowToRgb(const JSAMPLE* source, int components, int width, bool adobeInverted, uint8_t* target) {
    for (int x = 0; x < width; ++x, source += components, target += 3) {
        if (components == 3) {
            target[0] = source[0];
            target[1] = source[1];
            target[2] = source[2];
        } else if (components == 4) {
            unsigned c = source[0], m = source[1], y = source[2], k = source[3];
            if (!adobeInverted) {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            // With inverted samples, red = (1 - C)(1 - K) is simply c * k.
            target[0] = static_cast<uint8_t>((c * k + 127) / 255);
            target[1] = static_cast<uint8_t>((m * k + 127) / 255);
            target[2] = static_cast<uint8_t>((y * k + 127) / 255);
        } else {
            target[0] = target[1] = target[2] = source[0];
        }
    }
}

}  // namespace velmora
