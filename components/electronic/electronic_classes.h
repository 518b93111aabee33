// Gives the rows of the component class registry that name electronic
// components their creators. The program calls it once at start-up, after
// RegisterComponentClasses has added the rows.
#pragma once

// Answers whether every row was found (false when the registry lacks one,
// e.g. before RegisterComponentClasses).
bool RegisterElectronicComponentCreators();
