// The input script's replay as the host's remote state sees it. Main thread only.
#pragma once

// Loads the script of --input on first call and applies its frame-0 lines.
void InputScriptEnsureStarted();
// Drops the script; the next use loads the one of --input again.
void InputScriptReset();
// A new main-loop frame for the remotes' buttons: button changes that waited for it are made.
void HostInputStartFrameOfEdges();
