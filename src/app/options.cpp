#include "app/options.h"

#include <cstdlib>
#include <system_error>

#include "platform/text.h"

namespace quire::app {

namespace fs = std::filesystem;

namespace {

bool HoldsPack(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (platform::AsciiLower(it->path().filename().string()) == "pak.dhl") return true;
  }
  return false;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](const std::string& name) -> std::optional<std::string> {
      if (arg.rfind(name + "=", 0) == 0) return arg.substr(name.size() + 1);
      if (arg != name) return std::nullopt;
      if (i + 1 >= args.size()) {
        error = name + " needs a folder";
        return std::string();
      }
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.Help = true;
    } else if (arg == "--version") {
      options.Version = true;
    } else if (arg == "--where") {
      options.Where = true;
    } else if (auto book = value("--book")) {
      options.Book = *book;
    } else if (auto root = value("--cd-root")) {
      options.CdRoot = *root;
    } else if (arg.rfind("--", 0) == 0) {
      error = "unknown option " + arg;
    } else {
      options.Parameters.push_back(arg);
    }
    if (!error.empty()) return std::nullopt;
  }
  return options;
}

fs::path ChooseBookFolder(const Options& options, const fs::path& demoBook) {
  if (options.Book) return *options.Book;
  if (const char* env = std::getenv("QUIRE_BOOK"); env && *env) return env;
  std::error_code ec;
  const fs::path here = fs::current_path(ec);
  if (!ec && HoldsPack(here)) return here;
  return demoBook;
}

std::string UsageText() {
  return "Usage: quire [--book DIR] [--cd-root DIR] [FILE [/h]] [/t]\n"
         "       quire --where | --help | --version\n"
         "\n"
         "Runs a skinned multimedia book.\n"
         "\n"
         "  --book DIR     the book folder (holds Pak.dhl and interface.dat); default:\n"
         "                 $QUIRE_BOOK, the current folder when it holds Pak.dhl, else the\n"
         "                 demo book installed with Quire\n"
         "  --cd-root DIR  the folder the book's drive d: stands for (default: the parent\n"
         "                 of a book folder named run, else the book folder itself)\n"
         "  --where        print the folders Quire reads and writes, then exit\n"
         "  --help         print this text\n"
         "  --version      print the version\n"
         "  FILE           show FILE in a standard window (with /h: as help)\n"
         "  /t             open the thesaurus window\n"
         "\n"
         "User data (registry, installed fonts, games) lives in $QUIRE_PREFIX, by default\n"
         "$XDG_DATA_HOME/quire (~/.local/share/quire).\n";
}

}  // namespace quire::app
