// The property both project readers must keep: a list they accepted saves as a .cwf that reads
// back to the same rows (what "Save" after "Open" and clipwright-cli project convert rely on).
#pragma once

class SceneList;

namespace fuzz {

void RequireSavedListReadsBack(const SceneList& list);

}  // namespace fuzz
