#include "gpu/shader_source.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {
bool readText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// The name in `#include "name"`, or empty when the line is not one.
std::string includedName(const std::string& line) {
  const std::string directive = "#include \"";
  if (line.rfind(directive, 0) != 0) return "";
  const std::size_t end = line.find('"', directive.size());
  if (end == std::string::npos) return "";
  return line.substr(directive.size(), end - directive.size());
}
}  // namespace

bool readShaderSource(const std::string& fileName, std::string& source, std::string& error) {
  std::string text;
  if (!readText(fileName, text)) {
    error = "cannot open";
    return false;
  }
  const std::size_t slash = fileName.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : fileName.substr(0, slash + 1);
  std::istringstream lines(text);
  std::string out;
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    const std::string name = includedName(line);
    if (name.empty()) {
      out += line + "\n";
      continue;
    }
    std::string included;
    if (!readText(folder + name, included)) {
      error = "cannot open \"" + name + "\", which it includes";
      return false;
    }
    if (!included.empty() && included.back() != '\n') included += '\n';
    out += "#line 1 1\n" + included + "#line " + std::to_string(number + 1) + " 0\n";
  }
  if (out.find('\0') != std::string::npos) {
    error = "is not text (it holds a zero byte)";
    return false;
  }
  source = std::move(out);
  return true;
}
