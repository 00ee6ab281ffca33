#include <gtest/gtest.h>

#include "director/timeline.h"

namespace {
struct Lookup {
  int32_t id;
  bool changed;
  int32_t index;
};

class TimelineTest : public ::testing::Test {
 protected:
  void SetUp() override { timeline.fill(); }
  Lookup at(double t) {
    bool changed = false;
    const int32_t id = timeline.findSegment(t, changed);
    return {id, changed, timeline.currentIndex};
  }
  Timeline timeline;
};

TEST_F(TimelineTest, DemoStartReportsOneChangeThenHoldsTheOpeningCue) {
  at(50.0);
  timeline.fill();  // forgets the last cue: the start is a change again
  const Lookup first = at(0.0);
  EXPECT_EQ(first.id, 9);
  EXPECT_TRUE(first.changed);
  EXPECT_EQ(first.index, 5);
  for (double t : {0.01, 10.0, 33.5, 79.999}) {
    const Lookup later = at(t);
    EXPECT_EQ(later.id, 9) << t;
    EXPECT_FALSE(later.changed) << t;
  }
}

TEST_F(TimelineTest, SharedBoundaryGoesToTheLaterRow) {
  at(10.0);
  const Lookup boundary = at(80.0);  // cues 0 and 5 both match; 5 is lower in the table
  EXPECT_EQ(boundary.id, 9);
  EXPECT_FALSE(boundary.changed);
  const Lookup after = at(80.0001);
  EXPECT_EQ(after.id, 1);
  EXPECT_TRUE(after.changed);
  EXPECT_EQ(after.index, 0);
}

TEST_F(TimelineTest, EnclosedCuesBeatTheirEnclosingCue) {
  EXPECT_EQ(at(270.0).index, 28);
  const Lookup inner = at(271.0);
  EXPECT_EQ(inner.id, 21);
  EXPECT_TRUE(inner.changed);
  EXPECT_EQ(inner.index, 29);
  // Same id, different cue: still a change.
  const Lookup outer = at(271.2);
  EXPECT_EQ(outer.id, 21);
  EXPECT_TRUE(outer.changed);
  EXPECT_EQ(outer.index, 28);
  EXPECT_EQ(at(271.5).index, 30);
  // At 274.329 the enclosing cue 28 wins over cue 9, which starts there.
  EXPECT_EQ(at(274.329).index, 28);
  EXPECT_EQ(at(274.33).index, 9);
}

TEST_F(TimelineTest, GapsReportAChangeEveryTimeAndKeepTheCurrentIndex) {
  at(95.0);
  ASSERT_EQ(timeline.currentIndex, 2);
  for (int frame = 0; frame < 3; ++frame) {
    const Lookup gap = at(100.0);
    EXPECT_EQ(gap.id, 0);
    EXPECT_TRUE(gap.changed);
    EXPECT_EQ(gap.index, 2);
  }
  // Coming back to the same cue after a gap is no change: the gap did not move lastIndex.
  EXPECT_FALSE(at(96.0).changed);
}

TEST_F(TimelineTest, EveryListedGapIsEmpty) {
  for (double t :
       {99.0, 104.9, 105.2, 200.0, 230.0, 246.0, 251.0, 267.0, 267.76, 281.5, 291.2, 1000.0, -0.001, -50.0}) {
    EXPECT_EQ(at(t).id, 0) << t;
  }
}

TEST_F(TimelineTest, TimeMayRunBackwards) {
  EXPECT_EQ(at(90.0).id, 2);
  EXPECT_EQ(at(82.0).id, 1);
  const Lookup back = at(5.0);
  EXPECT_EQ(back.id, 9);
  EXPECT_TRUE(back.changed);
}

TEST_F(TimelineTest, BothBoundsAreInclusive) {
  EXPECT_EQ(at(105.134).id, 5);
  EXPECT_EQ(at(104.94).id, 4);
  EXPECT_EQ(at(105.01).index, 4);  // cue 4 ends where cue 5 starts; cue 4 is later
}
}  // namespace
