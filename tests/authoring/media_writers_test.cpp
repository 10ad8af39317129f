#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <zlib.h>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <clocale>
#include <cstring>
#include <map>

#include "authoring/avi_writer.h"
#include "authoring/book_writers.h"
#include "authoring/gif_writer.h"
#include "authoring/model_3ds_writer.h"
#include "authoring/rar_writer.h"
#include "authoring/wav_writer.h"

namespace quire::authoring {
namespace {

uint32_t Le(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | uint8_t(s.at(at + i));
  return v;
}

// Every frame Qt's GIF reader finds, as 32-bit pictures.
std::vector<QImage> ReadAll(const std::string& bytes) {
  QByteArray data = QByteArray::fromStdString(bytes);
  QBuffer buffer(&data);
  QImageReader reader(&buffer, "gif");
  std::vector<QImage> frames;
  QImage image;
  while (reader.read(&image)) frames.push_back(image.convertToFormat(QImage::Format_ARGB32));
  return frames;
}

// --- GIF -------------------------------------------------------------------------------------

QImage Pattern(QSize size, int colours, bool transparentCorner) {
  QImage image(size, QImage::Format_ARGB32);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x) {
      const int k = (x * 7 + y * 13 + x * y) % colours;
      image.setPixel(x, y, qRgb(k * 37 % 256, k * 91 % 256, (k * 53 + 17) % 256));
    }
  if (transparentCorner)
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) image.setPixel(x, y, 0);
  return image;
}

TEST(GifWriterTest, PicturesOfFewColoursComeBackExactly) {
  struct Case {
    QSize size;
    int colours;
    bool transparent;
  };
  // Two colours (smallest code size), 200 colours over enough pixels to fill the 4096-entry
  // code table several times, and a picture with transparent pixels.
  for (const Case& c :
       {Case{{9, 7}, 2, false}, Case{{301, 211}, 200, false}, Case{{64, 40}, 255, true}}) {
    const QImage source = Pattern(c.size, c.colours, c.transparent);
    const auto frames = ReadAll(WriteGif({source}));
    ASSERT_EQ(frames.size(), 1u) << c.colours;
    for (int y = 0; y < source.height(); ++y)
      for (int x = 0; x < source.width(); ++x) {
        const QRgb want = source.pixel(x, y), got = frames[0].pixel(x, y);
        ASSERT_EQ(qAlpha(want) < 128, qAlpha(got) == 0) << x << "," << y;
        if (qAlpha(want) >= 128) {
          ASSERT_EQ(want, got) << c.colours << " at " << x << "," << y;
        }
      }
  }
}

TEST(GifWriterTest, ManyColoursAreQuantisedClosely) {
  QImage source(256, 128, QImage::Format_RGB32);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 256; ++x) source.setPixel(x, y, qRgb(x, y * 2, 255 - x / 2));
  for (bool dither : {false, true}) {
    const auto frames = ReadAll(WriteGif({source}, GifOptions{0, false, dither}));
    ASSERT_EQ(frames.size(), 1u);
    double error = 0;
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 256; ++x) {
        const QRgb a = source.pixel(x, y), b = frames[0].pixel(x, y);
        error += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                 std::abs(qBlue(a) - qBlue(b));
      }
    EXPECT_LT(error / (256 * 128 * 3), 6.0) << "dither " << dither;
  }
}

TEST(GifWriterTest, AnimationKeepsFramesDelayAndLoop) {
  std::vector<QImage> source;
  for (int i = 0; i < 4; ++i) {
    QImage frame(30, 20, QImage::Format_RGB32);
    frame.fill(Qt::white);
    QPainter(&frame).fillRect(i * 5, 2, 6, 10, Qt::darkBlue);
    source.push_back(frame);
  }
  const std::string gif = WriteGif(source, 120, true);
  EXPECT_NE(gif.find("NETSCAPE2.0"), std::string::npos);
  QByteArray data = QByteArray::fromStdString(gif);
  QBuffer buffer(&data);
  QImageReader reader(&buffer, "gif");
  EXPECT_EQ(reader.imageCount(), 4);
  EXPECT_EQ(reader.loopCount(), -1);  // for ever
  for (int i = 0; i < 4; ++i) {
    QImage frame;
    ASSERT_TRUE(reader.read(&frame)) << i;
    EXPECT_EQ(frame.convertToFormat(QImage::Format_RGB32), source[i]) << i;
    EXPECT_EQ(reader.nextImageDelay(), 120) << i;
  }
  EXPECT_EQ(WriteGif(source, 120, false).find("NETSCAPE2.0"), std::string::npos);
}

TEST(GifWriterTest, RefusesFramesOfDifferentSizes) {
  EXPECT_THROW(WriteGif({QImage(4, 4, QImage::Format_RGB32), QImage(5, 4, QImage::Format_RGB32)}),
               InputError);
  EXPECT_THROW(WriteGif(std::vector<QImage>{}), InputError);
}

// --- WAV -------------------------------------------------------------------------------------

TEST(WavWriterTest, WritesCanonicalPcmHeader) {
  const std::string wav = WriteWav({1, -2, 300, -32768}, 22050, 2);
  ASSERT_EQ(wav.size(), 44u + 8);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(Le(wav, 20, 2), 1u);      // PCM
  EXPECT_EQ(Le(wav, 22, 2), 2u);      // channels
  EXPECT_EQ(Le(wav, 24, 4), 22050u);  // rate
  EXPECT_EQ(Le(wav, 28, 4), 88200u);  // bytes per second
  EXPECT_EQ(Le(wav, 32, 2), 4u);      // block
  EXPECT_EQ(Le(wav, 34, 2), 16u);
  EXPECT_EQ(wav.substr(36, 4), "data");
  EXPECT_EQ(Le(wav, 40, 4), 8u);
  EXPECT_EQ(wav.substr(44), std::string("\x01\x00\xFE\xFF\x2C\x01\x00\x80", 8));
  EXPECT_THROW(WriteWav({1, 2, 3}, 22050, 2), InputError);
  EXPECT_EQ(ToPcm16({0.0f, 1.5f, -1.0f, 0.5f}), (std::vector<int16_t>{0, 32767, -32767, 16384}));
}

// --- AVI -------------------------------------------------------------------------------------

struct Chunk {
  std::string id;
  size_t at;    // offset of the data
  size_t size;  // data size (LIST: including its type)
};

std::vector<Chunk> Children(const std::string& s, size_t from, size_t to) {
  std::vector<Chunk> out;
  while (from + 8 <= to) {
    Chunk c{s.substr(from, 4), from + 8, Le(s, from + 4, 4)};
    EXPECT_LE(c.at + c.size, to) << c.id;
    out.push_back(c);
    from = c.at + c.size + (c.size & 1);
  }
  EXPECT_EQ(from, to);
  return out;
}

TEST(AviWriterTest, StructureIndexAndFramesReadBack) {
  std::vector<QImage> frames;
  for (int i = 0; i < 5; ++i) {
    QImage frame(64, 48, QImage::Format_RGB32);
    frame.fill(QColor(i * 50, 100, 200 - i * 40));
    frames.push_back(frame);
  }
  AviSound sound;
  sound.sampleRate = 8000;
  sound.samples.assign(8000 * 5 / 10 + 3, 1000);  // half a second and a bit
  for (const AviSound* track :
       {static_cast<const AviSound*>(nullptr), static_cast<const AviSound*>(&sound)}) {
    const std::string avi = WriteMjpegAvi(frames, AviOptions{10, 80, track});
    ASSERT_EQ(avi.substr(0, 4), "RIFF");
    EXPECT_EQ(Le(avi, 4, 4) + 8, avi.size());
    EXPECT_EQ(avi.substr(8, 4), "AVI ");
    const auto top = Children(avi, 12, avi.size());
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(avi.substr(top[0].at, 4), "hdrl");
    EXPECT_EQ(avi.substr(top[1].at, 4), "movi");
    EXPECT_EQ(top[2].id, "idx1");

    const auto hdrl = Children(avi, top[0].at + 4, top[0].at + top[0].size);
    ASSERT_EQ(hdrl.size(), track ? 3u : 2u);
    EXPECT_EQ(hdrl[0].id, "avih");
    EXPECT_EQ(Le(avi, hdrl[0].at, 4), 100000u);  // microseconds per frame
    EXPECT_EQ(Le(avi, hdrl[0].at + 16, 4), 5u);  // frames
    EXPECT_EQ(Le(avi, hdrl[0].at + 24, 4), track ? 2u : 1u);
    EXPECT_EQ(Le(avi, hdrl[0].at + 32, 4), 64u);
    const auto video = Children(avi, hdrl[1].at + 4, hdrl[1].at + hdrl[1].size);
    EXPECT_EQ(avi.substr(video[0].at, 8), "vidsMJPG");
    EXPECT_EQ(Le(avi, video[0].at + 32, 4), 5u);  // length
    EXPECT_EQ(avi.substr(video[1].at + 16, 4), "MJPG");
    if (track) {
      const auto audio = Children(avi, hdrl[2].at + 4, hdrl[2].at + hdrl[2].size);
      EXPECT_EQ(avi.substr(audio[0].at, 4), "auds");
      EXPECT_EQ(Le(avi, audio[0].at + 32, 4), sound.samples.size());
      EXPECT_EQ(Le(avi, audio[1].at + 4, 4), 8000u);
    }

    // Every index entry points at a chunk of its id and size; frames decode; sound is whole.
    const size_t movi = top[1].at;
    const size_t entries = top[2].size / 16;
    size_t videoChunks = 0, soundBytes = 0;
    for (size_t i = 0; i < entries; ++i) {
      const size_t e = top[2].at + i * 16;
      const std::string id = avi.substr(e, 4);
      const size_t chunk = movi + Le(avi, e + 8, 4);
      EXPECT_EQ(avi.substr(chunk, 4), id);
      EXPECT_EQ(Le(avi, chunk + 4, 4), Le(avi, e + 12, 4));
      if (id == "00dc") {
        const QImage frame =
            QImage::fromData(reinterpret_cast<const uchar*>(avi.data() + chunk + 8),
                             int(Le(avi, chunk + 4, 4)), "JPEG");
        EXPECT_EQ(frame.size(), QSize(64, 48));
        EXPECT_NEAR(qRed(frame.pixel(10, 10)), videoChunks * 50, 6);
        ++videoChunks;
      } else {
        EXPECT_EQ(id, "01wb");
        soundBytes += Le(avi, chunk + 4, 4);
      }
    }
    EXPECT_EQ(videoChunks, 5u);
    EXPECT_EQ(soundBytes, track ? sound.samples.size() * 2 : 0u);
  }
  EXPECT_THROW(
      WriteMjpegAvi({QImage(8, 8, QImage::Format_RGB32), QImage(9, 8, QImage::Format_RGB32)},
                    AviOptions{}),
      InputError);
}

// --- RAR -------------------------------------------------------------------------------------

struct Listed {
  bool folder;
  std::string data;
};

// Lists and reads an archive with libarchive: path (UTF-8) -> entry. Fails on any error.
// Names outside ASCII need a UTF-8 locale, as in any program that reads them.
std::map<std::string, Listed> ReadWithLibarchive(const std::string& bytes, std::string* error) {
  std::map<std::string, Listed> out;
  const std::string oldLocale = std::setlocale(LC_CTYPE, nullptr);
  std::setlocale(LC_CTYPE, "C.UTF-8");
  archive* a = archive_read_new();
  archive_read_support_format_rar(a);
  if (archive_read_open_memory(a, bytes.data(), bytes.size()) != ARCHIVE_OK) {
    *error = archive_error_string(a);
    archive_read_free(a);
    std::setlocale(LC_CTYPE, oldLocale.c_str());
    return out;
  }
  archive_entry* entry;
  int r;
  while ((r = archive_read_next_header(a, &entry)) == ARCHIVE_OK) {
    const wchar_t* wide = archive_entry_pathname_w(entry);
    const std::string path = wide ? QString::fromWCharArray(wide).toStdString() : "?";
    Listed item{archive_entry_filetype(entry) == AE_IFDIR, {}};
    char buffer[1024];
    la_ssize_t n;
    while ((n = archive_read_data(a, buffer, sizeof buffer)) > 0)
      item.data.append(buffer, size_t(n));
    if (n < 0) {
      *error = archive_error_string(a);
      break;
    }
    out[path] = item;
  }
  if (r != ARCHIVE_EOF && error->empty())
    *error = archive_error_string(a) ? archive_error_string(a) : "?";
  archive_read_free(a);
  std::setlocale(LC_CTYPE, oldLocale.c_str());
  return out;
}

TEST(RarWriterTest, LibarchiveListsAndExtractsFoldersAndCyrillicNames) {
  const std::string big(70000, 'x');
  const std::string rar = WriteRar({
      {"readme.txt", "hello\r\n"},
      {"Схемы\\Зажигание\\scheme1.bmp", "BM-one"},
      {"Схемы/Зарядка/Ёмкость.txt", big},
      {"empty", "", true},
  });
  EXPECT_EQ(
      rar.substr(0, 20),
      std::string("Rar!\x1A\x07\x00\xCF\x90\x73\x00\x00\x0D\x00\x00\x00\x00\x00\x00\x00", 20));
  EXPECT_EQ(rar.substr(rar.size() - 7), std::string("\xC4\x3D\x7B\x00\x40\x07\x00", 7));
  std::string error;
  const auto listed = ReadWithLibarchive(rar, &error);
  EXPECT_EQ(error, "");
  std::map<std::string, Listed> want{
      {"readme.txt", {false, "hello\r\n"}},
      {"Схемы", {true, ""}},
      {"Схемы/Зажигание", {true, ""}},
      {"Схемы/Зажигание/scheme1.bmp", {false, "BM-one"}},
      {"Схемы/Зарядка", {true, ""}},
      {"Схемы/Зарядка/Ёмкость.txt", {false, big}},
      {"empty", {true, ""}},
  };
  ASSERT_EQ(listed.size(), want.size());
  for (const auto& [path, item] : want) {
    auto it = listed.find(path);
    ASSERT_NE(it, listed.end()) << path;
    EXPECT_EQ(it->second.folder, item.folder) << path;
    EXPECT_TRUE(it->second.data == item.data) << path;
  }
}

TEST(RarWriterTest, ChecksumsCoverHeadersAndData) {
  const std::string rar = WriteRar({{"a\\b.txt", "payload"}});
  // The file header: 7 bytes of block head, 25 of fields, then the name.
  const size_t header = rar.find("a\\b.txt") - 32;
  EXPECT_EQ(Le(rar, header + 16, 4), crc32(0, reinterpret_cast<const Bytef*>("payload"), 7));
  std::string damaged = rar;
  damaged[header + 32] = 'c';
  std::string error;
  ReadWithLibarchive(damaged, &error);
  EXPECT_NE(error, "");
  for (const char* bad : {"", "/abs", "c:\\x", "a/../b", "a//b"})
    EXPECT_THROW(WriteRar({{bad, "x"}}), InputError) << bad;
}

// --- 3DS -------------------------------------------------------------------------------------

struct Node {
  uint16_t id;
  size_t at, end;  // data range after the 6-byte head
};

class ChunkReader {
 public:
  explicit ChunkReader(std::string bytes) : s(std::move(bytes)) {}
  // Sub-chunks in [from, to); every length must fit its parent exactly.
  std::vector<Node> Children(size_t from, size_t to) const {
    std::vector<Node> out;
    while (from < to) {
      EXPECT_LE(from + 6, to);
      const size_t length = Le(s, from + 2, 4);
      EXPECT_GE(length, 6u);
      EXPECT_LE(from + length, to);
      out.push_back({uint16_t(Le(s, from, 2)), from + 6, from + length});
      from += length;
    }
    return out;
  }
  std::vector<Node> Children(const Node& n, size_t skip = 0) const {
    return Children(n.at + skip, n.end);
  }
  const Node& Find(const std::vector<Node>& nodes, uint16_t id) const {
    for (const Node& n : nodes)
      if (n.id == id) return n;
    ADD_FAILURE() << std::hex << id;
    static Node none{};
    return none;
  }
  float F(size_t at) const {
    uint32_t bits = Le(s, at, 4);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
  std::string Str(size_t at) const { return std::string(s.c_str() + at); }
  std::string s;
};

TEST(Model3dsWriterTest, ChunkTreeHoldsWhatTheViewerReads) {
  Scene3ds scene;
  scene.materials.push_back(
      {"Steel", {0.1f, 0.1f, 0.1f}, {0.6f, 0.6f, 0.7f}, {1, 1, 1}, 0.5f, 0, 3, false, "metal.bmp"});
  scene.materials.push_back(
      {"Glass", {0, 0, 0}, {0.5f, 0.8f, 1}, {1, 1, 1}, 0.9f, 0.6f, 2, true, ""});
  Mesh3ds quad;
  quad.name = "Plate";
  quad.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  quad.uv = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  quad.faces = {{0, 1, 2}, {0, 2, 3}};
  quad.smoothing = {1, 5};
  quad.groups = {{"Steel", {0}}, {"Glass", {1}}};
  quad.matrix = {1, 0, 0, 0, 1, 0, 0, 0, 1, 2, 3, 4};
  scene.meshes.push_back(quad);
  scene.lights.push_back({"Sun", {10, 20, 30}, {1, 0.9f, 0.8f}});
  Node3ds root;
  root.name = "Plate";
  scene.nodes.push_back(root);
  scene.nodes.push_back({"Plate.1", 0, {0.5f, 0, 0}, {2, 3, 4}, 0.25f, {0, 1, 0}, {1, 2, 1}});
  const ChunkReader r(Write3ds(scene));

  const auto top = r.Children(0, r.s.size());
  ASSERT_EQ(top.size(), 1u);
  ASSERT_EQ(top[0].id, 0x4D4D);
  const auto main = r.Children(top[0]);
  EXPECT_EQ(Le(r.s, r.Find(main, 0x0002).at, 4), 3u);
  const auto editor = r.Children(r.Find(main, 0x3D3D));
  EXPECT_EQ(Le(r.s, r.Find(editor, 0x3D3E).at, 4), 3u);

  std::vector<std::string> materials;
  for (const Node& m : editor) {
    if (m.id != 0xAFFF) continue;
    const auto fields = r.Children(m);
    materials.push_back(r.Str(r.Find(fields, 0xA000).at));
    const auto diffuse = r.Children(r.Find(fields, 0xA020));
    EXPECT_EQ(diffuse[0].id, 0x0011);
    auto percent = [&](uint16_t id) { return Le(r.s, r.Children(r.Find(fields, id))[0].at, 2); };
    if (materials.back() == "Steel") {
      EXPECT_EQ(uint8_t(r.s[diffuse[0].at + 2]), 179);  // 0.7 of 255
      EXPECT_EQ(percent(0xA040), 50u);
      EXPECT_EQ(percent(0xA050), 0u);
      const auto map = r.Children(r.Find(fields, 0xA200));
      EXPECT_EQ(r.Str(r.Find(map, 0xA300).at), "metal.bmp");
    } else {
      EXPECT_EQ(percent(0xA050), 60u);
      EXPECT_EQ(Le(r.s, r.Find(fields, 0xA100).at, 2), 2u);
      r.Find(fields, 0xA081);
    }
  }
  EXPECT_EQ(materials, (std::vector<std::string>{"Steel", "Glass"}));

  std::vector<std::string> objects;
  for (const Node& o : editor) {
    if (o.id != 0x4000) continue;
    const std::string name = r.Str(o.at);
    objects.push_back(name);
    const auto inside = r.Children(o, name.size() + 1);
    if (name == "Sun") {
      const Node& light = r.Find(inside, 0x4600);
      EXPECT_EQ(r.F(light.at + 8), 30.0f);
      EXPECT_EQ(r.F(r.Children(light, 12)[0].at + 4), 0.9f);
      continue;
    }
    const auto mesh = r.Children(r.Find(inside, 0x4100));
    const Node& points = r.Find(mesh, 0x4110);
    EXPECT_EQ(Le(r.s, points.at, 2), 4u);
    EXPECT_EQ(r.F(points.at + 2 + 2 * 12 + 4), 1.0f);  // y of vertex 2
    EXPECT_EQ(Le(r.s, r.Find(mesh, 0x4140).at, 2), 4u);
    EXPECT_EQ(r.F(r.Find(mesh, 0x4160).at + 44), 4.0f);
    const Node& faces = r.Find(mesh, 0x4120);
    EXPECT_EQ(Le(r.s, faces.at, 2), 2u);
    EXPECT_EQ(Le(r.s, faces.at + 2 + 8 + 4, 2), 3u);  // third corner of face 1
    const auto faceParts = r.Children(faces, 2 + 2 * 8);
    std::vector<std::string> groups;
    for (const Node& g : faceParts)
      if (g.id == 0x4130) {
        groups.push_back(r.Str(g.at));
        EXPECT_EQ(Le(r.s, g.at + groups.back().size() + 1, 2), 1u);
      }
    EXPECT_EQ(groups, (std::vector<std::string>{"Steel", "Glass"}));
    EXPECT_EQ(Le(r.s, r.Find(faceParts, 0x4150).at + 4, 4), 5u);
  }
  EXPECT_EQ(objects, (std::vector<std::string>{"Plate", "Sun"}));

  const auto kf = r.Children(r.Find(main, 0xB000));
  std::vector<Node> nodes;
  for (const Node& n : kf)
    if (n.id == 0xB002) nodes.push_back(n);
  ASSERT_EQ(nodes.size(), 2u);
  const auto child = r.Children(nodes[1]);
  const Node& header = r.Find(child, 0xB010);
  EXPECT_EQ(r.Str(header.at), "Plate.1");
  EXPECT_EQ(Le(r.s, header.at + 8 + 4, 2), 0u);  // parent: node 0
  EXPECT_EQ(Le(r.s, r.Find(r.Children(nodes[0]), 0xB010).at + 6 + 4, 2), 0xFFFFu);
  EXPECT_EQ(r.F(r.Find(child, 0xB013).at), 0.5f);
  // Tracks: 14-byte head with the key count, then frame, spline flags and the value.
  const Node& position = r.Find(child, 0xB020);
  EXPECT_EQ(Le(r.s, position.at + 10, 4), 1u);
  EXPECT_EQ(Le(r.s, position.at + 14, 4), 0u);
  EXPECT_EQ(r.F(position.at + 20 + 8), 4.0f);
  const Node& rotation = r.Find(child, 0xB021);
  EXPECT_EQ(r.F(rotation.at + 20), 0.25f);
  EXPECT_EQ(r.F(rotation.at + 20 + 8), 1.0f);
  EXPECT_EQ(r.F(r.Find(child, 0xB022).at + 20 + 4), 2.0f);
}

TEST(Model3dsWriterTest, RefusesInconsistentMeshesAndNodes) {
  Scene3ds scene;
  scene.meshes.resize(1);
  Mesh3ds& mesh = scene.meshes[0];
  mesh.name = "M";
  mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  mesh.faces = {{0, 1, 3}};
  EXPECT_THROW(Write3ds(scene), InputError);
  mesh.faces = {{0, 1, 2}};
  mesh.smoothing = {1, 2};
  EXPECT_THROW(Write3ds(scene), InputError);
  mesh.smoothing.clear();
  EXPECT_NO_THROW(Write3ds(scene));
  Node3ds node;
  node.name = "M";
  node.parent = 0;  // itself
  scene.nodes = {node};
  EXPECT_THROW(Write3ds(scene), InputError);
}

}  // namespace
}  // namespace quire::authoring
