#include "generador.h"

#include <array>
#include <charconv>
#include <string>
#include <vector>

namespace tolvar::banco {
namespace {

constexpr std::int64_t este_min = 200000000, este_max = 800000000;
constexpr std::int64_t norte_min = 4100000000, norte_max = 4800000000;

struct capa_dibujo {
  std::string_view nombre;
  int color;
};

// By the entity kind that uses them: polylines, points, texts. The last ones of each list
// are missing from the code table, about one entity in ten.
constexpr std::array<capa_dibujo, 12> capas_polilinea = {{
    {"CURVA NIVEL MAESTRA", 3}, {"CURVA NIVEL", 8},     {"CARRETERA N-110", 1},
    {"CAMINO RURAL", 30},       {"RIO TORMES", 4},      {"ARROYO DEL ROSAL", 4},
    {"EDIFICIO", 5},            {"LIMITE MUNICIPAL", 6}, {"LINEA ELECTRICA", 2},
    {"VIA FERREA", 9},          {"CERCA", 9},           {"MURO DE PIEDRA", 7},
}};
constexpr std::array<capa_dibujo, 5> capas_punto = {{
    {"VERTICE GEODESICO", 1}, {"COTA", 7}, {"PUNTO ACOTADO", 7}, {"FUENTE", 4},
    {"ARBOL AISLADO", 3},
}};
constexpr std::array<capa_dibujo, 4> capas_texto = {{
    {"TOPONIMIA", 7}, {"ROTULO CALLE", 7}, {"COTA TEXTO", 7}, {"ETIQUETA", 2},
}};
// Cumulative weights out of 100; the unknown layers hold the last ten.
constexpr std::array<int, 12> pesos_polilinea = {12, 40, 48, 56, 62, 66, 80, 84, 88, 90, 96, 100};
constexpr std::array<int, 5> pesos_punto = {10, 60, 85, 90, 100};
constexpr std::array<int, 4> pesos_texto = {55, 75, 90, 100};

constexpr std::array<std::string_view, 16> nombres = {
    "Casa del Monte",  "Arroyo de la Vega", "El Berrocal",     "Fuente Santa",
    "Los Llanos",      "Cerro Gordo",       "La Dehesa",       "Camino de Ledesma",
    "Molino Viejo",    "Las Eras",          "Calle Mayor",     "Plaza de Espana",
    "Ermita de San Roque", "Valdelosa",     "Navarredonda",    "El Cubo",
};

}  // namespace

std::uint64_t azar::siguiente() noexcept {
  std::uint64_t z = (s_ += 0x9E3779B97F4A7C15u);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

std::int64_t azar::entre(std::int64_t lo, std::int64_t hi) noexcept {
  const auto ancho = static_cast<std::uint64_t>(hi - lo) + 1;
  return lo + static_cast<std::int64_t>(siguiente() % ancho);
}

double azar::unidad() noexcept {
  return static_cast<double>(siguiente() >> 11) * (1.0 / 9007199254740992.0);
}

void generador::codigo(std::string& s, int c) {
  char b[8];
  const auto r = std::to_chars(b, b + sizeof b, c);
  const auto largo = static_cast<std::size_t>(r.ptr - b);
  if (largo < 3) s.append(3 - largo, ' ');
  s.append(b, largo);
  s += "\r\n";
}

void generador::grupo(std::string& s, int c, std::string_view v) {
  codigo(s, c);
  s += v;
  s += "\r\n";
}

// Thousandths written as a decimal with three places: exact, and the form these drawings use.
void generador::milesimas(std::string& s, int c, std::int64_t v) {
  codigo(s, c);
  if (v < 0) {
    s += '-';
    v = -v;
  }
  char b[24];
  const auto r = std::to_chars(b, b + sizeof b, v / 1000);
  s.append(b, r.ptr);
  const auto f = static_cast<int>(v % 1000);
  s += '.';
  s += static_cast<char>('0' + f / 100);
  s += static_cast<char>('0' + f / 10 % 10);
  s += static_cast<char>('0' + f % 10);
  s += "\r\n";
}

std::string_view generador::capa(int tipo) {
  // Exports write entities roughly layer by layer: keep the layer for a run of entities.
  if (azar_.probabilidad(0.3)) {
    const int r = static_cast<int>(azar_.entre(0, 99));
    int i = 0;
    if (tipo == 0) while (r >= pesos_polilinea[static_cast<std::size_t>(i)]) ++i;
    if (tipo == 1) while (r >= pesos_punto[static_cast<std::size_t>(i)]) ++i;
    if (tipo == 2) while (r >= pesos_texto[static_cast<std::size_t>(i)]) ++i;
    capa_actual_[tipo] = i;
  }
  const auto i = static_cast<std::size_t>(capa_actual_[tipo]);
  if (tipo == 0) return capas_polilinea[i].nombre;
  if (tipo == 1) return capas_punto[i].nombre;
  return capas_texto[i].nombre;
}

void generador::salta_posicion() {
  // Neighbouring entities lie close to each other, with a jump now and then.
  if (azar_.probabilidad(0.05)) {
    x_ = azar_.entre(este_min + 5000000, este_max - 5000000);
    y_ = azar_.entre(norte_min + 5000000, norte_max - 5000000);
  } else {
    x_ += azar_.entre(-200000, 200000);
    y_ += azar_.entre(-200000, 200000);
  }
  if (x_ < este_min + 1000000 || x_ > este_max - 1000000) x_ = (este_min + este_max) / 2;
  if (y_ < norte_min + 1000000 || y_ > norte_max - 1000000) y_ = (norte_min + norte_max) / 2;
}

void generador::cabecera(std::string& s) {
  grupo(s, 0, "SECTION");
  grupo(s, 2, "HEADER");
  grupo(s, 9, "$ACADVER");
  grupo(s, 1, "AC1009");
  grupo(s, 9, "$INSBASE");
  milesimas(s, 10, 0); milesimas(s, 20, 0); milesimas(s, 30, 0);
  grupo(s, 9, "$EXTMIN");
  milesimas(s, 10, este_min); milesimas(s, 20, norte_min); milesimas(s, 30, 0);
  grupo(s, 9, "$EXTMAX");
  milesimas(s, 10, este_max); milesimas(s, 20, norte_max); milesimas(s, 30, 3000000);
  grupo(s, 9, "$LIMMIN");
  milesimas(s, 10, este_min); milesimas(s, 20, norte_min);
  grupo(s, 9, "$LIMMAX");
  milesimas(s, 10, este_max); milesimas(s, 20, norte_max);
  grupo(s, 9, "$TEXTSIZE");
  milesimas(s, 40, 2500);
  grupo(s, 0, "ENDSEC");

  grupo(s, 0, "SECTION");
  grupo(s, 2, "TABLES");
  grupo(s, 0, "TABLE");
  grupo(s, 2, "LTYPE");
  grupo(s, 70, "1");
  grupo(s, 0, "LTYPE");
  grupo(s, 2, "CONTINUOUS");
  grupo(s, 70, "64");
  grupo(s, 3, "Solid line");
  grupo(s, 72, "65");
  grupo(s, 73, "0");
  milesimas(s, 40, 0);
  grupo(s, 0, "ENDTAB");
  grupo(s, 0, "TABLE");
  grupo(s, 2, "LAYER");
  grupo(s, 70, "22");
  const auto capa_tabla = [&](const capa_dibujo& c) {
    grupo(s, 0, "LAYER");
    grupo(s, 2, c.nombre);
    grupo(s, 70, "0");
    grupo(s, 62, std::to_string(c.color));
    grupo(s, 6, "CONTINUOUS");
  };
  capa_tabla({"0", 7});
  for (const auto& c : capas_polilinea) capa_tabla(c);
  for (const auto& c : capas_punto) capa_tabla(c);
  for (const auto& c : capas_texto) capa_tabla(c);
  grupo(s, 0, "ENDTAB");
  grupo(s, 0, "TABLE");
  grupo(s, 2, "STYLE");
  grupo(s, 70, "1");
  grupo(s, 0, "STYLE");
  grupo(s, 2, "STANDARD");
  grupo(s, 70, "0");
  milesimas(s, 40, 0);
  milesimas(s, 41, 1000);
  grupo(s, 3, "txt");
  grupo(s, 0, "ENDTAB");
  grupo(s, 0, "ENDSEC");

  // A tree symbol, drawn with entities that no reader of ours takes.
  grupo(s, 0, "SECTION");
  grupo(s, 2, "BLOCKS");
  grupo(s, 0, "BLOCK");
  grupo(s, 8, "0");
  grupo(s, 2, "ARBOL");
  grupo(s, 70, "0");
  milesimas(s, 10, 0); milesimas(s, 20, 0); milesimas(s, 30, 0);
  grupo(s, 3, "ARBOL");
  grupo(s, 0, "CIRCLE");
  grupo(s, 8, "0");
  milesimas(s, 10, 0); milesimas(s, 20, 0); milesimas(s, 30, 0);
  milesimas(s, 40, 1500);
  grupo(s, 0, "LINE");
  grupo(s, 8, "0");
  milesimas(s, 10, -1500); milesimas(s, 20, 0); milesimas(s, 30, 0);
  milesimas(s, 11, 1500); milesimas(s, 21, 0); milesimas(s, 31, 0);
  grupo(s, 0, "ENDBLK");
  grupo(s, 8, "0");
  grupo(s, 0, "ENDSEC");

  grupo(s, 0, "SECTION");
  grupo(s, 2, "ENTITIES");
}

void generador::polilinea(std::string& s) {
  const std::string_view nombre = capa(0);
  // Contours and most lines are flat (2D, the elevation on the polyline); the rest 3D.
  const bool tres_d = azar_.probabilidad(0.35);
  const bool cerrada = azar_.probabilidad(0.15);
  const bool z_en_vertices = !tres_d && azar_.probabilidad(0.5);
  // Many short polylines and a few long ones, from 2 to 200 vertices.
  const double u = azar_.unidad();
  const auto n = 2 + static_cast<int>(198.0 * u * u);
  std::int64_t z = azar_.entre(600000, 2000000);
  salta_posicion();

  grupo(s, 0, "POLYLINE");
  grupo(s, 8, nombre);
  grupo(s, 66, "1");
  milesimas(s, 10, 0); milesimas(s, 20, 0);
  milesimas(s, 30, tres_d ? 0 : z);
  const int indicadores = (tres_d ? 8 : 0) | (cerrada ? 1 : 0);
  if (indicadores != 0) {
    grupo(s, 70, std::to_string(indicadores));
  }
  std::int64_t x = x_, y = y_;
  for (int i = 0; i < n; ++i) {
    grupo(s, 0, "VERTEX");
    grupo(s, 8, nombre);
    milesimas(s, 10, x);
    milesimas(s, 20, y);
    if (tres_d) {
      milesimas(s, 30, z);
      grupo(s, 70, "32");
      z += azar_.entre(-2000, 2000);
    } else if (z_en_vertices) {
      milesimas(s, 30, 0);
    }
    if (curvas_ && !tres_d && azar_.probabilidad(0.5)) milesimas(s, 42, azar_.entre(-1000, 1000));
    x += azar_.entre(-30000, 30000);
    y += azar_.entre(-30000, 30000);
  }
  grupo(s, 0, "SEQEND");
  grupo(s, 8, nombre);
}

void generador::punto(std::string& s) {
  const std::string_view nombre = capa(1);
  salta_posicion();
  grupo(s, 0, "POINT");
  grupo(s, 8, nombre);
  if (azar_.probabilidad(0.2)) {
    grupo(s, 62, "1");
  }
  milesimas(s, 10, x_);
  milesimas(s, 20, y_);
  milesimas(s, 30, azar_.entre(600000, 2000000));
}

void generador::texto(std::string& s) {
  const std::string_view nombre = capa(2);
  salta_posicion();
  grupo(s, 0, "TEXT");
  grupo(s, 8, nombre);
  milesimas(s, 10, x_);
  milesimas(s, 20, y_);
  milesimas(s, 30, 0);
  milesimas(s, 40, 500 * azar_.entre(2, 10));
  if (nombre == "COTA TEXTO") {
    std::string cota = std::to_string(azar_.entre(600, 2000));
    cota += '.';
    cota += static_cast<char>('0' + azar_.entre(0, 9));
    grupo(s, 1, cota);
  } else {
    grupo(s, 1, nombres[static_cast<std::size_t>(
                    azar_.entre(0, static_cast<std::int64_t>(nombres.size()) - 1))]);
  }
  if (azar_.probabilidad(0.4)) milesimas(s, 50, azar_.entre(0, 359999));
  if (azar_.probabilidad(0.3)) {
    grupo(s, 7, "STANDARD");
  }
  if (azar_.probabilidad(0.3)) {
    // A justified text carries its alignment point as well.
    grupo(s, 72, std::to_string(azar_.entre(1, 2)));
    milesimas(s, 11, x_ + 10000);
    milesimas(s, 21, y_);
    milesimas(s, 31, 0);
  }
}

void generador::insercion(std::string& s) {
  salta_posicion();
  grupo(s, 0, "INSERT");
  grupo(s, 8, "ARBOLADO");
  grupo(s, 2, "ARBOL");
  milesimas(s, 10, x_);
  milesimas(s, 20, y_);
  milesimas(s, 30, 0);
}

void generador::entidad(std::string& s) {
  // About the mix of the sheets this is meant for: three polylines, four or five points and
  // two or three texts in every ten entities.
  const auto r = azar_.entre(0, 99);
  if (r < 30) polilinea(s);
  else if (curvas_ && r < 42) circulo(s, false);
  else if (curvas_ && r < 54) circulo(s, true);
  else if (r < 74) punto(s);
  else if (r < 99) texto(s);
  else insercion(s);
}

// Trees, wells and roundabouts: radii from half a metre to fifty.
void generador::circulo(std::string& s, bool arco) {
  const std::string_view nombre = capa(0);
  salta_posicion();
  grupo(s, 0, arco ? "ARC" : "CIRCLE");
  grupo(s, 8, nombre);
  milesimas(s, 10, x_);
  milesimas(s, 20, y_);
  milesimas(s, 30, 0);
  milesimas(s, 40, azar_.entre(500, 50000));
  if (arco) {
    milesimas(s, 50, azar_.entre(0, 359999));
    milesimas(s, 51, azar_.entre(0, 359999));
  }
}

void generador::pie(std::string& s) {
  s += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
}

namespace {

// One entity of the benchmark's block, in thousandths around its origin.
struct entidad_simbolo {
  enum { linea, polilinea, punto, texto, circulo, arco } tipo;
  std::string_view capa;   // "0": the INSERT's
  std::int64_t x[4], y[4];
  std::int64_t radio, inicio, fin;
};

// The entity at (dx, dy) from where it stands in the block, on `capa` when its own is "0".
void escribe_simbolo(std::string& s, const entidad_simbolo& e, std::int64_t dx, std::int64_t dy,
                     std::string_view capa) {
  static constexpr std::string_view nombres_tipo[] = {"LINE", "LWPOLYLINE", "POINT", "TEXT", "CIRCLE", "ARC"};
  generador::grupo(s, 0, nombres_tipo[e.tipo]);
  generador::grupo(s, 8, e.capa == "0" ? capa : e.capa);
  switch (e.tipo) {
    case entidad_simbolo::linea:
      generador::milesimas(s, 10, e.x[0] + dx); generador::milesimas(s, 20, e.y[0] + dy); generador::milesimas(s, 30, 0);
      generador::milesimas(s, 11, e.x[1] + dx); generador::milesimas(s, 21, e.y[1] + dy); generador::milesimas(s, 31, 0);
      break;
    case entidad_simbolo::polilinea:
      generador::grupo(s, 90, "4");
      generador::grupo(s, 70, "1");
      for (int i = 0; i < 4; ++i) {
        generador::milesimas(s, 10, e.x[i] + dx);
        generador::milesimas(s, 20, e.y[i] + dy);
      }
      break;
    case entidad_simbolo::punto:
      generador::milesimas(s, 10, e.x[0] + dx); generador::milesimas(s, 20, e.y[0] + dy); generador::milesimas(s, 30, 0);
      break;
    case entidad_simbolo::texto:
      generador::milesimas(s, 10, e.x[0] + dx); generador::milesimas(s, 20, e.y[0] + dy); generador::milesimas(s, 30, 0);
      generador::milesimas(s, 40, 500);
      generador::grupo(s, 1, "Casa del Monte");
      break;
    case entidad_simbolo::circulo:
    case entidad_simbolo::arco:
      generador::milesimas(s, 10, e.x[0] + dx); generador::milesimas(s, 20, e.y[0] + dy); generador::milesimas(s, 30, 0);
      generador::milesimas(s, 40, e.radio);
      if (e.tipo == entidad_simbolo::arco) {
        generador::milesimas(s, 50, e.inicio);
        generador::milesimas(s, 51, e.fin);
      }
      break;
  }
}

}  // namespace

void dibujo_de_bloques(std::uint64_t semilla, int inserciones, bool explotado,
                       void (*vacia)(std::string& pieza, void* destino), void* destino) {
  azar a(semilla);
  // 10 lines, 10 closed polylines of 4 vertices, 10 points, 8 texts, 6 circles, 6 arcs.
  std::vector<entidad_simbolo> simbolo;
  const auto cerca = [&] { return a.entre(-10000, 10000); };
  for (int k = 0; k < 50; ++k) {
    entidad_simbolo e{};
    e.tipo = k < 10 ? entidad_simbolo::linea : k < 20 ? entidad_simbolo::polilinea
           : k < 30 ? entidad_simbolo::punto : k < 38 ? entidad_simbolo::texto
           : k < 44 ? entidad_simbolo::circulo : entidad_simbolo::arco;
    e.capa = k % 2 == 0 ? "0" : k % 3 == 0 ? "CERCA" : "EDIFICIO";
    for (int i = 0; i < 4; ++i) {
      e.x[i] = cerca();
      e.y[i] = cerca();
    }
    e.radio = a.entre(500, 2000);
    e.inicio = a.entre(0, 359999);
    e.fin = a.entre(0, 359999);
    simbolo.push_back(e);
  }
  std::string s;
  const auto quizas_vacia = [&](bool siempre) {
    if (siempre || s.size() >= (std::size_t{4} << 20)) {
      vacia(s, destino);
      s.clear();
    }
  };
  generador::grupo(s, 0, "SECTION");
  generador::grupo(s, 2, "BLOCKS");
  if (!explotado) {
    generador::grupo(s, 0, "BLOCK");
    generador::grupo(s, 8, "0");
    generador::grupo(s, 2, "SIMBOLO");
    generador::grupo(s, 70, "0");
    generador::milesimas(s, 10, 0); generador::milesimas(s, 20, 0); generador::milesimas(s, 30, 0);
    for (const entidad_simbolo& e : simbolo) escribe_simbolo(s, e, 0, 0, "0");
    generador::grupo(s, 0, "ENDBLK");
  }
  generador::grupo(s, 0, "ENDSEC");
  generador::grupo(s, 0, "SECTION");
  generador::grupo(s, 2, "ENTITIES");
  for (int i = 0; i < inserciones; ++i) {
    const std::int64_t x = a.entre(este_min, este_max), y = a.entre(norte_min, norte_max);
    if (explotado) {
      for (const entidad_simbolo& e : simbolo) escribe_simbolo(s, e, x, y, "LINEA ELECTRICA");
    } else {
      generador::grupo(s, 0, "INSERT");
      generador::grupo(s, 8, "LINEA ELECTRICA");
      generador::grupo(s, 2, "SIMBOLO");
      generador::milesimas(s, 10, x); generador::milesimas(s, 20, y); generador::milesimas(s, 30, 0);
    }
    quizas_vacia(false);
  }
  s += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
  quizas_vacia(true);
}

std::string dibujo_en_memoria(std::uint64_t semilla, std::uint64_t bytes) {
  generador g(semilla);
  std::string s;
  s.reserve(static_cast<std::size_t>(bytes) + 65536);
  g.cabecera(s);
  while (s.size() < bytes) g.entidad(s);
  generador::pie(s);
  return s;
}

std::string_view tabla_codigos_banco() {
  return "VI00001 CURVA NIVEL MAESTRA\r\n"
         "VI00002 CURVA NIVEL\r\n"
         "VI00003 CURVA DEPRESION\r\n"
         "VI00010 CARRETERA NACIONAL\r\n"
         "VI00011 CARRETERA\r\n"
         "VI00012 AUTOVIA\r\n"
         "VI00013 CAMINO\r\n"
         "VI00014 SENDA\r\n"
         "VI00015 VIA FERREA\r\n"
         "VI00020 RIO\r\n"
         "VI00021 ARROYO\r\n"
         "VI00022 CANAL\r\n"
         "VI00023 EMBALSE\r\n"
         "VI00024 FUENTE\r\n"
         "VI00030 EDIFICIO\r\n"
         "VI00031 NAVE\r\n"
         "VI00032 IGLESIA\r\n"
         "VI00040 VERTICE\r\n"
         "VI00041 COTA\r\n"
         "VI00042 PUNTO ACOTADO\r\n"
         "VI00050 TOPONIMIA\r\n"
         "VI00051 ROTULO\r\n"
         "VI00060 LIMITE MUNICIPAL\r\n"
         "VI00061 LIMITE PROVINCIAL\r\n"
         "VI00070 LINEA ELECTRICA\r\n"
         "VI00071 TUBERIA\r\n"
         "VI00080 ARBOLADO\r\n"
         "VI00081 CULTIVO\r\n"
         "VI00082 PRADO\r\n";
}

}  // namespace tolvar::banco
