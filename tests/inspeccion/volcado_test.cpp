#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "inspeccion/lector_bin.h"
#include "inspeccion/volcado.h"
#include "support/ficheros_memoria.h"
#include "support/registros_prueba.h"

namespace tolvar {
namespace {

using prueba::hex;

// The dump of `datos` as the file d/a.bin; `numero` receives the status of a break, 0 if none.
std::string vuelca(const std::string& datos, bool json, int* numero = nullptr) {
  ficheros_memoria fs;
  fs.pon("d/a.bin", datos);
  const auto origen = fs.abre("d/a.bin");
  std::ostringstream salida;
  int estado = 0;
  try {
    vuelca_bin(*origen, "d/a.bin", salida, json);
  } catch (const error_bin& e) {
    estado = e.numero();
  }
  if (numero != nullptr) {
    *numero = estado;
  } else {
    EXPECT_EQ(estado, 0);
  }
  return salida.str();
}

const char* const cabecera_texto =
    "# d/a.bin\n"
    "# x y z: as stored (thousandths of a drawing unit) = in drawing units.\n"
    "# In \"C=\" and \"T=\" records y is stored lowered by 4000000 drawing units;\n"
    "# records with code TRIANG store y as it is.\n";

const char* const texto_point =
    "\n"
    "record 1 at offset 0 (60 bytes): C= cod \"0101\" [30 31 30 31 00 00 00] atr 0 num_elem 1, "
    "y lowered by 4000000\n"
    "  min               1500        2250           0  =         1.500   4000002.250         0.000\n"
    "  max               1500        2250           0  =         1.500   4000002.250         0.000\n"
    "  dato                20           6        1957\n"
    "  point 1           1500        2250           0  =         1.500   4000002.250         0.000\n";

TEST(volcado, texto_de_cada_clase_de_registro_byte_a_byte) {
  const std::string datos = prueba::registro_point() + prueba::registro_text_abc() +
                            prueba::registro_polyline_cerrada() + prueba::registro_triang();
  const std::string esperado =
      std::string(cabecera_texto) + texto_point +
      "\n"
      "record 2 at offset 60 (84 bytes): T= cod \"0101\" [30 31 30 31 00 00 00] atr 1 num_elem 2, "
      "y lowered by 4000000\n"
      "  min               1500        2250           0  =         1.500   4000002.250         0.000\n"
      "  max               9000        4750           0  =         9.000   4000004.750         0.000\n"
      "  dato              2500           0           0\n"
      "  point 1           1500        2250           0  =         1.500   4000002.250         0.000"
      "  insertion point\n"
      "  text       \"ABC\" (1 unit)\n"
      "  attribute  num_atr 1 valor_atr 0 cod_atr \"201   \"\n"
      "\n"
      "record 3 at offset 144 (96 bytes): C= cod \"Nuevo\" [4E 75 65 76 6F 00 00] atr 0 num_elem 4, "
      "y lowered by 4000000\n"
      "  min              10000       10000        1000  =        10.000   4000010.000         1.000\n"
      "  max              20000       20000        3000  =        20.000   4000020.000         3.000\n"
      "  dato                20           6        1957\n"
      "  point 1          10000       10000        1000  =        10.000   4000010.000         1.000\n"
      "  point 2          20000       10000        2000  =        20.000   4000010.000         2.000\n"
      "  point 3          20000       20000        3000  =        20.000   4000020.000         3.000\n"
      "  point 4          10000       10000        1000  =        10.000   4000010.000         1.000"
      "  closed: repeats point 1\n"
      "\n"
      "record 4 at offset 240 (84 bytes): C= cod \"TRIANG\" [54 52 49 41 4E 47 00] atr 0 num_elem 3, "
      "y as stored\n"
      "  min               1000        2000        3000  =         1.000         2.000         3.000\n"
      "  max               4000        6000        3000  =         4.000         6.000         3.000\n"
      "  dato                20           6        1957\n"
      "  point 1           1000        2000        3000  =         1.000         2.000         3.000\n"
      "  point 2           4000        2000        3000  =         4.000         2.000         3.000\n"
      "  point 3           1000        6000        3000  =         1.000         6.000         3.000\n"
      "\n"
      "4 records, 324 bytes\n";
  EXPECT_EQ(vuelca(datos, false), esperado);
}

TEST(volcado, un_fichero_vacio_es_cero_registros) {
  EXPECT_EQ(vuelca("", false), std::string(cabecera_texto) + "\n0 records, 0 bytes\n");
  EXPECT_EQ(vuelca("", true),
            "{\"file\":\"d/a.bin\",\"y_rule\":\"In \\\"C=\\\" and \\\"T=\\\" records y is stored "
            "lowered by 4000000 drawing units; records with code TRIANG store y as it is.\","
            "\"records\":[\n],\"whole_records\":0,\"bytes\":0,\"error\":null}\n");
}

TEST(volcado, los_bytes_raros_se_ven_escapados) {
  const std::string datos = hex(
      "54 3D 4B 01 22 5C 00 00 00 00 02 00"    // T= cod K, 0x01, ", backslash
      "00 00 00 00 00 00 00 00 00 00 00 00"
      "00 00 00 00 00 00 00 00 00 00 00 00"
      "00 00 00 00 00 00 00 00 00 00 00 00"
      "00 00 00 00 00 00 00 00 00 00 00 00"
      "D1 75 09 22 31 22 81 80 00 20 20 20");  // N tilde, u, tab, "1", 0x81, euro
  const std::string texto = vuelca(datos, false);
  EXPECT_NE(texto.find(" cod \"K\\x01\\\"\\\\\" [4B 01 22 5C 00 00 00] "), std::string::npos)
      << texto;
  EXPECT_NE(texto.find("  text       \"\xC3\x91u\\t\\\"1\\\"\\x81\xE2\x82\xAC\" (1 unit)\n"),
            std::string::npos)
      << texto;
  const std::string json = vuelca(datos, true);
  EXPECT_NE(json.find("\"cod\":\"K\\u0001\\\"\\\\\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"text\":\"\xC3\x91u\\t\\\"1\\\"\xC2\x81\xE2\x82\xAC\""), std::string::npos)
      << json;
}

TEST(volcado, json_byte_a_byte) {
  const std::string datos = prueba::registro_point() + prueba::registro_text_abc() +
                            prueba::registro_triang();
  const std::string esperado =
      "{\"file\":\"d/a.bin\",\"y_rule\":\"In \\\"C=\\\" and \\\"T=\\\" records y is stored lowered "
      "by 4000000 drawing units; records with code TRIANG store y as it is.\",\"records\":[\n"
      "{\"record\":1,\"offset\":0,\"bytes\":60,\"clase\":\"C=\",\"cod\":\"0101\","
      "\"cod_hex\":\"30 31 30 31 00 00 00\",\"atr\":0,\"num_elem\":1,\"y_lowered_by\":4000000,"
      "\"min\":{\"stored\":[1500,2250,0],\"units\":[1.5,4000002.25,0.0]},"
      "\"max\":{\"stored\":[1500,2250,0],\"units\":[1.5,4000002.25,0.0]},"
      "\"dato\":[20,6,1957],"
      "\"points\":[{\"stored\":[1500,2250,0],\"units\":[1.5,4000002.25,0.0]}],"
      "\"closed\":false,\"attribute\":null},\n"
      "{\"record\":2,\"offset\":60,\"bytes\":84,\"clase\":\"T=\",\"cod\":\"0101\","
      "\"cod_hex\":\"30 31 30 31 00 00 00\",\"atr\":1,\"num_elem\":2,\"y_lowered_by\":4000000,"
      "\"min\":{\"stored\":[1500,2250,0],\"units\":[1.5,4000002.25,0.0]},"
      "\"max\":{\"stored\":[9000,4750,0],\"units\":[9.0,4000004.75,0.0]},"
      "\"dato\":[2500,0,0],"
      "\"points\":[{\"stored\":[1500,2250,0],\"units\":[1.5,4000002.25,0.0]}],"
      "\"text\":\"ABC\",\"text_units\":1,"
      "\"attribute\":{\"num_atr\":1,\"valor_atr\":0,\"cod_atr\":\"201   \"}},\n"
      "{\"record\":3,\"offset\":144,\"bytes\":84,\"clase\":\"C=\",\"cod\":\"TRIANG\","
      "\"cod_hex\":\"54 52 49 41 4E 47 00\",\"atr\":0,\"num_elem\":3,\"y_lowered_by\":0,"
      "\"min\":{\"stored\":[1000,2000,3000],\"units\":[1.0,2.0,3.0]},"
      "\"max\":{\"stored\":[4000,6000,3000],\"units\":[4.0,6.0,3.0]},"
      "\"dato\":[20,6,1957],"
      "\"points\":[{\"stored\":[1000,2000,3000],\"units\":[1.0,2.0,3.0]},"
      "{\"stored\":[4000,2000,3000],\"units\":[4.0,2.0,3.0]},"
      "{\"stored\":[1000,6000,3000],\"units\":[1.0,6.0,3.0]}],"
      "\"closed\":false,\"attribute\":null}\n"
      "],\"whole_records\":3,\"bytes\":228,\"error\":null}\n";
  EXPECT_EQ(vuelca(datos, true), esperado);
}

TEST(volcado, json_de_coordenadas_extremas_da_el_decimal_exacto) {
  // y 123456789 is the northing 4123456.789; x and z at the ends of 32 bits.
  const std::string datos = hex(
      "43 3D 30 31 30 31 00 00 00 00 01 00"
      "00 00 00 80 15 CD 5B 07 FF FF FF 7F"
      "00 00 00 80 15 CD 5B 07 FF FF FF 7F"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "00 00 00 80 15 CD 5B 07 FF FF FF 7F");
  const std::string json = vuelca(datos, true);
  EXPECT_NE(json.find("\"points\":[{\"stored\":[-2147483648,123456789,2147483647],"
                      "\"units\":[-2147483.648,4123456.789,2147483.647]}]"),
            std::string::npos)
      << json;
  const std::string texto = vuelca(datos, false);
  EXPECT_NE(texto.find("  point 1    -2147483648   123456789  2147483647  =  -2147483.648   "
                       "4123456.789   2147483.647\n"),
            std::string::npos)
      << texto;
}

TEST(volcado, un_fichero_roto_vuelca_los_registros_enteros_y_dice_donde_se_rompe) {
  const std::string point = prueba::registro_point();
  const std::string polyline = prueba::registro_polyline_cerrada();
  const struct {
    const char* nombre;
    std::string cola;
    int numero;
    const char* mensaje;
  } casos[] = {
      {"cabecera_cortada", hex("43 3D 30 31 30 31 00"), 62,
       "record 2 at offset 60 is cut short: its header unit needs 12 bytes, the file ends after 7"},
      {"cuerpo_cortado", polyline.substr(0, 50), 62,
       "record 2 at offset 60 is cut short: with num_elem 4 and atr 0 it needs 96 bytes, the file "
       "ends after 50"},
      {"num_elem_mas_alla_del_fin", hex("43 3D 30 31 30 31 00 00 00 00 00 01") + point.substr(12),
       62,
       "record 2 at offset 60 is cut short: with num_elem 256 and atr 0 it needs 3120 bytes, the "
       "file ends after 60"},
      {"num_elem_negativo", hex("43 3D 30 31 30 31 00 00 00 00 FF FF") + point.substr(12), 1,
       "record 2 at offset 60 has num_elem -1; a count of units is never negative"},
  };
  for (const auto& c : casos) {
    int numero = 0;
    EXPECT_EQ(vuelca(point + c.cola, false, &numero),
              std::string(cabecera_texto) + texto_point +
                  "\n1 whole record, 60 bytes; record 2 at offset 60 is broken\n")
        << c.nombre;
    EXPECT_EQ(numero, c.numero) << c.nombre;

    const std::string json = vuelca(point + c.cola, true, &numero);
    EXPECT_EQ(numero, c.numero) << c.nombre;
    const std::string fin = std::string("],\"whole_records\":1,\"bytes\":60,\"error\":{\"record\":2,"
                                        "\"offset\":60,\"status\":") +
                            std::to_string(c.numero) + ",\"message\":\"Error " +
                            std::to_string(c.numero) +
                            (c.numero == 62 ? " (input past end of file): "
                                            : " (not an entity record): ") +
                            c.mensaje + " -- d/a.bin\"}}\n";
    ASSERT_GE(json.size(), fin.size()) << c.nombre;
    EXPECT_EQ(json.substr(json.size() - fin.size()), fin) << c.nombre;
    EXPECT_NE(json.find("\n{\"record\":1,\"offset\":0,"), std::string::npos) << c.nombre;
  }
}

TEST(volcado, un_primer_registro_roto_no_vuelca_ninguno) {
  int numero = 0;
  EXPECT_EQ(vuelca(hex("43 3D"), false, &numero),
            std::string(cabecera_texto) +
                "\n0 whole records, 0 bytes; record 1 at offset 0 is broken\n");
  EXPECT_EQ(numero, 62);
}

}  // namespace
}  // namespace tolvar
