#include "app/part_choice.h"

#include "gpu/cg_shader_set.h"
#include "parts/part_alpha.h"
#include "parts/part_beta.h"

PartKind choosePart(bool slowCard, bool fragmentSupport) {
  if (slowCard) return PartKind::Beta;
  return fragmentSupport ? PartKind::Alpha : PartKind::Beta;
}

std::unique_ptr<DemoPart> createPart(PartKind kind) {
  if (kind == PartKind::Alpha) return std::make_unique<PartAlpha>();
  return std::make_unique<PartBeta>();
}

RenditionKind renditionOf(PartKind kind) {
  return kind == PartKind::Alpha ? RenditionKind::shader : RenditionKind::fixedFunction;
}

bool mentionsFragmentPrograms(std::string_view extensions) {
  return extensions.find("fragment_program") != std::string_view::npos;
}

bool shaderRenditionOffered(std::string_view version, std::string_view extensions) {
  return mentionsFragmentPrograms(extensions) && separableProgramsOffered(version, extensions);
}
