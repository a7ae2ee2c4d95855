// The link table (slots 1 to 8) and the current link. Window thread only.
#pragma once

namespace zlink {

class RSThread;

inline constexpr int kLinkSlots = 8;

// The link in slot n, or null for an empty slot or n outside 1..8.
RSThread* LinkInSlot(int n);
// Ignored for n outside 1..8.
void SetLinkInSlot(int n, RSThread* link);
RSThread* CurrentLink();
void SetCurrentLink(RSThread* link);
// Clears every slot and the current link where they refer to `link`.
void ForgetLink(RSThread* link);

}  // namespace zlink
