// The window host: one resizable SDL window that shows the picture VI shows, scaled
// with its aspect kept (letterboxed). main starts it before the game and stops it
// after; while it is open it is the retrace's view, which handles its events and shows
// the picture at each retrace. Closing the window presses POWER while the program has a
// power callback, else sets the close request that ends the frame loop; the R key
// presses RESET. Main thread only.
#pragma once

// Opens the window; false, after reporting why, when no window can be opened.
bool HostWindowStart();
void HostWindowStop();

void HostWindowHandleEvents();
// Shows the picture VI shows now.
void HostWindowPresent();
