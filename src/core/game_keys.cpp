#include "core/game_keys.h"

namespace quire::core {

std::string GameKeyPath(const std::string& game) {
  return "SOFTWARE\\Zarvex\\" + game;
}

std::string ReadGameValue(Globals& g, const std::string& game, const char* name) {
  platform::RegistryDb* registry = g.Registry();
  if (!registry) return {};
  platform::TRegistry key(*registry, platform::Hive::LocalMachine);
  if (!key.OpenKey(GameKeyPath(game), false)) return {};
  return key.ReadString(name).value_or("");
}

}  // namespace quire::core
