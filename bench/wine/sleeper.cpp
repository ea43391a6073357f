// A started program that does nothing for the milliseconds given (5,000 by default).
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  Sleep(argc > 1 ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)) : 5000);
  return 0;
}
