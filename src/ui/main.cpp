// tolvar: the converter's window. Closing the window ends the program; a failed conversion
// ends it with the error's number as its status, once its message box is closed.
#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <cstdio>
#include <cstring>

#include "tolvar/version.h"
#include "ui/cierre_ordenado.h"
#include "ui/form1.h"

namespace {

constexpr const char* ayuda =
    "Usage: tolvar [--help | --version]\n"
    "The window of Tolvar. Its button asks for a drawing; every ASCII DXF drawing of that\n"
    "drawing's directory is then converted into NAME.bin (entity records) and NAME.err (layers\n"
    "that the directory's dxfbin.tab does not classify), beside each drawing. tolvar-cli does\n"
    "the same from a command line.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Print this help and exit\n"
    "  -v, --version  Print the version and exit\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are taken as Qt documents them; other arguments\n"
    "are ignored.\n";

// Answered before any window system is reached: on a terminal without a display as well.
// Returns whether the program is to end here.
bool responde_sin_ventana(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(ayuda, stdout);
      return true;
    }
    if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
      std::fputs("tolvar " TOLVAR_VERSION "\n" TOLVAR_AVISO_LICENCIA, stdout);
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (responde_sin_ventana(argc, argv)) return 0;
  // Before the application exists, so that a signal that comes while it starts is not lost.
  tolvar::cierre_ordenado cierre;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tolvar"));
  QApplication::setApplicationVersion(QStringLiteral(TOLVAR_VERSION));
  // The installed tolvar.desktop: Wayland compositors take the taskbar's icon and name from it.
  QGuiApplication::setDesktopFileName(QStringLiteral("tolvar"));
  QIcon icono;
  for (const int lado : {16, 24, 32, 48, 64, 128, 256})
    icono.addFile(QStringLiteral(":/iconos/tolvar-%1.png").arg(lado), QSize(lado, lado));
  QApplication::setWindowIcon(icono);
  // Fusion draws a button's face in its palette colour on every system; the native Windows
  // style ignores it.
  if (QStyle* estilo = QStyleFactory::create(QStringLiteral("Fusion")))
    QApplication::setStyle(estilo);
  cierre.escucha();
  tolvar::Form1 ventana;
  ventana.show();
  return QApplication::exec();
}
