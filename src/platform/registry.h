// The user's registry: hives of keys holding typed values, kept in one SQLite database per
// user so that several processes can read and write it at once.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quire::platform {

enum class Hive { CurrentUser, LocalMachine, ClassesRoot };
enum class RegKind { Sz = 1, Binary = 3, Dword = 4 };

const char* HiveName(Hive hive);  // "HKEY_CURRENT_USER", ...

// One connection to the registry database. Key paths and value names are Windows-1251 and
// matched without regard to case; "\" separates keys and empty parts are ignored.
class RegistryDb {
 public:
  // Opens (creating when missing) the database file; empty with `error` set on failure.
  static std::unique_ptr<RegistryDb> Open(const std::filesystem::path& file, std::string* error);
  ~RegistryDb();
  RegistryDb(const RegistryDb&) = delete;
  RegistryDb& operator=(const RegistryDb&) = delete;

  bool KeyExists(Hive hive, std::string_view key);
  // Creates the key and every missing parent; true when the key exists afterwards.
  bool CreateKey(Hive hive, std::string_view key);
  // The value's bytes when it exists with exactly this kind (a DWORD as 4 little-endian bytes).
  std::optional<std::string> Read(Hive hive, std::string_view key, std::string_view name,
                                  RegKind kind);
  // Writes the value, creating its key when missing.
  bool Write(Hive hive, std::string_view key, std::string_view name, RegKind kind,
             std::string_view data);
  bool DeleteValue(Hive hive, std::string_view key, std::string_view name);

 private:
  explicit RegistryDb(sqlite3* db) : db_(db) {}
  bool Exec(const char* sql);
  bool InsertKeys(Hive hive, std::string_view key);

  sqlite3* db_;
};

// A key opened in the registry, with the usual typed reads and writes. A read of a missing
// value, or of one stored with another kind, gives an empty optional.
class TRegistry {
 public:
  explicit TRegistry(RegistryDb& db, Hive root = Hive::CurrentUser) : db_(db), root_(root) {}

  void SetRootKey(Hive root) { root_ = root; }
  // Opens `key`; without `canCreate` a missing key is not opened.
  bool OpenKey(std::string_view key, bool canCreate);
  void CloseKey() { key_.reset(); }
  bool HasOpenKey() const { return key_.has_value(); }

  std::optional<std::int32_t> ReadInteger(std::string_view name);
  std::optional<bool> ReadBool(std::string_view name);
  std::optional<std::string> ReadString(std::string_view name);
  std::optional<std::string> ReadBinaryData(std::string_view name);
  bool WriteInteger(std::string_view name, std::int32_t value);
  bool WriteBool(std::string_view name, bool value);
  bool WriteString(std::string_view name, std::string_view value);
  bool WriteBinaryData(std::string_view name, std::string_view data);
  bool ValueExists(std::string_view name);
  bool DeleteValue(std::string_view name);

 private:
  RegistryDb& db_;
  Hive root_;
  std::optional<std::string> key_;
};

}  // namespace quire::platform
