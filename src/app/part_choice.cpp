#include "app/part_choice.h"

#include "gpu/cg_shader_set.h"
#include "parts/plain_part.h"

PartKind choosePart(bool slowCard, bool fragmentSupport) {
  if (slowCard) return PartKind::Beta;
  return fragmentSupport ? PartKind::Alpha : PartKind::Beta;
}

std::unique_ptr<DemoPart> createPart(PartKind) { return std::make_unique<PlainPart>(); }

bool mentionsFragmentPrograms(std::string_view extensions) {
  return extensions.find("fragment_program") != std::string_view::npos;
}

bool shaderRenditionOffered(std::string_view version, std::string_view extensions) {
  return mentionsFragmentPrograms(extensions) && separableProgramsOffered(version, extensions);
}
