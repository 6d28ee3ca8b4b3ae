// The number panel's state lives as long as the main window that shows it.
#pragma once

namespace velmora::app {

// Forgets the number, its SMS and any poll: a new main window starts with an empty panel.
void resetNumberPanel();
// Asks the service, off the window's thread, for a number the account still holds (the client
// ended while it held one), and shows it with its SMS if it has one.
void findHeldNumber();

}  // namespace velmora::app
