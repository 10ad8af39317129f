// Writes registry values from a second process for the registry tests:
//   registry_writer FILE NAME-PREFIX COUNT
// writes COUNT values "PREFIX<i>" = i under HKCU\Test (COUNT 0: without end), and prints i
// on its own line after each write has committed.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/registry.h"

int main(int argc, char** argv) {
  using namespace quire::platform;
  if (argc != 4) return 2;
  std::string error;
  auto db = RegistryDb::Open(argv[1], &error);
  if (!db) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  TRegistry reg(*db);
  if (!reg.OpenKey("Software\\Test", true)) return 1;
  const long count = std::strtol(argv[3], nullptr, 10);
  for (long i = 0; count == 0 || i < count; ++i) {
    if (!reg.WriteInteger(argv[2] + std::to_string(i), static_cast<int>(i))) return 1;
    std::printf("%ld\n", i);
    std::fflush(stdout);
  }
  return 0;
}
