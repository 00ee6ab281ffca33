#pragma once
// Painters of the individual pictures (see catalog.cpp for which file each
// becomes).
#include <string>
#include <vector>

#include "datagen.h"

namespace datagen {

Picture causticFrame(int frame);  // 0..15, a seamless loop
Picture nightFace(int face);      // posx, negx, posy, negy, posz, negz

Picture loadingPicture();
Picture logoPicture();
Picture blobPicture();
Picture blobGlowPicture();
Picture cloudsPicture(bool alpha);
Picture bloodPicture();
Picture backdropPicture();
Picture horsePicture(bool alpha);
Picture pcbAlphaPicture();
Picture featherPicture();
Picture budPicture();
Picture shadowmanPicture();
Picture groundPicture(bool bump);
Picture stonePicture(bool kneelingBase);
Picture skinPicture(bool bump);
Picture heartPicture(bool bump);
Picture vesselPicture();
Picture fatPicture(bool alpha);
Picture waterPicture();

// Shared silhouettes (signed distance, negative inside, 512 x 512 frame).
double horseSilhouette(double x, double y);

// Stroke lettering for titles: draws `text` (capitals V E L M O R A D and
// the digits 0 2 6) with its top-left at (x, y), letter height h.
void drawText(Image& img, const std::string& text, double x, double y, double h, double stroke, Rgb c);

}  // namespace datagen
