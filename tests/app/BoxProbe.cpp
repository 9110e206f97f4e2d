// Shows one message box: BoxProbe <caption> <text> <flags>; the answer is
// the exit code. Lets the driver's box reading be tested on its own.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 4) return 99;
  return MessageBoxA(nullptr, argv[2], argv[1], static_cast<UINT>(std::strtoul(argv[3], nullptr, 0)));
}
