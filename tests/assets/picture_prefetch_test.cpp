#include "assets/picture_prefetch.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "core/diagnostics.h"
#include "support/test_jpeg.h"

namespace {

// Per test: ctest runs tests side by side, and they must not share files.
std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "picture_prefetch_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
         "_" + name;
}

// A picture whose every pixel differs from its neighbours, so a row taken
// in the wrong order or unmirrored shows.
std::string gradientPicture(const std::string& name, int width, int height, int components = 3) {
  TestPicture p(width, height, components);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t* q = p.at(x, y);
      q[0] = std::uint8_t(x * 7 + y * 3);
      if (components == 3) {
        q[1] = std::uint8_t(y * 5);
        q[2] = std::uint8_t(255 - x * 2);
      }
    }
  const std::string path = tempPath(name);
  writeTestJpeg(path, p);
  return path;
}

// Restart markers every block, one of them dropped: decodes part way.
std::string damagedPicture() {
  TestPicture p(16, 64);
  p.fill(0, 0, 16, 64, 90, 160, 30);
  std::vector<std::uint8_t> bytes = encodeTestJpeg(p, 1);
  std::vector<std::size_t> markers;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] >= 0xD0 && bytes[i + 1] <= 0xD7) markers.push_back(i);
  EXPECT_GT(markers.size(), 8u);
  bytes.erase(bytes.begin() + long(markers[7]), bytes.begin() + long(markers[7]) + 2);
  const std::string path = tempPath("damaged.jpg");
  writeBytes(path, bytes);
  return path;
}

void expectSameRead(const PictureRead& got, const PictureRead& want, const std::string& what) {
  EXPECT_EQ(got.failure, want.failure) << what;
  EXPECT_EQ(got.errorCode, want.errorCode) << what;
  EXPECT_EQ(got.linesDecoded, want.linesDecoded) << what;
  EXPECT_EQ(got.picture.width, want.picture.width) << what;
  EXPECT_EQ(got.picture.height, want.picture.height) << what;
  EXPECT_TRUE(got.picture.pixels == want.picture.pixels) << what << ": pixels differ";
}

// Every line the diagnostics would have written, while it lives.
struct DiagnosticLines {
  std::vector<std::string> lines;
  DiagnosticLines() {
    setDiagnosticWriter([this](DiagnosticLevel, const std::string& line) { lines.push_back(line); });
  }
  ~DiagnosticLines() { setDiagnosticWriter({}); }
};

TEST(PicturePrefetch, HandsOutWhatInlineDecodingGivesFailuresIncludedAndSaysNothing) {
  const std::string wide = gradientPicture("wide.jpg", 37, 21);
  const std::string grey = gradientPicture("grey.jpg", 24, 9, 1);
  const std::string damaged = damagedPicture();
  const std::string missing = tempPath("missing.jpg");
  const std::string foreign = tempPath("foreign.jpg");
  writeBytes(foreign, {'G', 'I', 'F', '8', '9', 'a'});
  const std::vector<PictureRequest> requests = {
      {wide, RowOrder::BottomFirst, false}, {wide, RowOrder::TopFirst, false}, {wide, RowOrder::BottomFirst, true},
      {grey, RowOrder::BottomFirst, true},  {damaged, RowOrder::TopFirst},     {missing, RowOrder::BottomFirst},
      {foreign, RowOrder::BottomFirst},
  };

  DiagnosticLines log;
  PicturePrefetch prefetch(requests, 3);
  // Taken against the list's order: each waits for, or decodes, its own.
  for (auto r = requests.rbegin(); r != requests.rend(); ++r) {
    const std::string what =
        r->file + (r->order == RowOrder::TopFirst ? " top first" : " bottom first") + (r->mirrored ? " mirrored" : "");
    const std::optional<PictureRead> taken = prefetch.take(r->file, r->order, r->mirrored);
    ASSERT_TRUE(taken.has_value()) << what;
    expectSameRead(*taken, decodeJpegPicture(r->file, r->order, r->mirrored), what);
  }
  EXPECT_TRUE(log.lines.empty()) << "the taker reports, not the workers: " << log.lines.front();
  EXPECT_EQ(prefetch.untaken(), 0u);

  // What was not asked for, or in another form, or once more, is not there.
  EXPECT_FALSE(prefetch.take(wide, RowOrder::BottomFirst).has_value());
  EXPECT_FALSE(prefetch.take(grey, RowOrder::BottomFirst, false).has_value());
  EXPECT_FALSE(prefetch.take(tempPath("other.jpg"), RowOrder::BottomFirst).has_value());
}

TEST(PicturePrefetch, AKeptPictureIsHandedOutAsOftenAsAskedAndTheSameListedTwiceTwice) {
  const std::string kept = gradientPicture("kept.jpg", 20, 12);
  const std::string twice = gradientPicture("twice.jpg", 9, 30);
  PicturePrefetch prefetch(
      {{kept, RowOrder::BottomFirst, false, true}, {twice, RowOrder::TopFirst}, {twice, RowOrder::TopFirst}}, 2);
  const PictureRead direct = decodeJpegPicture(kept, RowOrder::BottomFirst);
  for (int frame = 0; frame < 5; ++frame) {
    const std::optional<PictureRead> taken = prefetch.take(kept, RowOrder::BottomFirst);
    ASSERT_TRUE(taken.has_value()) << "frame " << frame;
    expectSameRead(*taken, direct, "kept, frame " + std::to_string(frame));
  }
  EXPECT_TRUE(prefetch.take(twice, RowOrder::TopFirst).has_value());
  EXPECT_EQ(prefetch.untaken(), 1u);
  EXPECT_TRUE(prefetch.take(twice, RowOrder::TopFirst).has_value());
  EXPECT_FALSE(prefetch.take(twice, RowOrder::TopFirst).has_value());
  EXPECT_EQ(prefetch.untaken(), 0u);
}

TEST(PicturePrefetch, WorkersAreAtLeastOneAndNoMoreThanThePictures) {
  const std::string one = gradientPicture("one.jpg", 8, 8);
  EXPECT_EQ(PicturePrefetch({{one}, {one}, {one}}, 16).workerCount(), 3u);
  EXPECT_EQ(PicturePrefetch({{one}, {one}, {one}}, 2).workerCount(), 2u);
  EXPECT_GE(PicturePrefetch({{one}, {one}, {one}}).workerCount(), 1u);
  EXPECT_EQ(PicturePrefetch(std::vector<PictureRequest>{}).workerCount(), 0u);
  PicturePrefetch none(std::vector<PictureRequest>{});
  EXPECT_FALSE(none.take(one, RowOrder::BottomFirst).has_value());
}

// The set-up's case: many pictures, several workers, one thread taking
// them in load order while another takes its own share, and the rest
// never taken (a loading stopped early) but dropped with the prefetch.
TEST(PicturePrefetch, ManyPicturesFromSeveralWorkersComeOutRightAndWhatIsLeftIsDropped) {
  std::vector<std::string> files;
  for (int i = 0; i < 12; ++i)
    files.push_back(gradientPicture("many" + std::to_string(i) + ".jpg", 40 + 8 * i, 24 + 5 * i, i % 4 == 3 ? 1 : 3));
  std::vector<PictureRequest> requests;
  for (int round = 0; round < 4; ++round)
    for (std::size_t i = 0; i < files.size(); ++i)
      requests.push_back({files[i], round % 2 == 0 ? RowOrder::BottomFirst : RowOrder::TopFirst, round >= 2});
  std::vector<PictureRead> direct;
  for (const PictureRequest& r : requests) direct.push_back(decodeJpegPicture(r.file, r.order, r.mirrored));

  for (int trial = 0; trial < 3; ++trial) {
    PicturePrefetch prefetch(requests, 6);
    const std::size_t half = requests.size() / 2;
    // The second thread takes the even requests of the first half, this
    // one the odd; the second half mostly stays where it is.
    std::thread other([&] {
      for (std::size_t i = 0; i < half; i += 2) {
        const PictureRequest& r = requests[i];
        const std::optional<PictureRead> taken = prefetch.take(r.file, r.order, r.mirrored);
        ASSERT_TRUE(taken.has_value()) << i;
        expectSameRead(*taken, direct[i], "other thread, request " + std::to_string(i));
      }
    });
    for (std::size_t i = 1; i < half; i += 2) {
      const PictureRequest& r = requests[i];
      const std::optional<PictureRead> taken = prefetch.take(r.file, r.order, r.mirrored);
      ASSERT_TRUE(taken.has_value()) << i;
      expectSameRead(*taken, direct[i], "request " + std::to_string(i));
    }
    other.join();
    const PictureRequest& last = requests.back();
    const std::optional<PictureRead> taken = prefetch.take(last.file, last.order, last.mirrored);
    ASSERT_TRUE(taken.has_value());
    expectSameRead(*taken, direct.back(), "the last request");
    EXPECT_EQ(prefetch.untaken(), requests.size() - half - 1);
  }
  // Dropped while the workers are still at it.
  for (int trial = 0; trial < 5; ++trial) PicturePrefetch dropped(requests, 4);
}

}  // namespace
