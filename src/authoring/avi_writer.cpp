#include "authoring/avi_writer.h"

#include <QBuffer>

#include <algorithm>

#include "authoring/book_writers.h"
#include "authoring/little_endian.h"

namespace quire::authoring {
namespace {

// Starts a chunk (or a LIST with its type) and returns where its size goes.
size_t Open(std::string& out, const char* id, const char* listType = nullptr) {
  out += id;
  const size_t at = out.size();
  Put32(out, 0);
  if (listType) out += listType;
  return at;
}
void Close(std::string& out, size_t sizeAt) {
  Set32(out, sizeAt, uint32_t(out.size() - sizeAt - 4));
  if (out.size() % 2) out += '\0';
}

std::string Jpeg(const QImage& frame, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!frame.convertToFormat(QImage::Format_RGB888).save(&buffer, "JPEG", quality))
    throw InputError{"AVI: JPEG encoding failed"};
  return bytes.toStdString();
}

}  // namespace

std::string WriteMjpegAvi(const std::vector<QImage>& frames, const AviOptions& options) {
  if (frames.empty() || frames[0].isNull()) throw InputError{"AVI: no frames"};
  const int fps = options.framesPerSecond;
  if (fps < 1 || fps > 120) throw InputError{"AVI: bad frame rate"};
  const int width = frames[0].width(), height = frames[0].height();
  std::vector<std::string> video;
  for (const QImage& frame : frames) {
    if (frame.size() != frames[0].size()) throw InputError{"AVI: the frames differ in size"};
    video.push_back(Jpeg(frame, options.jpegQuality));
  }
  const AviSound* sound = options.sound;
  uint32_t blockAlign = 0, soundFrames = 0;
  std::vector<std::string> audio;  // one piece per video frame
  if (sound) {
    if ((sound->channels != 1 && sound->channels != 2) || sound->sampleRate < 1 ||
        sound->samples.size() % size_t(sound->channels) != 0)
      throw InputError{"AVI: bad sound track"};
    blockAlign = uint32_t(sound->channels) * 2;
    soundFrames = uint32_t(sound->samples.size() / size_t(sound->channels));
    for (size_t i = 0; i < frames.size(); ++i) {
      // Sample frames [first, last) belong with video frame i; the last piece takes the rest.
      const size_t first = i * size_t(sound->sampleRate) / size_t(fps);
      size_t last = (i + 1) * size_t(sound->sampleRate) / size_t(fps);
      if (i + 1 == frames.size()) last = soundFrames;
      std::string piece;
      for (size_t s = first * sound->channels;
           s < std::min<size_t>(last, soundFrames) * sound->channels; ++s)
        Put16(piece, uint16_t(sound->samples[s]));
      audio.push_back(std::move(piece));
    }
  }
  size_t largest = 0;
  for (const auto& v : video) largest = std::max(largest, v.size());
  for (const auto& a : audio) largest = std::max(largest, a.size());

  std::string out;
  const size_t riff = Open(out, "RIFF", "AVI ");
  const size_t hdrl = Open(out, "LIST", "hdrl");
  const size_t avih = Open(out, "avih");
  Put32(out, uint32_t(1000000 / fps));
  Put32(out, uint32_t(largest * fps));
  Put32(out, 0);
  Put32(out, 0x10 | 0x100);  // has index, interleaved
  Put32(out, uint32_t(frames.size()));
  Put32(out, 0);
  Put32(out, sound ? 2 : 1);
  Put32(out, uint32_t(largest));
  Put32(out, uint32_t(width));
  Put32(out, uint32_t(height));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  Close(out, avih);

  const size_t vstrl = Open(out, "LIST", "strl");
  const size_t vstrh = Open(out, "strh");
  out += "vidsMJPG";
  Put32(out, 0);  // flags
  Put32(out, 0);  // priority, language
  Put32(out, 0);  // initial frames
  Put32(out, 1);  // scale
  Put32(out, uint32_t(fps));
  Put32(out, 0);  // start
  Put32(out, uint32_t(frames.size()));
  Put32(out, uint32_t(largest));
  Put32(out, 0xFFFFFFFF);  // default quality
  Put32(out, 0);           // variable-size samples
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, uint32_t(width));
  Put16(out, uint32_t(height));
  Close(out, vstrh);
  const size_t vstrf = Open(out, "strf");
  Put32(out, 40);
  Put32(out, uint32_t(width));
  Put32(out, uint32_t(height));
  Put16(out, 1);
  Put16(out, 24);
  out += "MJPG";
  Put32(out, uint32_t(width * height * 3));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  Close(out, vstrf);
  Close(out, vstrl);

  if (sound) {
    const size_t astrl = Open(out, "LIST", "strl");
    const size_t astrh = Open(out, "strh");
    out += "auds";
    Put32(out, 0);  // no handler
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, blockAlign);  // scale and rate: one unit per sample frame
    Put32(out, uint32_t(sound->sampleRate) * blockAlign);
    Put32(out, 0);
    Put32(out, soundFrames);
    Put32(out, uint32_t(largest));
    Put32(out, 0xFFFFFFFF);
    Put32(out, blockAlign);
    for (int i = 0; i < 4; ++i) Put16(out, 0);
    Close(out, astrh);
    const size_t astrf = Open(out, "strf");
    Put16(out, 1);  // PCM
    Put16(out, uint32_t(sound->channels));
    Put32(out, uint32_t(sound->sampleRate));
    Put32(out, uint32_t(sound->sampleRate) * blockAlign);
    Put16(out, blockAlign);
    Put16(out, 16);
    Close(out, astrf);
    Close(out, astrl);
  }
  Close(out, hdrl);

  struct IndexEntry {
    const char* id;
    uint32_t offset, size;
  };
  std::vector<IndexEntry> index;
  const size_t movi = Open(out, "LIST", "movi");
  const size_t moviStart = movi + 4;  // offsets count from the "movi" type
  for (size_t i = 0; i < video.size(); ++i) {
    if (sound && !audio[i].empty()) {
      index.push_back({"01wb", uint32_t(out.size() - moviStart), uint32_t(audio[i].size())});
      const size_t at = Open(out, "01wb");
      out += audio[i];
      Close(out, at);
    }
    index.push_back({"00dc", uint32_t(out.size() - moviStart), uint32_t(video[i].size())});
    const size_t at = Open(out, "00dc");
    out += video[i];
    Close(out, at);
  }
  Close(out, movi);
  const size_t idx1 = Open(out, "idx1");
  for (const IndexEntry& e : index) {
    out += e.id;
    Put32(out, 0x10);  // key frame: every JPEG stands alone
    Put32(out, e.offset);
    Put32(out, e.size);
  }
  Close(out, idx1);
  Close(out, riff);
  return out;
}

}  // namespace quire::authoring
