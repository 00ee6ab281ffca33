#include "platform/setup_dialog.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <cstdio>

namespace {
constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
};

float px(int units) { return static_cast<float>(units) * setup_dialog::kPixelsPerUnitX; }
float py(int units) { return static_cast<float>(units) * setup_dialog::kPixelsPerUnitY; }

void loadDialogFont(int points) {
  ImGuiIO& io = ImGui::GetIO();
  const float pixels = static_cast<float>(points) * 96.0f / 72.0f;
  for (const char* path : kFontFiles) {
    if (std::FILE* f = std::fopen(path, "rb")) {
      std::fclose(f);
      if (io.Fonts->AddFontFromFileTTF(path, pixels) != nullptr) return;
    }
  }
  io.Fonts->AddFontDefault();
}

// A classic grey dialog look.
void applyDialogStyle() {
  ImGui::StyleColorsLight();
  ImGuiStyle& s = ImGui::GetStyle();
  s.WindowRounding = 0.0f;
  s.FrameRounding = 0.0f;
  s.WindowBorderSize = 0.0f;
  s.FrameBorderSize = 1.0f;
  s.ItemSpacing = ImVec2(4.0f, 4.0f);
  s.FramePadding = ImVec2(3.0f, 2.0f);
  s.Colors[ImGuiCol_WindowBg] = ImVec4(0.831f, 0.816f, 0.784f, 1.0f);
  s.Colors[ImGuiCol_Button] = ImVec4(0.831f, 0.816f, 0.784f, 1.0f);
  s.Colors[ImGuiCol_ButtonHovered] = ImVec4(0.90f, 0.89f, 0.86f, 1.0f);
  s.Colors[ImGuiCol_ButtonActive] = ImVec4(0.75f, 0.74f, 0.71f, 1.0f);
  s.Colors[ImGuiCol_FrameBg] = ImVec4(1.0f, 1.0f, 1.0f, 1.0f);
  s.Colors[ImGuiCol_Border] = ImVec4(0.50f, 0.50f, 0.50f, 1.0f);
  s.Colors[ImGuiCol_CheckMark] = ImVec4(0.0f, 0.0f, 0.0f, 1.0f);
}

void drawGroupBox(const DialogControl& c) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const ImVec2 origin = ImGui::GetWindowPos();
  const float textHeight = ImGui::GetTextLineHeight();
  const ImVec2 a(origin.x + px(c.x), origin.y + py(c.y) + textHeight * 0.5f);
  const ImVec2 b(origin.x + px(c.x + c.width), origin.y + py(c.y + c.height));
  draw->AddRect(a, b, IM_COL32(128, 128, 128, 255));
  draw->AddRect(ImVec2(a.x + 1, a.y + 1), ImVec2(b.x + 1, b.y + 1), IM_COL32(255, 255, 255, 255));
  const ImVec2 label(a.x + 6.0f, origin.y + py(c.y));
  const ImVec2 size = ImGui::CalcTextSize(c.text);
  draw->AddRectFilled(ImVec2(label.x - 2, label.y), ImVec2(label.x + size.x + 2, label.y + size.y),
                      ImGui::GetColorU32(ImGuiCol_WindowBg));
  draw->AddText(label, ImGui::GetColorU32(ImGuiCol_Text), c.text);
}

// Returns true when the button was pressed.
bool drawButton(const DialogControl& c) {
  ImGui::SetCursorPos(ImVec2(px(c.x), py(c.y)));
  const bool isDefault = c.kind == DialogControlKind::DefaultButton;
  if (isDefault) ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 2.0f);
  const bool pressed = ImGui::Button(c.text, ImVec2(px(c.width), py(c.height)));
  if (isDefault) ImGui::PopStyleVar();
  return pressed;
}

void drawCheckBox(const DialogControl& c, bool& checked) {
  const float lineHeight = ImGui::GetFrameHeight();
  ImGui::SetCursorPos(ImVec2(px(c.x), py(c.y) + (py(c.height) - lineHeight) * 0.5f));
  ImGui::Checkbox(c.text, &checked);
}

// One frame of the dialog; returns Unavailable while nothing was decided.
DialogOutcome drawDialog(const DialogTemplate& dialog, std::array<bool, 6>& checked) {
  DialogOutcome outcome = DialogOutcome::Unavailable;
  const ImGuiIO& io = ImGui::GetIO();
  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(io.DisplaySize);
  ImGui::Begin("setup", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                   ImGuiWindowFlags_NoBringToFrontOnFocus);
  for (size_t i = 0; i < dialog.controls.size(); ++i) {
    const DialogControl& c = dialog.controls[i];
    ImGui::PushID(c.id * 16 + static_cast<int>(i));
    switch (c.kind) {
      case DialogControlKind::GroupBox:
        drawGroupBox(c);
        break;
      case DialogControlKind::CheckBox:
        drawCheckBox(c, checked[i]);
        break;
      case DialogControlKind::DefaultButton:
        if (drawButton(c)) outcome = DialogOutcome::Run;
        break;
      case DialogControlKind::Button:
        if (drawButton(c)) outcome = DialogOutcome::Quit;
        break;
    }
    ImGui::PopID();
  }
  ImGui::End();
  return outcome;
}

// Keys and window events that decide the dialog without a click.
DialogOutcome outcomeOfEvent(const SDL_Event& e) {
  if (e.type == SDL_QUIT) return DialogOutcome::Quit;
  if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE) return DialogOutcome::Quit;
  if (e.type == SDL_KEYDOWN) {
    const SDL_Keycode key = e.key.keysym.sym;
    if (key == SDLK_RETURN || key == SDLK_KP_ENTER) return DialogOutcome::Run;
    if (key == SDLK_ESCAPE) return DialogOutcome::Quit;
  }
  return DialogOutcome::Unavailable;
}
}  // namespace

DialogOutcome runSetupDialog(const DialogTemplate& dialog, std::array<bool, 6>& checked) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow(dialog.title, static_cast<int>(px(dialog.x)), static_cast<int>(py(dialog.y)),
                                        static_cast<int>(px(dialog.width)), static_cast<int>(py(dialog.height)),
                                        SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (window == nullptr) return DialogOutcome::Unavailable;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (context == nullptr) {
    SDL_DestroyWindow(window);
    return DialogOutcome::Unavailable;
  }
  SDL_GL_MakeCurrent(window, context);
  SDL_GL_SetSwapInterval(1);

  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  ImGui::GetIO().IniFilename = nullptr;
  applyDialogStyle();
  loadDialogFont(dialog.fontPoints);
  ImGui_ImplSDL2_InitForOpenGL(window, context);
  ImGui_ImplOpenGL2_Init();
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);

  std::array<bool, 6> state = checked;
  DialogOutcome outcome = DialogOutcome::Unavailable;
  while (outcome == DialogOutcome::Unavailable) {
    SDL_Event e;
    // Sleep until something happens: a dialog has no reason to spin.
    if (SDL_WaitEventTimeout(&e, 250) != 0) {
      do {
        ImGui_ImplSDL2_ProcessEvent(&e);
        const DialogOutcome fromEvent = outcomeOfEvent(e);
        if (fromEvent != DialogOutcome::Unavailable) outcome = fromEvent;
      } while (SDL_PollEvent(&e) != 0);
    }
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    const DialogOutcome clicked = drawDialog(dialog, state);
    if (outcome == DialogOutcome::Unavailable) outcome = clicked;
    ImGui::Render();
    int w = 0;
    int h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    glViewport(0, 0, w, h);
    glClearColor(0.831f, 0.816f, 0.784f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    SDL_GL_SwapWindow(window);
  }
  if (outcome == DialogOutcome::Run) checked = state;

  ImGui_ImplOpenGL2_Shutdown();
  ImGui_ImplSDL2_Shutdown();
  ImGui::DestroyContext();
  SDL_GL_MakeCurrent(window, nullptr);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  // Drop events the dialog left behind so the demo window starts clean.
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  return outcome;
}
