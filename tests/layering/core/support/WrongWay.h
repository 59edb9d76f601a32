#pragma once

// The layer check's own test: the bottom of the core including a layer above it.
#include "core/browser/UrlLists.h"
