// The windows and units the client's handlers use (login::kWindow, login::kUserName,
// main_window::kBalance, ...): the builder generates them from the code names that the window
// sources in forms/data give, so an id is written once, in its window source.
#pragma once

#include "app/unit_ref.h"
#include "window_units_generated.h"
