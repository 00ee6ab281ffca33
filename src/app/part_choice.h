#pragma once
#include <memory>
#include <string_view>

#include "choreography/layer_windows.h"
#include "parts/demo_part.h"

// The two renditions: Alpha through fragment programs, Beta with the fixed
// function alone.
enum class PartKind { Alpha, Beta };

// "Slow graphics card" always gets Beta; otherwise the card decides.
PartKind choosePart(bool slowCard, bool fragmentSupport);

std::unique_ptr<DemoPart> createPart(PartKind kind);
// What the part of that kind sets up and draws.
RenditionKind renditionOf(PartKind kind);

// Whether the extension string names fragment programs.
bool mentionsFragmentPrograms(std::string_view extensions);

// Whether the shader rendition can play: fragment programs named, and
// separable programs (which bind every program pair and hand each mesh its
// object transform) offered by the version or an extension.
bool shaderRenditionOffered(std::string_view version, std::string_view extensions);
