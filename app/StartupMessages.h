#pragma once

namespace quillon {

// True when the environment names a display or a platform plugin for the windows to go to.
bool DisplayNamed(const char* x11Display, const char* waylandDisplay, const char* qtPlatform);

// Until the toolkit stands, its complaints are held back; a fatal one ends the program with one
// line that says no window could be opened, instead of the toolkit's abort.
void HoldToolkitMessagesDuringStartup();
void ReleaseToolkitMessages();

} // namespace quillon
