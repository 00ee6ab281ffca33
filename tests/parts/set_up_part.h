#pragma once
// A demo part set up from the generated data folder, for the GL tests of
// the parts and their layers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <utility>
#include <vector>

#include "demo/demo_app.h"
#include "math/random.h"
#include "parts/demo_part.h"

struct SetUpPart {
  std::unique_ptr<DemoApp> app = std::make_unique<DemoApp>();
  std::unique_ptr<DemoPart> part;
  // The generator's first values after set-up, which both parts must share.
  std::vector<double> randomAfter;
};

// Sets up a Part from the generated data with the generator at a known
// seed; the working folder is put back afterwards. `prefetch` lists the
// pictures to decode ahead on worker threads, as start-up does; the
// prefetch stays in the table for the test to look at.
template <typename Part>
SetUpPart setUpPart(std::vector<PictureRequest> prefetch = {}) {
  SetUpPart s;
  s.part = std::make_unique<Part>();
  char here[4096];
  EXPECT_NE(getcwd(here, sizeof here), nullptr);
  EXPECT_EQ(chdir(VELMORA_BINARY_DIR "/data"), 0) << "the generated data folder";
  seedRandom(5);
  if (!prefetch.empty()) s.app->textures.prefetch(std::move(prefetch));
  s.part->setUp(s.app.get());
  for (int i = 0; i < 8; ++i) s.randomAfter.push_back(random01());
  EXPECT_EQ(chdir(here), 0);
  EXPECT_FALSE(s.app->textures.loadingFailed());
  return s;
}
