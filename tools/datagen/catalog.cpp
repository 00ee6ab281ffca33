// The list of every data file and the painter, builder or synthesiser that
// makes it.
#include <atomic>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "datagen.h"
#include "meshes.h"
#include "music.h"
#include "pictures.h"

namespace datagen {

namespace {

DataFile picture(std::string path, std::function<Picture()> paint) {
  return {std::move(path), [paint = std::move(paint)] {
            const Picture p = paint();
            return encodeJpeg(p.image, p.jpeg);
          }};
}

}  // namespace

std::vector<DataFile> catalog() {
  std::vector<DataFile> files;
  // the track takes longest: first in the list, so a parallel run starts it first
  files.push_back({"music/velmora.ogg", [] { return encodeOgg(renderTrack()); }});
  files.push_back(picture("textures/loading.jpg", loadingPicture));
  for (int k = 0; k < 16; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "textures/caust%02d.jpg", 2 * k);
    files.push_back(picture(name, [k] { return causticFrame(k); }));
  }
  const char* faces[] = {"posx", "negx", "posy", "negy", "posz", "negz"};
  for (int f = 0; f < 6; ++f)
    files.push_back(picture(std::string("textures/1night_") + faces[f] + ".jpg", [f] { return nightFace(f); }));
  files.push_back(picture("textures/shadowman.jpg", shadowmanPicture));
  files.push_back(picture("textures/drov.jpg", logoPicture));
  files.push_back(picture("textures/blob41b.jpg", blobGlowPicture));
  files.push_back(picture("textures/blob.jpg", blobPicture));
  files.push_back(picture("textures/clouds3.jpg", [] { return cloudsPicture(false); }));
  files.push_back(picture("textures/cloud3alpha.jpg", [] { return cloudsPicture(true); }));
  files.push_back(picture("textures/blood1.jpg", bloodPicture));
  files.push_back(picture("textures/bg03.jpg", backdropPicture));
  files.push_back(picture("textures/horse.jpg", [] { return horsePicture(false); }));
  files.push_back(picture("textures/horsea.jpg", [] { return horsePicture(true); }));
  files.push_back(picture("textures/pcb2.jpg", pcbAlphaPicture));
  files.push_back(picture("textures/fteri.jpg", featherPicture));
  files.push_back(picture("textures/fteri2.jpg", budPicture));
  for (const std::string& path : outlinePicturePaths())
    files.push_back(picture(path, [path] { return outlinePicture(path).picture; }));

  // pictures beside the meshes: the fixed-function base maps and the
  // material maps the 3DS files name
  files.push_back(picture("meshes/edafos.jpg", [] { return groundPicture(false); }));
  files.push_back(picture("meshes/man_goni.jpg", [] { return stonePicture(true); }));
  files.push_back(picture("meshes/SKIN.JPG", [] { return skinPicture(false); }));
  files.push_back(picture("meshes/SKINBUMP.JPG", [] { return skinPicture(true); }));
  files.push_back(picture("meshes/HEART.JPG", [] { return heartPicture(false); }));
  files.push_back(picture("meshes/HEARTB.JPG", [] { return heartPicture(true); }));
  files.push_back(picture("meshes/VESSEL.JPG", vesselPicture));
  files.push_back(picture("meshes/FATBLEND.JPG", [] { return fatPicture(false); }));
  files.push_back(picture("meshes/alphaFATBLEND.JPG", [] { return fatPicture(true); }));
  files.push_back(picture("meshes/GONI.JPG", [] { return stonePicture(false); }));
  files.push_back(picture("meshes/WATER.JPG", waterPicture));
  files.push_back(picture("meshes/GROUND.JPG", [] { return groundPicture(false); }));
  files.push_back(picture("meshes/GROUNDB.JPG", [] { return groundPicture(true); }));

  for (const std::string& name : meshNames())
    files.push_back({"meshes/" + name, [name] { return write3ds(buildMesh(name)); }});
  return files;
}

int generateAll(const std::filesystem::path& outdir, int jobs) {
  const auto files = catalog();
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  std::string error;
  std::mutex errorLock;
  auto worker = [&] {
    for (size_t i = next++; i < files.size() && !failed; i = next++) {
      try {
        const Bytes bytes = files[i].make();
        const auto path = outdir / files[i].path;
        std::filesystem::create_directories(path.parent_path());
        // write beside, then rename, so an interrupted run leaves no half file
        const auto tmp = path.string() + ".part";
        {
          std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
          out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
          if (!out) throw std::runtime_error("cannot write " + tmp);
        }
        std::filesystem::rename(tmp, path);
      } catch (const std::exception& e) {
        std::lock_guard<std::mutex> g(errorLock);
        if (!failed) error = files[i].path + ": " + e.what();
        failed = true;
      }
    }
  };
  std::vector<std::thread> pool;
  for (int j = 1; j < jobs; ++j) pool.emplace_back(worker);
  worker();
  for (auto& t : pool) t.join();
  if (failed) throw std::runtime_error(error);
  return static_cast<int>(files.size());
}

}  // namespace datagen
