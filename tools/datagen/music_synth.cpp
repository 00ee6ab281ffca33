// The track: D minor at 120 beats per minute, its sections placed on the
// choreography's cue times (pad opening, build from 6.0 s, accents at 9.2,
// 12.3 and 16.2 s, a dip before the entry at 18.0 s, a turn at 20.0, a
// break from 24.5 to 26.0, the climax from 27.6 s, silent by 33.5 s).
#include <algorithm>
#include <cmath>

#include "music.h"
#include "rng.h"

namespace datagen {

namespace {

constexpr int kRate = 44100;
constexpr double kBeat = 0.5;

double midiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }
double ramp(double t, double a, double b) { return clamp01((t - a) / (b - a)); }

// Chord roots and tones (MIDI) per two-second bar.
struct Chord {
  double from;
  int notes[4];
  int bass;
};
const Chord kChords[] = {
    {0.0, {50, 53, 57, 64}, 38},   // Dm(add9)
    {8.0, {46, 50, 53, 60}, 34},   // Bb
    {10.0, {48, 53, 57, 60}, 41},  // F/C
    {12.0, {48, 52, 55, 62}, 36},  // C
    {14.0, {50, 53, 57, 64}, 38},  // Dm
    {16.0, {46, 50, 53, 62}, 34},  // Bb
    {18.0, {50, 53, 57, 62}, 38},  // Dm
    {20.0, {43, 50, 55, 58}, 43},  // Gm
    {22.0, {46, 50, 53, 58}, 34},  // Bb
    {24.0, {45, 52, 57, 61}, 33},  // A
    {26.0, {50, 53, 57, 64}, 38},  // Dm
    {28.0, {46, 53, 58, 62}, 34},  // Bb
    {30.0, {48, 52, 55, 64}, 36},  // C
    {32.0, {50, 53, 57, 62}, 38},  // Dm
};
const Chord& chordAt(double t) {
  const Chord* c = &kChords[0];
  for (const Chord& k : kChords)
    if (t >= k.from) c = &k;
  return *c;
}

// Band-limited sawtooth (polyBLEP).
struct Saw {
  double phase = 0;
  double next(double hz) {
    const double dt = hz / kRate;
    phase += dt;
    if (phase >= 1) phase -= 1;
    double v = 2 * phase - 1;
    if (phase < dt) {
      const double x = phase / dt;
      v -= x + x - x * x - 1;
    } else if (phase > 1 - dt) {
      const double x = (phase - 1) / dt;
      v -= x * x + x + x + 1;
    }
    return v;
  }
};

// Chamberlin state-variable filter, low-pass output.
struct Svf {
  double low = 0, band = 0;
  double run(double x, double hz, double q) {
    const double f = 2 * std::sin(kPi * std::min(hz, kRate / 6.0) / kRate);
    low += f * band;
    const double high = x - low - q * band;
    band += f * high;
    return low;
  }
  double bandOut() const { return band; }
};

// A small Schroeder reverb: parallel combs into series all-passes.
struct Reverb {
  struct Line {
    std::vector<float> buf;
    std::size_t pos = 0;
    explicit Line(std::size_t n) : buf(n, 0.0f) {}
  };
  std::vector<Line> combs, passes;
  std::vector<double> damp;
  explicit Reverb(int spread) {
    for (int n : {1116, 1188, 1277, 1356, 1422, 1491}) combs.emplace_back(static_cast<std::size_t>(n + spread));
    for (int n : {556, 441, 341}) passes.emplace_back(static_cast<std::size_t>(n + spread));
    damp.assign(combs.size(), 0.0);
  }
  double run(double x) {
    double out = 0;
    for (std::size_t i = 0; i < combs.size(); ++i) {
      Line& c = combs[i];
      const double y = c.buf[c.pos];
      damp[i] = y * 0.7 + damp[i] * 0.3;
      c.buf[c.pos] = static_cast<float>(x + damp[i] * 0.86);
      c.pos = (c.pos + 1) % c.buf.size();
      out += y;
    }
    out *= 0.16;
    for (Line& a : passes) {
      const double b = a.buf[a.pos];
      a.buf[a.pos] = static_cast<float>(out + b * 0.5);
      a.pos = (a.pos + 1) % a.buf.size();
      out = b - out * 0.5;
    }
    return out;
  }
};

struct Mix {
  std::vector<double> l, r, sendL, sendR;
  explicit Mix(std::size_t n) : l(n), r(n), sendL(n), sendR(n) {}
  void put(std::size_t i, double v, double pan, double send) {
    if (i >= l.size()) return;
    const double gl = std::cos((pan + 1) * kPi / 4), gr = std::sin((pan + 1) * kPi / 4);
    l[i] += v * gl;
    r[i] += v * gr;
    sendL[i] += v * gl * send;
    sendR[i] += v * gr * send;
  }
};

// Level of the rhythm section over time: off, building, ducked, full, broken.
double drumsOn(double t) {
  if (t < 18.0) return 0;
  if (t >= 24.5 && t < 26.0) return 0;
  return 1;
}

// The dip: everything but the riser sinks between 17.0 and 18.0.
double dip(double t) {
  if (t < 17.0 || t >= 18.0) return 1;
  return 1 - 0.85 * smoothstep(17.0, 17.4, t);
}

void pad(Mix& m, std::size_t n) {
  Saw osc[4][3];
  Svf f[4];
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const Chord& c = chordAt(t);
    const double open = t < 6 ? 300 + 500 * ramp(t, 0, 6) : (t < 18 ? 800 + 1200 * ramp(t, 6, 17) : 2400);
    const double cutoff = (t >= 24.5 && t < 26.0) ? 600 + 3000 * ramp(t, 24.5, 26.0) : (t >= 27.6 ? 3200 : open);
    const double level = (0.05 + 0.05 * ramp(t, 0, 3)) * (t >= 18 ? 1.2 : 1.0) * (t >= 27.6 ? 1.25 : 1.0) * dip(t);
    for (int v = 0; v < 4; ++v) {
      const double hz = midiHz(c.notes[v]);
      double s = 0;
      for (int d = 0; d < 3; ++d) s += osc[v][d].next(hz * (1 + (d - 1) * 0.0035 * (1 + 0.3 * v)));
      const double y = f[v].run(s / 3, cutoff * (1 + 0.15 * std::sin(t * 0.7 + v)), 0.9);
      m.put(i, y * level, (v - 1.5) * 0.45, 0.55);
    }
  }
}

void bass(Mix& m, std::size_t n) {
  Saw osc;
  Svf f;
  double sub = 0;
  for (std::size_t i = static_cast<std::size_t>(6.0 * kRate); i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    if (t >= 33.5) break;
    const double e = t - 6.0;
    const double step = std::fmod(e, kBeat / 2);  // eighth notes
    const double env = std::exp(-step * 9);
    const double hz = midiHz(chordAt(t).bass + ((static_cast<int>(e / (kBeat / 2)) % 4 == 3) ? 12 : 0));
    const double build = t < 18 ? 0.35 + 0.65 * ramp(t, 6, 17) : 1.0;
    const double cutoff = 120 + (t < 18 ? 900 * ramp(t, 6, 17) : 1400) * env;
    const double brk = (t >= 24.5 && t < 26.0) ? 0.25 : 1.0;
    sub += 2 * kPi * hz / kRate;
    const double y = f.run(osc.next(hz), cutoff, 0.6) * 0.8 + std::sin(sub) * 0.5;
    m.put(i, y * env * 0.16 * build * brk * dip(t), 0.0, 0.05);
  }
}

void arp(Mix& m, std::size_t n) {
  Svf f;
  double phase = 0;
  const int pattern[8] = {0, 1, 2, 3, 2, 1, 3, 2};
  for (std::size_t i = static_cast<std::size_t>(9.2 * kRate); i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    if (t >= 33.5) break;
    const double sixteenth = kBeat / 4;
    const int k = static_cast<int>((t - 9.2) / sixteenth);
    const double local = t - 9.2 - k * sixteenth;
    const Chord& c = chordAt(t);
    const double hz = midiHz(c.notes[pattern[k % 8]] + 12 + (t >= 27.6 ? 12 : 0));
    phase += hz / kRate;
    phase -= std::floor(phase);
    const double sq = phase < 0.5 ? 1.0 : -1.0;
    const double env = std::exp(-local * 22);
    const double level = 0.045 * (0.5 + 0.5 * ramp(t, 9.2, 16)) * dip(t) * (t >= 18 && t < 24.5 ? 0.7 : 1.0);
    m.put(i, f.run(sq, 1800 + 2500 * env, 1.2) * env * level, std::sin(k * 0.9) * 0.6, 0.4);
  }
}

void lead(Mix& m, std::size_t n) {
  // a slow melody over the entry and the climax (beats from 18.0 s)
  struct Note {
    double beat, len;
    int note;
  };
  const Note melody[] = {{0, 1.5, 69}, {1.5, 0.5, 67}, {2, 2, 65},  {4, 1, 62},  {5, 1, 65},    {6, 2, 67},
                         {8, 2, 70},   {10, 1, 69},    {11, 1, 67}, {12, 4, 65}, {16, 1.5, 64}, {17.5, 0.5, 65},
                         {18, 2, 67},  {20, 1, 69},    {21, 1, 72}, {22, 2, 74}, {24, 2, 74},   {26, 1, 72},
                         {27, 1, 70},  {28, 2, 72},    {30, 2, 74}, {32, 4, 69}};
  Saw a, b;
  Svf f;
  for (const Note& note : melody) {
    const double start = 18.0 + note.beat * kBeat, len = note.len * kBeat;
    if (start >= 24.5 && start < 26.0) continue;  // the break
    const int up = start >= 27.6 ? 12 : 0;
    const double hz = midiHz(note.note + up);
    const std::size_t i0 = static_cast<std::size_t>(start * kRate);
    const std::size_t i1 = std::min(n, static_cast<std::size_t>((start + len + 0.25) * kRate));
    for (std::size_t i = i0; i < i1; ++i) {
      const double lt = static_cast<double>(i - i0) / kRate;
      const double env = std::min(1.0, lt * 40) * (lt < len ? 1.0 : std::exp(-(lt - len) * 14));
      const double vib = 1 + 0.004 * std::sin(2 * kPi * 5.5 * lt) * ramp(lt, 0.15, 0.4);
      const double y = f.run(a.next(hz * vib) + 0.6 * b.next(hz * vib * 1.005), 2600 + 1500 * (up ? 1 : 0), 1.0);
      m.put(i, y * env * 0.06, 0.15, 0.5);
    }
  }
}

void drums(Mix& m, std::size_t n) {
  Rng rng(2006);
  std::vector<double> noise(n);
  for (double& v : noise) v = rng.range(-1, 1);
  auto kick = [&](double at, double gain) {
    const std::size_t i0 = static_cast<std::size_t>(at * kRate);
    double ph = 0;
    for (std::size_t i = i0; i < std::min(n, i0 + static_cast<std::size_t>(0.35 * kRate)); ++i) {
      const double lt = static_cast<double>(i - i0) / kRate;
      ph += 2 * kPi * (48 + 110 * std::exp(-lt * 30)) / kRate;
      m.put(i, std::sin(ph) * std::exp(-lt * 9) * gain + noise[i] * std::exp(-lt * 300) * 0.1 * gain, 0, 0.02);
    }
  };
  auto snare = [&](double at, double gain) {
    const std::size_t i0 = static_cast<std::size_t>(at * kRate);
    Svf f;
    for (std::size_t i = i0; i < std::min(n, i0 + static_cast<std::size_t>(0.3 * kRate)); ++i) {
      const double lt = static_cast<double>(i - i0) / kRate;
      f.run(noise[i], 3200, 0.7);
      const double tone = std::sin(2 * kPi * 190 * lt) * std::exp(-lt * 25);
      m.put(i, (f.bandOut() * 0.9 * std::exp(-lt * 16) + tone * 0.5) * gain, -0.1, 0.35);
    }
  };
  auto hat = [&](double at, double gain, double decay) {
    const std::size_t i0 = static_cast<std::size_t>(at * kRate);
    double prev = 0;
    for (std::size_t i = i0; i < std::min(n, i0 + static_cast<std::size_t>(0.12 * kRate)); ++i) {
      const double lt = static_cast<double>(i - i0) / kRate;
      const double hp = noise[i] - prev;
      prev = noise[i];
      m.put(i, hp * std::exp(-lt * decay) * gain, 0.35, 0.1);
    }
  };
  for (int k = 0; 18.0 + k * kBeat < 33.5; ++k) {
    const double t = 18.0 + k * kBeat;
    if (!drumsOn(t)) continue;
    const double climax = t >= 27.6 ? 1.15 : 1.0;
    kick(t, 0.55 * climax);
    if (k % 2 == 1) snare(t, 0.30 * climax);
    hat(t + kBeat / 2, 0.10 * climax, 60);
    if (t >= 20.0) hat(t + kBeat / 4, 0.05, 90), hat(t + 3 * kBeat / 4, 0.05, 90);
  }
  // hats count in from the second accent
  for (double t = 12.3; t < 17.0; t += kBeat / 2) hat(t, 0.035 + 0.04 * ramp(t, 12.3, 17.0), 70);
  // a snare roll that thickens from the third accent into the dip
  for (double t = 16.2, step = 0.125; t < 17.0; t += step, step = std::max(0.04, step * 0.88))
    snare(t, 0.08 + 0.14 * ramp(t, 16.2, 17.0));
}

// Accents: a deep boom under a long noise crash.
void impact(Mix& m, std::size_t n, double at, double gain) {
  Rng rng(static_cast<std::uint64_t>(at * 1000));
  const std::size_t i0 = static_cast<std::size_t>(at * kRate);
  Svf f;
  double ph = 0;
  for (std::size_t i = i0; i < std::min(n, i0 + static_cast<std::size_t>(2.5 * kRate)); ++i) {
    const double lt = static_cast<double>(i - i0) / kRate;
    ph += 2 * kPi * (38 + 70 * std::exp(-lt * 12)) / kRate;
    const double boom = std::sin(ph) * std::exp(-lt * 2.6);
    const double crash = f.run(rng.range(-1, 1), 7000, 0.5) * std::exp(-lt * 2.0) * 0.5;
    m.put(i, (boom * 0.8 + crash) * gain, 0, 0.6);
  }
}

// Rising filtered noise into the entry and out of the break.
void riser(Mix& m, std::size_t n, double from, double to, double gain) {
  Rng rng(static_cast<std::uint64_t>(from * 77));
  Svf f;
  for (std::size_t i = static_cast<std::size_t>(from * kRate); i < std::min(n, static_cast<std::size_t>(to * kRate));
       ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double p = ramp(t, from, to);
    f.run(rng.range(-1, 1), 300 + 6000 * p * p, 0.35);
    m.put(i, f.bandOut() * p * p * gain, std::sin(t * 3) * 0.5, 0.5);
  }
}

// Peak limiter with a short look-ahead: the gain falls before a peak
// arrives and recovers slowly after it.
void limit(Track& t, double ceiling) {
  const std::size_t n = t.left.size(), look = 96;
  std::vector<double> need(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double p = std::max(std::abs(t.left[i]), std::abs(t.right[i]));
    need[i] = p > ceiling ? ceiling / p : 1.0;
  }
  std::vector<double> g(n, 1.0);
  double cur = 1.0;
  for (std::size_t i = n; i-- > 0;) {
    // ramp down ahead of the peak (backwards pass)
    cur = std::min(need[i], cur + (1 - cur) * (1.0 / look));
    g[i] = cur;
  }
  cur = 1.0;
  for (std::size_t i = 0; i < n; ++i) {
    cur = std::min(g[i], cur + (1 - cur) * 0.0004);  // release
    t.left[i] = static_cast<float>(t.left[i] * cur);
    t.right[i] = static_cast<float>(t.right[i] * cur);
  }
}

}  // namespace

Track renderTrack() {
  const std::size_t n = static_cast<std::size_t>(kTrackSeconds * kRate);
  Mix m(n);
  pad(m, n);
  bass(m, n);
  arp(m, n);
  lead(m, n);
  drums(m, n);
  impact(m, n, 9.2, 0.35);
  impact(m, n, 12.3, 0.42);
  impact(m, n, 16.2, 0.5);
  impact(m, n, 18.0, 0.7);
  impact(m, n, 20.0, 0.4);
  impact(m, n, 26.0, 0.45);
  impact(m, n, 27.6, 0.75);
  riser(m, n, 16.2, 17.0, 0.4);  // cut at the dip: the entry lands on near silence
  riser(m, n, 24.6, 26.0, 0.35);
  riser(m, n, 26.8, 27.6, 0.3);

  Track tr;
  tr.rate = kRate;
  tr.left.resize(n);
  tr.right.resize(n);
  Reverb rl(0), rr(23);
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    // the fade: from 31.5 s to silence at 33.5 s, reverb tail included
    const double fade = 1 - smoothstep(31.5, 33.5, t);
    tr.left[i] = static_cast<float>((m.l[i] + rl.run(m.sendL[i]) * 0.9) * fade);
    tr.right[i] = static_cast<float>((m.r[i] + rr.run(m.sendR[i]) * 0.9) * fade);
  }
  // bring the mix to the target loudness; the limiter takes a little off,
  // so measure and correct once more
  for (int pass = 0; pass < 3; ++pass) {
    const double gain = std::pow(10.0, (kTargetLufs - integratedLoudness(tr)) / 20.0);
    for (std::size_t i = 0; i < n; ++i) {
      tr.left[i] = static_cast<float>(tr.left[i] * gain);
      tr.right[i] = static_cast<float>(tr.right[i] * gain);
    }
    limit(tr, kPeakCeiling);
  }
  return tr;
}

}  // namespace datagen
