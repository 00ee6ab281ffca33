#include "capture/staged_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
std::string inQuotes(const std::string& path) { return "\"" + path + "\""; }
}  // namespace

StagedOutput::~StagedOutput() { discard(); }

bool StagedOutput::begin(const std::string& finalPath, Kind kind, std::string& error) {
  kind_ = kind;
  final_ = finalPath;
  fs::path target(finalPath);
  if (target.filename().empty()) target = target.parent_path();  // "frames/"
  std::error_code status;
  if (kind == Kind::Folder && fs::exists(target, status) &&
      (!fs::is_directory(target, status) || !fs::is_empty(target, status))) {
    error = inQuotes(finalPath) + " exists and is not an empty folder";
    return false;
  }
  if (kind == Kind::File && fs::is_directory(target, status)) {
    error = inQuotes(finalPath) + " is a folder";
    return false;
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  staging_ = (folder / ("." + target.filename().string() + ".partial-" + std::to_string(getpid()))).string();
  final_ = target.string();
  std::error_code made;
  if (kind == Kind::Folder) {
    fs::create_directory(staging_, made);
  } else if (std::FILE* f = std::fopen(staging_.c_str(), "wb")) {
    std::fclose(f);
  } else {
    made.assign(errno, std::generic_category());
  }
  if (made) {
    error = "cannot write " + inQuotes(finalPath) + ": " + made.message();
    return false;
  }
  pending_ = true;
  return true;
}

bool canStageOutput(const std::string& finalPath, StagedOutput::Kind kind, std::string& error) {
  StagedOutput trial;
  if (!trial.begin(finalPath, kind, error)) return false;
  trial.discard();
  return true;
}

std::string StagedOutput::scratchPath(const std::string& suffix) {
  scratch_.push_back(staging_ + suffix);
  return scratch_.back();
}

bool StagedOutput::commit(std::string& error) {
  std::error_code ignored;
  for (const std::string& s : scratch_) fs::remove(s, ignored);
  scratch_.clear();
  // An empty folder of that name was allowed; it gives way to the result.
  if (kind_ == Kind::Folder) fs::remove(final_, ignored);
  std::error_code renamed;
  fs::rename(staging_, final_, renamed);
  if (renamed) {
    error = "cannot name the result " + inQuotes(final_) + ": " + renamed.message();
    return false;
  }
  pending_ = false;
  return true;
}

void StagedOutput::discard() {
  std::error_code ignored;
  for (const std::string& s : scratch_) fs::remove(s, ignored);
  scratch_.clear();
  if (!pending_) return;
  fs::remove_all(staging_, ignored);
  pending_ = false;
}

bool writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    error = "cannot write " + inQuotes(path) + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(f) == 0;
  if (written && closed) return true;
  error = "cannot write " + inQuotes(path) + ": " + std::strerror(written ? errno : writeErrno);
  return false;
}
