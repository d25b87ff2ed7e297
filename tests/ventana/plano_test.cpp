// The map preview's neutral part: reading a .bin into the display list, the view, the level of
// detail, the redraw, the colours, the panel and the status bar, without a display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/error_conversion.h"
#include "core/numeros.h"
#include "inspeccion/lector_bin.h"
#include "support/ficheros_memoria.h"
#include "ventana/visor_plano.h"

namespace tolvar {
namespace {

using par = std::pair<std::int32_t, std::int32_t>;

void pon_32(std::string& s, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) s += static_cast<char>((u >> (8 * i)) & 0xFF);
}

// A record as a writer lays it out; the extent block holds what the preview reads of it, a
// text's height. Points are (x, y) in thousandths as stored, z 0.
std::string registro(char clase, std::string_view cod, std::vector<par> puntos,
                     std::string_view texto = {}, std::int32_t alto = 0) {
  const std::size_t unidades = puntos.size() + (texto.size() + 12) / 12 * (texto.empty() ? 0 : 1);
  std::string s{clase, '='};
  s += cod;
  s.append(7 - cod.size(), '\0');
  s += '\0';
  s += static_cast<char>(unidades & 0xFF);
  s += static_cast<char>(unidades >> 8);
  for (int i = 0; i < 6; ++i) pon_32(s, 0);
  pon_32(s, alto);
  pon_32(s, 0);
  pon_32(s, 0);
  for (const auto& [x, y] : puntos) {
    pon_32(s, x);
    pon_32(s, y);
    pon_32(s, 0);
  }
  if (!texto.empty()) {
    std::string t(texto);
    t += '\0';
    t.append((12 - t.size() % 12) % 12, ' ');
    s += t;
  }
  return s;
}

// Northings as the file stores them: 4,000,000,000 thousandths less.
constexpr std::int32_t n(std::int64_t norte) { return static_cast<std::int32_t>(norte - 4000000000); }

lista_plano lee(const std::string& bytes) {
  ficheros_memoria fs;
  fs.pon("d/a.bin", bytes);
  return lista_plano::lee(fs, "d/a.bin");
}

// A map of 100 x 50 drawing units from (1000, 4000000): a closed square on VI02, a point on
// Nuevo, a text on VI01 of 2.5 units, an open line on Nuevo along the north edge.
std::string mapa() {
  return registro('C', "VI02", {{1000000, n(4000000000)}, {1010000, n(4000000000)},
                                {1010000, n(4000010000)}, {1000000, n(4000000000)}}) +
         registro('C', "Nuevo", {{1050000, n(4000025000)}}) +
         registro('T', "VI01", {{1020000, n(4000040000)}}, "Ermita", 2500) +
         registro('C', "Nuevo", {{1060000, n(4000050000)}, {1100000, n(4000050000)}});
}

TEST(lista_plano, lee_formas_cajas_codigos_y_textos) {
  // A triangle keeps its northings as they are.
  const lista_plano l = lee(mapa() + registro('C', "TRIANG", {{1070000, 10000}, {1080000, 10000},
                                                             {1070000, 20000}}));
  ASSERT_EQ(l.registros().size(), 5u);
  const struct {
    forma_plano forma;
    std::uint32_t num;
    caja_plano caja;
  } esperados[] = {
      {forma_plano::linea, 4, {1000000, 4000000000, 1010000, 4000010000}},
      {forma_plano::cruz, 1, {1050000, 4000025000, 1050000, 4000025000}},
      // Six characters of 2.5 across, 2.5 up, from the insertion point.
      {forma_plano::texto, 1, {1020000, 4000040000, 1035000, 4000042500}},
      {forma_plano::linea, 2, {1060000, 4000050000, 1100000, 4000050000}},
      {forma_plano::poligono, 3, {1070000, 10000, 1080000, 20000}},
  };
  for (std::size_t i = 0; i < std::size(esperados); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(l.registros()[i].forma, esperados[i].forma);
    EXPECT_EQ(l.registros()[i].num, esperados[i].num);
    EXPECT_EQ(l.cajas()[i], esperados[i].caja);
  }
  EXPECT_EQ(l.texto(l.registros()[2]), "Ermita");
  EXPECT_EQ(l.texto(l.registros()[0]), "");
  EXPECT_EQ(l.registros()[2].alto, 2500);
  EXPECT_EQ(l.extension(), (caja_plano{1000000, 10000, 1100000, 4000050000}));

  // The codes by their bytes, with their counts; Nuevo flagged.
  std::vector<std::string> nombres;
  for (const codigo_plano& c : l.codigos())
    nombres.push_back(c.nombre + " " + std::to_string(c.registros) + (c.nuevo ? " nuevo" : ""));
  EXPECT_EQ(nombres, (std::vector<std::string>{"Nuevo 2 nuevo", "TRIANG 1", "VI01 1", "VI02 1"}));
  EXPECT_EQ(l.codigos()[l.registros()[0].codigo].nombre, "VI02");
  EXPECT_EQ(l.codigos()[l.registros()[4].codigo].nombre, "TRIANG");
}

TEST(lista_plano, un_fichero_que_el_lector_rechaza_da_su_error) {
  const std::string bueno = registro('C', "VI01", {{0, 0}});
  const struct {
    const char* nombre;
    std::string bytes;
    int numero;
  } casos[] = {
      {"cortado", bueno + bueno.substr(0, 30), fin_de_fichero},
      {"ajeno", "GIF89a" + std::string(60, 'x'), error_bin::no_es_registro},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    try {
      lee(c.bytes);
      ADD_FAILURE() << "read";
    } catch (const error_bin& e) {
      EXPECT_EQ(e.numero(), c.numero);
      EXPECT_EQ(e.fichero(), "d/a.bin");
    }
  }
  EXPECT_TRUE(lee("").registros().empty());
  EXPECT_TRUE(lee("").extension().vacia());
}

// The index finds exactly what looking at every box finds.
TEST(lista_plano, el_indice_encuentra_lo_mismo_que_mirar_cada_caja) {
  std::uint64_t azar = 12345;
  const auto siguiente = [&](std::int32_t hasta) {
    azar = azar * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::int32_t>((azar >> 33) % static_cast<std::uint64_t>(hasta));
  };
  std::string bytes;
  for (int i = 0; i < 700; ++i) {
    const std::int32_t x = siguiente(1000000), y = siguiente(1000000);
    bytes += i % 3 == 0 ? registro('C', "P", {{x, y}})
                        : registro('C', "L", {{x, y}, {x + siguiente(50000), y + siguiente(80000)}});
  }
  const lista_plano l = lee(bytes);
  std::vector<std::uint32_t> ids;
  for (int k = 0; k < 200; ++k) {
    const std::int64_t x = siguiente(1000000), y = siguiente(1000000) + desplazamiento_y;
    const caja_plano c{x, y, x + siguiente(300000), y + siguiente(300000)};
    l.busca(c, ids);
    std::vector<std::uint32_t> todos;
    for (std::uint32_t i = 0; i < l.cajas().size(); ++i)
      if (l.cajas()[i].corta(c)) todos.push_back(i);
    ASSERT_EQ(ids, todos) << k;
  }
}

// The same code has the same colour whatever else the drawing holds and in whatever order;
// these are the colours of 0.3.0 and must stay.
TEST(color_codigo, estable_y_lejos_del_rojo_de_nuevo) {
  const struct {
    const char* cod;
    color_rgb color;
  } fijos[] = {{"VI00001", {173, 138, 31}}, {"VI00002", {121, 31, 173}}, {"0101", {31, 76, 173}}};
  const auto en_array = [](std::string_view s) {
    std::array<char, 7> a{};
    std::copy(s.begin(), s.end(), a.begin());
    return a;
  };
  for (const auto& f : fijos) {
    const color_rgb c = color_codigo(en_array(f.cod));
    EXPECT_EQ((std::array{c.rojo, c.verde, c.azul}),
              (std::array{f.color.rojo, f.color.verde, f.color.azul}))
        << f.cod;
  }
  const auto color_de = [](const lista_plano& l, std::string_view nombre) {
    for (const codigo_plano& c : l.codigos())
      if (c.nombre == nombre) return std::array{c.color.rojo, c.color.verde, c.color.azul};
    return std::array<std::uint8_t, 3>{};
  };
  const lista_plano a = lee(registro('C', "VI00002", {{0, 0}}) + registro('C', "0101", {{0, 0}}));
  const lista_plano b = lee(registro('C', "ZZ", {{0, 0}}) + registro('C', "0101", {{0, 0}}) +
                            registro('C', "VI00002", {{0, 0}}) + registro('C', "A", {{0, 0}}));
  for (const char* cod : {"VI00002", "0101"}) EXPECT_EQ(color_de(a, cod), color_de(b, cod)) << cod;

  // Nuevo strongly red; every other code's hue at least 30 degrees from red.
  const color_rgb nuevo = color_codigo(en_array("Nuevo"));
  EXPECT_GE(nuevo.rojo, 200);
  EXPECT_LE(std::max(nuevo.verde, nuevo.azul), 40);
  for (int i = 0; i < 5000; ++i) {
    const color_rgb c = color_codigo(en_array("C" + std::to_string(i)));
    const double r = c.rojo, g = c.verde, b2 = c.azul;
    const double tono = std::atan2(std::sqrt(3.0) * (g - b2), 2 * r - g - b2) * 180 / 3.14159265358979;
    ASSERT_GE(std::abs(tono), 30) << i;
  }
}

// Fitting: the whole extension inside the canvas less its margin, centred, one scale.
TEST(vista_plano, ajusta_la_extension_al_lienzo) {
  const struct {
    const char* nombre;
    caja_plano extension;
    int ancho, alto;
    double escala;        // pixels a drawing unit
    punto_mundo centro;
  } casos[] = {
      // 100 x 50 units in 216 x 116 less 8 round: 200/100 and 100/50, both 2.
      {"justa", {0, 4000000000, 100000, 4000050000}, 216, 116, 2, {50, 4000025}},
      {"ancha", {0, 0, 400000, 10000}, 216, 116, 0.5, {200, 5}},
      {"alta", {0, 0, 10000, 400000}, 216, 116, 0.25, {5, 200}},
      {"una_vertical", {7000, 0, 7000, 50000}, 216, 116, 2, {7, 25}},
      {"una_horizontal", {0, 3000, 50000, 3000}, 216, 116, 4, {25, 3}},
      {"un_punto", {1500, 2500, 1500, 2500}, 216, 116, 1, {1.5, 2.5}},
      {"nada", {}, 216, 116, 1, {0, 0}},
      {"lienzo_menor_que_el_margen", {0, 0, 100000, 100000}, 10, 10, 0.01, {50, 50}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    vista_plano v;
    v.pon_margen(8);
    v.tamano(c.ancho, c.alto);
    v.ajusta(c.extension);
    EXPECT_DOUBLE_EQ(v.escala(), c.escala);
    EXPECT_DOUBLE_EQ(v.centro().x, c.centro.x);
    EXPECT_DOUBLE_EQ(v.centro().y, c.centro.y);
    EXPECT_TRUE(v.ajustada());
  }
  // The fitted corners land on the margin: the west edge 8 pixels in, the north one too.
  vista_plano v;
  v.pon_margen(8);
  v.tamano(216, 116);
  v.ajusta({0, 4000000000, 100000, 4000050000});
  EXPECT_DOUBLE_EQ(v.x_pixel(0), 8);
  EXPECT_DOUBLE_EQ(v.y_pixel(4000050000), 8);
  EXPECT_DOUBLE_EQ(v.x_pixel(100000), 208);
  EXPECT_DOUBLE_EQ(v.y_pixel(4000000000), 108);
  // Fitted, a new size fits again; moved, it keeps centre and scale.
  v.tamano(416, 216);
  EXPECT_DOUBLE_EQ(v.escala(), 4);
  v.desplaza(10, 0);
  v.tamano(216, 116);
  EXPECT_DOUBLE_EQ(v.escala(), 4);
  EXPECT_DOUBLE_EQ(v.centro().x, 50 - 2.5);
}

// A view of `escala` pixels a drawing unit about `centro`: an extension as wide as the
// canvas at that scale fitted, then zoomed to the scale exactly.
vista_plano vista_de(double escala, punto_mundo centro, int ancho = 640, int alto = 480) {
  vista_plano v;
  v.pon_margen(0);
  v.tamano(ancho, alto);
  const auto medio = std::llround(ancho / escala * 500);
  const auto x = std::llround(centro.x * 1000), y = std::llround(centro.y * 1000);
  v.ajusta({x - medio, y, x + medio, y});
  v.acerca({ancho / 2.0, alto / 2.0}, escala / v.escala());
  return v;
}

// Zooming at a point keeps what is under it there; the scale stays within its bounds, and
// the place under the pointer stays even where a bound stops the scale.
TEST(vista_plano, acerca_en_un_punto_y_se_detiene_en_sus_limites) {
  const struct {
    const char* nombre;
    punto_px_doble donde;
    double factor, escala;
  } casos[] = {
      {"en_el_centro", {320, 240}, 2, 1280},
      {"en_una_esquina", {0.5, 479.5}, 1.25, 800},
      {"alejando", {100, 30}, 0.5, 320},
      {"sin_cambio", {17, 400}, 1, 640},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    vista_plano v = vista_de(640, {452000, 4470000});
    const punto_mundo antes = v.a_mundo(c.donde);
    v.acerca(c.donde, c.factor);
    EXPECT_DOUBLE_EQ(v.escala(), c.escala);
    const punto_mundo despues = v.a_mundo(c.donde);
    EXPECT_NEAR(despues.x, antes.x, 1e-9);
    EXPECT_NEAR(despues.y, antes.y, 1e-9);
    EXPECT_FALSE(v.ajustada());
  }
  vista_plano v = vista_de(640, {452000, 4470000});
  const punto_mundo fijo = v.a_mundo({100, 100});
  for (int i = 0; i < 200; ++i) v.acerca({100, 100}, 2);
  const double tope = v.escala();
  v.acerca({100, 100}, 2);
  EXPECT_EQ(v.escala(), tope);
  EXPECT_LT(tope, 1e6);
  EXPECT_NEAR(v.a_mundo({100, 100}).x, fijo.x, 1e-6);
  for (int i = 0; i < 400; ++i) v.acerca({100, 100}, 0.5);
  EXPECT_GT(v.escala(), 0);
  EXPECT_EQ(v.escala(), (v.acerca({100, 100}, 0.5), v.escala()));
}

// A drag moves the map with the pointer, whatever the scale.
TEST(vista_plano, desplaza_el_mapa_con_el_puntero) {
  const struct {
    double escala, dx, dy;
  } casos[] = {{640, 10, 0}, {640, 0, -7.5}, {0.001, 300, 200}, {50000, -1, 1}};
  for (const auto& c : casos) {
    vista_plano v = vista_de(c.escala, {452000, 4470000});
    const punto_mundo bajo = v.a_mundo({200, 100});
    v.desplaza(c.dx, c.dy);
    const punto_px_doble ahora = v.a_pixel(bajo);
    // Doubles hold a northing of millions to a nanometre: that much, times the scale.
    EXPECT_NEAR(ahora.x, 200 + c.dx, 1e-6 * std::max(1.0, c.escala)) << c.escala;
    EXPECT_NEAR(ahora.y, 100 + c.dy, 1e-6 * std::max(1.0, c.escala)) << c.escala;
  }
}

// World to pixel and back, from the scale of a whole country to that of a thousandth, at
// northings of millions: back where it started; a pixel's middle falls in that pixel.
TEST(vista_plano, ida_y_vuelta_entre_mundo_y_pixel) {
  const double escalas[] = {0.0005, 1, 640, 64000};
  const punto_mundo puntos[] = {{452000.125, 4470310.5}, {-1.5, 0.25}, {2147483.647, 6147483.647}};
  for (const double e : escalas) {
    for (const punto_mundo& centro : puntos) {
      const vista_plano v = vista_de(e, centro, 333, 211);
      for (const punto_mundo& p : puntos) {
        const punto_mundo q = v.a_mundo(v.a_pixel(p));
        EXPECT_NEAR(q.x, p.x, 1e-9 * std::max(1.0, std::abs(p.x))) << e;
        EXPECT_NEAR(q.y, p.y, 1e-9 * std::max(1.0, std::abs(p.y))) << e;
        // The thousandths of the file land where drawing units do.
        EXPECT_NEAR(v.x_pixel(std::llround(p.x * 1000)), v.a_pixel(p).x, 1e-3 * std::max(1.0, e / 1000));
      }
      for (const punto_px px : {punto_px{0, 0}, punto_px{332, 210}, punto_px{17, 105}}) {
        const punto_px_doble d = v.a_pixel(v.bajo_pixel(px));
        EXPECT_EQ(static_cast<int>(std::floor(d.x)), px.x) << e;
        EXPECT_EQ(static_cast<int>(std::floor(d.y)), px.y) << e;
      }
    }
  }
}

std::vector<std::uint32_t> simplificados(const std::vector<punto_px_doble>& p) {
  double x0 = p[0].x, x1 = p[0].x, y0 = p[0].y, y1 = p[0].y;
  for (const punto_px_doble& q : p) {
    x0 = std::min(x0, q.x);
    x1 = std::max(x1, q.x);
    y0 = std::min(y0, q.y);
    y1 = std::max(y1, q.y);
  }
  std::vector<std::uint32_t> g;
  simplifica(p.data(), p.size(), x0, y0, x1, y1, g);
  return g;
}

TEST(nivel_de_detalle, une_los_tramos_de_menos_de_un_pixel) {
  const struct {
    const char* nombre;
    std::vector<punto_px_doble> puntos;
    std::vector<std::uint32_t> guardados;
  } casos[] = {
      {"uno", {{5, 5}}, {0}},
      {"todos_lejos", {{0, 0}, {1, 0}, {1, 1}, {3, 1}}, {0, 1, 2, 3}},
      // 0.3 and 0.6 from the first: merged; 1.2: kept; the last always.
      {"pasos_cortos", {{0, 0}, {0.3, 0}, {0.6, 0.2}, {1.2, 0.2}, {1.25, 0.3}}, {0, 3, 4}},
      // The peak at y 0.9 is the box's south side: kept although it is close.
      {"extremo_cercano", {{0, 0}, {0.5, 0.9}, {0.7, 0.1}, {5, 0}}, {0, 1, 3}},
      {"vuelve_al_inicio", {{0, 0}, {0.2, 0.2}, {0.1, 0.1}, {0, 0}}, {0, 1, 3}},
  };
  for (const auto& c : casos) EXPECT_EQ(simplificados(c.puntos), c.guardados) << c.nombre;
}

// On random lines at every density: the kept points reach every side the line reaches, the
// first and the last are kept, and each dropped point is within a pixel of the kept one
// before it.
TEST(nivel_de_detalle, guarda_la_extension_de_cada_registro) {
  std::uint64_t azar = 99;
  const auto unidad = [&] {
    azar = azar * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(azar >> 11) / 9007199254740992.0;
  };
  for (const double paso : {0.05, 0.4, 1.0, 3.0}) {
    for (int linea = 0; linea < 50; ++linea) {
      std::vector<punto_px_doble> p{{unidad() * 100, unidad() * 100}};
      for (int i = 0; i < 300; ++i)
        p.push_back({p.back().x + (unidad() - 0.5) * paso, p.back().y + (unidad() - 0.5) * paso});
      const std::vector<std::uint32_t> g = simplificados(p);
      ASSERT_EQ(g.front(), 0u);
      ASSERT_EQ(g.back(), p.size() - 1);
      const auto extremos = [](const std::vector<punto_px_doble>& q) {
        std::array<double, 4> e{q[0].x, q[0].y, q[0].x, q[0].y};
        for (const punto_px_doble& r : q)
          e = {std::min(e[0], r.x), std::min(e[1], r.y), std::max(e[2], r.x), std::max(e[3], r.y)};
        return e;
      };
      std::vector<punto_px_doble> kept;
      for (const std::uint32_t i : g) kept.push_back(p[i]);
      ASSERT_EQ(extremos(kept), extremos(p)) << paso;
      std::size_t k = 0;
      for (std::uint32_t i = 0; i < p.size(); ++i) {
        if (k + 1 < g.size() && g[k + 1] == i) {
          ++k;
          continue;
        }
        if (g[k] == i) continue;
        ASSERT_LT(std::abs(p[i].x - p[g[k]].x), 1) << paso;
        ASSERT_LT(std::abs(p[i].y - p[g[k]].y), 1) << paso;
      }
      if (paso < 1) {
        EXPECT_LT(g.size(), p.size() / 2) << paso;
      }
    }
  }
}

// The visor over the map above in a canvas two pixels a unit with the margin round it:
// x goes to m + (x - 1000) * 2 and y to m + (4000050 - y) * 2.
class visor_mapa : public ::testing::Test {
 protected:
  visor_mapa() {
    fs.pon("d/a.bin", mapa());
    fs.pon("d/b.bin", registro('C', "VI01", {{0, n(4000000000)}, {4000, n(4000003000)}}));
    v.tamano(200 + 2 * m, 100 + 2 * m);
    v.pon_ficheros({"d/b.bin", "d/a.bin"});
  }
  const int m = pixeles(margen_plano, 96);
  ficheros_memoria fs;
  visor_plano v{fs};
};

struct escena_esperada {
  std::vector<std::string> grupos;
  std::vector<punto_px> puntos;
  std::vector<std::uint32_t> fin_lineas;
  std::vector<punto_px> cruces, sueltos;
  std::vector<std::pair<punto_px, std::int32_t>> textos;
  std::size_t registros;
};

void compara(visor_plano& v, const escena_esperada& x) {
  const escena_plano& e = v.escena();
  std::vector<std::string> grupos;
  for (const escena_plano::grupo& g : e.grupos) grupos.push_back(v.lista().codigos()[g.codigo].nombre);
  EXPECT_EQ(grupos, x.grupos);
  EXPECT_EQ(e.puntos, x.puntos);
  EXPECT_EQ(e.fin_lineas, x.fin_lineas);
  EXPECT_EQ(e.cruces, x.cruces);
  EXPECT_EQ(e.sueltos, x.sueltos);
  std::vector<std::pair<punto_px, std::int32_t>> textos;
  for (const escena_plano::texto& t : e.textos) textos.emplace_back(t.donde, t.alto);
  EXPECT_EQ(textos, x.textos);
  EXPECT_EQ(e.registros, x.registros);
}

// Code by code, Nuevo last; each line ends a pixel right of its last point.
TEST_F(visor_mapa, la_escena_dibuja_cada_codigo_en_su_sitio_y_nuevo_al_final) {
  ASSERT_EQ(v.error(), "");
  EXPECT_EQ(v.titulo(), "Plano — a.bin");
  const std::vector<punto_px> cuadro{{m, m + 100}, {m + 20, m + 100}, {m + 20, m + 80},
                                     {m, m + 100}, {m + 1, m + 100}};
  std::vector<punto_px> lineas = cuadro;
  lineas.insert(lineas.end(), {{m + 120, m}, {m + 200, m}, {m + 201, m}});
  compara(v, {{"VI01", "VI02", "Nuevo"}, lineas, {5, 8}, {{m + 100, m + 50}}, {},
              {{{m + 40, m + 20}, 5}}, 4});

  // A code hidden from the panel leaves the map, and comes back.
  v.muestra_codigo(1, false);   // VI01, the text
  compara(v, {{"VI02", "Nuevo"}, lineas, {5, 8}, {{m + 100, m + 50}}, {}, {}, 3});
  v.muestra_codigo(1, true);

  // Dragged 30 pixels right: the Nuevo line leaves the canvas, cut two pixels past its edge.
  v.arrastra(30, 0);
  lineas.clear();
  for (const punto_px& p : cuadro) lineas.push_back({p.x + 30, p.y});
  lineas.insert(lineas.end(), {{m + 150, m}, {2 * m + 202, m}, {2 * m + 203, m}});
  compara(v, {{"VI01", "VI02", "Nuevo"}, lineas, {5, 8}, {{m + 130, m + 50}}, {},
              {{{m + 70, m + 20}, 5}}, 4});

  // Dragged off the canvas: nothing.
  v.arrastra(0, 1000);
  compara(v, {{}, {}, {}, {}, {}, {}, 0});

  // A sixteenth of the fitted scale: the text under 4 pixels is not drawn.
  v.pulsa(tecla_plano::inicio);
  v.rueda({100.0 + m, 50.0 + m}, -std::log(16.0) / std::log(1.25));
  const escena_plano& e = v.escena();
  EXPECT_TRUE(e.textos.empty());
  EXPECT_EQ(e.registros, 3u);
}

TEST_F(visor_mapa, un_registro_dentro_de_un_pixel_es_ese_pixel) {
  fs.pon("d/c.bin", registro('C', "VI01", {{1000100, n(4000000100)}, {1000200, n(4000000300)},
                                          {1000300, n(4000000100)}}) + mapa());
  v.pon_ficheros({"d/c.bin"});
  const escena_plano& e = v.escena();
  EXPECT_EQ(e.sueltos, (std::vector<punto_px>{{m, m + 99}}));
  EXPECT_EQ(e.registros, 5u);
}

TEST_F(visor_mapa, teclas_rueda_y_doble_clic) {
  const vista_plano ajustada = v.vista();
  const auto centro = [&] { return v.vista().centro(); };
  // Each key undone by its opposite; + and the wheel forward alike.
  const struct {
    tecla_plano ida, vuelta;
  } pares[] = {{tecla_plano::mas, tecla_plano::menos},
               {tecla_plano::izquierda, tecla_plano::derecha},
               {tecla_plano::arriba, tecla_plano::abajo}};
  for (const auto& p : pares) {
    v.pulsa(p.ida);
    EXPECT_FALSE(v.vista().ajustada());
    v.pulsa(p.vuelta);
    EXPECT_NEAR(v.vista().escala(), ajustada.escala(), 1e-12);
    EXPECT_NEAR(centro().x, ajustada.centro().x, 1e-9);
    EXPECT_NEAR(centro().y, ajustada.centro().y, 1e-9);
  }
  v.pulsa(tecla_plano::izquierda);   // more of the west: the centre goes west
  EXPECT_LT(centro().x, ajustada.centro().x);
  v.pulsa(tecla_plano::arriba);      // more of the north
  EXPECT_GT(centro().y, ajustada.centro().y);
  v.pulsa(tecla_plano::mas);
  const double con_tecla = v.vista().escala();
  v.pulsa(tecla_plano::menos);
  v.rueda({20, 30}, 1);
  EXPECT_DOUBLE_EQ(v.vista().escala(), con_tecla);
  v.encaja();
  EXPECT_TRUE(v.vista().ajustada());
  EXPECT_EQ(v.vista().escala(), ajustada.escala());
  v.rueda({20, 30}, 2);
  v.pulsa(tecla_plano::inicio);
  EXPECT_EQ(centro().x, ajustada.centro().x);
}

TEST_F(visor_mapa, panel_eleccion_y_estado) {
  std::vector<std::string> panel;
  for (std::size_t i = 0; i < v.lista().codigos().size(); ++i) panel.push_back(v.linea_panel(i));
  EXPECT_EQ(panel, (std::vector<std::string>{"Nuevo (2)", "VI01 (1)", "VI02 (1)"}));
  EXPECT_EQ(v.elegido(), 1u);
  EXPECT_EQ(v.texto_estado(), "1 píxel = 0.5    Registros dibujados: 4");
  v.puntero(punto_px{m + 100, m + 50});
  EXPECT_EQ(v.texto_estado(), "X 1050.250  Y 4000024.750    1 píxel = 0.5    Registros dibujados: 4");
  v.puntero(std::nullopt);
  // Closer: the line along the north edge leaves the canvas.
  v.pulsa(tecla_plano::mas);
  EXPECT_EQ(v.texto_estado(), "1 píxel = 0.4    Registros dibujados: 3");

  v.elige(0);
  EXPECT_EQ(v.titulo(), "Plano — b.bin");
  EXPECT_EQ(v.linea_panel(0), "VI01 (1)");
  EXPECT_TRUE(v.vista().ajustada());
}

// A torn file and one that is no .bin: the reader's message in Spanish, an empty map, and the
// visor as usable as before.
TEST_F(visor_mapa, un_bin_roto_o_ajeno_muestra_el_mensaje_del_lector) {
  const std::string punto = registro('C', "VI01", {{0, 0}});
  fs.pon("d/roto.bin", punto + punto.substr(0, 20));
  fs.pon("d/ajeno.bin", "%PDF-1.4 " + std::string(40, '-'));
  const struct {
    const char* fichero;
    std::string empieza;
  } casos[] = {
      {"d/roto.bin", "Error 62 (se ha leído más allá del final del fichero): registro 2 en el "
                     "desplazamiento 60 está cortado: "},
      {"d/ajeno.bin", "Error 1 (no es un registro de entidad): registro 1 en el desplazamiento 0 "
                      "tiene la clase 25 50; "},
      {"d/no_esta.bin", "Error 53 (no se ha encontrado el fichero): "},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.fichero);
    v.pon_ficheros({"d/a.bin", c.fichero});
    EXPECT_EQ(v.error().substr(0, c.empieza.size()), c.empieza);
    EXPECT_TRUE(v.lista().codigos().empty());
    EXPECT_EQ(v.escena().registros, 0u);
    v.rueda({5, 5}, 3);
    v.pulsa(tecla_plano::inicio);
    EXPECT_EQ(v.texto_estado().find("X "), std::string::npos);
    v.elige(0);
    EXPECT_EQ(v.error(), "");
    EXPECT_EQ(v.escena().registros, 4u);
  }
}

// Each part where it goes: the canvas of its first size in both windows, whatever the
// toolkit's choice box and status bar measure; at 144 pixels an inch, half again as large.
TEST(reparte_plano, el_lienzo_inicial_es_el_mismo_en_ambas_ventanas) {
  const struct {
    int alto_eleccion, alto_estado, ppp;
  } casos[] = {{22, 20, 96}, {30, 26, 96}, {33, 30, 144}};
  rectangulo_px a_96{};
  for (const auto& c : casos) {
    const rectangulo_px dentro = tamano_inicial_plano(c.alto_eleccion, c.alto_estado, c.ppp);
    const sitios_plano s = reparte_plano(dentro.ancho, dentro.alto, c.alto_eleccion, c.alto_estado, c.ppp);
    if (c.ppp == 96) {
      if (a_96.ancho == 0) a_96 = s.lienzo;
      EXPECT_EQ(s.lienzo.ancho, a_96.ancho);
      EXPECT_EQ(s.lienzo.alto, a_96.alto);
    } else {
      EXPECT_EQ(s.lienzo.ancho * 2, a_96.ancho * 3);
      EXPECT_EQ(s.lienzo.alto * 2, a_96.alto * 3);
    }
    // Top to bottom: choice, canvas and panel side by side, status; nothing outside.
    EXPECT_EQ(s.eleccion.alto, c.alto_eleccion);
    EXPECT_GT(s.lienzo.arriba, s.eleccion.arriba + s.eleccion.alto);
    EXPECT_EQ(s.panel.arriba, s.lienzo.arriba);
    EXPECT_GT(s.panel.izquierda, s.lienzo.izquierda + s.lienzo.ancho - 1);
    EXPECT_LE(s.panel.izquierda + s.panel.ancho, dentro.ancho);
    EXPECT_EQ(s.estado.arriba, s.lienzo.arriba + s.lienzo.alto);
    EXPECT_EQ(s.estado.arriba + s.estado.alto, dentro.alto);
    EXPECT_EQ(s.lienzo.izquierda, 0);
  }
  // Made smaller than its parts, the canvas keeps a pixel.
  const sitios_plano s = reparte_plano(10, 10, 22, 20, 96);
  EXPECT_EQ(s.lienzo.ancho, 1);
  EXPECT_EQ(s.lienzo.alto, 1);
}

}  // namespace
}  // namespace tolvar
