// What a long run may do that the fixed demo never does: a view that widens to keep the bodies
// in sight, and a new scene once the old one has flown apart. Their names on command lines and
// in settings files.
#pragma once

enum class ViewMode {
    Fixed,  // the frustum stays as the drawable's size makes it
    Follow, // widens and narrows, eased, to keep every body in view with a margin
};

enum class RenewMode {
    Never, // the scene runs for ever, however far it flies apart
    Auto,  // a new scene, from the next seed, once even the widest view cannot hold this one
};

// "fixed" or "follow"; false for any other text.
bool viewModeFromName(const char* name, ViewMode* mode);
// "never" or "auto"; false for any other text.
bool renewModeFromName(const char* name, RenewMode* mode);
