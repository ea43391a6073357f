#pragma once
// Resource identifiers shared by kelpo.rc and the window host.
#define IDI_KELPO 1
