#include "script/machine/vm_live_counts.h"

VmLiveCounts g_vmLiveCounts;
