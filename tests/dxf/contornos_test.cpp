// SPLINE, HATCH and LEADER: the spline rule's pieces, the points of each record to the
// thousandth, and the line each fault is named at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <vector>

#include "core/error_conversion.h"
#include "dxf/geometria_spline.h"
#include "inspeccion/lector_bin.h"
#include "dxf/en_grupos.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

// Every kind read, no attribute, t as given: 1e9 leaves each curve its least count.
opciones_conversion con_tolerancia(double t = 1e9, bool arcos = true) { return opciones(arcos, t); }

std::size_t unidades(const std::string& dxf, const opciones_conversion& o) {
  const std::string r = registros(dxf, o);
  return static_cast<std::size_t>(std::count(r.begin(), r.end(), ' '));
}

// n groups "codigo valor", the value's {i} replaced by the group's index.
std::string repite(int n, std::string_view codigo, const std::string& valor) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    std::string v = valor;
    if (const std::size_t k = v.find("{i}"); k != std::string::npos) v.replace(k, 3, std::to_string(i));
    s += " " + std::string(codigo) + " " + v;
  }
  return s;
}

// The quadratic through (0, 0, 0), (1, 2, 3) and (2, 0, 0) on the knots 0 0 0 1 1 1.
const punto_doble arco_cuadratico[] = {{0, 0, 0}, {1, 2, 3}, {2, 0, 0}};
const double nudos_cuadraticos[] = {0, 0, 0, 1, 1, 1};

TEST(geometria_spline, cuando_hay_curva_y_cuando_es_racional) {
  const struct {
    std::int64_t p;
    std::vector<double> t;
    std::size_t n;
    bool valido;
  } casos[] = {
      {2, {0, 0, 0, 1, 1, 1}, 3, true},
      {1, {0, 0, 1, 1, 2, 2}, 4, true},           // an empty span between two
      {0, {0, 1, 2, 3}, 3, false},                // degree 0
      {3, {0, 0, 0, 0, 1, 1, 1}, 3, false},       // fewer than p + 1 control points
      {2, {0, 0, 0, 1, 1}, 3, false},             // k is not n + p + 1
      {2, {0, 0, 0.5, 0.25, 1, 1}, 3, false},     // a knot that decreases
      {2, {0, 0, 1, 1, 1, 1}, 3, false},          // t[p] = t[n]: nothing to draw
      {INT64_MAX, {0, 0, 0, 1, 1, 1}, 3, false},  // a degree whose n + p + 1 would overflow
  };
  for (const auto& c : casos) EXPECT_EQ(spline_valido(c.p, c.n, c.t.data(), c.t.size()), c.valido) << c.p;
  const double pesos[] = {1, 2, 1}, con_cero[] = {1, 0, 1};
  EXPECT_TRUE(pesos_racionales(pesos, 3, 3));
  EXPECT_FALSE(pesos_racionales(con_cero, 3, 3));
  EXPECT_FALSE(pesos_racionales(pesos, 2, 3));
}

// The second derivative of the quadratic is 2 (P0 - 2 P1 + P2) = (0, -8, -12), |A| = sqrt(208);
// with weights 1, 2, 1 the bound doubles. de Boor gives the Bernstein form's points.
TEST(geometria_spline, cotas_de_los_tramos_y_puntos_de_de_boor) {
  std::vector<tramo_spline> tramos;
  std::vector<double> normas;
  std::vector<punto_homogeneo> d;
  const double pesos[] = {1, 2, 1};
  const spline s{2, arco_cuadratico, 3, nudos_cuadraticos, 6};
  const spline racional{2, arco_cuadratico, 3, nudos_cuadraticos, 6, pesos};
  tramos_spline(s, tramos, normas);
  ASSERT_EQ(tramos.size(), 1u);
  EXPECT_EQ(tramos[0].j, 2u);
  EXPECT_EQ(tramos[0].ancho, 1.0);
  EXPECT_EQ(tramos[0].cota, std::sqrt(208.0));
  EXPECT_EQ(pasos_tramo(1.0, 8.0, 0.001), 32.0);   // ceil(sqrt(1000))
  EXPECT_EQ(pasos_tramo(1.0, 0.0, 0.001), 1.0);
  EXPECT_EQ(pasos_tramo(1.0, std::nan(""), 0.001), 1.0);
  EXPECT_EQ(punto_spline(s, 2, 0.5, d), (punto_doble{1.0, 1.0, 1.5}));
  tramos_spline(racional, tramos, normas);
  EXPECT_EQ(tramos[0].cota, std::sqrt(208.0) * 2.0);
  // (0.25 P0 + 1.0 P1 + 0.25 P2) / 1.5
  EXPECT_EQ(punto_spline(racional, 2, 0.5, d), (punto_doble{1.0, 2.0 / 1.5, 3.0 / 1.5}));

  // On (0, 0, 0), (1, 2, 0), (2, 4, 0) the curve is y = 2x, run at a speed that grows.
  const punto_doble recta[] = {{0, 0, 0}, {1, 2, 0}, {2, 4, 0}};
  EXPECT_EQ(punto_spline({2, recta, 3, nudos_cuadraticos, 6}, 2, 0.25, d), (punto_doble{0.5, 1.0, 0.0}));

  // Degree 1 on knots 0 0 1 1 2 2: the span [1, 1] is none; a straight spline bounds nothing.
  const punto_doble quebrada[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {2, 1, 0}};
  const double nudos[] = {0, 0, 1, 1, 2, 2};
  tramos_spline({1, quebrada, 4, nudos, 6}, tramos, normas);
  ASSERT_EQ(tramos.size(), 2u);
  EXPECT_EQ(tramos[0].j, 1u);
  EXPECT_EQ(tramos[1].j, 3u);
  EXPECT_EQ(tramos[1].cota, 0.0);
}

// A span of bound 8e5 asks for 10,000 steps at t = 0.001, 3536 at 0.008; an arc's least is
// one segment per 45 degrees.
TEST(geometria_spline, piezas_contadas_juntas_hasta_caber_en_5000) {
  const pieza_curva piezas[] = {{true, 1.0, 8e5}, {false, pi, 10.0}, {true, std::nan(""), 1.0}};
  double n[3] = {};
  EXPECT_TRUE(cuenta_piezas(piezas, n, 3, 1.0, 0.001));
  EXPECT_EQ(n[0], 3536.0);
  EXPECT_EQ(n[1], 40.0);   // ceil(pi sqrt(10 / 0.064))
  EXPECT_EQ(n[2], 1.0);
  // 5000 spans of one step each and the end point do not fit.
  const std::vector<pieza_curva> muchas(5000, pieza_curva{true, 1.0, 1.0});
  std::vector<double> m(muchas.size());
  EXPECT_FALSE(cuenta_piezas(muchas.data(), m.data(), m.size(), 1.0, 0.001));
  EXPECT_EQ(m[0], 1.0);
}

TEST(ProcesaSpline, puntos_de_control_o_de_ajuste) {
  const std::string cuadratica = " 40 0 40 0 40 0 40 1 40 1 40 1 10 0 20 4000000 10 1 20 4000002 10 2 20 4000000";
  const struct {
    std::string dxf;
    double t;
    const char* bin;
  } casos[] = {
      // At t = 0.25 the quadratic's span takes ceil(sqrt(8 / 2)) = 2 steps.
      {"0 SPLINE 8 A 71 2" + cuadratica, 0.25, "0101: 0,0,0 1000,1000,0 2000,0,0\n"},
      // Weights 1, 2, 1: the bound doubles, 3 steps, the points (10/13, 16/13) and (16/13, 16/13).
      {"0 SPLINE 8 A 71 2" + cuadratica + " 41 1 41 2 41 1", 0.25,
       "0101: 0,0,0 769,1231,0 1231,1231,0 2000,0,0\n"},
      // A weight of 0: not rational.
      {"0 SPLINE 8 A 71 2" + cuadratica + " 41 1 41 0 41 1", 0.25, "0101: 0,0,0 1000,1000,0 2000,0,0\n"},
      // In 3D: |A| = sqrt(208), 3 steps.
      {"0 SPLINE 8 A 71 2 40 0 40 0 40 0 40 1 40 1 40 1 10 0 20 4000000 10 1 20 4000002 30 3 10 2 20 4000000",
       0.25, "0101: 0,0,0 667,889,1333 1333,889,1333 2000,0,0\n"},
      // Degree 3 when 71 is missing; 20 and 30 before any 10 not even read; 70 read and unused.
      {"0 SPLINE 8 A 20 x 30 x 70 8 40 0 40 0 40 0 40 0 40 1 40 1 40 1 40 1 10 0 20 4000000 10 1 20 4000001 "
       "10 2 20 4000001 10 3 20 4000000",
       1e9, "0101: 0,0,0 3000,0,0\n"},
      // Degree 1 on a double knot: the curve breaks there, its empty span [1, 1] is skipped and
      // the second control point is no point of it.
      {"0 SPLINE 8 A 71 1 40 0 40 0 40 1 40 1 40 2 40 2 10 0 20 4000000 10 1 20 4000000 10 1 20 4000001 "
       "10 2 20 4000001",
       0.001, "0101: 0,0,0 1000,1000,0 2000,1000,0\n"},
      // Fit points only: joined as they are, each value to the thousandth.
      {"0 SPLINE 8 A 21 x 11 1 21 4000002 31 3 11 4.0005 21 4000005", 1e9, "0101: 1000,2000,3000 4000,5000,0\n"},
      // Control points make the fit points unused.
      {"0 SPLINE 8 A 71 2" + cuadratica + " 11 7 21 4000007", 1e9, "0101: 0,0,0 2000,0,0\n"},
      {"0 SPLINE 8 A 71 3 70 8", 1e9, ""},
  };
  for (const auto& c : casos) EXPECT_EQ(registros(grupos(c.dxf), con_tolerancia(c.t)), c.bin) << c.dxf;
  // Within a thousandth, 32 steps; with neither kind of point, no layer "0" is looked up.
  EXPECT_EQ(unidades(grupos("0 SPLINE 8 A 71 2" + cuadratica), con_tolerancia(0.001)), 33u);
  std::string err;
  EXPECT_EQ(registros(grupos("0 SPLINE 71 3"), con_tolerancia(), "0101 A\r\n", &err), "");
  EXPECT_EQ(err, "");
}

TEST(ProcesaSpline, sus_limites_y_fallos) {
  const auto de_grado_1 = [](int n) {
    return "0 SPLINE 8 A 71 1 40 0" + repite(n, "40", "{i}") + " 40 " + std::to_string(n - 1) +
           repite(n, "10", "1 20 4000000");
  };
  const auto ajustada = [](int n) { return "0 SPLINE 8 A" + repite(n, "11", "1 21 4000000"); };
  const struct {
    std::string dxf;
    const char* error;
  } casos[] = {
      {"0 SPLINE 8 A 71 0 40 0 40 1 10 0 20 4000000", "error 9 at 2\n"},
      {"0 SPLINE 8 A 71 1 40 0 40 0 40 1 10 0 20 4000000 10 1 20 4000000", "error 9 at 2\n"},
      {"0 SPLINE 8 A 71 1 40 0 40 1 40 0.5 40 1 10 0 20 4000000 10 1 20 4000000", "error 9 at 2\n"},
      {"0 SPLINE 8 A 71 1 40 0 40 0 40 0 40 0 10 0 20 4000000 10 1 20 4000000", "error 9 at 2\n"},
      {"0 SPLINE 8 A 70 x", "error 13 at 6\n"},
      {"0 SPLINE 8 A 71 1.5", "error 13 at 6\n"},
      {"0 SPLINE 8 A 40 1e999", "error 6 at 6\n"},
      // A computed point outside 32 bits at the keyword's line; a fit point at its own.
      {"0 SPLINE 8 A 71 1 40 0 40 0 40 1 40 1 10 3e6 20 4000000 10 3e6 20 4000000", "error 6 at 2\n"},
      {"0 SPLINE 8 A 11 1 21 9e9", "error 6 at 8\n"},
      // 4999 control points are drawn, 5000 are not; 5000 fit points are, the 5001st is error
      // 9 at its group 11, and only when there are no control points.
      {de_grado_1(5000), "error 9 at 2\n"},
      {ajustada(5001), "error 9 at 20006\n"},
      {ajustada(5001) + " 10 0 20 4000000", "error 9 at 2\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(registros(grupos(c.dxf)), c.error) << c.dxf.substr(0, 80);
  EXPECT_EQ(unidades(grupos(de_grado_1(4999)), con_tolerancia()), 4999u);
  EXPECT_EQ(unidades(grupos(ajustada(5000)), con_tolerancia()), 5000u);
}

TEST(ProcesaLeader, vertices_abiertos_y_sus_fallos) {
  const std::string cinco_mil = "0 LEADER 8 A" + repite(5000, "10", "1 20 4000000");
  const struct {
    std::string dxf;
    const char* bin;
  } casos[] = {
      // Each 10 starts a vertex; 20 and 30 before it are not read; the rest is not drawn.
      {"0 LEADER 8 A 20 x 30 x 76 3 10 1 20 4000002 30 3 10 4 20 4000005 211 1 10 7 20 4000008 30 9",
       "0101: 1000,2000,3000 4000,5000,0 7000,8000,9000\n"},
      {"0 LEADER 8 A 71 1", "0101:\n"},
      {"0 LEADER 8 A 10 1 20 x", "error 13 at 8\n"},
      {"0 LEADER 8 A 10 1 20 4000000 30 3e6", "error 6 at 10\n"},
      {cinco_mil + " 10 1", "error 9 at 20006\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(registros(grupos(c.dxf)), c.bin) << c.dxf.substr(0, 80);
  EXPECT_EQ(unidades(grupos(cinco_mil), con_tolerancia()), 5000u);
}

// A HATCH on layer A at elevation 5, `n` boundary paths; a seed point after them, which is not
// a boundary. Its first path starts at line 10.
std::string hatch(const std::string& caminos, int n = 1, const std::string& cabecera = "8 A") {
  return "0 HATCH " + cabecera + " 30 5 91 " + std::to_string(n) + " " + caminos + " 75 0 98 1 10 9 20 9";
}

TEST(ProcesaHatch, cada_camino_un_registro_cerrado) {
  const std::string cuadratica = "72 4 94 2 73 0 74 0 95 6 96 3 40 0 40 0 40 0 40 1 40 1 40 1 "
                                 "10 0 20 4000000 10 1 20 4000002 10 2 20 4000000";
  const std::string vuelta = "72 1 10 2 20 4000000 11 0 21 4000000";
  const struct {
    std::string dxf;
    double t;
    bool arcos;
    const char* bin;
  } casos[] = {
      {hatch("92 2 72 0 73 0 93 4 10 0 20 4000000 10 2 20 4000000 10 2 20 4000002 10 0 20 4000002 97 1 330 1F"),
       1e9, true, "0101: 0,0,5000 2000,0,5000 2000,2000,5000 0,2000,5000 0,0,5000\n"},
      // A bulge of 1 bends the first side into a half turn below it; without arcs it is not read.
      {hatch("92 2 72 1 73 1 93 3 10 0 20 4000000 42 1 10 2 20 4000000 42 0 10 2 20 4000002 42 0 97 0"), 1e9,
       true, "0101: 0,0,5000 293,-707,5000 1000,-1000,5000 1707,-707,5000 2000,0,5000 2000,2000,5000 0,0,5000\n"},
      {hatch("92 2 72 1 73 1 93 3 10 0 20 4000000 42 x 10 2 20 4000000 42 0 10 2 20 4000002 42 0 97 0"), 1e9,
       false, "0101: 0,0,5000 2000,0,5000 2000,2000,5000 0,0,5000\n"},
      // Line edges: a point equal to the one before is left out, a last one equal to the first
      // dropped, as the record closes.
      {hatch("92 1 93 3 72 1 10 0 20 4000000 11 2 21 4000000 72 1 10 2 20 4000000 11 2 21 4000002 "
             "72 1 10 2 20 4000002 11 0 21 4000000 97 0"),
       1e9, true, "0101: 0,0,5000 2000,0,5000 2000,2000,5000 0,0,5000\n"},
      // An arc anticlockwise (73 left out), one clockwise from -270 to -360 (a negative radius
      // is its size), a whole turn from 90 to 90.
      {hatch("92 1 93 3 72 1 10 0 20 4000000 11 1 21 4000000 72 2 10 0 20 4000000 40 1 50 0 51 90 "
             "72 1 10 0 20 4000001 11 0 21 4000000 97 0"),
       1e9, true, "0101: 0,0,5000 1000,0,5000 707,707,5000 0,1000,5000 0,0,5000\n"},
      {hatch("92 1 93 3 72 1 10 0 20 4000000 11 0 21 4000001 72 2 10 0 20 4000000 40 -1 50 270 51 360 73 0 "
             "72 1 10 1 20 4000000 11 0 21 4000000 97 0"),
       1e9, true, "0101: 0,0,5000 0,1000,5000 707,707,5000 1000,0,5000 0,0,5000\n"},
      {hatch("92 1 93 1 72 2 10 0 20 4000000 40 1 50 90 51 90 73 1 97 0"), 1e9, true,
       "0101: 0,1000,5000 -707,707,5000 -1000,0,5000 -707,-707,5000 0,-1000,5000 707,-707,5000 1000,0,5000 "
       "707,707,5000 0,1000,5000\n"},
      // Elliptic arcs of ratio 0.5 on the major axis (2, 0): 50 and 51 are angles, not
      // parameters; clockwise, both sine terms subtracted.
      {hatch("92 1 93 2 72 3 10 0 20 4000000 11 2 21 0 40 0.5 50 0 51 90 73 1 72 1 10 0 20 4000001 11 2 21 4000000 97 0"),
       1e9, true, "0101: 2000,0,5000 1414,707,5000 0,1000,5000 2000,0,5000\n"},
      {hatch("92 1 93 2 72 3 10 0 20 4000000 11 2 21 0 40 0.5 50 270 51 360 73 0 72 1 10 2 20 4000000 11 0 21 4000001 97 0"),
       1e9, true, "0101: 0,1000,5000 1414,707,5000 2000,0,5000 0,1000,5000\n"},
      {hatch("92 1 93 2 72 3 10 0 20 4000000 11 0 21 2 40 0.5 50 0 51 90 73 0 72 1 10 1 20 4000000 11 0 21 4000002 97 0"),
       1e9, true, "0101: 0,2000,5000 707,1414,5000 1000,0,5000 0,2000,5000\n"},
      // Spline edges at t = 0.25: the quadratic in 2 steps, rational in 3. After the last edge
      // a 97 followed by a 97 is the edge's fit data, one followed by anything else the path's.
      {hatch("92 1 93 2 " + cuadratica + " " + vuelta + " 97 0"), 0.25, true,
       "0101: 0,0,5000 1000,1000,5000 2000,0,5000 0,0,5000\n"},
      {hatch("92 1 93 2 " + vuelta + " " + cuadratica + " 97 0 97 0"), 0.25, true,
       "0101: 2000,0,5000 0,0,5000 1000,1000,5000 2000,0,5000\n"},
      {hatch("92 1 93 2 " + vuelta + " " + cuadratica + " 97 1 330 1F"), 0.25, true,
       "0101: 2000,0,5000 0,0,5000 1000,1000,5000 2000,0,5000\n"},
      {hatch("92 1 93 1 72 4 94 2 73 1 74 0 95 6 96 3 40 0 40 0 40 0 40 1 40 1 40 1 10 0 20 4000000 42 1 "
             "10 1 20 4000002 42 2 10 2 20 4000000 42 1 97 0"),
       0.25, true, "0101: 0,0,5000 769,1231,5000 1231,1231,5000 2000,0,5000 0,0,5000\n"},
      // Fit points only, whatever knots come before them: joined; the tangents after them are
      // not read.
      {hatch("92 1 93 1 72 4 94 3 73 0 74 0 95 2 96 0 40 0 40 1 97 3 11 0 21 4000000 11 1 21 4000001 11 2 21 4000000 "
             "12 x 22 x 13 x 23 x 97 0"),
       1e9, true, "0101: 0,0,5000 1000,1000,5000 2000,0,5000 0,0,5000\n"},
      // Mirrored by its extrusion: (x, y, elevation) becomes (-x, y, -elevation).
      {hatch("92 2 72 0 73 1 93 3 10 1 20 4000000 10 2 20 4000000 10 2 20 4000001 97 0", 1,
             "8 A 210 0 220 0 230 -1"),
       1e9, true, "0101: -1000,0,-5000 -2000,0,-5000 -2000,1000,-5000 -1000,0,-5000\n"},
      // A path without points writes nothing; one of a single point a record of it.
      {hatch("92 2 72 0 73 1 93 0 97 0 92 1 93 1 72 1 10 1 20 4000001 11 1 21 4000001 97 0", 2), 1e9, true,
       "0101: 1000,1000,5000 1000,1000,5000\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(registros(grupos(c.dxf), con_tolerancia(c.t, c.arcos)), c.bin) << c.dxf;
}

TEST(ProcesaHatch, la_capa_0_se_busca_una_vez_y_solo_si_escribe) {
  std::string err;
  const std::string dos = "92 1 93 1 72 1 10 1 20 4000001 11 2 21 4000001 97 0";
  EXPECT_EQ(registros(grupos(hatch(dos + " " + dos, 2, "5 1F")), con_tolerancia(), "0101 A\r\n", &err),
            "Nuevo: 1000,1000,5000 2000,1000,5000 1000,1000,5000\n"
            "Nuevo: 1000,1000,5000 2000,1000,5000 1000,1000,5000\n");
  EXPECT_EQ(err, "0\r\n");
  EXPECT_EQ(registros(grupos(hatch("92 2 72 0 73 1 93 0 97 0", 1, "5 1F")), con_tolerancia(), "0101 A\r\n", &err), "");
  EXPECT_EQ(err, "");
  EXPECT_EQ(registros(grupos("0 HATCH 8 A 30 5 0 LEADER 8 A"), con_tolerancia(), "0101 A\r\n", &err), "0101:\n");
}

// The lines are those of the group that breaks the structure; a HATCH that fails writes none
// of its records, and what came before it stays.
TEST(ProcesaHatch, fallos_de_su_estructura_y_sus_lineas) {
  // A polyline path of n vertices, all different, and then its first once more when asked.
  const auto poligono = [](int n, bool cierra) {
    return "92 2 72 0 73 1 93 " + std::to_string(n + (cierra ? 1 : 0)) + repite(n, "10", "{i} 20 4000000") +
           (cierra ? " 10 0 20 4000000" : "") + " 97 0";
  };
  const struct {
    std::string dxf;
    const char* error;
  } casos[] = {
      {hatch("92 2 73 1"), "error 9 at 12\n"},
      {hatch("92 2 72 0 73 1 93 2 10 0 20 4000000 0 LINE"), "error 9 at 22\n"},
      {"0 HATCH 8 A 30 5 91 -1", "error 9 at 8\n"},
      {hatch("92 1 93 -2"), "error 9 at 12\n"},
      {hatch("92 2 72 0 73 1 93 0 97 -1"), "error 9 at 18\n"},
      {hatch("92 2 72 0 73 1 93 1 10 x"), "error 13 at 18\n"},
      {hatch("92 1 93 1 72 5"), "error 9 at 14\n"},
      {hatch("92 1 93 1 72 2 10 0 20 4000000 40 1 50 0 51 90 73 1.0 97 0"), "error 13 at 26\n"},
      // A spline edge that makes no curve, at its 72 once the path is read.
      {hatch("92 1 93 1 72 4 94 2 73 0 74 0 95 5 96 3 40 0 40 0 40 0 40 1 40 1 10 0 20 4000000 10 1 20 4000002 "
             "10 2 20 4000000 97 0"),
       "error 9 at 14\n"},
      {hatch("92 2 72 0 73 1 93 1 10 3e6 20 4000000 97 0"), "error 6 at 2\n"},
      {hatch(poligono(5001, false)), "error 9 at 10\n"},
      {"0 LEADER 8 A 10 1 20 4000001 " + hatch("92 2 72 0 73 1 93 1 10 1 20 4000001 97 0 92 7 73 0", 2),
       "error 9 at 34\n0101: 1000,1000,0\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(registros(grupos(c.dxf)), c.error) << c.dxf.substr(0, 80);
  // 5001 points whose last is the first: 5000 and the closing unit.
  EXPECT_EQ(unidades(grupos(hatch(poligono(5000, true))), con_tolerancia()), 5001u);
}

// What one HATCH may make the converter hold: 10,000 edges and 500,000 values in a path, a
// million points in all; the path that goes over is named by its 92.
TEST(ProcesaHatch, lo_que_un_hatch_puede_retener) {
  const std::string circulo = "92 1 93 1 72 2 10 0 20 4000000 40 100000 50 0 51 360 73 1 97 0";
  std::string circulos;
  for (int i = 0; i < 255; ++i) circulos += " " + circulo;
  const struct {
    std::string dxf;
    const char* error;
  } casos[] = {
      {hatch("92 1 93 10001" + repite(10001, "72", "1 10 0 20 4000000 11 0 21 4000000") + " 97 0"), "error 9 at 10\n"},
      {hatch("92 2 72 0 73 1 93 166667" + repite(166667, "10", "0 20 4000000") + " 97 0"), "error 9 at 10\n"},
      // Each circle of radius 1e5 keeps 3927 points: the 255th path goes past a million.
      {hatch(circulos, 255), "error 9 at 5090\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(registros(grupos(c.dxf), con_tolerancia(0.001)), c.error) << c.dxf.substr(0, 80);
}

// Two half turns of radius 1e5: t is doubled for the whole path, to 1964 segments each; their
// meeting point and the last, the first again, are left out.
TEST(ProcesaHatch, las_curvas_de_un_camino_caben_juntas_en_5000_puntos) {
  EXPECT_EQ(unidades(grupos(hatch("92 1 93 2 72 2 10 0 20 4000000 40 100000 50 0 51 180 "
                                  "72 2 10 0 20 4000000 40 100000 50 180 51 360 97 0")),
                     con_tolerancia(0.001)),
            3929u);
}

}  // namespace
}  // namespace tolvar::prueba
