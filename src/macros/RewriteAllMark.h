#pragma once

namespace vantor {

// Process-wide mark that the next key-map download must rewrite the key maps of all three
// on-board profiles, not only the current one. Set on the user-interface thread when macro
// edits leave key maps of other profiles pointing at the wrong macro area slot; read and
// cleared by the download at its end.
void SetRewriteAllMark();
bool RewriteAllMarkIsSet();
void ClearRewriteAllMark();

}  // namespace vantor
