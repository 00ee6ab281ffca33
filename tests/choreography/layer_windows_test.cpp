#include "choreography/layer_windows.h"

#include <gtest/gtest.h>

namespace {
bool open(int layer, double t, RenditionKind r = RenditionKind::shader) {
  return findLayer(layer)->window(r).contains(t);
}
}  // namespace

TEST(LayerWindows, EveryLayerOnceInDrawingOrder) {
  const auto layers = choreographyLayers();
  ASSERT_EQ(layers.size(), 21u);
  for (size_t i = 0; i < layers.size(); ++i) EXPECT_EQ(layers[i].number, int32_t(i));
  EXPECT_EQ(findLayer(21), nullptr);
}

TEST(LayerWindows, EdgesOpenAndClosedAsWritten) {
  // The opening effect includes its last moment; most windows are open.
  EXPECT_TRUE(open(15, 10.0));
  EXPECT_FALSE(open(15, 10.0001));
  EXPECT_FALSE(open(1, 6.0));
  EXPECT_TRUE(open(1, 6.0001));
  EXPECT_FALSE(open(1, 22.0));
  EXPECT_TRUE(open(17, 18.0));
  EXPECT_FALSE(open(17, 17.99999));
  EXPECT_TRUE(open(3, -1.0));
  EXPECT_TRUE(open(7, 40.0));
}

TEST(LayerWindows, GapsAndSecondSpansSitInTheRow) {
  EXPECT_TRUE(open(6, 24.5));
  EXPECT_FALSE(open(6, 25.0));
  EXPECT_TRUE(open(6, 26.0));
  EXPECT_FALSE(open(6, 31.0));

  EXPECT_TRUE(open(20, 21.2));
  EXPECT_FALSE(open(20, 21.3));
  EXPECT_FALSE(open(20, 27.7));
  EXPECT_TRUE(open(20, 27.75));
  EXPECT_TRUE(open(20, 33.0));

  EXPECT_TRUE(open(0, 20.0));
  EXPECT_FALSE(open(0, 20.01));
  EXPECT_TRUE(open(0, 27.6));
}

TEST(LayerWindows, TheFixedFunctionRenditionDiffersOnlyWhereItSays) {
  const RenditionKind fixed = RenditionKind::fixedFunction;
  EXPECT_FALSE(open(14, 15.0, fixed));
  EXPECT_TRUE(open(14, 15.0));
  EXPECT_FALSE(open(0, 20.0, fixed));
  EXPECT_FALSE(open(0, 28.0, fixed));
  EXPECT_TRUE(open(19, 28.0, fixed));
  EXPECT_FALSE(open(19, 28.0));
  for (const LayerInfo& layer : choreographyLayers()) {
    if (layer.number == 0 || layer.number == 14 || layer.number == 19) continue;
    for (double t = 0.0; t < 34.2; t += 0.05)
      EXPECT_EQ(layer.window(RenditionKind::shader).contains(t), layer.window(fixed).contains(t))
          << "layer " << layer.number << " at " << t;
  }
}
