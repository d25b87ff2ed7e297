// --blocks: INSERTs and DIMENSIONs drawn as the entities of their blocks. The points of each
// record to the thousandth, worked out by hand from the placement's formulas, and the line
// each fault is named at.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>

#include "dxf/en_grupos.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

// A BLOCKS section of `bloques`, then an ENTITIES section of `entidades`, as grupos() writes
// them; the groups in one string, so that lineas() can find each one.
std::string pares(std::string_view bloques, std::string_view entidades) {
  return "0 SECTION 2 BLOCKS " + std::string(bloques) + " 0 ENDSEC 0 SECTION 2 ENTITIES " +
         std::string(entidades) + " 0 ENDSEC";
}

// " 0 BLOCK 2 NAME <cabecera> <contenido> 0 ENDBLK ", to be joined with others
std::string bloque(std::string_view nombre, std::string_view contenido, std::string_view cabecera = "") {
  return " 0 BLOCK 2 " + std::string(nombre) + " " + std::string(cabecera) + " " + std::string(contenido) +
         " 0 ENDBLK ";
}

// The line of the value of the group `par` ("10 x") in the drawing grupos(p) writes: of its
// last occurrence, the one in ENTITIES for an INSERT.
std::int64_t linea(const std::string& p, std::string_view par) {
  std::istringstream in{p};
  std::string codigo, valor;
  std::int64_t k = 0, l = 0;
  while (in >> codigo >> valor) {
    if (codigo + " " + valor == par) l = 2 * k + 2;
    ++k;
  }
  if (l == 0) ADD_FAILURE() << par << " is not in " << p;
  return l;
}

opciones_conversion bloques(bool arcos = false, double t = 1e9) {
  opciones_conversion o = opciones(arcos, t);
  o.bloques = true;
  return o;
}

std::string convierte(const std::string& p, const opciones_conversion& o = bloques(),
                      std::string* err = nullptr) {
  return registros(grupos(p), o, "0101 A\r\n0202 B\r\n", err);
}

// A point of the block's own at (3, 3, 1), its base (1, 2, 0): from the base (2, 1, 1).
const std::string punto_s = bloque("S", "0 POINT 8 A 10 3 20 3 30 1", "10 1 20 2 30 0");

TEST(bloques, la_capa_0_toma_el_codigo_de_lo_que_dibuja_el_bloque) {
  const std::string p =
      bloque("P", "0 POINT 8 0 10 1 20 4000001 30 0 0 POINT 10 2 20 4000002 30 0 0 POINT 8 B 10 3 20 4000003 30 0 "
                  "0 POINT 8 X 10 4 20 4000004 30 0") +
      bloque("Q", "0 INSERT 2 P 8 0");
  const struct {
    const char* entidades;
    const char* bin;
    const char* err;
  } casos[] = {
      {"0 INSERT 8 A 2 P",
       "0101: 1000,1000,0\n0101: 2000,2000,0\n0202: 3000,3000,0\nNuevo: 4000,4000,0\n", "X\r\n"},
      // Without a layer the INSERT is on "0", looked up once; what it draws takes its code.
      {"0 INSERT 2 P",
       "Nuevo: 1000,1000,0\nNuevo: 2000,2000,0\n0202: 3000,3000,0\nNuevo: 4000,4000,0\n", "0\r\nX\r\n"},
      // Through a nested INSERT on "0"; a layer of the block is looked up each time it is drawn.
      {"0 INSERT 8 B 2 Q 0 INSERT 8 A 2 P 70 2",
       "0202: 1000,1000,0\n0202: 2000,2000,0\n0202: 3000,3000,0\nNuevo: 4000,4000,0\n"
       "0101: 1000,1000,0\n0101: 2000,2000,0\n0202: 3000,3000,0\nNuevo: 4000,4000,0\n"
       "0101: 1000,1000,0\n0101: 2000,2000,0\n0202: 3000,3000,0\nNuevo: 4000,4000,0\n",
       "X\r\nX\r\nX\r\n"},
  };
  for (const auto& c : casos) {
    std::string err;
    EXPECT_EQ(convierte(pares(p, c.entidades), bloques(), &err), c.bin) << c.entidades;
    EXPECT_EQ(err, c.err) << c.entidades;
  }
}

TEST(bloques, cada_valor_de_la_colocacion) {
  const struct {
    const char* entidades;
    const char* bin;
  } casos[] = {
      {"0 INSERT 2 S 10 100 20 4000100", "0101: 102000,101000,1000\n"},
      {"0 INSERT 2 S 10 100 20 4000100 41 2 42 3 43 4", "0101: 104000,103000,4000\n"},
      // cos 90 degrees is 6.1e-17, not 0: still a thousandth away from anything but 99.
      {"0 INSERT 2 S 10 100 20 4000100 50 90", "0101: 99000,102000,1000\n"},
      // Mirrored: the plane whose normal is -Z turns x and z round.
      {"0 INSERT 2 S 10 100 20 4000100 210 0 220 0 230 -1", "0101: -102000,101000,-1000\n"},
      {"0 INSERT 2 s 10 100 20 4000100 41 -1", "0101: 98000,101000,1000\n"},
      // A DIMENSION moves its block by its 12/22/32, base or not, then to its own plane.
      {"0 DIMENSION 2 S 12 10 22 4000000", "0101: 13000,3000,1000\n"},
      {"0 DIMENSION 2 S 12 10 22 4000000 230 -1", "0101: -13000,3000,-1000\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(convierte(pares(punto_s, c.entidades)), c.bin) << c.entidades;
  // No base point: the block's origin.
  EXPECT_EQ(convierte(pares(bloque("S", "0 POINT 8 A 10 3 20 3 30 1"), "0 INSERT 2 S 10 100 20 4000100")),
            "0101: 103000,103000,1000\n");
}

// Row by row, each row column by column; the spacing in the block's axes, not scaled.
TEST(bloques, las_copias_de_una_matriz) {
  const struct {
    const char* entidades;
    const char* bin;
  } casos[] = {
      {"0 INSERT 2 S 10 100 20 4000100 70 2 71 2 44 10 45 20",
       "0101: 102000,101000,1000\n0101: 112000,101000,1000\n0101: 102000,121000,1000\n0101: 112000,121000,1000\n"},
      {"0 INSERT 2 S 10 100 20 4000100 41 2 70 3 44 -10",
       "0101: 104000,101000,1000\n0101: 94000,101000,1000\n0101: 84000,101000,1000\n"},
      {"0 INSERT 2 S 10 100 20 4000100 70 0 71 -4 44 10", "0101: 102000,101000,1000\n"},
      {"0 INSERT 2 S 10 100 20 4000100 71 2 45 5 50 90", "0101: 99000,102000,1000\n0101: 94000,102000,1000\n"},
  };
  for (const auto& c : casos) EXPECT_EQ(convierte(pares(punto_s, c.entidades)), c.bin) << c.entidades;
}

// Innermost first; 16 deep at most, the 17th error 28 at the INSERT of ENTITIES, whose
// records written before stay.
TEST(bloques, anidados_y_su_limite) {
  const std::string dentro = bloque("IN", "0 POINT 8 A 10 1 20 0 30 0") + bloque("OUT", "0 INSERT 2 IN 10 10 41 2");
  EXPECT_EQ(convierte(pares(dentro, "0 INSERT 2 OUT 10 100 20 4000000 50 90")), "0101: 100000,12000,0\n");

  const std::string p = pares(bloque("R", "0 POINT 8 A 10 1 20 4000001 30 0 0 INSERT 2 R"), "0 POINT 8 B 10 0 20 4000000 30 0 0 INSERT 2 R");
  std::string esperado = "error 28 at " + std::to_string(linea(p, "0 INSERT")) + "\n0202: 0,0,0\n";
  for (int i = 0; i < 16; ++i) esperado += "0101: 1000,1000,0\n";
  EXPECT_EQ(convierte(p), esperado);
}

// Read as TEXTs after every copy, where the drawing shows them: only the INSERTs around their
// own one place them. An invisible one writes nothing.
TEST(bloques, atributos) {
  const std::string t = bloque("T", "0 POINT 8 A 10 1 20 1 30 0");
  EXPECT_EQ(convierte(pares(t,
                            "0 INSERT 8 A 2 T 66 1 10 0 20 4000000 70 2 44 10 0 ATTRIB 8 0 10 5 20 4000005 40 2 1 uno "
                            "70 0 0 ATTRIB 8 A 10 6 20 4000006 1 dos 70 1 0 ATTRIB 10 7 20 4000007 1 . 0 SEQEND "
                            "0 POINT 8 A 10 9 20 4000009 30 0")),
            "0101: 1000,1000,0\n0101: 11000,1000,0\nNuevo: 5000,5000,0 h2000 'uno'\n"
            "Nuevo: 7000,7000,0 h2000 'x'\n0101: 9000,9000,0\n");
  const std::string w = t + bloque("W", "0 INSERT 2 T 66 1 0 ATTRIB 8 0 10 1 20 2 40 1 1 w 0 SEQEND");
  EXPECT_EQ(convierte(pares(w, "0 INSERT 8 A 2 W 10 100 20 4000000 42 3")),
            "0101: 101000,3000,0\n0101: 101000,6000,0 h3000 'w'\n");
}

TEST(bloques, alturas_y_tolerancia_de_los_bloques_escalados) {
  const std::string c = bloque("C", "0 CIRCLE 8 A 40 10") + bloque("C2", "0 INSERT 2 C 41 2");
  const auto unidades = [](const std::string& r) { return std::count(r.begin(), r.end(), ' '); };
  // ceil(2 pi sqrt(10 / (8 t))) segments, and the closing unit: t / 4 within a block made four
  // times larger, whose chords stay within t once scaled; a block made smaller keeps t.
  EXPECT_EQ(unidades(convierte(pares(c, "0 INSERT 2 C 20 4000000"), bloques(false, 0.001))), 224);
  EXPECT_EQ(unidades(convierte(pares(c, "0 INSERT 2 C 20 4000000 43 -4"), bloques(false, 0.001))), 446);
  EXPECT_EQ(unidades(convierte(pares(c, "0 INSERT 2 C2 20 4000000 42 2"), bloques(false, 0.001))), 446);
  EXPECT_EQ(unidades(convierte(pares(c, "0 INSERT 2 C 20 4000000 41 0.5"), bloques(false, 0.001))), 224);

  // The height times |sy| of each INSERT; the next text without a 40 takes the unscaled one.
  const std::string t = bloque("T", "0 TEXT 8 A 40 2 1 a") + bloque("T2", "0 INSERT 2 T 42 -3");
  EXPECT_EQ(convierte(pares(t, "0 INSERT 2 T2 20 4000000 42 0.5 0 TEXT 8 A 20 4000000 1 b")),
            "0101: 0,0,0 h3000 'a'\n0101: 0,0,0 h2000 'b'\n");
}

// Known once read, by the last definition of the name, in either case; a BLOCK or ENDSEC
// ends an open one, the end of the drawing loses it.
TEST(bloques, definiciones) {
  const struct {
    std::string pares;
    const char* bin;
  } casos[] = {
      {pares(bloque("Casa", "0 POINT 8 A 10 1 20 4000001 30 0") + bloque("CASA", "0 POINT 8 A 10 2 20 4000002 30 0"),
             "0 INSERT 2 casa"),
       "0101: 2000,2000,0\n"},
      {pares(bloque("\\U+0041", "0 POINT 8 A 10 1 20 4000001 30 0"), "0 INSERT 2 a"), "0101: 1000,1000,0\n"},
      {"0 SECTION 2 ENTITIES 0 INSERT 2 S 0 ENDSEC " + pares(punto_s, "0 INSERT 2 S 20 4000000"),
       "0101: 2000,1000,1000\n"},
      {pares("0 BLOCK 2 A 0 POINT 8 A 10 1 20 4000001 30 0 0 BLOCK 2 B 0 POINT 8 A 10 2 20 4000002 30 0",
             "0 INSERT 2 A 0 INSERT 2 B"),
       "0101: 1000,1000,0\n0101: 2000,2000,0\n"},
      // Without a name nothing is defined; empty, it draws nothing and replaces what was there.
      {pares("0 BLOCK 10 1 0 POINT 8 A 10 1 20 4000001 30 0 0 ENDBLK " + punto_s + bloque("S", ""),
             "0 INSERT 2 S 0 INSERT 2 NADA 0 INSERT"),
       ""},
      {"0 SECTION 2 BLOCKS 0 BLOCK 2 A 0 POINT 8 A 10 1 20 4000001 30 0", ""},
  };
  for (const auto& c : casos) EXPECT_EQ(convierte(c.pares), c.bin) << c.pares;
}

// Every kind read in ENTITIES is read in a block, as there: curves, faces, meshes, polylines
// with their arcs, MTEXT; a TRIANG writes nothing.
TEST(bloques, cada_tipo_en_un_bloque) {
  const std::string b = bloque("K",
                               "0 LINE 8 A 10 1 20 1 11 2 21 1 0 POLYLINE 8 A 70 8 0 VERTEX 10 1 20 2 30 3 0 SEQEND "
                               "0 LWPOLYLINE 8 A 10 0 20 0 42 1 10 2 20 0 0 ARC 8 A 10 0 20 0 40 1 50 0 51 90 "
                               "0 3DFACE 8 A 10 0 20 0 11 1 21 0 12 1 22 1 0 MTEXT 8 A 10 1 20 1 40 1 1 m "
                               "0 TRIANG 10 1 20 1 11 2 21 1 12 2 22 2 0 SOLID 8 A 10 0 20 0 11 1 21 0 12 0 22 1");
  EXPECT_EQ(convierte(pares(b, "0 INSERT 2 K 10 10 20 4000000 41 2 42 2 43 2"), bloques(true)),
            "0101: 12000,2000,0 14000,2000,0\n"
            "0101: 12000,4000,6000\n"
            "0101: 10000,0,0 10586,-1414,0 12000,-2000,0 13414,-1414,0 14000,0,0\n"
            "0101: 12000,0,0 11414,1414,0 10000,2000,0\n"
            "0101: 10000,0,0 12000,0,0 12000,2000,0 10000,0,0\n"
            "0101: 12000,2000,0 h2000 'm'\n"
            "0101: 10000,0,0 12000,0,0 10000,2000,0 10000,0,0\n");
}

TEST(bloques, fallos_y_sus_lineas) {
  const struct {
    std::string pares;
    std::string par;    // the group whose value line the error names
    const char* bin;    // after "error N at L"
  } casos[] = {
      // Never drawn: never read.
      {pares(bloque("X", "0 POINT 10 x") + punto_s, "0 INSERT 2 S 20 4000000"), "", "0101: 2000,1000,1000\n"},
      {pares(bloque("X", "0 POINT 10 x"), "0 INSERT 2 X"), "10 x", "error 13"},
      {pares(bloque("X", "0 POINT 10 1e999"), "0 INSERT 2 X"), "10 1e999", "error 6"},
      {pares(bloque("X", "0 POINT 10 1 20 1 30 0", "10 uno"), "0 INSERT 2 X"), "10 uno", "error 13"},
      {pares(bloque("X", "0 INSERT 2 S 41 x") + punto_s, "0 INSERT 2 X"), "41 x", "error 13"},
      {pares(bloque("X", "0 INSERT 2 S 70 dos") + punto_s, "0 INSERT 2 X"), "70 dos", "error 13"},
      // A point placed out of range, a text's box: at the keyword of the INSERT of ENTITIES.
      {pares(punto_s, "0 POINT 8 B 10 1 20 4000001 30 0 0 INSERT 2 S 41 1e7"), "0 INSERT", "error 6"},
      {pares(bloque("T", "0 TEXT 8 A 20 0 40 1 1 abc"), "0 INSERT 2 T 20 4000000 42 1e9"), "0 INSERT",
       "error 6"},
      {pares(bloque("X", "0 DIMENSION 2 S 12 1e7") + punto_s, "0 INSERT 2 X 41 1000"), "0 INSERT", "error 6"},
  };
  for (const auto& c : casos) {
    std::string esperado = c.bin;
    if (!c.par.empty()) esperado += " at " + std::to_string(linea(c.pares, c.par)) + "\n";
    if (c.par == "0 INSERT" && c.pares.find("0 POINT 8 B") != std::string::npos) esperado += "0202: 1000,1000,0\n";
    EXPECT_EQ(convierte(c.pares), esperado) << c.pares;
  }
}

// A million entities of blocks for one INSERT of ENTITIES, its own attributes counted: the
// next is error 9 at its keyword, before it is read.
TEST(bloques, un_millon_de_entidades_por_insert) {
  const std::string d = bloque("D", "0 ATTDEF 2 a");
  const std::string millon = "0 INSERT 2 D 70 1000 71 1000";
  EXPECT_EQ(convierte(pares(d, millon + " 0 POINT 8 A 10 1 20 4000001 30 0")), "0101: 1000,1000,0\n");
  const std::string p = pares(d, "0 POINT 8 B 10 1 20 4000001 30 0 " + millon + " 66 1 0 ATTRIB 1 z 0 SEQEND");
  EXPECT_EQ(convierte(p), "error 9 at " + std::to_string(linea(p, "0 INSERT")) + "\n0202: 1000,1000,0\n");
}

// The counts: an INSERT and a DIMENSION once each, whatever they draw; nothing of a block is
// counted or left out; without --blocks a DIMENSION is left out as before.
TEST(bloques, cuentas) {
  const std::string dxf = grupos(pares(punto_s + bloque("D", "0 LINE 10 0 0 HATCH 0 DIMENSION 2 S 22 4000000"),
                                       "0 INSERT 2 S 20 4000000 70 3 0 DIMENSION 2 D 0 DIMENSION 2 NADA"));
  for (const bool con_bloques : {true, false}) {
    directorio_prueba d("0101 A\r\n");
    d.conv.opciones().bloques = con_bloques;
    d.pon("a.dxf", dxf);
    d.convierte();
    EXPECT_EQ(d.conv.cuentas().cont_insert, con_bloques ? 1 : 0);
    EXPECT_EQ(d.conv.cuentas().cont_dimension, con_bloques ? 2 : 0);
    EXPECT_EQ(d.conv.cuentas().cont_point, 0);
    EXPECT_EQ(d.conv.cuentas().omitidas.texto(), con_bloques ? "" : "2 DIMENSION, 1 INSERT");
  }
}

}  // namespace
}  // namespace tolvar::prueba
