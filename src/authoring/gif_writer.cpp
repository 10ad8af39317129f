#include "authoring/gif_writer.h"

#include "authoring/little_endian.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

#include "authoring/book_writers.h"

namespace quire::authoring {
namespace {

constexpr int kOpaque = 128;  // alpha from which a pixel counts as painted

struct Entry {
  uint32_t rgb;
  uint32_t count;
};

int Channel(uint32_t rgb, int c) {
  return (rgb >> (16 - 8 * c)) & 0xFF;
}

// Splits the colour histogram into at most `wanted` boxes and returns their weighted means.
std::vector<uint32_t> MedianCut(std::vector<Entry> colours, size_t wanted) {
  struct Box {
    size_t begin, end;
    int axis = 0;
    int range = 0;
    uint64_t weight = 0;
  };
  auto measure = [&](Box& box) {
    std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
    box.weight = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
      for (int c = 0; c < 3; ++c) {
        lo[c] = std::min(lo[c], Channel(colours[i].rgb, c));
        hi[c] = std::max(hi[c], Channel(colours[i].rgb, c));
      }
      box.weight += colours[i].count;
    }
    box.range = -1;
    for (int c = 0; c < 3; ++c) {
      if (hi[c] - lo[c] > box.range) {
        box.range = hi[c] - lo[c];
        box.axis = c;
      }
    }
  };
  std::vector<Box> boxes{{0, colours.size()}};
  measure(boxes[0]);
  while (boxes.size() < wanted) {
    // The box whose spread matters most: wide and well populated.
    size_t pick = boxes.size();
    double best = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].end - boxes[i].begin < 2 || boxes[i].range == 0) continue;
      const double score =
          double(boxes[i].range) * double(boxes[i].range) * double(boxes[i].weight);
      if (score > best) {
        best = score;
        pick = i;
      }
    }
    if (pick == boxes.size()) break;
    Box box = boxes[pick];
    std::sort(colours.begin() + box.begin, colours.begin() + box.end,
              [&](const Entry& a, const Entry& b) {
                return Channel(a.rgb, box.axis) < Channel(b.rgb, box.axis);
              });
    uint64_t half = 0;
    size_t split = box.begin + 1;
    for (size_t i = box.begin; i < box.end - 1; ++i) {
      half += colours[i].count;
      split = i + 1;
      if (half * 2 >= box.weight) break;
    }
    Box first{box.begin, split}, second{split, box.end};
    measure(first);
    measure(second);
    boxes[pick] = first;
    boxes.push_back(second);
  }
  std::vector<uint32_t> palette;
  for (const Box& box : boxes) {
    std::array<uint64_t, 3> sum{};
    for (size_t i = box.begin; i < box.end; ++i)
      for (int c = 0; c < 3; ++c) sum[c] += uint64_t(Channel(colours[i].rgb, c)) * colours[i].count;
    uint32_t rgb = 0;
    for (int c = 0; c < 3; ++c)
      rgb = (rgb << 8) | uint32_t((sum[c] + box.weight / 2) / std::max<uint64_t>(box.weight, 1));
    palette.push_back(rgb);
  }
  return palette;
}

class PaletteMap {
 public:
  explicit PaletteMap(const std::vector<uint32_t>& palette) : palette_(palette) {}
  int Nearest(uint32_t rgb) {
    auto it = cache_.find(rgb);
    if (it != cache_.end()) return it->second;
    int best = 0;
    int bestDistance = 1 << 30;
    for (size_t i = 0; i < palette_.size(); ++i) {
      int d = 0;
      for (int c = 0; c < 3; ++c) {
        const int diff = Channel(rgb, c) - Channel(palette_[i], c);
        d += diff * diff * (c == 1 ? 4 : c == 0 ? 2 : 3);
      }
      if (d < bestDistance) {
        bestDistance = d;
        best = int(i);
      }
    }
    cache_.emplace(rgb, best);
    return best;
  }

 private:
  const std::vector<uint32_t>& palette_;
  std::unordered_map<uint32_t, int> cache_;
};

// Variable-length LZW codes, packed low bit first into 255-byte sub-blocks.
std::string Lzw(const std::vector<uint8_t>& pixels, int minCodeSize) {
  std::string data;
  uint32_t bits = 0;
  int bitCount = 0;
  auto put = [&](int code, int size) {
    bits |= uint32_t(code) << bitCount;
    bitCount += size;
    while (bitCount >= 8) {
      data += static_cast<char>(bits & 0xFF);
      bits >>= 8;
      bitCount -= 8;
    }
  };
  const int clear = 1 << minCodeSize;
  int codeSize = minCodeSize + 1;
  int lastCode = clear + 1;
  std::unordered_map<uint32_t, int> table;
  put(clear, codeSize);
  int prefix = pixels.empty() ? -1 : pixels[0];
  for (size_t i = 1; i < pixels.size(); ++i) {
    const uint32_t key = (uint32_t(prefix) << 8) | pixels[i];
    auto it = table.find(key);
    if (it != table.end()) {
      prefix = it->second;
      continue;
    }
    put(prefix, codeSize);
    table.emplace(key, ++lastCode);
    if (lastCode >= (1 << codeSize)) ++codeSize;
    if (lastCode == 4095) {
      put(clear, codeSize);
      table.clear();
      codeSize = minCodeSize + 1;
      lastCode = clear + 1;
    }
    prefix = pixels[i];
  }
  if (prefix >= 0) put(prefix, codeSize);
  put(clear + 1, codeSize);
  if (bitCount > 0) data += static_cast<char>(bits & 0xFF);

  std::string out;
  out += static_cast<char>(minCodeSize);
  for (size_t at = 0; at < data.size(); at += 255) {
    const size_t n = std::min<size_t>(255, data.size() - at);
    out += static_cast<char>(n);
    out.append(data, at, n);
  }
  out += '\0';
  return out;
}

// Palette indices of one frame, with optional Floyd-Steinberg error diffusion.
std::vector<uint8_t> Index(const QImage& frame, PaletteMap& map,
                           const std::vector<uint32_t>& palette, int transparent, bool dither) {
  const int w = frame.width(), h = frame.height();
  std::vector<uint8_t> out(size_t(w) * h);
  std::vector<std::array<int, 3>> error(size_t(w + 2) * 2);
  for (int y = 0; y < h; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
    auto* cur = &error[size_t(y % 2) * (w + 2)];
    auto* next = &error[size_t((y + 1) % 2) * (w + 2)];
    std::fill(next, next + w + 2, std::array<int, 3>{});
    for (int x = 0; x < w; ++x) {
      const QRgb p = line[x];
      if (transparent >= 0 && qAlpha(p) < kOpaque) {
        out[size_t(y) * w + x] = uint8_t(transparent);
        continue;
      }
      std::array<int, 3> want{qRed(p), qGreen(p), qBlue(p)};
      if (dither)
        for (int c = 0; c < 3; ++c) want[c] = std::clamp(want[c] + cur[x + 1][c] / 16, 0, 255);
      const uint32_t rgb = (uint32_t(want[0]) << 16) | (uint32_t(want[1]) << 8) | uint32_t(want[2]);
      const int index = map.Nearest(rgb);
      out[size_t(y) * w + x] = uint8_t(index);
      if (dither) {
        for (int c = 0; c < 3; ++c) {
          const int e = want[c] - Channel(palette[index], c);
          cur[x + 2][c] += e * 7;
          next[x][c] += e * 3;
          next[x + 1][c] += e * 5;
          next[x + 2][c] += e;
        }
      }
    }
  }
  return out;
}

}  // namespace

std::string WriteGif(const std::vector<QImage>& input, const GifOptions& options) {
  if (input.empty() || input[0].isNull()) throw InputError{"GIF: no picture to write"};
  const QSize size = input[0].size();
  std::vector<QImage> frames;
  for (const QImage& image : input) {
    if (image.size() != size) throw InputError{"GIF: the frames differ in size"};
    frames.push_back(image.convertToFormat(QImage::Format_ARGB32));
  }
  if (size.width() > 0xFFFF || size.height() > 0xFFFF) throw InputError{"GIF: picture too large"};

  std::unordered_map<uint32_t, uint32_t> histogram;
  bool anyTransparent = false;
  for (const QImage& frame : frames) {
    for (int y = 0; y < frame.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
      for (int x = 0; x < frame.width(); ++x) {
        if (qAlpha(line[x]) < kOpaque)
          anyTransparent = true;
        else
          ++histogram[line[x] & 0xFFFFFF];
      }
    }
  }
  std::vector<Entry> colours;
  for (const auto& [rgb, count] : histogram) colours.push_back({rgb, count});
  std::sort(colours.begin(), colours.end(),
            [](const Entry& a, const Entry& b) { return a.rgb < b.rgb; });
  const size_t room = anyTransparent ? 255 : 256;
  std::vector<uint32_t> palette;
  const bool exact = colours.size() <= room;
  if (exact) {
    for (const Entry& e : colours) palette.push_back(e.rgb);
  } else {
    palette = MedianCut(colours, room);
  }
  const int transparent = anyTransparent ? int(palette.size()) : -1;
  if (anyTransparent) palette.push_back(0);
  int tableBits = 1;
  while ((size_t(1) << tableBits) < palette.size()) ++tableBits;

  std::string out = "GIF89a";
  Put16(out, size.width());
  Put16(out, size.height());
  out += static_cast<char>(0x80 | ((tableBits - 1) << 4) | (tableBits - 1));
  out += static_cast<char>(anyTransparent ? transparent : 0);  // background colour
  out += '\0';                                                 // no aspect ratio
  for (size_t i = 0; i < (size_t(1) << tableBits); ++i) {
    const uint32_t rgb = i < palette.size() ? palette[i] : 0;
    for (int c = 0; c < 3; ++c) out += static_cast<char>(Channel(rgb, c));
  }
  const bool animated = frames.size() > 1;
  if (animated && options.loop) {
    out +=
        "\x21\xFF\x0B"
        "NETSCAPE2.0"
        "\x03\x01";
    Put16(out, 0);  // repeat for ever
    out += '\0';
  }
  PaletteMap map(palette);
  const int delay = std::clamp((options.delayMs + 5) / 10, 0, 0xFFFF);
  for (const QImage& frame : frames) {
    if (animated || anyTransparent) {
      // Graphic control: disposal "restore to background" keeps transparent frames clean.
      out += "\x21\xF9\x04";
      const int disposal = anyTransparent ? 2 : 1;
      out += static_cast<char>((disposal << 2) | (anyTransparent ? 1 : 0));
      Put16(out, animated ? delay : 0);
      out += static_cast<char>(anyTransparent ? transparent : 0);
      out += '\0';
    }
    out += ',';
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, size.width());
    Put16(out, size.height());
    out += '\0';  // no local table, not interlaced
    const auto indices = Index(frame, map, palette, transparent, options.dither && !exact);
    out += Lzw(indices, std::max(2, tableBits));
  }
  out += ';';
  return out;
}

}  // namespace quire::authoring
