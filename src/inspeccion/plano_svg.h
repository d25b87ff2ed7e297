#pragma once

#include <filesystem>

#include "core/ficheros.h"

namespace tolvar {

// `tolvar-cli render`: draws the .bin `bin` as an SVG map into `svg`, created through `fs`:
// polylines, points as dots, texts at their insertion point and height, triangles as faces,
// northing up, one colour per code with a legend. Reads the file twice (its extent and codes
// first) and holds one record at a time. A file that breaks is drawn up to its last whole
// record, the map closed, and then its error_bin thrown.
void dibuja_bin(ficheros& fs, const std::filesystem::path& bin, const std::filesystem::path& svg);

}  // namespace tolvar
