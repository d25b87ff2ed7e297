#include <iostream>
#include <string>
#include <vector>

#include "cli/aplicacion.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

#ifdef _WIN32
// main() gets its arguments in the ANSI code page, where a name outside it ("ł" under
// Windows-1252) turns into another name; the wide command line holds every name.
std::vector<std::string> argumentos_utf8() {
  std::vector<std::string> utf8;
  int n = 0;
  wchar_t** anchos = CommandLineToArgvW(GetCommandLineW(), &n);
  if (anchos == nullptr) return utf8;
  for (int i = 1; i < n; ++i) {
    const int largo = WideCharToMultiByte(CP_UTF8, 0, anchos[i], -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(largo > 0 ? largo : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, anchos[i], -1, s.data(), largo, nullptr, nullptr);
    s.pop_back();  // the terminating NUL
    utf8.push_back(std::move(s));
  }
  LocalFree(anchos);
  return utf8;
}

// Output is UTF-8 with "\n" line ends, the same bytes as on other systems: binary mode keeps
// the C runtime from writing "\r\n", and a console is asked to show UTF-8. The console outlives
// the program, so its code page is given back at the end.
class consola_utf8 {
 public:
  consola_utf8() : anterior_(GetConsoleOutputCP()) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (anterior_ != 0) SetConsoleOutputCP(CP_UTF8);
  }
  ~consola_utf8() {
    std::cout.flush();  // what is still buffered shows in UTF-8 too
    if (anterior_ != 0) SetConsoleOutputCP(anterior_);
  }
  consola_utf8(const consola_utf8&) = delete;
  consola_utf8& operator=(const consola_utf8&) = delete;

 private:
  UINT anterior_;  // 0: no console
};
#endif

}  // namespace

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
  const consola_utf8 consola;
  const std::vector<std::string> argumentos = argumentos_utf8();
#else
  const std::vector<std::string> argumentos(argv + 1, argv + argc);
#endif
  return tolvar::ejecuta_cli(argumentos, std::cout, std::cerr, tolvar::idioma_del_entorno());
}
