// quire: runs a skinned multimedia book.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <filesystem>

#include "app/options.h"
#include "app/where.h"
#include "core/globals.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shell/main_form.h"
#include "storage/content_archive.h"

namespace {

namespace fs = std::filesystem;

// The demo book: installed beside the program, or in the build tree when run from there.
fs::path DemoBook(const char* argv0) {
  std::error_code ec;
  const fs::path exe = fs::canonical("/proc/self/exe", ec);
  const fs::path bin = ec ? fs::absolute(argv0).parent_path() : exe.parent_path();
  const fs::path installed = bin.parent_path() / "share" / "quire" / "demo" / "run";
  if (fs::is_directory(installed, ec)) return installed;
  return QUIRE_BUILD_DEMO_BOOK;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "quire: %s\n", message.c_str());
  return 2;
}

// Runs the book: the content archive first (nothing can go on without it), then the window.
int RunBook(int argc, char** argv, quire::core::Globals& g,
            const std::vector<std::string>& parameters) {
  QApplication app(argc, argv);
  quire::storage::ContentArchive archive;
  try {
    archive.OpenArchive(*g.Fs, g.ExeDir + "interface.dat");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quire: %s\n", e.what());
    QMessageBox::critical(nullptr, "Quire", QString::fromUtf8(e.what()));
    return 1;
  }
  archive.SetArchiveRoot(g.ArchiveRootDir);
  g.Archive = &archive;
  if (!parameters.empty()) {
    std::fprintf(stderr,
                 "quire: showing a single file or the thesaurus window is not available "
                 "in this build\n");
  }
  const auto warn = [](const std::string& message) {
    QMessageBox::warning(nullptr, "", quire::platform::ToQString(message));
  };
  auto form = std::make_unique<quire::shell::TMainForm>(g, parameters, warn);
  if (form->EndsAtOnce()) return 0;
  if (qEnvironmentVariableIsSet("QUIRE_QUIT_ON_FIRST_PAINT")) {
    // For the start-up benchmark: the process ends once the first screen has been painted.
    form->AfterPaint = [] { QCoreApplication::exit(0); };
  }
  form->ShowMainWindow();
  const int code = app.exec();
  form.reset();
  g.Archive = nullptr;
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = quire::app::ParseOptions(args, error);
  if (!options) return Fail(error + "\n" + quire::app::UsageText());
  if (options->Help) {
    std::fputs(quire::app::UsageText().c_str(), stdout);
    return 0;
  }
  if (options->Version) {
    std::printf("quire %s\n", QUIRE_VERSION);
    return 0;
  }
  const fs::path bookFolder = quire::app::ChooseBookFolder(*options, DemoBook(argv[0]));
  const auto location = quire::core::LocateBook(bookFolder, options->CdRoot, error);
  if (!location) return Fail(error);
  const auto globals = quire::core::MakeGlobals(*location, quire::platform::UserPrefix(), error);
  if (!globals) return Fail(error);
  if (options->Where) {
    std::fputs(quire::app::WhereText(*globals).c_str(), stdout);
    return 0;
  }
  globals->CreateUserFolders();
  return RunBook(argc, argv, *globals, options->Parameters);
}
