#pragma once

// Drawings written as groups on one line, and their records as points: what the tests of the
// computed readers (curves, faces, blocks) share.

#include <algorithm>
#include <sstream>
#include <string>
#include <string_view>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "inspeccion/lector_bin.h"
#include "support/dibujos.h"

namespace tolvar::prueba {

// "0 CIRCLE 8 A 40 -10" -> the drawing of those groups, each a code and a value separated by
// spaces, and a group 0 EOF; group k (from 0) has its code on line 2k + 1, its value on 2k + 2.
inline std::string grupos(std::string_view pares) {
  std::istringstream in{std::string(pares)};
  std::string codigo, valor, s;
  while (in >> codigo >> valor) s += std::string(3 - std::min<std::size_t>(3, codigo.size()), ' ') + codigo + "\r\n" + valor + "\r\n";
  return s + "  0\r\nEOF\r\n";
}

// Every kind read, no attribute, t as given: 1e9 leaves each curve its segment per 45 degrees.
inline opciones_conversion opciones(bool arcos = true, double t = 1e9) {
  opciones_conversion o;
  o.tambien = tipos_tambien::todos();
  o.arcos = arcos;
  o.tolerancia = t;
  return o;
}

// Converts d/a.dxf with the table; gives its records as "COD: x,y,z x,y,z ..." lines, every
// unit of each (a closed one repeats its first point), a text's height and string after its
// point; or, after a failure, "error N at L" and the records written before it. The .err, when
// asked.
inline std::string registros(const std::string& dxf, const opciones_conversion& o = opciones(),
                             std::string_view tabla = "0101 A\r\n", std::string* err = nullptr) {
  directorio_prueba d(tabla);
  d.conv.opciones() = o;
  d.pon("a.dxf", dxf);
  std::string s;
  try {
    d.convierte();
  } catch (const error_conversion& e) {
    s = "error " + std::to_string(e.numero()) + " at " + std::to_string(e.num_linea()) + "\n";
  }
  if (err != nullptr) *err = d.lee("a.err");
  const std::unique_ptr<fuente> origen = d.fs.abre("d/a.bin");
  lector_bin lector(*origen, "a.bin");
  registro_bin r;
  while (lector.siguiente(r)) {
    s += std::string(r.cod_sin_relleno()) + ":";
    for (const tipo_punto& p : r.puntos) s += " " + std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(p.z);
    if (r.es_texto()) s += " h" + std::to_string(r.ventana[6]) + " '" + r.texto + "'";
    s += "\n";
  }
  return s;
}

}  // namespace tolvar::prueba
