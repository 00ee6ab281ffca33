#include "geometry/spline_path.h"

#include <algorithm>
#include <cmath>

namespace {

struct Span {
  const FlagVec3* p0;
  const FlagVec3* p1;
  const FlagVec3* p2;
  const FlagVec3* p3;
};

// Index modulo n, never negative.
int wrap(int i, int n) {
  if (i >= 0 && i < n) return i;  // most calls, without a division
  const int r = i % n;
  return r < 0 ? r + n : r;
}

// Catmull-Rom with tangents (P2 - P0) / 2 and (P3 - P1) / 2.
double interpolate(double p0, double p1, double p2, double p3, double f) {
  const double m1 = (p2 - p0) * 0.5;
  const double m2 = (p3 - p1) * 0.5;
  return p1 + m1 * f + (3.0 * p2 - 3.0 * p1 - 2.0 * m1 - m2) * f * f + (2.0 * p1 - 2.0 * p2 + m1 + m2) * f * f * f;
}

void writeCurvePoint(const Span& span, double f, FlagVec3& out) {
  out.x = float(interpolate(span.p0->x, span.p1->x, span.p2->x, span.p3->x, f));
  out.y = float(interpolate(span.p0->y, span.p1->y, span.p2->y, span.p3->y, f));
  out.z = float(interpolate(span.p0->z, span.p1->z, span.p2->z, span.p3->z, f));
}

double distance(const FlagVec3& a, const FlagVec3& b) {
  const double dx = double(a.x) - b.x, dy = double(a.y) - b.y, dz = double(a.z) - b.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

void SplinePath::evaluate(float sf, FlagVec3& out) const {
  const int n = int(std::min<size_t>(size_t(std::max(count, 0)), points.size()));
  if (n == 0) return;
  const FlagVec3* p = points.data();
  const double s = sf;

  if (!closed) {
    // Past either end the result is the end point itself; NaN lands here too.
    if (s > n) {
      out = p[n - 1];
      return;
    }
    if (!(s >= 0.0)) {
      out = p[0];
      return;
    }
    const int i = int(s);  // 0 <= s <= n
    const double f = s - i;
    Span span;
    if (s <= 2.0 || s >= n - 2.0) {
      const auto clamp = [n](int k) { return std::clamp(k, 0, n - 1); };
      const int c = clamp(i);
      span = {&p[clamp(c - 1)], &p[c], &p[clamp(c + 1)], &p[clamp(c + 2)]};
    } else {
      span = {&p[i - 1], &p[i], &p[i + 1], &p[i + 2]};
    }
    writeCurvePoint(span, f, out);
    return;
  }

  // A loop wraps every parameter; floor keeps f in 0..1 for negative s too.
  // Every index is reduced modulo n, so loops of one to three points stay
  // inside the array.
  double whole = 0.0, f = 0.0;
  if (std::isfinite(s)) {
    whole = std::floor(s);
    f = s - whole;
  }
  int i;
  if (whole >= 0.0 && whole < n) {
    i = int(whole);  // the usual case, without the cost of fmod
  } else {
    double r = std::fmod(whole, double(n));
    if (r < 0.0) r += n;
    i = std::min(int(r), n - 1);
  }
  const Span span = {&p[wrap(i - 1, n)], &p[i], &p[wrap(i + 1, n)], &p[wrap(i + 2, n)]};
  writeCurvePoint(span, f, out);
}

void SplinePath::resampleByArcLength(int32_t newCount, int32_t stepsPerSegment) {
  const int n = int(std::min<size_t>(size_t(std::max(count, 0)), points.size()));
  if (n < 2 || stepsPerSegment <= 0) return;
  newCount = std::max(newCount, 0);

  // Cumulative chord length at every 1/stepsPerSegment of the parameter.
  const int64_t total = int64_t(n) * stepsPerSegment;
  std::vector<double> table(size_t(total) + 1, 0.0);
  FlagVec3 previous, next;
  evaluate(0.0f, previous);
  for (int64_t k = 0; k < total; ++k) {
    evaluate(float(double(k + 1) / stepsPerSegment), next);
    table[size_t(k + 1)] = table[size_t(k)] + distance(next, previous);
    previous = next;
  }

  std::vector<FlagVec3> resampled;
  resampled.reserve(size_t(newCount));
  int64_t k = 0;  // targets rise with j, so the scan resumes where it stopped
  for (int32_t j = 0; j < newCount; ++j) {
    const double target = double(j) / newCount * table[size_t(total)];
    while (k < total - 1 && !(table[size_t(k)] <= target && target < table[size_t(k + 1)])) ++k;
    double length = table[size_t(k + 1)] - table[size_t(k)];
    if (length <= 0.001) length = 0.001;
    const double s = ((target - table[size_t(k)]) / length + double(k)) / stepsPerSegment;
    FlagVec3 point;
    evaluate(float(s), point);
    resampled.push_back(point);
  }

  mode = 3;
  points = resampled;
  shadowPoints = resampled;
  restPoints = std::move(resampled);
  count = newCount;
}

void SplinePath::computeClosedCubics() {
  segments.clear();
  const int n = int(std::min<size_t>(size_t(std::max(count, 0)), points.size()));
  segments.reserve(size_t(n));
  for (int i = 0; i < n; ++i) {
    const FlagVec3& p0 = points[size_t(wrap(i - 1, n))];
    const FlagVec3& p1 = points[size_t(i)];
    const FlagVec3& p2 = points[size_t(wrap(i + 1, n))];
    const FlagVec3& p3 = points[size_t(wrap(i + 2, n))];
    // Per component, with the tangents of evaluate():
    // a = 2 P1 - 2 P2 + m1 + m2, b = 3 P2 - 3 P1 - 2 m1 - m2, c = m1, d = P1.
    SegmentCubic cubic;
    const auto fill = [&](float FlagVec3::*axis) {
      const double q0 = p0.*axis, q1 = p1.*axis, q2 = p2.*axis, q3 = p3.*axis;
      const double m1 = (q2 - q0) * 0.5, m2 = (q3 - q1) * 0.5;
      cubic.a.*axis = float(2.0 * q1 - 2.0 * q2 + m1 + m2);
      cubic.b.*axis = float(3.0 * q2 - 3.0 * q1 - 2.0 * m1 - m2);
      cubic.c.*axis = float(m1);
      cubic.d.*axis = float(q1);
    };
    fill(&FlagVec3::x);
    fill(&FlagVec3::y);
    fill(&FlagVec3::z);
    segments.push_back(cubic);
  }
}
