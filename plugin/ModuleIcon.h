#pragma once
// Where a host finds a component's icon: the module's file and the icon's position
// in the module's icon list.

// False, leaving index untouched, for bad arguments, a path that does not fit, or
// an icon that is not in the list.
bool FindModuleIcon(int iconId, char16_t* path, int capacity, int* index);
