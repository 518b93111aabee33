// Gives the rows of the component class registry that name the devices
// their creators. The program calls it once at start-up, after
// RegisterComponentClasses has added the rows.
#pragma once

// Answers whether every row was found (false when the registry lacks one,
// e.g. before RegisterComponentClasses).
bool RegisterDeviceComponentCreators();
