#include "script/vm_live_counts.h"

VmLiveCounts g_vmLiveCounts;
