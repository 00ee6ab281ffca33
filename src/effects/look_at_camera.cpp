#include "effects/look_at_camera.h"

#include <GL/glu.h>

#include "demo/demo_app.h"

void lookAtCamera(const DemoApp& app) {
  const CameraView& c = app.camera;
  gluLookAt(c.eye.x, c.eye.y, c.eye.z, c.centre.x, c.centre.y, c.centre.z, c.up.x, c.up.y, c.up.z);
}
