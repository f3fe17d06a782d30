#include "app/wav_check.h"

#include <optional>

namespace morvane {

namespace {

std::uint32_t u32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}
std::uint32_t u16(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

// What the "fmt " chunk says, when it describes a format a cue may have.
std::string format_problem(std::string_view fmt, std::uint32_t& frame_bytes) {
    if (fmt.size() < 16) return "the format chunk is too short";
    const std::uint32_t tag = u16(fmt, 0), channels = u16(fmt, 2), rate = u32(fmt, 4), byte_rate = u32(fmt, 8),
                        block = u16(fmt, 12), bits = u16(fmt, 14);
    if (tag != 1) return "not uncompressed PCM (format " + std::to_string(tag) + ")";
    if (channels < 1 || channels > 2) return std::to_string(channels) + " channels";
    if (rate < 8000 || rate > 192000) return std::to_string(rate) + " frames a second";
    if (bits != 8 && bits != 16 && bits != 32) return std::to_string(bits) + " bits a sample";
    frame_bytes = channels * bits / 8;
    if (block != frame_bytes || byte_rate != rate * frame_bytes)
        return "the frame size or byte rate does not match the format";
    return {};
}

}  // namespace

std::string wav_problem(std::string_view bytes) {
    if (bytes.size() > kLargestCueBytes) return "larger than a cue can be";
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") return "not a WAV file";
    const std::uint64_t riff_end = std::uint64_t{u32(bytes, 4)} + 8;
    if (riff_end > bytes.size()) return "the file is shorter than its header says";

    std::optional<std::uint32_t> frame_bytes;
    std::uint64_t at = 12;
    while (at + 8 <= riff_end) {
        const std::string_view id = bytes.substr(at, 4);
        const std::uint32_t size = u32(bytes, at + 4);
        const std::uint64_t body = at + 8;
        if (body + size > riff_end) return "a chunk runs past the end of the file";
        const std::string_view content = bytes.substr(body, size);
        if (id == "data") {
            if (!frame_bytes) return "sound data before the format";
            if (size == 0 || size % *frame_bytes != 0) return "the sound data is not whole frames";
            return {};
        }
        // Sizes must be even: an odd chunk's padding is not read the same
        // way everywhere.
        if (size % 2 != 0) return "a chunk before the sound data has an odd size";
        if (id == "fmt ") {
            if (frame_bytes) return "two format chunks";
            std::uint32_t frame = 0;
            if (std::string problem = format_problem(content, frame); !problem.empty()) return problem;
            frame_bytes = frame;
        }
        at = body + size;
    }
    return frame_bytes ? "no sound data" : "no format chunk";
}

}  // namespace morvane
