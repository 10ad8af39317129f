// quire-pack: builds and inspects the files of a book.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "authoring/commands.h"

namespace {

using namespace quire::authoring;

struct Command {
  const char* group;
  const char* name;
  const char* usage;
  int (*run)(Args&);
  bool needsGui;  // renders pictures or text
};

const Command kCommands[] = {
    {"pack", "list", "pack list PAK\none line per directory entry: NAME<TAB>OFFSET<TAB>SIZE",
     PackList, false},
    {"pack", "extract", "pack extract PAK DIR\nwrites every entry as a file of DIR", PackExtract,
     false},
    {"pack", "build",
     "pack build DIR PAK\nevery file of DIR becomes an entry, sorted by name; NAME.txt is\n"
     "scrambled into NAME.cfs and NAME.svg rendered into a 24-bit NAME.bmp",
     PackBuild, true},
    {"cfs", "descramble",
     "cfs descramble CFS [--lower] [--json]\nthe lines of a description file (--json: one "
     "JSON array of strings)",
     CfsDescramble, false},
    {"cfs", "scramble", "cfs scramble TXT CFS\nscrambles a text (UTF-8 or Windows-1251)",
     CfsScramble, false},
    {"archive", "list", "archive list DAT\none line per file: PATH<TAB>SIZE<TAB>PACKED",
     ArchiveList, false},
    {"archive", "cat",
     "archive cat DAT PATH [--root PREFIX]\nwrites the file the archive finds for PATH", ArchiveCat,
     false},
    {"archive", "extract", "archive extract DAT DIR\nwrites the whole tree under DIR",
     ArchiveExtract, false},
    {"archive", "build", "archive build DIR DAT\npacks a folder tree into an archive", ArchiveBuild,
     false},
    {"book", "build",
     "book build SRC OUT\nSRC/pack -> OUT/Pak.dhl, SRC/content -> OUT/interface.dat,\n"
     "SRC/loose copied into OUT",
     BookBuild, true},
    {"struct", "dump",
     "struct dump BOOK [--exe-dir VPATH] [--thesaurus FILE]\n"
     "the book window's description (BOOK: a book folder or its Pak.dhl) as JSON;\n"
     "--thesaurus reads Tesaurus.cfs with FILE as its document",
     StructDump, false},
    {"screen", "render",
     "screen render BOOK N OUT.png [--hover]\n"
     "screen N (0-based) as the book window paints it: the background with every control;\n"
     "--hover shows every control in its hover look",
     ScreenRender, true},
    {"page", "render",
     "page render BOOK PATH OUT.png [--width N]\n"
     "a page (frames included) as the reading screen shows it, N pixels wide (default 673);\n"
     "PATH is a virtual path or one relative to the book folder",
     PageRender, true},
    {"page", "text",
     "page text BOOK PATH\nthe page's text as find and selection see it, a block a line", PageText,
     true},
};

// A command's usage: its syntax line, then its description indented.
std::string Describe(const Command& c) {
  std::string text = "  ";
  for (const char* p = c.usage; *p; ++p)
    text += *p == '\n' ? std::string("\n    ") : std::string(1, *p);
  return text + "\n";
}

std::string Usage(const char* group = nullptr) {
  std::string text = "Usage: quire-pack COMMAND ...\n\n";
  for (const Command& c : kCommands) {
    if (!group || std::strcmp(group, c.group) == 0) text += Describe(c);
  }
  return text;
}

// Qt's notice about a missing runtime folder says nothing to an author.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtWarningMsg && message.startsWith("QStandardPaths:")) return;
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

bool IsHelp(const std::string& word) {
  return word == "--help" || word == "-h";
}

int Dispatch(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) throw UsageError{Usage()};
  if (IsHelp(words[0])) {
    std::fputs(Usage().c_str(), stdout);
    return 0;
  }
  for (const Command& c : kCommands) {
    if (words[0] != c.group) continue;
    if (words.size() < 2) throw UsageError{Usage(c.group)};
    if (IsHelp(words[1])) {
      std::fputs(Usage(c.group).c_str(), stdout);
      return 0;
    }
    if (words[1] != c.name) continue;
    const std::string usage = "Usage: quire-pack\n" + Describe(c);
    if (words.size() > 2 && IsHelp(words[2])) {
      std::fputs(usage.c_str(), stdout);
      return 0;
    }
    Args args(std::vector<std::string>(words.begin() + 2, words.end()), usage);
    if (!c.needsGui) return c.run(args);
    // Pictures and text are drawn off screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    return c.run(args);
  }
  throw UsageError{"unknown command: " + words[0] + (words.size() > 1 ? " " + words[1] : "") +
                   "\n" + Usage()};
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Dispatch(argc, argv);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "%s", e.message.c_str());
    return 2;
  } catch (const InputError& e) {
    std::fprintf(stderr, "quire-pack: %s\n", e.message.c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quire-pack: %s\n", e.what());
    return 1;
  }
}
