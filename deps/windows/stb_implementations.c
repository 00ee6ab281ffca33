/* The Windows build has no libstb to link (Debian builds it for Linux
   only): the two stb libraries the demo uses are compiled here from the
   headers of libstb-dev. */
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <stb_vorbis.h>
