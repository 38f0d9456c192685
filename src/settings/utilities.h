// The common utilities that both programs link.
#pragma once

#include "settings/clockparts.h"
#include "settings/programidentity.h"
#include "settings/textfields.h"
#ifdef _WIN32
#include "settings/actions.h"
#include "settings/cpuloadmonitor.h"
#include "settings/desktop.h"
#include "settings/instancelock.h"
#include "settings/windowsfolder.h"
#endif
