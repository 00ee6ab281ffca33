#pragma once
// Painters of the individual pictures (see catalog.cpp for which file each
// becomes).
#include <string>
#include <vector>

#include "datagen.hpp"

namespace datagen {

Picture caustic_frame(int frame);  // 0..15, a seamless loop
Picture night_face(int face);      // posx, negx, posy, negy, posz, negz

Picture loading_picture();
Picture logo_picture();
Picture blob_picture();
Picture blob_glow_picture();
Picture clouds_picture(bool alpha);
Picture blood_picture();
Picture backdrop_picture();
Picture horse_picture(bool alpha);
Picture pcb_alpha_picture();
Picture feather_picture();
Picture bud_picture();
Picture shadowman_picture();
Picture ground_picture(bool bump);
Picture stone_picture(bool kneeling_base);
Picture skin_picture(bool bump);
Picture heart_picture(bool bump);
Picture vessel_picture();
Picture fat_picture(bool alpha);
Picture water_picture();

// Shared silhouettes (signed distance, negative inside, 512 x 512 frame).
double horse_silhouette(double x, double y);

// Stroke lettering for titles: draws `text` (capitals V E L M O R A D and
// the digits 0 2 6) with its top-left at (x, y), letter height h.
void draw_text(Image& img, const std::string& text, double x, double y, double h, double stroke, Rgb c);

}  // namespace datagen
