#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A result that appears under its name only once it is complete: it is made
// under a hidden temporary name beside it (same folder, so the final rename
// is atomic) and is removed again if the job fails or is interrupted.
class StagedOutput {
 public:
  enum class Kind { File, Folder };

  StagedOutput() = default;
  ~StagedOutput();  // removes what was not committed
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;

  // Creates the temporary file or folder. A folder result must be new or an
  // empty folder, so frames of an older job never mix with this one's.
  bool begin(const std::string& finalPath, Kind kind, std::string& error);
  const std::string& stagingPath() const { return staging_; }
  // A further temporary file beside the result, removed with it (or at commit).
  std::string scratchPath(const std::string& suffix);

  // Gives the result its name.
  bool commit(std::string& error);
  void discard();

 private:
  std::string final_;
  std::string staging_;
  std::vector<std::string> scratch_;
  Kind kind_ = Kind::File;
  bool pending_ = false;
};

// Whether `finalPath` could be made as a result of `kind`: tried by making
// and removing its temporary beside it, so the job can be refused before
// any work, with the message the job itself would give.
bool canStageOutput(const std::string& finalPath, StagedOutput::Kind kind, std::string& error);

// Writes the bytes as the whole file; false, naming the cause, when any of
// them did not reach it (a full disk shows at the close).
bool writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
