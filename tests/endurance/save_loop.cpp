// Saves the settings file over and over, each time a complete document numbered in its Top
// key, until it is killed. The kill-during-save test runs it and checks what is left behind.
#include <windows.h>

#include <string>

#include "toolkit/atomic_file.h"

namespace {

std::string Document(int n) {
  // Padding makes each save long enough to be caught in the middle of it.
  return "[POSITION]\r\nTop=" + std::to_string(n) + "\r\n[PAD]\r\nx=" + std::string(200000, 'x') +
         "\r\n[END]\r\nLast=" + std::to_string(n) + "\r\n";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  for (int n = 0;; ++n) {
    try {
      yomitron::toolkit::SaveFileAtomically(argv[1], Document(n));
    } catch (const std::exception&) {
      return 1;
    }
  }
}
