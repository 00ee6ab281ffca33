#pragma once

struct DemoApp;

struct CameraView;

// Multiplies the current matrix by the view (gluLookAt from its eye towards
// its centre, with its up). The caller picks the matrix stack and loads
// whatever the view should start from.
void multiplyLookAt(const CameraView& view);
// The same with the application's camera.
void lookAtCamera(const DemoApp& app);
