// The map preview's neutral part, without a display: the display list, the view, the level of
// detail, the redraw, the colours, the panel and the status bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/error_conversion.h"
#include "inspeccion/lector_bin.h"
#include "support/ficheros_memoria.h"
#include "ventana/visor_plano.h"

namespace tolvar {
namespace {

void pon_32(std::string& s, std::int64_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF);
}

// A record as a writer lays it out: points (x, y) as stored, z 0; a text's height where the
// extent block keeps it, its string in slices of 12.
std::string registro(char clase, std::string_view cod, std::vector<std::array<std::int64_t, 2>> p,
                     std::string texto = {}, std::int32_t alto = 0) {
  if (!texto.empty()) texto.append(12 - texto.size() % 12, '\0');
  std::string s{clase, '='};
  s += cod;
  s.append(8 - cod.size(), '\0');
  const std::size_t unidades = p.size() + texto.size() / 12;
  s += {static_cast<char>(unidades), '\0'};
  for (const std::int64_t v : {0, 0, 0, 0, 0, 0, static_cast<int>(alto), 0, 0}) pon_32(s, v);
  for (const auto& [x, y] : p) {
    pon_32(s, x);
    pon_32(s, y);
    pon_32(s, 0);
  }
  return s + texto;
}

// A northing as the file stores it outside triangles.
constexpr std::int64_t n(std::int64_t norte) { return norte - 4000000000; }

lista_plano lee(const std::string& bytes) {
  ficheros_memoria fs;
  fs.pon("d/a.bin", bytes);
  return lista_plano::lee(fs, "d/a.bin");
}

// 100 x 50 drawing units from (1000, 4000000): a closed square on VI02, a point on Nuevo, a
// text of 2.5 units on VI01, a line on Nuevo along the north edge.
std::string mapa() {
  return registro('C', "VI02", {{1000000, n(4000000000)}, {1010000, n(4000000000)},
                                {1010000, n(4000010000)}, {1000000, n(4000000000)}}) +
         registro('C', "Nuevo", {{1050000, n(4000025000)}}) +
         registro('T', "VI01", {{1020000, n(4000040000)}}, "Ermita", 2500) +
         registro('C', "Nuevo", {{1060000, n(4000050000)}, {1100000, n(4000050000)}});
}

TEST(lista_plano, lee_formas_cajas_codigos_y_textos) {
  // A triangle keeps its northings whole.
  const lista_plano l = lee(mapa() + registro('C', "TRIANG", {{1070000, 10000}, {1080000, 10000},
                                                             {1070000, 20000}}));
  const struct {
    forma_plano forma;
    caja_plano caja;
  } esperados[] = {
      {forma_plano::linea, {1000000, 4000000000, 1010000, 4000010000}},
      {forma_plano::cruz, {1050000, 4000025000, 1050000, 4000025000}},
      {forma_plano::texto, {1020000, 4000040000, 1035000, 4000042500}},   // 6 x 2.5 across
      {forma_plano::linea, {1060000, 4000050000, 1100000, 4000050000}},
      {forma_plano::poligono, {1070000, 10000, 1080000, 20000}},
  };
  ASSERT_EQ(l.registros().size(), std::size(esperados));
  for (std::size_t i = 0; i < std::size(esperados); ++i) {
    EXPECT_EQ(l.registros()[i].forma, esperados[i].forma) << i;
    EXPECT_EQ(l.cajas()[i], esperados[i].caja) << i;
  }
  EXPECT_EQ(l.texto(l.registros()[2]), "Ermita");
  EXPECT_EQ(l.extension(), (caja_plano{1000000, 10000, 1100000, 4000050000}));
  // The panel's counts: the codes by their bytes.
  std::vector<std::string> codigos;
  for (const codigo_plano& c : l.codigos())
    codigos.push_back(c.nombre + " " + std::to_string(c.registros) + (c.nuevo ? " nuevo" : ""));
  EXPECT_EQ(codigos, (std::vector<std::string>{"Nuevo 2 nuevo", "TRIANG 1", "VI01 1", "VI02 1"}));
  EXPECT_EQ(l.codigos()[l.registros()[0].codigo].nombre, "VI02");
}

TEST(lista_plano, un_bin_que_el_lector_rechaza_da_su_error) {
  const std::string punto = registro('C', "VI01", {{0, 0}});
  const struct {
    std::string bytes;
    int numero;
  } casos[] = {{punto + punto.substr(0, 30), fin_de_fichero},
               {"GIF89a" + std::string(60, 'x'), error_bin::no_es_registro}};
  for (const auto& c : casos) {
    try {
      lee(c.bytes);
      ADD_FAILURE() << c.numero;
    } catch (const error_bin& e) {
      EXPECT_EQ(e.numero(), c.numero);
    }
  }
  EXPECT_TRUE(lee("").extension().vacia());
}

// The index finds exactly what looking at every box finds.
TEST(lista_plano, el_indice_encuentra_lo_mismo_que_mirar_cada_caja) {
  std::uint64_t azar = 12345;
  const auto hasta = [&](std::int64_t h) {
    azar = azar * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::int64_t>((azar >> 33) % static_cast<std::uint64_t>(h));
  };
  std::string bytes;
  for (int i = 0; i < 700; ++i) {
    const std::int64_t x = hasta(1000000), y = hasta(1000000);
    bytes += registro('C', "L", {{x, y}, {x + hasta(50000), y + hasta(80000)}});
  }
  const lista_plano l = lee(bytes);
  std::vector<std::uint32_t> ids, todos;
  for (int k = 0; k < 200; ++k) {
    const std::int64_t x = hasta(1000000), y = hasta(1000000) + 4000000000;
    const caja_plano c{x, y, x + hasta(300000), y + hasta(300000)};
    l.busca(c, ids);
    todos.clear();
    for (std::uint32_t i = 0; i < l.cajas().size(); ++i)
      if (l.cajas()[i].corta(c)) todos.push_back(i);
    ASSERT_EQ(ids, todos) << k;
  }
}

std::array<std::uint8_t, 3> rgb(color_rgb c) { return {c.rojo, c.verde, c.azul}; }

// A code's colour comes from its bytes alone: these are the colours of this version and must
// stay, whatever else or in whatever order the drawing holds. None comes near Nuevo's red.
TEST(color_codigo, estable_y_lejos_del_rojo_de_nuevo) {
  const struct {
    const char* cod;
    std::array<std::uint8_t, 3> color;
  } fijos[] = {{"VI00001", {173, 138, 31}}, {"VI00002", {121, 31, 173}}, {"0101", {31, 76, 173}}};
  std::string bytes;
  for (const char* c : {"ZZ", "VI00002", "0101", "VI00001", "A"}) bytes += registro('C', c, {{0, 0}});
  const lista_plano l = lee(bytes);
  for (const auto& f : fijos) {
    const auto c = std::find_if(l.codigos().begin(), l.codigos().end(),
                                [&](const codigo_plano& x) { return x.nombre == f.cod; });
    ASSERT_NE(c, l.codigos().end());
    EXPECT_EQ(rgb(c->color), f.color) << f.cod;
    EXPECT_EQ(rgb(color_codigo(c->cod)), f.color) << f.cod;
  }
  const color_rgb nuevo = color_codigo({'N', 'u', 'e', 'v', 'o'});
  EXPECT_TRUE(nuevo.rojo >= 200 && nuevo.verde <= 40 && nuevo.azul <= 40);
  for (int i = 0; i < 5000; ++i) {
    const std::string cod = "C" + std::to_string(i);
    std::array<char, 7> a{};
    std::copy(cod.begin(), cod.end(), a.begin());
    const color_rgb c = color_codigo(a);
    const double r = c.rojo, g = c.verde, b = c.azul;
    ASSERT_GE(std::abs(std::atan2(std::sqrt(3.0) * (g - b), 2 * r - g - b)) * 180 / std::numbers::pi, 30) << cod;
  }
}

TEST(vista_plano, ajusta_la_extension_al_lienzo_menos_su_margen) {
  const struct {
    caja_plano extension;
    int ancho, alto;
    double escala;   // pixels a drawing unit
    punto_mundo centro;
  } casos[] = {
      // 100 x 50 units in 216 x 116 less 8 round: 200/100 and 100/50.
      {{0, 4000000000, 100000, 4000050000}, 216, 116, 2, {50, 4000025}},
      {{0, 0, 400000, 10000}, 216, 116, 0.5, {200, 5}},
      {{0, 0, 10000, 400000}, 216, 116, 0.25, {5, 200}},
      {{7000, 0, 7000, 50000}, 216, 116, 2, {7, 25}},      // a vertical line
      {{0, 3000, 50000, 3000}, 216, 116, 4, {25, 3}},      // a horizontal one
      {{1500, 2500, 1500, 2500}, 216, 116, 1, {1.5, 2.5}}, // a point: a unit a pixel
      {{}, 216, 116, 1, {0, 0}},                           // nothing: the origin
      {{0, 0, 100000, 100000}, 10, 10, 0.01, {50, 50}},    // a canvas smaller than its margin
  };
  for (const auto& c : casos) {
    vista_plano v;
    v.pon_margen(8);
    v.tamano(c.ancho, c.alto);
    v.ajusta(c.extension);
    EXPECT_DOUBLE_EQ(v.escala(), c.escala) << c.extension.x1;
    EXPECT_DOUBLE_EQ(v.centro().x, c.centro.x) << c.extension.x1;
    EXPECT_DOUBLE_EQ(v.centro().y, c.centro.y) << c.extension.x1;
  }
  // Fitted, a new size fits again; moved, it keeps its centre and scale.
  vista_plano v;
  v.pon_margen(8);
  v.ajusta(casos[0].extension);
  v.tamano(416, 216);
  v.desplaza(10, 0);
  v.tamano(216, 116);
  EXPECT_DOUBLE_EQ(v.escala(), 4);
  EXPECT_DOUBLE_EQ(v.centro().x, 47.5);
}

// A view of `escala` pixels a unit about `centro`, fitted to a canvas-wide extension, zoomed.
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

// The place under the pointer stays there, also where a bound stops the scale.
TEST(vista_plano, acerca_en_un_punto_hasta_sus_limites) {
  const struct {
    punto_px_doble donde;
    double factor, escala;
  } casos[] = {{{320, 240}, 2, 1280}, {{0.5, 479.5}, 1.25, 800}, {{100, 30}, 0.5, 320},
               {{17, 400}, 1, 640}, {{9, 9}, 1e30, 64000}, {{9, 9}, 1e-30, 10}};
  for (const auto& c : casos) {
    vista_plano v = vista_de(640, {452000, 4470000});
    const punto_mundo antes = v.a_mundo(c.donde);
    v.acerca(c.donde, c.factor);
    EXPECT_DOUBLE_EQ(v.escala(), c.escala) << c.factor;
    EXPECT_NEAR(v.a_mundo(c.donde).x, antes.x, 1e-9) << c.factor;
    EXPECT_NEAR(v.a_mundo(c.donde).y, antes.y, 1e-9) << c.factor;
  }
}

// A drag moves the map with the pointer, at any scale; doubles hold a northing of millions to a
// nanometre, times the scale in pixels.
TEST(vista_plano, desplaza_el_mapa_con_el_puntero) {
  const struct {
    double escala, dx, dy;
  } casos[] = {{640, 10, 0}, {640, 0, -7.5}, {0.001, 300, 200}, {50000, -1, 1}};
  for (const auto& c : casos) {
    vista_plano v = vista_de(c.escala, {452000, 4470000});
    const punto_mundo bajo = v.a_mundo({200, 100});
    v.desplaza(c.dx, c.dy);
    EXPECT_NEAR(v.a_pixel(bajo).x, 200 + c.dx, 1e-6 * std::max(1.0, c.escala)) << c.escala;
    EXPECT_NEAR(v.a_pixel(bajo).y, 100 + c.dy, 1e-6 * std::max(1.0, c.escala)) << c.escala;
  }
}

// From a country's scale to a thousandth's, at northings of millions: back where it started,
// the file's thousandths where drawing units land, a pixel's middle in that pixel.
TEST(vista_plano, ida_y_vuelta_entre_mundo_y_pixel) {
  const punto_mundo puntos[] = {{452000.125, 4470310.5}, {-1.5, 0.25}, {2147483.647, 6147483.647}};
  for (const double e : {0.0005, 1.0, 640.0, 64000.0}) {
    for (const punto_mundo& centro : puntos) {
      const vista_plano v = vista_de(e, centro, 333, 211);
      for (const punto_mundo& p : puntos) {
        EXPECT_NEAR(v.a_mundo(v.a_pixel(p)).x, p.x, 1e-9 * std::max(1.0, std::abs(p.x))) << e;
        EXPECT_NEAR(v.a_mundo(v.a_pixel(p)).y, p.y, 1e-9 * std::max(1.0, std::abs(p.y))) << e;
        EXPECT_NEAR(v.x_pixel(std::llround(p.x * 1000)), v.a_pixel(p).x, 1e-3 * std::max(1.0, e / 1000));
      }
      for (const punto_px px : {punto_px{0, 0}, punto_px{332, 210}, punto_px{17, 105}}) {
        EXPECT_EQ(std::floor(v.a_pixel(v.bajo_pixel(px)).x), px.x) << e;
        EXPECT_EQ(std::floor(v.a_pixel(v.bajo_pixel(px)).y), px.y) << e;
      }
    }
  }
}

std::vector<std::uint32_t> simplificados(const std::vector<punto_px_doble>& p) {
  auto [x0, x1] = std::minmax_element(p.begin(), p.end(), [](auto a, auto b) { return a.x < b.x; });
  auto [y0, y1] = std::minmax_element(p.begin(), p.end(), [](auto a, auto b) { return a.y < b.y; });
  std::vector<std::uint32_t> g;
  simplifica(p.data(), p.size(), x0->x, y0->y, x1->x, y1->y, g);
  return g;
}

TEST(nivel_de_detalle, une_los_tramos_de_menos_de_un_pixel) {
  const struct {
    std::vector<punto_px_doble> puntos;
    std::vector<std::uint32_t> guardados;
  } casos[] = {
      {{{5, 5}}, {0}},
      {{{0, 0}, {1, 0}, {1, 1}, {3, 1}}, {0, 1, 2, 3}},
      // 0.3 and 0.6 from the first: merged; 1.2: kept; the last always.
      {{{0, 0}, {0.3, 0}, {0.6, 0.2}, {1.2, 0.2}, {1.25, 0.3}}, {0, 3, 4}},
      // The peak at y 0.9 is the box's south side: kept, close as it is.
      {{{0, 0}, {0.5, 0.9}, {0.7, 0.1}, {5, 0}}, {0, 1, 3}},
      {{{0, 0}, {0.2, 0.2}, {0.1, 0.1}, {0, 0}}, {0, 1, 3}},
  };
  for (const auto& c : casos) EXPECT_EQ(simplificados(c.puntos), c.guardados) << c.puntos.size();
}

// Random lines at every density: the kept points reach every side the line reaches, the first
// and the last are kept, and each dropped point is within a pixel of the last kept one.
TEST(nivel_de_detalle, guarda_la_extension_de_cada_registro) {
  std::uint64_t azar = 99;
  const auto unidad = [&] {
    azar = azar * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(azar >> 11) / 9007199254740992.0;
  };
  const auto extremos = [](const std::vector<punto_px_doble>& q) {
    std::array<double, 4> e{q[0].x, q[0].y, q[0].x, q[0].y};
    for (const punto_px_doble& r : q)
      e = {std::min(e[0], r.x), std::min(e[1], r.y), std::max(e[2], r.x), std::max(e[3], r.y)};
    return e;
  };
  for (const double paso : {0.05, 0.4, 1.0, 3.0}) {
    for (int linea = 0; linea < 50; ++linea) {
      std::vector<punto_px_doble> p{{unidad() * 100, unidad() * 100}};
      for (int i = 0; i < 300; ++i)
        p.push_back({p.back().x + (unidad() - 0.5) * paso, p.back().y + (unidad() - 0.5) * paso});
      const std::vector<std::uint32_t> g = simplificados(p);
      ASSERT_EQ(g.front(), 0u);
      ASSERT_EQ(g.back(), p.size() - 1);
      std::vector<punto_px_doble> kept;
      for (const std::uint32_t i : g) kept.push_back(p[i]);
      ASSERT_EQ(extremos(kept), extremos(p)) << paso;
      for (std::size_t k = 0, i = 0; i < p.size(); ++i) {
        if (k + 1 < g.size() && g[k + 1] == i) ++k;
        ASSERT_LT(std::max(std::abs(p[i].x - p[g[k]].x), std::abs(p[i].y - p[g[k]].y)),
                  g[k] == i ? 0.5 : 1) << paso;
      }
      if (paso < 1) {
        EXPECT_LT(g.size(), p.size() / 2) << paso;
      }
    }
  }
}

// The visor over mapa() in a canvas two pixels a unit with its margin round it: x goes to
// m + (x - 1000) * 2 and y to m + (4000050 - y) * 2.
class visor_mapa : public ::testing::Test {
 protected:
  visor_mapa() {
    fs.pon("d/a.bin", mapa());
    fs.pon("d/b.bin", registro('C', "VI01", {{0, n(4000000000)}, {4000, n(4000003000)}}));
    v.tamano(200 + 2 * m, 100 + 2 * m);
    v.pon_ficheros({"d/b.bin", "d/a.bin"});
  }
  // The scene as codes drawn, the lines' points, their ends, the crosses, the texts' places
  // and heights, and the records drawn.
  void escena_es(std::vector<std::string> grupos, std::vector<punto_px> puntos,
                 std::vector<std::uint32_t> fin, std::vector<punto_px> cruces,
                 std::vector<std::array<std::int32_t, 3>> textos, std::size_t registros) {
    const escena_plano& e = v.escena();
    std::vector<std::string> g;
    for (const escena_plano::grupo& x : e.grupos) g.push_back(v.lista().codigos()[x.codigo].nombre);
    std::vector<std::array<std::int32_t, 3>> t;
    for (const escena_plano::texto& x : e.textos) t.push_back({x.donde.x, x.donde.y, x.alto});
    EXPECT_EQ(g, grupos);
    EXPECT_EQ(e.puntos, puntos);
    EXPECT_EQ(e.fin_lineas, fin);
    EXPECT_EQ(e.cruces, cruces);
    EXPECT_EQ(t, textos);
    EXPECT_EQ(e.registros, registros);
  }
  const int m = pixeles(margen_plano, 96);
  ficheros_memoria fs;
  visor_plano v{fs};
};

// Code by code, Nuevo last; each line ends a pixel right of its last point; clipped two
// pixels past the canvas; a hidden code left out; a text under 4 pixels not drawn.
TEST_F(visor_mapa, la_escena_dibuja_cada_registro_donde_va) {
  ASSERT_EQ(v.error(), "");
  EXPECT_EQ(v.titulo(), "Plano — a.bin");
  std::vector<punto_px> cuadro{{m, m + 100}, {m + 20, m + 100}, {m + 20, m + 80}, {m, m + 100}, {m + 1, m + 100}};
  std::vector<punto_px> lineas = cuadro;
  lineas.insert(lineas.end(), {{m + 120, m}, {m + 200, m}, {m + 201, m}});
  escena_es({"VI01", "VI02", "Nuevo"}, lineas, {5, 8}, {{m + 100, m + 50}}, {{m + 40, m + 20, 5}}, 4);
  v.muestra_codigo(1, false);   // VI01, the text
  escena_es({"VI02", "Nuevo"}, lineas, {5, 8}, {{m + 100, m + 50}}, {}, 3);
  v.muestra_codigo(1, true);

  v.arrastra(30, 0);
  for (punto_px& p : cuadro) p.x += 30;
  lineas = cuadro;
  lineas.insert(lineas.end(), {{m + 150, m}, {2 * m + 202, m}, {2 * m + 203, m}});
  escena_es({"VI01", "VI02", "Nuevo"}, lineas, {5, 8}, {{m + 130, m + 50}}, {{m + 70, m + 20, 5}}, 4);
  v.arrastra(0, 1000);
  escena_es({}, {}, {}, {}, {}, 0);

  v.pulsa(tecla_plano::inicio);
  v.rueda({100.0 + m, 50.0 + m}, -std::log(16.0) / std::log(factor_zoom));
  EXPECT_TRUE(v.escena().textos.empty());
  EXPECT_EQ(v.escena().registros, 3u);

  // A record within one pixel is that pixel.
  fs.pon("d/c.bin", registro('C', "VI01", {{1000100, n(4000000100)}, {1000300, n(4000000300)}}) + mapa());
  v.pon_ficheros({"d/c.bin"});
  EXPECT_EQ(v.escena().sueltos, (std::vector<punto_px>{{m, m + 99}}));
}

// Each key undone by its opposite; an arrow shows more of its side; the wheel as + at the
// pointer; a double click or Home fits again.
TEST_F(visor_mapa, teclas_rueda_y_doble_clic) {
  const vista_plano a = v.vista();
  const auto como_ajustada = [&] {
    return std::abs(v.vista().escala() - a.escala()) < 1e-12 &&
           std::abs(v.vista().centro().x - a.centro().x) < 1e-9 &&
           std::abs(v.vista().centro().y - a.centro().y) < 1e-9;
  };
  using t = tecla_plano;
  for (const auto& [ida, vuelta] : {std::pair{t::mas, t::menos}, {t::izquierda, t::derecha}, {t::arriba, t::abajo}}) {
    v.pulsa(ida);
    EXPECT_FALSE(como_ajustada());
    v.pulsa(vuelta);
    EXPECT_TRUE(como_ajustada());
  }
  v.pulsa(t::izquierda);
  v.pulsa(t::arriba);
  EXPECT_TRUE(v.vista().centro().x < a.centro().x && v.vista().centro().y > a.centro().y);
  v.rueda({20, 30}, 1);
  EXPECT_DOUBLE_EQ(v.vista().escala(), a.escala() * factor_zoom);
  v.encaja();
  EXPECT_TRUE(como_ajustada());
  v.rueda({20, 30}, 2);
  v.pulsa(t::inicio);
  EXPECT_TRUE(como_ajustada());
}

TEST_F(visor_mapa, panel_eleccion_y_estado) {
  std::vector<std::string> panel;
  for (std::size_t i = 0; i < v.lista().codigos().size(); ++i) panel.push_back(v.linea_panel(i));
  EXPECT_EQ(panel, (std::vector<std::string>{"Nuevo (2)", "VI01 (1)", "VI02 (1)"}));
  EXPECT_EQ(v.texto_estado(), "1 píxel = 0.5    Registros dibujados: 4");
  v.puntero(punto_px{m + 100, m + 50});
  EXPECT_EQ(v.texto_estado(), "X 1050.250  Y 4000024.750    1 píxel = 0.5    Registros dibujados: 4");
  v.puntero(std::nullopt);
  v.pulsa(tecla_plano::mas);   // the line along the north edge leaves the canvas
  EXPECT_EQ(v.texto_estado(), "1 píxel = 0.4    Registros dibujados: 3");
  v.elige(0);
  EXPECT_EQ(v.titulo(), "Plano — b.bin");
  EXPECT_EQ(v.linea_panel(0), "VI01 (1)");
  EXPECT_TRUE(v.vista().ajustada());
}

// A torn file and one that is not there: the reader's message in Spanish, an empty map, and
// the visor as usable as before.
TEST_F(visor_mapa, un_bin_roto_muestra_el_mensaje_del_lector) {
  const std::string punto = registro('C', "VI01", {{0, 0}});
  fs.pon("d/roto.bin", punto + punto.substr(0, 20));
  for (const auto& [fichero, empieza] :
       {std::pair<std::string, std::string>{"d/roto.bin", "Error 62 (se ha leído más allá del final del fichero): "
                                                         "registro 2 en el desplazamiento 60 está cortado: "},
        {"d/no_esta.bin", "Error 53 (no se ha encontrado el fichero): "}}) {
    v.pon_ficheros({"d/a.bin", fichero});
    EXPECT_EQ(v.error().substr(0, empieza.size()), empieza);
    EXPECT_EQ(v.escena().registros, 0u);
    v.rueda({5, 5}, 3);
    v.elige(0);
    EXPECT_EQ(v.error(), "");
    EXPECT_EQ(v.escena().registros, 4u);
  }
}

// The canvas opens at the same size whatever the toolkit's choice box and status bar measure,
// half again as large at 144 pixels an inch; the parts tile the window.
TEST(reparte_plano, el_lienzo_inicial_es_el_mismo_en_ambas_ventanas) {
  const sitios_plano qt = reparte_plano(0, 0, 0, 0, 96);
  rectangulo_px a_96{};
  for (const auto& [eleccion, estado, ppp] : {std::array{22, 20, 96}, {30, 26, 96}, {33, 30, 144}}) {
    const rectangulo_px dentro = tamano_inicial_plano(eleccion, estado, ppp);
    const sitios_plano s = reparte_plano(dentro.ancho, dentro.alto, eleccion, estado, ppp);
    if (a_96.ancho == 0) a_96 = s.lienzo;
    EXPECT_EQ(s.lienzo.ancho * 2, a_96.ancho * ppp / 48);
    EXPECT_EQ(s.lienzo.alto * 2, a_96.alto * ppp / 48);
    EXPECT_LT(s.eleccion.arriba + s.eleccion.alto, s.lienzo.arriba);
    EXPECT_EQ(s.panel.arriba, s.lienzo.arriba);
    EXPECT_LE(s.lienzo.ancho, s.panel.izquierda);
    EXPECT_LE(s.panel.izquierda + s.panel.ancho, dentro.ancho);
    EXPECT_EQ(s.estado.arriba, s.lienzo.arriba + s.lienzo.alto);
    EXPECT_EQ(s.estado.arriba + s.estado.alto, dentro.alto);
  }
  EXPECT_EQ(qt.lienzo.ancho, 1);   // smaller than its parts, the canvas keeps a pixel
  EXPECT_EQ(qt.lienzo.alto, 1);
}

}  // namespace
}  // namespace tolvar
