#include "app/part_choice.h"

#include "parts/plain_part.h"

PartKind choosePart(bool slowCard, bool fragmentSupport) {
  if (slowCard) return PartKind::Beta;
  return fragmentSupport ? PartKind::Alpha : PartKind::Beta;
}

std::unique_ptr<DemoPart> createPart(PartKind) { return std::make_unique<PlainPart>(); }

bool mentionsFragmentPrograms(std::string_view extensions) {
  return extensions.find("fragment_program") != std::string_view::npos;
}
