#pragma once
#include <string>

// A program file's text as the compiler is given it. Each line
// `#include "name"` is replaced by the file `name` from the same folder, so
// the programs share their helpers instead of repeating them; an included
// file includes nothing further. `#line` directives keep the compiler's line
// numbers those of the files (source 1 is the included file, 0 the
// program's own). False, with the reason in `error`, when the file or a
// file it includes cannot be read, or holds a zero byte (the compiler would
// silently stop there).
bool readShaderSource(const std::string& fileName, std::string& source, std::string& error);
