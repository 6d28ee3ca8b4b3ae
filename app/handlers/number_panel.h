// The number panel's state lives as long as the main window that shows it.
#pragma once

namespace velmora::app {

// Forgets the number, its SMS and any poll: a new main window starts with an empty panel.
void resetNumberPanel();

}  // namespace velmora::app
