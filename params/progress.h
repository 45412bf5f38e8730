// The progress record that every reader and the JPEG rewriting take.
#pragma once

#include <cstdint>
#include <functional>

namespace velmora {

struct TProgressRec {
    // Called with a percentage from 0 to 100; may be empty.
    std::function<void(void* sender, int percent)> fOnProgress;
    void* Sender = nullptr;
    // Turns a position into a percentage: percent = position * per1.
    double per1 = 0.0;
    // The caller's abort flag; a reader sets it to report failure.
    bool* Aborting = nullptr;

    bool IsAborting() const { return Aborting && *Aborting; }
    void SetAborting() const {
        if (Aborting) *Aborting = true;
    }
    void Report(int64_t position) const {
        if (fOnProgress) fOnProgress(Sender, static_cast<int>(position * per1));
    }
};

}  // namespace velmora
