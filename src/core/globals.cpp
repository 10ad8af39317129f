#include "core/globals.h"

#include <system_error>

#include "platform/paths.h"
#include "platform/text.h"

namespace quire::core {

namespace fs = std::filesystem;
using platform::DriveTable;

std::optional<BookLocation> LocateBook(const fs::path& bookFolder,
                                       const std::optional<fs::path>& cdRoot, std::string& error) {
  std::error_code ec;
  const fs::path folder = fs::weakly_canonical(fs::absolute(bookFolder), ec);
  if (ec || !fs::is_directory(folder)) {
    error = "book folder not found: " + bookFolder.string();
    return std::nullopt;
  }
  BookLocation location{folder, platform::MediumRootOf(folder)};
  if (cdRoot) {
    location.MediumRoot = fs::weakly_canonical(fs::absolute(*cdRoot), ec);
    const fs::path rel = folder.lexically_relative(location.MediumRoot);
    if (ec || !fs::is_directory(location.MediumRoot) || rel.empty() || *rel.begin() == "..") {
      error = "the book folder " + folder.string() + " is not inside the medium root " +
              cdRoot->string();
      return std::nullopt;
    }
  }
  return location;
}

std::unique_ptr<Globals> MakeGlobals(const BookLocation& location, const fs::path& userPrefix,
                                     std::string& error) {
  auto g = std::make_unique<Globals>();
  g->Location = location;
  g->UserPrefix = fs::absolute(userPrefix).lexically_normal();
  g->Fs = std::make_unique<platform::VirtualFs>(
      DriveTable::ForBook(location.MediumRoot, g->UserPrefix));
  const auto exeDir = g->Fs->ToVirtualOn(DriveTable::kBookDrive, location.BookFolder);
  const auto tempDir = g->Fs->ToVirtual(platform::HostTempFolder());
  if (!exeDir) {
    error =
        "the book folder's path cannot be written in Windows-1251: " + location.BookFolder.string();
    return nullptr;
  }
  static_cast<PathGlobals&>(*g) = ComputePathGlobals(*exeDir, tempDir.value_or("z:\\tmp\\"));
  return g;
}

platform::RegistryDb* Globals::Registry() {
  if (!registryTried_) {
    registryTried_ = true;
    std::string error;
    registry_ = platform::RegistryDb::Open(RegistryFile(), &error);
  }
  return registry_.get();
}

void Globals::CreateUserFolders() const {
  for (const std::string& folder :
       {WindowsDir, SystemDir, WindowsDir + "fonts\\", std::string("c:\\Program Files\\")}) {
    Fs->ForceDirectories(folder);
  }
}

}  // namespace quire::core
