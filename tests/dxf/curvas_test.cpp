// Curves, faces, polyface meshes and the extrusion direction: the points of each record, to
// the thousandth, and the line each fault is named at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "core/error_conversion.h"
#include "dxf/geometria.h"
#include "inspeccion/lector_bin.h"
#include "dxf/en_grupos.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

std::size_t unidades(const std::string& dxf, const opciones_conversion& o) {
  const std::string r = registros(dxf, o);
  return static_cast<std::size_t>(std::count(r.begin(), r.end(), ' '));
}

TEST(geometria, segmentos_por_tolerancia_y_el_tope_de_5000_puntos) {
  EXPECT_EQ(segmentos(dos_pi, 10.0, 0.001), 223.0);    // ceil(2 pi sqrt(1250))
  EXPECT_EQ(segmentos(dos_pi, 10.0, 1e9), 8.0);        // one per 45 degrees at least
  EXPECT_EQ(segmentos(90.0 * grado, 0.0, 0.001), 2.0);  // no radius: the minimum
  EXPECT_EQ(segmentos(0.1, 10.0, 1.0), 1.0);
  // A radius of 1e5 asks for 11,108 segments a half turn; doubled five times, 1964 fit.
  const curva mitades[] = {{pi, 1e5}, {pi, 1e5}};
  double n[2] = {};
  EXPECT_TRUE(cuenta_curvas(mitades, n, 2, 2.0, -1.0, 0.001));
  EXPECT_EQ(n[0], 1964.0);
  // 800 half turns of 4 segments each are 2400 points between 3000 vertices: none fits.
  const std::vector<curva> muchas(800, curva{pi, 1.0});
  std::vector<double> m(800);
  EXPECT_FALSE(cuenta_curvas(muchas.data(), m.data(), m.size(), 3000.0, -1.0, 0.001));
  EXPECT_EQ(m[0], 4.0);
  // NaN and infinity never loop for ever nor count for an array.
  const curva rara{std::nan(""), 1.0};
  EXPECT_FALSE(cuenta_curvas(&rara, n, 1, 0.0, 1.0, 1e-300));
  EXPECT_EQ(cuenta_segura(n[0]), 1);
  const curva enorme{pi, INFINITY};
  EXPECT_TRUE(cuenta_curvas(&enorme, n, 1, 0.0, 1.0, 0.001));
  EXPECT_EQ(n[0], 4.0);
}

// TEXT, INSERT, LWPOLYLINE, SOLID and TRACE give their points in their own plane, its normal
// after them; POINT, LINE, 3DFACE and 3D polylines are in the world's already.
TEST(extrusion, cada_tipo_en_su_plano) {
  const struct {
    const char* dxf;
    const char* bin;
  } casos[] = {
      {"0 INSERT 8 A 10 1 20 4000002 30 3 210 0 220 0 230 -1", "0101: -1000,2000,-3000\n"},
      {"0 INSERT 8 A 10 4000001 20 2 30 3 210 1 220 0 230 0", "0101: 3000,1000,2000\n"},
      {"0 INSERT 8 A 10 1 20 4000002 30 3 230 2", "0101: 1000,2000,3000\n"},
      {"0 INSERT 8 A 10 1 20 4000002 30 3 230 0", "0101: 1000,2000,3000\n"},
      {"0 INSERT 8 A 10 1 20 4000002 30 3 210 0.01 230 1", "0101: 1030,2000,2990\n"},
      {"0 TEXT 8 A 10 -1.5 20 4000002 40 1 1 \\U+0020.\\U+0020 230 -1", "0101: 1500,2000,0 h1000 'x'\n"},
      {"0 POINT 8 A 10 1 20 4000002 30 3 230 -1", "0101: 1000,2000,3000\n"},
      {"0 LWPOLYLINE 8 A 38 5 10 1 20 4000002 10 3 20 4000004 230 -1",
       "0101: -1000,2000,-5000 -3000,4000,-5000\n"},
      {"0 POLYLINE 8 A 230 -1 0 VERTEX 10 1 20 4000002 30 3 0 SEQEND",
       "0101: -1000,2000,-3000\n"},
      {"0 POLYLINE 8 A 70 8 230 -1 0 VERTEX 10 1 20 4000002 30 3 0 SEQEND",
       "0101: 1000,2000,3000\n"},
      {"0 TRACE 8 A 10 1 20 4000001 11 2 21 4000001 12 1 22 4000002 13 2 23 4000002 230 -1",
       "0101: -1000,1000,0 -2000,1000,0 -2000,2000,0 -1000,2000,0 -1000,1000,0\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(registros(grupos(c.dxf)), c.bin) << c.dxf;
}

TEST(curvas, circulo_arco_y_elipse) {
  const struct {
    const char* dxf;
    const char* bin;
  } casos[] = {
      // A negative radius is the same circle; closed, its first point repeated.
      {"0 CIRCLE 8 A 10 100 20 4000100 30 5 40 -10",
       "0101: 110000,100000,5000 107071,107071,5000 100000,110000,5000 92929,107071,5000 90000,100000,5000 "
       "92929,92929,5000 100000,90000,5000 107071,92929,5000 110000,100000,5000\n"},
      // From 350 to 10 degrees, anticlockwise across 0: one segment.
      {"0 ARC 8 A 20 4000000 40 10 50 350 51 10", "0101: 9848,-1736,0 9848,1736,0\n"},
      // Equal angles are a full turn, open.
      {"0 ARC 8 A 20 4000000 40 1 50 90 51 90",
       "0101: 0,1000,0 -707,707,0 -1000,0,0 -707,-707,0 0,-1000,0 707,-707,0 1000,0,0 707,707,0 0,1000,0\n"},
      {"0 ELLIPSE 8 A 20 4000000 11 10 40 0.5 41 0 42 1.5707963267948966",
       "0101: 10000,0,0 7071,3536,0 0,5000,0\n"},
      // Mirrored: the minor axis points the other way; without 41 and 42, closed.
      {"0 ELLIPSE 8 A 20 4000000 11 10 40 0.5 230 -1",
       "0101: 10000,0,0 7071,-3536,0 0,-5000,0 -7071,-3536,0 -10000,0,0 -7071,3536,0 0,5000,0 "
       "7071,3536,0 10000,0,0\n"},
      {"0 CIRCLE 8 A 10 1 20 4000000 40 1 230 -1",
       "0101: -2000,0,0 -1707,707,0 -1000,1000,0 -293,707,0 0,0,0 -293,-707,0 -1000,-1000,0 -1707,-707,0 "
       "-2000,0,0\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(registros(grupos(c.dxf)), c.bin) << c.dxf;
  // Within a thousandth: 223 segments for a radius of 10.
  EXPECT_EQ(unidades(grupos("0 CIRCLE 8 A 20 4000000 40 10"), opciones(true, 0.001)), 224u);
}

// A bulge bends the segment after its vertex: positive anticlockwise, the closing segment by
// the last vertex's when the polyline is closed.
TEST(curvas, arcos_de_las_polilineas) {
  const std::string semicirculo = "0101: 0,0,7000 1464,-3536,7000 5000,-5000,7000 8536,-3536,7000 10000,0,7000\n";
  const struct {
    const char* dxf;
    bool arcos;
    std::string bin;
  } casos[] = {
      {"0 LWPOLYLINE 8 A 38 7 42 3 10 0 20 4000000 42 1 10 10 20 4000000 42 5", true, semicirculo},
      {"0 POLYLINE 8 A 0 VERTEX 10 0 20 4000000 30 7 42 1 0 VERTEX 10 10 20 4000000 30 7 0 SEQEND", true,
       semicirculo},
      {"0 LWPOLYLINE 8 A 10 0 20 4000000 42 1 10 10 20 4000000", false, "0101: 0,0,0 10000,0,0\n"},
      {"0 POLYLINE 8 A 70 8 0 VERTEX 10 0 20 4000000 42 1 0 VERTEX 10 10 20 4000000 0 SEQEND", true,
       "0101: 0,0,0 10000,0,0\n"},
      {"0 LWPOLYLINE 8 A 70 1 10 0 20 4000000 10 10 20 4000000 10 10 20 4000000 42 -1", true,
       "0101: 0,0,0 10000,0,0 10000,0,0 8536,-3536,0 5000,-5000,0 1464,-3536,0 0,0,0\n"},
      {"0 LWPOLYLINE 8 A 10 0 20 4000000 42 0.5 10 0 20 4000000 42 1", true, "0101: 0,0,0 0,0,0\n"},
      {"0 LWPOLYLINE 8 A 10 1 20 4000002 42 1 10 3 20 4000002 230 -1", true,
       "0101: -1000,2000,0 -1293,1293,0 -2000,1000,0 -2707,1293,0 -3000,2000,0\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(registros(grupos(c.dxf), opciones(c.arcos)), c.bin) << c.dxf;

  // Two half turns of radius 1e5: doubled to 1964 segments each, 3928 points and the closing.
  const std::string circulo = grupos("0 LWPOLYLINE 8 A 70 1 10 0 20 4000000 42 1 10 200000 20 4000000 42 1");
  EXPECT_EQ(unidades(circulo, opciones(true, 0.001)), 3929u);
  // 1300 vertices of half turns need 5200 points even at the minimum: every arc a chord.
  std::string muchos = "0 LWPOLYLINE 8 A 70 1";
  for (int i = 0; i < 1300; ++i) muchos += " 10 " + std::to_string(i) + " 20 4000000 42 1";
  EXPECT_EQ(unidades(grupos(muchos), opciones()), 1301u);
}

TEST(caras, tres_o_cuatro_esquinas_cerradas) {
  const struct {
    const char* dxf;
    const char* bin;
  } casos[] = {
      {"0 3DFACE 8 A 10 1 20 4000001 30 1 11 2 21 4000001 12 2 22 4000002 32 2 13 1 23 4000002 70 15",
       "0101: 1000,1000,1000 2000,1000,0 2000,2000,2000 1000,2000,0 1000,1000,1000\n"},
      {"0 3DFACE 8 A 10 1 20 4000001 11 2 21 4000001 12 2 22 4000002",
       "0101: 1000,1000,0 2000,1000,0 2000,2000,0 1000,1000,0\n"},
      {"0 3DFACE 8 A 10 1 20 4000001 11 2 21 4000001 12 2 22 4000002 13 2 23 4000002.0",
       "0101: 1000,1000,0 2000,1000,0 2000,2000,0 1000,1000,0\n"},
      // 1, 2, 4, 3: the order of a SOLID's corners round its edge.
      {"0 SOLID 8 A 10 1 20 4000001 11 2 21 4000001 12 1 22 4000002 13 2 23 4000002",
       "0101: 1000,1000,0 2000,1000,0 2000,2000,0 1000,2000,0 1000,1000,0\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(registros(grupos(c.dxf)), c.bin) << c.dxf;
}

// One closed record per face record, its corners the mesh vertices it names; a negative
// index only hides an edge. The mesh's own vertices are written in no record.
TEST(mallas, una_polilinea_por_cara) {
  const std::string malla =
      "0 POLYLINE 8 A 70 64 0 VERTEX 10 1 20 4000001 30 1 70 192 0 VERTEX 10 2 20 4000002 30 2 70 192 "
      "0 VERTEX 10 3 20 4000003 30 3 70 192 0 VERTEX 10 0 20 0 30 0 70 128 71 1 72 -2 73 3 "
      "0 VERTEX 70 128 0 VERTEX 10 0 20 0 70 128 71 3 72 ";
  EXPECT_EQ(registros(grupos(malla + "1 0 SEQEND"), opciones(false)),
            "0101: 1000,1000,1000 2000,2000,2000 3000,3000,3000 1000,1000,1000\n0101:\n"
            "0101: 3000,3000,3000 1000,1000,1000 3000,3000,3000\n");
  // A face naming a vertex not read yet fails at its group, and the mesh writes nothing.
  EXPECT_EQ(registros(grupos(malla + "4 0 SEQEND")), "error 9 at 68\n");
}

// Values that are not coordinates are numbers too; coordinates read before the plane is known
// are checked for range when the entity ends, computed points at its keyword.
TEST(curvas, fallos_y_sus_lineas) {
  const struct {
    const char* dxf;
    const char* error;
  } casos[] = {
      {"0 CIRCLE 8 A 20 4000000 40 diez", "error 13 at 8\n"},
      {"0 ARC 8 A 20 4000000 40 1 50 1e999", "error 6 at 10\n"},
      {"0 TEXT 8 A 20 9e9 1 a 230 x", "error 13 at 10\n"},
      {"0 TEXT 8 A 10 1 20 9e9 1 a", "error 6 at 8\n"},
      {"0 TEXT 8 A 10 1 1 a 230 -1", "error 6 at 2\n"},
      {"0 CIRCLE 8 A 40 1", "error 6 at 2\n"},
      {"0 LWPOLYLINE 8 A 10 1 20 4000000 38 1e7", "error 6 at 10\n"},
      {"0 POLYLINE 8 A 70 64 0 VERTEX 10 1 20 1 0 SEQEND", "error 6 at 12\n"},
      {"0 POLYLINE 8 A 70 64 0 VERTEX 70 x 0 SEQEND", "error 13 at 10\n"},
      {"0 SOLID 8 A 10 1 20 4000000 11 1 21 4000000 12 1 22 4000000 210 cero", "error 13 at 18\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(registros(grupos(c.dxf)), c.error) << c.dxf;
}

}  // namespace
}  // namespace tolvar::prueba
