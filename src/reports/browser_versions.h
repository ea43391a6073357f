#pragma once
// Reading the two version texts from HKEY_LOCAL_MACHINE, once, into values.
#include "registry/registry_reader.h"
#include "text/versions.h"

namespace kelpo {

// As the reports read them: each value by its type (a number gives its decimal digits, any
// other type nothing); the Flash Player version with dots.
BrowserVersions ReadVersions(RegistryReader& reader);
// As the start-up and trusted-sites windows read them for the apply: the same, but the Flash
// Player version is its value's bytes whatever its type, cut at the first zero, with dots.
BrowserVersions ReadVersionsAsStored(RegistryReader& reader);

}  // namespace kelpo
