#pragma once
#include <memory>
#include <string_view>

#include "core/rendition_kind.h"
#include "parts/demo_part.h"

// "Slow graphics card" always gets the fixed function; otherwise the card
// decides.
RenditionKind chooseRendition(bool slowCard, bool fragmentSupport);

// The part that plays the rendition: PartAlpha for the shader rendition,
// PartBeta for the fixed function.
std::unique_ptr<DemoPart> createPart(RenditionKind kind);

// Whether the extension string names fragment programs.
bool mentionsFragmentPrograms(std::string_view extensions);

// Whether the shader rendition can play: fragment programs named, and
// separable programs (which bind every program pair and hand each mesh its
// object transform) offered by the version or an extension.
bool shaderRenditionOffered(std::string_view version, std::string_view extensions);
