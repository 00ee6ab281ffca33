#include "app/command_line.h"

#include <CLI/CLI.hpp>

#include <sstream>

#include "core/rendition_kind.h"
#include "director/frame_driver.h"

namespace {
constexpr int kUsageExit = 2;
// An argument of any length is named by its start: a line stays a line.
constexpr std::size_t kLongestQuoted = 120;

// What was wrong, in one line of the program's own: the argument cut to a
// readable length, then where the options are listed.
std::string usageLine(const std::string& what) {
  std::string text = what.substr(0, kLongestQuoted);
  if (what.size() > kLongestQuoted) text += "... (" + std::to_string(what.size()) + " characters)";
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return "velmora: " + text + "; velmora --help lists the options\n";
}
constexpr int kMaxFps = 1000;
constexpr int kMaxSupersample = 4;

constexpr const char* kFooter =
    "Rendering chosen moments (no setup dialog, no sound output, the window shows what is written):\n"
    "  velmora --shot 12.5 moment.png                  one 800 x 600 picture at demo time 12.5 s\n"
    "  velmora --capture demo.mp4 --size 1920x1080 --supersample 2\n"
    "                                                  the whole run as a 1080p video, filtered down\n"
    "  velmora --capture frames --fps 10 --start 5 --end 6\n"
    "                                                  frames/frame_00000.png .. frame_00009.png\n"
    "  velmora --capture demo.mp4 --fps 30             the whole run as a video with the track\n"
    "A capture into a folder needs a new or empty folder; .mp4, .mkv and .webm are encoded by\n"
    "the ffmpeg program. Starting anywhere: part time is advanced as a run from 0 would have\n"
    "advanced it, but what only drawn frames build (the ripple of the water) starts empty.\n"
    "Keys while playing: Space pauses, '.' steps 1/60 s while paused, ',' and '/' jump one second.\n"
    "Measuring: velmora --bench [--fps 30] [--rendition alpha|beta] [--bench-json FILE] draws the whole\n"
    "run at a fixed step as fast as it can and prints the draw time per frame and per layer.";

// "0 <= T < 33.5" for a moment to start or shoot at.
bool isDemoMoment(double t) { return t >= 0.0 && t < kDemoEndTime; }

std::string validate(const LaunchOptions& o, bool fpsGiven, bool endGiven) {
  const RenderRequest& r = o.render;
  if (fpsGiven && r.mode == RenderMode::Live) return "--fps needs --shot, --capture or --bench";
  if (r.fps < 1 || r.fps > kMaxFps) return "--fps: frames a second must be 1 to 1000";
  if (!isDemoMoment(o.startTime)) return "--start: demo time must be at least 0 and below 33.5";
  if (r.mode == RenderMode::Shot && !isDemoMoment(r.start)) {
    return "--shot: demo time must be at least 0 and below 33.5";
  }
  if (endGiven && (r.end <= o.startTime || r.end > kDemoEndTime)) {
    return "--end: demo time must be above --start and at most 33.5";
  }
  const bool rendering = r.mode == RenderMode::Shot || r.mode == RenderMode::Capture;
  if (rendering && r.out.empty()) return "the output name is empty";
  if (r.supersample < 1 || r.supersample > kMaxSupersample) return "--supersample: N must be 1 to 4";
  if (r.supersample > 1 && !rendering) return "--supersample needs --shot or --capture";
  return {};
}
}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine result;
  LaunchOptions& o = result.options;
  CLI::App app{"Velmora: a real-time demo. Without options it opens the setup dialog, then plays.", "velmora"};
  app.set_version_flag("--version", std::string("velmora ") + VELMORA_VERSION);
  app.footer(kFooter);
  // The same options on every platform: on Windows CLI11 would read "/x" as
  // an option, and a path starting with a slash would be taken for one.
  app.allow_windows_style_options(false);

  bool run = false, windowed = false, fullscreen = false, music = false, noMusic = false;
  std::string messages = "box";
  std::vector<std::string> shot;
  std::string capture;
  bool bench = false;
  std::string rendition;
  app.add_flag("--run", run, "Skip the setup dialog, as if \"Run\" was pressed");
  auto* w = app.add_flag("--windowed", windowed, "Preset \"Windowed\"");
  auto* f = app.add_flag("--fullscreen", fullscreen, "Preset fullscreen (\"Windowed\" unchecked)");
  w->excludes(f);
  auto* m = app.add_flag("--music", music, "Preset \"Music\" checked");
  auto* n = app.add_flag("--no-music", noMusic, "Preset \"Music\" unchecked");
  m->excludes(n);
  app.add_flag("--slow-gpu", o.slowGpu, "Preset \"Slow graphics card\"");
  app.add_option("--data", o.dataDir, "Folder the data paths are relative to (default: here)")
      ->check(CLI::ExistingDirectory);
  auto* messageOption =
      app.add_option("--messages", messages,
                     "box: real message boxes (default when playing); stderr: one line each on stderr, default "
                     "answers (default with --shot and --capture)")
          ->check(CLI::IsMember({"box", "stderr"}));
  app.add_option("--frame-log", o.frameLog, "Write one line a frame to FILE: demo time, heard music time, frame step");
  auto* start = app.add_option("--start", o.startTime, "Begin at demo time T seconds (0 <= T < 33.5)")->type_name("T");
  auto* shotOption = app.add_option("--shot", shot, "Write the frame at demo time T into OUT.png (see --size), exit")
                         ->expected(2)
                         ->type_name("T OUT.png");
  auto* captureOption = app.add_option("--capture", capture,
                                       "Write every frame: numbered PNGs into the folder OUT, or a video with the "
                                       "track when OUT ends in .mp4, .mkv or .webm")
                            ->type_name("OUT");
  auto* fps = app.add_option("--fps", o.render.fps, "Frames a second of --capture and steps of --shot (default 60)")
                  ->type_name("N");
  auto* end = app.add_option("--end", o.render.end, "Capture up to demo time T (default 33.5)")
                  ->type_name("T")
                  ->needs(captureOption);
  std::string size;
  auto* sizeOption =
      app.add_option("--size", size,
                     "Frame size of --shot and --capture (default 800x600; another shape gets the 4:3 picture "
                     "centred between black bars); playing or with --bench, the size the picture is drawn at")
          ->type_name("WxH");
  app.add_option("--supersample", o.render.supersample,
                 "With --shot or --capture: draw N times larger (1 to 4) and filter down, for clean video")
      ->type_name("N");
  shotOption->excludes(captureOption);
  shotOption->excludes(start);
  auto* benchOption = app.add_flag("--bench", bench,
                                   "Draw the whole run at a fixed step (default 30 a second) as fast as it can, "
                                   "no sound, and print the draw time per frame and per layer");
  benchOption->excludes(shotOption)->excludes(captureOption)->excludes(start);
  app.add_option("--rendition", rendition, "With --bench: alpha (shader, the default) or beta (fixed function)")
      ->check(CLI::IsMember({std::string(renditionName(RenditionKind::shader)),
                             std::string(renditionName(RenditionKind::fixedFunction))}))
      ->needs(benchOption);
  app.add_option("--bench-json", o.render.out, "With --bench: write the figures as JSON to FILE")
      ->type_name("FILE")
      ->needs(benchOption);

  std::ostringstream out, err;
  try {
    app.parse(argc, argv);
    if (sizeOption->count() > 0) {
      if (!parsePictureSize(size, o.render.width, o.render.height) || o.render.width < 160 || o.render.height < 120) {
        throw CLI::ValidationError("--size", "WxH must be two numbers of pixels, from 160x120 to 16384x16384");
      }
      o.render.sizeGiven = true;
    }
    if (!shot.empty()) {
      o.render.mode = RenderMode::Shot;
      std::size_t used = 0;
      try {
        o.render.start = std::stod(shot[0], &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used == 0 || used != shot[0].size()) throw CLI::ValidationError("--shot", "T must be a number of seconds");
      o.render.out = shot[1];
    } else if (bench) {
      o.render.mode = RenderMode::Bench;
      if (fps->count() == 0) o.render.fps = 30;
      if (rendition == renditionName(RenditionKind::fixedFunction)) o.slowGpu = true;
    } else if (!capture.empty() || captureOption->count() > 0) {
      o.render.mode = RenderMode::Capture;
      o.render.out = capture;
      o.render.start = o.startTime;
    }
    const std::string problem = validate(o, fps->count() > 0, end->count() > 0);
    if (!problem.empty()) throw CLI::ValidationError(problem);
  } catch (const CLI::CallForHelp& e) {
    result.exitNow = true;
    result.exitCode = app.exit(e, out, err);
  } catch (const CLI::CallForVersion& e) {
    result.exitNow = true;
    result.exitCode = app.exit(e, out, err);
  } catch (const CLI::ParseError& e) {
    result.exitNow = true;
    err << usageLine(e.what());
    result.exitCode = kUsageExit;
  }
  result.out = out.str();
  if (!result.out.empty() && result.out.back() != '\n') result.out += '\n';
  result.err = err.str();
  if (result.exitNow) return result;

  const bool rendering = o.render.mode != RenderMode::Live;
  o.skipDialog = run || rendering;
  if (windowed || fullscreen) o.windowed = windowed;
  if (rendering) o.windowed = true;
  if (music || noMusic) o.music = music;
  // A script that renders must never wait on a box nobody sees.
  const bool stderrMessages = messages == "stderr" || (rendering && messageOption->count() == 0);
  o.messages = stderrMessages ? MessageRoute::Stderr : MessageRoute::Box;
  return result;
}
