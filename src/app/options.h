// Quire's own command-line options, taken out before the book sees its parameters.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quire::app {

struct Options {
  std::optional<std::filesystem::path> Book;
  std::optional<std::filesystem::path> CdRoot;
  bool Help = false;
  bool Version = false;
  bool Where = false;
  // What is left for the book: a file to show, "/h", "/t".
  std::vector<std::string> Parameters;
};

// Empty with `error` set when an option lacks its value or is unknown.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// The book folder, in order: --book, $QUIRE_BOOK, the current folder when it holds Pak.dhl,
// the demo book installed with Quire (`demoBook`).
std::filesystem::path ChooseBookFolder(const Options& options,
                                       const std::filesystem::path& demoBook);

std::string UsageText();

}  // namespace quire::app
