#pragma once

#include <windows.h>

namespace platform {

// Whether a file with this security descriptor is private to `user`: it is
// owned by the user, SYSTEM or the Administrators group, has an access list,
// and no entry of that list that applies to the file lets anyone else read
// its data or change it (its data, its access list or its owner). An
// allowing entry of a kind never found on a file is not trusted either.
bool isPrivateDescriptor(PSECURITY_DESCRIPTOR descriptor, PSID user);

} // namespace platform
