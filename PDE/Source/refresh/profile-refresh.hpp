#pragma once
// The profile refresh of panelView() as a job of its own, for a host that runs it
// elsewhere than on the thread that asks for the view.

#include "pde-protocol.hpp"
#include "print-settings.hpp"

namespace t48::pde {

// The refresh for the current printer of `session` (its device URI taken now): the write
// test, then, when the user may write the profile file, what commonGetProfilesFromMIB
// does. It needs nothing of the session or the panel once made.
PDEProfileRefresh profileRefreshOfSession(const cf::PrintSession* session);

}  // namespace t48::pde
