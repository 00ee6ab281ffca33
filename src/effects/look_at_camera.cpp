#include "effects/look_at_camera.h"

#include <GL/glu.h>

#include "demo/demo_app.h"

void multiplyLookAt(const CameraView& view) {
  gluLookAt(view.eye.x, view.eye.y, view.eye.z, view.centre.x, view.centre.y, view.centre.z, view.up.x, view.up.y,
            view.up.z);
}

void lookAtCamera(const DemoApp& app) { multiplyLookAt(app.camera); }
