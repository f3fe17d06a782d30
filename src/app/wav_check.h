#pragma once
// Checks a cue file before it is handed to the sound library.
//
// Qt's sound effects wait for the rest of a file that promises more than it
// holds (an empty or truncated file, a chunk size beyond the end), and while
// one waits, freeing any sound effect waits with it, so a broken cue would
// hang the game when its window closes. The cue player therefore plays only
// files that pass this check: a plain PCM WAV whose every chunk lies within
// the file.

#include <cstdint>
#include <string>
#include <string_view>

namespace morvane {

// Larger files are refused unread; the game's cues are well under a second.
inline constexpr std::uint64_t kLargestCueBytes = 16u << 20;

// Why `bytes`, the whole of a file, cannot be played as a cue; empty when it
// can. Accepted: "RIFF" with a size that fits the file, "WAVE", a "fmt "
// chunk of uncompressed PCM (1 or 2 channels, 8000 to 192000 frames a
// second, 8, 16 or 32 bits, with the byte rate and frame size that follow),
// then a "data" chunk of whole frames, at least one, within the file. Other
// chunks may stand before "fmt " and between it and "data" when their size
// is even and within the file.
std::string wav_problem(std::string_view bytes);

}  // namespace morvane
