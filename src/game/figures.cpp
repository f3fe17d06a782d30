#include "game/figures.h"

namespace morvane {

const char* picture_name(Picture picture) {
    if (picture == Picture::None) return "";
    return kFigures[static_cast<int>(picture) - 1].name.data();
}

int figure_named(std::string_view name) {
    for (int i = 0; i < kBoxes; ++i)
        if (kFigures[i].name == name) return i;
    return -1;
}

int figure_of_key(char key) {
    for (int i = 0; i < kBoxes; ++i)
        if (kFigures[i].key == key) return i;
    return -1;
}

}  // namespace morvane
