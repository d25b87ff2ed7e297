#include "inspeccion/volcado.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "core/error_conversion.h"
#include "core/texto.h"
#include "inspeccion/lector_bin.h"
#include "inspeccion/texto_legible.h"

namespace tolvar {
namespace {

using json = nlohmann::ordered_json;

// The output goes out in blocks of about this size: one write per record costs more than
// the formatting on a file of a million records.
constexpr std::size_t bloque_salida = std::size_t{1} << 16;

constexpr std::string_view regla_y_1 =
    "In \"C=\" and \"T=\" records y is stored lowered by 4000000 drawing units;";
constexpr std::string_view regla_y_2 = "records with code TRIANG store y as it is.";

// Right-aligned in `ancho` columns, after a space.
void pon_columna(std::string& s, std::string_view v, std::size_t ancho) {
  s += ' ';
  if (v.size() < ancho) s.append(ancho - v.size(), ' ');
  s += v;
}

void pon_etiqueta(std::string& s, std::string_view etiqueta) {
  constexpr std::size_t ancho = 10;
  s += "  ";
  s += etiqueta;
  if (etiqueta.size() < ancho) s.append(ancho - etiqueta.size(), ' ');
}

// One line of three coordinates: as stored, then in drawing units.
void pon_coordenadas(std::string& s, std::string_view etiqueta, const registro_bin& r,
                     std::int32_t x, std::int32_t y, std::int32_t z) {
  pon_etiqueta(s, etiqueta);
  std::string v;
  for (const std::int32_t c : {x, y, z}) {
    v.clear();
    pon_entero(v, c);
    pon_columna(s, v, 11);
  }
  s += "  =";
  for (const std::int64_t c : {std::int64_t{x}, r.norte(y), std::int64_t{z}}) {
    v.clear();
    pon_milesimas(v, c);
    pon_columna(s, v, 13);
  }
}

void texto_registro(std::string& s, const registro_bin& r) {
  s += "\nrecord ";
  pon_entero(s, static_cast<std::int64_t>(r.orden));
  s += " at offset ";
  pon_entero(s, static_cast<std::int64_t>(r.desplazamiento));
  s += " (";
  pon_entero(s, static_cast<std::int64_t>(r.bytes()));
  s += " bytes): ";
  s.append(r.clase.data(), r.clase.size());
  s += " cod ";
  s += cita_bytes(r.cod_sin_relleno());
  s += " [";
  s += hex_bytes({r.cod.data(), r.cod.size()});
  s += "] atr ";
  pon_entero(s, r.atr);
  s += " num_elem ";
  pon_entero(s, r.num_elem);
  s += r.es_triangulo() ? ", y as stored\n" : ", y lowered by 4000000\n";

  const auto& v = r.ventana;
  pon_coordenadas(s, "min", r, v[0], v[1], v[2]);
  s += '\n';
  pon_coordenadas(s, "max", r, v[3], v[4], v[5]);
  s += '\n';
  pon_etiqueta(s, "dato");
  std::string n;
  for (std::size_t i = 6; i < 9; ++i) {
    n.clear();
    pon_entero(n, v[i]);
    pon_columna(s, n, 11);
  }
  s += '\n';

  for (std::size_t i = 0; i < r.puntos.size(); ++i) {
    const tipo_punto& p = r.puntos[i];
    n = "point ";
    pon_entero(n, static_cast<std::int64_t>(i + 1));
    pon_coordenadas(s, n, r, p.x, p.y, p.z);
    if (r.es_texto()) {
      s += "  insertion point";
    } else if (i + 1 == r.puntos.size() && r.cerrado()) {
      s += "  closed: repeats point 1";
    }
    s += '\n';
  }
  if (r.es_texto()) {
    pon_etiqueta(s, "text");
    s += ' ';
    s += cita_bytes(r.texto);
    s += " (";
    pon_entero(s, static_cast<std::int64_t>(r.unidades_texto));
    s += r.unidades_texto == 1 ? " unit)\n" : " units)\n";
  }
  if (r.atr == 1) {
    pon_etiqueta(s, "attribute");
    s += " num_atr ";
    pon_entero(s, r.num_atr);
    s += " valor_atr ";
    pon_entero(s, r.valor_atr);
    s += " cod_atr ";
    s += cita_bytes({r.cod_atr.data(), r.cod_atr.size()});
    s += '\n';
  }
}

// Paths need not be valid UTF-8; a byte that is not shows as U+FFFD instead of stopping
// the dump.
std::string a_texto(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

json coordenadas_json(const registro_bin& r, std::int32_t x, std::int32_t y, std::int32_t z) {
  // Thousandths over 1000.0 is one correctly rounded division, so the shortest form of the
  // double that JSON gets is the exact decimal.
  return {{"stored", {x, y, z}},
          {"units",
           {static_cast<double>(x) / 1000.0, static_cast<double>(r.norte(y)) / 1000.0,
            static_cast<double>(z) / 1000.0}}};
}

json json_registro(const registro_bin& r) {
  json j;
  j["record"] = r.orden;
  j["offset"] = r.desplazamiento;
  j["bytes"] = r.bytes();
  j["clase"] = std::string(r.clase.data(), r.clase.size());
  j["cod"] = utf8_de_1252(r.cod_sin_relleno());
  j["cod_hex"] = hex_bytes({r.cod.data(), r.cod.size()});
  j["atr"] = r.atr;
  j["num_elem"] = r.num_elem;
  j["y_lowered_by"] = r.es_triangulo() ? 0 : desplazamiento_y / 1000;
  const auto& v = r.ventana;
  j["min"] = coordenadas_json(r, v[0], v[1], v[2]);
  j["max"] = coordenadas_json(r, v[3], v[4], v[5]);
  j["dato"] = {v[6], v[7], v[8]};
  json puntos = json::array();
  for (const tipo_punto& p : r.puntos) puntos.push_back(coordenadas_json(r, p.x, p.y, p.z));
  j["points"] = std::move(puntos);
  if (r.es_texto()) {
    j["text"] = utf8_de_1252(r.texto);
    j["text_units"] = r.unidades_texto;
  } else {
    j["closed"] = r.cerrado();
  }
  if (r.atr == 1) {
    j["attribute"] = {{"num_atr", r.num_atr},
                      {"valor_atr", r.valor_atr},
                      {"cod_atr", utf8_de_1252({r.cod_atr.data(), r.cod_atr.size()})}};
  } else {
    j["attribute"] = nullptr;
  }
  return j;
}

}  // namespace

void vuelca_bin(fuente& origen, const std::filesystem::path& fichero, std::ostream& salida,
                bool en_json) {
  lector_bin lector(origen, fichero);
  registro_bin r;
  std::string s;
  const auto descarga = [&](bool siempre) {
    if (siempre || s.size() >= bloque_salida) {
      salida.write(s.data(), static_cast<std::streamsize>(s.size()));
      s.clear();
    }
  };

  if (en_json) {
    s += "{\"file\":";
    s += a_texto(json(texto_ruta(fichero)));
    s += ",\"y_rule\":";
    s += a_texto(json(std::string(regla_y_1) + " " + std::string(regla_y_2)));
    s += ",\"records\":[";
  } else {
    s += "# ";
    s += texto_ruta(fichero);
    s += "\n# x y z: as stored (thousandths of a drawing unit) = in drawing units.\n# ";
    s += regla_y_1;
    s += "\n# ";
    s += regla_y_2;
    s += '\n';
  }

  std::optional<error_bin> rotura;
  try {
    while (lector.siguiente(r)) {
      if (en_json) {
        s += r.orden == 1 ? "\n" : ",\n";
        s += a_texto(json_registro(r));
      } else {
        texto_registro(s, r);
      }
      descarga(false);
    }
  } catch (const error_bin& e) {
    rotura = e;
  }

  const auto registros = lector.registros();
  const auto bytes = lector.desplazamiento();
  if (en_json) {
    s += "\n],\"whole_records\":";
    pon_entero(s, static_cast<std::int64_t>(registros));
    s += ",\"bytes\":";
    pon_entero(s, static_cast<std::int64_t>(bytes));
    s += ",\"error\":";
    if (rotura) {
      s += a_texto(json{{"record", rotura->orden()},
                        {"offset", rotura->desplazamiento()},
                        {"status", rotura->numero()},
                        {"message", rotura->what()}});
    } else {
      s += "null";
    }
    s += "}\n";
  } else {
    s += '\n';
    pon_entero(s, static_cast<std::int64_t>(registros));
    s += rotura ? " whole record" : " record";
    if (registros != 1) s += 's';
    s += ", ";
    pon_entero(s, static_cast<std::int64_t>(bytes));
    s += " bytes";
    if (rotura) {
      s += "; record ";
      pon_entero(s, static_cast<std::int64_t>(rotura->orden()));
      s += " at offset ";
      pon_entero(s, static_cast<std::int64_t>(rotura->desplazamiento()));
      s += " is broken";
    }
    s += '\n';
  }
  descarga(true);
  salida.flush();
  if (rotura) throw *rotura;
}

}  // namespace tolvar
