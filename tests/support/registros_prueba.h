#pragma once

// Records of the .bin format written out byte by byte, shared by the tools' tests.

#include <string>

#include "support/dibujos.h"

namespace tolvar::prueba {

// A POINT at (1.5, 4000002.25, 0) with code 0101, no attribute: 60 bytes.
inline std::string registro_point() {
  return hex(
      "43 3D 30 31 30 31 00 00 00 00 01 00"    // C= 0101, atr 0, num_elem 1
      "DC 05 00 00 CA 08 00 00 00 00 00 00"    // min 1500 2250 0
      "DC 05 00 00 CA 08 00 00 00 00 00 00"    // max 1500 2250 0
      "14 00 00 00 06 00 00 00 A5 07 00 00"    // 20 6 1957
      "DC 05 00 00 CA 08 00 00 00 00 00 00");  // point 1500 2250 0
}

// The TEXT "ABC", height 2.5, at the same point, with the attribute unit: 84 bytes.
inline std::string registro_text_abc() {
  return hex(
      "54 3D 30 31 30 31 00 00 00 01 02 00"    // T= 0101, atr 1, num_elem 2
      "DC 05 00 00 CA 08 00 00 00 00 00 00"    // min 1500 2250 0
      "28 23 00 00 8E 12 00 00 00 00 00 00"    // max 9000 4750 0
      "C4 09 00 00 00 00 00 00 00 00 00 00"    // 2500 0 0
      "DC 05 00 00 CA 08 00 00 00 00 00 00"    // insertion point
      "41 42 43 00 20 20 20 20 20 20 20 20"    // A B C, 0x00, spaces
      "01 00 00 00 00 00 32 30 31 20 20 20");  // attribute 1, 0, "201   "
}

// A closed polyline on code Nuevo through (10, 10, 1), (20, 10, 2), (20, 20, 3) (northings
// less 4,000,000): 96 bytes.
inline std::string registro_polyline_cerrada() {
  return hex(
      "43 3D 4E 75 65 76 6F 00 00 00 04 00"    // C= Nuevo, atr 0, num_elem 4
      "10 27 00 00 10 27 00 00 E8 03 00 00"    // min 10000 10000 1000
      "20 4E 00 00 20 4E 00 00 B8 0B 00 00"    // max 20000 20000 3000
      "14 00 00 00 06 00 00 00 A5 07 00 00"    // 20 6 1957
      "10 27 00 00 10 27 00 00 E8 03 00 00"    // 10000 10000 1000
      "20 4E 00 00 10 27 00 00 D0 07 00 00"    // 20000 10000 2000
      "20 4E 00 00 20 4E 00 00 B8 0B 00 00"    // 20000 20000 3000
      "10 27 00 00 10 27 00 00 E8 03 00 00");  // the first again
}

// A TRIANG through (1, 2, 3), (4, 2, 3), (1, 6, 3), northings as they are: 84 bytes.
inline std::string registro_triang() {
  return hex(
      "43 3D 54 52 49 41 4E 47 00 00 03 00"    // C= TRIANG, atr 0, num_elem 3
      "E8 03 00 00 D0 07 00 00 B8 0B 00 00"    // min 1000 2000 3000
      "A0 0F 00 00 70 17 00 00 B8 0B 00 00"    // max 4000 6000 3000
      "14 00 00 00 06 00 00 00 A5 07 00 00"    // 20 6 1957
      "E8 03 00 00 D0 07 00 00 B8 0B 00 00"    // 1000 2000 3000
      "A0 0F 00 00 D0 07 00 00 B8 0B 00 00"    // 4000 2000 3000
      "E8 03 00 00 70 17 00 00 B8 0B 00 00");  // 1000 6000 3000
}

}  // namespace tolvar::prueba
