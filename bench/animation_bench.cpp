// Per-frame costs of the math and animation building blocks. Each benchmark
// also reports the heap allocations made inside its timed loop, which must
// stay at zero: these run every frame.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "geometry/spline_path.h"
#include "math/flag_vec3.h"
#include "math/random.h"
#include "math/ripple_field.h"

namespace {
std::atomic<long> allocations{0};
}

// GCC cannot see that these news and deletes pair up through malloc/free.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Wraps the timed loop: allocations counted between start() and report().
struct AllocationProbe {
  explicit AllocationProbe(benchmark::State& s) : state(s), before(allocations.load()) {}
  ~AllocationProbe() {
    state.counters["allocs/iter"] =
        benchmark::Counter(double(allocations.load() - before), benchmark::Counter::kAvgIterations);
  }
  benchmark::State& state;
  long before;
};

void BM_RippleStepAndNormalMap(benchmark::State& state) {
  RippleField field(0.03, 128, 128);
  seedRandom(1);
  for (int k = 0; k < 40; ++k) field.drop(5 + nextRandom() % 120, 5 + nextRandom() % 120, 3, 1.0);
  {
    AllocationProbe probe(state);
    for (auto _ : state) {
      field.step(0.95);
      field.normalMap(1.0);
      benchmark::DoNotOptimize(field.normalBytes.data());
      benchmark::ClobberMemory();
    }
  }
  state.SetItemsProcessed(state.iterations() * 128 * 128);
  state.SetLabel("one step + normal map, 128 x 128; items = cells");
}
BENCHMARK(BM_RippleStepAndNormalMap);

void BM_SplineEvaluateClosed20(benchmark::State& state) {
  SplinePath path(0);
  for (int k = 0; k < 20; ++k) {
    const double t = k * 2 * 3.141592653589793 / 20;
    path.points.push_back(FlagVec3{1, float(40 * std::cos(t)), float(25 * std::sin(3 * t)), float(k)});
  }
  path.count = 20;
  path.closed = true;
  float parameters[1000];
  for (int k = 0; k < 1000; ++k) parameters[k] = k * 0.0317f - 4.0f;  // crosses the seam both ways
  {
    AllocationProbe probe(state);
    for (auto _ : state) {
      FlagVec3 out;
      for (float s : parameters) {
        path.evaluate(s, out);
        benchmark::DoNotOptimize(out);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * 1000);
  state.SetLabel("1000 evaluate calls, 20-point closed path; items = calls");
}
BENCHMARK(BM_SplineEvaluateClosed20);

void BM_FlagVec3AddScaleNormalize(benchmark::State& state) {
  const int n = 10000;
  std::vector<FlagVec3> a(n), b(n), out(n);
  seedRandom(2);
  for (int k = 0; k < n; ++k) {
    a[size_t(k)] = FlagVec3{1, float(random01() - 0.5), float(random01() - 0.5), float(random01())};
    b[size_t(k)] = FlagVec3{k % 17 ? 1 : 0, float(random01()), float(random01()), float(random01() - 0.5)};
  }
  {
    AllocationProbe probe(state);
    for (auto _ : state) {
      for (int k = 0; k < n; ++k) {
        FlagVec3 v = a[size_t(k)] + b[size_t(k)];
        scale(v, 1.75f, v);
        normalize(v);
        out[size_t(k)] = v;
      }
      benchmark::DoNotOptimize(out.data());
      benchmark::ClobberMemory();
    }
  }
  state.SetItemsProcessed(state.iterations() * n);
  state.SetLabel("10000 x (add, scale, normalize); items = vectors");
}
BENCHMARK(BM_FlagVec3AddScaleNormalize);

}  // namespace
