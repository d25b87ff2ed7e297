#pragma once

// What a drawing's blocks are while it is converted with --blocks: their definitions, kept as
// groups to be read again each time one is drawn, and the INSERTs and DIMENSIONs drawing them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/lector_grupos.h"
#include "dxf/geometria.h"

namespace tolvar {

// A value of a BLOCK's own groups, kept as written: nothing of a block is read as a number
// until it is drawn, so that a block never drawn cannot fail.
struct texto_leido {
  std::string texto;
  std::int64_t linea = 0;   // 0: not given
};

struct definicion_bloque {
  std::array<texto_leido, 3> base;
  // Its content, from the first group 0 after its BLOCK, then the group 0 that ended it; the
  // value lines one after another in `texto`. Empty: the block draws nothing.
  std::vector<grupo_guardado> grupos;
  std::string texto;
};

// How an INSERT (or a DIMENSION) places the points of its block: for an INSERT, one copy of
// its array at a time; for a DIMENSION, moved by its point.
struct colocacion {
  bool cota = false;
  punto_doble base;        // the block's base point; unused by a DIMENSION
  punto_doble insercion;   // the INSERT's point, the DIMENSION's 12/22/32
  double sx = 1.0, sy = 1.0, sz = 1.0;
  double cos_r = 1.0, sin_r = 0.0;
  double espacio_columnas = 0.0, espacio_filas = 0.0;
  // The copy being drawn: its column times the column spacing, its row times the rows'.
  double desplazamiento_columna = 0.0, desplazamiento_fila = 0.0;
  plano_objeto plano;
  // Over the INSERTs that place what is drawn, outermost first: the product of each one's
  // largest scale, and of each one's |sy|.
  double escala_curvas = 1.0;
  double escala_altura = 1.0;
  // What an entity on layer "0" takes: the code of the INSERT or DIMENSION drawing it.
  std::string codigo;
};

struct estado_bloques {
  // By name in the output's code page, ASCII letters in capitals.
  std::unordered_map<std::string, definicion_bloque> definiciones;
  std::size_t grupos = 0;   // held in all, replaced definitions included
  std::size_t bytes = 0;
  std::vector<colocacion> colocaciones;   // outermost first
  // For the INSERT or DIMENSION of ENTITIES being drawn: the entities it has drawn, its line.
  std::int32_t dibujadas = 0;
  std::int64_t linea_origen = 0;
};

}  // namespace tolvar
