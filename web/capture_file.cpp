// The in-memory file a capture is decoded from.

#include "capture_file.h"

namespace {

constexpr char CapturePath[] = "/capture.log";

}  // namespace

std::FILE* openCapture(const char* bytes, std::size_t length) {
    std::FILE* file = std::fopen(CapturePath, "wb");
    if (file == nullptr) {
        return nullptr;
    }
    const bool written = std::fwrite(bytes, 1, length, file) == length;
    if (std::fclose(file) != 0 || !written) {
        std::remove(CapturePath);
        return nullptr;
    }
    return std::fopen(CapturePath, "r");
}

void closeCapture(std::FILE* file) {
    std::fclose(file);
    std::remove(CapturePath);
}
