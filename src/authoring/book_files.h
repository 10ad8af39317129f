// A built book opened for inspection: its folder, path globals and resource pack.
#pragma once

#include <memory>
#include <string>

#include "core/declarations.h"
#include "core/globals.h"
#include "storage/content_archive.h"
#include "storage/read_bin.h"

namespace quire::authoring {

class BookFiles {
 public:
  // `book` is a book folder or its Pak.dhl; InputError when it cannot be opened.
  explicit BookFiles(const std::string& book);

  const core::Globals& Globals() const { return *g_; }
  const storage::TReadBin& Pack() const { return *pack_; }
  // The lines of a description file in the pack (lower-cased as the shell reads it).
  core::Lines DescriptionLines(const char* entry, bool lowerCase = true) const;
  // Struct.cfs read as the book window reads it, with `exeDir` (default: the book's own).
  core::TDescription ReadStruct(const std::string& exeDir = "") const;
  // Opens the content archive, so that pages are read as the reading screen reads them.
  void OpenContent();

 private:
  std::string name_;
  std::unique_ptr<core::Globals> g_;
  std::unique_ptr<storage::TReadBin> pack_;
  std::unique_ptr<storage::ContentArchive> archive_;
};

}  // namespace quire::authoring
