#pragma once
// The largest form Tavrel opens, counted in the windows its controls need
// (CControlDef::WindowCount: one to three each).
//
// Windows gives a process 10,000 window handles by default, and a form that
// runs out of them half-way is left half-built; Wine's window server dies
// at about 32,700. The form's own controls may use 3,000, under a third of
// the default quota: the dialog, the console window, message boxes and the
// system's file dialogs need the rest. That is 1,000 controls when every
// one is a path field and 3,000 when every one is a checkbox.
//
// The parser refuses a larger form at the line that crosses the limit, so
// no window is created for it, and every form it accepts fits the identifier
// table of the form window.
constexpr int kMaxFormWindows = 3000;
