#include <fstream>

#include "authoring/commands.h"
#include "authoring/scramble.h"
#include "authoring/svg_picture.h"
#include "platform/text.h"

namespace quire::authoring {

namespace fs = std::filesystem;

namespace {

const char* const kTextExtensions[] = {".htm", ".html", ".txt", ".idx", ".css"};
const char* const kPictureFormats[] = {"bmp", "gif", "jpg", "png"};

// Content as the book holds it: NAME.EXT.svg rendered into the picture NAME.EXT, and text
// sources converted from UTF-8 into Windows-1251.
void PrepareContent(std::vector<ContentNode>& nodes) {
  for (ContentNode& node : nodes) {
    if (node.folder) {
      PrepareContent(node.children);
      continue;
    }
    const std::string lower = platform::AsciiLower(node.name);
    const std::string ext = platform::ExtractFileExt(lower);
    if (ext == ".svg") {
      const std::string inner = platform::ExtractFileExt(lower.substr(0, lower.size() - 4));
      for (const char* format : kPictureFormats) {
        if (inner != std::string(".") + format) continue;
        node.data = RenderSvg(node.data, format, node.source);
        node.name.resize(node.name.size() - 4);
        break;
      }
      continue;
    }
    for (const char* text : kTextExtensions) {
      if (ext != text) continue;
      std::string converted;
      if (!SourceToCp1251(node.data, converted)) {
        throw InputError{node.source + ": holds characters Windows-1251 cannot write"};
      }
      node.data = std::move(converted);
    }
  }
}

// Finds a content node by a path relative to the content root ("run/files").
const ContentNode* FindNode(const std::vector<ContentNode>& nodes, const fs::path& path) {
  const std::vector<ContentNode>* level = &nodes;
  const ContentNode* found = nullptr;
  for (const fs::path& part : path) {
    found = nullptr;
    for (const ContentNode& node : *level) {
      if (platform::Cp1251ToUtf8(node.name) == part.string()) found = &node;
    }
    if (!found) return nullptr;
    level = &found->children;
  }
  return found;
}

void WriteNode(const ContentNode& node, const fs::path& target) {
  if (!node.folder) {
    WriteHostFile(target, node.data);
    return;
  }
  for (const ContentNode& child : node.children) {
    WriteNode(child, target / platform::Cp1251ToUtf8(child.name));
  }
}

// The content paths listed in `manifest` (one per line, relative to the content root) are
// also written as loose files, so that programs outside the book can open them.
void WriteLooseContent(const std::vector<ContentNode>& content, const fs::path& manifest,
                       const fs::path& mediumRoot) {
  std::ifstream in(manifest);
  std::string line;
  while (std::getline(in, line)) {
    line = platform::Trim(line);
    if (line.empty() || line[0] == '#') continue;
    const ContentNode* node = FindNode(content, fs::path(line));
    if (!node) throw InputError{manifest.string() + ": the content holds no " + line};
    WriteNode(*node, mediumRoot / line);
  }
}

}  // namespace

int BookBuild(Args& args) {
  const auto words = args.Positional(2);
  const fs::path source = words[0];
  const fs::path out = words[1];
  WriteHostFile(out / "Pak.dhl", BuildPack(source / "pack"));
  auto content = ReadContentTree(source / "content");
  PrepareContent(content);
  {
    Progress progress("Packing content");
    WriteHostFile(out / "interface.dat", WriteArchive(content, std::ref(progress)));
  }
  // The archive's root stands for the medium: the folder above a book folder named run.
  const fs::path absolute = fs::absolute(out).lexically_normal();
  const fs::path folder = absolute.has_filename() ? absolute : absolute.parent_path();
  const fs::path medium =
      platform::AsciiLower(folder.filename().string()) == "run" ? folder.parent_path() : folder;
  if (fs::exists(source / "loose-from-content.txt")) {
    WriteLooseContent(content, source / "loose-from-content.txt", medium);
  }
  std::error_code ec;
  if (fs::is_directory(source / "loose")) {
    fs::copy(source / "loose", out,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec) throw InputError{(source / "loose").string() + ": cannot copy: " + ec.message()};
  }
  return 0;
}

}  // namespace quire::authoring
