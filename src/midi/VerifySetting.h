#pragma once
// Whether sends read back what they sent and compare it: the "Verify" box of the send window,
// kept in the user's settings so that the single-patch sends (a grid patch dropped on MIDI OUT,
// Export's "Send to DM") follow the same choice. Off until the user ticks it.

namespace zanq {

bool VerifySends();
void SetVerifySends(bool on);

}  // namespace zanq
