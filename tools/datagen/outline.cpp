#include "outline.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace datagen {

namespace {

bool touches8(Px a, Px b) { return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1; }
bool touches4(Px a, Px b) { return std::abs(a.x - b.x) + std::abs(a.y - b.y) == 1; }

// Moore-neighbour boundary following, clockwise in image coordinates.
Chain mooreTrace(const std::vector<char>& m, int w, int h, Px start) {
  static const int dx[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
  static const int dy[8] = {0, -1, -1, -1, 0, 1, 1, 1};
  auto in = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && m[y * w + x]; };
  Chain out;
  Px cur = start;
  int back = 0;  // we entered the start from the west
  const size_t limit = static_cast<size_t>(w) * h * 4;
  for (size_t guard = 0; guard < limit; ++guard) {
    out.push_back(cur);
    int found = -1;
    for (int k = 1; k <= 8; ++k) {
      const int d = (back + k) % 8;
      if (in(cur.x + dx[d], cur.y + dy[d])) {
        found = d;
        break;
      }
    }
    if (found < 0) break;  // isolated pixel
    const Px next{cur.x + dx[found], cur.y + dy[found]};
    // the neighbour checked just before `found` is background; enter next
    // with that as the backtrack direction
    const Px prevbg{cur.x + dx[(found + 7) % 8], cur.y + dy[(found + 7) % 8]};
    int nb = 0;
    for (int d = 0; d < 8; ++d)
      if (next.x + dx[d] == prevbg.x && next.y + dy[d] == prevbg.y) nb = d;
    cur = next;
    back = nb;
    if (cur == start && out.size() > 1) break;
  }
  return out;
}

}  // namespace

void thinChain(Chain& c, bool closed) {
  // Single pass with a stack: a pixel already on the stack closes a small
  // loop (dropped), and a middle pixel whose neighbours touch is a corner.
  for (int pass = 0; pass < 3; ++pass) {
    Chain out;
    out.reserve(c.size());
    for (const Px& p : c) {
      auto it = std::find(out.end() - std::min<long>(static_cast<long>(out.size()), 12), out.end(), p);
      if (it != out.end()) {
        out.erase(it + 1, out.end());
        continue;
      }
      out.push_back(p);
      while (out.size() >= 3 && touches8(out[out.size() - 3], out.back())) out.erase(out.end() - 2);
    }
    if (closed) {
      // settle the seam: rotate so the old seam lies in the middle next pass
      while (out.size() > 3 && touches8(out[out.size() - 2], out.front())) out.pop_back();
      while (out.size() > 3 && touches8(out.back(), out[1])) out.erase(out.begin());
      std::rotate(out.begin(), out.begin() + static_cast<long>(out.size() / 2), out.end());
    }
    c.swap(out);
  }
}

Chain regionOutline(const Region& region, int w, int h) {
  std::vector<char> m(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) m[y * w + x] = region(x + 0.5, y + 0.5) ? 1 : 0;
  // keep the largest 8-connected component so stray specks do not matter
  std::vector<int> label(m.size(), -1);
  int best = -1;
  size_t bestSize = 0;
  Px bestStart{};
  std::vector<Px> stack;
  int nextLabel = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!m[y * w + x] || label[y * w + x] >= 0) continue;
      const int l = nextLabel++;
      size_t size = 0;
      stack.push_back({x, y});
      label[y * w + x] = l;
      while (!stack.empty()) {
        Px p = stack.back();
        stack.pop_back();
        ++size;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int qx = p.x + dx, qy = p.y + dy;
            if (qx < 0 || qy < 0 || qx >= w || qy >= h) continue;
            if (m[qy * w + qx] && label[qy * w + qx] < 0) {
              label[qy * w + qx] = l;
              stack.push_back({qx, qy});
            }
          }
      }
      if (size > bestSize) {
        bestSize = size;
        best = l;
        bestStart = {x, y};
      }
    }
  for (size_t i = 0; i < m.size(); ++i) m[i] = (label[i] == best) ? 1 : 0;
  Chain c = mooreTrace(m, w, h, bestStart);
  if (c.size() > 1 && c.back() == c.front()) c.pop_back();
  thinChain(c, true);
  return c;
}

std::string checkClosedChains(const std::vector<Chain>& chains, int w, int h) {
  std::vector<int> owner(static_cast<size_t>(w) * h, -1);
  for (size_t k = 0; k < chains.size(); ++k)
    for (const Px& p : chains[k]) {
      if (p.x < 1 || p.y < 1 || p.x >= w - 1 || p.y >= h - 1) return "outline touches the border";
      if (owner[p.y * w + p.x] >= 0) {
        std::ostringstream s;
        s << "outline " << k << " uses pixel " << p.x << "," << p.y << " twice";
        return s.str();
      }
      owner[p.y * w + p.x] = static_cast<int>(k);
    }
  for (size_t k = 0; k < chains.size(); ++k)
    for (const Px& p : chains[k]) {
      int n = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          if (!dx && !dy) continue;
          const int o = owner[(p.y + dy) * w + p.x + dx];
          if (o >= 0 && o != static_cast<int>(k)) {
            std::ostringstream s;
            s << "outlines " << k << " and " << o << " touch at " << p.x << "," << p.y;
            return s.str();
          }
          if (o >= 0) ++n;
        }
      if (n != 2) {
        std::ostringstream s;
        s << "outline " << k << " pixel " << p.x << "," << p.y << " has " << n << " neighbours";
        return s.str();
      }
    }
  return {};
}

std::string checkGreyTraces(const std::vector<Chain>& chains, int w, int h) {
  std::vector<int> owner(static_cast<size_t>(w) * h, -1);
  for (size_t k = 0; k < chains.size(); ++k)
    for (const Px& p : chains[k]) {
      if (p.x < 2 || p.y < 2 || p.x >= w - 2 || p.y >= h - 2) return "trace touches the border";
      if (owner[p.y * w + p.x] >= 0) return "trace pixel used twice";
      owner[p.y * w + p.x] = static_cast<int>(k);
    }
  for (size_t k = 0; k < chains.size(); ++k) {
    const Chain& c = chains[k];
    for (size_t i = 0; i < c.size(); ++i) {
      if (i > 0 && !touches4(c[i - 1], c[i])) return "trace not 4-connected";
      // no pixel of any trace within one pixel (8-neighbourhood) of another
      // trace, and inside a trace only the chain neighbours are 4-adjacent
      int n = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          if (!dx && !dy) continue;
          const int o = owner[(c[i].y + dy) * w + c[i].x + dx];
          if (o >= 0 && o != static_cast<int>(k)) return "traces touch";
          if (o >= 0 && (dx == 0 || dy == 0)) ++n;
        }
      const int want = (i == 0 || i + 1 == c.size()) ? 1 : 2;
      if (n != want) {
        std::ostringstream s;
        s << "trace " << k << " pixel " << i << " has " << n << " neighbours";
        return s.str();
      }
    }
  }
  return {};
}

}  // namespace datagen
