#include "app/where.h"

#include "platform/text.h"

namespace quire::app {

namespace {

void Row(std::string& out, const std::string& label, const std::string& value) {
  out += label;
  out.append(label.size() < 16 ? 16 - label.size() : 1, ' ');
  out += value;
  out += '\n';
}

}  // namespace

std::string WhereText(const core::Globals& g) {
  using platform::Cp1251ToUtf8;
  std::string out;
  Row(out, "Book folder", g.Location.BookFolder.string());
  bool first = true;
  for (const auto& [letter, folder] : g.Fs->Drives().Entries()) {
    Row(out, first ? "Drives" : "", std::string{letter, ':', ' '} + folder.string());
    first = false;
  }
  Row(out, "ExeDir", Cp1251ToUtf8(g.ExeDir));
  Row(out, "DriveRoot", Cp1251ToUtf8(g.DriveRoot));
  Row(out, "ArchiveRootDir", Cp1251ToUtf8(g.ArchiveRootDir));
  Row(out, "WindowsDir", Cp1251ToUtf8(g.WindowsDir));
  Row(out, "SystemDir", Cp1251ToUtf8(g.SystemDir));
  Row(out, "TempDir", Cp1251ToUtf8(g.TempDir));
  Row(out, "Registry", g.RegistryFile().string());
  return out;
}

}  // namespace quire::app
