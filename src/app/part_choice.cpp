#include "app/part_choice.h"

#include "gpu/cg_shader_set.h"
#include "parts/part_alpha.h"
#include "parts/part_beta.h"

RenditionKind chooseRendition(bool slowCard, bool fragmentSupport) {
  if (slowCard) return RenditionKind::fixedFunction;
  return fragmentSupport ? RenditionKind::shader : RenditionKind::fixedFunction;
}

std::unique_ptr<DemoPart> createPart(RenditionKind kind) {
  if (kind == RenditionKind::shader) return std::make_unique<PartAlpha>();
  return std::make_unique<PartBeta>();
}

bool mentionsFragmentPrograms(std::string_view extensions) {
  return extensions.find("fragment_program") != std::string_view::npos;
}

bool shaderRenditionOffered(std::string_view version, std::string_view extensions) {
  return mentionsFragmentPrograms(extensions) && separableProgramsOffered(version, extensions);
}
