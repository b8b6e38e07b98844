// The MDI paths of the form skin on raw Win32 MDI windows: a frame whose procedure calls
// DefFrameProcW around an "MDICLIENT" child, and children running DefMDIChildProcW.
#include <gtest/gtest.h>

#include "FormSkinFixture.h"
