#pragma once

#include <filesystem>
#include <ostream>

#include "core/ficheros.h"

namespace tolvar {

// `tolvar-cli dump`: every record of the .bin read from `origen` (named `fichero` in the
// output and in errors) written to `salida`, as text or as one JSON document. For a file
// that breaks, the whole records before the break are written first, then the output is
// ended (the JSON document closed with its "error" member) and the error_bin thrown.
void vuelca_bin(fuente& origen, const std::filesystem::path& fichero, std::ostream& salida,
                bool en_json);

}  // namespace tolvar
