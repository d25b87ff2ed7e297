#pragma once

// What the Win32 windows share of the system's text and colours.

#include <windows.h>

#include <string>
#include <string_view>

#include "ventana/disposicion.h"

namespace tolvar {

// UTF-8, as the shared behaviour writes every text, into the UTF-16 the wide API takes.
inline std::wstring ancho(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

inline COLORREF rgb(color_rgb c) { return RGB(c.rojo, c.verde, c.azul); }

}  // namespace tolvar
