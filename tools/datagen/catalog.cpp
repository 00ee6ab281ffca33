// The list of every data file and the painter, builder or synthesiser that
// makes it.
#include <atomic>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "datagen.hpp"
#include "meshes.hpp"
#include "music.hpp"
#include "pictures.hpp"

namespace datagen {

namespace {

DataFile picture(std::string path, std::function<Picture()> paint) {
  return {std::move(path), [paint = std::move(paint)] {
            const Picture p = paint();
            return encode_jpeg(p.image, p.jpeg);
          }};
}

}  // namespace

std::vector<DataFile> catalog() {
  std::vector<DataFile> files;
  // the track takes longest: first in the list, so a parallel run starts it first
  files.push_back({"music/velmora.ogg", [] { return encode_ogg(render_track()); }});
  files.push_back(picture("textures/loading.jpg", loading_picture));
  for (int k = 0; k < 16; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "textures/caust%02d.jpg", 2 * k);
    files.push_back(picture(name, [k] { return caustic_frame(k); }));
  }
  const char* faces[] = {"posx", "negx", "posy", "negy", "posz", "negz"};
  for (int f = 0; f < 6; ++f)
    files.push_back(picture(std::string("textures/1night_") + faces[f] + ".jpg", [f] { return night_face(f); }));
  files.push_back(picture("textures/shadowman.jpg", shadowman_picture));
  files.push_back(picture("textures/drov.jpg", logo_picture));
  files.push_back(picture("textures/blob41b.jpg", blob_glow_picture));
  files.push_back(picture("textures/blob.jpg", blob_picture));
  files.push_back(picture("textures/clouds3.jpg", [] { return clouds_picture(false); }));
  files.push_back(picture("textures/cloud3alpha.jpg", [] { return clouds_picture(true); }));
  files.push_back(picture("textures/blood1.jpg", blood_picture));
  files.push_back(picture("textures/bg03.jpg", backdrop_picture));
  files.push_back(picture("textures/horse.jpg", [] { return horse_picture(false); }));
  files.push_back(picture("textures/horsea.jpg", [] { return horse_picture(true); }));
  files.push_back(picture("textures/pcb2.jpg", pcb_alpha_picture));
  files.push_back(picture("textures/fteri.jpg", feather_picture));
  files.push_back(picture("textures/fteri2.jpg", bud_picture));
  for (const std::string& path : outline_picture_paths())
    files.push_back(picture(path, [path] { return outline_picture(path).picture; }));

  // pictures beside the meshes: the fixed-function base maps and the
  // material maps the 3DS files name
  files.push_back(picture("meshes/edafos.jpg", [] { return ground_picture(false); }));
  files.push_back(picture("meshes/man_goni.jpg", [] { return stone_picture(true); }));
  files.push_back(picture("meshes/SKIN.JPG", [] { return skin_picture(false); }));
  files.push_back(picture("meshes/SKINBUMP.JPG", [] { return skin_picture(true); }));
  files.push_back(picture("meshes/HEART.JPG", [] { return heart_picture(false); }));
  files.push_back(picture("meshes/HEARTB.JPG", [] { return heart_picture(true); }));
  files.push_back(picture("meshes/VESSEL.JPG", vessel_picture));
  files.push_back(picture("meshes/FATBLEND.JPG", [] { return fat_picture(false); }));
  files.push_back(picture("meshes/alphaFATBLEND.JPG", [] { return fat_picture(true); }));
  files.push_back(picture("meshes/GONI.JPG", [] { return stone_picture(false); }));
  files.push_back(picture("meshes/WATER.JPG", water_picture));
  files.push_back(picture("meshes/GROUND.JPG", [] { return ground_picture(false); }));
  files.push_back(picture("meshes/GROUNDB.JPG", [] { return ground_picture(true); }));

  for (const std::string& name : mesh_names())
    files.push_back({"meshes/" + name, [name] { return write_3ds(build_mesh(name)); }});
  return files;
}

int generate_all(const std::filesystem::path& outdir, int jobs) {
  const auto files = catalog();
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  std::string error;
  std::mutex error_lock;
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
        std::lock_guard<std::mutex> g(error_lock);
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
