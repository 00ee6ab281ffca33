/* A stand-in for ffmpeg.exe in the Wine checks (Debian has no Windows
 * ffmpeg): it takes the frames velmora.exe pipes in, as ffmpeg would, and
 * writes into its output (the last argument) how many bytes came and the
 * frame size it was told with -s. */
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
  const char* size = "?";
  for (int i = 1; i + 1 < argc; ++i)
    if (strcmp(argv[i], "-s") == 0) size = argv[i + 1];
  _setmode(_fileno(stdin), _O_BINARY);
  static char buffer[1 << 16];
  unsigned long long total = 0;
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, stdin)) > 0) total += n;
  FILE* out = argc > 1 ? fopen(argv[argc - 1], "wb") : NULL;
  if (out == NULL) {
    fprintf(stderr, "cannot write the output\n");
    return 1;
  }
  fprintf(out, "%llu bytes of %s frames\n", total, size);
  return fclose(out) == 0 ? 0 : 1;
}
