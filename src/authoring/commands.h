// The commands of quire-pack, one function each.
#pragma once

#include "authoring/tool.h"

namespace quire::authoring {

int PackList(Args& args);
int PackExtract(Args& args);
int PackBuild(Args& args);
int CfsDescramble(Args& args);
int CfsScramble(Args& args);
int ArchiveList(Args& args);
int ArchiveCat(Args& args);
int ArchiveExtract(Args& args);
int ArchiveBuild(Args& args);
int BookBuild(Args& args);
int StructDump(Args& args);
int ScreenRender(Args& args);
int PageRender(Args& args);
int PageText(Args& args);

// The pack of a source folder: its files sorted by entry name, description sources (.txt)
// scrambled into .cfs and SVG pictures rendered into 24-bit .bmp.
std::string BuildPack(const std::filesystem::path& folder);

}  // namespace quire::authoring
