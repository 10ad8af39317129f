// Writes the demo book's generated media (sounds, songs, clips, the engine model, slides,
// archives and installer stubs) into the folder named on the command line. Every run writes
// the same bytes: fixed seeds, fixed dates, no clock.
//
//   make_demo_media OUTPUT_FOLDER

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>
#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "authoring/avi_writer.h"
#include "authoring/book_writers.h"
#include "authoring/gif_writer.h"
#include "authoring/model_3ds_writer.h"
#include "authoring/rar_writer.h"
#include "authoring/wav_writer.h"

namespace {

using namespace quire::authoring;
namespace fs = std::filesystem;
constexpr double kPi = std::numbers::pi;

void Save(const fs::path& folder, const std::string& rel, const std::string& bytes,
          bool executable = false) {
  const fs::path file = folder / rel;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + file.string());
  ::chmod(file.c_str(), executable ? 0755 : 0644);
}

// 24-bit pictures (or 8-bit with a palette for drawings of few colours).
std::string Encode(const QImage& image, const char* format, int quality = -1,
                   bool palette = false) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QImage source = palette
                            ? image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither)
                            : image.convertToFormat(QImage::Format_RGB888);
  if (!source.save(&buffer, format, quality)) throw std::runtime_error("cannot encode picture");
  return bytes.toStdString();
}

// Windows-1251 text with CR LF line ends, as the book's files are.
std::string Cp1251(const QString& text) {
  std::string out;
  const QString crlf = QString(text).replace("\n", "\r\n");
  for (QChar ch : crlf) {
    const char16_t c = ch.unicode();
    if (c < 0x80)
      out += char(c);
    else if (c >= 0x410 && c < 0x450)
      out += char(0xC0 + (c - 0x410));
    else if (c == 0x401)
      out += char(0xA8);
    else if (c == 0x451)
      out += char(0xB8);
    else if (c == 0x2014)
      out += char(0x97);
    else if (c == 0x2013)
      out += char(0x96);
    else if (c == 0xAB)
      out += char(0xAB);
    else if (c == 0xBB)
      out += char(0xBB);
    else if (c == 0x2116)
      out += char(0xB9);
    else
      out += '?';
  }
  return out;
}

// --- Sound -------------------------------------------------------------------------------

constexpr int kRate = 22050;
using Wave = std::vector<float>;

// A small deterministic generator (xorshift), the same on every machine.
struct Rng {
  uint32_t s;
  float Next() {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return float(s >> 8) / 16777216.0f;
  }
  float Signed() { return Next() * 2 - 1; }
  int Below(int n) { return int(Next() * float(n)) % n; }
};

size_t Samples(double seconds) {
  return size_t(seconds * kRate);
}

void Normalize(Wave& w, float peak) {
  float top = 0;
  for (float s : w) top = std::max(top, std::abs(s));
  if (top > 0)
    for (float& s : w) s *= peak / top;
}

void Fade(Wave& w, double in, double out) {
  const size_t a = Samples(in), b = Samples(out);
  for (size_t i = 0; i < a && i < w.size(); ++i) w[i] *= float(i) / float(a);
  for (size_t i = 0; i < b && i < w.size(); ++i) w[w.size() - 1 - i] *= float(i) / float(b);
}

// Adds a damped sine (frequency, decay time constant) at `at` seconds.
void Ring(Wave& w, double at, double freq, double decay, float amp, double length = -1) {
  const size_t start = Samples(at);
  const size_t n = Samples(length > 0 ? length : decay * 6);
  for (size_t i = 0; i < n && start + i < w.size(); ++i) {
    const double t = double(i) / kRate;
    w[start + i] += amp * float(std::exp(-t / decay) * std::sin(2 * kPi * freq * t));
  }
}

// One-pole low pass in place.
void LowPass(Wave& w, double cutoff) {
  const float a = float(1 - std::exp(-2 * kPi * cutoff / kRate));
  float y = 0;
  for (float& s : w) s = y += a * (s - y);
}

Wave Noise(size_t n, Rng& rng) {
  Wave w(n);
  for (float& s : w) s = rng.Signed();
  return w;
}

// Two-pole resonator: rings at `freq` with bandwidth `width` Hz when fed.
Wave Resonate(const Wave& in, double freq, double width) {
  const double r = std::exp(-kPi * width / kRate);
  const double a1 = 2 * r * std::cos(2 * kPi * freq / kRate), a2 = -r * r;
  Wave out(in.size());
  double y1 = 0, y2 = 0;
  for (size_t i = 0; i < in.size(); ++i) {
    const double y = in[i] + a1 * y1 + a2 * y2;
    out[i] = float(y);
    y2 = y1;
    y1 = y;
  }
  return out;
}

std::string Wav(Wave w, float peak = 0.8f) {
  Normalize(w, peak);
  return WriteWav(ToPcm16(w), kRate, 1);
}

Wave Click() {
  Wave w(Samples(0.06));
  Rng rng{11};
  for (size_t i = 0; i < Samples(0.004); ++i)
    w[i] += rng.Signed() * float(1 - double(i) / Samples(0.004));
  w = Resonate(w, 2400, 300);
  Ring(w, 0, 1800, 0.008, 40.0f, 0.06);
  Fade(w, 0.0005, 0.01);
  return w;
}

Wave PageTurn() {
  Rng rng{12};
  Wave w = Noise(Samples(0.18), rng);
  Wave bright = Resonate(w, 3000, 2500);
  LowPass(w, 1800);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = double(i) / w.size();
    const double env = std::sin(kPi * std::pow(t, 0.6)) * (1 - 0.3 * t);
    w[i] = float(env) * (w[i] * 3 + bright[i] * 0.002f);
  }
  return w;
}

Wave SwitchBlip() {
  Wave w(Samples(0.13));
  auto tone = [&](double at, double f, double len) {
    const size_t start = Samples(at);
    for (size_t i = 0; i < Samples(len) && start + i < w.size(); ++i) {
      const double t = double(i) / kRate;
      const double env = std::min(1.0, t / 0.003) * std::exp(-t / (len / 3));
      w[start + i] += float(env * (std::sin(2 * kPi * f * t) + 0.25 * std::sin(4 * kPi * f * t)));
    }
  };
  tone(0, 880, 0.06);
  tone(0.055, 1318.5, 0.075);
  return w;
}

// Firing pulses of a four-cylinder engine at `rpm` (two firings per revolution): each an
// exhaust puff of low noise with a short body resonance, over a faint mechanical hiss.
void Rumble(Wave& w, double rpm, float amp, Rng& rng, double from = 0, double to = 1e9) {
  const double period = 60.0 / rpm / 2;
  Wave puffs(w.size());
  const double end = std::min(to, double(w.size()) / kRate);
  for (double t = from; t < end; t += period * (1 + 0.05 * rng.Signed())) {
    const float a = amp * (0.75f + 0.5f * rng.Next());
    const size_t at = Samples(t);
    for (size_t i = 0; i < Samples(0.03) && at + i < puffs.size(); ++i)
      puffs[at + i] += a * rng.Signed() * float(std::exp(-double(i) / (0.007 * kRate)));
    Ring(w, t, 48 + 8 * rng.Next(), 0.014, a * 0.6f);
  }
  LowPass(puffs, 320);
  LowPass(puffs, 320);
  const size_t first = Samples(from), last = std::min(w.size(), Samples(end));
  Wave hiss = Noise(last - std::min(first, last), rng);
  LowPass(hiss, 1200);
  for (size_t i = 0; i < w.size(); ++i) w[i] += puffs[i] * 6.0f;
  for (size_t i = 0; i < hiss.size(); ++i) w[first + i] += hiss[i] * amp * 0.04f;
}

Wave Idle() {
  Rng rng{21};
  Wave w(Samples(3.0));
  Rumble(w, 820, 1.0f, rng);
  Fade(w, 0.15, 0.3);
  return w;
}

// A resonator's impulse response peaks near 1 / sin(2 pi f / rate); this scales it to 1.
Wave Struck(const Wave& impulses, double freq, double width) {
  Wave out = Resonate(impulses, freq, width);
  const float gain = float(std::sin(2 * kPi * freq / kRate));
  for (float& s : out) s *= gain;
  return out;
}

Wave Tappets() {
  Rng rng{22};
  Wave w(Samples(3.0));
  Rumble(w, 800, 0.5f, rng);
  Wave ticks(w.size());
  for (double t = 0.05; t < 2.95; t += 1.0 / 6.7 * (1 + 0.03 * rng.Signed())) {
    ticks[Samples(t)] += 1.0f;
    ticks[Samples(t + 0.003)] -= 0.6f;
  }
  const Wave bright = Struck(ticks, 3600, 400), body = Struck(ticks, 1500, 250);
  for (size_t i = 0; i < w.size(); ++i) w[i] += bright[i] * 0.45f + body[i] * 0.3f;
  Fade(w, 0.1, 0.3);
  return w;
}

Wave Knock() {
  Rng rng{23};
  Wave w(Samples(3.0));
  // The engine pulls harder: revs rise, and the detonation pings ride on the firings.
  Wave pings(w.size());
  double t = 0, rpm = 1400;
  while (t < 3.0) {
    Rumble(w, rpm, 0.6f, rng, t, t + 0.1);
    for (double f = t; f < t + 0.1; f += 60.0 / rpm / 2)
      if (rng.Next() < 0.6 && Samples(f + 0.003) < pings.size())
        pings[Samples(f + 0.003)] += 0.6f + 0.6f * rng.Next();
    t += 0.1;
    rpm = std::min(2600.0, rpm + 40);
  }
  const Wave metal = Struck(pings, 6300, 180), metal2 = Struck(pings, 4100, 260);
  for (size_t i = 0; i < w.size(); ++i) w[i] += metal[i] * 0.5f + metal2[i] * 0.35f;
  Fade(w, 0.1, 0.3);
  return w;
}

Wave Squeal() {
  Rng rng{24};
  Wave w(Samples(2.8));
  Rumble(w, 900, 0.25f, rng);
  // Stick-slip of a slipping belt: a bright, wavering whistle that swells and fades.
  double phase = 0;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = double(i) / kRate;
    const double f = 2700 + 180 * std::sin(2 * kPi * 3.1 * t) + 60 * std::sin(2 * kPi * 17 * t);
    phase += 2 * kPi * f / kRate;
    const double swell = std::pow(std::sin(kPi * std::min(1.0, t / 2.6)), 0.7) *
                         (0.75 + 0.25 * std::sin(2 * kPi * 5.3 * t));
    const double s = std::sin(phase) + 0.45 * std::sin(2 * phase) + 0.2 * std::sin(3 * phase);
    w[i] += float(0.5 * swell * s);
  }
  Fade(w, 0.05, 0.2);
  return w;
}

// --- Music -------------------------------------------------------------------------------

double Freq(int midi) {
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// A plucked string (Karplus-Strong) added at `at`.
void Pluck(Wave& w, double at, int midi, double length, float amp, Rng& rng) {
  const int period = std::max(2, int(std::lround(kRate / Freq(midi))));
  std::vector<float> ring(static_cast<size_t>(period));
  for (float& s : ring) s = rng.Signed();
  for (size_t k = 0; k + 1 < ring.size(); ++k)
    ring[k] = 0.5f * (ring[k] + ring[k + 1]);  // softer attack
  const size_t start = Samples(at);
  for (size_t i = 0; i < Samples(length) && start + i < w.size(); ++i) {
    const size_t k = i % size_t(period);
    const float out = ring[k];
    ring[k] = 0.4985f * (ring[k] + ring[(k + 1) % size_t(period)]);
    const float release = float(std::min(1.0, (Samples(length) - i) / (0.02 * kRate)));
    w[start + i] += amp * out * release;
  }
}

// Electric-piano bell by frequency modulation.
void Bell(Wave& w, double at, int midi, double length, float amp, double ratio = 1.0) {
  const double f = Freq(midi);
  const size_t start = Samples(at);
  for (size_t i = 0; i < Samples(length) && start + i < w.size(); ++i) {
    const double t = double(i) / kRate;
    const double index = 1.6 * std::exp(-t / 0.25);
    const double env = std::min(1.0, t / 0.004) * std::exp(-t / (0.35 + 0.15 * ratio)) *
                       std::min(1.0, (length - t) / 0.03);
    w[start + i] +=
        amp * float(env * std::sin(2 * kPi * f * t + index * std::sin(2 * kPi * f * ratio * t)));
  }
}

void Pad(Wave& w, double at, const std::vector<int>& notes, double length, float amp) {
  const size_t start = Samples(at);
  for (size_t i = 0; i < Samples(length) && start + i < w.size(); ++i) {
    const double t = double(i) / kRate;
    const double env = std::min(1.0, t / 0.4) * std::min(1.0, (length - t) / 0.5);
    double s = 0;
    for (int n : notes) {
      const double f = Freq(n);
      s += std::sin(2 * kPi * f * t) + 0.5 * std::sin(2 * kPi * f * 1.003 * t + 1.0) +
           0.15 * std::sin(4 * kPi * f * t);
    }
    w[start + i] += amp * float(env * s);
  }
}

void Bass(Wave& w, double at, int midi, double length, float amp) {
  const double f = Freq(midi);
  const size_t start = Samples(at);
  for (size_t i = 0; i < Samples(length) && start + i < w.size(); ++i) {
    const double t = double(i) / kRate;
    const double env =
        std::min(1.0, t / 0.01) * std::exp(-t / 0.6) * std::min(1.0, (length - t) / 0.03);
    w[start + i] +=
        amp * float(env * (std::sin(2 * kPi * f * t) + 0.3 * std::sin(4 * kPi * f * t)));
  }
}

void Echo(Wave& w, double delay, float feedback) {
  const size_t d = Samples(delay);
  for (size_t i = d; i < w.size(); ++i) w[i] += feedback * w[i - d];
}

struct Song {
  uint32_t seed;
  double bpm;
  int beatsPerBar;
  std::vector<std::vector<int>> chords;  // MIDI notes, lowest is the root
  std::vector<int> scale;                // pitch classes of the key
  int bars;
  int voice;  // 0 plucked, 1 bell, 2 music box
};

// Chord tones of the melody land on the strong beats; between them it walks the scale.
Wave Compose(const Song& song) {
  Rng rng{song.seed};
  const double beat = 60.0 / song.bpm;
  const double bar = beat * song.beatsPerBar;
  Wave w(Samples(bar * song.bars + 2.5));
  auto inScale = [&](int m) {
    return std::find(song.scale.begin(), song.scale.end(), ((m % 12) + 12) % 12) !=
           song.scale.end();
  };
  int note = 72;
  const int eighths = song.beatsPerBar * 2;
  for (int b = 0; b < song.bars; ++b) {
    const auto& chord = song.chords[size_t(b) % song.chords.size()];
    const double t0 = b * bar;
    const bool last = b == song.bars - 1;
    Pad(w, t0, {chord[0] + 12, chord[1] + 12, chord[2] + 12}, bar + (last ? 1.5 : 0.1), 0.035f);
    for (int k = 0; k < song.beatsPerBar; ++k) {
      const int root = chord[0] - 12;
      const int n = (song.beatsPerBar == 3) ? (k == 0 ? root : chord[1 + (k % 2)])
                                            : (k % 2 == 0 ? root : root + 7);
      Bass(w, t0 + k * beat, n, beat * 0.95, k == 0 ? 0.28f : 0.18f);
    }
    if (last) {
      Bell(w, t0, chord[0] + 24, 2.5, 0.35f);
      if (song.voice == 0) Pluck(w, t0, chord[2] + 12, 2.5, 0.3f, rng);
      break;
    }
    // Rhythm: a pattern of onsets over eighth notes, varied every other bar.
    std::vector<bool> onset(size_t(eighths), false);
    for (int s = 0; s < eighths; ++s) onset[size_t(s)] = s % 2 == 0 || rng.Next() < 0.35;
    if (b % 4 == 3) std::fill(onset.begin() + eighths / 2 + 1, onset.end(), false);
    for (int s = 0; s < eighths; ++s) {
      if (!onset[size_t(s)]) continue;
      int len = 1;
      while (s + len < eighths && !onset[size_t(s + len)]) ++len;
      const bool strong = s == 0 || (song.beatsPerBar == 4 && s == 4);
      if (strong) {
        // Nearest chord tone, an octave up, then a nudge.
        int best = note, dist = 99;
        for (int c : chord)
          for (int o = 0; o < 3; ++o) {
            const int m = c + 12 * o;
            if (m >= 64 && m <= 84 && std::abs(m - note) < dist) {
              dist = std::abs(m - note);
              best = m;
            }
          }
        note = best;
      } else {
        int step = rng.Below(5) - 2;
        if (step == 0) step = 1;
        int m = note + step;
        while (!inScale(m)) m += step > 0 ? 1 : -1;
        if (m < 62 || m > 86) {
          m = note - step;
          while (!inScale(m)) m += step > 0 ? -1 : 1;
        }
        note = m;
      }
      const double at = t0 + s * beat / 2;
      const double length = len * beat / 2 + 0.25;
      switch (song.voice) {
        case 0:
          Pluck(w, at, note, length, 0.35f, rng);
          break;
        case 1:
          Bell(w, at, note, length, 0.28f);
          break;
        default:
          Bell(w, at, note + 12, length, 0.22f, 4.0);
          break;
      }
    }
  }
  Echo(w, beat * 0.75, 0.25f);
  Fade(w, 0.05, 2.0);
  return w;
}

std::vector<Song> Songs() {
  const std::vector<int> major{0, 2, 4, 5, 7, 9, 11};
  const std::vector<int> minor{0, 2, 3, 5, 7, 8, 10};
  return {
      // C major, I - vi - IV - V, a plucked guitar.
      {101, 96, 4, {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}}, major, 10, 0},
      // A minor, i - VI - III - VII, soft electric piano.
      {202,
       84,
       4,
       {{57, 60, 64}, {53, 57, 60}, {60, 64, 67}, {55, 59, 62}},
       [&] {
         std::vector<int> s = minor;
         for (int& p : s) p = (p + 9) % 12;
         return s;
       }(),
       8,
       1},
      // F major waltz, I - IV - ii - V, a music box.
      {303,
       120,
       3,
       {{53, 57, 60}, {58, 62, 65}, {55, 58, 62}, {60, 64, 67}},
       [&] {
         std::vector<int> s = major;
         for (int& p : s) p = (p + 5) % 12;
         return s;
       }(),
       16,
       2},
  };
}

Wave Jingle(double seconds) {
  Rng rng{404};
  Wave w(Samples(seconds));
  const int notes[] = {60, 64, 67, 72};
  for (int i = 0; i < 4; ++i) Bell(w, 0.35 + i * 0.18, notes[i] + 12, 1.6, 0.3f);
  Pad(w, 1.1, {60, 64, 67, 72}, seconds - 1.2, 0.05f);
  Bass(w, 1.1, 36, 2.5, 0.35f);
  Pluck(w, 1.1, 76, 2.5, 0.3f, rng);
  Echo(w, 0.21, 0.25f);
  Fade(w, 0.01, 0.8);
  return w;
}

// --- Drawing -----------------------------------------------------------------------------

const QColor kInk(0x22, 0x2b, 0x38);
const QColor kSteel(0x9a, 0xa6, 0xb4);
const QColor kAccent(0xc8, 0x4b, 0x31);
const QColor kPaper(0xf4, 0xf1, 0xea);

QFont Font(int px, bool bold = false) {
  QFont font("DejaVu Sans");
  font.setPixelSize(px);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

void Aa(QPainter& p) {
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
}

QLinearGradient Metal(QPointF a, QPointF b, QColor base) {
  QLinearGradient g(a, b);
  g.setColorAt(0, base.darker(150));
  g.setColorAt(0.35, base.lighter(135));
  g.setColorAt(0.55, base);
  g.setColorAt(1, base.darker(170));
  return g;
}

// Slider-crank: crank centre, crank radius, rod length, angle from top dead centre.
struct Crank {
  QPointF centre;
  double radius, rod;
  QPointF Pin(double deg) const {
    const double a = deg * kPi / 180;
    return centre + QPointF(radius * std::sin(a), -radius * std::cos(a));
  }
  double PistonY(double deg) const {
    const double a = deg * kPi / 180;
    const double s = radius * std::sin(a);
    return centre.y() - radius * std::cos(a) - std::sqrt(rod * rod - s * s);
  }
};

// Cylinder, piston, rod and crank of one frame; `gas` colours the space above the piston.
void DrawCylinder(QPainter& p, const Crank& c, double deg, double bore, double top, QColor gas,
                  double pistonHeight) {
  const double cx = c.centre.x();
  const double py = c.PistonY(deg);
  const QRectF bores(cx - bore / 2, top, bore, c.centre.y() - top);
  p.fillRect(QRectF(cx - bore / 2, top, bore, py - pistonHeight * 0.3 - top), gas);
  // Crankcase disc and counterweight.
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(QColor(0xd9, 0xd4, 0xc8));
  p.drawEllipse(c.centre, c.radius * 1.55, c.radius * 1.55);
  const QPointF pin = c.Pin(deg);
  const QPointF pinTop(cx, py);
  // Rod.
  QPainterPath rod;
  const QPointF d = pin - pinTop;
  const double len = std::hypot(d.x(), d.y());
  const QPointF n(-d.y() / len, d.x() / len);
  rod.moveTo(pinTop + n * (bore * 0.09));
  rod.lineTo(pin + n * (bore * 0.14));
  rod.lineTo(pin - n * (bore * 0.14));
  rod.lineTo(pinTop - n * (bore * 0.09));
  rod.closeSubpath();
  p.setBrush(Metal(pinTop + n * 6, pinTop - n * 6, kSteel));
  p.drawPath(rod);
  // Crank web and pin.
  p.setBrush(QColor(0x6d, 0x77, 0x84));
  p.drawEllipse(c.centre, c.radius * 0.45, c.radius * 0.45);
  QPen web(QColor(0x6d, 0x77, 0x84), c.radius * 0.5, Qt::SolidLine, Qt::RoundCap);
  p.setPen(web);
  p.drawLine(c.centre, pin);
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(QColor(0xe0, 0xe4, 0xea));
  p.drawEllipse(pin, c.radius * 0.2, c.radius * 0.2);
  // Piston with rings.
  const QRectF piston(cx - bore / 2 + 1.5, py - pistonHeight * 0.3, bore - 3, pistonHeight);
  p.setBrush(Metal(piston.topLeft(), piston.topRight(), QColor(0xb8, 0xbe, 0xc6)));
  p.drawRoundedRect(piston, 2, 2);
  p.setPen(QPen(kInk.lighter(160), 1));
  for (int i = 1; i <= 3; ++i)
    p.drawLine(QPointF(piston.left() + 1, piston.top() + i * pistonHeight * 0.09),
               QPointF(piston.right() - 1, piston.top() + i * pistonHeight * 0.09));
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(QColor(0xe0, 0xe4, 0xea));
  p.drawEllipse(pinTop, bore * 0.08, bore * 0.08);
  // Cylinder walls.
  p.setPen(Qt::NoPen);
  p.setBrush(
      Metal(QPointF(bores.left() - 10, 0), QPointF(bores.left(), 0), QColor(0x8a, 0x93, 0x9e)));
  p.drawRect(QRectF(bores.left() - 9, top, 9, bores.height() * 0.72));
  p.setBrush(
      Metal(QPointF(bores.right(), 0), QPointF(bores.right() + 10, 0), QColor(0x8a, 0x93, 0x9e)));
  p.drawRect(QRectF(bores.right(), top, 9, bores.height() * 0.72));
}

// The skin frames the animation in a 96 x 96 window of this colour.
const QColor kPistonBackground(0xe4, 0xea, 0xee);

QImage PistonDrawing(int frame, int frames) {
  QImage image(120, 160, QImage::Format_RGB32);
  image.fill(kPistonBackground);
  QPainter p(&image);
  Aa(p);
  const Crank crank{{60, 122}, 17, 50};
  const double deg = 360.0 * frame / frames;
  const double top = 22;
  // Head.
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(Metal(QPointF(0, 8), QPointF(0, top), QColor(0x7d, 0x86, 0x91)));
  p.drawRect(QRectF(17, 8, 86, top - 8));
  // Spark plug.
  p.setBrush(QColor(0xf0, 0xee, 0xe6));
  p.drawRect(QRectF(55, 0, 10, 10));
  const QColor gas =
      QColor::fromHsvF(0.58 - 0.5 * (0.5 + 0.5 * std::cos(deg * kPi / 180)), 0.35, 1.0);
  DrawCylinder(p, crank, deg, 60, top, gas, 30);
  if (frame == 0) {
    p.setPen(QPen(QColor(0xff, 0xb0, 0x00), 2));
    for (int i = 0; i < 6; ++i) {
      const double a = i * kPi / 3 + 0.3;
      p.drawLine(QPointF(60, top + 3),
                 QPointF(60 + 9 * std::cos(a), top + 3 + 6 * std::abs(std::sin(a))));
    }
  }
  return image;
}

QImage PistonFrame(int frame, int frames) {
  const QImage drawing = PistonDrawing(frame, frames).scaledToHeight(92, Qt::SmoothTransformation);
  QImage image(96, 96, QImage::Format_RGB32);
  image.fill(kPistonBackground);
  QPainter p(&image);
  p.drawImage((96 - drawing.width()) / 2, 2, drawing);
  return image;
}

QImage IntroFrame(int frame, int frames) {
  const double t = double(frame) / frames;  // 0..1
  QImage image(320, 240, QImage::Format_RGB32);
  QPainter p(&image);
  Aa(p);
  QLinearGradient sky(0, 0, 0, 240);
  sky.setColorAt(0, QColor(0x12, 0x23, 0x3d));
  sky.setColorAt(1, QColor(0x1f, 0x5e, 0x6e));
  p.fillRect(image.rect(), sky);
  // A turning gear behind the title.
  p.save();
  p.translate(255, 70);
  p.rotate(frame * 4.0);
  QPainterPath gear;
  const int teeth = 12;
  for (int i = 0; i < teeth * 4; ++i) {
    const double a = 2 * kPi * i / (teeth * 4);
    const double r = (i % 4 == 1 || i % 4 == 2) ? 52 : 42;
    const QPointF pt(r * std::cos(a), r * std::sin(a));
    i == 0 ? gear.moveTo(pt) : gear.lineTo(pt);
  }
  gear.closeSubpath();
  gear.addEllipse(QPointF(0, 0), 16, 16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 40 + int(40 * std::min(1.0, t * 3))));
  p.drawPath(gear);
  p.restore();
  // Title slides up and fades in, then the subtitle.
  auto ease = [](double x) {
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3 - 2 * x);
  };
  const double a1 = ease((t - 0.1) / 0.3);
  p.setFont(Font(30, true));
  p.setPen(QColor(255, 255, 255, int(255 * a1)));
  p.drawText(QRectF(0, 80 + 20 * (1 - a1), 320, 40), Qt::AlignCenter,
             QString::fromUtf8("Двигатель"));
  p.drawText(QRectF(0, 118 + 20 * (1 - a1), 320, 40), Qt::AlignCenter,
             QString::fromUtf8("автомобиля"));
  const double a2 = ease((t - 0.45) / 0.25);
  p.setPen(QColor(0xf2, 0xc1, 0x4e, int(255 * a2)));
  p.setFont(Font(13));
  p.drawText(QRectF(0, 170, 320, 20), Qt::AlignCenter,
             QString::fromUtf8("иллюстрированный справочник"));
  // A line sweeps under the title.
  const double a3 = ease((t - 0.3) / 0.4);
  if (a3 > 0.01) {
    p.setPen(QPen(QColor(0xf2, 0xc1, 0x4e), 2));
    p.drawLine(QPointF(160 - 110 * a3, 163), QPointF(160 + 110 * a3, 163));
  }
  return image;
}

QImage CycleFrame(int frame, int frames) {
  QImage image(320, 240, QImage::Format_RGB32);
  image.fill(kPaper);
  QPainter p(&image);
  Aa(p);
  const double deg = std::fmod(frame * 1440.0 / frames, 720.0);  // two cycles in the clip
  const int stroke = int(deg / 180);
  static const char* names[] = {"Впуск", "Сжатие", "Рабочий ход", "Выпуск"};
  const QColor gases[] = {QColor(0xbf, 0xdc, 0xf5), QColor(0x8f, 0xbf, 0xea),
                          QColor(0xf5, 0x9a, 0x3c), QColor(0xb5, 0xb5, 0xb5)};
  QColor gas = gases[stroke];
  if (stroke == 2) {
    const double k = (deg - 360) / 180;
    gas = QColor::fromRgbF(0.96 - 0.2 * k, 0.6 - 0.25 * k, 0.24 + 0.1 * k);
  }
  const Crank crank{{110, 194}, 24, 72};
  const double top = 70;
  // Head with ports and valves.
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(Metal(QPointF(0, 38), QPointF(0, top), QColor(0x7d, 0x86, 0x91)));
  p.drawRect(QRectF(56, 40, 108, top - 40));
  // Each valve is open for 200 degrees: intake from 10 before the top, exhaust from 530.
  auto lift = [&](double opens) {
    const double x = std::fmod(deg - opens + 720, 720) / 200;
    return x < 1 ? 7 * std::sin(kPi * x) : 0.0;
  };
  const double inLift = lift(710), exLift = lift(530);
  p.fillRect(QRectF(70, 48, 24, top - 48), gases[0].darker(105));
  p.fillRect(QRectF(126, 48, 24, top - 48), gases[3]);
  p.setBrush(QColor(0x55, 0x5e, 0x6a));
  p.drawRect(QRectF(80, 28 + inLift, 4, 36));
  p.drawRect(QRectF(136, 28 + exLift, 4, 36));
  p.drawRect(QRectF(70, top - 4 + inLift, 24, 4));
  p.drawRect(QRectF(126, top - 4 + exLift, 24, 4));
  p.setBrush(QColor(0xf0, 0xee, 0xe6));
  p.drawRect(QRectF(105, 30, 10, 14));
  DrawCylinder(p, crank, deg, 84, top, gas, 34);
  if (deg >= 350 && deg <= 378) {  // the spark, just before the power stroke
    p.setPen(QPen(QColor(0xff, 0xd0, 0x20), 2));
    for (int i = 0; i < 7; ++i) {
      const double a = i * kPi / 6;
      p.drawLine(QPointF(110, top + 2), QPointF(110 + 12 * std::cos(a), top + 2 + 9 * std::sin(a)));
    }
  }
  // Side panel: the stroke, a dial of the cycle, the frame counter.
  p.setPen(kInk);
  p.setFont(Font(13, true));
  p.drawText(QRectF(0, 2, 320, 18), Qt::AlignCenter, QString::fromUtf8("Четырёхтактный цикл"));
  p.setFont(Font(15, true));
  p.setPen(kAccent);
  p.drawText(QRectF(196, 40, 120, 24), Qt::AlignCenter, QString::fromUtf8(names[stroke]));
  const QPointF dial(256, 120);
  for (int i = 0; i < 4; ++i) {
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(i == stroke ? kAccent : QColor(0xcf, 0xc8, 0xba));
    p.drawPie(QRectF(dial.x() - 34, dial.y() - 34, 68, 68), (90 - i * 90) * 16, -90 * 16);
  }
  p.setPen(QPen(kInk, 2));
  const double hand = deg / 720 * 2 * kPi;
  p.drawLine(dial, dial + QPointF(30 * std::sin(hand), -30 * std::cos(hand)));
  p.setFont(Font(11));
  p.setPen(kInk);
  p.drawText(QRectF(196, 160, 120, 16), Qt::AlignCenter,
             QString::fromUtf8("Угол: %1°").arg(int(deg)));
  p.drawText(QRectF(196, 214, 120, 16), Qt::AlignCenter,
             QString::fromUtf8("Кадр %1 / %2").arg(frame + 1).arg(frames));
  return image;
}

// --- Slides and schemes ------------------------------------------------------------------

QImage SlideCanvas(const QString& title, const QString& note,
                   const std::function<void(QPainter&)>& draw) {
  QImage image(500, 350, QImage::Format_RGB32);
  QPainter p(&image);
  Aa(p);
  QLinearGradient bg(0, 0, 0, 350);
  bg.setColorAt(0, QColor(0xfb, 0xfa, 0xf6));
  bg.setColorAt(1, QColor(0xe4, 0xe0, 0xd5));
  p.fillRect(image.rect(), bg);
  p.setPen(QPen(QColor(0, 0, 0, 14), 1));
  for (int x = 0; x < 500; x += 20) p.drawLine(x, 0, x, 290);
  for (int y = 0; y < 290; y += 20) p.drawLine(0, y, 500, y);
  p.save();
  draw(p);
  p.restore();
  p.fillRect(QRect(0, 290, 500, 60), kInk);
  p.fillRect(QRect(0, 290, 500, 3), kAccent);
  p.setPen(Qt::white);
  p.setFont(Font(20, true));
  p.drawText(QRect(18, 296, 464, 28), Qt::AlignLeft | Qt::AlignVCenter, title);
  p.setPen(QColor(0xd8, 0xdd, 0xe4));
  p.setFont(Font(12));
  p.drawText(QRect(18, 322, 464, 22), Qt::AlignLeft | Qt::AlignVCenter, note);
  return image;
}

void Shadow(QPainter& p, QRectF r) {
  QRadialGradient g(r.center(), r.width() / 2);
  g.setColorAt(0, QColor(0, 0, 0, 60));
  g.setColorAt(1, QColor(0, 0, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(r);
}

std::vector<std::pair<std::string, QImage>> Slides() {
  auto u = [](const char* s) { return QString::fromUtf8(s); };
  std::vector<std::pair<std::string, QImage>> out;
  out.push_back(
      {"slide1.bmp",
       SlideCanvas(u("Поршень"),
                   u("Алюминиевый сплав, три кольца: два компрессионных и маслосъёмное"),
                   [](QPainter& p) {
                     Shadow(p, QRectF(150, 250, 200, 30));
                     const QRectF body(170, 60, 160, 190);
                     p.setPen(QPen(kInk, 2));
                     p.setBrush(Metal(body.topLeft(), body.topRight(), QColor(0xc4, 0xc9, 0xcf)));
                     p.drawRoundedRect(body, 8, 8);
                     p.setBrush(Metal(QPointF(170, 0), QPointF(330, 0), QColor(0xa9, 0xaf, 0xb8)));
                     p.drawEllipse(QRectF(170, 45, 160, 30));
                     for (int i = 0; i < 3; ++i) {
                       p.setPen(QPen(QColor(0x4a, 0x52, 0x5c), i == 2 ? 5 : 3));
                       p.drawLine(QPointF(172, 92 + i * 16), QPointF(328, 92 + i * 16));
                     }
                     p.setPen(QPen(kInk, 2));
                     p.setBrush(QColor(0x8a, 0x93, 0x9e));
                     p.drawEllipse(QPointF(250, 185), 26, 26);
                     p.setBrush(QColor(0xe3, 0xe6, 0xea));
                     p.drawEllipse(QPointF(250, 185), 14, 14);
                   })});
  out.push_back(
      {"slide2.jpg",
       SlideCanvas(u("Шатун"), u("Соединяет поршень с коленчатым валом"), [](QPainter& p) {
         Shadow(p, QRectF(120, 255, 260, 26));
         p.setPen(QPen(kInk, 2));
         QPainterPath beam;
         beam.moveTo(236, 70);
         beam.lineTo(264, 70);
         beam.lineTo(282, 200);
         beam.lineTo(218, 200);
         beam.closeSubpath();
         p.setBrush(Metal(QPointF(215, 0), QPointF(285, 0), kSteel));
         p.drawPath(beam);
         p.drawEllipse(QPointF(250, 70), 30, 30);
         p.drawEllipse(QPointF(250, 215), 52, 52);
         p.setBrush(QColor(0xf0, 0xee, 0xe8));
         p.drawEllipse(QPointF(250, 70), 15, 15);
         p.drawEllipse(QPointF(250, 215), 34, 34);
         p.setPen(QPen(QColor(0x4a, 0x52, 0x5c), 2, Qt::DashLine));
         p.drawLine(180, 215, 320, 215);
       })});
  out.push_back(
      {"slide3.bmp",
       SlideCanvas(
           u("Коленчатый вал"), u("Пять коренных шеек, четыре шатунные, противовесы"),
           [](QPainter& p) {
             Shadow(p, QRectF(40, 240, 420, 30));
             p.setPen(QPen(kInk, 1.5));
             for (int i = 0; i < 5; ++i) {
               const double x = 60 + i * 95;
               p.setBrush(Metal(QPointF(0, 130), QPointF(0, 170), kSteel));
               p.drawRect(QRectF(x - 14, 135, 28, 30));
             }
             for (int i = 0; i < 4; ++i) {
               const double x = 107 + i * 95;
               const double dy = (i == 0 || i == 3) ? -55 : 55;
               p.setBrush(Metal(QPointF(x - 40, 0), QPointF(x + 40, 0), QColor(0x7b, 0x84, 0x90)));
               p.drawRoundedRect(
                   QRectF(x - 34, std::min(150.0, 150 + dy) - 20, 16, std::abs(dy) + 40), 6, 6);
               p.drawRoundedRect(
                   QRectF(x + 18, std::min(150.0, 150 + dy) - 20, 16, std::abs(dy) + 40), 6, 6);
               p.setBrush(Metal(QPointF(0, 150 + dy - 14), QPointF(0, 150 + dy + 14),
                                QColor(0xd0, 0xd5, 0xdb)));
               p.drawRect(QRectF(x - 18, 150 + dy - 13, 36, 26));
             }
           })});
  out.push_back(
      {"slide4.jpg",
       SlideCanvas(u("Клапан"), u("Тарелка, фаска, стержень и канавка сухарей"), [](QPainter& p) {
         Shadow(p, QRectF(170, 255, 160, 24));
         p.setPen(QPen(kInk, 2));
         p.setBrush(Metal(QPointF(240, 0), QPointF(260, 0), kSteel));
         p.drawRect(QRectF(242, 40, 16, 170));
         QPainterPath head;
         head.moveTo(242, 200);
         head.cubicTo(240, 225, 200, 235, 180, 240);
         head.lineTo(180, 252);
         head.lineTo(320, 252);
         head.lineTo(320, 240);
         head.cubicTo(300, 235, 260, 225, 258, 200);
         head.closeSubpath();
         p.setBrush(Metal(QPointF(180, 0), QPointF(320, 0), QColor(0xa8, 0xae, 0xb6)));
         p.drawPath(head);
         p.setPen(QPen(kAccent, 3));
         p.drawLine(240, 58, 260, 58);
         p.drawLine(240, 66, 260, 66);
       })});
  out.push_back(
      {"slide5.bmp",
       SlideCanvas(u("Свеча зажигания"), u("Изолятор, корпус с шестигранником, электроды"),
                   [](QPainter& p) {
                     Shadow(p, QRectF(190, 260, 120, 20));
                     p.setPen(QPen(kInk, 2));
                     p.setBrush(QColor(0xf4, 0xf2, 0xec));
                     p.drawRoundedRect(QRectF(228, 30, 44, 110), 10, 10);
                     p.setBrush(QColor(0x55, 0x5e, 0x6a));
                     p.drawRect(QRectF(240, 18, 20, 16));
                     p.setBrush(Metal(QPointF(210, 0), QPointF(290, 0), kSteel));
                     p.drawPolygon(QPolygonF({QPointF(212, 140), QPointF(288, 140),
                                              QPointF(292, 175), QPointF(208, 175)}));
                     p.setBrush(Metal(QPointF(225, 0), QPointF(275, 0), QColor(0xb9, 0xa0, 0x5c)));
                     p.drawRect(QRectF(226, 175, 48, 60));
                     p.setPen(QPen(QColor(0x4a, 0x52, 0x5c), 1.5));
                     for (int y = 180; y < 235; y += 6) p.drawLine(226, y, 274, y + 3);
                     p.setPen(QPen(kInk, 3));
                     p.drawLine(250, 235, 250, 250);
                     p.drawLine(264, 235, 264, 256);
                     p.drawLine(264, 256, 250, 256);
                   })});
  out.push_back({"slide6.jpg",
                 SlideCanvas(u("Распределительный вал"),
                             u("Кулачки открывают клапаны дважды за два оборота коленчатого вала"),
                             [](QPainter& p) {
                               Shadow(p, QRectF(30, 230, 440, 30));
                               p.setPen(QPen(kInk, 1.5));
                               p.setBrush(Metal(QPointF(0, 138), QPointF(0, 162), kSteel));
                               p.drawRect(QRectF(30, 138, 440, 24));
                               for (int i = 0; i < 8; ++i) {
                                 const double x = 60 + i * 52;
                                 const double a = i * kPi / 2;
                                 QPainterPath lobe;
                                 lobe.addEllipse(QPointF(x, 150), 11, 26);
                                 p.setBrush(Metal(QPointF(x - 12, 0), QPointF(x + 12, 0),
                                                  QColor(0xb5, 0xbb, 0xc3)));
                                 p.save();
                                 p.translate(x, 150);
                                 p.scale(1, std::cos(a) >= 0 ? 1 : -1);
                                 p.translate(-x, -150);
                                 p.drawPath(lobe.translated(0, -8));
                                 p.restore();
                               }
                             })});
  out.push_back(
      {"slide7.bmp",
       SlideCanvas(u("Масляный фильтр"),
                   u("Полнопоточный, с перепускным и противодренажным клапанами"), [](QPainter& p) {
                     Shadow(p, QRectF(160, 250, 180, 30));
                     const QRectF can(180, 70, 140, 180);
                     p.setPen(QPen(kInk, 2));
                     p.setBrush(Metal(can.topLeft(), can.topRight(), QColor(0x2f, 0x6f, 0xb3)));
                     p.drawRoundedRect(can, 14, 14);
                     p.setPen(QPen(QColor(255, 255, 255, 60), 2));
                     for (int x = 192; x < 320; x += 12) p.drawLine(x, 84, x, 236);
                     p.setPen(QPen(kInk, 2));
                     p.setBrush(QColor(0x3a, 0x3a, 0x3a));
                     p.drawRect(QRectF(190, 56, 120, 16));
                     p.setPen(Qt::white);
                     p.setFont(Font(16, true));
                     p.drawText(can, Qt::AlignCenter, QString::fromUtf8("МАСЛО"));
                   })});
  out.push_back(
      {"slide8.jpg", SlideCanvas(u("Ремень ГРМ"),
                                 u("Зубчатый ремень связывает коленчатый и распределительный валы"),
                                 [](QPainter& p) {
                                   const QPointF a(250, 60), b(250, 225);
                                   p.setPen(QPen(QColor(0x2a, 0x2a, 0x2a), 10));
                                   p.setBrush(Qt::NoBrush);
                                   QPainterPath belt;
                                   belt.moveTo(a + QPointF(-46, 0));
                                   belt.lineTo(b + QPointF(-26, 0));
                                   belt.arcTo(QRectF(b.x() - 26, b.y() - 26, 52, 52), 180, 180);
                                   belt.lineTo(a + QPointF(46, 0));
                                   belt.arcTo(QRectF(a.x() - 46, a.y() - 46, 92, 92), 0, 180);
                                   p.drawPath(belt);
                                   p.setPen(QPen(kInk, 2));
                                   p.setBrush(Metal(QPointF(204, 0), QPointF(296, 0), kSteel));
                                   p.drawEllipse(a, 42, 42);
                                   p.drawEllipse(b, 22, 22);
                                   p.setBrush(kAccent);
                                   p.drawEllipse(a + QPointF(0, -32), 4, 4);
                                   p.drawEllipse(b + QPointF(0, -15), 3, 3);
                                 })});
  return out;
}

// A wiring scheme: boxes joined by wires, for the archive of schemes.
QImage Scheme(const QString& title, const std::vector<QString>& boxes) {
  QImage image(360, 220, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  Aa(p);
  p.setPen(kInk);
  p.setFont(Font(14, true));
  p.drawText(QRect(0, 6, 360, 20), Qt::AlignCenter, title);
  const int n = int(boxes.size());
  std::vector<QRectF> rects;
  for (int i = 0; i < n; ++i) {
    const double x = 16 + i * (328.0 / n);
    rects.push_back(QRectF(x, 80 + (i % 2) * 50, 328.0 / n - 8, 40));
  }
  p.setPen(QPen(kAccent, 2));
  for (int i = 0; i + 1 < n; ++i) {
    const QPointF from(rects[i].right(), rects[i].center().y());
    const QPointF to(rects[i + 1].left(), rects[i + 1].center().y());
    const double mid = (from.x() + to.x()) / 2;
    p.drawPolyline(QPolygonF({from, QPointF(mid, from.y()), QPointF(mid, to.y()), to}));
  }
  p.setPen(QPen(kInk, 1.5, Qt::DashLine));
  p.drawLine(20, 200, 340, 200);
  p.setFont(Font(9));
  for (int i = 0; i < n; ++i) {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(0xee, 0xf2, 0xf7));
    p.drawRect(rects[i]);
    p.drawText(rects[i], Qt::AlignCenter | Qt::TextWordWrap, boxes[i]);
    p.drawLine(rects[i].center() + QPointF(0, 20), QPointF(rects[i].center().x(), 200));
  }
  p.drawText(QRect(20, 202, 320, 14), Qt::AlignRight, QString::fromUtf8("масса"));
  return image;
}

// --- Model -------------------------------------------------------------------------------

QImage BrushedMetal() {
  QImage image(128, 128, QImage::Format_RGB32);
  Rng rng{77};
  std::vector<float> row(128);
  for (int y = 0; y < 128; ++y) {
    const float base = 170 + 18 * rng.Signed();
    for (float& v : row) v = rng.Signed();
    // Smear the grain along the brushing direction.
    for (int pass = 0; pass < 3; ++pass)
      for (int x = 0; x < 128; ++x)
        row[size_t(x)] = 0.6f * row[size_t(x)] + 0.4f * row[size_t((x + 127) % 128)];
    for (int x = 0; x < 128; ++x) {
      const int v =
          std::clamp(int(base + 28 * row[size_t(x)] + 10 * std::sin(x * kPi / 64)), 0, 255);
      image.setPixel(x, y, qRgb(v, v + (v < 250 ? 3 : 0), std::min(255, v + 8)));
    }
  }
  return image;
}

struct MeshBuilder {
  Mesh3ds mesh;
  uint32_t NextGroup() {
    const uint32_t group = next_;
    next_ <<= 1;
    return group;
  }
  uint16_t Vertex(Vec3 v, float u = 0, float t = 0) {
    mesh.vertices.push_back(v);
    mesh.uv.push_back({u, t});
    return uint16_t(mesh.vertices.size() - 1);
  }
  void Face(uint16_t a, uint16_t b, uint16_t c, uint32_t group) {
    mesh.faces.push_back({a, b, c});
    mesh.smoothing.push_back(group);
  }
  // A box: each side its own smoothing group, so its edges stay sharp.
  void Box(Vec3 lo, Vec3 hi) {
    const Vec3 c[8] = {{lo[0], lo[1], lo[2]}, {hi[0], lo[1], lo[2]}, {hi[0], hi[1], lo[2]},
                       {lo[0], hi[1], lo[2]}, {lo[0], lo[1], hi[2]}, {hi[0], lo[1], hi[2]},
                       {hi[0], hi[1], hi[2]}, {lo[0], hi[1], hi[2]}};
    // Sides as corner quads, counter-clockwise seen from outside.
    const int sides[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                             {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    for (const auto& s : sides) {
      const uint32_t g = NextGroup();
      const uint16_t a = Vertex(c[s[0]], 0, 0), b = Vertex(c[s[1]], 1, 0),
                     d = Vertex(c[s[2]], 1, 1), e = Vertex(c[s[3]], 0, 1);
      Face(a, b, d, g);
      Face(a, d, e, g);
    }
  }
  // A cylinder along z (or y when `alongY`): smooth side, flat caps.
  void Cylinder(Vec3 centre, float radius, float length, int segments, bool alongY = false) {
    auto at = [&](float x, float y, float z) -> Vec3 {
      return alongY ? Vec3{centre[0] + x, centre[1] + z, centre[2] + y}
                    : Vec3{centre[0] + x, centre[1] + y, centre[2] + z};
    };
    const uint32_t side = NextGroup(), bottomGroup = NextGroup(), topGroup = NextGroup();
    const float h = length / 2;
    std::vector<uint16_t> lo, hi, capLo, capHi;
    for (int i = 0; i <= segments; ++i) {
      const float a = float(2 * kPi * i / segments);
      const float x = radius * std::cos(a), y = radius * std::sin(a);
      lo.push_back(Vertex(at(x, y, -h), float(i) / segments, 0));
      hi.push_back(Vertex(at(x, y, h), float(i) / segments, 1));
    }
    for (int i = 0; i < segments; ++i) {
      const uint16_t a = lo[size_t(i)], b = lo[size_t(i + 1)], c = hi[size_t(i + 1)],
                     d = hi[size_t(i)];
      // Winding flips with the axis swap (y and z exchange mirrors the frame).
      if (alongY) {
        Face(a, c, b, side);
        Face(a, d, c, side);
      } else {
        Face(a, b, c, side);
        Face(a, c, d, side);
      }
    }
    const uint16_t mLo = Vertex(at(0, 0, -h), 0.5f, 0.5f), mHi = Vertex(at(0, 0, h), 0.5f, 0.5f);
    for (int i = 0; i < segments; ++i) {
      const float a0 = float(2 * kPi * i / segments), a1 = float(2 * kPi * (i + 1) / segments);
      const uint16_t p0 = Vertex(at(radius * std::cos(a0), radius * std::sin(a0), -h),
                                 0.5f + 0.5f * std::cos(a0), 0.5f + 0.5f * std::sin(a0));
      const uint16_t p1 = Vertex(at(radius * std::cos(a1), radius * std::sin(a1), -h),
                                 0.5f + 0.5f * std::cos(a1), 0.5f + 0.5f * std::sin(a1));
      const uint16_t q0 = Vertex(at(radius * std::cos(a0), radius * std::sin(a0), h),
                                 0.5f + 0.5f * std::cos(a0), 0.5f + 0.5f * std::sin(a0));
      const uint16_t q1 = Vertex(at(radius * std::cos(a1), radius * std::sin(a1), h),
                                 0.5f + 0.5f * std::cos(a1), 0.5f + 0.5f * std::sin(a1));
      if (alongY) {
        Face(mLo, p0, p1, bottomGroup);
        Face(mHi, q1, q0, topGroup);
      } else {
        Face(mLo, p1, p0, bottomGroup);
        Face(mHi, q0, q1, topGroup);
      }
    }
  }
  Mesh3ds Done(const std::string& name, const std::string& material, Vec3 origin) {
    mesh.name = name;
    FaceGroup3ds group{material, {}};
    for (size_t i = 0; i < mesh.faces.size(); ++i) group.faces.push_back(uint16_t(i));
    mesh.groups = {group};
    mesh.matrix = {1, 0, 0, 0, 1, 0, 0, 0, 1, origin[0], origin[1], origin[2]};
    return mesh;
  }

 private:
  uint32_t next_ = 1;
};

// A four-cylinder engine in 3DS units (z up): block, head with a glass cover, pistons seen
// through it, crankshaft pulley, alternator and oil pan.
std::string EngineModel() {
  Scene3ds scene;
  scene.materials = {
      {"Metal",
       {0.25f, 0.25f, 0.27f},
       {0.78f, 0.8f, 0.84f},
       {0.9f, 0.9f, 0.9f},
       0.6f,
       0,
       3,
       false,
       "metal.bmp"},
      {"Paint",
       {0.2f, 0.05f, 0.04f},
       {0.72f, 0.18f, 0.12f},
       {0.7f, 0.6f, 0.6f},
       0.4f,
       0,
       3,
       false,
       ""},
      {"Glass", {0.1f, 0.15f, 0.2f}, {0.55f, 0.75f, 0.95f}, {1, 1, 1}, 0.9f, 0.55f, 3, true, ""},
      {"Alloy", {0.2f, 0.2f, 0.2f}, {0.85f, 0.85f, 0.8f}, {1, 1, 1}, 0.7f, 0, 3, false, ""},
      {"Rubber",
       {0.05f, 0.05f, 0.05f},
       {0.12f, 0.12f, 0.13f},
       {0.2f, 0.2f, 0.2f},
       0.1f,
       0,
       2,
       false,
       ""},
  };
  std::vector<std::pair<Vec3, Mesh3ds>> parts;
  {
    MeshBuilder b;
    b.Box({-80, -40, -50}, {80, 40, 40});
    parts.push_back({{0, 0, 0}, b.Done("Block", "Metal", {0, 0, 0})});
  }
  {
    MeshBuilder b;
    b.Box({-78, -36, -72}, {78, 36, -50});
    parts.push_back({{0, 0, -61}, b.Done("OilPan", "Paint", {0, 0, -61})});
  }
  {
    MeshBuilder b;
    b.Box({-82, -42, 40}, {82, 42, 58});
    parts.push_back({{0, 0, 49}, b.Done("Head", "Paint", {0, 0, 49})});
  }
  {
    MeshBuilder b;
    b.Box({-76, -34, 58}, {76, 34, 88});
    parts.push_back({{0, 0, 73}, b.Done("Cover", "Glass", {0, 0, 73})});
  }
  for (int i = 0; i < 4; ++i) {
    MeshBuilder b;
    const float x = -57 + 38 * float(i);
    const float z = (i == 0 || i == 3) ? 72 : 66;
    b.Cylinder({x, 0, z}, 15, 14, 20);
    parts.push_back({{x, 0, z}, b.Done("Piston" + std::to_string(i + 1), "Alloy", {x, 0, z})});
  }
  {
    MeshBuilder b;
    b.Cylinder({0, -52, -20}, 26, 10, 28, true);
    parts.push_back({{0, -52, -20}, b.Done("Pulley", "Rubber", {0, -52, -20})});
  }
  {
    MeshBuilder b;
    b.Cylinder({58, -50, 18}, 15, 26, 20, true);
    parts.push_back({{58, -50, 18}, b.Done("Alternator", "Metal", {58, -50, 18})});
  }
  {
    MeshBuilder b;
    b.Cylinder({0, -45, -20}, 7, 8, 12, true);
    parts.push_back({{0, -45, -20}, b.Done("Crank", "Alloy", {0, -45, -20})});
  }
  // The block is the root; every other part hangs from it, placed at its own origin.
  for (size_t i = 0; i < parts.size(); ++i) {
    scene.meshes.push_back(parts[i].second);
    Node3ds node;
    node.name = parts[i].second.name;
    node.parent = i == 0 ? -1 : 0;
    node.position = parts[i].first;
    scene.nodes.push_back(node);
  }
  scene.lights.push_back({"Lamp", {-250, -400, 500}, {1.0f, 0.97f, 0.9f}});
  return Write3ds(scene);
}

// --- Archives ----------------------------------------------------------------------------

std::string Zip(const std::vector<std::pair<std::string, std::string>>& files) {
  archive* a = archive_write_new();
  archive_write_set_format_zip(a);
  archive_write_set_options(a, "zip:compression=deflate");
  std::string out;
  auto write = [](archive*, void* data, const void* buffer, size_t n) -> la_ssize_t {
    static_cast<std::string*>(data)->append(static_cast<const char*>(buffer), n);
    return la_ssize_t(n);
  };
  archive_write_set_bytes_in_last_block(a, 1);
  if (archive_write_open(a, &out, nullptr, write, nullptr) != ARCHIVE_OK)
    throw std::runtime_error(archive_error_string(a));
  for (const auto& [name, data] : files) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_size(entry, la_int64_t(data.size()));
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_mtime(entry, 1705312800, 0);  // 2024-01-15 10:00 UTC
    archive_write_header(a, entry);
    archive_write_data(a, data.data(), data.size());
    archive_entry_free(entry);
  }
  if (archive_write_close(a) != ARCHIVE_OK) throw std::runtime_error(archive_error_string(a));
  archive_write_free(a);
  return out;
}

std::string Rtf(const QString& title, const std::vector<QString>& lines) {
  auto escape = [](const QString& s) {
    std::string out;
    for (unsigned char c : Cp1251(s)) {
      if (c >= 0x80) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\'%02x", c);
        out += buf;
      } else if (c == '\\' || c == '{' || c == '}') {
        out += '\\';
        out += char(c);
      } else {
        out += char(c);
      }
    }
    return out;
  };
  std::string out =
      "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\r\n"
      "\\f0\\fs32\\b " +
      escape(title) + "\\b0\\fs22\\par\\par\r\n";
  for (const QString& line : lines) out += escape(line) + "\\par\r\n";
  return out + "}\r\n";
}

void WriteAll(const fs::path& folder) {
  auto u = [](const char* s) { return QString::fromUtf8(s); };
  // Interface sounds and the engine noises the pages link to.
  Save(folder, "sounds/click.wav", Wav(Click(), 0.7f));
  Save(folder, "sounds/page.wav", Wav(PageTurn(), 0.6f));
  Save(folder, "sounds/switch.wav", Wav(SwitchBlip(), 0.6f));
  Save(folder, "sounds/idle.wav", Wav(Idle()));
  Save(folder, "sounds/tappets.wav", Wav(Tappets()));
  Save(folder, "sounds/knock.wav", Wav(Knock()));
  Save(folder, "sounds/squeal.wav", Wav(Squeal(), 0.7f));
  const auto songs = Songs();
  for (size_t i = 0; i < songs.size(); ++i)
    Save(folder, "music/song" + std::to_string(i + 1) + ".wav", Wav(Compose(songs[i]), 0.7f));

  // The animated piston shown on the four-stroke page.
  std::vector<QImage> piston;
  for (int i = 0; i < 16; ++i) piston.push_back(PistonFrame(i, 16));
  Save(folder, "piston.gif", WriteGif(piston, 80, true));

  // Clips: the start clip with a jingle, and the four-stroke cycle with its thumps.
  {
    std::vector<QImage> frames;
    for (int i = 0; i < 60; ++i) frames.push_back(IntroFrame(i, 60));
    Wave jingle = Jingle(4.0);
    Normalize(jingle, 0.7f);
    AviSound sound{kRate, 1, ToPcm16(jingle)};
    Save(folder, "video/intro.avi", WriteMjpegAvi(frames, AviOptions{15, 85, &sound}));
  }
  {
    std::vector<QImage> frames;
    for (int i = 0; i < 90; ++i) frames.push_back(CycleFrame(i, 90));
    Wave w(Samples(6.0));
    Rng rng{505};
    for (int cycle = 0; cycle < 2; ++cycle) {
      const double start = cycle * 3.0;
      Ring(w, start + 1.5, 60, 0.08, 1.0f);  // power stroke: a thump
      Ring(w, start + 1.5, 140, 0.04, 0.5f);
      Wave hiss = Noise(Samples(0.7), rng);  // intake and exhaust: a breath
      LowPass(hiss, 900);
      for (size_t i = 0; i < hiss.size(); ++i) {
        const float env = float(std::sin(kPi * double(i) / hiss.size()));
        w[Samples(start + 0.1) + i] += 0.5f * env * hiss[i];
        if (Samples(start + 2.3) + i < w.size())
          w[Samples(start + 2.3) + i] += 0.8f * env * hiss[i];
      }
    }
    Normalize(w, 0.6f);
    AviSound sound{kRate, 1, ToPcm16(w)};
    Save(folder, "video/engine.avi", WriteMjpegAvi(frames, AviOptions{15, 85, &sound}));
  }

  // The model and its texture.
  Save(folder, "models/current_model.3ds", EngineModel());
  Save(folder, "models/metal.bmp", Encode(BrushedMetal(), "BMP"));

  // Slides for the picture area: bitmaps and JPEGs.
  for (const auto& [name, image] : Slides())
    Save(folder, "pics/slides/" + name, Encode(image, name.ends_with(".bmp") ? "BMP" : "JPEG", 90));

  // Archives and installers the pages link to.
  const uint32_t date = DosDateTime(2024, 1, 15, 10, 0, 0);
  Save(
      folder, "files/schemes.rar",
      WriteRar({
          {"readme.txt",
           Cp1251(u("Схемы электрооборудования двигателя\n\n"
                    "Зажигание\\scheme1.bmp — контактная система зажигания\n"
                    "Зажигание\\scheme2.bmp — бесконтактная система зажигания\n"
                    "Зарядка\\charge.bmp — генератор и аккумуляторная батарея\n"
                    "Пуск\\starter.bmp — цепь стартера\n")),
           false, date},
          {"Схемы/Зажигание/scheme1.bmp",
           Encode(Scheme(u("Контактное зажигание"),
                         {u("Батарея"), u("Замок"), u("Катушка"), u("Прерыватель"), u("Свечи")}),
                  "BMP", -1, true),
           false, date},
          {"Схемы/Зажигание/scheme2.bmp",
           Encode(Scheme(u("Бесконтактное зажигание"), {u("Батарея"), u("Датчик Холла"),
                                                        u("Коммутатор"), u("Катушка"), u("Свечи")}),
                  "BMP", -1, true),
           false, date},
          {"Схемы/Зарядка/charge.bmp",
           Encode(Scheme(u("Цепь зарядки"),
                         {u("Генератор"), u("Регулятор"), u("Батарея"), u("Лампа")}),
                  "BMP", -1, true),
           false, date},
          {"Схемы/Пуск/starter.bmp",
           Encode(Scheme(u("Цепь пуска"), {u("Батарея"), u("Замок"), u("Реле"), u("Стартер")}),
                  "BMP", -1, true),
           false, date},
      }));
  Save(folder, "files/forms.zip",
       Zip({{"card.rtf", Rtf(u("Карточка технического обслуживания"),
                             {u("Автомобиль: ____________  Госномер: ________"), u(""),
                              u("Дата | Пробег, км | Работы | Подпись"),
                              u("____ | __________ | ______ | _______"),
                              u("____ | __________ | ______ | _______")})},
            {"fuel_log.rtf", Rtf(u("Журнал заправок"),
                                 {u("Дата | Пробег, км | Литры | Цена | Расход, л/100 км"),
                                  u("____ | __________ | _____ | ____ | ________________")})}}));
  Save(
      folder, "files/servbook.exe",
      "#!/bin/sh\n# Demonstration installer of the service book: it installs nothing.\n"
      "echo 'Сервисная книжка: демонстрационная программа установки. Ничего не устанавливается.'\n",
      true);
  Save(folder, "files/motorkit.exe",
       "#!/bin/sh\n# Demonstration installer of the game: it installs nothing.\n"
       "echo 'Собери мотор: демонстрационная программа установки игры. Ничего не "
       "устанавливается.'\n",
       true);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_media OUTPUT_FOLDER\n");
    return 2;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  try {
    WriteAll(argv[1]);
  } catch (const InputError& e) {
    std::fprintf(stderr, "make_demo_media: %s\n", e.message.c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_demo_media: %s\n", e.what());
    return 1;
  }
  return 0;
}
