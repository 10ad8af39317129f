#include "platform/registry.h"

#include <system_error>
#include <vector>

#include "platform/text.h"

namespace quire::platform {

namespace fs = std::filesystem;

namespace {

constexpr int kBusyTimeoutMs = 15000;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS reg_keys(hive INTEGER NOT NULL, fold BLOB NOT NULL, "
    "  name BLOB NOT NULL, PRIMARY KEY(hive, fold));"
    "CREATE TABLE IF NOT EXISTS reg_values(hive INTEGER NOT NULL, key BLOB NOT NULL, "
    "  fold BLOB NOT NULL, name BLOB NOT NULL, kind INTEGER NOT NULL, data BLOB NOT NULL, "
    "  PRIMARY KEY(hive, key, fold));";

// Key parts without the empty ones, joined by "\".
std::string NormaliseKey(std::string_view key) {
  std::string out;
  size_t start = 0;
  while (start <= key.size()) {
    size_t end = key.find('\\', start);
    if (end == std::string_view::npos) end = key.size();
    if (end > start) {
      if (!out.empty()) out += '\\';
      out.append(key.substr(start, end - start));
    }
    start = end + 1;
  }
  return out;
}

std::string Fold(std::string_view text) {
  return AnsiUpperCase(text);
}

// A prepared statement that finalises itself.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Ok() const { return stmt_ != nullptr; }
  Statement& Bind(int index, std::string_view blob) {
    sqlite3_bind_blob(stmt_, index, blob.data(), static_cast<int>(blob.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& Bind(int index, int value) {
    sqlite3_bind_int(stmt_, index, value);
    return *this;
  }
  int Step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
  std::string Blob(int column) {
    const void* data = sqlite3_column_blob(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    return data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size)) : "";
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

const char* HiveName(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return "HKEY_CURRENT_USER";
    case Hive::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case Hive::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
  }
  return "";
}

std::unique_ptr<RegistryDb> RegistryDb::Open(const fs::path& file, std::string* error) {
  std::error_code ec;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
  sqlite3* db = nullptr;
  const int rc =
      sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  std::unique_ptr<RegistryDb> registry(db ? new RegistryDb(db) : nullptr);
  if (rc != SQLITE_OK) {
    if (error) *error = file.string() + ": " + (db ? sqlite3_errmsg(db) : "cannot open");
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  // Write-ahead logging lets readers and one writer work at once, and a process killed in a
  // write leaves only an uncommitted tail that the next open ignores.
  if (!registry->Exec("PRAGMA journal_mode=WAL;") ||
      !registry->Exec("PRAGMA synchronous=NORMAL;") || !registry->Exec(kSchema)) {
    if (error) *error = file.string() + ": " + sqlite3_errmsg(db);
    return nullptr;
  }
  return registry;
}

RegistryDb::~RegistryDb() {
  sqlite3_close_v2(db_);
}

bool RegistryDb::Exec(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool RegistryDb::KeyExists(Hive hive, std::string_view key) {
  const std::string path = NormaliseKey(key);
  if (path.empty()) return true;  // the hive itself
  Statement stmt(db_, "SELECT 1 FROM reg_keys WHERE hive=?1 AND fold=?2;");
  stmt.Bind(1, static_cast<int>(hive)).Bind(2, Fold(path));
  return stmt.Step() == SQLITE_ROW;
}

bool RegistryDb::InsertKeys(Hive hive, std::string_view key) {
  // The key and each of its parents: "A", "A\\B", "A\\B\\C".
  const std::string path = NormaliseKey(key);
  for (size_t end = 0; end != std::string::npos && !path.empty();) {
    end = path.find('\\', end + 1);
    const std::string prefix = path.substr(0, end);
    Statement insert(db_, "INSERT OR IGNORE INTO reg_keys(hive, fold, name) VALUES(?1, ?2, ?3);");
    insert.Bind(1, static_cast<int>(hive)).Bind(2, Fold(prefix)).Bind(3, prefix);
    if (insert.Step() != SQLITE_DONE) return false;
  }
  return true;
}

bool RegistryDb::CreateKey(Hive hive, std::string_view key) {
  if (KeyExists(hive, key)) return true;
  if (!Exec("BEGIN IMMEDIATE;")) return false;
  if (!InsertKeys(hive, key)) {
    Exec("ROLLBACK;");
    return false;
  }
  return Exec("COMMIT;");
}

std::optional<std::string> RegistryDb::Read(Hive hive, std::string_view key, std::string_view name,
                                            RegKind kind) {
  Statement stmt(db_,
                 "SELECT data FROM reg_values WHERE hive=?1 AND key=?2 AND fold=?3 AND kind=?4;");
  stmt.Bind(1, static_cast<int>(hive))
      .Bind(2, Fold(NormaliseKey(key)))
      .Bind(3, Fold(name))
      .Bind(4, static_cast<int>(kind));
  if (stmt.Step() != SQLITE_ROW) return std::nullopt;
  return stmt.Blob(0);
}

bool RegistryDb::Write(Hive hive, std::string_view key, std::string_view name, RegKind kind,
                       std::string_view data) {
  if (!Exec("BEGIN IMMEDIATE;")) return false;
  Statement stmt(db_,
                 "INSERT OR REPLACE INTO reg_values(hive, key, fold, name, kind, data) "
                 "VALUES(?1, ?2, ?3, ?4, ?5, ?6);");
  stmt.Bind(1, static_cast<int>(hive))
      .Bind(2, Fold(NormaliseKey(key)))
      .Bind(3, Fold(name))
      .Bind(4, name)
      .Bind(5, static_cast<int>(kind))
      .Bind(6, data);
  if (!InsertKeys(hive, key) || stmt.Step() != SQLITE_DONE) {
    Exec("ROLLBACK;");
    return false;
  }
  return Exec("COMMIT;");
}

bool RegistryDb::DeleteValue(Hive hive, std::string_view key, std::string_view name) {
  Statement stmt(db_, "DELETE FROM reg_values WHERE hive=?1 AND key=?2 AND fold=?3;");
  stmt.Bind(1, static_cast<int>(hive)).Bind(2, Fold(NormaliseKey(key))).Bind(3, Fold(name));
  return stmt.Step() == SQLITE_DONE && sqlite3_changes(db_) > 0;
}

bool TRegistry::OpenKey(std::string_view key, bool canCreate) {
  const bool ok = canCreate ? db_.CreateKey(root_, key) : db_.KeyExists(root_, key);
  if (ok) key_ = std::string(key);
  return ok;
}

std::optional<std::int32_t> TRegistry::ReadInteger(std::string_view name) {
  if (!key_) return std::nullopt;
  const auto data = db_.Read(root_, *key_, name, RegKind::Dword);
  if (!data || data->size() != 4) return std::nullopt;
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>((*data)[i]);
  return static_cast<std::int32_t>(value);
}

std::optional<bool> TRegistry::ReadBool(std::string_view name) {
  const auto value = ReadInteger(name);
  if (!value) return std::nullopt;
  return *value != 0;
}

std::optional<std::string> TRegistry::ReadString(std::string_view name) {
  if (!key_) return std::nullopt;
  return db_.Read(root_, *key_, name, RegKind::Sz);
}

std::optional<std::string> TRegistry::ReadBinaryData(std::string_view name) {
  if (!key_) return std::nullopt;
  return db_.Read(root_, *key_, name, RegKind::Binary);
}

bool TRegistry::WriteInteger(std::string_view name, std::int32_t value) {
  if (!key_) return false;
  const auto bits = static_cast<std::uint32_t>(value);
  const char bytes[4] = {static_cast<char>(bits), static_cast<char>(bits >> 8),
                         static_cast<char>(bits >> 16), static_cast<char>(bits >> 24)};
  return db_.Write(root_, *key_, name, RegKind::Dword, std::string_view(bytes, 4));
}

bool TRegistry::WriteBool(std::string_view name, bool value) {
  return WriteInteger(name, value);
}

bool TRegistry::WriteString(std::string_view name, std::string_view value) {
  return key_ && db_.Write(root_, *key_, name, RegKind::Sz, value);
}

bool TRegistry::WriteBinaryData(std::string_view name, std::string_view data) {
  return key_ && db_.Write(root_, *key_, name, RegKind::Binary, data);
}

bool TRegistry::ValueExists(std::string_view name) {
  if (!key_) return false;
  for (RegKind kind : {RegKind::Sz, RegKind::Binary, RegKind::Dword}) {
    if (db_.Read(root_, *key_, name, kind)) return true;
  }
  return false;
}

bool TRegistry::DeleteValue(std::string_view name) {
  return key_ && db_.DeleteValue(root_, *key_, name);
}

}  // namespace quire::platform
