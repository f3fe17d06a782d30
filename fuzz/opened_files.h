#pragma once
// For fuzz targets: records the files the process opens or looks up while
// armed (open, openat, fopen and stat calls through the C library), other
// than the system's fonts, font caches, Qt's plugins and /proc and /sys,
// which Qt may open late on its own behalf.

#include <string>
#include <vector>

namespace opened_files {

void arm(bool armed);
// What was opened while armed, since the last call.
std::vector<std::string> take();

}  // namespace opened_files
