#pragma once

struct DemoApp;

// Multiplies the current matrix by the view of the application's camera
// (gluLookAt with its eye, centre and up). The caller picks the matrix
// stack and loads whatever the view should start from.
void lookAtCamera(const DemoApp& app);
