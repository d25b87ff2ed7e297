// The file system refusing: a file that cannot be created or deleted, a full disk, an error
// that only shows when a file is closed. Each is the system's error naming the file, and
// never a run that reports success.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#include "fiabilidad.h"

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#endif

namespace tolvar::prueba {
namespace {

namespace fs = std::filesystem;

// Four points on layer CAPA: four records of 60 bytes.
const std::string cuatro_points = point_dxf + point_dxf + point_dxf + point_dxf;

// Why taking a permission away stops nothing here, when it does not.
const char* const sin_permisos =
#ifdef _WIN32
    "Windows has no POSIX permission bits: std::filesystem::permissions only sets the "
    "read-only attribute, which a directory ignores and which never stops reading";
#else
    "permission bits are not enforced for this user (root?)";
#endif

std::string mensaje_de(std::errc condicion) { return std::make_error_code(condicion).message(); }

bool muestra_exito(const vista_registro& v, std::string_view bin) {
  for (const std::string& llamada : v.llamadas)
    if (llamada == "Creado el fichero : d/" + std::string(bin) || llamada == "fin") return true;
  return false;
}

TEST(fallos_disco, en_memoria_cada_fallo_es_el_error_del_sistema) {
  const struct {
    const char* nombre;
    std::function<void(ficheros_memoria&)> prepara;
    int numero;
    const char* fichero;
    std::errc condicion;
    std::optional<std::string> bin;  // what b.bin holds afterwards; none: it does not exist
  } casos[] = {
      {"err_no_creable", [](ficheros_memoria& m) { m.no_creables.insert("d/b.err"); },
       permiso_denegado, "b.err", std::errc::permission_denied, "viejo"},
      {"bin_no_creable", [](ficheros_memoria& m) { m.no_creables.insert("d/b.bin"); },
       permiso_denegado, "b.bin", std::errc::permission_denied, std::nullopt},
      {"bin_no_borrable", [](ficheros_memoria& m) { m.no_borrables.insert("d/b.bin"); },
       permiso_denegado, "b.bin", std::errc::permission_denied, "viejo"},
      {"disco_lleno_en_el_tercer_registro",
       [](ficheros_memoria& m) { m.escritura_fallida["d/b.bin"] = 3; }, disco_lleno, "b.bin",
       std::errc::no_space_on_device, point_bin + point_bin},
      {"disco_lleno_en_el_primer_registro",
       [](ficheros_memoria& m) { m.escritura_fallida["d/b.bin"] = 1; }, disco_lleno, "b.bin",
       std::errc::no_space_on_device, ""},
      {"disco_lleno_en_la_lista_de_capas",
       [](ficheros_memoria& m) {
         m.escritura_fallida["d/b.err"] = 1;
         m.pon("d/b.dxf", dibujo({"  0", "POINT", "  8", "RARA", " 30", "0"}) + cuatro_points);
       },
       disco_lleno, "b.err", std::errc::no_space_on_device, ""},
      {"fallo_al_cerrar_el_bin", [](ficheros_memoria& m) { m.cierre_fallido.insert("d/b.bin"); },
       disco_lleno, "b.bin", std::errc::no_space_on_device,
       point_bin + point_bin + point_bin + point_bin},
      {"fallo_al_cerrar_el_err", [](ficheros_memoria& m) { m.cierre_fallido.insert("d/b.err"); },
       disco_lleno, "b.err", std::errc::no_space_on_device,
       point_bin + point_bin + point_bin + point_bin},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    directorio_prueba d;
    d.pon("a.dxf", point_dxf);
    d.pon("b.dxf", cuatro_points);
    d.pon("b.bin", "viejo");  // left by an earlier batch
    d.pon("c.dxf", point_dxf);
    c.prepara(d.fs);
    const auto e = convierte_con_fallo(d);
    comprueba_fallo(e, c.numero, fs::path("d") / c.fichero, 0);
    EXPECT_NE(std::string(e->what()).find(mensaje_de(c.condicion)), std::string::npos) << e->what();
    EXPECT_EQ(d.lee("a.bin"), point_bin);
    EXPECT_EQ(d.fs.lee("d/b.bin"), c.bin);
    EXPECT_FALSE(d.existe("c.bin"));
    EXPECT_FALSE(muestra_exito(d.vista, "b.bin"));
  }
}

// A directory of its own under the system's temporary directory, removed with everything in
// it (write permission given back first) when the test ends.
class fallos_disco_real : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device azar;
    dir_ = fs::temp_directory_path() / ("tolvar-fiabilidad-" + std::to_string(azar()));
    fs::create_directories(dir_);
    escribe("dxfbin.tab", "0101 CAPA\r\n");
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }

  void escribe(const fs::path& nombre, const std::string& bytes) {
    std::ofstream(dir_ / nombre, std::ios::binary) << bytes;
  }
  std::string lee(const fs::path& nombre) {
    std::ifstream f(dir_ / nombre, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }
  // Takes write permission away from the directory. False where that does not stop us (as
  // root, or on a system that ignores the bits), and the test has nothing to show there.
  bool quita_escritura() {
    fs::permissions(dir_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const fs::path sonda = dir_ / "sonda";
    if (std::ofstream(sonda).is_open()) {
      fs::remove(sonda);
      return false;
    }
    return true;
  }
  std::optional<error_conversion> convierte() {
    ficheros_disco disco;
    conversor conv(vista_, disco);
    conv.estado().fich_dxf = dir_ / "a.dxf";
    try {
      conv.ProcesoLote();
    } catch (const error_conversion& e) {
      return e;
    }
    return std::nullopt;
  }

  fs::path dir_;
  vista_registro vista_;
};

TEST_F(fallos_disco_real, un_directorio_sin_permiso_de_escritura_es_error_70) {
  escribe("a.dxf", point_dxf);
  if (!quita_escritura()) GTEST_SKIP() << sin_permisos;
  const auto e = convierte();
  comprueba_fallo(e, permiso_denegado, dir_ / "a.err", 0);
  EXPECT_FALSE(fs::exists(dir_ / "a.bin"));
}

TEST_F(fallos_disco_real, un_bin_que_no_se_puede_borrar_es_error_70_y_sigue_alli) {
  escribe("a.dxf", point_dxf);
  escribe("a.err", "");  // rewritable in place, so the run gets as far as the .bin
  escribe("a.bin", "viejo");
  if (!quita_escritura()) GTEST_SKIP() << sin_permisos;
  const auto e = convierte();
  comprueba_fallo(e, permiso_denegado, dir_ / "a.bin", 0);
  EXPECT_EQ(lee("a.bin"), "viejo");
}

TEST_F(fallos_disco_real, un_dibujo_que_no_se_puede_leer_es_error_70) {
  escribe("a.dxf", point_dxf);
  fs::permissions(dir_ / "a.dxf", fs::perms::owner_write, fs::perm_options::replace);
  if (std::ifstream(dir_ / "a.dxf").is_open())
    GTEST_SKIP() << sin_permisos;
  const auto e = convierte();
  comprueba_fallo(e, permiso_denegado, dir_ / "a.dxf", 0);
}

TEST_F(fallos_disco_real, un_directorio_que_no_se_puede_listar_es_error_70) {
  escribe("a.dxf", point_dxf);
  fs::permissions(dir_, fs::perms::owner_write | fs::perms::owner_exec, fs::perm_options::replace);
  std::error_code ec;
  if (fs::directory_iterator(dir_, ec); !ec)
    GTEST_SKIP() << sin_permisos;
  const auto e = convierte();
  comprueba_fallo(e, permiso_denegado, dir_, 0);
  EXPECT_FALSE(fs::exists(dir_ / "a.bin"));
}

// The disk's output is buffered: a drawing that fails must still leave on disk, whole, the
// records written before the fault.
TEST_F(fallos_disco_real, un_dibujo_que_falla_deja_en_disco_los_registros_anteriores) {
  escribe("a.dxf", tras_point({"  0", "POINT", "  8", "RARA", " 10", "1,5"}));
  const auto e = convierte();
  comprueba_fallo(e, tipo_incompatible, dir_ / "a.dxf", 16);
  EXPECT_EQ(muestra_hex(lee("a.bin")), muestra_hex(point_bin));
  EXPECT_EQ(lee("a.err"), "RARA\r\n");
}

// Where permissions cannot stop the run, a directory in the place of the .bin still does.
TEST_F(fallos_disco_real, un_directorio_en_lugar_del_bin_es_un_error) {
  escribe("a.dxf", point_dxf);
  fs::create_directories(dir_ / "a.bin" / "dentro");
  const auto e = convierte();
  ASSERT_TRUE(e.has_value()) << "the run reported success";
  // The system's own refusal: "is a directory" on POSIX, "access denied" on Windows.
  EXPECT_TRUE(e->numero() == error_de_acceso || e->numero() == permiso_denegado) << e->what();
  EXPECT_EQ(e->fichero(), dir_ / "a.bin");
  EXPECT_TRUE(fs::exists(dir_ / "a.bin" / "dentro"));
  EXPECT_EQ(lee("a.err"), "");
}

// An output never writes through a link someone left at its name, wherever it points and
// whether or not its target exists: the link goes, the file outside stays as it was, and the
// output is a new, ordinary file.
TEST_F(fallos_disco_real, las_salidas_nunca_se_escriben_a_traves_de_un_enlace) {
  const fs::path fuera = fs::path(dir_.string() + "-fuera");
  fs::create_directories(fuera);
  escribe("a.dxf", tras_point({"  0", "POINT", "  8", "RARA", " 10", "1", " 20", "4000000", " 30", "0"}));
  const std::string rara_bin = hex(
      "43 3D 4E 75 65 76 6F 00 00 00 01 00"    // C=, Nuevo, atr 0, num_elem 1
      "E8 03 00 00 00 00 00 00 00 00 00 00"
      "E8 03 00 00 00 00 00 00 00 00 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "E8 03 00 00 00 00 00 00 00 00 00 00");  // (1, 4000000, 0)
  for (const char* salida : {"a.bin", "a.err"}) {
    for (const bool destino_existe : {true, false}) {
      const fs::path destino = fuera / "ajeno.txt";
      fs::remove(destino);
      if (destino_existe) std::ofstream(destino, std::ios::binary) << "intacto";
      fs::remove(dir_ / salida);
      std::error_code ec;
      fs::create_symlink(destino, dir_ / salida, ec);
      if (ec) GTEST_SKIP() << "cannot make a symbolic link here: " << ec.message();

      const auto e = convierte();
      ASSERT_FALSE(e.has_value()) << e->what();
      SCOPED_TRACE(std::string(salida) + (destino_existe ? ", target present" : ", target absent"));
      EXPECT_EQ(fs::exists(destino), destino_existe);
      if (destino_existe) {
        std::ifstream f(destino, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), "intacto");
      }
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir_ / salida)));
      EXPECT_EQ(muestra_hex(lee("a.bin")), muestra_hex(point_bin + rara_bin));
      EXPECT_EQ(lee("a.err"), "RARA\r\n");
    }
  }
  fs::remove_all(fuera);
}

#if defined(__unix__) || defined(__APPLE__)
// A limit on the size of the files this process writes refuses every write with "file too
// large", which the disk layer counts with a full disk: the real write error, which buffering
// moves to the close for a small drawing and to the middle of the run for a large one.
TEST_F(fallos_disco_real, disco_lleno_al_cerrar_y_a_media_conversion_es_error_61) {
  const std::string grande = [] {
    std::string s;
    for (int i = 0; i < 20000; ++i) s += point_dxf;  // 1.2 MB of records, past any buffer
    return s;
  }();
  // Without this the first refused write would end the process.
  const auto senal_anterior = std::signal(SIGXFSZ, SIG_IGN);
  for (const std::string* contenido : {&point_dxf, &grande}) {
    escribe("a.dxf", *contenido);
    vista_.llamadas.clear();
    rlimit anterior{};
    getrlimit(RLIMIT_FSIZE, &anterior);
    rlimit sin_sitio = anterior;
    sin_sitio.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &sin_sitio);
    const auto e = convierte();
    setrlimit(RLIMIT_FSIZE, &anterior);
    comprueba_fallo(e, disco_lleno, dir_ / "a.bin", 0);
    if (e) {
      EXPECT_NE(std::string(e->what()).find(mensaje_de(std::errc::file_too_large)),
                std::string::npos);
    }
    for (const std::string& llamada : vista_.llamadas) EXPECT_NE(llamada, "fin");
  }
  std::signal(SIGXFSZ, senal_anterior);
}
#else
TEST_F(fallos_disco_real, disco_lleno_al_cerrar_y_a_media_conversion_es_error_61) {
  GTEST_SKIP() << "no RLIMIT_FSIZE here to make the real disk refuse writes; the memory files' "
                  "full disk covers error 61";
}
#endif

}  // namespace
}  // namespace tolvar::prueba
