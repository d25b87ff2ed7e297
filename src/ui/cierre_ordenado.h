#pragma once

#include <memory>

class QSocketNotifier;

namespace tolvar {

// SIGTERM, SIGINT and SIGHUP (a session that ends, kill, Ctrl+C in the terminal that started
// the window) close the window as its own close box would, with status 0, never in the middle
// of a batch: the batch runs on the event loop's thread, so a request waits for the batch's end
// and no drawing's .bin is cut short. One that comes while the file dialog is open waits until
// it is closed. Elsewhere than on POSIX systems the signals keep their default.
class cierre_ordenado {
 public:
  // The signals are caught from here on: a request that comes before the event loop runs is
  // kept until then. Their default is given back at destruction. One at a time.
  cierre_ordenado();
  ~cierre_ordenado();
  cierre_ordenado(const cierre_ordenado&) = delete;
  cierre_ordenado& operator=(const cierre_ordenado&) = delete;

  // Once the application exists: its event loop reads the requests from here on.
  void escucha();

 private:
  std::unique_ptr<QSocketNotifier> aviso_;
};

}  // namespace tolvar
