#pragma once
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "assets/picture_prefetch.h"
#include "assets/scene_loading.h"

// The application's textures, addressed by number, and the loaders that
// fill them from JPEG files. A loader given index i stores the new GL name
// at textures[textureBase + i]; loading into a number again makes a new
// texture and leaves the old one alive. Each new texture has linear
// filtering, no mipmaps, the picture's own size, and stays bound to
// GL_TEXTURE_2D when the loader returns.
//
// A picture that cannot be opened or whose header does not decode shows
// a message naming the file (caption "Jpg" when loadJpegTexture cannot open
// it, "Jpg !" otherwise) and stops the loading: every later call does
// nothing, and whoever drives the loading ends the run once it sees
// loadingFailed(). A picture damaged further in loads with the damaged
// rows black. Every call needs the GL context current.
//
// A loader takes its picture from the prefetch when one holds it, decoded
// ahead on worker threads, and decodes it itself otherwise; either way the
// texture, the messages and their order are the same.
class TextureTable : public MeshTextureLoader {
 public:
  static constexpr int kSize = 300000;
  // Numbers from here on are absolute; those below are offset by textureBase.
  static constexpr int kFirstAbsolute = 85000;

  TextureTable() : textures(kSize, 0u) {}

  std::vector<std::uint32_t> textures;  // GL texture names, 0 = none
  int32_t textureBase = 0;

  void loadJpegTexture(const std::string& fileName, int index) override;
  // The green channel of `alphaName` becomes alpha; the texture's bottom
  // row is transparent black. Pictures of different sizes stop the loading
  // with a message naming the alpha picture.
  void loadJpegTextureWithAlpha(const std::string& colourName, const std::string& alphaName, int index) override;
  // The picture's red channel read as heights (see normalMapFromHeights).
  void loadNormalMapTexture(const std::string& fileName, int index) override;
  // A black RGB texture, for render targets.
  void createBlankTexture(int index, int width, int height);
  // The same at a new size, keeping the texture's GL name (what programs
  // and bindings were given stays valid); creates it when there is none.
  void resizeBlankTexture(int index, int width, int height);

  // The picture's RGB pixels, bottom row first, each row mirrored left to
  // right; no texture. Empty when the loading failed.
  std::vector<std::uint8_t> loadJpegPixels(const std::string& fileName, int& width, int& height);

  // The GL name of texture number `number`; 0 outside the table.
  std::uint32_t name(int number) const;
  void bindTexture(int number) const;

  bool loadingFailed() const { return failed_; }

  // Starts decoding `pictures` on worker threads for the loaders to take;
  // ends any prefetch before.
  void prefetch(std::vector<PictureRequest> pictures);
  // Frees what was not taken and joins the workers.
  void endPrefetch() { prefetch_.reset(); }
  const PicturePrefetch* prefetched() const { return prefetch_.get(); }

 private:
  std::uint32_t* entry(int index);
  bool stop(const char* caption, const std::string& fileName);
  bool upload(int index, int internalFormat, unsigned format, int width, int height, const void* pixels);
  // From the prefetch or decoded here; a damaged picture is reported the
  // first time it is read (the loading picture is read for every frame).
  PictureRead readPicture(const std::string& fileName, RowOrder order, bool mirrored = false);

  bool failed_ = false;
  std::unique_ptr<PicturePrefetch> prefetch_;
  std::set<std::string> reportedDamage_;
};
