#include "ui/cierre_ordenado.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tolvar {

#ifndef _WIN32
namespace {

// A signal handler may do next to nothing: it writes one byte down this pipe, and the event
// loop, which watches the other end, does the rest.
int tubo[2] = {-1, -1};
constexpr int senales[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void al_recibir(int) {
  const int guardado = errno;
  const char uno = 1;
  [[maybe_unused]] const ssize_t escrito = ::write(tubo[1], &uno, 1);  // a full pipe has one already
  errno = guardado;
}

void cierra() {
  // The file dialog and the message box run event loops of their own inside the button's
  // handler: quitting from one of them would end the dialog as if cancelled, and the handler
  // would go on to convert. Ask again once the window's own loop is back.
  if (QThread::currentThread()->loopLevel() > 1) {
    QTimer::singleShot(200, cierra);
    return;
  }
  QCoreApplication::quit();
}

}  // namespace

cierre_ordenado::cierre_ordenado() {
  // Without the pipe the signals keep their default: the window still works.
  if (::pipe2(tubo, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction accion {};
  accion.sa_handler = al_recibir;
  sigemptyset(&accion.sa_mask);
  // The batch's reads and writes go on where a signal interrupts them.
  accion.sa_flags = SA_RESTART;
  for (const int s : senales) sigaction(s, &accion, nullptr);
}

cierre_ordenado::~cierre_ordenado() {
  aviso_.reset();
  if (tubo[0] < 0) return;
  for (const int s : senales) std::signal(s, SIG_DFL);
  ::close(tubo[0]);
  ::close(tubo[1]);
  tubo[0] = tubo[1] = -1;
}

void cierre_ordenado::escucha() {
  if (tubo[0] < 0) return;
  aviso_ = std::make_unique<QSocketNotifier>(tubo[0], QSocketNotifier::Read);
  QObject::connect(aviso_.get(), &QSocketNotifier::activated, [] {
    char leido[16];
    while (::read(tubo[0], leido, sizeof leido) > 0) {
    }
    cierra();
  });
}

#else

cierre_ordenado::cierre_ordenado() = default;
cierre_ordenado::~cierre_ordenado() = default;
void cierre_ordenado::escucha() {}

#endif

}  // namespace tolvar
